// Analysis of real lame output, checked against an independent frame walk,
// mpg123's decoding and mp3val's frame count.
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "tools.h"

#include <cmath>
#include <gtest/gtest.h>

namespace keldro {
namespace {

class LameCorpusTest : public ::testing::TestWithParam<test::CorpusEntry>
{};

TEST_P(LameCorpusTest, StreamParametersAreThoseTheFileWasMadeWith)
{
    const test::CorpusEntry& entry = GetParam();
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(test::CorpusFile(entry.name)));
    ASSERT_TRUE(info.HasStream());
    EXPECT_EQ(info.Header().version, entry.versionCode);
    EXPECT_EQ(info.Header().layer, 3);
    EXPECT_EQ(info.Header().sampleRate, entry.sampleRate);
    EXPECT_EQ(IsSingleChannel(info.Header()), entry.mono);
    EXPECT_EQ(VbrHeaderTypeName(info.VbrType()), entry.vbrHeader);
    EXPECT_EQ(info.HasID3v1(), entry.id3v1);
}

TEST_P(LameCorpusTest, FrameCountAgreesWithAWalkAndWithMp3val)
{
    const test::CorpusEntry& entry = GetParam();
    const std::string path = test::CorpusFile(entry.name);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const test::Bytes bytes = test::ReadFile(path);
    const test::Walk walk = test::WalkFrames(bytes, info.FirstFrameOffset(), info.AudioEnd());
    EXPECT_EQ(walk.end, info.AudioEnd()) << "the walk must reach the end of the audio";
    const test::Mp3valReport mp3val = test::RunMp3val(path);
    EXPECT_TRUE(mp3val.warnings.empty()) << mp3val.warnings.front();
    const long headerFrames = info.HasHeaderFrame() ? 1 : 0;
    EXPECT_EQ(mp3val.frames, walk.frames + headerFrames);
    if (info.HasHeaderFrame()) {
        EXPECT_EQ(info.GetTotalFrames(), walk.frames);
    } else {
        // Without a header the count is estimated from the first frame's length;
        // padded frames are a byte longer, so it may run up to 0.3 % high.
        EXPECT_GE(info.GetTotalFrames(), walk.frames);
        EXPECT_LE(info.GetTotalFrames(), walk.frames * 1.003 + 1);
    }
}

TEST_P(LameCorpusTest, DurationAgreesWithMpg123)
{
    const test::CorpusEntry& entry = GetParam();
    const std::string path = test::CorpusFile(entry.name);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const long samples = test::Mpg123SampleFrames(path, test::CorpusDir());
    ASSERT_GT(samples, 0);
    const long perFrame = SamplesPerFrame(info.Header());
    EXPECT_EQ(samples % perFrame, 0);
    const long decodedFrames = samples / perFrame;
    if (info.HasHeaderFrame()) {
        EXPECT_EQ(decodedFrames, static_cast<long>(info.GetTotalFrames()));
    }
    const double decodedMs = 1000.0 * static_cast<double>(samples) / info.Header().sampleRate;
    // The analysis estimates from byte counts. Constant bitrate: within one frame.
    // Variable bitrate: the average counts the header frame and the ID3v1 tag as
    // audio, which shortens a short file noticeably; beyond that, within 1 %.
    const double frameMs = 1000.0 * perFrame / info.Header().sampleRate;
    double tolerance = frameMs;
    if (info.HasVbrHeader()) {
        const double overheadBytes =
            (info.FirstFrameOffset() - info.VbrFrameOffset()) + (info.HasID3v1() ? 128.0 : 0.0);
        tolerance = decodedMs * 0.01 + overheadBytes * 8 / info.AverageBitrate();
    }
    EXPECT_NEAR(info.DurationMs(), decodedMs, tolerance);
}

class TaggedLameCorpusTest : public LameCorpusTest
{};

TEST_P(TaggedLameCorpusTest, TagsWrittenByLameAreRead)
{
    const test::CorpusEntry& entry = GetParam();
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(test::CorpusFile(entry.name)));
    EXPECT_EQ(info.Tag().title, "Corpus Title");
    EXPECT_EQ(info.Tag().artist, "Corpus Artist");
    EXPECT_EQ(info.Tag().album, "Corpus Album");
    EXPECT_EQ(info.Tag().year, "2024");
    EXPECT_EQ(info.Tag().comment, "made by lame");
    EXPECT_EQ(info.Tag().track, 7u);
    EXPECT_EQ(info.Tag().genre, 17u);
    // lame puts an ID3v2.3 tag in front as well; the audio starts after it.
    EXPECT_GT(info.VbrFrameOffset(), 0u);
}

std::vector<test::CorpusEntry> TaggedEntries()
{
    std::vector<test::CorpusEntry> tagged;
    for (const auto& entry : test::CorpusEntries()) {
        if (entry.id3v1)
            tagged.push_back(entry);
    }
    return tagged;
}

const auto kEntryName = [](const auto& entry) { return entry.param.name; };
INSTANTIATE_TEST_SUITE_P(Corpus, LameCorpusTest, ::testing::ValuesIn(test::CorpusEntries()),
                         kEntryName);
INSTANTIATE_TEST_SUITE_P(Corpus, TaggedLameCorpusTest, ::testing::ValuesIn(TaggedEntries()),
                         kEntryName);

} // namespace
} // namespace keldro
