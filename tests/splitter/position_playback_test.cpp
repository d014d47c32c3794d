// What plays from the position, on a fake stream and clock: playback and its
// timer, pause, fast-forward, and the preview of the selected track.
#include "position_fixture.h"
#include "string_table.h"

namespace keldro {
namespace {

using test::FakePlaybackStream;
using test::kTotal;
using Strings = std::vector<std::string>;

class PositionPlaybackTest : public test::PositionFixture
{};

TEST_F(PositionPlaybackTest, PlayingFollowsTheStreamAndStopsWhereItIs)
{
    Load();
    controller_.TimeTyped(1'000);
    controller_.TogglePlay();
    EXPECT_TRUE(controller_.IsPlaying());
    EXPECT_EQ(stream_.calls, (Strings{"Seek 1000", "Play"}));
    Ticks(3);
    EXPECT_EQ(controller_.FieldTime(), 1'150u);
    EXPECT_EQ(controller_.PositionSlider(), SliderValue(1'150, kTotal));
    controller_.TimeTyped(90'000); // the field follows playback: typing is ignored
    controller_.TogglePlay();
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Stopped);
    EXPECT_EQ(controller_.Position(), 1'150u);
    EXPECT_EQ(controller_.FieldTime(), 1'150u);
}

TEST_F(PositionPlaybackTest, PlaybackStopsWhenTheStreamEnds)
{
    Load();
    controller_.TimeTyped(kTotal - 120);
    controller_.TogglePlay();
    Ticks(2);
    EXPECT_TRUE(controller_.IsPlaying());
    Ticks(1);
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(controller_.Position(), kTotal);
    EXPECT_EQ(controller_.FieldTime(), kTotal);
    EXPECT_EQ(controller_.PositionSlider(), kSliderMaximum);
    EXPECT_FALSE(controller_.IsEnabled(PositionControl::After));
    EXPECT_TRUE(controller_.IsEnabled(PositionControl::Before));

    controller_.TogglePlay(); // at the end: nothing to play
    EXPECT_FALSE(controller_.IsPlaying());
}

TEST_F(PositionPlaybackTest, NothingPlaysWithoutAPlayableStream)
{
    stream_.canPlay = false;
    Load();
    controller_.TogglePlay();
    controller_.PlayAround(false);
    controller_.CycleFastForward();
    EXPECT_FALSE(controller_.TogglePreview());
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(controller_.FastForwardLevel(), 0);
    EXPECT_TRUE(stream_.Calls("Play").empty());
}

// A split run finds its cuts by seeking the same stream: nothing may move it.
TEST_F(PositionPlaybackTest, NothingPlaysOrSeeksDuringASplitRun)
{
    PositionContext running = Loaded();
    running.running = true;
    Load(running);
    controller_.TimeTyped(30'000);
    controller_.TogglePlay();
    EXPECT_FALSE(controller_.TogglePreview());
    controller_.PlayAround(true);
    controller_.PlayAround(false);
    controller_.TrackSliderMoved(100);
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_FALSE(controller_.IsPreviewing());
    EXPECT_TRUE(stream_.Calls("Seek").empty());
    EXPECT_TRUE(stream_.Calls("Play").empty());
    controller_.CycleFastForward(); // the speed alone moves nothing
    EXPECT_EQ(controller_.FastForwardLevel(), 1);
}

TEST_F(PositionPlaybackTest, PauseHoldsThePositionAndSeeksWhereTheUserMovesIt)
{
    Load();
    controller_.TogglePause(); // not playing: nothing to pause
    EXPECT_FALSE(controller_.IsPaused());
    controller_.TimeTyped(2'000);
    controller_.TogglePlay();
    Ticks(2);
    controller_.TogglePause();
    EXPECT_TRUE(controller_.IsPaused());
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Paused);
    Ticks(4);
    EXPECT_EQ(controller_.FieldTime(), 2'100u);

    EXPECT_EQ(controller_.MovePosition(PositionMove::PageForward), 3'100u);
    EXPECT_EQ(stream_.calls.back(), "Seek 3100");
    controller_.TimeTyped(5'000);
    EXPECT_EQ(stream_.calls.back(), "Seek 5000");
    controller_.TogglePause();
    EXPECT_FALSE(controller_.IsPaused());
    EXPECT_EQ(stream_.calls.back(), "Play");
    Ticks(1);
    EXPECT_EQ(controller_.FieldTime(), 5'050u);

    controller_.TogglePause();
    controller_.TogglePlay(); // stopping clears the pause
    EXPECT_FALSE(controller_.IsPaused());
    EXPECT_FALSE(controller_.IsEnabled(PositionControl::Pause));
}

TEST_F(PositionPlaybackTest, MovingWhilePlayingSeeksAtOnce)
{
    Load();
    controller_.TimeTyped(10'000);
    controller_.TogglePlay();
    Ticks(2);
    EXPECT_EQ(controller_.MovePosition(PositionMove::StepForward), 10'200u);
    EXPECT_EQ(stream_.calls.back(), "Seek 10200");
    controller_.PositionSliderMoved(kSliderMaximum / 2);
    EXPECT_EQ(stream_.calls.back(),
              "Seek " + std::to_string(SliderTime(kSliderMaximum / 2, kTotal)));
}

// The position typed is where the two seconds start, not the slider's time of
// it, which lies 1 ms later here.
// The playback library may be unloaded while the wait lets events through
// (the window closing): the stream then reports nothing playing.
TEST_F(PositionPlaybackTest, FastForwardCyclesThroughThreeSpeeds)
{
    Load();
    EXPECT_EQ(controller_.FastForwardText(), "");
    controller_.CycleFastForward();
    EXPECT_EQ(controller_.FastForwardLevel(), 1);
    EXPECT_EQ(controller_.FastForwardText(), "1");
    controller_.CycleFastForward();
    EXPECT_EQ(controller_.FastForwardText(), "2");
    controller_.CycleFastForward();
    EXPECT_EQ(controller_.FastForwardLevel(), 0);
    EXPECT_EQ(controller_.FastForwardText(), "");
    EXPECT_EQ(stream_.Calls("Frequency"),
              (Strings{"Frequency 66150", "Frequency 88200", "Frequency 44100"}));
}

TEST_F(PositionPlaybackTest, FastForwardPlaysFasterAndStaysForTheNextStream)
{
    Load();
    controller_.CycleFastForward();
    controller_.TimeTyped(1'000);
    controller_.TogglePlay();
    Ticks(2);
    EXPECT_EQ(controller_.FieldTime(), 1'150u);

    PositionContext reopened = Loaded();
    reopened.sampleRate = 11'025;
    controller_.Reset();
    controller_.SetContext(reopened);
    controller_.ApplyFrequency();
    EXPECT_EQ(controller_.FastForwardLevel(), 1);
    EXPECT_EQ(stream_.calls.back(), "Frequency 16537"); // 16537.5, truncated
}

TEST_F(PositionPlaybackTest, APreviewPlaysTheEffectiveRangeAndStopsAtItsEnd)
{
    Load();
    EXPECT_TRUE(controller_.TogglePreview());
    EXPECT_TRUE(controller_.IsPreviewing());
    EXPECT_EQ(stream_.calls, (Strings{"Seek 9500", "Play"}));
    EXPECT_EQ(controller_.SelectedRange(), (std::pair<TimeMs, TimeMs>{9'500, 20'500}));
    Ticks(110); // 5.5 s: half of the range
    EXPECT_EQ(controller_.TrackPositionTime(), 15'000u);
    EXPECT_EQ(controller_.TrackSlider(), 16'383); // 0.5 × 32767, truncated
    Ticks(109);
    EXPECT_TRUE(controller_.IsPreviewing());
    EXPECT_EQ(controller_.TrackPositionTime(), 20'450u);
    Ticks(1);
    EXPECT_FALSE(controller_.IsPreviewing());
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Stopped);
    EXPECT_EQ(controller_.TrackSlider(), 0);
    EXPECT_EQ(controller_.TrackPositionTime(), 9'500u);
    EXPECT_EQ(controller_.SelectedRange(), (std::pair<TimeMs, TimeMs>{9'500, 20'500}));
}

TEST_F(PositionPlaybackTest, APreviewStartsAtTheTrackSliderAndFollowsItsMoves)
{
    Load();
    controller_.TrackSliderMoved(16'384);
    EXPECT_TRUE(controller_.TogglePreview());
    EXPECT_EQ(stream_.calls, (Strings{"Seek 15000", "Play"})); // 9500 + 5500.17
    controller_.TrackSliderMoved(kSliderMaximum / 4);
    EXPECT_EQ(stream_.calls.back(), "Play");
    EXPECT_EQ(stream_.Calls("Seek").back(), "Seek 12249"); // 9500 + 2749.75
    EXPECT_TRUE(controller_.TogglePreview());
    EXPECT_FALSE(controller_.IsPreviewing());

    controller_.TrackSliderMoved(kSliderMaximum);
    EXPECT_FALSE(controller_.TogglePreview()) << "at the end: nothing to preview";
    EXPECT_FALSE(controller_.IsPreviewing());
}

TEST_F(PositionPlaybackTest, APreviewStopsWhenTheStreamEndsOrTheSelectionChanges)
{
    PositionContext last = Loaded();
    last.rawRange = {170'000, kTotal};
    last.effectiveRange = {169'000, kTotal};
    Load(last);
    stream_.length = kTotal - 1'000; // the stream ends short of the analysis
    controller_.TogglePreview();
    Ticks(200);
    EXPECT_FALSE(controller_.IsPreviewing());

    controller_.TogglePreview();
    controller_.SetContext(Loaded());
    controller_.SelectionChanged();
    EXPECT_FALSE(controller_.IsPreviewing());
    EXPECT_EQ(controller_.SelectedRange(), (std::pair<TimeMs, TimeMs>{10'000, 20'000}));
}

TEST_F(PositionPlaybackTest, PlayAndPreviewStopEachOther)
{
    Load();
    controller_.TogglePlay();
    controller_.TogglePreview();
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_TRUE(controller_.IsPreviewing());
    controller_.TogglePlay();
    EXPECT_TRUE(controller_.IsPlaying());
    EXPECT_FALSE(controller_.IsPreviewing());
    controller_.StopAll();
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Stopped);
}

TEST_F(PositionPlaybackTest, APreviewNeedsASelectedTrack)
{
    PositionContext none = Loaded();
    none.trackSelected = false;
    Load(none);
    controller_.TogglePlay();
    EXPECT_FALSE(controller_.TogglePreview());
    EXPECT_FALSE(controller_.IsPlaying()) << "playback stops first";
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, LoadString(StringId::SelectItemFirst));
    EXPECT_FALSE(controller_.IsPreviewing());
}

} // namespace
} // namespace keldro
