// The information header an encoder may put in the first frame of a stream in
// place of audio: "Xing" (variable bitrate) or "Info" (the same header in front
// of constant-bitrate audio) after the side information, or "VBRI" at a fixed
// place. The first-frame search reads its frame count; the writers put the
// counts of a new file into a copy of it.
#pragma once

#include "base/file_reader.h"
#include "engine/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldro {

enum class VbrHeaderType : std::int32_t
{
    None = 0,
    Xing = 1,
    Vbri = 2,
    // The "Info" header encoders put in front of constant-bitrate audio: a header
    // frame like Xing, but the file still counts as constant bitrate.
    Info = 3,
};

struct InfoHeader
{
    // Xing and Info, after the frame header and the side information (at 36,
    // 21 or 13 bytes into the frame); fields big-endian:
    //
    //   0   4  "Xing" or "Info"
    //   4   4  flags: which fields follow; not consulted, the counts are
    //          taken from their usual places
    //   8   4  frames
    //   12  4  bytes, the header frame included
    //   16     table of contents, quality, the encoder's own fields
    static constexpr std::size_t kXingFramesField = 8;
    static constexpr std::size_t kXingBytesField = 12;

    // VBRI, 32 bytes after the frame header whatever the version and mode:
    //
    //   0   4  "VBRI"
    //   4   2  version
    //   6   2  delay
    //   8   2  quality
    //   10  4  bytes
    //   14  4  frames
    //   18     table of contents
    static constexpr std::uint32_t kVbriTagOffset = 36;
    static constexpr std::size_t kVbriBytesField = 10;
    static constexpr std::size_t kVbriFramesField = 14;

    // What is read at a tag's place: both counts of either kind.
    static constexpr std::size_t kTagSize = 18;

    VbrHeaderType kind = VbrHeaderType::None;
    std::uint32_t tagOffset = 0; // of the tag's first letter, from the frame's first byte
    std::uint32_t frames = 0;    // as the tag gives it

    bool IsPresent() const { return kind != VbrHeaderType::None; }

    // Where a Xing or Info tag begins in a frame of this stream.
    static std::uint32_t XingTagOffset(const FrameHeaderInfo& info);
    // The header in the frame whose bytes begin here (they may run on past the
    // frame, as the file does). Xing and Info are looked for before VBRI; a tag
    // needs all kTagSize bytes.
    static InfoHeader Read(std::span<const std::uint8_t> frame, const FrameHeaderInfo& info);
    // The same for the frame at this offset of a file.
    static InfoHeader Find(FileReader& file, std::uint64_t frame, const FrameHeaderInfo& info);

    // Writes a new file's counts into a copy of the header frame (bytes from
    // its first byte); too few bytes leave it unchanged.
    void Patch(std::span<std::uint8_t> frame, std::uint32_t frameCount,
               std::uint32_t byteCount) const;
    // The same into a copy of a tag (bytes from its first letter); a kind
    // without counts, or too few bytes, leave it unchanged.
    static void PatchTag(std::span<std::uint8_t> tag, VbrHeaderType type, std::uint32_t frameCount,
                         std::uint32_t byteCount);
};

} // namespace keldro
