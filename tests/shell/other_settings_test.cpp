// The other-settings values: defaults written at construction, all eighteen
// on OK, and the settings page's summaries.
#include "common/setting_keys.h"
#include "shell/other_settings.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

TEST(OtherSettingsTest, LoadingAnEmptyStoreWritesSixteenDefaultsAndTwoEmptyFolders)
{
    MemorySettings settings;
    const OtherSettings values = LoadOtherSettings(settings);
    for (const OtherSettingsFlag& flag : kOtherSettingsFlags) {
        EXPECT_EQ(settings.GetSettingInt(flag.key, -7), flag.defaultValue) << flag.key.value;
        EXPECT_EQ(values.*flag.field, flag.defaultValue) << flag.key.value;
    }
    EXPECT_EQ(settings.GetSettingText(setting::kMergingSourceFolder, "missing"), "");
    EXPECT_EQ(settings.GetSettingText(setting::kSplittingSourceFolder, "missing"), "");
    EXPECT_EQ(settings.GetSettingInt(setting::kWriteVbrHeader, -7), 1);
}

TEST(OtherSettingsTest, StoredValuesAreKeptAndOkWritesEveryOne)
{
    MemorySettings settings;
    settings.SetSettingInt(setting::kExportCue, 1);
    settings.SetSettingText(setting::kMergingSourceFolder, "/music");
    OtherSettings values = LoadOtherSettings(settings);
    EXPECT_EQ(values.exportCue, 1);
    EXPECT_EQ(values.mergeFolder, "/music");
    values.writeVbrHeader = 0;
    values.splitFolderMode = 0;
    values.splitFolder = "/in";
    StoreOtherSettings(settings, values);
    EXPECT_EQ(settings.GetSettingInt(setting::kWriteVbrHeader, 1), 0);
    EXPECT_EQ(settings.GetSettingInt(setting::kSplitSourceFolderMode, 1), 0);
    EXPECT_EQ(settings.GetSettingText(setting::kSplittingSourceFolder, ""), "/in");
}

TEST(OtherSettingsTest, SummariesOnAnEmptyStoreAndAfterChanges)
{
    MemorySettings settings;
    EXPECT_EQ(MergeSettingsSummary(settings),
              "默认源文件夹: \n    最后打开的文件夹\n在合并开始前进行的操作:\n  检查 MP3: 是\n"
              "  确认文件覆盖: 是\n在合并完成时进行的操作:\n  显示“成功”窗口:  是\n"
              "  打开目标文件夹:  否\n  播放已合并的 MP3:  否\n  开始新的合并:  否");
    EXPECT_EQ(
        SplitSettingsSummary(settings),
        "默认源文件夹:\n    最后打开的文件夹\n在分割开始前进行的操作:\n  输出文件夹确认:  是\n"
        "  确认文件覆盖: 是\n  计算音轨序号:  全部\n在分割完成后进行的操作:\n"
        "  显示“成功”窗口:  是\n  打开目标文件夹:  否\n  导出 CUE 文件:  否\n"
        "  开始新的分割:  否");
    // Reading the summaries stores nothing.
    EXPECT_EQ(settings.GetSettingInt(setting::kExportCue, -7), -7);

    settings.SetSettingInt(setting::kMergeSourceFolderMode, 0); // folder empty: empty line
    settings.SetSettingInt(setting::kJoinerPlayResult, 5);
    settings.SetSettingInt(setting::kSplitSourceFolderMode, 0);
    settings.SetSettingText(setting::kSplittingSourceFolder, "/in");
    settings.SetSettingInt(setting::kSplitterCountGenerated, 1);
    settings.SetSettingInt(setting::kExportCue, 1);
    EXPECT_EQ(MergeSettingsSummary(settings).rfind("默认源文件夹: \n    \n在合并开始前", 0), 0u);
    EXPECT_NE(MergeSettingsSummary(settings).find("播放已合并的 MP3:  是"), std::string::npos);
    const std::string split = SplitSettingsSummary(settings);
    EXPECT_EQ(split.substr(0, split.find("\n在")), "默认源文件夹:\n    /in");
    EXPECT_NE(split.find("计算音轨序号:  选定"), std::string::npos);
    EXPECT_NE(split.find("导出 CUE 文件:  是"), std::string::npos);
}

} // namespace
} // namespace keldro
