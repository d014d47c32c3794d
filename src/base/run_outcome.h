// How a split or merge run ended, for front ends that report it.
#pragma once

namespace keldro {

enum class RunOutcome
{
    NotRun,
    Refused, // a check before the run said no; nothing was written
    Aborted, // stopped by the user, by a failure, or because the process is ending
    Done,
};

} // namespace keldro
