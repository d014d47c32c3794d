#include "timecue/time_format.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

struct StyleExample
{
    TimeMs ms;
    const char* clock;
    const char* display;
    const char* cue;
};

TEST(FormatTime, WorkedExamplesInAllThreeStyles)
{
    const StyleExample examples[] = {
        {0, "0:00:00", "0:00.000", "00:00:00"},
        {65'432, "0:01:05", "1:05.432", "01:05:43"},
        {307'999, "0:05:07", "5:07.999", "05:07:99"},
        {3'725'004, "1:02:05", "1:02:05.004", "62:05:00"},
    };
    for (const auto& e : examples) {
        EXPECT_EQ(FormatTime(e.ms, TimeStyle::Clock), e.clock) << e.ms;
        EXPECT_EQ(FormatTime(e.ms, TimeStyle::Display), e.display) << e.ms;
        EXPECT_EQ(FormatTime(e.ms, TimeStyle::Cue), e.cue) << e.ms;
    }
}

TEST(FormatTime, DisplayShowsHoursOnlyFromOneHour)
{
    EXPECT_EQ(FormatTime(3'600'000, TimeStyle::Display), "1:00:00.000");
    EXPECT_EQ(FormatTime(3'599'999, TimeStyle::Display), "59:59.999");
}

TEST(FormatTime, CueMinutesAreNotWrappedAndHoursNotAtTwentyFour)
{
    EXPECT_EQ(FormatTime(2 * 3'600'000 + 3 * 60'000 + 4'567, TimeStyle::Cue), "123:04:56");
    EXPECT_EQ(FormatTime(25u * 3'600'000u, TimeStyle::Clock), "25:00:00");
    EXPECT_EQ(FormatTime(0xFFFFFFFFu, TimeStyle::Display), "1193:02:47.295");
}

TEST(ParseTime, DisplayStyle)
{
    EXPECT_EQ(ParseTime("1:15:00.000", TimeStyle::Display), 4'500'000u);
    EXPECT_EQ(ParseTime("0:59.999", TimeStyle::Display), 59'999u);
    EXPECT_EQ(ParseTime("1:02:05.004", TimeStyle::Display), 3'725'004u);
    // The part after '.' counts milliseconds; it is not a decimal fraction.
    EXPECT_EQ(ParseTime("0:01.5", TimeStyle::Display), 1'005u);
    EXPECT_EQ(ParseTime("0:01.500", TimeStyle::Display), 1'500u);
    // Fields are read like atoi: blanks skipped, reading stops at the separator.
    EXPECT_EQ(ParseTime(" 2: 03.4x", TimeStyle::Display), 123'004u);
}

TEST(ParseTime, DisplayStyleRefusals)
{
    EXPECT_EQ(ParseTime("75:00.000", TimeStyle::Display), 0u); // minutes limit holds without hours
    EXPECT_EQ(ParseTime("1:05", TimeStyle::Display), 0u);      // no '.'
    EXPECT_EQ(ParseTime("0:60.000", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("0:01.1000", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("1.000", TimeStyle::Display), 0u); // no ':'
    EXPECT_EQ(ParseTime("", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("0:00.000", TimeStyle::Display), 0u);
}

TEST(ParseTime, NegativeOrOversizedFieldsAreRefusedNotWrapped)
{
    EXPECT_EQ(ParseTime("-1:30.000", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("1:-5:00.000", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("1193:02:47.295", TimeStyle::Display), 0xFFFFFFFFu);
    EXPECT_EQ(ParseTime("1193:02:47.296", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("99999999999999999999:00:00.000", TimeStyle::Display), 0u);
    EXPECT_EQ(ParseTime("71582:47:29", TimeStyle::Cue), 4'294'967'290u);
    EXPECT_EQ(ParseTime("71583:00:00", TimeStyle::Cue), 0u);
}

TEST(ParseTime, ClockStyle)
{
    EXPECT_EQ(ParseTime("1:02:05", TimeStyle::Clock), 3'725'000u);
    EXPECT_EQ(ParseTime("0:00:59", TimeStyle::Clock), 59'000u);
    EXPECT_EQ(ParseTime("0:60:00", TimeStyle::Clock), 0u);
    EXPECT_EQ(ParseTime("0:00:60", TimeStyle::Clock), 0u);
    EXPECT_EQ(ParseTime("1:05", TimeStyle::Clock), 0u);
}

TEST(ParseTime, CueStyleReadsHundredths)
{
    EXPECT_EQ(ParseTime("01:05:43", TimeStyle::Cue), 65'430u);
    EXPECT_EQ(ParseTime("01:05:100", TimeStyle::Cue), 0u);
    EXPECT_EQ(ParseTime("120:00:00", TimeStyle::Cue), 7'200'000u);
    EXPECT_EQ(ParseTime("00:60:00", TimeStyle::Cue), 0u);
    EXPECT_EQ(ParseTime("00:05", TimeStyle::Cue), 0u);
}

TEST(ParseTime, RoundTrips)
{
    for (TimeMs t : {0u, 1u, 9u, 999u, 1'000u, 59'999u, 60'000u, 3'599'999u, 3'600'000u, 3'725'004u,
                     86'399'999u, 123'456'789u, 0xFFFFFFFFu}) {
        EXPECT_EQ(ParseTime(FormatTime(t, TimeStyle::Display), TimeStyle::Display), t);
        EXPECT_EQ(ParseTime(FormatTime(t, TimeStyle::Cue), TimeStyle::Cue), t / 10 * 10);
        EXPECT_EQ(ParseTime(FormatTime(t, TimeStyle::Clock), TimeStyle::Clock), t / 1000 * 1000);
    }
}

TEST(TimeConversions, CueAndDisplay)
{
    EXPECT_EQ(CueTimeToDisplay("01:05:43"), "1:05.430");
    EXPECT_EQ(CueTimeToDisplay("62:05:00"), "1:02:05.000");
    EXPECT_EQ(DisplayTimeToCue("1:02:05.004"), "62:05:00");
    EXPECT_EQ(DisplayTimeToCue("5:07.999"), "05:07:99");
    EXPECT_EQ(DisplayTimeToCue("nonsense"), "00:00:00");
}

TEST(ReadLeadingNumber, BehavesLikeAtoi)
{
    EXPECT_EQ(ReadLeadingNumber("  42abc"), 42);
    EXPECT_EQ(ReadLeadingNumber("-7"), -7);
    EXPECT_EQ(ReadLeadingNumber("+8"), 8);
    EXPECT_EQ(ReadLeadingNumber("x1"), 0);
    EXPECT_EQ(ReadLeadingNumber(""), 0);
    EXPECT_GT(ReadLeadingNumber("999999999999999999999999"), 999'999'999);
}

} // namespace
} // namespace keldro
