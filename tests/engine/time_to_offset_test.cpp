// Times to byte offsets: the ends, the reference rescaling and the estimate.
#include "engine/mp3_info.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

class TimeToOffsetTest : public ::testing::Test
{
protected:
    void Analyse(const Bytes& bytes)
    {
        const std::string path = dir_.File("in.mp3");
        test::WriteFile(path, bytes);
        ASSERT_TRUE(info_.Analyse(path));
        ASSERT_TRUE(info_.HasStream());
    }

    test::TempDir dir_;
    CMP3Info info_;
};

// 128 kbit/s for exactly 199,000 ms: 3,184,000 bytes of audio.
Bytes ConstantBitrate199Seconds()
{
    Bytes bytes = test::Frames(HeaderFields{}, 7635);
    Append(bytes, test::Garbage(3'184'000 - bytes.size()));
    return bytes;
}

TEST_F(TimeToOffsetTest, EndsOfTheSource)
{
    Bytes bytes = ConstantBitrate199Seconds();
    Append(bytes, test::Id3v1Tag("t", "", "", "", "", 0, 255));
    Analyse(bytes);
    ASSERT_EQ(info_.DurationMs(), 199'000u);
    const std::uint32_t audioEnd = 3'184'000;
    EXPECT_EQ(info_.TimeToOffset(0, 0, true), 0u);
    EXPECT_EQ(info_.TimeToOffset(0, 5'000, true), 0u);
    // At the analysed duration, not only beyond it, a time is the end of the audio.
    EXPECT_EQ(info_.TimeToOffset(199'000, 0, true), audioEnd);
    EXPECT_EQ(info_.TimeToOffset(250'000, 0, true), audioEnd);
    EXPECT_EQ(info_.TimeToOffset(198'999, 0, true), 3'183'984u);
    EXPECT_EQ(info_.TimeToOffset(150'000, 150'000, true), audioEnd);
    EXPECT_EQ(info_.TimeToOffset(150'001, 150'000, false), audioEnd);
}

TEST_F(TimeToOffsetTest, ReferenceDurationRescalesTheTime)
{
    Analyse(ConstantBitrate199Seconds());
    // 100,000 ms of a 200,000 ms reference is 99,500 ms of the analysed 199,000.
    EXPECT_EQ(info_.TimeToOffset(100'000, 200'000, true), 1'592'000u);
    EXPECT_EQ(info_.TimeToOffset(100'000, 0, true), 1'600'000u);
    EXPECT_EQ(info_.TimeToOffset(100'000, 199'000, true), 1'600'000u);
}

TEST_F(TimeToOffsetTest, FastEstimateUsesTheAverageBitrateOfVariableFiles)
{
    Bytes bytes = test::Id3v2Tag(4, 90);
    Append(bytes, test::XingFrame(HeaderFields{}, 9000, 0));
    HeaderFields loud;
    loud.bitrateIndex = 13; // 256 kbit/s
    for (int i = 0; i < 100; ++i)
        Append(bytes, test::Frames(i % 2 ? loud : HeaderFields{}, 40));
    Analyse(bytes);
    const double expected = info_.AverageBitrate() * 0.125 * 12'345 + 100 + 417;
    EXPECT_EQ(info_.TimeToOffset(12'345, 0, true), static_cast<std::uint32_t>(expected));
    // Without a table frame handling falls back to the same estimate.
    EXPECT_EQ(info_.TimeToOffset(12'345, 0, false), static_cast<std::uint32_t>(expected));
    test::ScriptedInteraction ui;
    ASSERT_TRUE(info_.LoadFrameTable(ui));
    // With the table, frame handling finds the exact frame end instead.
    const std::uint32_t exact = info_.TimeToOffset(12'345, 0, false);
    EXPECT_NE(exact, static_cast<std::uint32_t>(expected));
    EXPECT_EQ(exact, info_.LocateTime(12'345, nullptr).offset);
}

TEST_F(TimeToOffsetTest, FrameHandlingRescalesToTheDurationOfItsFrames)
{
    // The header claims 3000 frames; the file holds 4000 (it was cut, say).
    Bytes bytes = test::XingFrame(HeaderFields{}, 3000, 0);
    HeaderFields loud;
    loud.bitrateIndex = 13;
    for (int i = 0; i < 100; ++i)
        Append(bytes, test::Frames(i % 3 ? loud : HeaderFields{}, 40));
    Analyse(bytes);
    test::ScriptedInteraction ui;
    ASSERT_TRUE(info_.LoadFrameTable(ui));
    // 4000 frames of 1152 samples at 44100 Hz: 104,489.8 ms, whatever the
    // analysis estimated from the header.
    const double frames = 4000 * 1152 * 1000.0 / 44100;
    ASSERT_LT(info_.DurationMs(), 80'000u);
    // Half of a reference twice as long is a quarter of the frames' duration.
    const auto reference = static_cast<TimeMs>(2 * frames);
    const TimeMs quarter = reference / 2;
    EXPECT_EQ(info_.TimeToOffset(quarter, reference, false),
              info_.LocateTime(static_cast<TimeMs>(frames / reference * quarter), nullptr).offset);
    // A reference equal to the frames' duration changes nothing.
    EXPECT_EQ(info_.TimeToOffset(50'000, static_cast<TimeMs>(std::llround(frames)), false),
              info_.LocateTime(50'000, nullptr).offset);
}

} // namespace
} // namespace keldro
