// keldro-cli merge: the merge page's list and run, driven by flags.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>
#include <vector>

namespace keldro::cli {

struct MergeOptions
{
    std::string output;
    int silence = 0;
    std::vector<std::string> silenceAfter; // N=SECONDS
    std::string title, artist, album, year, comment, genre;
    int track = 0;
    bool ignoreMismatch = false;
    bool noCheck = false;
    bool overwrite = false;
    bool json = false;
    std::vector<std::string> files;
    CLI::App* command = nullptr;
};

CLI::App* AddMergeCommand(CLI::App& app, MergeOptions& options);
int RunMergeCommand(const MergeOptions& options, std::ostream& out, std::ostream& err);

} // namespace keldro::cli
