// Frame handling on real lame output: a time maps to the end of the frame
// during which it falls, every frame lasting its samples at the sample rate,
// as an independent walk and mpg123 count them.
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"
#include "tools.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace keldro {
namespace {

constexpr std::size_t kStep = 2'097'152;

// Layer III: 1152 samples a frame for MPEG 1, 576 for MPEG 2 and 2.5.
std::uint64_t SamplesOf(int versionCode)
{
    return versionCode == 3 ? 1152 : 576;
}

class LameFrameTimes
{
public:
    LameFrameTimes(const std::string& path, int versionCode, int sampleRate)
        : samples_(SamplesOf(versionCode)), rate_(static_cast<std::uint64_t>(sampleRate))
    {
        EXPECT_TRUE(info_.Analyse(path));
        EXPECT_TRUE(info_.HasVbrHeader());
        test::ScriptedInteraction ui;
        EXPECT_TRUE(info_.LoadFrameTable(ui));
        source_ = test::ReadFile(path);
        frames_ = test::ListFrames(source_, info_.FirstFrameOffset(), info_.AudioEnd());
    }

    // The end of frame ceil(t x rate / samples), by integers; a checkpoint
    // within 10 ms of t answers for it.
    std::uint32_t ExpectedOffset(TimeMs t) const
    {
        for (std::size_t c = 0; c < frames_.size(); ++c) {
            const std::size_t k = CheckpointFrame(c);
            if (k == 0)
                break;
            if (std::fabs(TimeOfFrames(k) - t) < 10.0)
                return EndOf(k);
        }
        const std::uint64_t unit = samples_ * 1000;
        const std::uint64_t k = (std::uint64_t{t} * rate_ + unit - 1) / unit;
        return EndOf(std::clamp<std::size_t>(k, 1, frames_.size()));
    }

    // Frames up to the first one whose end lies beyond step c + 1; 0 for none.
    std::size_t CheckpointFrame(std::size_t c) const
    {
        for (std::size_t k = 0; k < frames_.size(); ++k) {
            if (frames_[k].start + frames_[k].length > (c + 1) * kStep)
                return k + 1;
        }
        return 0;
    }

    double TimeOfFrames(std::size_t k) const
    {
        return static_cast<double>(k * samples_) * 1000.0 / static_cast<double>(rate_);
    }
    std::uint32_t EndOf(std::size_t k) const
    {
        return static_cast<std::uint32_t>(frames_[k - 1].start + frames_[k - 1].length);
    }

    CMP3Info info_;
    std::uint64_t samples_;
    std::uint64_t rate_;
    test::Bytes source_;
    std::vector<test::ListedFrame> frames_;
};

const test::CorpusEntry& Entry(const std::string& name)
{
    for (const test::CorpusEntry& entry : test::CorpusEntries()) {
        if (entry.name == name)
            return entry;
    }
    throw std::invalid_argument(name);
}

class LameFrameTableTest : public ::testing::TestWithParam<std::string>
{};

TEST_P(LameFrameTableTest, OffsetsAreEndsOfTheFramesTheTimesFallIn)
{
    const test::CorpusEntry& entry = Entry(GetParam());
    const std::string path = test::CorpusFile(entry.name);
    const LameFrameTimes times(path, entry.versionCode, entry.sampleRate);
    ASSERT_FALSE(times.frames_.empty());
    test::TempDir dir;
    // mpg123 decodes every frame the independent walk lists, none more.
    EXPECT_EQ(test::Mpg123SampleFrames(path, dir.Path()),
              static_cast<long>(times.frames_.size() * times.samples_));
    const TimeMs duration = times.info_.DurationMs();
    for (TimeMs t = 1; t < duration; t += 97)
        EXPECT_EQ(times.info_.TimeToOffset(t, 0, false), times.ExpectedOffset(t)) << t;
    // Times at exact frame ends cut there, not one frame later.
    for (std::size_t k = 1; k < times.frames_.size(); ++k) {
        const double end = times.TimeOfFrames(k);
        if (end != std::floor(end) || end >= duration)
            continue;
        EXPECT_EQ(times.info_.TimeToOffset(static_cast<TimeMs>(end), 0, false), times.EndOf(k))
            << end;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, LameFrameTableTest,
                         ::testing::Values("vbr_v2", "vbr_crc", "vbr_v5_mono_tagged", "abr96",
                                           "mpeg2_16k_vbr", "mpeg25_12k_vbr_tagged"));

// A minute and a half of -V4: about 60 s in, the sum of length x 8 / bitrate
// per frame ran 11 frames short. With checkpoints every 2 MiB.
TEST(LameFrameTableLongTest, ExactOverAMinuteAndAcrossCheckpoints)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::PcmSpec pcm;
    pcm.seconds = 150;
    pcm.noiseLevel = 0.4;
    test::EncodeWithLame(path, pcm, {"-V", "2"});
    const LameFrameTimes times(path, 3, 44100);
    ASSERT_GE(times.info_.FrameTable().size(), 1u);
    for (std::size_t c = 0; c < times.info_.FrameTable().size(); ++c) {
        const std::size_t k = times.CheckpointFrame(c);
        EXPECT_EQ(
            times.info_.FrameTable()[c],
            (FramePosition{times.TimeOfFrames(k), static_cast<std::uint32_t>(k), times.EndOf(k)}));
    }
    const TimeMs duration = times.info_.DurationMs();
    for (int i = 0; i < 20; ++i) {
        const auto t = static_cast<TimeMs>(duration * (i + 0.37) / 20);
        EXPECT_EQ(times.info_.TimeToOffset(t, 0, false), times.ExpectedOffset(t)) << t;
    }
    EXPECT_EQ(times.info_.TimeToOffset(60'000, 0, false), times.ExpectedOffset(60'000));
    const FramePosition checkpoint = times.info_.FrameTable().front();
    const auto near = static_cast<TimeMs>(checkpoint.timeMs + 9);
    EXPECT_EQ(times.info_.TimeToOffset(near, 0, false), checkpoint.offset);
}

} // namespace
} // namespace keldro
