// Cutting: whole frames of an analysed source copied into a new file, with a
// patched copy of its VBR header frame in front and an ID3v1 tag behind.
#pragma once

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
    SourceChanged,  // cannot be reopened, or no longer the analysed size
    TargetIsSource, // writing it would destroy what is being read
    CannotCreate,   // the output cannot be created
    ReadFailed,
    WriteFailed, // a full disk included
};

struct SegmentResult
{
    bool ok = false;
    SegmentError error = SegmentError::None;
    std::uint32_t startOffset = 0; // the snapped range of source audio copied
    std::uint32_t endOffset = 0;
    std::uint32_t frames = 0; // audio frames copied
    std::uint64_t bytesWritten = 0;
};

struct SegmentOptions
{
    bool writeVbrHeader = true;
    std::optional<Id3v1Block> tag; // appended unless absent
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
// letter); other types, or too few bytes, leave it unchanged.
void PatchVbrHeader(std::span<std::uint8_t> tag, std::uint32_t frames, std::uint32_t bytes,
                    VbrHeaderType type);

} // namespace keldro
