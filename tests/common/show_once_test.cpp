#include "common/setting_keys.h"
#include "common/show_once.h"
#include "scripted_interaction.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

ShowOnceMessage SwitchModeNotice()
{
    ShowOnceMessage message;
    message.caption = "切换分割模式";
    message.text = "notice";
    return message;
}

TEST(ShowOnce, ShownUntilSwitchedOff)
{
    MemorySettings settings;
    test::ScriptedInteraction ui;
    ui.showOnceAnswer = {true, false};
    EXPECT_EQ(ShowMessageOnce(ui, settings, SwitchModeNotice(), setting::kSwitchModeDlg).outcome,
              ShowOnceOutcome::Ok);
    EXPECT_TRUE(ui.showOnceMessages.at(0).showDontShowBox);
    EXPECT_EQ(settings.Size(), 0u); // nothing stored without a click
}

TEST(ShowOnce, TickingTheBoxThenCancelStillSwitchesItOff)
{
    MemorySettings settings;
    test::ScriptedInteraction ui;
    ui.dontShowClicks = 1;
    ui.showOnceAnswer = {false, false};
    EXPECT_EQ(ShowMessageOnce(ui, settings, SwitchModeNotice(), setting::kSwitchModeDlg).outcome,
              ShowOnceOutcome::Cancel);
    EXPECT_EQ(settings.GetSettingInt(setting::kSwitchModeDialog, 1), 0);
    EXPECT_EQ(ShowMessageOnce(ui, settings, SwitchModeNotice(), setting::kSwitchModeDlg).outcome,
              ShowOnceOutcome::Skipped);
    EXPECT_EQ(ui.showOnceMessages.size(), 1u);
}

TEST(ShowOnce, TickingAndUntickingShowsItAgain)
{
    MemorySettings settings;
    test::ScriptedInteraction ui;
    ui.dontShowClicks = 2;
    ShowMessageOnce(ui, settings, SwitchModeNotice(), setting::kSwitchModeDlg);
    EXPECT_EQ(settings.GetSettingInt(setting::kSwitchModeDialog, 0), 1);
    EXPECT_TRUE(IsMessageShown(settings, setting::kSwitchModeDlg, 1));
}

TEST(ShowOnce, WithoutAValueNameItCanNeverBeSwitchedOff)
{
    MemorySettings settings;
    test::ScriptedInteraction ui;
    ui.dontShowClicks = 1;
    ui.showOnceAnswer = {true, true};
    const ShowOnceResult result = ShowMessageOnce(ui, settings, SwitchModeNotice(), "");
    EXPECT_EQ(result.outcome, ShowOnceOutcome::Ok);
    EXPECT_TRUE(result.custom);
    EXPECT_FALSE(ui.showOnceMessages.at(0).showDontShowBox);
    EXPECT_EQ(settings.Size(), 0u);
}

TEST(ShowOnce, CallersDefaultDecidesForAMissingValue)
{
    MemorySettings settings;
    test::ScriptedInteraction ui;
    EXPECT_EQ(ShowMessageOnce(ui, settings, SwitchModeNotice(), "Some Dlg", 0).outcome,
              ShowOnceOutcome::Skipped);
    settings.SetSettingInt(setting::kDialogToggle, "Some Dlg", 1);
    EXPECT_TRUE(IsMessageShown(settings, "Some Dlg", 0));
}

} // namespace
} // namespace keldro
