// The position: its moves and their limits, the two slider mappings, the
// context the page gives, and which controls are enabled in each state.
#include "position_fixture.h"

#include <array>
#include <ostream>

namespace keldro {
namespace {

using test::kTotal;

class PositionControllerTest : public test::PositionFixture
{};

TEST(SliderMappingTest, ValueRoundsAndTimeTruncates)
{
    EXPECT_EQ(SliderValue(0, kTotal), 0);
    EXPECT_EQ(SliderValue(kTotal, kTotal), kSliderMaximum);
    EXPECT_EQ(SliderValue(1'500, 100'000), 492); // 491.505 + 0.5
    EXPECT_EQ(SliderValue(1'000, 0), 0);
    EXPECT_EQ(SliderValue(kTotal + 1'000, kTotal), kSliderMaximum);
    EXPECT_EQ(SliderTime(491, 100'000), 1'498u); // 1498.46
    EXPECT_EQ(SliderTime(kSliderMaximum, kTotal), kTotal);
    EXPECT_EQ(SliderTime(0, kTotal), 0u);
    EXPECT_EQ(SliderTime(-5, kTotal), 0u);
    EXPECT_EQ(SliderTime(kSliderMaximum + 9, kTotal), kTotal);
}

// From two milliseconds per slider step up, a slider value survives the way
// to a time and back, at every value.
TEST(SliderMappingTest, EveryValueComesBackFromItsTime)
{
    for (const TimeMs total : {65'534u, 100'000u, kTotal, 3'600'000u}) {
        for (int value = 0; value <= kSliderMaximum; ++value)
            ASSERT_EQ(SliderValue(SliderTime(value, total), total), value) << total;
    }
}

TEST_F(PositionControllerTest, StepsAndPagesStopAtZeroAndAtTheTotal)
{
    Load();
    controller_.TimeTyped(50);
    EXPECT_EQ(controller_.MovePosition(PositionMove::StepBack), 0u);
    EXPECT_EQ(controller_.Position(), 0u);
    controller_.TimeTyped(kTotal - 50);
    EXPECT_EQ(controller_.MovePosition(PositionMove::StepForward), kTotal);
    EXPECT_EQ(controller_.Position(), kTotal);
    EXPECT_EQ(controller_.PositionSlider(), kSliderMaximum);

    controller_.TimeTyped(999);
    EXPECT_EQ(controller_.MovePosition(PositionMove::PageBack), 0u);
    controller_.TimeTyped(kTotal - 999);
    EXPECT_EQ(controller_.MovePosition(PositionMove::PageForward), kTotal);
    EXPECT_EQ(controller_.MovePosition(PositionMove::Start), 0u);
    EXPECT_EQ(controller_.MovePosition(PositionMove::End), kTotal);

    controller_.TimeTyped(5'000);
    EXPECT_EQ(controller_.MovePosition(PositionMove::StepForward), 5'100u);
    EXPECT_EQ(controller_.MovePosition(PositionMove::PageBack), 4'100u);
    controller_.SetSizes(250, 5'000);
    EXPECT_EQ(controller_.MovePosition(PositionMove::StepBack), 3'850u);
    EXPECT_EQ(controller_.MovePosition(PositionMove::PageForward), 8'850u);
    EXPECT_EQ(controller_.Position(), 8'850u);
    EXPECT_EQ(controller_.PositionSlider(), SliderValue(8'850, kTotal));
    EXPECT_TRUE(stream_.Calls("Seek").empty()) << "nothing plays: nothing is sought";
}

TEST_F(PositionControllerTest, WithoutASourceNothingMoves)
{
    controller_.TimeTyped(1'000);
    EXPECT_EQ(controller_.MovePosition(PositionMove::End), 0u);
    controller_.PositionSliderMoved(1'000);
    EXPECT_EQ(controller_.Position(), 0u);
    EXPECT_EQ(controller_.PositionSlider(), 0);
}

TEST_F(PositionControllerTest, ATimeBeyondTheTotalIsIgnored)
{
    Load();
    controller_.TimeTyped(7'000);
    controller_.TimeTyped(kTotal + 1);
    EXPECT_EQ(controller_.Position(), 7'000u);
    EXPECT_EQ(controller_.FieldTime(), 7'000u);
}

TEST_F(PositionControllerTest, RepeatedStepsAddUpExactly)
{
    Load();
    for (int i = 0; i < 25; ++i)
        controller_.MovePosition(PositionMove::StepForward);
    EXPECT_EQ(controller_.Position(), 2'500u);
    for (int i = 0; i < 25; ++i)
        controller_.MovePosition(PositionMove::StepBack);
    EXPECT_EQ(controller_.Position(), 0u);
}

// The window shows the slider's time in the time field, whose change comes
// back as typed; a slider step there is shorter than a millisecond. The slider
// and the time stay where the user left them, however often that goes round.
TEST_F(PositionControllerTest, TheSliderAndItsTimeDoNotDriftThroughTheTimeField)
{
    Load(Loaded(1'000));
    controller_.PositionSliderMoved(100);
    EXPECT_EQ(controller_.FieldTime(), 3u); // 100 / 32767 × 1000 = 3.05
    for (int i = 0; i < 10; ++i) {
        controller_.TimeTyped(controller_.FieldTime());
        controller_.PositionSliderMoved(controller_.PositionSlider());
    }
    EXPECT_EQ(controller_.PositionSlider(), 100);
    EXPECT_EQ(controller_.Position(), 3u);

    Load(Loaded(kTotal));
    controller_.PositionSliderMoved(12'345);
    for (int i = 0; i < 10; ++i) {
        controller_.TimeTyped(controller_.FieldTime());
        controller_.PositionSliderMoved(controller_.PositionSlider());
    }
    EXPECT_EQ(controller_.PositionSlider(), 12'345);
    EXPECT_EQ(controller_.Position(), SliderTime(12'345, kTotal));
}

TEST_F(PositionControllerTest, TheTrackSliderShowsAFractionOfTheSelectedRange)
{
    Load();
    EXPECT_EQ(controller_.SelectedRange(), (std::pair<TimeMs, TimeMs>{10'000, 20'000}));
    controller_.TrackSliderMoved(16'384);
    EXPECT_EQ(controller_.TrackSlider(), 16'384);
    EXPECT_EQ(controller_.TrackPositionTime(), 15'000u); // 10000 + 0.500015 × 10000
    controller_.TrackSliderMoved(kSliderMaximum);
    EXPECT_EQ(controller_.TrackPositionTime(), 20'000u);
    EXPECT_TRUE(stream_.calls.empty()) << "no preview: nothing plays";

    PositionContext other = Loaded();
    other.rawRange = {20'000, 30'000};
    controller_.SetContext(other);
    controller_.SelectionChanged();
    EXPECT_EQ(controller_.TrackSlider(), 0);
    EXPECT_EQ(controller_.TrackPositionTime(), 20'000u);
    EXPECT_EQ(controller_.SelectedRange(), (std::pair<TimeMs, TimeMs>{20'000, 30'000}));
}

TEST_F(PositionControllerTest, GoToTheSelectedTracksStartAndEnd)
{
    Load();
    controller_.GoToTrackEnd();
    EXPECT_EQ(controller_.Position(), 20'000u);
    EXPECT_EQ(controller_.FieldTime(), 20'000u);
    controller_.GoToTrackStart();
    EXPECT_EQ(controller_.Position(), 10'000u);

    PositionContext none = Loaded();
    none.trackSelected = false;
    controller_.SetContext(none);
    controller_.GoToTrackEnd();
    EXPECT_EQ(controller_.Position(), 10'000u);
}

TEST_F(PositionControllerTest, AShorterSourceKeepsThePositionInside)
{
    Load();
    controller_.TimeTyped(100'000);
    controller_.SetContext(Loaded(60'000));
    EXPECT_EQ(controller_.Position(), 60'000u);
    EXPECT_EQ(controller_.FieldTime(), 60'000u);
    EXPECT_EQ(controller_.PositionSlider(), kSliderMaximum);
}

TEST_F(PositionControllerTest, UnloadingStopsEverythingAndGoesBackToZero)
{
    Load();
    controller_.CycleFastForward();
    controller_.TimeTyped(30'000);
    controller_.TogglePlay();
    Ticks(4);
    ASSERT_TRUE(controller_.IsPlaying());
    controller_.SetContext(PositionContext{});
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(stream_.state, test::FakePlaybackStream::State::Stopped);
    EXPECT_EQ(controller_.Position(), 0u);
    EXPECT_EQ(controller_.FieldTime(), 0u);
    EXPECT_EQ(controller_.PositionSlider(), 0);
    EXPECT_EQ(controller_.SelectedRange(), (std::pair<TimeMs, TimeMs>{}));
    EXPECT_EQ(controller_.FastForwardLevel(), 1) << "the level is the user's, not the source's";
}

// One row per state: the controls in the order of PositionControl.
struct EnablingCase
{
    const char* state;
    std::array<bool, 9> enabled; // time, play, ff, pause, before, after, preview, start, end
};

std::ostream& operator<<(std::ostream& out, const EnablingCase& c)
{
    return out << c.state;
}

class EnablingTest : public test::PositionFixture,
                     public ::testing::WithParamInterface<EnablingCase>
{
protected:
    void Enter(const std::string& state)
    {
        if (state == "nothing loaded")
            return;
        PositionContext context = Loaded();
        context.trackSelected = state != "no track selected";
        context.hasDecodedLength = state != "no decoded length";
        context.running = state == "running";
        stream_.canPlay = state != "no audio" && state != "no decoded length";
        Load(context);
        if (state == "at the end")
            controller_.TimeTyped(kTotal);
        if (state == "in the middle" || state == "playing" || state == "paused" ||
            state == "previewing" || state == "running") {
            controller_.TimeTyped(40'000);
        }
        if (state == "playing" || state == "paused")
            controller_.TogglePlay();
        if (state == "paused")
            controller_.TogglePause();
        if (state == "previewing")
            controller_.TogglePreview();
    }
};

TEST_P(EnablingTest, ControlsFollowTheState)
{
    Enter(GetParam().state);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(controller_.IsEnabled(static_cast<PositionControl>(i)),
                  GetParam().enabled[static_cast<std::size_t>(i)])
            << GetParam().state << ", control " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, EnablingTest,
    ::testing::Values(EnablingCase{"nothing loaded", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
                      EnablingCase{"no audio", {1, 0, 0, 0, 0, 0, 0, 1, 1}},
                      EnablingCase{"no decoded length", {1, 0, 0, 0, 0, 0, 0, 0, 0}},
                      EnablingCase{"no track selected", {1, 1, 1, 0, 0, 1, 0, 0, 0}},
                      EnablingCase{"at the start", {1, 1, 1, 0, 0, 1, 1, 1, 1}},
                      EnablingCase{"in the middle", {1, 1, 1, 0, 1, 1, 1, 1, 1}},
                      EnablingCase{"at the end", {1, 1, 1, 0, 1, 0, 1, 1, 1}},
                      EnablingCase{"playing", {1, 1, 1, 1, 0, 0, 1, 1, 1}},
                      EnablingCase{"paused", {1, 1, 1, 1, 0, 0, 1, 1, 1}},
                      EnablingCase{"previewing", {1, 1, 1, 0, 1, 1, 1, 1, 1}},
                      EnablingCase{"running", {1, 0, 1, 0, 0, 0, 0, 1, 1}}));

} // namespace
} // namespace keldro
