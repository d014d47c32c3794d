// Every section and value name of the settings store, spelled once. Readers
// pass their own defaults where they read: some differ on purpose.
#pragma once

#include "base/settings.h"

#include <array>

namespace keldro::setting {

inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kJoiner = "MP3 Joiner";
inline constexpr std::string_view kSplitter = "MP3 Splitter";
// One flag per show-once message, named by the message's value name.
inline constexpr std::string_view kDialogToggle = "VantryDialogToggle";

// Main window
inline constexpr SettingKey kInitialPanel{kSettings, "Initial Panel"};
inline constexpr SettingKey kInitialPosX{kSettings, "Initial Pos X"};
inline constexpr SettingKey kInitialPosY{kSettings, "Initial Pos Y"};
inline constexpr SettingKey kInitialWidth{kSettings, "Initial Width"};
inline constexpr SettingKey kInitialHeight{kSettings, "Initial Height"};
inline constexpr SettingKey kInstallPath{kSettings, "Install Path"};

// Merge page
inline constexpr SettingKey kMergeSourceFolderMode{kSettings, "Merge Source Folder Mode"};
inline constexpr SettingKey kMergingSourceFolder{kSettings, "Merging Source Folder"};
inline constexpr SettingKey kMergeSourceLastFolder{kSettings, "Merge Source Last Folder"};
inline constexpr SettingKey kMergingDestinationFolder{kSettings, "Merging Destination Folder"};
inline constexpr SettingKey kMergingDestinationName{kSettings, "Merging Destination Name"};
inline constexpr SettingKey kValidateBeforeMerge{kSettings, "Validate MP3s before Merge"};
inline constexpr SettingKey kJoinerConfirmOverwrite{kSettings, "Joiner Confirm Overwrite"};
inline constexpr SettingKey kJoinerShowSuccess{kSettings, "Joiner Show Success"};
inline constexpr SettingKey kJoinerAutoOpenFolder{kSettings, "Joiner Auto Open Folder"};
inline constexpr SettingKey kJoinerPlayResult{kSettings, "Joiner Play Result"};
inline constexpr SettingKey kStartNewMerge{kSettings, "Start New Merge"};
inline constexpr SettingKey kSortingColumnOfJoiner{kSettings, "Sorting Column of Joiner"};
inline constexpr SettingKey kSortingDir{kSettings, "Sorting Dir"};
inline constexpr SettingKey kAutoApplySilence{kJoiner, "Auto Apply Silence"};
inline constexpr SettingKey kSilenceLength{kJoiner, "Silence Length"};
inline constexpr SettingKey kMergeTempOutputFolder{kJoiner, "Merge Temp Output Folder"};

// Split page
inline constexpr SettingKey kSplitSourceFolderMode{kSettings, "Split Source Folder Mode"};
inline constexpr SettingKey kSplittingSourceFolder{kSettings, "Splitting Source Folder"};
inline constexpr SettingKey kSplitSourceLastFolder{kSettings, "Split Source Last Folder"};
inline constexpr SettingKey kSplittingDestinationFolder{kSettings, "Splitting Destination Folder"};
inline constexpr SettingKey kSplittingTempOutputFolder{kSettings, "Splitting Temp Output Folder"};
inline constexpr SettingKey kNamingRuleOfSplitter{kSettings, "Naming rule of Splitter"};
inline constexpr SettingKey kSplitMode{kSettings, "Split Mode"};
inline constexpr SettingKey kSplitterOutputFolderConfirmation{
    kSettings, "Splitter Output Folder Confirmation"};
inline constexpr SettingKey kSplitterConfirmOverwrite{kSettings, "Splitter Confirm Overwrite"};
inline constexpr SettingKey kSplitterCountGenerated{kSettings,
                                                    "Splitter Count Generated Track Number"};
inline constexpr SettingKey kSplitterShowSuccess{kSettings, "Splitter Show Success"};
inline constexpr SettingKey kSplitterAutoOpenFolder{kSettings, "Splitter Auto Open Folder"};
inline constexpr SettingKey kExportCue{kSettings, "Export CUE"};
inline constexpr SettingKey kStartNewSplit{kSettings, "Start New Split"};
inline constexpr SettingKey kTimeStepSize{kSettings, "Time Step Size"};
inline constexpr SettingKey kTimePageSize{kSettings, "Time Page Size"};
inline constexpr SettingKey kAutoOverlap{kSettings, "Auto Overlap"};
inline constexpr SettingKey kBwOverlap{kSettings, "BW Overlap"};
inline constexpr SettingKey kFwOverlap{kSettings, "FW Overlap"};
inline constexpr SettingKey kId3AutoSequence{kSettings, "Splitter ID3 Auto Sequence"};
inline constexpr SettingKey kId3AutoTrack{kSettings, "Splitter ID3 Auto Track"};
inline constexpr SettingKey kId3AutoTrackIfNull{kSettings, "Splitter ID3 Auto Track if null"};
inline constexpr SettingKey kAutoAddSpecial{kSettings, "Auto Add Special"};
inline constexpr SettingKey kAddSpecialType{kSettings, "Add Special Type"};
inline constexpr SettingKey kAddSpecialBySection{kSettings, "Add Special By Section"};
inline constexpr SettingKey kAddSpecialByTime{kSettings, "Add Special By Time"};
inline constexpr SettingKey kWriteVbrHeader{kSplitter, "Write VBR Header"};
inline constexpr SettingKey kSeamlessSplit{kSplitter, "Seamless Split"};

// Show-once messages
inline constexpr std::string_view kSwitchModeDlg = "Switch Mode Dlg";
inline constexpr SettingKey kSwitchModeDialog{kDialogToggle, kSwitchModeDlg};

enum class Kind
{
    Int,
    Text
};

struct Entry
{
    SettingKey key;
    Kind kind;
};

// Every value of the store, for whatever must visit them all.
inline constexpr std::array kAll{
    Entry{kInitialPanel, Kind::Int},
    Entry{kInitialPosX, Kind::Int},
    Entry{kInitialPosY, Kind::Int},
    Entry{kInitialWidth, Kind::Int},
    Entry{kInitialHeight, Kind::Int},
    Entry{kInstallPath, Kind::Text},
    Entry{kMergeSourceFolderMode, Kind::Int},
    Entry{kMergingSourceFolder, Kind::Text},
    Entry{kMergeSourceLastFolder, Kind::Text},
    Entry{kMergingDestinationFolder, Kind::Text},
    Entry{kMergingDestinationName, Kind::Text},
    Entry{kValidateBeforeMerge, Kind::Int},
    Entry{kJoinerConfirmOverwrite, Kind::Int},
    Entry{kJoinerShowSuccess, Kind::Int},
    Entry{kJoinerAutoOpenFolder, Kind::Int},
    Entry{kJoinerPlayResult, Kind::Int},
    Entry{kStartNewMerge, Kind::Int},
    Entry{kSortingColumnOfJoiner, Kind::Int},
    Entry{kSortingDir, Kind::Int},
    Entry{kAutoApplySilence, Kind::Int},
    Entry{kSilenceLength, Kind::Int},
    Entry{kMergeTempOutputFolder, Kind::Text},
    Entry{kSplitSourceFolderMode, Kind::Int},
    Entry{kSplittingSourceFolder, Kind::Text},
    Entry{kSplitSourceLastFolder, Kind::Text},
    Entry{kSplittingDestinationFolder, Kind::Text},
    Entry{kSplittingTempOutputFolder, Kind::Text},
    Entry{kNamingRuleOfSplitter, Kind::Text},
    Entry{kSplitMode, Kind::Int},
    Entry{kSplitterOutputFolderConfirmation, Kind::Int},
    Entry{kSplitterConfirmOverwrite, Kind::Int},
    Entry{kSplitterCountGenerated, Kind::Int},
    Entry{kSplitterShowSuccess, Kind::Int},
    Entry{kSplitterAutoOpenFolder, Kind::Int},
    Entry{kExportCue, Kind::Int},
    Entry{kStartNewSplit, Kind::Int},
    Entry{kTimeStepSize, Kind::Int},
    Entry{kTimePageSize, Kind::Int},
    Entry{kAutoOverlap, Kind::Int},
    Entry{kBwOverlap, Kind::Int},
    Entry{kFwOverlap, Kind::Int},
    Entry{kId3AutoSequence, Kind::Int},
    Entry{kId3AutoTrack, Kind::Int},
    Entry{kId3AutoTrackIfNull, Kind::Int},
    Entry{kAutoAddSpecial, Kind::Int},
    Entry{kAddSpecialType, Kind::Int},
    Entry{kAddSpecialBySection, Kind::Int},
    Entry{kAddSpecialByTime, Kind::Int},
    Entry{kWriteVbrHeader, Kind::Int},
    Entry{kSeamlessSplit, Kind::Int},
    Entry{kSwitchModeDialog, Kind::Int},
};

} // namespace keldro::setting
