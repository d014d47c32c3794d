#include "common/column_list.h"
#include "string_table.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

TEST(ColumnListTest, TheListsOwnColumnsParseToTheirCaptionsAndWidths)
{
    const std::vector<ColumnEntry> split = ParseColumnList(LoadString(StringId::ListColumns));
    ASSERT_EQ(split.size(), 13u);
    EXPECT_EQ(split[0].caption, " ");
    EXPECT_EQ(split[0].width, 30);
    EXPECT_EQ(split[1].caption, "起点");
    EXPECT_EQ(split[1].width, 60);
    EXPECT_EQ(split[4].caption, "标题");
    EXPECT_EQ(split[4].width, 100);
    EXPECT_EQ(split[12].caption, " 向前交迭"); // the blank after ';' is part of the caption
    EXPECT_EQ(split[12].width, 80);

    const std::vector<ColumnEntry> merge = ParseColumnList(LoadString(StringId::MergeColumns));
    ASSERT_EQ(merge.size(), 15u);
    EXPECT_EQ(merge[0].caption, "文件名称");
    EXPECT_EQ(merge[0].width, 120);
    EXPECT_EQ(merge[14].caption, "文件路径");
    EXPECT_EQ(merge[14].width, 120);
}

TEST(ColumnListTest, MissingOrBrokenWidthsAreZeroAndATrailingSemicolonAddsNothing)
{
    const std::vector<ColumnEntry> columns = ParseColumnList("A,;B;C, x;D, -5;E,12;");
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[0].caption, "A");
    EXPECT_EQ(columns[0].width, 0);
    EXPECT_EQ(columns[1].caption, "B");
    EXPECT_EQ(columns[1].width, 0);
    EXPECT_EQ(columns[2].width, 0);
    EXPECT_EQ(columns[3].width, 0);
    EXPECT_EQ(columns[4].width, 12);
    EXPECT_TRUE(ParseColumnList("").empty());
    // An empty entry in the middle is an empty column, not the end.
    EXPECT_EQ(ParseColumnList("A,1;;B,2").size(), 3u);
}

} // namespace
} // namespace keldro
