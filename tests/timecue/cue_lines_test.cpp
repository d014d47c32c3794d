#include "timecue/cue_lines.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

std::vector<std::pair<int, std::string>> NonEmptyLines(std::string_view text)
{
    CueLineReader reader(text);
    std::vector<std::pair<int, std::string>> lines;
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(reader.LineNumber(), std::string(line));
    return lines;
}

TEST(CueLineReader, EveryKindOfLineEndCountsOnce)
{
    const std::vector<std::pair<int, std::string>> expected{{1, "A"}, {2, "B"}, {3, "C"}};
    EXPECT_EQ(NonEmptyLines("A\rB\rC"), expected);
    EXPECT_EQ(NonEmptyLines("A\nB\nC\n"), expected);
    EXPECT_EQ(NonEmptyLines("A\r\nB\r\nC\r\n"), expected);
    EXPECT_EQ(NonEmptyLines("A\n\rB\n\rC"), expected);
    EXPECT_EQ(NonEmptyLines("A\r\nB\n\rC\r"), expected);
}

TEST(CueLineReader, BlankLinesHaveNumbersToo)
{
    // CR CR LF is a CR, then a CR LF: a blank line between every two.
    EXPECT_EQ(NonEmptyLines("A\r\r\nB\r\r\nC"),
              (std::vector<std::pair<int, std::string>>{{1, "A"}, {3, "B"}, {5, "C"}}));
    EXPECT_EQ(NonEmptyLines("\n\n  \t \nA\n\n"),
              (std::vector<std::pair<int, std::string>>{{4, "A"}}));
    CueLineReader reader("A\n\n\n");
    EXPECT_EQ(reader.LineCount(), 3);
    EXPECT_EQ(CueLineReader("").LineCount(), 0);
    EXPECT_EQ(CueLineReader("no end").LineCount(), 1);
}

TEST(CueLineReader, LinesAreTrimmedOfSpacesAndTabs)
{
    EXPECT_EQ(NonEmptyLines("\t  TRACK 01 AUDIO \t\r\n"),
              (std::vector<std::pair<int, std::string>>{{1, "TRACK 01 AUDIO"}}));
}

TEST(SheetText, EachThousandByteBlockEndsAtItsFirstZeroByte)
{
    std::string bytes = "AB";
    bytes += '\0';
    bytes += std::string(997, 'x'); // the rest of the first block is dropped
    bytes += "CD";                  // the second block is read again
    bytes += '\0';
    bytes += "EF";
    EXPECT_EQ(SheetText(bytes), "ABCD");
    EXPECT_EQ(SheetText("plain"), "plain");
}

TEST(CueKeywords, CompareTheirLengthIgnoringCase)
{
    EXPECT_TRUE(StartsWithKeyword("performer \"x\"", "PERFORMER"));
    EXPECT_TRUE(StartsWithKeyword("FILENAME", "FILE"));
    EXPECT_FALSE(StartsWithKeyword("FIL", "FILE"));
    EXPECT_FALSE(StartsWithKeyword("REM TITLE", "TITLE"));
}

TEST(CueKeywords, QuotedValueRunsFromFirstToLastQuote)
{
    std::string value;
    ASSERT_TRUE(QuotedValue(" \"Say \"hi\" now\"", value));
    EXPECT_EQ(value, "Say \"hi\" now");
    ASSERT_TRUE(QuotedValue(" \"only one", value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(QuotedValue(" \"\" WAVE", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(QuotedValue(" bare", value));
}

} // namespace
} // namespace keldro
