// What the program learns at start-up before any window opens: the action and
// source given on its command line, and where its help book is.
#pragma once

#include <string>
#include <string_view>

namespace keldro {

class SettingsStore;

enum class StartupAction
{
    None = 0,
    Merge = 1,
    Split = 2
};

struct StartupCommand
{
    StartupAction action = StartupAction::None;
    std::string source; // empty when none was given
};

// The program's arguments joined with single blanks, as one command line.
std::string JoinArguments(int argc, const char* const* argv);

// "[-o X] -a ACTION -s SOURCE": the first "-a " and the first "-s " must both
// be there, "-s " at or after "-a "; otherwise the line is ignored. The action
// is "MERGE" or "SPLIT" exactly; the source is the rest of the line, trimmed,
// quotes and all.
StartupCommand ParseCommandLine(std::string_view line);

// The help book's entry page, Keldro.html: in "Install Path" when that value
// is set; else beside the program when it is there (a build tree, an unpacked
// copy); else in installedFolder, where the package puts it.
std::string HelpFilePath(SettingsStore& settings, const std::string& programFolder,
                         const std::string& installedFolder);

} // namespace keldro
