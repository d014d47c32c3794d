// Finding frames after the first: the forward scan, the frame-by-frame walk
// and the snapping of any offset to a frame boundary.
#include "engine/mp3_info.h"

#include <algorithm>

namespace keldro {

FrameHit CMP3Info::FindNextFrame(FileReader& file, std::uint32_t skip) const
{
    std::uint64_t position = file.Tell() + skip;
    // A walk usually finds the next header right where it looks first.
    std::uint32_t first = 0;
    if (file.ReadWordAt(position, first) && IsValidFrameHeader(first) &&
        IsSameStream(first, m_headerWord)) {
        file.Seek(position + 1);
        return FrameHit{true, static_cast<std::uint32_t>(position), first};
    }
    const std::uint64_t budget = ProbeBudget(file.Size());
    for (std::uint64_t reads = 1;; ++reads) {
        std::uint32_t word = 0;
        if (!file.ReadWordAt(position, word) || reads > budget) {
            file.Seek(position);
            return {};
        }
        ++position;
        if (IsValidFrameHeader(word) && IsSameStream(word, m_headerWord)) {
            file.Seek(position);
            return FrameHit{true, static_cast<std::uint32_t>(position - 1), word};
        }
    }
}

// Walking, the next search starts exactly where the frame ends: header-like
// bytes at the end of a frame are audio, not the next frame.
bool CMP3Info::StepFrame(FileReader& file, std::uint32_t& skip, WalkStep& step) const
{
    const FrameHit hit = FindNextFrame(file, skip);
    if (!hit.found || hit.offset >= AudioEnd())
        return false;
    const FrameHeaderInfo header = DecodeFrameHeader(hit.word);
    if (header.sampleRate == 0)
        return false;
    skip = static_cast<std::uint32_t>(header.frameLength - 1);
    step.offset = hit.offset;
    step.end = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{hit.offset} + header.frameLength, AudioEnd()));
    step.durationMs = header.bitrate > 0 ? header.frameLength * 8.0 / header.bitrate : 0.0;
    return true;
}

// A header is trusted as a frame start only when its frame ends at the end of
// the audio or where another header of the stream begins.
bool CMP3Info::IsConfirmedFrameEnd(FileReader& file, std::uint64_t end) const
{
    if (end == AudioEnd())
        return true;
    std::uint32_t word = 0;
    return end < AudioEnd() && file.ReadWordAt(end, word) && IsValidFrameHeader(word) &&
           IsSameStream(word, m_headerWord);
}

std::uint32_t CMP3Info::SnapToFrame(FileReader& file, std::uint32_t offset) const
{
    // Neither the tags nor a header frame are ever audio of a segment.
    if (offset >= AudioEnd())
        return AudioEnd();
    if (offset < m_firstFrameOffset)
        return m_firstFrameOffset;
    file.Seek(offset);
    std::uint32_t boundary = AudioEnd();
    std::int64_t length = m_header.frameLength;
    for (;;) {
        const FrameHit hit = FindNextFrame(file, 0);
        if (!hit.found || hit.offset >= AudioEnd())
            break;
        const FrameHeaderInfo header = DecodeFrameHeader(hit.word);
        if (header.bitrate <= 0 || header.sampleRate == 0)
            return offset;
        if (IsConfirmedFrameEnd(file, std::uint64_t{hit.offset} + header.frameLength)) {
            boundary = hit.offset;
            length = header.frameLength;
            break;
        }
        file.Seek(std::uint64_t{hit.offset} + 1);
    }
    return boundary - offset < 5 * length ? boundary : offset;
}

} // namespace keldro
