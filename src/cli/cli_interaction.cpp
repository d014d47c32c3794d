#include "cli_interaction.h"

#include <ostream>
#include <unistd.h>

namespace keldro::cli {
namespace {

constexpr int kBarWidth = 30;

} // namespace

CliInteraction::CliInteraction(std::ostream& err, bool showProgress)
    : err_(err), showProgress_(showProgress)
{}

MessageAnswer CliInteraction::ShowMessage(std::string_view text, MessageIcon icon,
                                          MessageButtons buttons)
{
    if (icon != MessageIcon::Question)
        err_ << text << '\n';
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return answer_;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    case MessageButtons::AbortRetryIgnore:
        return MessageAnswer::Abort;
    }
    return answer_;
}

OverwriteAnswer CliInteraction::AskOverwrite(const OverwriteQuestion& question)
{
    OverwriteAnswer answer;
    answer.result = overwrite_;
    answer.newName = question.newName;
    return answer;
}

ShowOnceAnswer CliInteraction::ShowOnce(const ShowOnceMessage& message,
                                        const std::function<void(bool)>&)
{
    err_ << message.text << '\n';
    return {answer_ == MessageAnswer::Ok, false};
}

void CliInteraction::BeginProgress()
{
    shown_ = -1;
    Draw(0);
}

void CliInteraction::SetProgress(int percent)
{
    Draw(percent);
}

void CliInteraction::EndProgress()
{
    if (showProgress_ && shown_ >= 0)
        err_ << '\n' << std::flush;
    shown_ = -1;
}

void CliInteraction::Draw(int percent)
{
    if (!showProgress_ || percent == shown_)
        return;
    shown_ = percent;
    const int filled = percent * kBarWidth / 100;
    err_ << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << percent << '%'
         << std::flush;
}

bool StderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace keldro::cli
