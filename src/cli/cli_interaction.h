// The command line's side of the core's questions: it never asks (its flags
// decide), never cancels, and shows progress on stderr when that is a terminal.
#pragma once

#include "shell/user_interaction.h"

#include <iosfwd>
#include <string>

namespace keldro::cli {

class CliInteraction final : public UserInteraction
{
public:
    // showProgress: draw a bar on err (stderr being a terminal).
    CliInteraction(std::ostream& err, bool showProgress);

    void PumpEvents() override {}
    // Prints the message and gives the answer the command line has chosen.
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void BeginProgress() override;
    void SetProgress(int percent) override;
    void EndProgress() override;
    bool TakeCancelRequest() override { return false; }
    // Existing files are handled from the command line's flags before a run;
    // anything asked later is skipped unless told otherwise.
    OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override;
    ShowOnceAnswer ShowOnce(const ShowOnceMessage& message,
                            const std::function<void(bool)>& dontShowChanged) override;

    void SetAnswer(MessageAnswer answer) { answer_ = answer; }
    void SetOverwriteResult(OverwriteResult result) { overwrite_ = result; }
    // The label drawn in front of the bar.
    void SetProgressLabel(std::string label) { label_ = std::move(label); }

private:
    void Draw(int percent);

    std::ostream& err_;
    bool showProgress_;
    MessageAnswer answer_ = MessageAnswer::Cancel;
    OverwriteResult overwrite_ = OverwriteResult::Skip;
    std::string label_;
    int shown_ = -1;
};

// True when standard error is a terminal.
bool StderrIsTerminal();

} // namespace keldro::cli
