#include "shell/other_settings.h"

#include "common/setting_keys.h"
#include "string_table.h"

namespace keldro {
namespace {

using S = OtherSettings;
namespace k = setting;

std::string YesNo(int flag)
{
    return std::string(LoadString(flag != 0 ? StringId::SummaryYes : StringId::SummaryNo));
}

std::string FolderText(int mode, const std::string& folder)
{
    return mode == 1 ? std::string(LoadString(StringId::SummaryLastFolder)) : folder;
}

// The summaries read the store directly, with the dialog's defaults.
OtherSettings ReadWithoutStoring(SettingsStore& settings)
{
    OtherSettings values;
    for (const OtherSettingsFlag& flag : kOtherSettingsFlags)
        values.*flag.field = settings.GetSettingInt(flag.key, flag.defaultValue);
    values.mergeFolder = settings.GetSettingText(k::kMergingSourceFolder, "");
    values.splitFolder = settings.GetSettingText(k::kSplittingSourceFolder, "");
    return values;
}

} // namespace

const std::array<OtherSettingsFlag, 17> kOtherSettingsFlags{{
    {k::kMergeSourceFolderMode, &S::mergeFolderMode, 1},
    {k::kJoinerShowSuccess, &S::joinerShowSuccess, 1},
    {k::kJoinerAutoOpenFolder, &S::joinerAutoOpenFolder, 0},
    {k::kJoinerPlayResult, &S::joinerPlayResult, 0},
    {k::kStartNewMerge, &S::startNewMerge, 0},
    {k::kValidateBeforeMerge, &S::validateBeforeMerge, 1},
    {k::kJoinerConfirmOverwrite, &S::joinerConfirmOverwrite, 1},
    {k::kSplitSourceFolderMode, &S::splitFolderMode, 1},
    {k::kSplitterOutputFolderConfirmation, &S::outputFolderConfirmation, 1},
    {k::kSplitterConfirmOverwrite, &S::splitterConfirmOverwrite, 1},
    {k::kSplitterCountGenerated, &S::countGenerated, 0},
    {k::kSplitterShowSuccess, &S::splitterShowSuccess, 1},
    {k::kSplitterAutoOpenFolder, &S::splitterAutoOpenFolder, 0},
    {k::kExportCue, &S::exportCue, 0},
    {k::kStartNewSplit, &S::startNewSplit, 0},
    {k::kWriteVbrHeader, &S::writeVbrHeader, 1},
    {k::kSeamlessSplit, &S::seamlessSplit, 0},
}};

OtherSettings LoadOtherSettings(SettingsStore& settings)
{
    OtherSettings values;
    for (const OtherSettingsFlag& flag : kOtherSettingsFlags)
        values.*flag.field = ReadOrStoreDefault(settings, flag.key, flag.defaultValue);
    values.mergeFolder = settings.GetSettingText(k::kMergingSourceFolder, "");
    if (values.mergeFolder.empty())
        settings.SetSettingText(k::kMergingSourceFolder, "");
    values.splitFolder = settings.GetSettingText(k::kSplittingSourceFolder, "");
    if (values.splitFolder.empty())
        settings.SetSettingText(k::kSplittingSourceFolder, "");
    return values;
}

void StoreOtherSettings(SettingsStore& settings, const OtherSettings& values)
{
    for (const OtherSettingsFlag& flag : kOtherSettingsFlags)
        settings.SetSettingInt(flag.key, values.*flag.field);
    settings.SetSettingText(k::kMergingSourceFolder, values.mergeFolder);
    settings.SetSettingText(k::kSplittingSourceFolder, values.splitFolder);
}

std::string MergeSettingsSummary(SettingsStore& settings)
{
    const OtherSettings v = ReadWithoutStoring(settings);
    return FormatString(
        StringId::MergeSettingsSummary, FolderText(v.mergeFolderMode, v.mergeFolder).c_str(),
        YesNo(v.validateBeforeMerge).c_str(), YesNo(v.joinerConfirmOverwrite).c_str(),
        YesNo(v.joinerShowSuccess).c_str(), YesNo(v.joinerAutoOpenFolder).c_str(),
        YesNo(v.joinerPlayResult).c_str(), YesNo(v.startNewMerge).c_str());
}

std::string SplitSettingsSummary(SettingsStore& settings)
{
    const OtherSettings v = ReadWithoutStoring(settings);
    const std::string count(LoadString(v.countGenerated != 0 ? StringId::SummaryCountSelected
                                                             : StringId::SummaryCountAll));
    return FormatString(
        StringId::SplitSettingsSummary, FolderText(v.splitFolderMode, v.splitFolder).c_str(),
        YesNo(v.outputFolderConfirmation).c_str(), YesNo(v.splitterConfirmOverwrite).c_str(),
        count.c_str(), YesNo(v.splitterShowSuccess).c_str(),
        YesNo(v.splitterAutoOpenFolder).c_str(), YesNo(v.exportCue).c_str(),
        YesNo(v.startNewSplit).c_str());
}

} // namespace keldro
