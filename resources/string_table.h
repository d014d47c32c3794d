// The string table: user-visible texts shared by the core and both front ends.
// Texts are UTF-8; placeholders are printf-style.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <type_traits>

namespace keldro {

enum class StringId
{
    // Files
    LoadMp3Failed,    // %s path
    FileTooLarge,     // %s path
    CannotOpenFile,   // %s path
    CannotCreateFile, // %s path
    ConfirmOverwrite, // %s path

    // CUE sheets
    CueFormatError,   // %d line
    CueTimeError,     // %d track
    CueSheetTooLarge, // %s path
    CueTooManyTracks, // %d tracks

    // Stream information text
    StreamInfoVbr,   // %s duration, %s version, %d layer, %.0f kbps, %s label, %d Hz, %s mode
    StreamInfoCbr,   // %s duration, %s version, %d layer, %.0f kbps, %d Hz, %s mode
    StreamLabelVbr,  // a Xing header
    StreamLabelVbri, // a VBRI header
    ChannelStereo,
    ChannelJointStereo,
    ChannelDual,
    ChannelMono,

    // Frame table
    LoadingFramesCaption,
    ConfirmCancelLoadingFrames,

    // Split list
    AlreadyInList, // %s time
    SelectItemFirst,
    ConfirmUnloadSource,
    ConfirmClearList,
    LoadSourceFirst,
    CueSaveCancelled,
    SaveCueTitle,
    CueFileFilter,
    TrackLabel, // %d row, %d rows, %s start, %s end, %s overlap note, %.1f size, %s unit
    TrackLabelInitial,
    OverlapNone,
    OverlapForward,
    OverlapBackward,
    OverlapBoth,
    UnitKilobytes,
    UnitMegabytes,
    ListColumns,

    // Track tag editor
    TagEditorCaption,
    TagEditorLine, // %d row, %s start, %s end
    TagEditorResetQuestion,
    TagEditorHelp,

    // Special split and boundaries
    SpecialWholeRange, // %d rows, %s start, %s end
    SpecialTrackRange, // %d row, %s start, %s end
    NoSectionSelected,
    MaximumLabel,         // %s time
    FixedTimeZero,        // %s time
    FixedTimeTooSmall,    // %s time, %d pieces
    FixedTimeBeyondWhole, // %s time, %s length
    FixedTimeBeyondTrack, // %s time, %s length
    BadSectionCount,      // %d pieces
    ConfirmReplaceTracks,
    StartNotBeforeEnd,
    EndNotAfterStart,
    TrackUpdateCaption, // %d row, %d rows

    // Source loading
    ChooseSourceTitle,
    SourceFileFilter,
    AudioFileFilter,
    CueAudioMissing, // %s audio path
    SwitchModeCaption,
    SwitchModeText,
    ModeAuto,
    ModeFast,
    ModeFrame,
    LoadingFramesLine,
    LoadingFramesTip,

    // Split run
    NoRowChecked,
    OnlyOneRow,
    EmptyNamingRule,
    ChooseOutputFolder,
    NoDestination,
    ConfirmAbort,
    SplittingStatus, // %d row, %d rows, %s name
    StatusIdle,
    StatusAborted,
    StatusDone,
    SplitDone,        // %s folder
    SplitDoneWithCue, // %s message, %s sheet
    NamingHelp,

    // Split page window
    SplitListHint,
    SplitCellTooltip,
    HeaderCheckOn,
    HeaderCheckOff,
    MenuChooseSource,
    MenuUnloadSource,
    MenuEqualParts,
    MenuOverlaps,
    MenuPreviewTrack,
    MenuUpdateTrack,
    MenuSetStart,
    MenuSetEnd,
    MenuSetLength,
    MenuEditTags,
    MenuRemoveTrack,
    MenuClearList,
    MenuSaveList,
    MenuOtherSettings,
    ModeMenuTitle,
    ModeMenuAuto,
    ModeMenuFast,
    ModeMenuFrame,
    StartSplitButton,
    StopSplitButton,
    PlayButton,
    PreviewButton,
    StopPlaybackButton,
    StartMergeButton,
    StopMergeButton,
    MenuAddMergeFiles,
    MenuSetSilence,
    MenuRemoveMergeFiles,
    MenuMoveUp,
    MenuMoveDown,
    MenuMoveTop,
    MenuMoveBottom,
    MenuPlay,
    SpinStepUp,
    SpinStepDown,
    SliderSelectionRange, // %d per cent, %d per cent

    // Merge list and silence
    MergeColumns,
    MergeListHint,
    SilenceNone,
    BitrateVbr,    // %.0f kbps
    BitrateCbr,    // %.0f kbps
    SizeKilobytes, // %.0f
    SizeMegabytes, // %.1f
    AddMergeFilesTitle,
    Mp3OnlyFilter,
    ConfirmClearMergeList,
    ChooseMergeFolder,
    InsertSilenceCaption,
    EnterInteger,

    // Parameter check and converter
    MergeMismatch,
    ConvertListFailed,
    ConverterMissing,

    // Merge run
    AddFilesFirst,
    ChooseTargetTitle,
    SourceIsTarget, // %s path
    MergingStatus,  // %d row, %d rows, %s name
    MergeDone,      // %s path

    // Time values
    TimeFormatRule,

    // Tag fields
    TagTitle,
    TagArtist,
    TagAlbum,
    TagYear,
    TagComment,
    TagTrack,
    TagGenre,
    TagNone,

    // Playback
    PlaybackLibraryFailed,
    PlaybackDeviceFailed,

    // Settings page summaries
    MergeSettingsSummary, // %s folder, then six %s yes/no
    SplitSettingsSummary, // %s folder, %s, %s yes/no, %s count, four %s yes/no
    SummaryYes,
    SummaryNo,
    SummaryLastFolder,
    SummaryCountSelected,
    SummaryCountAll,

    // Main window
    ConfirmExitWhileBusy,
    CancelButton,
    HelpFileMissing, // %s path
    ProductName,
    ProductVersion,
    WindowCaption, // %s product, %s version
    FrameModeHint,
    ChooseMergeSourceFolder,
    ChooseSplitSourceFolder,

    // Why a file could not be written: a line of its own under the message
    ReasonNoSpace,
    ReasonPermission,
    ReasonReadOnly,
    ReasonNoFolder,
    ReasonNotAFolder,
    ReasonNameTooLong,
    ReasonFileTooBig,
    ReasonInputOutput,
    ReasonOther, // %d error number, %s the system's text
    ReasonSourceChangedSplitting,
    ReasonSourceChangedMerging,
    ReasonTargetIsSource,
    CannotCreateFolder, // %s path
    MergeTooLarge,
    Count
};

std::string_view LoadString(StringId id);

// printf-style formatting of a string-table text. Arguments must be numbers or
// C strings: std::string is refused at compile time instead of crashing at run time.
std::string FormatStringV(const char* format, ...);

template <typename... Args>
std::string FormatString(StringId id, Args... args)
{
    static_assert(((std::is_arithmetic_v<Args> || std::is_same_v<Args, const char*> ||
                    std::is_same_v<Args, char*>)&&...),
                  "FormatString takes numbers and C strings only");
    return FormatStringV(LoadString(id).data(), args...);
}

} // namespace keldro
