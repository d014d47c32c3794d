#include "engine/frame_header.h"
#include "engine/mp3_info.h"
#include "mp3_builder.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::HeaderFields;
using test::MakeHeader;

HeaderFields Mpeg1Layer3(int bitrateIndex, int padding = 0)
{
    HeaderFields f;
    f.bitrateIndex = bitrateIndex;
    f.padding = padding;
    return f;
}

TEST(FrameHeader, WorkedFrameLengths)
{
    EXPECT_EQ(DecodeFrameHeader(MakeHeader(Mpeg1Layer3(9, 0))).frameLength, 417);
    EXPECT_EQ(DecodeFrameHeader(MakeHeader(Mpeg1Layer3(9, 1))).frameLength, 418);

    HeaderFields mpeg2;
    mpeg2.versionBits = 2;
    mpeg2.bitrateIndex = 8; // 64 kbit/s
    const FrameHeaderInfo info = DecodeFrameHeader(MakeHeader(mpeg2));
    EXPECT_EQ(info.version, 2);
    EXPECT_EQ(info.bitrate, 64);
    EXPECT_EQ(info.sampleRate, 22050);
    EXPECT_EQ(info.frameLength, 208);

    HeaderFields layer1;
    layer1.layerBits = 3;
    layer1.bitrateIndex = 1; // 32 kbit/s
    EXPECT_EQ(DecodeFrameHeader(MakeHeader(layer1)).frameLength, 32);
    layer1.padding = 1;
    EXPECT_EQ(DecodeFrameHeader(MakeHeader(layer1)).frameLength, 36);
}

TEST(FrameHeader, DecodesEveryField)
{
    // MPEG 2.5, Layer II, CRC present, 12 kHz, mono, copyright, original, emphasis 3.
    const std::uint32_t word = 0xFFE00000u | 0u << 19 | 2u << 17 | 0u << 16 | 4u << 12 | 1u << 10 |
                               1u << 9 | 3u << 6 | 1u << 3 | 1u << 2 | 3u;
    const FrameHeaderInfo info = DecodeFrameHeader(word);
    EXPECT_EQ(info.version, 1);
    EXPECT_EQ(info.layer, 2);
    EXPECT_EQ(info.protection, 0);
    EXPECT_EQ(info.bitrate, 32);
    EXPECT_EQ(info.sampleRate, 12000);
    EXPECT_EQ(info.channelMode, 3);
    EXPECT_EQ(info.copyright, 1);
    EXPECT_EQ(info.original, 1);
    EXPECT_EQ(info.emphasis, 3);
    EXPECT_EQ(info.frameLength, 385); // 144 * 1000 * 32 / 12000 + padding
}

// Every valid header, checked against the test's own tables and formula.
TEST(FrameHeader, EveryValidCombinationMatchesTheStandard)
{
    int checked = 0;
    for (int version : {0, 2, 3}) {
        for (int layer : {1, 2, 3}) {
            for (int bitrate = 1; bitrate <= 14; ++bitrate) {
                for (int rate = 0; rate <= 2; ++rate) {
                    for (int padding = 0; padding <= 1; ++padding) {
                        HeaderFields f;
                        f.versionBits = version;
                        f.layerBits = layer;
                        f.bitrateIndex = bitrate;
                        f.sampleRateIndex = rate;
                        f.padding = padding;
                        const std::uint32_t word = MakeHeader(f);
                        ASSERT_TRUE(IsValidFrameHeader(word)) << std::hex << word;
                        const FrameHeaderInfo info = DecodeFrameHeader(word);
                        EXPECT_EQ(info.bitrate, test::BitrateOf(f)) << std::hex << word;
                        EXPECT_EQ(info.sampleRate, test::SampleRateOf(f)) << std::hex << word;
                        EXPECT_EQ(info.frameLength, test::FrameLengthOf(f)) << std::hex << word;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_EQ(checked, 3 * 3 * 14 * 3 * 2);
}

TEST(FrameHeader, InvalidFieldsAreNeverHeaders)
{
    const HeaderFields good;
    ASSERT_TRUE(IsValidFrameHeader(MakeHeader(good)));
    auto with = [&](auto change) {
        HeaderFields f = good;
        change(f);
        return MakeHeader(f);
    };
    EXPECT_FALSE(IsValidFrameHeader(with([](HeaderFields& f) { f.versionBits = 1; })));
    EXPECT_FALSE(IsValidFrameHeader(with([](HeaderFields& f) { f.layerBits = 0; })));
    EXPECT_FALSE(IsValidFrameHeader(with([](HeaderFields& f) { f.bitrateIndex = 0; })));
    EXPECT_FALSE(IsValidFrameHeader(with([](HeaderFields& f) { f.bitrateIndex = 15; })));
    EXPECT_FALSE(IsValidFrameHeader(with([](HeaderFields& f) { f.sampleRateIndex = 3; })));
    EXPECT_FALSE(IsValidFrameHeader(with([](HeaderFields& f) { f.emphasis = 2; })));
    EXPECT_FALSE(IsValidFrameHeader(MakeHeader(good) & ~(1u << 21))); // one sync bit missing
    EXPECT_FALSE(IsValidFrameHeader(0));
    // Emphasis 1 and 3 are allowed, as is a CRC.
    EXPECT_TRUE(IsValidFrameHeader(with([](HeaderFields& f) { f.emphasis = 3; })));
    EXPECT_TRUE(IsValidFrameHeader(with([](HeaderFields& f) { f.protectionBit = 0; })));
}

TEST(FrameHeader, ReservedFieldsDecodeToZero)
{
    const FrameHeaderInfo info = DecodeFrameHeader(0xFFE80000u); // version 01, layer 00
    EXPECT_EQ(info.version, 0);
    EXPECT_EQ(info.layer, 0);
    EXPECT_EQ(info.sampleRate, 0);
    EXPECT_EQ(info.frameLength, 0);
    HeaderFields f;
    f.bitrateIndex = 15;
    EXPECT_EQ(DecodeFrameHeader(MakeHeader(f)).bitrate, -1);
}

TEST(FrameHeader, StreamMatchingIgnoresBitrateAndPaddingButNotSampleRate)
{
    HeaderFields a;
    HeaderFields b = a;
    b.bitrateIndex = 14;
    b.padding = 1;
    b.channelMode = 3;
    EXPECT_TRUE(IsSameStream(MakeHeader(a), MakeHeader(b)));
    b.sampleRateIndex = 1;
    EXPECT_FALSE(IsSameStream(MakeHeader(a), MakeHeader(b)));
    b = a;
    b.layerBits = 2;
    EXPECT_FALSE(IsSameStream(MakeHeader(a), MakeHeader(b)));
}

TEST(FrameHeader, SideInfoAndSamplesPerFrame)
{
    FrameHeaderInfo info;
    info.version = 3;
    info.layer = 3;
    info.channelMode = kJointStereo;
    EXPECT_EQ(SideInfoSize(info), 32);
    EXPECT_EQ(SamplesPerFrame(info), 1152);
    info.channelMode = kSingleChannel;
    EXPECT_EQ(SideInfoSize(info), 17);
    info.version = 1;
    EXPECT_EQ(SideInfoSize(info), 9);
    EXPECT_EQ(SamplesPerFrame(info), 576);
    info.channelMode = kStereo;
    EXPECT_EQ(SideInfoSize(info), 17);
    info.layer = 1;
    EXPECT_EQ(SamplesPerFrame(info), 384);
}

TEST(FrameHeader, NamesOfVersionsAndChannelModes)
{
    EXPECT_EQ(CMP3Info::VersionName(0), "N/A");
    EXPECT_EQ(CMP3Info::VersionName(1), "MPEG 2.5");
    EXPECT_EQ(CMP3Info::VersionName(2), "MPEG 2.0");
    EXPECT_EQ(CMP3Info::VersionName(3), "MPEG 1.0");
    EXPECT_EQ(CMP3Info::VersionName(4), "");
    EXPECT_EQ(CMP3Info::ChannelModeName(0), "立体声");
    EXPECT_EQ(CMP3Info::ChannelModeName(1), "联合立体声");
    EXPECT_EQ(CMP3Info::ChannelModeName(2), "双声道");
    EXPECT_EQ(CMP3Info::ChannelModeName(3), "单声道");
    EXPECT_EQ(CMP3Info::ChannelModeName(-1), "");
}

} // namespace
} // namespace keldro
