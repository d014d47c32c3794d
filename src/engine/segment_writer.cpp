#include "engine/segment_writer.h"

#include "base/output_file.h"

#include <algorithm>
#include <optional>
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

void PutBigEndian(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Counts the frames of [next, end) from the bytes as they pass through the copy,
// so that the copied header announces exactly what follows it.
class FrameCounter
{
public:
    FrameCounter(FileReader& source, std::uint32_t streamWord, std::uint64_t next,
                 std::uint64_t end)
        : source_(source), stream_(streamWord), next_(next), end_(end)
    {}

    void Feed(const std::uint8_t* chunk, std::uint64_t chunkStart, std::size_t size)
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
                next_ += static_cast<std::uint64_t>(FrameLengthOfHeader(word));
            } else {
                ++next_; // not where a frame should start: search on, as a walk does
            }
        }
    }

    std::uint32_t Count() const { return count_; }

private:
    FileReader& source_;
    std::uint32_t stream_;
    std::uint64_t next_;
    std::uint64_t end_;
    std::uint32_t count_ = 0;
};

SegmentResult Failure(SegmentError error, SegmentResult result = {})
{
    result.ok = false;
    result.error = error;
    return result;
}

bool ReadRange(FileReader& reader, std::uint64_t from, std::uint64_t to,
               std::vector<std::uint8_t>& bytes)
{
    bytes.resize(static_cast<std::size_t>(to - from));
    return reader.ReadAt(from, bytes.data(), bytes.size()) == bytes.size();
}

// Moves [from, to) of the source into the output without copying it through
// this program: as fast as a plain copy. Nothing when the file system cannot.
std::optional<SegmentError> CopySpliced(FileReader& reader, std::uint32_t from, std::uint32_t to,
                                        OutputFile& out)
{
    switch (out.SpliceFrom(reader.Descriptor(), from, to - from)) {
    case OutputFile::CopyResult::Done:
        return SegmentError::None;
    case OutputFile::CopyResult::Failed:
        return SegmentError::WriteFailed;
    case OutputFile::CopyResult::Unsupported:
        break;
    }
    return std::nullopt;
}

// Copies [from, to) of the source to the output, counting its frames on the way.
// Through a buffer that stays in the cache this is faster than the kernel's own
// copy at unaligned offsets, or a fresh mapping of the source (both measured).
SegmentError CopyCounting(FileReader& reader, std::uint32_t from, std::uint32_t to,
                          FrameCounter& counter, OutputFile& out)
{
    std::vector<std::uint8_t>& buffer = CopyBuffer();
    for (std::uint64_t position = from; position < to;) {
        // Writes that start on page boundaries of the output copy faster: the
        // first chunk makes up for the header frame in front.
        const std::uint64_t room = kCopyChunk - out.Size() % kCopyChunk;
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(room, to - position));
        if (reader.ReadAt(position, buffer.data(), count) != count)
            return SegmentError::ReadFailed;
        counter.Feed(buffer.data(), position, count);
        if (!out.Write(buffer.data(), count))
            return SegmentError::WriteFailed;
        position += count;
    }
    return SegmentError::None;
}

} // namespace

void PatchVbrHeader(std::span<std::uint8_t> tag, std::uint32_t frames, std::uint32_t bytes,
                    VbrHeaderType type)
{
    // Xing and Info: frames at 8-11, bytes at 12-15; VBRI: bytes at 10-13, frames at 14-17.
    if ((type == VbrHeaderType::Xing || type == VbrHeaderType::Info) && tag.size() >= 16) {
        PutBigEndian(tag, 8, frames);
        PutBigEndian(tag, 12, bytes);
    } else if (type == VbrHeaderType::Vbri && tag.size() >= 18) {
        PutBigEndian(tag, 10, bytes);
        PutBigEndian(tag, 14, frames);
    }
}

SegmentResult WriteSegment(const CMP3Info& source, const std::string& outputPath,
                           std::uint32_t startOffset, std::uint32_t endOffset,
                           const SegmentOptions& options)
{
    if (endOffset > source.FileSize() || startOffset > endOffset)
        return Failure(SegmentError::BadRange);
    FileReader reader = FileReader::Open(source.Path());
    if (!reader.IsOpen() || reader.Size() != source.FileSize())
        return Failure(SegmentError::SourceChanged);
    return WriteSegment(source, reader, outputPath, startOffset, endOffset, options);
}

SegmentResult WriteSegment(const CMP3Info& source, FileReader& reader,
                           const std::string& outputPath, std::uint32_t startOffset,
                           std::uint32_t endOffset, const SegmentOptions& options)
{
    if (endOffset > source.FileSize() || startOffset > endOffset)
        return Failure(SegmentError::BadRange);
    if (IsSameFile(outputPath, source.Path()))
        return Failure(SegmentError::TargetIsSource);
    SegmentResult result;
    result.startOffset = source.SnapToFrame(reader, startOffset);
    result.endOffset = std::max(source.SnapToFrame(reader, endOffset), result.startOffset);

    OutputFile out(outputPath);
    if (!out.IsOpen())
        return Failure(SegmentError::CannotCreate, result);
    const bool withHeader = options.writeVbrHeader && source.HasHeaderFrame();
    std::vector<std::uint8_t> headerFrame;
    if (withHeader) {
        if (!ReadRange(reader, source.VbrFrameOffset(), source.FirstFrameOffset(), headerFrame))
            return Failure(SegmentError::ReadFailed, result);
        if (!out.Write(headerFrame.data(), headerFrame.size()))
            return Failure(SegmentError::WriteFailed, result);
    }
    // With a frame table the count is known beforehand, and the kernel may move
    // the audio on its own; otherwise it is counted as it passes.
    const std::optional<std::uint32_t> known =
        source.CountFrames(reader, result.startOffset, result.endOffset);
    std::optional<SegmentError> copied;
    if (known && reader.Descriptor() >= 0)
        copied = CopySpliced(reader, result.startOffset, result.endOffset, out);
    FrameCounter counter(reader, source.HeaderWord(), result.startOffset, result.endOffset);
    if (!copied)
        copied = CopyCounting(reader, result.startOffset, result.endOffset, counter, out);
    if (*copied != SegmentError::None)
        return Failure(*copied, result);
    result.frames = known ? *known : counter.Count();

    if (withHeader) {
        const std::uint32_t bytes = static_cast<std::uint32_t>(headerFrame.size()) +
                                    (result.endOffset - result.startOffset);
        PatchVbrHeader(
            std::span(headerFrame).subspan(source.VbrTagOffset() - source.VbrFrameOffset()),
            result.frames, bytes, source.VbrType());
        if (!out.WriteAt(0, headerFrame.data(), headerFrame.size()))
            return Failure(SegmentError::WriteFailed, result);
    }
    if (options.tag && !out.Write(options.tag->data(), options.tag->size()))
        return Failure(SegmentError::WriteFailed, result);
    result.bytesWritten = out.Size();
    if (!out.Commit())
        return Failure(SegmentError::WriteFailed, result);
    result.ok = true;
    return result;
}

SegmentPlan PlanSegmentByTime(const CMP3Info& source, TimeMs start, TimeMs end, TimeMs reference,
                              bool fast)
{
    FileReader reader = FileReader::Open(source.Path());
    if (start > end || !reader.IsOpen() || reader.Size() != source.FileSize())
        return {};
    SegmentPlan plan;
    plan.ok = true;
    plan.startOffset = source.SnapToFrame(reader, source.TimeToOffset(start, reference, fast));
    plan.endOffset = std::max(source.SnapToFrame(reader, source.TimeToOffset(end, reference, fast)),
                              plan.startOffset);
    return plan;
}

SegmentResult WriteSegmentByTime(const CMP3Info& source, const std::string& outputPath,
                                 TimeMs start, TimeMs end, TimeMs reference, bool fast,
                                 const SegmentOptions& options)
{
    if (start > end)
        return Failure(SegmentError::BadRange);
    return WriteSegment(source, outputPath, source.TimeToOffset(start, reference, fast),
                        source.TimeToOffset(end, reference, fast), options);
}

} // namespace keldro
