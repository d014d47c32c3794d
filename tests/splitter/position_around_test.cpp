// The two seconds before or after the position, on a fake stream and clock:
// where they start and stop, and what may happen while they play.
#include "position_fixture.h"

namespace keldro {
namespace {

using test::FakePlaybackStream;
using test::kTotal;
using Strings = std::vector<std::string>;

class PositionAroundTest : public test::PositionFixture
{};

TEST_F(PositionAroundTest, TwoSecondsBeforeTheStartPlayFromZero)
{
    Load();
    controller_.TimeTyped(1'500);
    controller_.PlayAround(true);
    EXPECT_EQ(stream_.calls, (Strings{"Seek 0", "Play", "Stop"}));
    EXPECT_EQ(stream_.Position(), 1'500u);
    EXPECT_EQ(clock_.waits, 30);
    EXPECT_EQ(ui_.pumps, 30);
    EXPECT_EQ(controller_.Position(), 1'500u) << "the position stays";
}

TEST_F(PositionAroundTest, TwoSecondsAroundThePositionInTheMiddle)
{
    Load();
    controller_.TimeTyped(60'000);
    controller_.PlayAround(true);
    EXPECT_EQ(stream_.calls, (Strings{"Seek 58000", "Play", "Stop"}));
    EXPECT_EQ(stream_.Position(), 60'000u);
    EXPECT_EQ(clock_.waits, 40);
    controller_.PlayAround(false);
    EXPECT_EQ(stream_.Calls("Seek").back(), "Seek 60000");
    EXPECT_EQ(stream_.Position(), 62'000u);
    EXPECT_EQ(clock_.waits, 80);
    EXPECT_EQ(controller_.FieldTime(), 60'000u);
}

TEST_F(PositionAroundTest, TwoSecondsAfterNearTheEndStopAtTheTotal)
{
    Load();
    controller_.TimeTyped(kTotal - 500);
    controller_.PlayAround(false);
    EXPECT_EQ(stream_.Calls("Seek"), (Strings{"Seek " + std::to_string(kTotal - 500)}));
    EXPECT_EQ(stream_.Position(), kTotal);
    EXPECT_EQ(clock_.waits, 10);

    controller_.TimeTyped(kTotal);
    controller_.PlayAround(false); // nothing after the end
    controller_.TimeTyped(0);
    controller_.PlayAround(true); // nothing before the start
    EXPECT_EQ(stream_.Calls("Seek").size(), 1u);
}

TEST_F(PositionAroundTest, TwoSecondsAfterStartExactlyAtThePosition)
{
    Load(Loaded(100'000));
    controller_.TimeTyped(1'500);
    ASSERT_EQ(SliderTime(controller_.PositionSlider(), 100'000), 1'501u);
    controller_.PlayAround(false);
    EXPECT_EQ(stream_.Calls("Seek"), (Strings{"Seek 1500"}));
    EXPECT_EQ(stream_.Position(), 3'500u);
    EXPECT_EQ(controller_.Position(), 1'500u);
}

TEST_F(PositionAroundTest, TwoSecondsAroundStopPlaybackAndPreviewFirst)
{
    Load();
    controller_.TimeTyped(30'000);
    controller_.TogglePlay();
    Ticks(10);
    controller_.PlayAround(true);
    EXPECT_FALSE(controller_.IsPlaying());
    EXPECT_EQ(stream_.Calls("Seek").back(), "Seek 28500");
    EXPECT_EQ(stream_.Position(), 30'500u);

    controller_.TogglePreview();
    controller_.PlayAround(false);
    EXPECT_FALSE(controller_.IsPreviewing());
    EXPECT_EQ(stream_.Calls("Seek").back(), "Seek 30500");
}

TEST_F(PositionAroundTest, AnotherPressWhileWaitingDoesNothing)
{
    Load();
    controller_.TimeTyped(10'000);
    ui_.onPump = [this] {
        controller_.PlayAround(true);
        controller_.PlayAround(false);
    };
    controller_.PlayAround(false);
    EXPECT_EQ(stream_.Calls("Seek"), (Strings{"Seek 10000"}));
    EXPECT_EQ(stream_.Calls("Stop").size(), 1u);
    EXPECT_EQ(stream_.Position(), 12'000u);
    EXPECT_EQ(clock_.waits, 40);

    ui_.onPump = nullptr;
    controller_.PlayAround(true); // over: the next press plays again
    EXPECT_EQ(stream_.Calls("Seek").back(), "Seek 8000");
}

TEST_F(PositionAroundTest, WhatTakesTheStreamWhileWaitingEndsTheWait)
{
    Load();
    controller_.TimeTyped(10'000);
    ui_.onPump = [this] {
        if (ui_.pumps == 5)
            controller_.TogglePlay();
    };
    controller_.PlayAround(false);
    EXPECT_EQ(ui_.pumps, 5);
    EXPECT_TRUE(controller_.IsPlaying());
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Playing) << "the stream is play's now";

    controller_.TogglePlay();
    ui_.pumps = 0;
    ui_.onPump = [this] {
        if (ui_.pumps == 3)
            controller_.StopAll(); // a split run starts
    };
    controller_.PlayAround(true);
    EXPECT_EQ(ui_.pumps, 3);
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Stopped);
}

TEST_F(PositionAroundTest, TicksEndTheTwoSecondsWhileADialogHoldsTheWait)
{
    Load();
    controller_.TimeTyped(10'000);
    ui_.onPump = [this] {
        if (ui_.pumps != 2)
            return;
        // A dialog's own event loop for five seconds: the timer ticks, the
        // wait does not go on.
        EXPECT_TRUE(controller_.IsPlayingAround());
        Ticks(100);
    };
    controller_.PlayAround(false);
    EXPECT_EQ(stream_.Position(), 12'000u);
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Stopped);
    EXPECT_FALSE(controller_.IsPlayingAround());
}

TEST_F(PositionAroundTest, TicksLeaveAStreamThatPlayTookOverWhileWaiting)
{
    Load();
    controller_.TimeTyped(10'000);
    ui_.onPump = [this] {
        if (ui_.pumps != 2)
            return;
        controller_.TogglePlay();
        Ticks(100);
    };
    controller_.PlayAround(false);
    EXPECT_TRUE(controller_.IsPlaying());
    EXPECT_EQ(stream_.state, FakePlaybackStream::State::Playing);
}

TEST_F(PositionAroundTest, TheLibraryGoingAwayWhileWaitingEndsTheWait)
{
    Load();
    controller_.TimeTyped(10'000);
    clock_.onWait = [this] {
        if (clock_.waits == 3)
            stream_.gone = true;
    };
    controller_.PlayAround(false);
    EXPECT_EQ(clock_.waits, 3);
    EXPECT_FALSE(controller_.IsPlaying());
    controller_.TogglePlay();
    controller_.Tick();
    EXPECT_FALSE(controller_.IsPlaying());
}

} // namespace
} // namespace keldro
