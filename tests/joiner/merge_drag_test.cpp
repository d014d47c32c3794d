// Dragging rows inside the merge list: the row that takes the drop, and where
// a dropped selection ends, including one that lies on both sides of the row
// it is dropped on.
#include "base/settings.h"
#include "joiner/merge_drag.h"
#include "joiner/merge_page.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

TEST(MergeDropRow, TheRowUnderThePointerBelowTheRowsTheLastNoneWhenEmpty)
{
    EXPECT_EQ(MergeDropRow(0, 5), 0);
    EXPECT_EQ(MergeDropRow(3, 5), 3);
    EXPECT_EQ(MergeDropRow(4, 5), 4);
    EXPECT_EQ(MergeDropRow(-1, 5), 4); // below the rows
    EXPECT_EQ(MergeDropRow(5, 5), 4);
    EXPECT_EQ(MergeDropRow(-1, 1), 0);
    EXPECT_EQ(MergeDropRow(0, 1), 0);
    EXPECT_EQ(MergeDropRow(-1, 0), -1);
    EXPECT_EQ(MergeDropRow(0, 0), -1);
}

MergeList Letters(int count)
{
    MergeList list;
    for (int i = 0; i < count; ++i) {
        MergeEntry entry;
        entry.Text(MergeColumn::FileName) = std::string(1, static_cast<char>('a' + i));
        list.Insert(i, std::move(entry));
    }
    return list;
}

std::string Order(const MergeList& list)
{
    std::string names;
    for (int i = 0; i < list.RowCount(); ++i)
        names += list.Row(i).Text(MergeColumn::FileName);
    return names;
}

struct DropCase
{
    const char* name;
    std::vector<int> selected;
    int target;
    std::string order;          // the rows afterwards
    std::vector<int> selection; // where the selected rows end
    int focused;
};

// Wholly before or after the target the selection ends at the target, on the
// side it came from. A selection on both sides goes right after the target
// row, or stays around it when the target is one of its own rows; the rows
// left out keep their order and none of them moves into the selection. The
// target row is focused: it is always one of the moved rows.
TEST(MergeDrop, SelectionsEndAroundTheTargetInTheirOrder)
{
    const std::vector<DropCase> cases = {
        {"one row down", {1}, 4, "acdeb", {4}, 4},
        {"one row up", {3}, 0, "dabce", {0}, 0},
        {"two before, down", {0, 1}, 3, "cdabe", {2, 3}, 3},
        {"two after, up", {3, 4}, 1, "adebc", {1, 2}, 1},
        {"onto its own last row", {1, 2}, 2, "abcde", {1, 2}, 2},
        {"onto its own first row", {1, 2}, 1, "abcde", {1, 2}, 1},
        {"straddling a row", {1, 4}, 2, "acbed", {2, 3}, 2},
        {"straddling several rows", {0, 4}, 2, "bcaed", {2, 3}, 2},
        {"onto its own middle row", {1, 2, 3}, 2, "abcde", {1, 2, 3}, 2},
        {"straddling the second row", {0, 2, 3, 4}, 1, "bacde", {1, 2, 3, 4}, 1},
        {"straddling, a gap before", {1, 3}, 2, "acbde", {2, 3}, 2},
    };
    for (const DropCase& c : cases) {
        MergeList list = Letters(5);
        for (const int row : c.selected)
            list.MutableRow(row).selected = true;
        list.MoveSelection(c.target);
        EXPECT_EQ(Order(list), c.order) << c.name;
        EXPECT_EQ(list.SelectedRows(), c.selection) << c.name;
        EXPECT_EQ(list.FocusedRow(), c.focused) << c.name;
    }
}

TEST(MergeDrop, ATargetOutsideTheRowsOrNoSelectionMovesNothing)
{
    MergeList list = Letters(4);
    list.MoveSelection(1);
    EXPECT_EQ(Order(list), "abcd");
    list.MutableRow(0).selected = true;
    list.MutableRow(3).selected = true;
    list.MoveSelection(MergeDropRow(0, 0));
    list.MoveSelection(4);
    EXPECT_EQ(Order(list), "abcd");
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 3}));
}

// Through the page, as a drop reaches it: the rows keep their texts whole.
TEST(MergeDrop, ThePageMovesAStraddlingSelectionAndSaysSo)
{
    test::TempDir dir;
    test::ScriptedInteraction ui;
    MemorySettings settings;
    struct CountingView : test::ScriptedMergeView
    {
        void ListChanged() override { ++listChanges; }
        int listChanges = 0;
    } view;
    MergePage page(ui, settings, view, view);
    std::vector<std::string> files;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}) {
        files.push_back(dir.File(name));
        test::WriteFile(files.back(), test::Frames(test::HeaderFields{}, 4));
    }
    page.DropFiles(files); // sorted by name
    for (int row = 0; row < 5; ++row)
        page.List().MutableRow(row).selected = row == 0 || row == 3;
    view.listChanges = 0;
    page.MoveMergeSelection(MergeDropRow(1, page.List().RowCount()));
    EXPECT_EQ(view.listChanges, 1);
    std::vector<std::string> paths;
    for (int row = 0; row < page.List().RowCount(); ++row)
        paths.push_back(page.List().Row(row).Path());
    EXPECT_EQ(paths, (std::vector<std::string>{files[1], files[0], files[3], files[2], files[4]}));
    EXPECT_EQ(page.List().SelectedRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(page.List().FocusedRow(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace keldro
