// Cutting: whole frames of an analysed source copied into a new file, with a
// patched copy of its VBR header frame in front and an ID3v1 tag behind.
#pragma once

#include "engine/frame_copy.h"
#include "engine/id3v1.h"
#include "engine/mp3_info.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace keldro {

enum class SegmentError
{
    None,
    BadRange,       // end beyond the file, or start after end
    SourceChanged,  // cannot be reopened, or no longer what was analysed
    TargetIsSource, // writing it would destroy what is being read
    CannotCreate,   // the output cannot be created
    ReadFailed,
    WriteFailed,  // a full disk included
    TargetExists, // a file appeared at the target, and it was not to be replaced
    Stopped,      // the process was asked to end
};

struct SegmentResult
{
    bool ok = false;
    SegmentError error = SegmentError::None;
    int systemError = 0;           // the system's error number behind a failure, when known
    std::uint32_t startOffset = 0; // the snapped range of source audio copied
    std::uint32_t endOffset = 0;
    std::uint32_t frames = 0; // audio frames copied
    std::uint64_t bytesWritten = 0;
    // Frames copied in front of the cut (seamless pieces), and whether they are
    // all the cut frame needs.
    int carriedFrames = 0;
    bool carriedComplete = true;
};

struct SegmentOptions
{
    bool writeVbrHeader = true;
    std::optional<Id3v1Block> tag; // appended unless absent
    // Whether an existing target may be replaced. When it may not, a file that
    // is there when the segment is complete (it appeared meanwhile) fails the
    // segment with TargetExists and stays as it is.
    bool mayReplace = false;
    // A piece that begins after the first audio frame also carries the frames
    // before its start that its first frame is decoded from; the LAME tag's
    // encoder delay tells gapless decoders to drop their samples.
    bool seamless = false;
    // The audio frames between two frame boundaries, when the caller has
    // counted them already: used only for exactly that range, it spares the
    // copy the count and lets the kernel move the audio.
    struct KnownFrames
    {
        std::uint32_t from = 0;
        std::uint32_t to = 0;
        std::uint32_t count = 0;
    };
    std::optional<KnownFrames> knownFrames;
    // Where the frames of that range land behind the header frame and their
    // CRC, when a walk over the source has worked them out: the header frame
    // is then finished without reading the audio again.
    struct KnownAudio
    {
        std::uint32_t from = 0;
        std::uint32_t to = 0;
        WrittenAudio written;
    };
    std::optional<KnownAudio> knownAudio;
};

// Copies the source's frames between the snapped offsets into outputPath.
SegmentResult WriteSegment(const CMP3Info& source, const std::string& outputPath,
                           std::uint32_t startOffset, std::uint32_t endOffset,
                           const SegmentOptions& options);
// The same over a reader, for data that is not in a file of its own.
SegmentResult WriteSegment(const CMP3Info& source, FileReader& reader,
                           const std::string& outputPath, std::uint32_t startOffset,
                           std::uint32_t endOffset, const SegmentOptions& options);
// Maps both times with TimeToOffset first; a start after the end is refused.
SegmentResult WriteSegmentByTime(const CMP3Info& source, const std::string& outputPath,
                                 TimeMs start, TimeMs end, TimeMs reference, bool fast,
                                 const SegmentOptions& options);

// The snapped source range a segment between two times would copy.
struct SegmentPlan
{
    bool ok = false;
    std::uint32_t startOffset = 0;
    std::uint32_t endOffset = 0;
};
SegmentPlan PlanSegmentByTime(const CMP3Info& source, TimeMs start, TimeMs end, TimeMs reference,
                              bool fast);

// Writes the counts into a copied information tag (bytes from its first
// letter); other types, or too few bytes, leave it unchanged. The same as
// InfoHeader::PatchTag, for callers that know only the tag's kind.
void PatchVbrHeader(std::span<std::uint8_t> tag, std::uint32_t frames, std::uint32_t bytes,
                    VbrHeaderType type);

} // namespace keldro
