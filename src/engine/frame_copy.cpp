#include "engine/frame_copy.h"

#include "base/interruption.h"
#include "engine/frame_header.h"
#include "engine/lame_tag.h"

#include <algorithm>
#include <vector>

namespace keldro {
namespace {

// One buffer for every copy: a fresh allocation per segment would cost as much
// as the copy itself in page faults. A buffer that stays in the cache copies
// faster than a large one.
constexpr std::size_t kCopyChunk = 256 * 1024;

std::vector<std::uint8_t>& CopyBuffer()
{
    static std::vector<std::uint8_t> buffer(kCopyChunk);
    return buffer;
}

} // namespace

WrittenAudio WrittenAudio::Known(std::uint64_t headerFrameSize, FramePositions positions,
                                 std::uint64_t bytes, std::uint16_t crc)
{
    WrittenAudio audio(headerFrameSize);
    const bool frames = positions.Count() > 0;
    audio.positions = std::move(positions);
    audio.end = headerFrameSize + bytes;
    audio.framesEnd = frames ? audio.end : headerFrameSize;
    audio.crc = frames ? crc : 0;
    audio.runningCrc_ = crc;
    return audio;
}

void WrittenAudio::AddFrameAt(std::uint64_t offsetInBytes, std::uint32_t length)
{
    const std::uint64_t at = end + offsetInBytes;
    positions.Add(static_cast<std::uint32_t>(std::min<std::uint64_t>(at, 0xFFFFFFFFu)));
    framesEnd = std::max(framesEnd, at + length);
}

void WrittenAudio::AddBytes(const std::uint8_t* bytes, std::size_t size)
{
    // The CRC of the audio stops where the last frame ends; what follows
    // counts in only once a frame comes after it.
    const std::size_t audio =
        framesEnd > end ? static_cast<std::size_t>(std::min<std::uint64_t>(framesEnd - end, size))
                        : 0;
    runningCrc_ = Crc16({bytes, audio}, runningCrc_);
    if (audio > 0)
        crc = runningCrc_;
    runningCrc_ = Crc16({bytes + audio, size - audio}, runningCrc_);
    end += size;
}

void FrameCounter::Feed(const std::uint8_t* chunk, std::uint64_t chunkStart, std::size_t size)
{
    // The frames first: their places count from where this chunk lands.
    Walk(chunk, chunkStart, size);
    if (written_)
        written_->AddBytes(chunk, size);
}

void FrameCounter::Walk(const std::uint8_t* chunk, std::uint64_t chunkStart, std::size_t size)
{
    const std::uint64_t chunkEnd = chunkStart + size;
    while (next_ < std::min(chunkEnd, end_)) {
        std::uint32_t word = 0;
        if (next_ + 4 <= chunkEnd) {
            const std::uint8_t* at = chunk + (next_ - chunkStart);
            word = std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 |
                   std::uint32_t{at[2]} << 8 | at[3];
        } else if (!source_.ReadWordAt(next_, word)) {
            next_ = end_;
            return;
        }
        if (IsValidFrameHeader(word) && IsSameStream(word, stream_)) {
            ++count_;
            if (written_)
                written_->AddFrameAt(next_ - chunkStart,
                                     static_cast<std::uint32_t>(FrameLengthOfHeader(word)));
            next_ += static_cast<std::uint64_t>(FrameLengthOfHeader(word));
        } else {
            ++next_; // not where a frame should start: search on, as a walk does
        }
    }
}

// Through a buffer that stays in the cache this is faster than the kernel's own
// copy at unaligned offsets, or a fresh mapping of the source (both measured).
CopyOutcome CopyCountingFrames(FileReader& reader, std::uint64_t from, std::uint64_t to,
                               OutputFile& out, FrameCounter& counter, std::uint64_t unit,
                               const std::function<bool()>& afterUnit)
{
    std::vector<std::uint8_t>& buffer = CopyBuffer();
    std::uint64_t unitEnd = unit > 0 ? from + unit : to;
    for (std::uint64_t position = from; position < to;) {
        // Writes that start on page boundaries of the output copy faster: the
        // first chunk makes up for whatever stands in front.
        const std::uint64_t room = kCopyChunk - out.Size() % kCopyChunk;
        const auto count =
            static_cast<std::size_t>(std::min({room, to - position, unitEnd - position}));
        if (reader.ReadAt(position, buffer.data(), count) != count)
            return reader.HasFailed() ? CopyOutcome::ReadFailed : CopyOutcome::SourceChanged;
        counter.Feed(buffer.data(), position, count);
        if (!out.Write(buffer.data(), count))
            return CopyOutcome::WriteFailed;
        position += count;
        if (PendingInterruption() != 0)
            return CopyOutcome::Stopped;
        if (position == unitEnd && position < to) {
            if (afterUnit && !afterUnit())
                return CopyOutcome::Stopped;
            unitEnd = std::min(to, unitEnd + unit);
        }
    }
    if (unit > 0 && afterUnit && !afterUnit())
        return CopyOutcome::Stopped;
    return CopyOutcome::Done;
}

} // namespace keldro
