// The whole analysis of arbitrary bytes: ID3v2 skip, first-frame search with
// its neighbour check, Xing/Info/VBRI recognition, ID3v1 and the totals.
#include "engine/mp3_info.h"
#include "engine/stream_info_text.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace keldro;
    FileReader reader = FileReader::FromMemory(std::span(data, size));
    CMP3Info info;
    Check(info.AnalyseReader(reader, "fuzz.mp3"));
    Check(info.FileSize() == size);
    if (info.HasStream()) {
        Check(info.FirstFrameOffset() + 4 <= size);
        Check(IsValidFrameHeader(info.HeaderWord()));
        Check(DecodeFrameHeader(info.HeaderWord()) == info.Header());
        Check(info.VbrFrameOffset() <= info.FirstFrameOffset());
        Check(!info.HasHeaderFrame() || info.VbrFrames() > 0);
        Check(!info.HasHeaderFrame() || info.VbrTagOffset() > info.VbrFrameOffset());
        Check(info.HasVbrHeader() || info.AverageBitrate() == 0.0);
        Check(!StreamInfoText(info).empty());
    } else {
        Check(info.VbrType() == VbrHeaderType::None && info.DurationMs() == 0);
    }
    Check(!info.HasID3v1() || size >= 128);
    return 0;
}
