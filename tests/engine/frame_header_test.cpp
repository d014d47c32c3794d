// Frame headers against fixed values: real header words with the numbers the
// standard's tables give for them, worked out by hand, and the frames of real
// lame output against the settings each file was made with.
#include "engine/frame_header.h"
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"

#include <gtest/gtest.h>
#include <string>

namespace keldro {
namespace {

constexpr std::int32_t Mode(ChannelMode mode)
{
    return static_cast<std::int32_t>(mode);
}

using test::HeaderFields;
using test::MakeHeader;

std::uint32_t WordAt(const test::Bytes& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

struct KnownHeader
{
    std::uint32_t word;
    std::int32_t version; // 3 MPEG 1, 2 MPEG 2, 1 MPEG 2.5
    std::int32_t layer;
    std::int32_t bitrate; // kbit/s
    std::int32_t sampleRate;
    std::int32_t channelMode;
    std::int32_t frameLength;
    int samples;
};

// Lengths: Layer I  (12000 * kbit/s / Hz + padding) * 4;
//          Layer II, and Layer III of MPEG 1: 144000 * kbit/s / Hz + padding;
//          Layer III of MPEG 2 and 2.5: 72000 * kbit/s / Hz + padding.
constexpr KnownHeader kKnownHeaders[]{
    // MPEG 1 Layer III
    {0xFFFB9064, 3, 3, 128, 44100, Mode(ChannelMode::JointStereo), 417, 1152}, // 417.96
    {0xFFFB9264, 3, 3, 128, 44100, Mode(ChannelMode::JointStereo), 418, 1152}, // padded
    {0xFFFA9064, 3, 3, 128, 44100, Mode(ChannelMode::JointStereo), 417, 1152}, // with CRC
    {0xFFFBE4C4, 3, 3, 320, 48000, Mode(ChannelMode::SingleChannel), 960, 1152},
    {0xFFFBE6C4, 3, 3, 320, 48000, Mode(ChannelMode::SingleChannel), 961, 1152},
    {0xFFFB1844, 3, 3, 32, 32000, Mode(ChannelMode::JointStereo), 144, 1152},
    // MPEG 2 Layer III
    {0xFFF380C4, 2, 3, 64, 22050, Mode(ChannelMode::SingleChannel), 208, 576}, // 208.98
    {0xFFF382C4, 2, 3, 64, 22050, Mode(ChannelMode::SingleChannel), 209, 576},
    {0xFFF3E464, 2, 3, 160, 24000, Mode(ChannelMode::JointStereo), 480, 576},
    {0xFFF318C4, 2, 3, 8, 16000, Mode(ChannelMode::SingleChannel), 36, 576},
    // MPEG 2.5 Layer III
    {0xFFE34064, 1, 3, 32, 11025, Mode(ChannelMode::JointStereo), 208, 576}, // 208.98
    {0xFFE328C4, 1, 3, 16, 8000, Mode(ChannelMode::SingleChannel), 144, 576},
    {0xFFE32AC4, 1, 3, 16, 8000, Mode(ChannelMode::SingleChannel), 145, 576},
    {0xFFE38444, 1, 3, 64, 12000, Mode(ChannelMode::JointStereo), 384, 576},
    // Layer I: four-byte slots
    {0xFFFF1000, 3, 1, 32, 44100, Mode(ChannelMode::Stereo), 32, 384}, // 8.71 slots
    {0xFFFF1200, 3, 1, 32, 44100, Mode(ChannelMode::Stereo), 36, 384},
    {0xFFFFE400, 3, 1, 448, 48000, Mode(ChannelMode::Stereo), 448, 384},
    {0xFFFFE600, 3, 1, 448, 48000, Mode(ChannelMode::Stereo), 452, 384},
    {0xFFFFC8C0, 3, 1, 384, 32000, Mode(ChannelMode::SingleChannel), 576, 384},
    {0xFFF7E000, 2, 1, 256, 22050, Mode(ChannelMode::Stereo), 556, 384}, // 139.32 slots
    {0xFFE718C0, 1, 1, 32, 8000, Mode(ChannelMode::SingleChannel), 192, 384},
    // Layer II
    {0xFFFDA004, 3, 2, 192, 44100, Mode(ChannelMode::Stereo), 626, 1152}, // 626.94
    {0xFFFDA204, 3, 2, 192, 44100, Mode(ChannelMode::Stereo), 627, 1152},
    {0xFFFDE404, 3, 2, 384, 48000, Mode(ChannelMode::Stereo), 1152, 1152},
    {0xFFFD1804, 3, 2, 32, 32000, Mode(ChannelMode::Stereo), 144, 1152},
    {0xFFF5E4C4, 2, 2, 160, 24000, Mode(ChannelMode::SingleChannel), 960, 1152},
    {0xFFE51000, 1, 2, 8, 11025, Mode(ChannelMode::Stereo), 104, 1152}, // 104.49
};

TEST(FrameHeader, KnownHeaderWordsDecodeToTheirStandardValues)
{
    for (const KnownHeader& known : kKnownHeaders) {
        SCOPED_TRACE(testing::Message() << std::hex << known.word);
        ASSERT_TRUE(IsValidFrameHeader(known.word));
        const FrameHeaderInfo info = DecodeFrameHeader(known.word);
        EXPECT_EQ(info.version, known.version);
        EXPECT_EQ(info.layer, known.layer);
        EXPECT_EQ(info.bitrate, known.bitrate);
        EXPECT_EQ(info.sampleRate, known.sampleRate);
        EXPECT_EQ(info.channelMode, known.channelMode);
        EXPECT_EQ(info.frameLength, known.frameLength);
        EXPECT_EQ(FrameLengthOfHeader(known.word), known.frameLength);
        EXPECT_EQ(SamplesPerFrame(info), known.samples);
    }
}

// Every valid header's frame holds its bitrate's worth of the frame's duration,
// less the fraction of a slot the length is rounded down by; padding adds one
// slot (four bytes in Layer I, one otherwise).
TEST(FrameHeader, EveryValidFrameCarriesItsBitrateForItsDuration)
{
    int checked = 0;
    for (std::uint32_t bits = 0; bits < 4096; ++bits) {
        const std::uint32_t word = 0xFFE00000u | bits << 9;
        if (!IsValidFrameHeader(word))
            continue;
        const FrameHeaderInfo info = DecodeFrameHeader(word);
        const int slot = info.layer == 1 ? 4 : 1;
        const double bytes = info.bitrate * 1000.0 / 8 * SamplesPerFrame(info) / info.sampleRate;
        const int padding = (word >> 9) & 1 ? slot : 0;
        EXPECT_GE(info.frameLength - padding, bytes - slot) << std::hex << word;
        EXPECT_LE(info.frameLength - padding, bytes) << std::hex << word;
        EXPECT_EQ(info.frameLength % slot, 0) << std::hex << word;
        ++checked;
    }
    // Three versions, three layers, CRC or not, 14 bitrates, three sample
    // rates, padding or not.
    EXPECT_EQ(checked, 3 * 3 * 2 * 14 * 3 * 2);
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
    info.channelMode = Mode(ChannelMode::JointStereo);
    EXPECT_EQ(SideInfoSize(info), 32);
    EXPECT_EQ(SamplesPerFrame(info), 1152);
    info.channelMode = Mode(ChannelMode::SingleChannel);
    EXPECT_EQ(SideInfoSize(info), 17);
    info.version = 1;
    EXPECT_EQ(SideInfoSize(info), 9);
    EXPECT_EQ(SamplesPerFrame(info), 576);
    info.channelMode = Mode(ChannelMode::Stereo);
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

// The bitrate a constant-bitrate corpus file was made with ("-b N"); 0 for
// files of variable bitrate.
int ConstantBitrateOf(const test::CorpusEntry& entry)
{
    if (entry.vbrHeader == "xing")
        return 0;
    for (std::size_t i = 0; i + 1 < entry.lameArgs.size(); ++i) {
        if (entry.lameArgs[i] == "-b")
            return std::stoi(entry.lameArgs[i + 1]);
    }
    return 0;
}

class LameHeaderTest : public ::testing::TestWithParam<test::CorpusEntry>
{};

TEST_P(LameHeaderTest, FirstAudioFrameIsWhatTheFileWasMadeWith)
{
    const test::CorpusEntry& entry = GetParam();
    const std::string path = test::CorpusFile(entry.name);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    ASSERT_TRUE(info.HasStream());
    const test::Bytes bytes = test::ReadFile(path);
    const std::size_t first = info.FirstFrameOffset();
    ASSERT_LE(first + 4, bytes.size());
    const std::uint32_t word = WordAt(bytes, first);
    ASSERT_TRUE(IsValidFrameHeader(word)) << std::hex << word;
    const FrameHeaderInfo header = DecodeFrameHeader(word);
    EXPECT_EQ(header.version, entry.versionCode);
    EXPECT_EQ(header.layer, 3);
    EXPECT_EQ(header.sampleRate, entry.sampleRate);
    EXPECT_EQ(header.channelMode == Mode(ChannelMode::SingleChannel), entry.mono);
    if (const int bitrate = ConstantBitrateOf(entry); bitrate != 0) {
        EXPECT_EQ(header.bitrate, bitrate);
    }
}

// Stepping by the decoded lengths lands on every following header and ends
// exactly where the audio ends; constant-bitrate files keep their bitrate.
TEST_P(LameHeaderTest, DecodedLengthsStepFromFrameToFrame)
{
    const test::CorpusEntry& entry = GetParam();
    const std::string path = test::CorpusFile(entry.name);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const test::Bytes bytes = test::ReadFile(path);
    const int bitrate = ConstantBitrateOf(entry);
    std::size_t at = info.FirstFrameOffset();
    int frames = 0;
    while (at < info.AudioEnd()) {
        ASSERT_LE(at + 4, bytes.size());
        const std::uint32_t word = WordAt(bytes, at);
        ASSERT_TRUE(IsValidFrameHeader(word)) << "frame " << frames << " at " << at;
        ASSERT_TRUE(IsSameStream(word, info.HeaderWord())) << "frame " << frames;
        const FrameHeaderInfo header = DecodeFrameHeader(word);
        if (bitrate != 0) {
            EXPECT_EQ(header.bitrate, bitrate) << "frame " << frames;
        }
        at += static_cast<std::size_t>(header.frameLength);
        ++frames;
    }
    EXPECT_EQ(at, info.AudioEnd());
    EXPECT_GT(frames, 10);
}

INSTANTIATE_TEST_SUITE_P(Corpus, LameHeaderTest, ::testing::ValuesIn(test::CorpusEntries()),
                         [](const auto& entry) { return entry.param.name; });

} // namespace
} // namespace keldro
