// keldro-cli info: the analysis a source gets when it is loaded.
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace keldro {
class CMP3Info;
}

namespace keldro::cli {

struct InfoOptions
{
    bool json = false;
    std::vector<std::string> files;
};

CLI::App* AddInfoCommand(CLI::App& app, InfoOptions& options);
int RunInfo(const InfoOptions& options, std::ostream& out, std::ostream& err);

// The JSON object of one file; analysed tells whether Analyse returned true.
nlohmann::ordered_json InfoJson(const CMP3Info& info, const std::string& path, bool analysed);

} // namespace keldro::cli
