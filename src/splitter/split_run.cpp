// The split run: every checked row of the list into a named MP3 file.
#include "base/interruption.h"
#include "base/system_error_text.h"
#include "base/user_interaction.h"
#include "common/overwrite_confirmation.h"
#include "common/setting_keys.h"
#include "engine/segment_writer.h"
#include "splitter/split_complete.h"
#include "splitter/split_page.h"
#include "splitter/split_page_view.h"
#include "string_table.h"

#include <cstdio>
#include <filesystem>

namespace keldro {
namespace {

void ReplaceAll(std::string& text, std::string_view from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string Join(const std::string& folder, const std::string& name)
{
    return (std::filesystem::path(folder) / name).string();
}

} // namespace

struct SplitPage::RunState
{
    bool writeVbrHeader = true;
    bool seamless = false;
    bool fast = true;
    OverwriteRun overwrite{setting::kSplitterConfirmOverwrite, true, false};
    bool aborted = false;
    bool streamOffsets = false;
};

std::string SplitPage::BuildOutputName(int row, int counter) const
{
    char sequence[16];
    std::snprintf(sequence, sizeof sequence, "%03d", counter + 1);
    if (namingRule_.find('%') == std::string::npos)
        return namingRule_ + sequence;
    std::string name = namingRule_;
    ReplaceAll(name, "%T", list_.ExpandTagField(row, SplitColumn::Title));
    ReplaceAll(name, "%A", list_.ExpandTagField(row, SplitColumn::Artist));
    ReplaceAll(name, "%M", list_.ExpandTagField(row, SplitColumn::Album));
    ReplaceAll(name, "%K", list_.ExpandTagField(row, SplitColumn::Track));
    ReplaceAll(name, "%F", std::filesystem::path(fileName_).stem().string());
    ReplaceAll(name, "%S", sequence);
    for (char& c : name) {
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    }
    return name;
}

void SplitPage::RequestStop(bool askFirst)
{
    if (!running_)
        return;
    stopRequested_ = true;
    stopAskFirst_ = askFirst;
}

bool SplitPage::StopRequested()
{
    // Asked to end, the process stops at once: nobody is there to answer.
    if (PendingInterruption() != 0)
        return true;
    if (!stopRequested_)
        return false;
    stopRequested_ = false;
    return !stopAskFirst_ ||
           user_.ShowMessage(LoadString(StringId::ConfirmAbort), MessageIcon::Question,
                             MessageButtons::OkCancel) == MessageAnswer::Ok;
}

// Steps before the running state: everything that can refuse the run.
bool SplitPage::CheckBeforeRun(std::string& folder)
{
    const auto refuse = [&](StringId message, MessageIcon icon) {
        user_.ShowMessage(LoadString(message), icon, MessageButtons::Ok);
        return false;
    };
    if (list_.RowCount() == 0) {
        refuse(StringId::LoadSourceFirst, MessageIcon::Warning);
        ChooseSource();
        return false;
    }
    settings_.SetSettingText(setting::kNamingRuleOfSplitter, namingRule_);
    if (!list_.AnyChecked())
        return refuse(StringId::NoRowChecked, MessageIcon::Error);
    if (list_.RowCount() == 1 &&
        user_.ShowMessage(LoadString(StringId::OnlyOneRow), MessageIcon::Question,
                          MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    if (namingRule_.empty())
        return refuse(StringId::EmptyNamingRule, MessageIcon::Warning);
    folder = !destination_.empty()
                 ? destination_
                 : settings_.GetSettingText(setting::kSplittingTempOutputFolder, "");
    if (settings_.GetSettingInt(setting::kSplitterOutputFolderConfirmation, 1) == 1) {
        const std::optional<std::string> chosen =
            user_.ChooseFolder(LoadString(StringId::ChooseOutputFolder), folder);
        if (!chosen)
            return false;
        folder = *chosen;
    } else if (destination_.empty()) {
        return refuse(StringId::NoDestination, MessageIcon::Warning);
    }
    settings_.SetSettingText(setting::kSplittingTempOutputFolder, folder);
    return true;
}

void SplitPage::RunSplit()
{
    if (running_) {
        RequestStop(true);
        return;
    }
    std::string folder;
    lastRun_ = RunOutcome::Refused;
    if (!CheckBeforeRun(folder))
        return;
    // The run seeks the stream to find file offsets: whatever plays stops first.
    position_.StopAll();
    running_ = true;
    RefreshPosition();
    stopRequested_ = false;
    view_.RunningChanged(true);
    const int count = list_.RowCount();
    view_.ProgressChanged(0, count);

    RunState run;
    run.writeVbrHeader = settings_.GetSettingInt(setting::kWriteVbrHeader, 1) != 0;
    run.seamless = settings_.GetSettingInt(setting::kSeamlessSplit, 0) != 0;
    run.fast = !FrameAccurate();
    const bool countChecked = settings_.GetSettingInt(setting::kSplitterCountGenerated, 0) == 1;
    run.streamOffsets = stream_ != 0 && ProbeStreamOffsets();
    LocateCutsInOneWalk();
    int counter = 0;
    int row = 0;
    for (; row < count && !run.aborted; ++row) {
        view_.ProgressChanged(row, count);
        user_.PumpEvents();
        // Commands that change the list are refused while running; should rows
        // go missing all the same, the run ends instead of reading past them.
        if (StopRequested() || row >= list_.RowCount()) {
            run.aborted = true;
            break;
        }
        const std::string name = BuildOutputName(row, counter);
        view_.StatusChanged(FormatString(StringId::SplittingStatus, row + 1, count, name.c_str()));
        const bool checked = list_.Row(row).checked;
        if (checked || !countChecked)
            ++counter;
        if (checked)
            run.aborted = !WriteRow(row, Join(folder, name + ".mp3"), run);
    }
    // A click on the stop button during the last write arrives here, while it
    // still stops, rather than starting another run once this one is over.
    if (!run.aborted) {
        user_.PumpEvents();
        stopRequested_ = false;
    }
    view_.ProgressChanged(run.aborted ? 0 : row, count);
    view_.StatusChanged(LoadString(run.aborted ? StringId::StatusAborted : StringId::StatusDone));
    cutWalk_.reset();
    lastRun_ = run.aborted ? RunOutcome::Aborted : RunOutcome::Done;
    running_ = false;
    RefreshPosition();
    view_.RunningChanged(false);
    if (!run.aborted)
        CompleteRun(folder);
}

SegmentOptions SplitPage::RowOptions(int row, const RunState& run) const
{
    SegmentOptions options;
    options.writeVbrHeader = run.writeVbrHeader;
    options.seamless = run.seamless;
    const Id3v1Block tag = BuildID3v1Tag(
        list_.ExpandTagField(row, SplitColumn::Title),
        list_.ExpandTagField(row, SplitColumn::Artist),
        list_.ExpandTagField(row, SplitColumn::Album), list_.Row(row).year,
        list_.ExpandTagField(row, SplitColumn::Comment),
        static_cast<std::int32_t>(ReadLeadingNumber(list_.ExpandTagField(row, SplitColumn::Track))),
        GenreIndex(list_.Row(row).genre));
    if (!IsBlankID3v1Tag(tag))
        options.tag = tag;
    return options;
}

// The message of a failed row: the target that could not be written, or the
// source when it changed under the run, and the reason on a line of its own.
std::string SplitPage::RowFailureMessage(const std::string& path, const SegmentResult& result) const
{
    const std::string source = SourcePath();
    switch (result.error) {
    case SegmentError::SourceChanged:
        return FormatString(StringId::CannotOpenFile, source.c_str()) + "\n" +
               std::string(LoadString(StringId::ReasonSourceChangedSplitting));
    case SegmentError::ReadFailed:
        return FormatString(StringId::CannotOpenFile, source.c_str()) + "\n" +
               SystemErrorReason(result.systemError);
    case SegmentError::TargetIsSource:
        return FormatString(StringId::CannotCreateFile, path.c_str()) + "\n" +
               std::string(LoadString(StringId::ReasonTargetIsSource));
    default:
        break;
    }
    std::string message = FormatString(StringId::CannotCreateFile, path.c_str());
    if (const std::string reason = SystemErrorReason(result.systemError); !reason.empty())
        message += "\n" + reason;
    return message;
}

// Writes one row; false when the run is to end (the user chose to abort, or
// the process was asked to end).
bool SplitPage::WriteRow(int row, std::string path, RunState& run)
{
    SegmentOptions options = RowOptions(row, run);
    const auto [start, end] = list_.TrackRange(row, true);
    bool ask = true;
    for (;;) {
        if (ask) {
            const OverwriteDecision decision =
                ConfirmOverwrite(user_, settings_, run.overwrite, path);
            if (!decision.write)
                return true;
            if (decision.path != path) {
                path = decision.path;
                const std::string name = std::filesystem::path(path).stem().string();
                view_.StatusChanged(FormatString(StringId::SplittingStatus, row + 1,
                                                 list_.RowCount(), name.c_str()));
            }
            options.mayReplace = decision.mayReplace;
        }
        const SegmentResult result =
            WriteRange(path, start, end, run.fast, run.streamOffsets, options);
        view_.RowWritten(row, path, result);
        if (result.ok)
            return true;
        if (result.error == SegmentError::Stopped)
            return false;
        // A file appeared at the target meanwhile: it is asked about like one
        // that was there from the start.
        ask = result.error == SegmentError::TargetExists;
        if (ask)
            continue;
        const MessageAnswer answer = user_.ShowMessage(
            RowFailureMessage(path, result), MessageIcon::Error, MessageButtons::AbortRetryIgnore);
        if (answer == MessageAnswer::Ignore)
            return true;
        if (answer != MessageAnswer::Retry)
            return false;
    }
}

void SplitPage::CompleteRun(const std::string& folder)
{
    bool open = settings_.GetSettingInt(setting::kSplitterAutoOpenFolder, 0) == 1;
    bool newSplit = false;
    const std::string sheet =
        Join(folder_, std::filesystem::path(fileName_).stem().string() + ".cue");
    if (settings_.GetSettingInt(setting::kSplitterShowSuccess, 1) == 1) {
        SplitComplete dialog;
        dialog.Open(settings_);
        dialog.cuePath = sheet;
        dialog.message = FormatString(StringId::SplitDone, folder.c_str());
        if (view_.ShowSplitComplete(dialog))
            dialog.Close(settings_);
        newSplit = dialog.newSplit;
        open = open || dialog.openFolder;
    }
    if (settings_.GetSettingInt(setting::kExportCue, 0) == 1)
        WriteListAsCue(sheet);
    if (open)
        user_.OpenFolder(folder);
    if (newSplit || settings_.GetSettingInt(setting::kStartNewSplit, 0) == 1) {
        ChooseSource();
        view_.ProgressChanged(0, list_.RowCount());
        view_.StatusChanged(LoadString(StringId::StatusIdle));
    }
}

} // namespace keldro
