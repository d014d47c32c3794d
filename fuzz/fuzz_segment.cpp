// The frame walk (table pass, LocateTime, snapping) and the segment writer with
// its header patch, over arbitrary bytes: no crash, and the output holds
// exactly the header frame, the snapped audio and the tag, nothing else.
#include "base/user_interaction.h"
#include "engine/segment_writer.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::uint32_t Word(const std::uint8_t* bytes)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void CheckTable(const keldro::CMP3Info& info)
{
    std::uint32_t lastOffset = info.FirstFrameOffset();
    std::uint32_t lastFrames = 0;
    for (const keldro::FramePosition& checkpoint : info.FrameTable()) {
        Check(checkpoint.offset > lastOffset && checkpoint.offset <= info.AudioEnd());
        Check(checkpoint.frames > lastFrames);
        lastOffset = checkpoint.offset;
        lastFrames = checkpoint.frames;
    }
}

void CheckOutput(const keldro::CMP3Info& info, const std::uint8_t* source,
                 const keldro::SegmentResult& result, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> out((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    const std::size_t header =
        info.HasHeaderFrame() ? info.FirstFrameOffset() - info.VbrFrameOffset() : 0;
    const std::size_t audio = result.endOffset - result.startOffset;
    Check(out.size() == header + audio + 128 && out.size() == result.bytesWritten);
    Check(std::memcmp(out.data() + header, source + result.startOffset, audio) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace keldro;
    if (size < 12)
        return 0;
    const std::size_t sourceSize = size - 12;
    FileReader reader = FileReader::FromMemory(std::span(data, sourceSize));
    CMP3Info info;
    if (!info.AnalyseReader(reader, "/nonexistent/fuzz.mp3") || !info.HasStream())
        return 0;
    keldro::SilentInteraction ui;
    info.BuildFrameTable(reader, ui);
    CheckTable(info);

    const std::uint8_t* choice = data + sourceSize;
    const FramePosition located = info.LocateTime(Word(choice + 8) % 600'000, &reader);
    Check(located.offset >= info.FirstFrameOffset() && located.offset <= info.AudioEnd());

    std::uint32_t start = Word(choice) % static_cast<std::uint32_t>(sourceSize + 1);
    std::uint32_t end = Word(choice + 4) % static_cast<std::uint32_t>(sourceSize + 1);
    if (start > end)
        std::swap(start, end);
    SegmentOptions options;
    options.tag = BuildID3v1Tag("fuzz", "", "", "", "", 1, 2);
    static const std::string path =
        "/tmp/keldro-fuzz-segment-" + std::to_string(::getpid()) + ".mp3";
    const SegmentResult result = WriteSegment(info, reader, path, start, end, options);
    Check(result.ok);
    Check(result.startOffset >= info.FirstFrameOffset() && result.startOffset <= result.endOffset &&
          result.endOffset <= info.AudioEnd());
    CheckOutput(info, data, result, path);
    std::remove(path.c_str());
    return 0;
}
