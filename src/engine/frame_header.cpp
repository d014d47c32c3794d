#include "frame_header.h"

#include <array>
#include <cstddef>

namespace keldro {
namespace {

// Header word, most significant bit first:
//   AAAAAAAA AAABBCCD EEEEFFGH IIJJKLMM
//   A sync (all ones)   B version   C layer       D protection
//   E bitrate index     F sample-rate index       G padding   H private
//   I channel mode      J mode extension          K copyright L original  M emphasis
constexpr std::uint32_t Bits(std::uint32_t word, int shift, std::uint32_t mask)
{
    return (word >> shift) & mask;
}

// Bitrates in kbit/s by index; 0 is free format and -1 is bad (index 15).
using BitrateRow = std::array<std::int32_t, 16>;
constexpr BitrateRow kMpeg1Layer1{0,   32,  64,  96,  128, 160, 192, 224,
                                  256, 288, 320, 352, 384, 416, 448, -1};
constexpr BitrateRow kMpeg1Layer2{0,   32,  48,  56,  64,  80,  96,  112,
                                  128, 160, 192, 224, 256, 320, 384, -1};
constexpr BitrateRow kMpeg1Layer3{0,   32,  40,  48,  56,  64,  80,  96,
                                  112, 128, 160, 192, 224, 256, 320, -1};
constexpr BitrateRow kMpeg2Layer1{0,   32,  48,  56,  64,  80,  96,  112,
                                  128, 144, 160, 176, 192, 224, 256, -1};
constexpr BitrateRow kMpeg2Layer23{0,  8,  16, 24,  32,  40,  48,  56,
                                   64, 80, 96, 112, 128, 144, 160, -1};

// Sample rates in Hz by version code (0 reserved, 1 MPEG 2.5, 2 MPEG 2, 3 MPEG 1)
// and sample-rate index; index 3 is reserved.
constexpr std::array<std::array<std::int32_t, 4>, 4> kSampleRates{{
    {0, 0, 0, 0},
    {11025, 12000, 8000, 0},
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
}};

// Version bits 00 MPEG 2.5, 01 reserved, 10 MPEG 2, 11 MPEG 1 -> version code.
constexpr std::array<std::int32_t, 4> kVersionCodes{1, 0, 2, 3};
// Layer bits 00 reserved, 01 Layer III, 10 Layer II, 11 Layer I -> layer number.
constexpr std::array<std::int32_t, 4> kLayerNumbers{0, 3, 2, 1};

constexpr std::int32_t LookUpBitrate(std::int32_t version, std::int32_t layer, std::uint32_t index)
{
    if (version == 0 || layer == 0)
        return 0;
    if (version == 3) {
        const BitrateRow& row =
            layer == 1 ? kMpeg1Layer1 : (layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3);
        return row[index];
    }
    return layer == 1 ? kMpeg2Layer1[index] : kMpeg2Layer23[index];
}

constexpr std::int32_t FrameLength(const FrameHeaderInfo& info, std::int32_t padding)
{
    if (info.sampleRate == 0)
        return 0;
    const std::int64_t rate = info.sampleRate;
    const std::int64_t bitrate = info.bitrate;
    if (info.layer == 1)
        return static_cast<std::int32_t>((12 * 1000 * bitrate / rate + padding) * 4);
    if (info.layer == 3 && info.version != 3)
        return static_cast<std::int32_t>(72 * 1000 * bitrate / rate + padding);
    return static_cast<std::int32_t>(144 * 1000 * bitrate / rate + padding);
}

// The divisions of the formula cost more than the rest of the decoding together,
// so the lengths are worked out once, at compile time.
constexpr std::array<std::int32_t, 4096> MakeFrameLengths()
{
    std::array<std::int32_t, 4096> lengths{};
    for (std::uint32_t bits = 0; bits < lengths.size(); ++bits) {
        const std::uint32_t word = bits << 9;
        FrameHeaderInfo info;
        info.version = kVersionCodes[Bits(word, 19, 3)];
        info.layer = kLayerNumbers[Bits(word, 17, 3)];
        info.bitrate = LookUpBitrate(info.version, info.layer, Bits(word, 12, 15));
        info.sampleRate = kSampleRates[static_cast<std::size_t>(info.version)][Bits(word, 10, 3)];
        lengths[bits] = FrameLength(info, static_cast<std::int32_t>(Bits(word, 9, 1)));
    }
    return lengths;
}

} // namespace

namespace detail {
constexpr std::array<std::int32_t, 4096> kFrameLengths = MakeFrameLengths();
} // namespace detail

FrameHeaderInfo DecodeFrameHeader(std::uint32_t word)
{
    FrameHeaderInfo info;
    info.version = kVersionCodes[Bits(word, 19, 3)];
    info.layer = kLayerNumbers[Bits(word, 17, 3)];
    info.protection = static_cast<std::int32_t>(Bits(word, 16, 1));
    info.bitrate = LookUpBitrate(info.version, info.layer, Bits(word, 12, 15));
    info.sampleRate = kSampleRates[static_cast<std::size_t>(info.version)][Bits(word, 10, 3)];
    info.channelMode = static_cast<std::int32_t>(Bits(word, 6, 3));
    info.copyright = static_cast<std::int32_t>(Bits(word, 3, 1));
    info.original = static_cast<std::int32_t>(Bits(word, 2, 1));
    info.emphasis = static_cast<std::int32_t>(Bits(word, 0, 3));
    info.frameLength = FrameLengthOfHeader(word);
    return info;
}

int SideInfoSize(const FrameHeaderInfo& info)
{
    const bool mono = IsSingleChannel(info);
    if (info.version == 3)
        return mono ? 17 : 32;
    return mono ? 9 : 17;
}

int SamplesPerFrame(const FrameHeaderInfo& info)
{
    if (info.layer == 1)
        return 384;
    if (info.layer == 3 && info.version != 3)
        return 576;
    return 1152;
}

} // namespace keldro
