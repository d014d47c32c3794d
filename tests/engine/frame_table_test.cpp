// The frame walk, the checkpoint table and the mapping of times to offsets, on
// synthesised variable-bitrate streams whose every frame is known.
#include "engine/mp3_info.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

// A stream with an ID3v2 tag, a Xing frame and audio frames of 128 and 192 kbit/s.
struct Stream
{
    Bytes bytes;
    std::size_t firstAudio = 0;
    std::vector<std::size_t> ends; // end of each audio frame
    std::vector<double> times;     // duration up to the end of each frame
};

HeaderFields FrameNumber(int i)
{
    HeaderFields f;
    f.bitrateIndex = (i % 3 == 2) ? 11 : 9;
    f.padding = i % 2;
    return f;
}

Stream MakeStream(int frames, bool headerLikeTails = false)
{
    Stream s;
    // An ID3v2 tag holding a sync word must not count as audio.
    s.bytes = test::Id3v2Tag(3, 600);
    Bytes fake = test::Frames(HeaderFields{}, 1);
    std::copy(fake.begin(), fake.begin() + 4, s.bytes.begin() + 100);
    Append(s.bytes, test::XingFrame(HeaderFields{}, static_cast<std::uint32_t>(frames), 0));
    s.firstAudio = s.bytes.size();
    double time = 0;
    for (int i = 0; i < frames; ++i) {
        const HeaderFields f = FrameNumber(i);
        Bytes frame = test::Frame(f, static_cast<std::uint8_t>(0x20 + i % 50));
        if (headerLikeTails) {
            // The last three bytes read like the start of a header: audio data
            // that a search starting 3 bytes early would take for a frame.
            frame[frame.size() - 3] = 0xFF;
            frame[frame.size() - 2] = 0xFB;
            frame[frame.size() - 1] = 0x90;
        }
        Append(s.bytes, frame);
        // Whatever its bitrate, a frame lasts 1152 samples at 44100 Hz.
        time = (i + 1) * 1152 * 1000.0 / 44100;
        s.ends.push_back(s.bytes.size());
        s.times.push_back(time);
    }
    return s;
}

// The end of the frame during which time t falls, found independently.
std::size_t ExpectedEnd(const Stream& s, double t)
{
    for (std::size_t k = 0; k < s.times.size(); ++k) {
        if (t <= s.times[k])
            return s.ends[k];
    }
    return s.ends.back();
}

class FrameTableTest : public ::testing::Test
{
protected:
    void Load(const Stream& s)
    {
        path_ = dir_.File("vbr.mp3");
        test::WriteFile(path_, s.bytes);
        ASSERT_TRUE(info_.Analyse(path_));
        ASSERT_TRUE(info_.HasVbrHeader());
        ASSERT_EQ(info_.FirstFrameOffset(), s.firstAudio);
    }

    test::TempDir dir_;
    std::string path_;
    CMP3Info info_;
    test::ScriptedInteraction ui_;
};

TEST_F(FrameTableTest, CheckpointsCountOnlyAudioFramesFromTheFirstOne)
{
    const Stream s = MakeStream(15'000); // about 7.5 MB: three checkpoints
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    ASSERT_TRUE(info_.IsFrameTableLoaded());
    const auto& table = info_.FrameTable();
    ASSERT_EQ(table.size(), s.bytes.size() / 2'097'152);
    for (std::size_t c = 0; c < table.size(); ++c) {
        // The first frame whose end lies beyond each multiple of the step.
        const auto k = static_cast<std::size_t>(
            std::upper_bound(s.ends.begin(), s.ends.end(), (c + 1) * 2'097'152) - s.ends.begin());
        EXPECT_EQ(table[c].offset, s.ends[k]) << c;
        EXPECT_EQ(table[c].frames, k + 1) << c;
        EXPECT_DOUBLE_EQ(table[c].timeMs, s.times[k]) << c;
    }
}

TEST_F(FrameTableTest, HeaderLikeBytesAtFrameEndsDoNotDesynchroniseTheWalk)
{
    const Stream s = MakeStream(6'000, true);
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    ASSERT_EQ(info_.FrameTable().size(), 1u);
    const auto k = static_cast<std::size_t>(
        std::upper_bound(s.ends.begin(), s.ends.end(), 2'097'152) - s.ends.begin());
    EXPECT_EQ(info_.FrameTable()[0].frames, k + 1);
    for (double t : {1.0, 26.0, 27.0, 5000.0, s.times[k] + 50, s.times.back() - 1}) {
        const FramePosition p = info_.LocateTime(static_cast<TimeMs>(t), nullptr);
        EXPECT_EQ(p.offset, ExpectedEnd(s, static_cast<TimeMs>(t))) << t;
    }
}

TEST_F(FrameTableTest, LocateTimeFindsTheEndOfTheFrameDuringWhichTimeFalls)
{
    const Stream s = MakeStream(12'000);
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    FileReader reader = FileReader::Open(path_);
    for (TimeMs t = 1; t < s.times.back(); t += 7'919) {
        // Away from checkpoints, whose 10 ms shortcut is tested on its own.
        bool nearCheckpoint = false;
        for (const auto& c : info_.FrameTable())
            nearCheckpoint |= std::abs(c.timeMs - t) < 10.0;
        if (nearCheckpoint)
            continue;
        EXPECT_EQ(info_.LocateTime(t, &reader).offset, ExpectedEnd(s, t)) << t;
        EXPECT_EQ(info_.LocateTime(t, nullptr).offset, ExpectedEnd(s, t)) << t;
    }
    const FramePosition zero = info_.LocateTime(0, nullptr);
    EXPECT_EQ(zero, (FramePosition{0.0, 0, static_cast<std::uint32_t>(s.firstAudio)}));
}

TEST_F(FrameTableTest, TimeAtAFrameEndCutsThere)
{
    // Frames of 1152 samples at 44100 Hz: 49 of them end at exactly 1280 ms,
    // which a running sum of 26.12... ms durations misses by a rounding error.
    Stream s;
    s.bytes = test::XingFrame(HeaderFields{}, 100, 0);
    s.firstAudio = s.bytes.size();
    Append(s.bytes, test::Frames(HeaderFields{}, 100, true));
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    const auto ends = test::ListFrames(s.bytes, s.firstAudio, s.bytes.size());
    const auto end = [&](std::size_t frames) {
        return static_cast<std::uint32_t>(ends[frames - 1].start + ends[frames - 1].length);
    };
    EXPECT_EQ(info_.LocateTime(1280, nullptr), (FramePosition{1280.0, 49, end(49)}));
    EXPECT_EQ(info_.LocateTime(1279, nullptr).offset, end(49));
    EXPECT_EQ(info_.LocateTime(1281, nullptr).offset, end(50));
    EXPECT_EQ(info_.LocateTime(1, nullptr).offset, end(1));
    // One frame is 26.122 ms, whatever its length in bytes.
    EXPECT_EQ(info_.LocateTime(26, nullptr).offset, end(1));
    EXPECT_EQ(info_.LocateTime(27, nullptr).offset, end(2));
}

TEST_F(FrameTableTest, LayersAndVersionsHaveTheirOwnSamplesPerFrame)
{
    // MPEG 2 Layer III: 576 samples at 22050 Hz, 26.122 ms a frame.
    HeaderFields mpeg2;
    mpeg2.versionBits = 2;
    mpeg2.bitrateIndex = 8; // 64 kbit/s
    Stream s;
    s.bytes = test::XingFrame(mpeg2, 200, 0);
    s.firstAudio = s.bytes.size();
    Append(s.bytes, test::Frames(mpeg2, 200));
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    const auto length = static_cast<std::uint32_t>(test::FrameLengthOf(mpeg2));
    const auto first = static_cast<std::uint32_t>(s.firstAudio);
    EXPECT_EQ(info_.LocateTime(1280, nullptr), (FramePosition{1280.0, 49, first + 49 * length}));
    EXPECT_EQ(info_.LocateTime(1281, nullptr).offset, first + 50 * length);
}

TEST_F(FrameTableTest, CheckpointWithinTenMillisecondsAnswersAtOnce)
{
    const Stream s = MakeStream(6'000);
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    const FramePosition checkpoint = info_.FrameTable().at(0);
    const auto t = static_cast<TimeMs>(checkpoint.timeMs + 9.0);
    // The checkpoint comes back unchanged, although t falls in a later frame.
    EXPECT_EQ(info_.LocateTime(t, nullptr), checkpoint);
    EXPECT_NE(ExpectedEnd(s, t), checkpoint.offset);
    const auto further = static_cast<TimeMs>(checkpoint.timeMs + 11.0);
    EXPECT_EQ(info_.LocateTime(further, nullptr).offset, ExpectedEnd(s, further));
}

TEST_F(FrameTableTest, SmallFileHasNoCheckpointsAndWalksFromTheStart)
{
    const Stream s = MakeStream(2'000); // under 1 MB
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    EXPECT_TRUE(info_.IsFrameTableLoaded());
    EXPECT_TRUE(info_.FrameTable().empty());
    EXPECT_EQ(info_.LocateTime(30'000, nullptr).offset, ExpectedEnd(s, 30'000));
    EXPECT_EQ(ui_.progress, std::vector<int>{100});
}

TEST_F(FrameTableTest, TruncatedLastFrameJustUnderOneStepRecordsNoCheckpoint)
{
    Stream s = MakeStream(5'020);
    s.bytes.resize(2'097'152 - 100);
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    EXPECT_TRUE(info_.FrameTable().empty());
    // The walk never goes past the end of the data.
    EXPECT_EQ(info_.LocateTime(0xFFFFFFF0u, nullptr).offset, s.bytes.size());
}

TEST_F(FrameTableTest, ProgressRisesToOneHundredInsideOneDialog)
{
    const Stream s = MakeStream(15'000);
    Load(s);
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    EXPECT_EQ(ui_.progressBegun, 1);
    EXPECT_EQ(ui_.progressEnded, 1);
    EXPECT_EQ(ui_.progress, (std::vector<int>{33, 66, 100, 100}));
    EXPECT_EQ(ui_.polls, 15'000); // once per frame
    EXPECT_GE(ui_.pumps, ui_.polls);
    // Loading again does nothing.
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    EXPECT_EQ(ui_.progressBegun, 1);
}

TEST_F(FrameTableTest, CancelAskedThenDeclinedGoesOn)
{
    Load(MakeStream(3'000));
    ui_.cancelAtPolls = {500};
    ui_.answers = {MessageAnswer::Cancel};
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    EXPECT_TRUE(info_.IsFrameTableLoaded());
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "你确定要取消载入帧吗?");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(ui_.polls, 3'000);
}

TEST_F(FrameTableTest, CancelConfirmedLeavesNoTable)
{
    const Stream s = MakeStream(15'000);
    Load(s);
    ui_.cancelAtPolls = {12'000};
    ui_.answers = {MessageAnswer::Ok};
    EXPECT_FALSE(info_.LoadFrameTable(ui_));
    EXPECT_FALSE(info_.IsFrameTableLoaded());
    EXPECT_TRUE(info_.FrameTable().empty());
    EXPECT_EQ(ui_.progressEnded, 1);
    // Frame mode falls back to the estimate.
    const auto estimate = static_cast<std::uint32_t>(info_.AverageBitrate() * 0.125 * 60'000 +
                                                     info_.FirstFrameOffset());
    EXPECT_EQ(info_.TimeToOffset(60'000, 0, false), estimate);
}

TEST_F(FrameTableTest, ConstantBitrateFilesNeedNoTable)
{
    path_ = dir_.File("cbr.mp3");
    test::WriteFile(path_, test::Frames(HeaderFields{}, 3000));
    ASSERT_TRUE(info_.Analyse(path_));
    EXPECT_TRUE(info_.LoadFrameTable(ui_));
    EXPECT_FALSE(info_.IsFrameTableLoaded());
    EXPECT_EQ(ui_.progressBegun, 0);
    FileReader reader = FileReader::Open(path_);
    EXPECT_FALSE(info_.BuildFrameTable(reader, ui_));
    for (TimeMs t : {0u, 1u, 1'000u, 33'333u, 70'000u})
        EXPECT_EQ(info_.TimeToOffset(t, 0, false), info_.TimeToOffset(t, 0, true)) << t;
}

TEST_F(FrameTableTest, CountFramesBetweenBoundariesUsesTheTable)
{
    const Stream s = MakeStream(12'000);
    Load(s);
    FileReader reader = FileReader::Open(path_);
    const auto first = static_cast<std::uint32_t>(s.firstAudio);
    EXPECT_FALSE(info_.CountFrames(reader, first, first + 417)) << "no table yet";
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    const auto end = [&](std::size_t k) { return static_cast<std::uint32_t>(s.ends[k]); };
    EXPECT_EQ(info_.CountFrames(reader, first, end(0)), 1u);
    EXPECT_EQ(info_.CountFrames(reader, end(99), end(11'000)), 10'901u);
    EXPECT_EQ(info_.CountFrames(reader, first, end(11'999)), 12'000u);
    EXPECT_EQ(info_.CountFrames(reader, end(5), end(5)), 0u);
    // An offset inside a frame is no boundary: nothing to say.
    EXPECT_FALSE(info_.CountFrames(reader, first, end(7'000) - 3));
    EXPECT_FALSE(info_.CountFrames(reader, end(10) + 1, end(7'000)));
}

TEST_F(FrameTableTest, TableIsDroppedByTheNextAnalysis)
{
    Load(MakeStream(6'000));
    ASSERT_TRUE(info_.LoadFrameTable(ui_));
    ASSERT_FALSE(info_.FrameTable().empty());
    ASSERT_TRUE(info_.Analyse(path_));
    EXPECT_FALSE(info_.IsFrameTableLoaded());
    EXPECT_TRUE(info_.FrameTable().empty());
}

} // namespace
} // namespace keldro
