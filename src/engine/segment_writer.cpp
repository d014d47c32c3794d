#include "engine/segment_writer.h"

#include "base/output_file.h"
#include "engine/audio_digest.h"
#include "engine/bit_reservoir.h"
#include "engine/frame_copy.h"
#include "engine/frame_header.h"
#include "engine/header_frame_copy.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace keldro {
namespace {

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
        // splice reports a source that ended early as no data
        return out.Error() == ENODATA ? SegmentError::SourceChanged : SegmentError::WriteFailed;
    case OutputFile::CopyResult::Interrupted:
        return SegmentError::Stopped;
    case OutputFile::CopyResult::Unsupported:
        break;
    }
    return std::nullopt;
}

SegmentError CopyFailure(CopyOutcome outcome)
{
    switch (outcome) {
    case CopyOutcome::Done:
        return SegmentError::None;
    case CopyOutcome::ReadFailed:
        return SegmentError::ReadFailed;
    case CopyOutcome::SourceChanged:
        return SegmentError::SourceChanged;
    case CopyOutcome::Stopped:
        return SegmentError::Stopped;
    case CopyOutcome::WriteFailed:
        break;
    }
    return SegmentError::WriteFailed;
}

// The audio between the snapped offsets; the frame count comes back in result,
// unless a digest counts them on its own thread.
std::optional<std::uint32_t> KnownFrameCount(const CMP3Info& source, FileReader& reader,
                                             const SegmentResult& result,
                                             const SegmentOptions& options)
{
    const auto& given = options.knownFrames;
    if (given && given->from == result.startOffset && given->to == result.endOffset)
        return given->count;
    return source.CountFrames(reader, result.startOffset, result.endOffset);
}

SegmentError CopyAudio(const CMP3Info& source, FileReader& reader, OutputFile& out,
                       SegmentResult& result, bool digested, const SegmentOptions& options)
{
    // With a frame table the count is known beforehand, and the kernel may move
    // the audio on its own; otherwise it is counted as it passes.
    const std::optional<std::uint32_t> known =
        digested ? std::optional<std::uint32_t>(0)
                 : KnownFrameCount(source, reader, result, options);
    std::optional<SegmentError> copied;
    if (known && reader.Descriptor() >= 0)
        copied = CopySpliced(reader, result.startOffset, result.endOffset, out);
    FrameCounter counter(reader, source.HeaderWord(), result.startOffset, result.endOffset);
    if (!copied)
        copied = CopyFailure(
            CopyCountingFrames(reader, result.startOffset, result.endOffset, out, counter));
    result.frames = known ? *known : counter.Count();
    return *copied;
}

SegmentError Commit(OutputFile& out, const SegmentOptions& options)
{
    switch (out.Commit(options.mayReplace)) {
    case OutputFile::CommitResult::Done:
        return SegmentError::None;
    case OutputFile::CommitResult::TargetExists:
        return SegmentError::TargetExists;
    case OutputFile::CommitResult::Failed:
        break;
    }
    return SegmentError::WriteFailed;
}

// Where a piece ends, the source's audio has ended when no frame of its stream
// follows: at the end of the audio, or before a trailing tag or junk.
bool EndsTheAudio(const CMP3Info& source, FileReader& reader, std::uint32_t end)
{
    std::uint32_t word = 0;
    return end >= source.AudioEnd() || !reader.ReadWordAt(end, word) || !IsValidFrameHeader(word) ||
           !IsSameStream(word, source.HeaderWord());
}

// The piece's delay is the source's only where the piece begins with the
// source's first frame, its padding only where it ends with the last: anywhere
// else the samples are the music's own, and a gapless decoder would cut them.
// Frames carried in front of a cut are dropped by the delay instead.
void FinishHeaderFrame(const CMP3Info& source, FileReader& reader, const SegmentResult& result,
                       std::uint32_t cut, HeaderFrameCopy& header,
                       std::optional<WrittenAudio>& written)
{
    if (!written)
        written.emplace(header.bytes.size() + (result.endOffset - result.startOffset));
    const auto samples = static_cast<std::uint32_t>(SamplesPerFrame(source.Header()));
    std::uint32_t delay = 0;
    if (cut <= source.FirstFrameOffset())
        delay = header.lame.delay;
    else if (result.carriedFrames > 0)
        delay = static_cast<std::uint32_t>(result.carriedFrames) * samples - kDecoderDelaySamples;
    const bool toLast = EndsTheAudio(source, reader, result.endOffset);
    header.Finish(result.frames, *written, delay, toLast ? header.lame.padding : 0);
}

// The source's header frame, when the piece gets one.
SegmentError ReadHeaderFrame(const CMP3Info& source, FileReader& reader,
                             const SegmentOptions& options, std::optional<HeaderFrameCopy>& header)
{
    if (!options.writeVbrHeader || !source.HasHeaderFrame())
        return SegmentError::None;
    std::vector<std::uint8_t> frame;
    if (!ReadRange(reader, source.VbrFrameOffset(), source.FirstFrameOffset(), frame))
        return reader.HasFailed() ? SegmentError::ReadFailed : SegmentError::SourceChanged;
    header.emplace(std::move(frame), source.HeaderFrame());
    return SegmentError::None;
}

// Frames are carried in front of a cut only where a LAME tag's delay tells
// players to drop them; anywhere else they would play twice.
void PlanSeamlessStart(const CMP3Info& source, FileReader& reader,
                       const std::optional<HeaderFrameCopy>& header, SegmentResult& result)
{
    if (!header || !header->lame.present) {
        result.carriedComplete = false;
        return;
    }
    const CarriedStart carried = PlanCarriedStart(source, reader, result.startOffset);
    result.startOffset = carried.offset;
    result.carriedFrames = carried.frames;
    result.carriedComplete = carried.complete;
}

bool IsKnownAudio(const HeaderFrameCopy& header, const SegmentResult& result,
                  const SegmentOptions& options)
{
    const auto& known = options.knownAudio;
    return known && known->from == result.startOffset && known->to == result.endOffset &&
           known->written.end == header.bytes.size() + (known->to - known->from);
}

// The audio, with where its frames land and its CRC worked out beside the copy
// when the header frame needs them (or known from a walk before).
SegmentError CopyDigested(const CMP3Info& source, FileReader& reader, OutputFile& out,
                          SegmentResult& result, const std::optional<HeaderFrameCopy>& header,
                          std::optional<WrittenAudio>& written, const SegmentOptions& options)
{
    std::optional<AudioDigest> digest;
    if (header && header->NeedsWrittenAudio() && IsKnownAudio(*header, result, options)) {
        written = options.knownAudio->written;
        const SegmentError copied = CopyAudio(source, reader, out, result, true, options);
        result.frames = written->positions.Count();
        return copied;
    }
    if (header && header->NeedsWrittenAudio()) {
        written.emplace(header->bytes.size());
        digest.emplace(reader, source.HeaderWord(), result.startOffset, result.endOffset, *written);
    }
    if (const SegmentError copied =
            CopyAudio(source, reader, out, result, digest.has_value(), options);
        copied != SegmentError::None)
        return copied;
    // The digest read the same bytes as the copy.
    if (digest) {
        if (!digest->Finish())
            return SegmentError::SourceChanged;
        result.frames = written->positions.Count();
    }
    return SegmentError::None;
}

} // namespace

void PatchVbrHeader(std::span<std::uint8_t> tag, std::uint32_t frames, std::uint32_t bytes,
                    VbrHeaderType type)
{
    InfoHeader::PatchTag(tag, type, frames, bytes);
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
    const std::uint32_t cut = source.SnapToFrame(reader, startOffset);
    result.startOffset = cut;
    result.endOffset = std::max(source.SnapToFrame(reader, endOffset), cut);
    OutputFile out(outputPath);
    const auto fail = [&](SegmentError error) {
        result.systemError = error == SegmentError::ReadFailed ? reader.Error() : out.Error();
        return Failure(error, result);
    };
    std::optional<HeaderFrameCopy> header;
    if (const SegmentError read = ReadHeaderFrame(source, reader, options, header);
        read != SegmentError::None)
        return fail(read);
    if (options.seamless && result.endOffset > cut)
        PlanSeamlessStart(source, reader, header, result);
    if (!out.IsOpen())
        return fail(SegmentError::CannotCreate);
    if (header && !out.Write(header->bytes.data(), header->bytes.size()))
        return fail(SegmentError::WriteFailed);
    std::optional<WrittenAudio> written;
    if (const SegmentError copied =
            CopyDigested(source, reader, out, result, header, written, options);
        copied != SegmentError::None)
        return fail(copied);
    if (header) {
        FinishHeaderFrame(source, reader, result, cut, *header, written);
        if (!out.WriteAt(0, header->bytes.data(), header->bytes.size()))
            return fail(SegmentError::WriteFailed);
    }
    if (options.tag && !out.Write(options.tag->data(), options.tag->size()))
        return fail(SegmentError::WriteFailed);
    result.bytesWritten = out.Size();
    if (const SegmentError committed = Commit(out, options); committed != SegmentError::None)
        return fail(committed);
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
