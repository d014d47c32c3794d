// Which commands the split page offers in each state, and the small commands
// the window calls directly: Add, the check boxes, selection and destination.
#include "common/setting_keys.h"
#include "mp3_builder.h"
#include "split_page_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::HeaderFields;

struct EnablingCase
{
    const char* name;
    SplitPageState state;
    std::vector<SplitCommand> enabled;
};

const std::vector<SplitCommand> kAllCommands = {
    SplitCommand::ChooseSource,      SplitCommand::UnloadSource,   SplitCommand::EqualParts,
    SplitCommand::Overlaps,          SplitCommand::SpecialSplit,   SplitCommand::PreviewTrack,
    SplitCommand::UpdateTrack,       SplitCommand::EditTags,       SplitCommand::RemoveTrack,
    SplitCommand::ClearList,         SplitCommand::SaveList,       SplitCommand::OtherSettings,
    SplitCommand::AddCutPoint,       SplitCommand::EditNamingRule, SplitCommand::SwitchMode,
    SplitCommand::ChooseDestination, SplitCommand::StartOrStopRun,
};

TEST(SplitCommandEnablingTest, EachStateEnablesExactlyItsCommands)
{
    using C = SplitCommand;
    const std::vector<C> always = {C::OtherSettings, C::ChooseDestination, C::StartOrStopRun};
    const std::vector<C> idle = {C::ChooseSource, C::EditNamingRule, C::SwitchMode};
    const std::vector<C> loaded = {C::UnloadSource, C::EqualParts,  C::Overlaps,
                                   C::SpecialSplit, C::AddCutPoint, C::SaveList};
    const std::vector<C> track = {C::EditTags, C::RemoveTrack, C::ClearList};
    auto join = [](std::initializer_list<std::vector<C>> parts) {
        std::vector<C> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::vector<EnablingCase> cases = {
        {"no source", {}, join({always, idle})},
        {"source", {true, false, false, false, false, true}, join({always, idle, loaded})},
        {"track, no decoded length",
         {true, false, true, false, false, false},
         join({always, idle, loaded, track})},
        {"track, decode-only stream",
         {true, false, true, false, true, true},
         join({always, idle, loaded, track, {C::UpdateTrack}})},
        {"track with audio",
         {true, false, true, true, true, true},
         join({always, idle, loaded, track, {C::UpdateTrack, C::PreviewTrack}})},
        {"running", {true, true, true, true, true, true}, join({always, {C::SaveList}})},
    };
    for (const EnablingCase& c : cases) {
        for (const SplitCommand command : kAllCommands) {
            const bool expected =
                std::find(c.enabled.begin(), c.enabled.end(), command) != c.enabled.end();
            EXPECT_EQ(IsCommandEnabled(command, c.state), expected)
                << c.name << ", command " << static_cast<int>(command);
        }
    }
}

class SplitCommandsTest : public test::SplitPageFixture
{
protected:
    void Load()
    {
        const std::string source = dir_.File("music.mp3");
        test::WriteFile(source, test::Frames(HeaderFields{}, 1500)); // 39.18 s
        ASSERT_TRUE(page_.LoadSource(source));
        view_.listChanges = 0;
    }
};

TEST_F(SplitCommandsTest, AddNeedsASourceAndSelectsTheNewRowWithItsRawRange)
{
    EXPECT_FALSE(page_.AddCutPointCommand(1'000));
    EXPECT_FALSE(page_.IsEnabled(SplitCommand::AddCutPoint));
    Load();
    page_.List().MutableRow(0).backwardOverlap = 500;
    ASSERT_TRUE(page_.AddCutPointCommand(10'000));
    EXPECT_EQ(view_.listChanges, 1);
    EXPECT_EQ(page_.List().SelectedRow(), 1);
    EXPECT_EQ(page_.SelectedRange(), (std::pair<TimeMs, TimeMs>{10'000, page_.Total()}));
    EXPECT_FALSE(page_.AddCutPointCommand(10'000)); // already in the list: no notice
    EXPECT_EQ(view_.listChanges, 1);
    EXPECT_FALSE(page_.AddCutPointCommand(page_.Total()));

    page_.SelectTrack(0);
    EXPECT_EQ(page_.SelectedRange(), (std::pair<TimeMs, TimeMs>{0, 10'000}));
    page_.SelectTrack(7);
    EXPECT_EQ(page_.List().SelectedRow(), -1);
    EXPECT_EQ(page_.SelectedRange(), (std::pair<TimeMs, TimeMs>{0, 0}));
    EXPECT_FALSE(page_.IsEnabled(SplitCommand::EditTags));
}

TEST_F(SplitCommandsTest, CheckBoxesOfRowsAndHeader)
{
    Load();
    page_.AddCutPointCommand(10'000);
    EXPECT_TRUE(page_.SetRowChecked(0, false));
    EXPECT_FALSE(page_.List().Row(0).checked);
    EXPECT_TRUE(page_.List().Row(1).checked);
    EXPECT_TRUE(page_.List().HeaderChecked()); // a row's box leaves the header alone
    EXPECT_FALSE(page_.SetRowChecked(2, false));
    EXPECT_TRUE(page_.ToggleHeaderCheck());
    EXPECT_FALSE(page_.List().Row(1).checked);
    EXPECT_TRUE(page_.ToggleHeaderCheck());
    EXPECT_TRUE(page_.List().Row(0).checked);
}

TEST_F(SplitCommandsTest, TheDestinationChosenIsKeptAndStored)
{
    page_.SetDestination("/music/old");
    ui_.folders = {std::nullopt, std::string("/music/new")};
    EXPECT_FALSE(page_.ChooseDestination());
    EXPECT_EQ(page_.Destination(), "/music/old");
    EXPECT_TRUE(page_.ChooseDestination());
    EXPECT_EQ(page_.Destination(), "/music/new");
    EXPECT_EQ(settings_.GetSettingText(setting::kSplittingDestinationFolder, ""), "/music/new");
    ASSERT_EQ(ui_.folderRequests.size(), 2u);
    EXPECT_EQ(ui_.folderRequests[0].first, "请选择目标文件夹来保存分割后的输出文件:");
    EXPECT_EQ(ui_.folderRequests[0].second, "/music/old");
}

} // namespace
} // namespace keldro
