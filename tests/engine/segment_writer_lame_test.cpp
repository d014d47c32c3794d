// Cutting real lame output: segments that other programs decode and validate,
// and that join back into the source.
#include "engine/segment_writer.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"
#include "tools.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

class LameSegmentTest : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        path_ = test::CorpusFile(GetParam());
        ASSERT_TRUE(info_.Analyse(path_));
        ASSERT_TRUE(info_.LoadFrameTable(ui_));
        source_ = test::ReadFile(path_);
        frames_ = test::ListFrames(source_, info_.FirstFrameOffset(), info_.AudioEnd());
        ASSERT_FALSE(frames_.empty());
    }

    std::string path_;
    CMP3Info info_;
    test::ScriptedInteraction ui_;
    test::Bytes source_;
    std::vector<test::ListedFrame> frames_;
    test::TempDir dir_;
};

TEST_P(LameSegmentTest, ConsecutiveSegmentsDecodeValidateAndJoinBack)
{
    const bool fast = !info_.HasVbrHeader();
    const TimeMs duration = info_.DurationMs();
    const TimeMs cuts[] = {0,       duration / 5, duration / 3, duration / 2 + 7, duration - 333,
                           duration};
    test::Bytes joined;
    SegmentOptions options;
    options.tag = BuildID3v1Tag("Segment", "Keldro", "", "", "", 1, 12);
    for (std::size_t i = 0; i + 1 < std::size(cuts); ++i) {
        const std::string out = dir_.File("part" + std::to_string(i) + ".mp3");
        const SegmentResult result =
            WriteSegmentByTime(info_, out, cuts[i], cuts[i + 1], 0, fast, options);
        ASSERT_TRUE(result.ok) << i;
        const test::Bytes written = test::ReadFile(out);
        const std::size_t headerBytes =
            info_.HasHeaderFrame() ? info_.FirstFrameOffset() - info_.VbrFrameOffset() : 0;
        ASSERT_EQ(written.size(), headerBytes + (result.endOffset - result.startOffset) + 128);
        joined.insert(joined.end(), written.begin() + static_cast<long>(headerBytes),
                      written.end() - 128);

        const test::Walk walk = test::WalkFrames(written, headerBytes, written.size() - 128);
        EXPECT_EQ(walk.end, written.size() - 128) << "no partial frame at the end of " << i;
        EXPECT_EQ(result.frames, walk.frames);
        const long samples = test::Mpg123SampleFrames(out, dir_.Path());
        EXPECT_EQ(samples, walk.frames * SamplesPerFrame(info_.Header())) << i;
        const test::Mp3valReport report = test::RunMp3val(out);
        EXPECT_TRUE(report.warnings.empty()) << i << ": " << report.warnings.front();
        EXPECT_EQ(report.frames, walk.frames + (headerBytes > 0 ? 1 : 0)) << i;
    }
    const test::Bytes audio(source_.begin() + info_.FirstFrameOffset(),
                            source_.begin() + info_.AudioEnd());
    EXPECT_TRUE(joined == audio) << "the segments' audio must be exactly the source's";
}

INSTANTIATE_TEST_SUITE_P(Corpus, LameSegmentTest,
                         ::testing::Values("vbr_v2", "vbr_crc", "vbr_v5_mono_tagged", "abr96",
                                           "mpeg2_16k_vbr", "mpeg25_12k_vbr_tagged", "cbr128",
                                           "cbr128_tagged", "cbr128_bare", "mpeg2_24k_mono",
                                           "mpeg25_11k"));

} // namespace
} // namespace keldro
