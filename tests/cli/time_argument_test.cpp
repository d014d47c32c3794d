#include "time_argument.h"

#include <gtest/gtest.h>

namespace keldro::cli {
namespace {

TEST(ParseTimeArgument, MillisecondsOrDisplayTimes)
{
    EXPECT_EQ(ParseTimeArgument("65432"), 65'432u);
    EXPECT_EQ(ParseTimeArgument("0"), 0u);
    EXPECT_EQ(ParseTimeArgument("1:05.432"), 65'432u);
    EXPECT_EQ(ParseTimeArgument("1:02:05.004"), 3'725'004u);
    EXPECT_EQ(ParseTimeArgument("0:00.000"), 0u);
    EXPECT_EQ(ParseTimeArgument("00:00:00.000"), 0u);
    EXPECT_EQ(ParseTimeArgument("4294967295"), 4'294'967'295u);
}

TEST(ParseTimeArgument, TimesAsPeopleTypeThem)
{
    EXPECT_EQ(ParseTimeArgument("0:10"), 10'000u);
    EXPECT_EQ(ParseTimeArgument("1:30:00"), 5'400'000u);
    EXPECT_EQ(ParseTimeArgument("1:05"), 65'000u);
    EXPECT_EQ(ParseTimeArgument("1:05.5"), 65'500u);
    EXPECT_EQ(ParseTimeArgument("1:05.25"), 65'250u);
    EXPECT_EQ(ParseTimeArgument("1:02:05.4"), 3'725'400u);
    EXPECT_EQ(ParseTimeArgument("0:00"), 0u);
    EXPECT_EQ(ParseTimeArgument("0:00:00.0"), 0u);
}

TEST(ParseTimeArgument, RefusesWhatDoesNotParse)
{
    EXPECT_FALSE(ParseTimeArgument(""));
    EXPECT_FALSE(ParseTimeArgument("4294967296"));
    EXPECT_FALSE(ParseTimeArgument("1:75.000"));
    EXPECT_FALSE(ParseTimeArgument("1:75"));
    EXPECT_FALSE(ParseTimeArgument("1:60:00"));
    EXPECT_FALSE(ParseTimeArgument("-5"));
    EXPECT_FALSE(ParseTimeArgument("12ms"));
    EXPECT_FALSE(ParseTimeArgument("1:05.4321"));
    EXPECT_FALSE(ParseTimeArgument("1:05."));
    EXPECT_FALSE(ParseTimeArgument("1::05"));
    EXPECT_FALSE(ParseTimeArgument(":05"));
    EXPECT_FALSE(ParseTimeArgument("1:2:3:4"));
    EXPECT_FALSE(ParseTimeArgument("1:05x"));
    EXPECT_FALSE(ParseTimeArgument("5.5"));
}

} // namespace
} // namespace keldro::cli
