#include "base/byte_text.h"

#include <gtest/gtest.h>
#include <string>

namespace keldro {
namespace {

// "你好" in GB18030 (two bytes each) and a four-byte GB18030 character.
const std::string kGbNiHao = "\xC4\xE3\xBA\xC3";
const std::string kGbFourByte = "\x81\x30\x81\x30";

TEST(IsValidUtf8, AcceptsUtf8AndRefusesOtherBytes)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("汉字 and 😀"));
    EXPECT_FALSE(IsValidUtf8(kGbNiHao));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE6\xB1"));         // cut short
}

TEST(CutAtCharBoundary, Utf8IsCutAtTheLastWholeCharacter)
{
    const std::string han = "汉字汉字汉字汉字汉字汉字"; // 12 characters, 36 bytes
    EXPECT_EQ(CutAtCharBoundary(han, 30), "汉字汉字汉字汉字汉字");
    EXPECT_EQ(CutAtCharBoundary(han, 29), "汉字汉字汉字汉字汉");
    EXPECT_EQ(CutAtCharBoundary("ab汉", 4), "ab");
    EXPECT_EQ(CutAtCharBoundary("short", 30), "short");
    EXPECT_EQ(CutAtCharBoundary("exactly", 7), "exactly");
}

TEST(CutAtCharBoundary, OtherBytesAreCutAsGb18030)
{
    EXPECT_EQ(CutAtCharBoundary("a" + kGbNiHao, 4), "a\xC4\xE3");
    EXPECT_EQ(CutAtCharBoundary("a" + kGbNiHao, 3), "a\xC4\xE3");
    EXPECT_EQ(CutAtCharBoundary("a" + kGbNiHao, 2), "a");
    EXPECT_EQ(CutAtCharBoundary("ab" + kGbFourByte, 5), "ab");
    EXPECT_EQ(CutAtCharBoundary("ab" + kGbFourByte + "c", 6), "ab" + kGbFourByte);
}

TEST(TrimTrailingSpace, RemovesEveryKindOfBlankAtTheEnd)
{
    EXPECT_EQ(TrimTrailingSpace("Song   "), "Song");
    EXPECT_EQ(TrimTrailingSpace("Song \t\r\n\v\f"), "Song");
    EXPECT_EQ(TrimTrailingSpace("  lead"), "  lead");
    EXPECT_EQ(TrimTrailingSpace("   "), "");
    EXPECT_EQ(TrimTrailingSpace(kGbNiHao + " "), kGbNiHao);
}

} // namespace
} // namespace keldro
