#include "joiner/merge_list.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

MergeEntry Entry(const std::string& name)
{
    MergeEntry entry;
    entry.Text(MergeColumn::FileName) = name;
    return entry;
}

std::vector<std::string> Names(const MergeList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.RowCount(); ++i)
        names.push_back(list.Row(i).Text(MergeColumn::FileName));
    return names;
}

MergeList Letters(int count)
{
    MergeList list;
    for (int i = 0; i < count; ++i)
        list.Insert(i, Entry(std::string(1, static_cast<char>('a' + i))));
    return list;
}

TEST(MergeList, MovingSelectionsKeepsTheirOrder)
{
    MergeList list = Letters(6);
    list.MutableRow(2).selected = true;
    list.MutableRow(3).selected = true;
    list.MoveSelection(4); // down: they end as rows 3 and 4
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "e", "c", "d", "f"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{3, 4}));
    list.MoveSelection(0); // to the top
    EXPECT_EQ(Names(list), (std::vector<std::string>{"c", "d", "a", "b", "e", "f"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(list.UpTarget(), 0);
    EXPECT_EQ(list.DownTarget(), 2);
    list.MoveSelection(5); // to the bottom
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "e", "f", "c", "d"}));
    EXPECT_EQ(list.DownTarget(), 5);
    list.SelectOnly(3);
    list.MoveSelection(list.UpTarget());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "f", "e", "c", "d"}));
    EXPECT_EQ(list.FocusedRow(), 2);
}

TEST(MergeList, TheWindowsSelectionReplacesTheFlags)
{
    MergeList list = Letters(4);
    list.SelectOnly(0);
    list.SetSelection({3, 1, 7, -1}, 3);
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.FocusedRow(), 3);
    list.MoveSelection(list.UpTarget()); // b and d move up as a block before a
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "d", "a", "c"}));
    list.SetSelection({}, 9);
    EXPECT_TRUE(list.SelectedRows().empty());
    EXPECT_EQ(list.FocusedRow(), -1);
}

// A header click reorders the rows: the focused file keeps the focus, so the
// list scrolls to the file that is selected, not to its old place.
TEST(MergeList, SortingKeepsTheFocusWithItsFile)
{
    MergeList list = Letters(4);
    list.SetSelection({0}, 0);
    list.ClickHeader(0);
    list.ClickHeader(0); // descending: d c b a
    EXPECT_EQ(Names(list), (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{3}));
    EXPECT_EQ(list.FocusedRow(), 3);
    list.SetSelection({}, -1);
    list.ClickHeader(0); // unsorted: nothing moves, nothing gains the focus
    list.SetSort(0, 1);
    list.Sort();
    EXPECT_EQ(list.FocusedRow(), -1);
}

TEST(MergeList, ComparisonIsNumericByDateOrText)
{
    EXPECT_LT(MergeList::CompareTexts("9", "10"), 0);
    EXPECT_LT(MergeList::CompareTexts("", "3"), 0);             // empty counts as a number
    EXPECT_GT(MergeList::CompareTexts("96kbps", "128kbps"), 0); // texts, not numbers
    EXPECT_LT(MergeList::CompareTexts("31/12/1999", "01/01/2000"), 0);
    EXPECT_GT(MergeList::CompareTexts("02/03/2001", "01/03/2001"), 0);
    EXPECT_EQ(MergeList::CompareTexts("same", "same"), 0);
}

TEST(MergeList, HeaderClicksCycleAscendingDescendingUnsorted)
{
    MergeList list;
    for (const char* name : {"b", "c", "a"})
        list.Insert(list.RowCount(), Entry(name));
    list.ClickHeader(0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
    list.ClickHeader(0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(list.SortDirection(), 0);
    list.ClickHeader(0);
    EXPECT_EQ(list.SortColumn(), -1);
    EXPECT_EQ(list.SortDirection(), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"c", "b", "a"})); // order kept
    list.ClickHeader(0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(MergeList, LabelsCountKilobytesDifferentlyWhenAddingAndRemoving)
{
    EXPECT_EQ(SizeLabelAfterAdding(1'000'000), "977 KB");
    EXPECT_EQ(SizeLabelAfterRemoving(1'000'000), "1.0 MB");
    EXPECT_EQ(SizeLabelAfterAdding(3 * 1024 * 1024), "3.0 MB");
    EXPECT_EQ(DurationLabel(205'000), "0:03:25");
}

TEST(MergeEntry, PathAndSilence)
{
    MergeEntry entry = Entry("a.mp3");
    EXPECT_EQ(entry.Path(), "a.mp3");
    entry.Text(MergeColumn::Folder) = "/music/";
    EXPECT_EQ(entry.Path(), "/music/a.mp3");
    entry.Text(MergeColumn::Folder) = "/music";
    EXPECT_EQ(entry.Path(), "/music/a.mp3");
    entry.Text(MergeColumn::Silence) = "<无>";
    EXPECT_EQ(entry.SilenceSeconds(), 0);
    entry.Text(MergeColumn::Silence) = "5";
    EXPECT_EQ(entry.SilenceSeconds(), 5);
}

} // namespace
} // namespace keldro
