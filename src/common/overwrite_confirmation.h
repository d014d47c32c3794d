// CConfirmOverwriteDlg's loop, asking before an existing file is replaced: the loop the split and
// merge runs follow for every file they are about to write.
#pragma once

#include "base/settings.h"

#include <string>

namespace keldro {

class UserInteraction;

// One run's side of the question.
struct OverwriteRun
{
    SettingKey setting;        // "Splitter Confirm Overwrite" or "Joiner Confirm Overwrite"
    bool allowYesToAll = true; // a run that writes one file has no use for it
    bool yesToAll = false;     // chosen earlier in this run
};

struct OverwriteDecision
{
    bool write = false;
    std::string path; // where to write: the asked path or another name
    // A file at path may be replaced: the user said so, now or for the whole
    // run or for good. Otherwise one that appears there meanwhile is kept.
    bool mayReplace = false;
};

// Asks while the run's setting is 1, Yes to all has not been chosen and the
// path exists; another name chosen on the spot is checked again.
OverwriteDecision ConfirmOverwrite(UserInteraction& ui, SettingsStore& settings, OverwriteRun& run,
                                   std::string path);

} // namespace keldro
