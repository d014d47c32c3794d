// keldro-cli offset: the byte offsets a cut at the given times would use.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>
#include <vector>

namespace keldro::cli {

struct OffsetOptions
{
    std::string mode = "fast";
    std::string reference = "0";
    bool json = false;
    std::string file;
    std::vector<std::string> times;
};

CLI::App* AddOffsetCommand(CLI::App& app, OffsetOptions& options);
int RunOffset(const OffsetOptions& options, std::ostream& out, std::ostream& err);

} // namespace keldro::cli
