#include "cue_command.h"

#include "cli_app.h"
#include "cli_interaction.h"
#include "display_text.h"
#include "timecue/cue_sheet.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace keldro::cli {
namespace {

using json = nlohmann::ordered_json;

std::vector<CueTrackRecord> TracksOf(const CProcessCUEFile& cue)
{
    std::vector<CueTrackRecord> tracks(static_cast<std::size_t>(cue.GetTrackCount()));
    for (int i = 0; i < cue.GetTrackCount(); ++i)
        cue.GetTrack(i, tracks[static_cast<std::size_t>(i)]);
    return tracks;
}

json CueJson(const CProcessCUEFile& cue)
{
    json tracks = json::array();
    for (const CueTrackRecord& track : TracksOf(cue)) {
        tracks.push_back({{"title", ToDisplayText(track.title)},
                          {"performer", ToDisplayText(track.performer)},
                          {"first_index", track.firstIndex},
                          {"last_index", track.lastIndex}});
    }
    json sheet;
    PutPath(sheet, "audio", cue.GetAudioPath());
    sheet["title"] = ToDisplayText(cue.GetSheetTitle());
    sheet["performer"] = ToDisplayText(cue.GetSheetPerformer());
    sheet["tracks"] = tracks;
    return sheet;
}

void PrintHuman(std::ostream& out, const CProcessCUEFile& cue)
{
    out << ToDisplayText(cue.GetAudioPath()) << '\n'
        << ToDisplayText(cue.GetSheetTitle()) << '\n'
        << ToDisplayText(cue.GetSheetPerformer()) << '\n';
    int number = 0;
    for (const CueTrackRecord& track : TracksOf(cue)) {
        out << ++number << '\t' << track.firstIndex << '\t' << track.lastIndex << '\t'
            << ToDisplayText(track.title) << '\t' << ToDisplayText(track.performer) << '\n';
    }
}

} // namespace

CLI::App* AddCueCommand(CLI::App& app, CueOptions& options)
{
    CLI::App* command = app.add_subcommand("cue", "Read a CUE sheet as the split page does");
    command->add_flag("--json", options.json, "Print a JSON object");
    command->add_option("SHEET", options.sheet, "CUE sheet")->required();
    return command;
}

int RunCue(const CueOptions& options, std::ostream& out, std::ostream& err)
{
    CProcessCUEFile cue;
    CliInteraction ui(err, false);
    if (!cue.Read(options.sheet, ui))
        return kExitFailed;
    if (options.json)
        out << CueJson(cue).dump(2) << '\n';
    else
        PrintHuman(out, cue);
    return kExitOk;
}

} // namespace keldro::cli
