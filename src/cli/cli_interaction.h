// The command line's side of the core's questions: it never asks (its flags
// decide), never cancels, and shows progress on stderr when that is a terminal.
#pragma once

#include "base/user_interaction.h"

#include <iosfwd>
#include <string>

namespace keldro::cli {

class CliInteraction final : public UserInteraction
{
public:
    // showProgress: draw a bar on err (stderr being a terminal).
    CliInteraction(std::ostream& err, bool showProgress);

    void PumpEvents() override {}
    // Prints what is not a question, and answers what is: Yes, OK, or Abort
    // when a file cannot be written.
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void BeginProgress() override;
    void SetProgress(int percent) override;
    void EndProgress() override;
    bool TakeCancelRequest() override { return false; }
    // Nothing is ever chosen in a dialog: every file and folder comes from flags.
    std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::vector<std::string> ChooseOpenFiles(const FileDialogRequest&) override { return {}; }
    // The one file a command names for writing, when it has one.
    std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override
    {
        return saveFile_;
    }
    std::optional<std::string> ChooseFolder(std::string_view, std::string_view) override
    {
        return {};
    }
    void OpenFolder(std::string_view) override {}
    void OpenFile(std::string_view) override {}
    void ShowFrameLoadingHint(bool) override {}
    // Existing files are handled from the command line's flags before a run;
    // anything asked later is skipped unless told otherwise.
    OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override;
    ShowOnceAnswer ShowOnce(const ShowOnceMessage& message,
                            const std::function<void(bool)>& dontShowChanged) override;

    // The answer to OK/Cancel questions and to show-once messages.
    void SetAnswer(MessageAnswer answer) { answer_ = answer; }
    void SetOverwriteResult(OverwriteResult result) { overwrite_ = result; }
    void SetSaveFile(std::string path) { saveFile_ = std::move(path); }
    // The label drawn in front of the bar.
    void SetProgressLabel(std::string label) { label_ = std::move(label); }

private:
    void Draw(int percent);

    std::ostream& err_;
    bool showProgress_;
    MessageAnswer answer_ = MessageAnswer::Cancel;
    OverwriteResult overwrite_ = OverwriteResult::Skip;
    std::optional<std::string> saveFile_;
    std::string label_;
    int shown_ = -1;
};

// True when standard error is a terminal.
bool StderrIsTerminal();

} // namespace keldro::cli
