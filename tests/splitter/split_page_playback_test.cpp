// The split page and its position controls over the real playback library on
// SDL's dummy output: the controls learn the source, the list and the
// selection; a run, unloading and a reopened stream stop what plays; the
// fast-forward level outlives the stream; the library going away during the
// two seconds around the position ends their wait.
#include "base/settings.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "lame_corpus.h"
#include "playback_files.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "splitter/split_page.h"
#include "temp_dir.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace keldro {
namespace {

class CountingClock final : public WaitClock
{
public:
    void Wait(int /*milliseconds*/) override
    {
        ++waits;
        if (onWait)
            onWait();
    }
    int waits = 0;
    std::function<void()> onWait;
};

class SplitPagePlaybackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        settings_.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
        settings_.SetSettingInt(setting::kSplitterShowSuccess, 0);
    }
    void TearDown() override
    {
        page_.reset();
        if (playback_.IsAudioAvailable())
            playback_.Api().BASS_Free();
    }
    // A page with the library loaded (or without it), its source loaded.
    SplitPage& Page(bool withLibrary = true)
    {
        if (withLibrary) {
            EXPECT_TRUE(
                playback_.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), DefaultTempFolder()));
        }
        page_ = std::make_unique<SplitPage>(ui_, settings_, view_, &playback_, &clock_);
        page_->SetDestination(out_.Path());
        EXPECT_TRUE(page_->LoadSource(test::CorpusFile("vbr_v2"))); // 5 s, 44.1 kHz
        return *page_;
    }
    DWORD Frequency() const
    {
        DWORD frequency = 0;
        playback_.Api().BASS_ChannelGetAttributes(page_->Stream(), &frequency, nullptr, nullptr);
        return frequency;
    }
    DWORD Activity() const { return playback_.Api().BASS_ChannelIsActive(page_->Stream()); }

    test::TempDir out_;
    test::ScriptedInteraction ui_;
    MemorySettings settings_;
    test::ScriptedSplitView view_;
    PlaybackService playback_;
    CountingClock clock_;
    std::unique_ptr<SplitPage> page_;
};

TEST_F(SplitPagePlaybackTest, TheControlsLearnTheSourceTheListAndTheSelection)
{
    SplitPage& page = Page();
    PositionController& position = page.Position();
    const PositionContext& context = position.Context();
    EXPECT_TRUE(context.loaded);
    EXPECT_EQ(context.total, page.Total());
    EXPECT_TRUE(context.hasDecodedLength);
    EXPECT_EQ(context.sampleRate, 44'100u);
    EXPECT_TRUE(context.trackSelected);
    EXPECT_EQ(context.rawRange, (std::pair<TimeMs, TimeMs>{0, page.Total()}));
    EXPECT_TRUE(position.IsEnabled(PositionControl::Play));

    position.TrackSliderMoved(1'000);
    ASSERT_TRUE(page.AddCutPointCommand(2'000));
    EXPECT_EQ(position.SelectedRange(), (std::pair<TimeMs, TimeMs>{2'000, page.Total()}));
    EXPECT_EQ(position.TrackSlider(), 0) << "a new selection starts at its beginning";
    page.SelectTrack(0);
    EXPECT_EQ(context.rawRange, (std::pair<TimeMs, TimeMs>{0, 2'000}));
    page.SetEndCommand(1'500);
    EXPECT_EQ(position.SelectedRange(), (std::pair<TimeMs, TimeMs>{0, 1'500}));
    page.SelectTrack(-1);
    EXPECT_FALSE(context.trackSelected);
    EXPECT_FALSE(position.IsEnabled(PositionControl::Preview));

    page.UnloadSource();
    EXPECT_FALSE(context.loaded);
    EXPECT_FALSE(position.IsEnabled(PositionControl::TimeField));
    EXPECT_FALSE(position.IsEnabled(PositionControl::Play));
}

TEST_F(SplitPagePlaybackTest, StepAndPageSizesComeFromTheSettings)
{
    settings_.SetSettingInt(setting::kTimeStepSize, 250);
    settings_.SetSettingInt(setting::kTimePageSize, -3);
    SplitPage& page = Page(false);
    EXPECT_EQ(page.Position().StepSize(), 250u);
    EXPECT_EQ(page.Position().PageSize(), kDefaultPageMs);
    EXPECT_FALSE(page.Position().IsEnabled(PositionControl::Play)) << "no library: no playback";
    EXPECT_TRUE(page.Position().IsEnabled(PositionControl::TimeField));
}

TEST_F(SplitPagePlaybackTest, AStoredStepOfZeroIsTheDefault)
{
    settings_.SetSettingInt(setting::kTimeStepSize, 0); // written by hand: keys would do nothing
    EXPECT_EQ(Page(false).Position().StepSize(), kDefaultStepMs);
}

TEST_F(SplitPagePlaybackTest, ARunStopsPlaybackFirst)
{
    SplitPage& page = Page();
    page.Position().TimeTyped(1'000);
    page.Position().TogglePlay();
    ASSERT_TRUE(page.Position().IsPlaying());
    ASSERT_EQ(Activity(), BASS_ACTIVE_PLAYING);
    page.AddCutPointCommand(2'500);
    page.RunSplit();
    EXPECT_EQ(page.LastRunOutcome(), RunOutcome::Done);
    EXPECT_FALSE(page.Position().IsPlaying());
    EXPECT_EQ(Activity(), BASS_ACTIVE_STOPPED);
}

// The run reads its cut positions by seeking the stream between the rows,
// while events are let through.
TEST_F(SplitPagePlaybackTest, NothingPlaysWhileARunReadsTheStream)
{
    SplitPage& page = Page();
    page.AddCutPointCommand(2'500);
    bool refused = false;
    ui_.onPump = [&] {
        page.Position().TogglePlay();
        page.Position().TogglePreview();
        refused = page.IsRunning() && !page.Position().IsEnabled(PositionControl::Play);
    };
    page.RunSplit();
    EXPECT_EQ(page.LastRunOutcome(), RunOutcome::Done);
    EXPECT_TRUE(refused);
    EXPECT_FALSE(page.Position().IsPlaying());
    EXPECT_FALSE(page.Position().IsPreviewing());
    EXPECT_EQ(Activity(), BASS_ACTIVE_STOPPED);
    EXPECT_TRUE(page.Position().IsEnabled(PositionControl::Play)) << "over: play again";
}

TEST_F(SplitPagePlaybackTest, UnloadingStopsEverythingAndKeepsTheSpeed)
{
    SplitPage& page = Page();
    page.Position().CycleFastForward();
    page.Position().TimeTyped(2'000);
    page.Position().TogglePlay();
    ASSERT_TRUE(page.Position().IsPlaying());
    const HSTREAM stream = page.Stream();
    page.UnloadSource();
    EXPECT_FALSE(page.Position().IsPlaying());
    EXPECT_EQ(page.Position().Position(), 0u);
    EXPECT_EQ(page.Position().FieldTime(), 0u);
    EXPECT_EQ(page.Position().PositionSlider(), 0);
    EXPECT_EQ(playback_.Api().BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(page.Position().FastForwardLevel(), 1);

    ASSERT_TRUE(page.LoadSource(test::CorpusFile("vbr_v2")));
    EXPECT_EQ(Frequency(), 66'150u) << "the new stream plays at the chosen speed";
    page.Position().TogglePreview();
    ASSERT_TRUE(page.Position().IsPreviewing());
    page.UnloadSource();
    EXPECT_FALSE(page.Position().IsPreviewing());
}

TEST_F(SplitPagePlaybackTest, AReopenedStreamStartsAtZeroAtTheChosenSpeed)
{
    SplitPage& page = Page();
    EXPECT_EQ(Frequency(), 44'100u);
    page.Position().CycleFastForward();
    page.Position().CycleFastForward();
    EXPECT_EQ(Frequency(), 88'200u);
    page.Position().TimeTyped(3'000);
    page.Position().TogglePlay();
    // The source has a VBR header: automatic mode handles it by frames, fast
    // mode does not, and the stream is opened again.
    page.SwitchSplitMode(SplitMode::Fast);
    EXPECT_FALSE(page.Position().IsPlaying());
    EXPECT_EQ(page.Position().FieldTime(), 0u);
    EXPECT_EQ(Frequency(), 88'200u);
}

// The window may close while the two seconds play, and the library with it.
TEST_F(SplitPagePlaybackTest, TheLibraryGoingAwayEndsTheWaitForTwoSeconds)
{
    SplitPage& page = Page();
    page.Position().TimeTyped(1'000);
    clock_.onWait = [this] {
        if (clock_.waits == 2)
            playback_.UnloadPlaybackLibrary();
    };
    page.Position().PlayAround(false);
    EXPECT_EQ(clock_.waits, 2);
    EXPECT_FALSE(page.Position().IsEnabled(PositionControl::Play));
    page.UnloadSource();
    EXPECT_FALSE(page.Position().Context().loaded);
}

} // namespace
} // namespace keldro
