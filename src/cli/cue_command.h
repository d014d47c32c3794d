// keldro-cli cue: what the CUE reader makes of a sheet.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>

namespace keldro::cli {

struct CueOptions
{
    bool json = false;
    std::string sheet;
};

CLI::App* AddCueCommand(CLI::App& app, CueOptions& options);
int RunCue(const CueOptions& options, std::ostream& out, std::ostream& err);

} // namespace keldro::cli
