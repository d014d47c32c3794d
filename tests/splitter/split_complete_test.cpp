// The success dialog's state: its text, and the options it reads and keeps.
#include "common/setting_keys.h"
#include "splitter/split_complete.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

SplitComplete Done()
{
    SplitComplete dialog;
    dialog.message = "分割已成功完成，分割后的文件已保存到文件夹: /music/out!";
    dialog.cuePath = "/music/Album.cue";
    return dialog;
}

TEST(SplitComplete, TextNamesTheSheetOnlyWhileTheExportIsChosen)
{
    SplitComplete dialog = Done();
    EXPECT_EQ(dialog.Text(), "分割已成功完成，分割后的文件已保存到文件夹: /music/out!");
    dialog.exportCue = true;
    EXPECT_EQ(dialog.Text(), "分割已成功完成，分割后的文件已保存到文件夹: /music/out!\n"
                             "导出 CUE Sheet 到 /music/Album.cue");
    dialog.exportCue = false;
    EXPECT_EQ(dialog.Text(), dialog.message);
}

TEST(SplitComplete, TextKeepsPercentSignsOfTheMessageAndPath)
{
    SplitComplete dialog;
    dialog.message = "100%s done";
    dialog.cuePath = "/a/%d.cue";
    dialog.exportCue = true;
    EXPECT_EQ(dialog.Text(), "100%s done\n导出 CUE Sheet 到 /a/%d.cue");
}

TEST(SplitComplete, OpenStoresMissingOptionsAndReadsStoredOnes)
{
    MemorySettings settings;
    SplitComplete dialog = Done();
    dialog.Open(settings);
    EXPECT_FALSE(dialog.exportCue);
    EXPECT_FALSE(dialog.openFolder);
    EXPECT_EQ(settings.GetSettingInt(setting::kExportCue, -1), 0);
    EXPECT_EQ(settings.GetSettingInt(setting::kSplitterAutoOpenFolder, -1), 0);

    settings.SetSettingInt(setting::kExportCue, 1);
    settings.SetSettingInt(setting::kSplitterAutoOpenFolder, 1);
    dialog.Open(settings);
    EXPECT_TRUE(dialog.exportCue);
    EXPECT_TRUE(dialog.openFolder);
}

TEST(SplitComplete, CloseKeepsTheExportAndTheDontShowBox)
{
    MemorySettings settings;
    SplitComplete dialog = Done();
    dialog.exportCue = true;
    dialog.dontShowAgain = true;
    dialog.Close(settings);
    EXPECT_EQ(settings.GetSettingInt(setting::kExportCue, -1), 1);
    EXPECT_EQ(settings.GetSettingInt(setting::kSplitterShowSuccess, -1), 0);
    dialog.exportCue = false;
    dialog.dontShowAgain = false;
    dialog.Close(settings);
    EXPECT_EQ(settings.GetSettingInt(setting::kExportCue, -1), 0);
    EXPECT_EQ(settings.GetSettingInt(setting::kSplitterShowSuccess, -1), 1);
}

} // namespace
} // namespace keldro
