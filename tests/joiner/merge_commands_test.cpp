// Which commands the merge page offers in each state: greyed in the context
// menu, and enabled on the buttons and keys.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/merge_commands.h"
#include "joiner/merge_page.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using C = MergeCommand;

const std::vector<C> kAllCommands = {
    C::AddFiles,      C::InsertSilence,     C::Remove,           C::Clear, C::MoveUp,
    C::MoveDown,      C::MoveTop,           C::MoveBottom,       C::Play,  C::CopyTags,
    C::OtherSettings, C::ChooseDestination, C::StartOrStopMerge,
};

struct EnablingCase
{
    const char* name;
    MergePageState state;
    std::vector<C> menu;    // entries not greyed
    std::vector<C> buttons; // buttons and keys enabled
};

bool Holds(const std::vector<C>& commands, C command)
{
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

TEST(MergeCommandEnablingTest, EachStateEnablesExactlyItsCommands)
{
    const std::vector<C> always = {C::OtherSettings, C::ChooseDestination, C::StartOrStopMerge};
    const std::vector<C> idle = {C::AddFiles, C::InsertSilence};
    const std::vector<C> rows = {C::Remove,  C::Clear,      C::MoveUp,  C::MoveDown,
                                 C::MoveTop, C::MoveBottom, C::CopyTags};
    auto join = [](std::initializer_list<std::vector<C>> parts) {
        std::vector<C> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::vector<C> idleButtons = join({always, idle, rows, {C::Play}});
    const std::vector<C> busyButtons = join({always, {C::Play}});
    const std::vector<EnablingCase> cases = {
        {"empty list", {}, join({always, idle}), idleButtons},
        {"rows, none selected", {false, true, false}, join({always, idle}), idleButtons},
        {"rows selected", {false, true, true}, idleButtons, idleButtons},
        // A stale flag without rows names nothing.
        {"selection without rows", {false, false, true}, join({always, idle}), idleButtons},
        {"merging, none selected", {true, true, false}, always, busyButtons},
        {"merging, rows selected", {true, true, true}, busyButtons, busyButtons},
    };
    for (const EnablingCase& c : cases) {
        for (const C command : kAllCommands) {
            EXPECT_EQ(IsMergeCommandEnabled(command, c.state), Holds(c.menu, command))
                << c.name << ", menu, command " << static_cast<int>(command);
            EXPECT_EQ(IsMergeButtonEnabled(command, c.state), Holds(c.buttons, command))
                << c.name << ", button, command " << static_cast<int>(command);
        }
    }
}

class MergePageStateTest : public ::testing::Test
{
protected:
    MergePageStateTest()
    {
        settings_.SetSettingInt(setting::kValidateBeforeMerge, 0);
        settings_.SetSettingInt(setting::kJoinerShowSuccess, 0);
    }

    std::string MakeFile(const std::string& name)
    {
        const std::string path = dir_.File(name);
        test::WriteFile(path, test::Frames(test::HeaderFields{}, 8));
        return path;
    }

    test::TempDir dir_;
    test::ScriptedInteraction ui_;
    MemorySettings settings_;
    test::ScriptedMergeView view_;
    MergePage page_{ui_, settings_, view_, view_};
};

TEST_F(MergePageStateTest, ThePageReportsRowsSelectionAndTheRun)
{
    auto same = [](const MergePageState& a, const MergePageState& b) {
        return a.busy == b.busy && a.hasRows == b.hasRows && a.hasSelection == b.hasSelection;
    };
    EXPECT_TRUE(same(page_.State(), {false, false, false}));
    page_.DropFiles({MakeFile("a.mp3"), MakeFile("b.mp3")});
    EXPECT_TRUE(same(page_.State(), {false, true, true})); // the added row is selected
    page_.List().SelectOnly(-1);
    EXPECT_TRUE(same(page_.State(), {false, true, false}));
    EXPECT_FALSE(IsMergeCommandEnabled(C::Remove, page_.State()));
    page_.List().SelectOnly(1);

    // During the run, as the window asks between two chunks.
    ui_.saveFiles.push_back(dir_.File("joined.mp3"));
    std::vector<MergePageState> during;
    ui_.onPump = [&] { during.push_back(page_.State()); };
    page_.RunMerge();
    ASSERT_FALSE(during.empty());
    EXPECT_TRUE(same(during.front(), {true, true, true}));
    EXPECT_FALSE(IsMergeCommandEnabled(C::AddFiles, during.front()));
    EXPECT_TRUE(IsMergeCommandEnabled(C::Play, during.front()));
    EXPECT_FALSE(page_.State().busy);
}

// The table keeps adding closed during a run: the page ignores drops then.
TEST_F(MergePageStateTest, DropsDuringARunAreIgnored)
{
    page_.DropFiles({MakeFile("a.mp3")});
    ui_.saveFiles.push_back(dir_.File("joined.mp3"));
    const std::string late = MakeFile("late.mp3");
    int rowsDuring = -1;
    ui_.onPump = [&] {
        if (rowsDuring >= 0)
            return;
        page_.DropFiles({late});
        rowsDuring = page_.List().RowCount();
    };
    page_.RunMerge();
    EXPECT_EQ(rowsDuring, 1);
    EXPECT_EQ(page_.List().RowCount(), 1);
    EXPECT_EQ(page_.LastRunOutcome(), RunOutcome::Done);
}

// During a run only the commands the buttons leave enabled run: every key and
// menu entry goes through Execute, so none of them edits the rows the run reads.
TEST_F(MergePageStateTest, ExecuteDuringARunChangesNoRow)
{
    page_.DropFiles({MakeFile("a.mp3"), MakeFile("b.mp3"), MakeFile("c.mp3")});
    page_.List().SetSelection({0, 1, 2}, 0);
    ui_.saveFiles.push_back(dir_.File("joined.mp3"));
    std::vector<bool> ran;
    ui_.onPump = [&] {
        if (!ran.empty())
            return;
        for (const C command : {C::Remove, C::Clear, C::MoveDown, C::MoveBottom, C::CopyTags,
                                C::InsertSilence, C::AddFiles})
            ran.push_back(page_.Execute(command));
        page_.List().SetSelection({0}, 0);
        page_.MoveMergeSelection(2); // the first row dragged onto the last
        page_.ClickHeader(0);        // sorted by name, descending
    };
    page_.RunMerge();
    EXPECT_EQ(ran, std::vector<bool>(7, false));
    EXPECT_EQ(page_.LastRunOutcome(), RunOutcome::Done);
    EXPECT_EQ(view_.merged.size(), 3U);
    EXPECT_EQ(page_.List().RowCount(), 3);
    EXPECT_EQ(page_.List().Row(0).Text(MergeColumn::FileName), "a.mp3");
    EXPECT_EQ(page_.List().SortDirection(), 1);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSortingDir, -1), 1);
    EXPECT_TRUE(page_.Tags().title.empty());

    // Idle again: the same commands run.
    page_.List().SetSelection({2}, 2);
    EXPECT_TRUE(page_.Execute(C::MoveTop));
    EXPECT_EQ(page_.List().Row(0).Text(MergeColumn::FileName), "c.mp3");
    EXPECT_TRUE(page_.Execute(C::Remove));
    EXPECT_EQ(page_.List().RowCount(), 2);
    EXPECT_FALSE(page_.Execute(C::OtherSettings)); // the main window's, not the page's
}

TEST(MergeListKeyTest, TheListsKeysAndNothingElse)
{
    using K = MergeListKey;
    const MergeKeyModifiers none{}, ctrl{.ctrl = true}, shift{.shift = true};
    const MergeKeyModifiers ctrlShift{.ctrl = true, .shift = true}, alt{.alt = true};
    EXPECT_EQ(MapMergeListKey(K::Up, ctrl), C::MoveUp);
    EXPECT_EQ(MapMergeListKey(K::Down, ctrl), C::MoveDown);
    EXPECT_EQ(MapMergeListKey(K::Home, ctrl), C::MoveTop);
    EXPECT_EQ(MapMergeListKey(K::End, ctrl), C::MoveBottom);
    EXPECT_EQ(MapMergeListKey(K::Delete, none), C::Remove);
    EXPECT_EQ(MapMergeListKey(K::Delete, shift), C::Clear);
    EXPECT_EQ(MapMergeListKey(K::F2, none), C::Play);
    // Plain arrows, Home and End move the current row as in any list; a
    // selection extended with Shift is the list's too.
    for (const K key : {K::Up, K::Down, K::Home, K::End}) {
        for (const MergeKeyModifiers modifiers : {none, shift, ctrlShift, alt})
            EXPECT_EQ(MapMergeListKey(key, modifiers), std::nullopt) << static_cast<int>(key);
    }
    for (const MergeKeyModifiers modifiers : {ctrl, ctrlShift, alt}) {
        EXPECT_EQ(MapMergeListKey(K::Delete, modifiers), std::nullopt);
        EXPECT_EQ(MapMergeListKey(K::F2, modifiers), std::nullopt);
    }
    EXPECT_EQ(MapMergeListKey(K::F2, shift), std::nullopt);
}

} // namespace
} // namespace keldro
