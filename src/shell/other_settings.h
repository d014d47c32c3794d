// CSplitterSettings' values, the options of both pages that the other-settings dialog edits, and
// the two summaries of them on the settings page.
#pragma once

#include "base/settings.h"

#include <array>
#include <string>

namespace keldro {

struct OtherSettings
{
    // Merge page
    int mergeFolderMode = 1; // 0: always mergeFolder; 1: the folder last opened
    std::string mergeFolder;
    int validateBeforeMerge = 1;
    int joinerConfirmOverwrite = 1;
    int joinerShowSuccess = 1;
    int joinerAutoOpenFolder = 0;
    int joinerPlayResult = 0;
    int startNewMerge = 0;
    // Split page
    int splitFolderMode = 1;
    std::string splitFolder;
    int outputFolderConfirmation = 1;
    int splitterConfirmOverwrite = 1;
    int countGenerated = 0;
    int splitterShowSuccess = 1;
    int splitterAutoOpenFolder = 0;
    int exportCue = 0;
    int startNewSplit = 0;
    int writeVbrHeader = 1;
    int seamlessSplit = 0;
};

// The seventeen flags and modes: where each is stored and its default.
struct OtherSettingsFlag
{
    SettingKey key;
    int OtherSettings::*field;
    int defaultValue;
};
extern const std::array<OtherSettingsFlag, 17> kOtherSettingsFlags;

// What the dialog starts from: every flag read, and a missing one stored with
// its default at once; both folders read, and stored (empty) when missing.
OtherSettings LoadOtherSettings(SettingsStore& settings);
// OK of the dialog: all eighteen values.
void StoreOtherSettings(SettingsStore& settings, const OtherSettings& values);

// The settings page's two read-only summaries (without "Write VBR Header").
std::string MergeSettingsSummary(SettingsStore& settings);
std::string SplitSettingsSummary(SettingsStore& settings);

} // namespace keldro
