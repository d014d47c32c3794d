#include "offset_command.h"

#include "cli_app.h"
#include "cli_interaction.h"
#include "display_text.h"
#include "engine/mp3_info.h"
#include "engine/stream_info_text.h"
#include "string_table.h"
#include "time_argument.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

namespace keldro::cli {
namespace {

std::optional<std::vector<TimeMs>> ParseTimes(const std::vector<std::string>& texts,
                                              std::ostream& err)
{
    std::vector<TimeMs> times;
    for (const std::string& text : texts) {
        const std::optional<TimeMs> time = ParseTimeArgument(text);
        if (!time) {
            err << "invalid TIME \"" << text << "\": " << LoadString(StringId::TimeFormatRule)
                << '\n';
            return std::nullopt;
        }
        times.push_back(*time);
    }
    return times;
}

} // namespace

CLI::App* AddOffsetCommand(CLI::App& app, OffsetOptions& options)
{
    CLI::App* command =
        app.add_subcommand("offset", "Print the byte offset a cut at each TIME would use");
    command->add_option("--mode", options.mode, "fast (estimate) or frame (frame table)")
        ->check(CLI::IsMember({"fast", "frame"}));
    command->add_option("--reference", options.reference,
                        "The source's duration on the caller's time scale (0: none)");
    command->add_flag("--json", options.json, "Print a JSON array");
    command->add_option("FILE", options.file, "MP3 file")->required();
    command->add_option("TIME", options.times, "Milliseconds, or m:ss.mmm / h:mm:ss.mmm")
        ->required();
    return command;
}

int RunOffset(const OffsetOptions& options, std::ostream& out, std::ostream& err)
{
    const std::optional<std::vector<TimeMs>> times = ParseTimes(options.times, err);
    const std::optional<TimeMs> reference = ParseTimeArgument(options.reference);
    if (!times || !reference) {
        if (!reference)
            err << "invalid --reference \"" << options.reference << "\"\n";
        return kExitUsage;
    }
    CMP3Info info;
    if (!info.Analyse(options.file) || !info.HasStream()) {
        err << LoadFailureMessage(info, ToDisplayText(options.file)) << '\n';
        return kExitFailed;
    }
    const bool fast = options.mode != "frame";
    if (!fast) {
        CliInteraction ui(err, StderrIsTerminal());
        ui.SetProgressLabel(std::string(LoadString(StringId::LoadingFramesCaption)));
        if (!info.LoadFrameTable(ui)) {
            err << LoadFailureMessage(info, ToDisplayText(options.file)) << '\n';
            return kExitFailed;
        }
    }
    nlohmann::ordered_json report = nlohmann::ordered_json::array();
    for (const TimeMs time : *times) {
        const std::uint32_t offset = info.TimeToOffset(time, *reference, fast);
        if (options.json)
            report.push_back({{"time_ms", time}, {"offset", offset}});
        else
            out << offset << '\n';
    }
    if (options.json)
        out << report.dump(2) << '\n';
    return kExitOk;
}

} // namespace keldro::cli
