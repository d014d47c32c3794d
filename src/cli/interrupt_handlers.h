// SIGINT, SIGTERM and SIGHUP during a command that writes files: the first one
// stops the run as the stop button does (nothing half-written is left), a
// second one ends the process at once, removing the file being written.
// SIGXFSZ is ignored, so that a file-size limit shows as a failed write.
#pragma once

#include <csignal>
#include <iosfwd>
#include <string_view>

namespace keldro::cli {

class InterruptHandlers
{
public:
    InterruptHandlers();
    ~InterruptHandlers();
    InterruptHandlers(const InterruptHandlers&) = delete;
    InterruptHandlers& operator=(const InterruptHandlers&) = delete;

private:
    struct sigaction previous_[4] = {};
};

// The exit status of a process ended by the signal: 128 + its number.
int InterruptedExitCode(int signal);
// Says on err that the pending signal stopped the run, and what it left;
// returns the exit status for it.
int ReportInterruption(std::ostream& err, std::string_view left);

} // namespace keldro::cli
