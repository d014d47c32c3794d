#include "engine/header_frame_check.h"

#include "engine/mp3_info.h"

#include <algorithm>

namespace keldro {
namespace {

// The frames after the header frame, each by its offset from the header frame.
void WalkFrames(FileReader& file, const CMP3Info& info, HeaderFrameCheck& check)
{
    const std::uint32_t origin = info.VbrFrameOffset();
    std::uint32_t end = info.FirstFrameOffset();
    file.Seek(end);
    std::uint32_t skip = 0;
    for (;;) {
        const FrameHit hit = info.FindNextFrame(file, skip);
        const std::int32_t length = hit.found ? FrameLengthOfHeader(hit.word) : 0;
        if (!hit.found || hit.offset >= info.AudioEnd() || length == 0)
            break;
        check.positions.Add(hit.offset - origin);
        end = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(std::uint64_t{hit.offset} + length, info.AudioEnd()));
        skip = static_cast<std::uint32_t>(length - 1);
    }
    check.streamBytes = end - origin;
}

} // namespace

std::vector<std::uint8_t> ReadHeaderFrame(FileReader& file, const CMP3Info& info)
{
    std::uint32_t word = 0;
    if (!info.HasHeaderFrame() || !file.ReadWordAt(info.VbrFrameOffset(), word))
        return {};
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(FrameLengthOfHeader(word)));
    frame.resize(file.ReadAt(info.VbrFrameOffset(), frame.data(), frame.size()));
    return frame;
}

HeaderFrameCheck CheckHeaderFrame(FileReader& file, const CMP3Info& info)
{
    HeaderFrameCheck check;
    const std::vector<std::uint8_t> frame = ReadHeaderFrame(file, info);
    if (frame.empty())
        return check;
    check.lame = LameTag::Read(frame, info.HeaderFrame());
    WalkFrames(file, info, check);
    check.tocOk = SeekTableMatches(frame, info.HeaderFrame(), check.positions, check.streamBytes);
    return check;
}

} // namespace keldro
