// The 32-bit MPEG audio frame header: validation, decoding and stream matching.
#pragma once

#include <array>
#include <cstdint>

namespace keldro {

// A decoded header; the field order is fixed and every field is signed.
struct FrameHeaderInfo
{
    std::int32_t version = 0;    // 3 MPEG 1, 2 MPEG 2, 1 MPEG 2.5, 0 reserved
    std::int32_t layer = 0;      // 1, 2 or 3; 0 reserved
    std::int32_t protection = 0; // the protection bit as read
    std::int32_t bitrate = 0;    // kbit/s; 0 free format, -1 bad
    std::int32_t sampleRate = 0; // Hz; 0 reserved
    std::int32_t channelMode = 0;
    std::int32_t copyright = 0;
    std::int32_t original = 0;
    std::int32_t emphasis = 0;
    std::int32_t frameLength = 0; // bytes; 0 when the sample rate is 0

    bool operator==(const FrameHeaderInfo&) const = default;
};

// The channel mode field's values (FrameHeaderInfo::channelMode holds them as
// the header has them).
enum class ChannelMode : std::int32_t
{
    Stereo = 0,
    JointStereo = 1,
    DualChannel = 2,
    SingleChannel = 3,
};

inline bool IsSingleChannel(const FrameHeaderInfo& info)
{
    return info.channelMode == static_cast<std::int32_t>(ChannelMode::SingleChannel);
}

// Headers of one stream agree in sync, version, layer and sample-rate index.
inline constexpr std::uint32_t kSameStreamMask = 0xFFFE0C00;
// The frame carrying a VBR information header is matched on sync, version and layer.
inline constexpr std::uint32_t kHeaderFrameMask = 0xFFFE0000;

namespace detail {
// Frame lengths by header bits 20-9 (version, layer, protection, bitrate index,
// sample-rate index, padding).
extern const std::array<std::int32_t, 4096> kFrameLengths;
} // namespace detail

// Sync all ones; version, layer, bitrate index, sample-rate index and emphasis
// not reserved; free format (bitrate index 0) is not supported.
inline bool IsValidFrameHeader(std::uint32_t word)
{
    const std::uint32_t bitrate = (word >> 12) & 15;
    return (word & 0xFFE00000u) == 0xFFE00000u && ((word >> 19) & 3) != 1 &&
           ((word >> 17) & 3) != 0 && bitrate != 0 && bitrate != 15 && ((word >> 10) & 3) != 3 &&
           (word & 3) != 2;
}

FrameHeaderInfo DecodeFrameHeader(std::uint32_t word);

// The frame length alone, as DecodeFrameHeader gives it: walks decode every
// frame, and need no more.
inline std::int32_t FrameLengthOfHeader(std::uint32_t word)
{
    return detail::kFrameLengths[(word >> 9) & 0xFFF];
}

inline bool IsSameStream(std::uint32_t a, std::uint32_t b)
{
    return ((a ^ b) & kSameStreamMask) == 0;
}

// Bytes of side information after the header: where a Xing tag sits.
int SideInfoSize(const FrameHeaderInfo& info);
// PCM samples per channel that one frame decodes to.
int SamplesPerFrame(const FrameHeaderInfo& info);

} // namespace keldro
