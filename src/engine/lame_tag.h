// The LAME extension of a Xing/Info header frame: the encoder delay and padding
// gapless decoders trim, the length and CRC of the music, and the CRC that
// guards the tag itself. Encoders other than lame (libavformat, libavcodec)
// write the same layout under their own name.
#pragma once

#include "engine/crc16.h"
#include "engine/info_header.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldro {

// Where the fields named by a Xing/Info tag's flags sit in the header frame
// (offsets from the frame's first byte); valid is false for other headers or a
// frame too short for the fields its flags announce.
struct XingLayout
{
    static constexpr std::uint32_t kFramesFlag = 1;
    static constexpr std::uint32_t kBytesFlag = 2;
    static constexpr std::uint32_t kTocFlag = 4;
    static constexpr std::uint32_t kQualityFlag = 8;
    static constexpr std::size_t kTocSize = 100;

    bool valid = false;
    std::uint32_t flags = 0;
    std::size_t toc = 0;       // 0 without the table of contents
    std::size_t extension = 0; // the first byte after the flagged fields

    static XingLayout Of(std::span<const std::uint8_t> frame, const InfoHeader& header);
};

// The values a writer puts into a copy of the header frame.
struct LameFields
{
    std::uint32_t delay = 0;   // samples; 12 bits, larger values are stored as 4095
    std::uint32_t padding = 0; // samples; the same
    // Bytes from the header frame's first byte to the end of the audio: the
    // header frame is counted, ID3v2 and ID3v1 tags are not. lame 3.100 writes
    // the same number here as in the Xing/Info byte count.
    std::uint32_t musicLength = 0;
    // Crc16 over the audio frames after the header frame, up to the end of the audio.
    std::uint16_t musicCrc = 0;
};

struct LameTag
{
    // Offsets from the extension's first byte: a 9-byte encoder name, then
    // revision, lowpass, replay gain and flags up to these fields.
    static constexpr std::size_t kDelayPaddingField = 21; // 3 bytes: delay 12 bits, padding 12 bits
    static constexpr std::size_t kMusicLengthField = 28;  // 4 bytes big-endian
    static constexpr std::size_t kMusicCrcField = 32;     // 2 bytes big-endian
    static constexpr std::size_t kTagCrcField = 34;       // 2 bytes big-endian
    static constexpr std::size_t kSize = 36;
    static constexpr std::uint32_t kMaxDelay = 0xFFF;

    bool present = false;
    std::size_t extension = 0; // the extension's offset from the frame's first byte
    std::uint32_t delay = 0;
    std::uint32_t padding = 0;
    std::uint32_t musicLength = 0;
    std::uint16_t musicCrc = 0;
    std::uint16_t tagCrc = 0;
    // The stored tag CRC equals the CRC of the frame's bytes in front of it.
    bool tagCrcOk = false;

    std::size_t DelayPaddingOffset() const { return extension + kDelayPaddingField; }
    std::size_t MusicLengthOffset() const { return extension + kMusicLengthField; }
    std::size_t MusicCrcOffset() const { return extension + kMusicCrcField; }
    std::size_t TagCrcOffset() const { return extension + kTagCrcField; }

    // From the bytes of the header frame (from its first byte, no further than
    // its end) and the header found in it. Only Xing and Info tags have the
    // extension; it is recognised by a printable encoder name.
    static LameTag Read(std::span<const std::uint8_t> frame, const InfoHeader& header);
};

// Writes fields into a copy of the header frame, then the tag CRC over every
// byte in front of it; a tag not present, or a frame too short for it, leaves
// the frame unchanged.
void PatchLameTag(std::span<std::uint8_t> frame, const LameTag& tag, const LameFields& fields);

} // namespace keldro
