#include "interrupt_handlers.h"

#include "base/interruption.h"
#include "base/output_file.h"

#include <ostream>
#include <unistd.h>

namespace keldro::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

void OnInterrupt(int signal)
{
    if (PendingInterruption() == 0) {
        NoteInterruption(signal);
        return;
    }
    // Asked again: no waiting for the run to reach its next check.
    RemoveUnfinishedOutputs();
    ::_exit(InterruptedExitCode(signal));
}

} // namespace

InterruptHandlers::InterruptHandlers()
{
    for (int i = 0; i < 4; ++i) {
        ::sigaction(kSignals[i], nullptr, &previous_[i]);
        // A signal ignored from the start (nohup, a background job) stays ignored.
        if (previous_[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = kSignals[i] == SIGXFSZ ? SIG_IGN : OnInterrupt;
        sigemptyset(&action.sa_mask);
        // Every other stop signal waits while one is handled.
        for (const int signal : kSignals)
            sigaddset(&action.sa_mask, signal);
        action.sa_flags = SA_RESTART;
        ::sigaction(kSignals[i], &action, nullptr);
    }
}

InterruptHandlers::~InterruptHandlers()
{
    for (int i = 0; i < 4; ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
}

int InterruptedExitCode(int signal)
{
    return 128 + signal;
}

int ReportInterruption(std::ostream& err, std::string_view left)
{
    const int signal = PendingInterruption();
    err << "keldro-cli: interrupted by signal " << signal << "; " << left << '\n';
    return InterruptedExitCode(signal);
}

} // namespace keldro::cli
