// keldro-cli split: the split page's list and run, driven by flags.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>
#include <vector>

namespace keldro::cli {

struct SplitOptions
{
    std::vector<std::string> at;
    std::vector<int> parts;
    std::vector<std::string> every;
    std::string mode = "auto";
    std::string out = ".";
    std::string name = "%F-%S";
    std::string tracks;
    bool countGenerated = false;
    std::string overlapBack;
    std::string overlapForward;
    std::string title, artist, album, year, comment, track, genre;
    bool noVbrHeader = false;
    bool seamless = false; // pieces carry the frames their first frame needs
    bool overwrite = false;
    bool skipExisting = false;
    bool exportCue = false;
    bool dryRun = false;
    bool json = false;
    std::string source;
    CLI::App* command = nullptr;
};

CLI::App* AddSplitCommand(CLI::App& app, SplitOptions& options);
int RunSplitCommand(const SplitOptions& options, std::ostream& out, std::ostream& err);

} // namespace keldro::cli
