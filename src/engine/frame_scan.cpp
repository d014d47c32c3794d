// Finding frames after the first: the forward scan, the frame-by-frame walk
// and the snapping of any offset to a frame boundary.
#include "engine/mp3_info.h"

#include <algorithm>
#include <optional>

namespace keldro {

FrameHit CMP3Info::FindNextFrame(FileReader& file, std::uint32_t skip) const
{
    std::uint64_t position = file.Tell() + skip;
    // A walk usually finds the next header right where it looks first.
    std::uint32_t first = 0;
    if (file.ReadWordAt(position, first) && IsValidFrameHeader(first) &&
        IsSameStream(first, headerWord_)) {
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
        if (IsValidFrameHeader(word) && IsSameStream(word, headerWord_)) {
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
    const std::int32_t length = FrameLengthOfHeader(hit.word);
    if (length == 0)
        return false;
    skip = static_cast<std::uint32_t>(length - 1);
    step.offset = hit.offset;
    step.end = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{hit.offset} + length, AudioEnd()));
    return true;
}

// Headers of one stream agree in version, layer and sample rate, so every
// frame lasts the same number of samples and a position's time follows from
// its frame count. Summing each frame's duration instead gathers rounding
// errors that put a time at an exact frame end one frame late.
FramePosition CMP3Info::PositionAfter(std::uint32_t frames, std::uint32_t offset) const
{
    const double samples = static_cast<double>(frames) * SamplesPerFrame(header_);
    const double timeMs = header_.sampleRate > 0 ? samples * 1000.0 / header_.sampleRate : 0.0;
    return FramePosition{timeMs, frames, offset};
}

// A header is trusted as a frame start only when its frame ends at the end of
// the audio or where another header of the stream begins.
bool CMP3Info::IsConfirmedFrameEnd(FileReader& file, std::uint64_t end) const
{
    if (end == AudioEnd())
        return true;
    std::uint32_t word = 0;
    return end < AudioEnd() && file.ReadWordAt(end, word) && IsValidFrameHeader(word) &&
           IsSameStream(word, headerWord_);
}

// The longest frame this stream can have: no frame start lies further than
// five of them from an offset that snaps.
std::uint32_t CMP3Info::LongestFrameLength() const
{
    constexpr std::uint32_t kBitrateBits = 0xF000;
    constexpr std::uint32_t kHighestBitrate = 14u << 12;
    constexpr std::uint32_t kPadding = 1u << 9;
    const std::uint32_t word = (headerWord_ & ~kBitrateBits) | kHighestBitrate | kPadding;
    return static_cast<std::uint32_t>(FrameLengthOfHeader(word));
}

// The first confirmed frame start (or the end of the audio) within five of its
// frame lengths. Failing that, when other bytes follow the audio (an APE tag,
// padding, a damaged frame) the last frames chain to nothing: the first header
// within five lengths whose frame still ends inside the audio is taken.
std::uint32_t CMP3Info::SnapToFrame(FileReader& file, std::uint32_t offset) const
{
    // Neither the tags nor a header frame are ever audio of a segment.
    if (offset >= AudioEnd())
        return AudioEnd();
    if (offset < firstFrameOffset_)
        return firstFrameOffset_;
    const std::uint64_t limit =
        std::min<std::uint64_t>(std::uint64_t{offset} + 5ull * LongestFrameLength(), AudioEnd());
    std::optional<std::uint32_t> unconfirmed;
    for (std::uint64_t at = offset; at < limit; ++at) {
        std::uint32_t word = 0;
        if (!file.ReadWordAt(at, word))
            break;
        if (!IsValidFrameHeader(word) || !IsSameStream(word, headerWord_))
            continue;
        const auto length = static_cast<std::uint64_t>(FrameLengthOfHeader(word));
        if (at - offset >= 5 * length)
            continue;
        if (IsConfirmedFrameEnd(file, at + length))
            return static_cast<std::uint32_t>(at);
        if (!unconfirmed && at + length <= AudioEnd())
            unconfirmed = static_cast<std::uint32_t>(at);
    }
    if (unconfirmed)
        return *unconfirmed;
    const std::uint64_t toEnd = AudioEnd() - offset;
    return toEnd < 5ull * static_cast<std::uint64_t>(header_.frameLength) ? AudioEnd() : offset;
}

} // namespace keldro
