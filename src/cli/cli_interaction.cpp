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

MessageAnswer CliInteraction::ShowMessage(std::string_view text, MessageIcon, MessageButtons)
{
    err_ << text << '\n';
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
