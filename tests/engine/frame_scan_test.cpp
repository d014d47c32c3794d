// The forward scan and the snapping of offsets to frame boundaries.
#include "engine/mp3_info.h"
#include "mp3_builder.h"

#include <chrono>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

class FrameScanTest : public ::testing::Test
{
protected:
    void Analyse(const Bytes& bytes)
    {
        bytes_ = bytes;
        reader_ = FileReader::FromMemory(bytes_);
        ASSERT_TRUE(info_.AnalyseReader(reader_, "memory.mp3"));
        ASSERT_TRUE(info_.HasStream());
    }

    Bytes bytes_;
    FileReader reader_;
    CMP3Info info_;
};

void PutWord(Bytes& bytes, std::size_t at, std::uint32_t word)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(word >> (24 - 8 * k));
}

TEST_F(FrameScanTest, FindNextFrameSkipsThenScansForTheSameStream)
{
    HeaderFields other;
    other.sampleRateIndex = 1;
    Bytes bytes = test::Frames(HeaderFields{}, 3);
    Append(bytes, test::Garbage(10));
    Append(bytes, test::Frames(other, 1)); // another stream's header is passed over
    Append(bytes, test::Frames(HeaderFields{}, 3));
    Analyse(bytes);

    reader_.Seek(0);
    FrameHit hit = info_.FindNextFrame(reader_, 0);
    ASSERT_TRUE(hit.found);
    EXPECT_EQ(hit.offset, 0u);
    EXPECT_EQ(reader_.Tell(), 1u);
    hit = info_.FindNextFrame(reader_, 416); // from the end of the first frame
    EXPECT_EQ(hit.offset, 417u);
    reader_.Seek(3 * 417);
    hit = info_.FindNextFrame(reader_, 0);
    const std::size_t otherFrame = 3 * 417 + 10;
    EXPECT_EQ(hit.offset, otherFrame + static_cast<std::size_t>(test::FrameLengthOf(other)));
    reader_.Seek(bytes.size() - 100);
    EXPECT_FALSE(info_.FindNextFrame(reader_, 0).found);
}

TEST_F(FrameScanTest, SnapMovesToTheNextFrameStartWithinFiveFrames)
{
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    const std::size_t gapAt = bytes.size();
    Append(bytes, test::Garbage(5 * 417 + 10));
    const std::size_t afterGap = bytes.size();
    Append(bytes, test::Frames(HeaderFields{}, 10));
    Analyse(bytes);
    EXPECT_EQ(info_.SnapToFrame(reader_, 417), 417u);
    EXPECT_EQ(info_.SnapToFrame(reader_, 418), 834u);
    EXPECT_EQ(info_.SnapToFrame(reader_, 833), 834u);
    // Five frame lengths or more away: the offset stays.
    EXPECT_EQ(info_.SnapToFrame(reader_, gapAt), gapAt);
    EXPECT_EQ(info_.SnapToFrame(reader_, afterGap - 5 * 417), afterGap - 5 * 417);
    EXPECT_EQ(info_.SnapToFrame(reader_, afterGap - 5 * 417 + 1), afterGap);
}

TEST_F(FrameScanTest, HeaderLikeBytesInsideAFrameAreNotAFrameStart)
{
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    // A same-stream header inside the audio of frame 4, with no frame where it would end.
    PutWord(bytes, 4 * 417 + 100, test::MakeHeader(HeaderFields{}));
    Analyse(bytes);
    EXPECT_EQ(info_.SnapToFrame(reader_, 4 * 417 + 50), 5u * 417);
}

TEST_F(FrameScanTest, EndOfTheAudioIsABoundary)
{
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    Append(bytes, test::Id3v1Tag("title", "", "", "", "", 1, 2));
    Analyse(bytes);
    const std::uint32_t audioEnd = 10 * 417;
    ASSERT_EQ(info_.AudioEnd(), audioEnd);
    EXPECT_EQ(info_.SnapToFrame(reader_, 9 * 417 + 1), audioEnd);
    EXPECT_EQ(info_.SnapToFrame(reader_, audioEnd - 1), audioEnd);
    EXPECT_EQ(info_.SnapToFrame(reader_, audioEnd), audioEnd);
    // Inside the tag: the tag is never audio.
    EXPECT_EQ(info_.SnapToFrame(reader_, audioEnd + 50), audioEnd);
    EXPECT_EQ(info_.SnapToFrame(reader_, static_cast<std::uint32_t>(bytes.size())), audioEnd);
}

TEST_F(FrameScanTest, TruncatedLastFrameIsNeverAStart)
{
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    bytes.resize(bytes.size() - 200);
    Analyse(bytes);
    const auto end = static_cast<std::uint32_t>(bytes.size());
    EXPECT_EQ(info_.SnapToFrame(reader_, 9 * 417 - 10), end);
    EXPECT_EQ(info_.SnapToFrame(reader_, 8 * 417), 8u * 417);
}

TEST_F(FrameScanTest, LastWholeFrameBeforeOtherBytesIsAStart)
{
    // An APE tag and zero padding follow the audio: the last frame chains to
    // nothing, yet it is the frame start to cut at.
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    const std::string ape = "APETAGEX";
    bytes.insert(bytes.end(), ape.begin(), ape.end());
    Append(bytes, test::Garbage(200));
    bytes.resize(bytes.size() + 5000, 0);
    Analyse(bytes);
    EXPECT_EQ(info_.SnapToFrame(reader_, 8 * 417 + 10), 9u * 417);
    EXPECT_EQ(info_.SnapToFrame(reader_, 9 * 417), 9u * 417);
    // A confirmed start wins over an earlier unconfirmed one.
    EXPECT_EQ(info_.SnapToFrame(reader_, 7 * 417 + 10), 8u * 417);
}

TEST_F(FrameScanTest, HeaderTagBetweenJoinedFilesLeavesTheLastFrameAStart)
{
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    Append(bytes, test::Id3v2Tag(3, 3000));
    Append(bytes, test::Frames(HeaderFields{}, 10));
    Analyse(bytes);
    EXPECT_EQ(info_.SnapToFrame(reader_, 8 * 417 + 200), 9u * 417);
}

TEST_F(FrameScanTest, FrameThatWouldEndBeyondTheAudioIsNoFallback)
{
    Bytes bytes = test::Frames(HeaderFields{}, 10);
    const std::string ape = "APETAGEX";
    bytes.insert(bytes.end(), ape.begin(), ape.end());
    bytes.resize(bytes.size() + 5000, 0);
    // A header 100 bytes before the end, inside the padding: its frame cannot fit.
    PutWord(bytes, bytes.size() - 100, test::MakeHeader(HeaderFields{}));
    Analyse(bytes);
    const auto start = static_cast<std::uint32_t>(bytes.size() - 300);
    EXPECT_EQ(info_.SnapToFrame(reader_, start), static_cast<std::uint32_t>(bytes.size()));
}

TEST_F(FrameScanTest, SnappingLooksNoFurtherThanFiveFrames)
{
    // 30 MB of one header word repeated: every word is a header, no frame
    // chains to the next (417 bytes is no multiple of 4), and the first frame
    // is confirmed by a half-frame neighbour. Each snap must stay local.
    Bytes bytes(30'000'000);
    for (std::size_t at = 0; at < bytes.size(); at += 4)
        PutWord(bytes, at, 0xFFFB9044);
    Analyse(bytes);
    const auto started = std::chrono::steady_clock::now();
    for (std::uint32_t k = 1; k < 100; ++k) {
        const std::uint32_t offset = k * 299'999;
        EXPECT_EQ(info_.SnapToFrame(reader_, offset), (offset + 3) / 4 * 4) << offset;
    }
    // No frame fits in the last 100 bytes: the end of the audio is the boundary.
    EXPECT_EQ(info_.SnapToFrame(reader_, 29'999'900), 30'000'000u);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(FrameScanTest, OffsetsBeforeTheAudioMoveToTheFirstAudioFrame)
{
    Bytes bytes = test::Id3v2Tag(3, 50);
    Append(bytes, test::XingFrame(HeaderFields{}, 10, 0));
    Append(bytes, test::Frames(HeaderFields{}, 10));
    Analyse(bytes);
    const std::uint32_t first = 60 + 417;
    ASSERT_EQ(info_.FirstFrameOffset(), first);
    EXPECT_EQ(info_.SnapToFrame(reader_, 0), first);
    EXPECT_EQ(info_.SnapToFrame(reader_, 60), first);
}

} // namespace
} // namespace keldro
