#include "merge_command.h"

#include "base/interruption.h"
#include "base/settings.h"
#include "cli_app.h"
#include "cli_interaction.h"
#include "common/setting_keys.h"
#include "display_text.h"
#include "engine/id3v1.h"
#include "interrupt_handlers.h"
#include "joiner/merge_check.h"
#include "joiner/merge_page.h"
#include "joiner/merge_page_view.h"
#include "joiner/silence.h"
#include "repeatable_option.h"
#include "string_table.h"
#include "taken_name.h"

#include <charconv>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>

namespace keldro::cli {
namespace {

// The window's side of the merge page on the command line: the mismatch
// warning is answered from --ignore-mismatch, what was merged is kept.
class CliMergeView final : public MergePageView, public ConverterHost
{
public:
    CliMergeView(std::ostream& err, bool ignoreMismatch) : err_(err), ignore_(ignoreMismatch) {}

    bool ShowInsertSilence(InsertSilence&) override { return false; }
    ValidateChoice AskMismatch(MergeValidate& dialog) override
    {
        if (ignore_)
            return ValidateChoice::Ignore;
        err_ << dialog.text << '\n';
        return ValidateChoice::Cancel;
    }
    bool ShowMergeComplete(MergeComplete&) override { return false; }
    void ShowConverterDownload() override {}
    void FileMerged(const MergedFile& file) override { files.push_back(file); }
    void MergeFinished(const MergeSummary& done) override { summary = done; }

    std::optional<std::string> InstallPath(std::string_view) override { return {}; }
    bool StartProgram(const std::string&, const std::vector<std::string>&) override
    {
        return false;
    }

    std::vector<MergedFile> files;
    std::optional<MergeSummary> summary;

private:
    std::ostream& err_;
    bool ignore_;
};

// "N=SECONDS" entries, rows counted from 1.
std::optional<std::map<int, int>> ParseSilenceAfter(const std::vector<std::string>& entries)
{
    std::map<int, int> silences;
    for (const std::string& entry : entries) {
        const std::size_t equals = entry.find('=');
        int row = 0;
        int seconds = 0;
        const char* text = entry.data();
        if (equals == std::string::npos ||
            std::from_chars(text, text + equals, row).ptr != text + equals ||
            std::from_chars(text + equals + 1, text + entry.size(), seconds).ptr !=
                text + entry.size() ||
            row < 1 || seconds < 0)
            return std::nullopt;
        silences[row] = seconds;
    }
    return silences;
}

void ConfigureSettings(const MergeOptions& options, SettingsStore& settings)
{
    settings.SetSettingInt(setting::kSortingColumnOfJoiner, -1); // the order given
    settings.SetSettingInt(setting::kValidateBeforeMerge, options.noCheck ? 0 : 1);
    settings.SetSettingInt(setting::kJoinerConfirmOverwrite, options.overwrite ? 0 : 1);
    settings.SetSettingInt(setting::kJoinerShowSuccess, 0);
    settings.SetSettingInt(setting::kJoinerAutoOpenFolder, 0);
    settings.SetSettingInt(setting::kJoinerPlayResult, 0);
    settings.SetSettingInt(setting::kStartNewMerge, 0);
}

void PrintReport(std::ostream& out, const CliMergeView& view, bool json)
{
    const MergeSummary& summary = *view.summary;
    if (!json) {
        out << ToDisplayText(summary.output) << '\n';
        return;
    }
    using json_t = nlohmann::ordered_json;
    json_t files = json_t::array();
    for (const MergedFile& file : view.files) {
        json_t entry;
        PutPath(entry, "path", file.path);
        entry["start_offset"] = file.startOffset;
        entry["end_offset"] = file.endOffset;
        entry["frames"] = file.frames;
        entry["silence_frames"] = file.silenceFrames;
        files.push_back(entry);
    }
    json_t report;
    PutPath(report, "output", summary.output);
    report["files"] = files;
    report["frame_total"] = summary.frameTotal;
    report["byte_total"] = summary.byteTotal;
    report["vbr_header"] = std::string(VbrHeaderTypeName(summary.header));
    report["tag"] = summary.tag;
    out << report.dump(2) << '\n';
}

} // namespace

CLI::App* AddMergeCommand(CLI::App& app, MergeOptions& options)
{
    CLI::App* command = app.add_subcommand("merge", "Join MP3 files into one, as the merge page");
    options.command = command;
    command->add_option("-o,--output", options.output, "The file to write")->required();
    command->add_option("--silence", options.silence, "Seconds of silence after every file");
    OneValueEach(command->add_option("--silence-after", options.silenceAfter,
                                     "N=SECONDS: silence after the Nth file (repeatable)"));
    command->add_option("--title", options.title, "Tag title");
    command->add_option("--artist", options.artist, "Tag artist");
    command->add_option("--album", options.album, "Tag album");
    command->add_option("--year", options.year, "Tag year");
    command->add_option("--comment", options.comment, "Tag comment");
    command->add_option("--track", options.track, "Tag track number");
    command->add_option("--genre", options.genre, "Tag genre, by name");
    command->add_flag("--ignore-mismatch", options.ignoreMismatch,
                      "Go on when the files' parameters differ");
    command->add_flag("--no-check", options.noCheck, "Skip the parameter check");
    command->add_flag("--overwrite", options.overwrite, "Replace an existing TARGET");
    command->add_flag("--json", options.json, "Print a JSON report");
    command->add_option("FILE", options.files, "MP3 files, in the order to join")->required();
    return command;
}

int RunMergeCommand(const MergeOptions& options, std::ostream& out, std::ostream& err)
{
    const std::optional<std::map<int, int>> silenceAfter = ParseSilenceAfter(options.silenceAfter);
    const std::uint32_t genre = options.genre.empty() ? kNoGenre : GenreIndex(options.genre);
    if (!silenceAfter || options.silence < 0 || options.track < 0 ||
        (!options.genre.empty() && genre == kNoGenre)) {
        err << "invalid --silence, --silence-after, --track or --genre\n";
        return kExitUsage;
    }
    if (const auto existing = options.overwrite ? std::nullopt : TakenName(options.output)) {
        err << "not replacing " << *existing << " (--overwrite replaces it)\n";
        return kExitFailed;
    }
    const InterruptHandlers handlers;
    MemorySettings settings;
    ConfigureSettings(options, settings);
    CliInteraction ui(err, false);
    ui.SetSaveFile(options.output);
    CliMergeView view(err, options.ignoreMismatch);
    MergePage page(ui, settings, view, view);
    for (const std::string& file : options.files) {
        if (!page.AddMergeEntry(page.List().RowCount(), file))
            return kExitFailed;
    }
    page.AfterMergeAdd(0);
    for (int row = 0; row < page.List().RowCount(); ++row) {
        const auto given = silenceAfter->find(row + 1);
        const int seconds = given != silenceAfter->end() ? given->second : options.silence;
        page.List().MutableRow(row).Text(MergeColumn::Silence) = SilenceText(seconds);
    }
    page.SetTags({.title = options.title,
                  .artist = options.artist,
                  .album = options.album,
                  .year = options.year,
                  .comment = options.comment,
                  .track = options.track,
                  .genreSelection = genre == kNoGenre ? 0 : static_cast<int>(genre) + 1});
    page.RunMerge();
    // A signal after the output was complete stopped nothing: the merge is done.
    if (PendingInterruption() != 0 && page.LastRunOutcome() != RunOutcome::Done)
        return ReportInterruption(err, "nothing was written");
    if (page.LastRunOutcome() != RunOutcome::Done || !view.summary)
        return kExitFailed;
    PrintReport(out, view, options.json);
    return kExitOk;
}

} // namespace keldro::cli
