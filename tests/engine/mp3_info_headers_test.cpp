// What lies around the audio: ID3v2 in front, information header frames, the
// ID3v1 tag at the end, and the totals derived from them.
#include "engine/mp3_info.h"
#include "mp3_builder.h"
#include "temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

class Mp3HeadersTest : public ::testing::Test
{
protected:
    bool AnalyseBytes(const Bytes& bytes)
    {
        path_ = dir_.File("in.mp3");
        test::WriteFile(path_, bytes);
        return info_.Analyse(path_);
    }

    test::TempDir dir_;
    std::string path_;
    CMP3Info info_;
};

const HeaderFields kCbr128{};
constexpr std::uint32_t kXingLength = 417;

TEST_F(Mp3HeadersTest, Id3v2TagsOfVersionThreeAndFourAreSkippedBySize)
{
    for (int major : {3, 4}) {
        // The tag body holds a perfect little stream that must not be taken for audio.
        Bytes body = test::Frames(kCbr128, 4);
        Bytes bytes = test::Id3v2Tag(major, static_cast<std::uint32_t>(body.size()));
        std::copy(body.begin(), body.end(), bytes.begin() + 10);
        Append(bytes, test::Garbage(7));
        Append(bytes, test::Frames(kCbr128, 20));
        ASSERT_TRUE(AnalyseBytes(bytes));
        ASSERT_TRUE(info_.HasStream());
        EXPECT_EQ(info_.FirstFrameOffset(), 10 + body.size() + 7) << major;
    }
}

TEST_F(Mp3HeadersTest, Id3v2SizeReading)
{
    Bytes bytes = test::Id3v2Tag(3, 0x0FFFFFFF - 100);
    bytes.resize(40);
    FileReader reader = FileReader::FromMemory(bytes);
    EXPECT_EQ(CMP3Info::GetID3v2TagSize(reader), 0u); // larger than the file

    bytes = test::Id3v2Tag(4, 2 * 128 * 128 + 3 * 128 + 5);
    reader = FileReader::FromMemory(bytes);
    EXPECT_EQ(CMP3Info::GetID3v2TagSize(reader), 2u * 128 * 128 + 3 * 128 + 5 + 10);

    // High bits of the size bytes are taken as they stand.
    bytes = test::Id3v2Tag(3, 0);
    bytes[9] = 0x85;
    bytes.resize(0x85 + 10, 0);
    reader = FileReader::FromMemory(bytes);
    EXPECT_EQ(CMP3Info::GetID3v2TagSize(reader), 0x85u + 10);

    bytes = test::Id3v2Tag(2, 20);
    reader = FileReader::FromMemory(bytes);
    EXPECT_EQ(CMP3Info::GetID3v2TagSize(reader), 0u);
    bytes.resize(9);
    reader = FileReader::FromMemory(bytes);
    EXPECT_EQ(CMP3Info::GetID3v2TagSize(reader), 0u);
}

TEST_F(Mp3HeadersTest, OversizedOrOldId3v2TagsAreScannedThrough)
{
    Bytes bytes = test::Id3v2Tag(3, 100'000);
    bytes.resize(300);
    Append(bytes, test::Frames(kCbr128, 10));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), 300u);

    bytes = test::Id3v2Tag(2, 500);
    Append(bytes, test::Frames(kCbr128, 10));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), 510u);
}

TEST_F(Mp3HeadersTest, XingHeaderFrameComesBeforeTheFirstAudioFrame)
{
    Bytes bytes = test::Id3v2Tag(3, 90);
    Append(bytes, test::XingFrame(kCbr128, 200, 123456));
    Append(bytes, test::Frames(kCbr128, 150, true));
    const auto size = static_cast<double>(bytes.size());
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.VbrType(), VbrHeaderType::Xing);
    EXPECT_TRUE(info_.HasVbrHeader());
    EXPECT_EQ(info_.VbrFrameOffset(), 100u);
    EXPECT_EQ(info_.VbrTagOffset(), 100u + 36);
    EXPECT_EQ(info_.FirstFrameOffset(), 100u + kXingLength);
    EXPECT_EQ(info_.VbrFrames(), 200u);
    EXPECT_EQ(info_.GetTotalFrames(), 200u);
    const double average = (size - 100) / 200 * 44100 / 144000;
    EXPECT_DOUBLE_EQ(info_.AverageBitrate(), average);
    EXPECT_EQ(info_.DurationMs(),
              static_cast<std::uint32_t>((size - 100 - kXingLength) / average * 8));
}

TEST_F(Mp3HeadersTest, XingPositionFollowsVersionAndChannels)
{
    HeaderFields mono = kCbr128;
    mono.channelMode = 3;
    HeaderFields mpeg2 = kCbr128;
    mpeg2.versionBits = 2;
    mpeg2.bitrateIndex = 8;
    HeaderFields mpeg25Mono = mpeg2;
    mpeg25Mono.versionBits = 0;
    mpeg25Mono.channelMode = 3;
    const std::pair<HeaderFields, std::uint32_t> cases[] = {
        {kCbr128, 36}, {mono, 21}, {mpeg2, 21}, {mpeg25Mono, 13}};
    for (const auto& [fields, at] : cases) {
        Bytes bytes = test::XingFrame(fields, 30, 9999);
        Append(bytes, test::Frames(fields, 30));
        ASSERT_TRUE(AnalyseBytes(bytes));
        ASSERT_TRUE(info_.HasStream());
        EXPECT_EQ(info_.VbrType(), VbrHeaderType::Xing);
        EXPECT_EQ(info_.VbrTagOffset(), at);
        EXPECT_EQ(info_.FirstFrameOffset(),
                  static_cast<std::uint32_t>(test::FrameLengthOf(fields)));
    }
}

TEST_F(Mp3HeadersTest, VbriHeaderIsReadAtItsFixedPlace)
{
    HeaderFields mpeg2 = kCbr128;
    mpeg2.versionBits = 2;
    mpeg2.bitrateIndex = 8;
    Bytes bytes = test::VbriFrame(mpeg2, 77, 4321);
    Append(bytes, test::Frames(mpeg2, 77));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.VbrType(), VbrHeaderType::Vbri);
    EXPECT_EQ(info_.VbrTagOffset(), 36u);
    EXPECT_EQ(info_.VbrFrames(), 77u);
    EXPECT_EQ(info_.FirstFrameOffset(), 208u);
    EXPECT_DOUBLE_EQ(info_.AverageBitrate(), 78.0 * 208 / 77 * 22050 / 72000);
}

TEST_F(Mp3HeadersTest, InfoHeaderFrameIsSkippedButTheFileStaysConstantBitrate)
{
    Bytes bytes = test::XingFrame(kCbr128, 100, 100 * 417, "Info");
    Append(bytes, test::Frames(kCbr128, 100));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.VbrType(), VbrHeaderType::Info);
    EXPECT_FALSE(info_.HasVbrHeader());
    EXPECT_TRUE(info_.HasHeaderFrame());
    EXPECT_EQ(info_.VbrFrameOffset(), 0u);
    EXPECT_EQ(info_.VbrTagOffset(), 36u);
    EXPECT_EQ(info_.FirstFrameOffset(), 417u);
    EXPECT_EQ(info_.GetTotalFrames(), 100u);
    EXPECT_EQ(info_.EstimatedFrames(), 100u);
    EXPECT_EQ(info_.AverageBitrate(), 0.0);
    EXPECT_EQ(info_.DurationMs(), static_cast<std::uint32_t>(100 * 417 / 128.0 * 8));
}

TEST_F(Mp3HeadersTest, OtherTagsAtTheXingPlaceAreAudio)
{
    Bytes bytes = test::XingFrame(kCbr128, 100, 1, "Lame");
    Append(bytes, test::Frames(kCbr128, 10));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.VbrType(), VbrHeaderType::None);
    EXPECT_EQ(info_.FirstFrameOffset(), 0u);
    EXPECT_EQ(info_.GetTotalFrames(), 11u);
}

TEST_F(Mp3HeadersTest, HeaderAnnouncingZeroFramesIsIgnored)
{
    for (const char* tag : {"Xing", "Info"}) {
        Bytes bytes = test::XingFrame(kCbr128, 0, 0, tag);
        Append(bytes, test::Frames(kCbr128, 50));
        ASSERT_TRUE(AnalyseBytes(bytes));
        ASSERT_TRUE(info_.HasStream());
        EXPECT_EQ(info_.VbrType(), VbrHeaderType::None) << tag;
        EXPECT_EQ(info_.FirstFrameOffset(), 417u);
        EXPECT_EQ(info_.VbrFrameOffset(), 417u);
        EXPECT_EQ(info_.GetTotalFrames(), 50u);
        EXPECT_EQ(info_.AverageBitrate(), 0.0);
        EXPECT_EQ(info_.DurationMs(), static_cast<std::uint32_t>(50 * 417 / 128.0 * 8));
    }
}

TEST_F(Mp3HeadersTest, AfterAHeaderFrameOnlyVersionAndLayerMustMatch)
{
    HeaderFields other = kCbr128;
    other.sampleRateIndex = 1;
    Bytes bytes = test::XingFrame(kCbr128, 10, 100);
    Append(bytes, test::Garbage(5));
    Append(bytes, test::Frames(other, 10));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), 417u + 5);
    EXPECT_EQ(info_.Header().sampleRate, 48000);
}

TEST_F(Mp3HeadersTest, HeaderLikeBytesAfterTheInformationTagAreNotAudio)
{
    // The encoder's tag after "Xing" holds CRCs and lengths: here they read as
    // a header at 188, inside the header frame.
    Bytes bytes = test::XingFrame(kCbr128, 20, 20 * 417);
    const Bytes falseHeader{0xFF, 0xFB, 0x90, 0x64};
    std::copy(falseHeader.begin(), falseHeader.end(), bytes.begin() + 188);
    Append(bytes, test::Frames(kCbr128, 20));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.VbrFrameOffset(), 0u);
    EXPECT_EQ(info_.FirstFrameOffset(), kXingLength);
}

TEST_F(Mp3HeadersTest, LoneHeaderAfterTheHeaderFrameMustBeConfirmed)
{
    Bytes bytes = test::XingFrame(kCbr128, 20, 20 * 417);
    Bytes junk = test::Garbage(300);
    const Bytes lone{0xFF, 0xFB, 0x90, 0x64};
    std::copy(lone.begin(), lone.end(), junk.begin() + 40);
    Append(bytes, junk);
    Append(bytes, test::Frames(kCbr128, 20));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), kXingLength + 300);
}

TEST_F(Mp3HeadersTest, Id3v1TagIsReadAndLeavesTheAudio)
{
    Bytes bytes = test::Frames(kCbr128, 100);
    Append(bytes, test::Id3v1Tag("Title", "Artist", "Album", "1999", "Note", 5, 17));
    ASSERT_TRUE(AnalyseBytes(bytes));
    EXPECT_TRUE(info_.HasID3v1());
    EXPECT_EQ(info_.Status(), CMP3Info::kStatusStream | CMP3Info::kStatusId3v1);
    EXPECT_EQ(info_.Tag().title, "Title");
    EXPECT_EQ(info_.Tag().track, 5u);
    EXPECT_EQ(info_.Tag().genre, 17u);
    EXPECT_EQ(info_.EstimatedFrames(), 100u);
    EXPECT_EQ(info_.AudioEnd(), 100u * 417);
    EXPECT_EQ(info_.DurationMs(), static_cast<std::uint32_t>(100 * 417 / 128.0 * 8));
}

TEST_F(Mp3HeadersTest, Id3v1IsReadEvenWithoutAStream)
{
    Bytes bytes = test::Garbage(500);
    Append(bytes, test::Id3v1Tag("Only a tag", "", "", "", "", 0, 1));
    ASSERT_TRUE(AnalyseBytes(bytes));
    EXPECT_FALSE(info_.HasStream());
    EXPECT_TRUE(info_.HasID3v1());
    EXPECT_EQ(info_.Tag().title, "Only a tag");
}

TEST_F(Mp3HeadersTest, HeaderInsideTheId3v1TagIsNoStream)
{
    // Garbage, then a tag whose title and artist hold two headers of one stream,
    // one frame apart: they pass the neighbour check, but they are no audio.
    Bytes bytes = test::Garbage(600);
    test::Bytes tag = test::Id3v1Tag("t", "", "", "", "", 0, 255);
    HeaderFields tiny;
    tiny.layerBits = 3; // Layer I, 32 kbit/s: 32-byte frames
    tiny.bitrateIndex = 1;
    const std::uint32_t word = test::MakeHeader(tiny);
    for (std::size_t at : {3u, 3u + 32u})
        for (int k = 0; k < 4; ++k)
            tag[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(word >> (24 - 8 * k));
    Append(bytes, tag);
    ASSERT_TRUE(AnalyseBytes(bytes));
    EXPECT_TRUE(info_.HasID3v1());
    EXPECT_FALSE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), 0u);
    EXPECT_EQ(info_.DurationMs(), 0u);
}

// Offsets are 32-bit: a file of 4 GiB or more is refused rather than misread.
TEST_F(Mp3HeadersTest, FilesOfFourGibibytesAreRefused)
{
    const auto sparseFile = [&](std::uint64_t size) {
        path_ = dir_.File("huge.mp3");
        Bytes head = test::Frames(kCbr128, 10);
        test::WriteFile(path_, head);
        std::filesystem::resize_file(path_, size);
        return path_;
    };
    EXPECT_FALSE(info_.Analyse(sparseFile(0x100000000ull)));
    EXPECT_EQ(info_.LastError(), AnalyseError::TooLarge);
    EXPECT_EQ(info_.FileSize(), 0u);
    EXPECT_FALSE(info_.Analyse(sparseFile(0x100000000ull + 417)));
    EXPECT_EQ(info_.LastError(), AnalyseError::TooLarge);

    ASSERT_TRUE(info_.Analyse(sparseFile(0xFFFFFFFFull)));
    EXPECT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FileSize(), 0xFFFFFFFFu);
    EXPECT_EQ(info_.DurationMs(), static_cast<std::uint32_t>(0xFFFFFFFFu / 128.0 * 8));
}

} // namespace
} // namespace keldro
