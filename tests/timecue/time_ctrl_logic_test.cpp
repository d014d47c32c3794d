#include "timecue/time_ctrl_logic.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

constexpr std::int64_t k3m25s = 3 * 60'000 + 25'000;

TEST(TimeCtrlLogic, TextOfAValue)
{
    EXPECT_EQ(TimeCtrlLogic::TextOf(0), "00:00:00.000");
    EXPECT_EQ(TimeCtrlLogic::TextOf(k3m25s), "00:03:25.000");
    EXPECT_EQ(TimeCtrlLogic::TextOf(3'725'004), "01:02:05.004");
    EXPECT_EQ(TimeCtrlLogic::TextOf(100LL * 3'600'000), "100:00:00.000");
}

TEST(TimeCtrlLogic, StartsEmptyWithDefaultText)
{
    TimeCtrlLogic field;
    EXPECT_EQ(field.Text(), "00:00:00.000");
    EXPECT_EQ(field.CaretIndex(), 0);
    EXPECT_EQ(field.GetTime(), 0);
}

TEST(TimeCtrlLogic, MaxTimePlacesCaretAtFirstSignificantDigit)
{
    TimeCtrlLogic field;
    field.SetMaxTime(k3m25s);
    EXPECT_EQ(field.CaretIndex(), 4);
    field.SetMaxTime(2 * 3'600'000);
    EXPECT_EQ(field.CaretIndex(), 1);
    field.SetMaxTime(5);
    EXPECT_EQ(field.CaretIndex(), 11);
    field.SetMaxTime(40'000);
    EXPECT_EQ(field.CaretIndex(), 6);
    // Zero and negative maxima are ignored.
    field.SetMaxTime(0);
    field.SetMaxTime(-3);
    EXPECT_EQ(field.MaxTime(), 40'000);
    EXPECT_EQ(field.CaretIndex(), 6);
}

TEST(TimeCtrlLogic, SetTimeTakesOnlyValuesWithinRange)
{
    TimeCtrlLogic field;
    field.SetMaxTime(k3m25s);
    EXPECT_EQ(field.SetTime(65'432), 65'432);
    EXPECT_EQ(field.Text(), "00:01:05.432");
    // Beyond the maximum: the text stays and the value already shown comes back.
    EXPECT_EQ(field.SetTime(k3m25s + 1000), 65'432);
    EXPECT_EQ(field.Text(), "00:01:05.432");
    EXPECT_EQ(field.SetTime(-1), 65'432);
    EXPECT_EQ(field.SetTime(k3m25s), k3m25s);
}

TEST(TimeCtrlLogic, ReadingStopsAtMissingSeparators)
{
    EXPECT_EQ(TimeCtrlLogic::ReadText("01:02:03.004"), 3'723'004);
    EXPECT_EQ(TimeCtrlLogic::ReadText("01:02:03"), 3'720'000);
    EXPECT_EQ(TimeCtrlLogic::ReadText("01:02"), 3'600'000);
    EXPECT_EQ(TimeCtrlLogic::ReadText(":02:03.004"), 0);
    EXPECT_EQ(TimeCtrlLogic::ReadText("01::03.004"), 3'600'000);
    EXPECT_EQ(TimeCtrlLogic::ReadText("01:02:.004"), 3'720'000);
    EXPECT_EQ(TimeCtrlLogic::ReadText("nothing"), 0);
}

TEST(TimeCtrlLogic, KeyChecks)
{
    TimeCtrlLogic field;
    field.SetMaxTime(k3m25s);
    EXPECT_FALSE(field.AcceptsKey(3, '7')); // tens of minutes above 5
    EXPECT_FALSE(field.AcceptsKey(6, '6')); // tens of seconds above 5
    EXPECT_FALSE(field.AcceptsKey(4, '4')); // 4 minutes exceeds 3:25
    EXPECT_TRUE(field.AcceptsKey(4, '3'));
    EXPECT_TRUE(field.AcceptsKey(6, '5'));
    EXPECT_FALSE(field.AcceptsKey(2, '0')); // a separator position
    EXPECT_FALSE(field.AcceptsKey(4, 'a'));
    EXPECT_FALSE(field.AcceptsKey(12, '0'));
    // The check reads the text with the digit in place: 3:25 itself is allowed, 3:26 not.
    field.SetTime(3 * 60'000 + 20'000);
    EXPECT_TRUE(field.AcceptsKey(7, '5'));
    EXPECT_FALSE(field.AcceptsKey(7, '6'));
}

TEST(TimeCtrlLogic, WithoutMaximumOnlyZerosAreAccepted)
{
    TimeCtrlLogic field;
    EXPECT_TRUE(field.AcceptsKey(11, '0'));
    EXPECT_FALSE(field.AcceptsKey(11, '1'));
    EXPECT_EQ(field.SetTime(1), 0);
}

TEST(TimeCtrlLogic, ReportedTextIsWhatGetTimeReads)
{
    TimeCtrlLogic field;
    field.SetMaxTime(10 * 3'600'000);
    field.SetText("02:30:00.250");
    EXPECT_EQ(field.GetTime(), 9'000'250);
    EXPECT_FALSE(field.AcceptsKey(0, '1')); // 12:30 is beyond ten hours
    field.SetText("02:30");                 // what a half-edited field may hold
    EXPECT_TRUE(field.AcceptsKey(9, '5'));
}

} // namespace
} // namespace keldro
