// Analysis of synthesised streams, where every offset is known exactly.
#include "engine/mp3_info.h"
#include "mp3_builder.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

class Mp3InfoTest : public ::testing::Test
{
protected:
    // Writes the bytes to a file of the given name and analyses it.
    bool AnalyseBytes(const Bytes& bytes, const std::string& name = "in.mp3")
    {
        path_ = dir_.File(name);
        test::WriteFile(path_, bytes);
        return info_.Analyse(path_);
    }

    test::TempDir dir_;
    std::string path_;
    CMP3Info info_;
};

HeaderFields Cbr128()
{
    return HeaderFields{};
}

TEST_F(Mp3InfoTest, WorkedExampleOfAFourMegabyteFile)
{
    Bytes bytes = test::Frames(Cbr128(), 9593);
    Append(bytes, test::Garbage(4'000'417 - bytes.size()));
    ASSERT_EQ(bytes.size(), 4'000'417u);
    ASSERT_TRUE(AnalyseBytes(bytes));
    EXPECT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.Status(), CMP3Info::kStatusStream);
    EXPECT_EQ(info_.FirstFrameOffset(), 0u);
    EXPECT_EQ(info_.VbrFrameOffset(), 0u);
    EXPECT_EQ(info_.EstimatedFrames(), 9593u);
    EXPECT_EQ(info_.GetTotalFrames(), 9593u);
    EXPECT_EQ(info_.DurationMs(), 250'026u);
    EXPECT_EQ(info_.Header().frameLength, 417);
    EXPECT_EQ(info_.HeaderWord(), test::MakeHeader(Cbr128()));
    EXPECT_EQ(info_.VbrType(), VbrHeaderType::None);
    EXPECT_EQ(info_.AverageBitrate(), 0.0);
    EXPECT_EQ(info_.Path(), path_);
}

TEST_F(Mp3InfoTest, PathEndingDecidesBeforeTheFileIsOpened)
{
    const Bytes frames = test::Frames(Cbr128(), 10);
    EXPECT_TRUE(AnalyseBytes(frames, "UPPER.MP3"));
    EXPECT_TRUE(info_.HasStream());
    EXPECT_FALSE(AnalyseBytes(frames, "song.mp3.bak"));
    EXPECT_EQ(info_.LastError(), AnalyseError::WrongEnding);
    EXPECT_FALSE(AnalyseBytes(frames, "song.wav"));
    EXPECT_FALSE(info_.Analyse("mp3"));
    EXPECT_EQ(info_.LastError(), AnalyseError::WrongEnding);
}

TEST_F(Mp3InfoTest, FilesThatCannotBeOpenedLeaveTheAnalyserReset)
{
    ASSERT_TRUE(AnalyseBytes(test::Frames(Cbr128(), 10)));
    EXPECT_FALSE(info_.Analyse(dir_.File("missing.mp3")));
    EXPECT_EQ(info_.LastError(), AnalyseError::CannotOpen);
    EXPECT_EQ(info_.Status(), 0u);
    EXPECT_EQ(info_.FileSize(), 0u);
    EXPECT_EQ(info_.Path(), "");
    std::filesystem::create_directory(dir_.File("folder.mp3"));
    EXPECT_FALSE(info_.Analyse(dir_.File("folder.mp3")));
    EXPECT_EQ(info_.LastError(), AnalyseError::CannotOpen);
}

TEST_F(Mp3InfoTest, FilesWithoutAStreamAreExaminedButHaveNoStream)
{
    for (const Bytes& bytes : {Bytes{}, test::Garbage(50'000), Bytes(3, 0xFF)}) {
        ASSERT_TRUE(AnalyseBytes(bytes));
        EXPECT_FALSE(info_.HasStream());
        EXPECT_EQ(info_.FileSize(), bytes.size());
        EXPECT_EQ(info_.DurationMs(), 0u);
        EXPECT_EQ(info_.GetTotalFrames(), 0u);
    }
}

TEST_F(Mp3InfoTest, RandomBytesNeverGiveAnUnconfirmedStream)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 20; ++round) {
        Bytes bytes(65536);
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>(random());
        ASSERT_TRUE(AnalyseBytes(bytes));
        if (!info_.HasStream())
            continue;
        // Whatever was accepted is a real header with a same-stream neighbour or
        // a header frame in front of it.
        const std::uint32_t at = info_.FirstFrameOffset();
        EXPECT_TRUE(IsValidFrameHeader(info_.HeaderWord()));
        EXPECT_EQ(bytes[at], 0xFF);
        EXPECT_LT(at + 4, bytes.size());
    }
}

TEST_F(Mp3InfoTest, InvalidHeadersAreNeverCandidates)
{
    for (auto change : {+[](HeaderFields& f) { f.bitrateIndex = 0; },
                        +[](HeaderFields& f) { f.bitrateIndex = 15; },
                        +[](HeaderFields& f) { f.sampleRateIndex = 3; },
                        +[](HeaderFields& f) { f.emphasis = 2; }}) {
        HeaderFields f = Cbr128();
        const int length = test::FrameLengthOf(f);
        change(f);
        Bytes bytes;
        for (int i = 0; i < 20; ++i) {
            Bytes frame(static_cast<std::size_t>(length), 0x11);
            const std::uint32_t word = test::MakeHeader(f);
            for (int k = 0; k < 4; ++k)
                frame[static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(word >> (24 - 8 * k));
            Append(bytes, frame);
        }
        ASSERT_TRUE(AnalyseBytes(bytes));
        EXPECT_FALSE(info_.HasStream());
    }
}

// A lone header in garbage is trusted only with a neighbour at L-1, L, L+1,
// L/2-1, L/2 or L/2+1 bytes after it.
TEST_F(Mp3InfoTest, LoneHeaderNeedsANeighbourAtAnExpectedDistance)
{
    const Bytes frame = test::Frame(Cbr128());
    const std::size_t length = frame.size(); // 417
    const auto fileWithNeighbourAt = [&](std::size_t distance) {
        Bytes bytes = test::Garbage(1000, 7);
        Bytes lone(frame.begin(), frame.begin() + 4);
        Append(lone, test::Garbage(distance - 4, 9));
        Append(bytes, lone);
        Append(bytes, test::Frames(Cbr128(), 1));
        Append(bytes, test::Garbage(2000, 8));
        return bytes;
    };
    for (std::size_t d :
         {length - 1, length, length + 1, length / 2 - 1, length / 2, length / 2 + 1}) {
        ASSERT_TRUE(AnalyseBytes(fileWithNeighbourAt(d)));
        ASSERT_TRUE(info_.HasStream()) << d;
        EXPECT_EQ(info_.FirstFrameOffset(), 1000u) << d;
    }
    for (std::size_t d : {length + 2, length - 2, length / 2 + 2, length / 2 - 2}) {
        ASSERT_TRUE(AnalyseBytes(fileWithNeighbourAt(d)));
        // The lone word is rejected; the neighbour has no neighbour of its own.
        EXPECT_FALSE(info_.HasStream()) << d;
    }
}

TEST_F(Mp3InfoTest, NeighbourFromAnotherStreamDoesNotConfirm)
{
    HeaderFields other = Cbr128();
    other.sampleRateIndex = 1; // 48 kHz
    Bytes bytes = test::Garbage(100);
    Append(bytes, test::Frame(Cbr128()));
    Append(bytes, test::Frames(other, 1));
    Append(bytes, test::Garbage(3000));
    ASSERT_TRUE(AnalyseBytes(bytes));
    EXPECT_FALSE(info_.HasStream());
}

TEST_F(Mp3InfoTest, TruncatedStreamEndsTheSearch)
{
    const Bytes frame = test::Frame(Cbr128());
    ASSERT_TRUE(AnalyseBytes(Bytes(frame.begin(), frame.begin() + 300)));
    EXPECT_FALSE(info_.HasStream());
    // A whole frame followed by a cut-off one is still a stream.
    Bytes two = test::Frames(Cbr128(), 1);
    Append(two, Bytes(frame.begin(), frame.begin() + 10));
    ASSERT_TRUE(AnalyseBytes(two));
    EXPECT_TRUE(info_.HasStream());
}

// The budget counts every 4-byte read of the scan, across rejected candidates.
TEST_F(Mp3InfoTest, ProbeBudgetOfSmallFiles)
{
    const auto withGarbage = [](std::size_t garbage) {
        Bytes bytes = test::Garbage(garbage);
        // One rejected candidate inside the garbage must not reset the count.
        const std::uint32_t word = test::MakeHeader(Cbr128());
        for (int k = 0; k < 4; ++k)
            bytes[5000 + static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(word >> (24 - 8 * k));
        Append(bytes, test::Frames(Cbr128(), 5));
        return bytes;
    };
    ASSERT_TRUE(AnalyseBytes(withGarbage(99'999)));
    EXPECT_TRUE(info_.HasStream()); // the frame is the 100,000th read
    EXPECT_EQ(info_.FirstFrameOffset(), 99'999u);
    ASSERT_TRUE(AnalyseBytes(withGarbage(100'000)));
    EXPECT_FALSE(info_.HasStream());
}

TEST_F(Mp3InfoTest, ProbeBudgetGrowsWithLargeFiles)
{
    EXPECT_EQ(CMP3Info::ProbeBudget(0), 100'000u);
    EXPECT_EQ(CMP3Info::ProbeBudget(999'999), 100'000u);
    EXPECT_EQ(CMP3Info::ProbeBudget(1'000'000), 250'000u);
    EXPECT_EQ(CMP3Info::ProbeBudget(4'000'000), 1'000'000u);

    Bytes bytes = test::Garbage(200'000);
    Append(bytes, test::Frames(Cbr128(), 2500)); // about 1.24 MB in all
    ASSERT_TRUE(AnalyseBytes(bytes));
    EXPECT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), 200'000u);
}

TEST_F(Mp3InfoTest, LayerOneAndTwoStreamsAreFound)
{
    HeaderFields layer1;
    layer1.layerBits = 3;
    layer1.bitrateIndex = 1; // 32 kbit/s: frames of 32 and 36 bytes
    Bytes bytes = test::Garbage(33);
    Append(bytes, test::Frames(layer1, 100, true));
    ASSERT_TRUE(AnalyseBytes(bytes));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.FirstFrameOffset(), 33u);
    EXPECT_EQ(info_.Header().layer, 1);
    EXPECT_EQ(info_.Header().frameLength, 32);
    EXPECT_EQ(info_.EstimatedFrames(), (bytes.size() - 33) / 32);

    HeaderFields layer2;
    layer2.layerBits = 2;
    layer2.versionBits = 2;   // MPEG 2
    layer2.bitrateIndex = 10; // 96 kbit/s
    layer2.channelMode = 3;
    ASSERT_TRUE(AnalyseBytes(test::Frames(layer2, 50)));
    ASSERT_TRUE(info_.HasStream());
    EXPECT_EQ(info_.Header().layer, 2);
    EXPECT_EQ(info_.Header().frameLength, 144 * 1000 * 96 / 22050);
    EXPECT_EQ(info_.DurationMs(), static_cast<std::uint32_t>(50.0 * 626 / 96 * 8));
}

TEST_F(Mp3InfoTest, MemoryReaderGivesTheSameAnalysisAsTheFile)
{
    Bytes bytes = test::Id3v2Tag(3, 300);
    Append(bytes, test::XingFrame(Cbr128(), 40, 20000));
    Append(bytes, test::Frames(Cbr128(), 40, true));
    Append(bytes, test::Id3v1Tag("t", "a", "b", "2000", "c", 3, 4));
    ASSERT_TRUE(AnalyseBytes(bytes));
    CMP3Info fromMemory;
    FileReader reader = FileReader::FromMemory(bytes);
    ASSERT_TRUE(fromMemory.AnalyseReader(reader, path_));
    EXPECT_EQ(fromMemory.FirstFrameOffset(), info_.FirstFrameOffset());
    EXPECT_EQ(fromMemory.DurationMs(), info_.DurationMs());
    EXPECT_EQ(fromMemory.Tag(), info_.Tag());
    EXPECT_EQ(fromMemory.AverageBitrate(), info_.AverageBitrate());
}

} // namespace
} // namespace keldro
