// The split page with a playback stream of its source: the figures it takes
// from the stream, and the split run's cuts at the stream's file positions.
#include "base/settings.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "playback_files.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "splitter/split_page.h"
#include "string_table.h"
#include "temp_dir.h"
#include "tools.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

namespace fs = std::filesystem;

// A split page in a folder of its own, with or without playback.
struct PageUnderTest
{
    explicit PageUnderTest(const PlaybackService* playback) : page(ui, settings, view, playback)
    {
        settings.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
        settings.SetSettingInt(setting::kSplitterShowSuccess, 0);
        page.SetDestination(out.Path());
    }
    // Splits at the cut points; the audio frames of every output, in order.
    std::vector<long> SplitAt(const std::string& source, std::initializer_list<TimeMs> cuts)
    {
        EXPECT_TRUE(page.LoadSource(source));
        for (const TimeMs cut : cuts)
            page.List().AddCutPoint(cut);
        page.RunSplit();
        std::vector<long> frames;
        for (int i = 0; i < page.List().RowCount(); ++i)
            frames.push_back(AudioFrames(out.File(page.BuildOutputName(i, i) + ".mp3")));
        return frames;
    }
    static long AudioFrames(const std::string& path)
    {
        CMP3Info info;
        if (!info.Analyse(path) || !info.HasStream())
            return -1;
        return static_cast<long>(
            test::ListFrames(test::ReadFile(path), info.FirstFrameOffset(), info.AudioEnd())
                .size());
    }

    test::TempDir out;
    test::ScriptedInteraction ui;
    MemorySettings settings;
    test::ScriptedSplitView view;
    SplitPage page;
};

class SplitStreamTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        library_ = new PlaybackService;
        ASSERT_TRUE(
            library_->LoadPlaybackLibrary(test::PlaybackLibraryBytes(), DefaultTempFolder()));
    }
    static void TearDownTestSuite()
    {
        delete library_;
        library_ = nullptr;
    }
    // No sound output here: every stream is decode-only.
    void SetUp() override { setenv("SDL_AUDIODRIVER", "no-such-driver", 1); }
    void TearDown() override { library_->Api().BASS_Free(); }

    static PlaybackService* library_;
    test::TempDir out_;
};

PlaybackService* SplitStreamTest::library_ = nullptr;

TEST_F(SplitStreamTest, WithoutASoundDeviceTheSourceGetsADecodeOnlyStream)
{
    PageUnderTest with(library_);
    ASSERT_EQ(with.ui.messages.size(), 1u);
    EXPECT_EQ(with.ui.messages[0].text, LoadString(StringId::PlaybackDeviceFailed));
    EXPECT_FALSE(with.page.AudioAvailable());

    const std::string source = test::CorpusFile("vbr_v2");
    ASSERT_TRUE(with.page.LoadSource(source));
    ASSERT_NE(with.page.Stream(), 0u);
    EXPECT_FALSE(library_->Api().BASS_ChannelPlay(with.page.Stream(), 0));
    test::TempDir scratch;
    const long frames = test::Mpg123SampleFrames(source, scratch.Path(), true);
    EXPECT_EQ(with.page.DecodedLength(), static_cast<std::uint64_t>(frames) * 4);
    EXPECT_NEAR(with.page.Total(), frames * 1000.0 / 44100, 1.0);
    EXPECT_EQ(with.page.SampleRate(), 44100u);
    EXPECT_EQ(with.page.List().Row(0).end, with.page.Total());

    // The bitrate shown is the audio's bytes over the decoded duration.
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(source));
    const double seconds = with.page.Total() / 1000.0;
    const auto kbps =
        static_cast<int>((info.AudioEnd() - info.FirstFrameOffset()) / (seconds * 125) + 0.5);
    EXPECT_NE(with.page.InfoText().find(std::to_string(kbps) + "kbps VBR"), std::string::npos)
        << with.page.InfoText();

    with.page.UnloadSource();
    EXPECT_EQ(with.page.Stream(), 0u);
    EXPECT_EQ(with.page.DecodedLength(), 0u);
}

// The same cuts with and without a stream land within a frame of each other,
// in fast handling (a constant bitrate file) and frame handling (a VBR one).
TEST_F(SplitStreamTest, CutsAtStreamPositionsMatchCutsByTimeWithinAFrame)
{
    for (const char* name : {"cbr128", "vbr_v2"}) {
        const std::string source = test::CorpusFile(name);
        PageUnderTest plain(nullptr);
        PageUnderTest with(library_);
        const auto expected = plain.SplitAt(source, {700, 1900, 3100});
        const auto got = with.SplitAt(source, {700, 1900, 3100});
        ASSERT_EQ(got.size(), expected.size()) << name;
        long cumulativeExpected = 0;
        long cumulativeGot = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_GT(got[i], 0) << name << " row " << i;
            cumulativeExpected += expected[i];
            cumulativeGot += got[i];
            EXPECT_LE(std::abs(cumulativeGot - cumulativeExpected), 1) << name << " cut " << i;
        }
        EXPECT_EQ(cumulativeGot, cumulativeExpected) << name << ": the last row ends the audio";
    }
}

TEST_F(SplitStreamTest, ALibraryOfAnotherVersionLeavesThePageOnItsOwnAnalysis)
{
    PlaybackService refused;
    ASSERT_FALSE(refused.LoadPlaybackLibrary(test::WrongVersionLibraryBytes(), out_.Path()));
    const std::string source = test::CorpusFile("vbr_v2");
    PageUnderTest plain(nullptr);
    PageUnderTest with(&refused);
    EXPECT_TRUE(with.ui.messages.empty());
    EXPECT_EQ(with.SplitAt(source, {1000, 2500}), plain.SplitAt(source, {1000, 2500}));
    EXPECT_EQ(with.page.Stream(), 0u);
    EXPECT_EQ(with.page.Total(), plain.page.Total());
    EXPECT_TRUE(fs::is_empty(out_.Path()));
}

// Streams whose file positions cannot be used: they go backwards between two
// probe times, or the queries fail once the probe is over.
DWORD (*g_realFilePosition)(HSTREAM, DWORD) = nullptr;
int g_currentQueries = 0;

DWORD BackwardsFilePosition(HSTREAM stream, DWORD mode)
{
    if (mode != BASS_FILEPOS_CURRENT)
        return g_realFilePosition(stream, mode);
    return 1'000'000 - static_cast<DWORD>(++g_currentQueries);
}

DWORD FailingAfterTheProbe(HSTREAM stream, DWORD mode)
{
    if (mode == BASS_FILEPOS_CURRENT && ++g_currentQueries > 18)
        return BASS_FILEPOS_ERROR;
    return g_realFilePosition(stream, mode);
}

class UnusablePositionsTest : public SplitStreamTest
{
protected:
    // Splits vbr_v2 at 1.5 s and 3 s through a stream whose position query is
    // `query`; each output must be what cutting by times on the stream's
    // scale gives.
    void SplitAndCompareWithCutsByTime(DWORD (*query)(HSTREAM, DWORD))
    {
        BassEntryPoints api = library_->Api();
        g_realFilePosition = api.BASS_StreamGetFilePosition;
        api.BASS_StreamGetFilePosition = query;
        PlaybackService faulty;
        faulty.UseEntryPoints(api);
        PageUnderTest with(&faulty);
        g_currentQueries = 0;
        const std::string source = test::CorpusFile("vbr_v2");
        with.SplitAt(source, {1500, 3000});

        CMP3Info info;
        ASSERT_TRUE(info.Analyse(source));
        SilentInteraction silent;
        ASSERT_TRUE(info.LoadFrameTable(silent));
        const TimeMs bounds[] = {0, 1500, 3000, with.page.Total()};
        test::TempDir expected;
        for (int i = 0; i < 3; ++i) {
            const std::string name = with.page.BuildOutputName(i, i) + ".mp3";
            ASSERT_TRUE(WriteSegmentByTime(info, expected.File(name), bounds[i], bounds[i + 1],
                                           with.page.Total(), false, SegmentOptions{})
                            .ok);
            // The page adds the row's ID3v1 tag (its track number) after the audio.
            test::Bytes written = test::ReadFile(with.out.File(name));
            ASSERT_GT(written.size(), 128u);
            written.resize(written.size() - 128);
            EXPECT_TRUE(written == test::ReadFile(expected.File(name))) << "row " << i;
        }
        faulty.UnloadPlaybackLibrary();
    }
};

TEST_F(UnusablePositionsTest, PositionsGoingBackwardsFallBackToTimesOnTheStreamsScale)
{
    SplitAndCompareWithCutsByTime(&BackwardsFilePosition);
    EXPECT_EQ(g_currentQueries, 2) << "the probe stops at the first pair";
}

TEST_F(UnusablePositionsTest, AQueryFailingAfterTheProbeFallsBackToTimes)
{
    SplitAndCompareWithCutsByTime(&FailingAfterTheProbe);
    EXPECT_GT(g_currentQueries, 18) << "the rows asked the stream first";
}

} // namespace
} // namespace keldro
