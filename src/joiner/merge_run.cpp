// The merge run: every listed file's audio frames into one output, with silence
// after the rows that ask for it, the first file's header frame patched with the
// totals, and one ID3v1 tag.
#include "base/interruption.h"
#include "base/output_file.h"
#include "base/system_error_text.h"
#include "base/user_interaction.h"
#include "common/overwrite_confirmation.h"
#include "common/setting_keys.h"
#include "joiner/merge_check.h"
#include "joiner/merge_page.h"
#include "joiner/merge_page_view.h"
#include "joiner/merge_run_state.h"
#include "joiner/silence.h"
#include "string_table.h"

#include <filesystem>
#include <memory>

namespace keldro {

void MergeComplete::Open(SettingsStore& settings)
{
    startNewMerge = ReadOrStoreDefault(settings, setting::kStartNewMerge, 0) == 1;
    openFolder = ReadOrStoreDefault(settings, setting::kJoinerAutoOpenFolder, 0) == 1;
}

void MergeComplete::Close(SettingsStore& settings) const
{
    settings.SetSettingInt(setting::kStartNewMerge, startNewMerge ? 1 : 0);
    settings.SetSettingInt(setting::kJoinerShowSuccess, dontShowAgain ? 0 : 1);
}

bool MergePage::ValidateMergeInputs()
{
    if (!FindMismatch(list_))
        return true;
    MergeValidate dialog;
    dialog.text = LoadString(StringId::MergeMismatch);
    dialog.skipNextTime = settings_.GetSettingInt(setting::kValidateBeforeMerge, 1) == 0;
    dialog.convertNow = [this] {
        if (const std::optional<std::string> list = WriteConvertList(list_, user_))
            LaunchConverter(converters_, view_, "KELDRO", "BATCHCONVERT_REMOVE", *list);
    };
    return view_.AskMismatch(dialog) == ValidateChoice::Ignore;
}

void MergePage::RequestMergeStop(bool ask)
{
    if (!busy_)
        return;
    askBeforeStop_ = ask;
    stopRequested_ = true;
}

bool MergePage::ChooseTarget(std::string& target)
{
    FileDialogRequest request;
    request.title = LoadString(StringId::ChooseTargetTitle);
    request.filter = LoadString(StringId::AudioFileFilter);
    request.defaultExtension = "mp3";
    request.fileName = settings_.GetSettingText(setting::kMergingDestinationName, "");
    request.folder = !destination_.empty()
                         ? destination_
                         : settings_.GetSettingText(setting::kMergeTempOutputFolder, "");
    const std::optional<std::string> chosen = user_.ChooseSaveFile(request);
    if (!chosen)
        return false;
    target = *chosen;
    const std::filesystem::path path(target);
    settings_.SetSettingText(setting::kMergingDestinationName, path.filename().string());
    const std::string folder = path.parent_path().string();
    settings_.SetSettingText(setting::kMergeTempOutputFolder, folder.empty() ? "" : folder + "/");
    return true;
}

// Offsets and the header's counts are 32-bit: an output of 4 GiB or more could
// not be read back, so it is refused before anything is written.
bool MergePage::PlannedOutputFits()
{
    std::uint64_t planned = WritesTag() ? 128 : 0;
    for (int row = 0; row < list_.RowCount(); ++row) {
        CMP3Info info;
        if (!info.Analyse(list_.Row(row).Path()) || !info.HasStream())
            continue; // the run asks about it when it gets there
        if (row == 0)
            planned += info.FirstFrameOffset() - info.VbrFrameOffset();
        planned += info.AudioEnd() - info.FirstFrameOffset();
        planned += SilenceBytes(info, list_.Row(row).SilenceSeconds());
    }
    if (planned <= CMP3Info::kMaxFileSize)
        return true;
    user_.ShowMessage(LoadString(StringId::MergeTooLarge), MessageIcon::Error, MessageButtons::Ok);
    return false;
}

// A target that is one of the sources, by name or by identity, would destroy it.
bool MergePage::TargetIsASource(const std::string& target)
{
    for (int row = 0; row < list_.RowCount(); ++row) {
        const std::string source = list_.Row(row).Path();
        if (source == target || IsSameFile(source, target)) {
            user_.ShowMessage(FormatString(StringId::SourceIsTarget, target.c_str()),
                              MessageIcon::Error, MessageButtons::Ok);
            return true;
        }
    }
    return false;
}

void MergePage::RunMerge()
{
    if (busy_) {
        RequestMergeStop(true);
        return;
    }
    lastRun_ = RunOutcome::Refused;
    // Every row holds audio (a file without any is never added), even when the
    // total, counted in whole seconds per file, reads 0 for a list of short clips.
    if (list_.RowCount() == 0) {
        user_.ShowMessage(LoadString(StringId::AddFilesFirst), MessageIcon::Warning,
                          MessageButtons::Ok);
        AddFilesCommand();
        return;
    }
    if (settings_.GetSettingInt(setting::kValidateBeforeMerge, 1) == 1 && !ValidateMergeInputs())
        return;
    if (!PlannedOutputFits())
        return;
    std::string target;
    if (!ChooseTarget(target) || TargetIsASource(target))
        return;
    OverwriteRun overwrite{setting::kJoinerConfirmOverwrite, false, false};
    const OverwriteDecision decision = ConfirmOverwrite(user_, settings_, overwrite, target);
    if (!decision.write) {
        view_.ProgressChanged(0, list_.RowCount());
        view_.StatusChanged(LoadString(StringId::StatusAborted));
        return;
    }
    // Another name chosen on the spot is checked like the first.
    if (decision.path != target && TargetIsASource(decision.path))
        return;
    Run run;
    run.target = decision.path;
    run.mayReplace = decision.mayReplace;
    run.out = std::make_unique<OutputFile>(run.target);
    if (!run.out->IsOpen()) {
        ReportFailure(run, run.target, SystemErrorReason(run.out->Error()));
        return;
    }
    busy_ = true;
    stopRequested_ = false;
    view_.RunningChanged(true);
    const int rows = run.rows = list_.RowCount();
    view_.ProgressChanged(0, rows);
    int row = 0;
    for (; row < rows && MergeRow(row, run); ++row)
        view_.ProgressChanged(row, rows);
    const bool completed = Finish(run);
    // A click on the stop button while the output was being finished arrives
    // here, while it still stops, rather than starting another merge.
    if (completed) {
        user_.PumpEvents();
        stopRequested_ = false;
    }
    lastRun_ = completed ? RunOutcome::Done : RunOutcome::Aborted;
    view_.ProgressChanged(completed ? row : 0, rows);
    view_.StatusChanged(LoadString(completed ? StringId::StatusDone : StringId::StatusAborted));
    if (completed)
        CompleteMerge(run.target);
    busy_ = false;
    view_.RunningChanged(false);
}

void MergePage::ResetFields()
{
    tags_ = {};
    view_.FieldsChanged();
}

void MergePage::CompleteMerge(const std::string& target)
{
    bool openFolder = settings_.GetSettingInt(setting::kJoinerAutoOpenFolder, 0) == 1;
    bool play = false;
    if (settings_.GetSettingInt(setting::kJoinerShowSuccess, 1) == 1) {
        MergeComplete dialog;
        dialog.Open(settings_);
        dialog.message = FormatString(StringId::MergeDone, target.c_str());
        if (view_.ShowMergeComplete(dialog)) {
            dialog.Close(settings_);
            play = dialog.playNow;
            openFolder = openFolder || dialog.openFolder;
        }
    }
    // Without a destination folder (the default) the result's own folder opens.
    if (openFolder && !destination_.empty()) {
        user_.OpenFolder(destination_);
    } else if (openFolder) {
        std::error_code error;
        const std::filesystem::path result = std::filesystem::absolute(target, error);
        user_.OpenFolder((error ? std::filesystem::path(target) : result.lexically_normal())
                             .parent_path()
                             .string());
    }
    if (play || settings_.GetSettingInt(setting::kJoinerPlayResult, 0) == 1)
        user_.OpenFile(target);
    if (settings_.GetSettingInt(setting::kStartNewMerge, 0) == 1) {
        ClearMergeList(false);
        view_.StatusChanged(LoadString(StringId::StatusIdle));
        view_.ProgressChanged(0, 0);
        ResetFields();
        AddFilesCommand();
    }
}

bool MergePage::AfterChunk()
{
    user_.PumpEvents();
    // Asked to end, the process stops at once: nobody is there to answer.
    if (PendingInterruption() != 0)
        return false;
    if (!stopRequested_)
        return true;
    stopRequested_ = false;
    return askBeforeStop_ &&
           user_.ShowMessage(LoadString(StringId::ConfirmAbort), MessageIcon::Warning,
                             MessageButtons::OkCancel) != MessageAnswer::Ok;
}

} // namespace keldro
