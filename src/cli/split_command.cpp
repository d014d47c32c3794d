#include "split_command.h"

#include "base/interruption.h"
#include "base/settings.h"
#include "cli_app.h"
#include "cli_interaction.h"
#include "common/setting_keys.h"
#include "display_text.h"
#include "interrupt_handlers.h"
#include "repeatable_option.h"
#include "row_list.h"
#include "split_checks.h"
#include "split_report.h"
#include "splitter/bulk_split.h"
#include "splitter/split_page.h"
#include "string_table.h"
#include "time_argument.h"

#include <filesystem>
#include <ostream>

namespace keldro::cli {
namespace {

namespace fs = std::filesystem;

// Tag flags and the list columns they set on every row.
struct TagFlag
{
    const char* flag;
    std::string SplitOptions::*value;
    SplitColumn column;
};

constexpr TagFlag kTagFlags[] = {
    {"--title", &SplitOptions::title, SplitColumn::Title},
    {"--artist", &SplitOptions::artist, SplitColumn::Artist},
    {"--album", &SplitOptions::album, SplitColumn::Album},
    {"--year", &SplitOptions::year, SplitColumn::Year},
    {"--comment", &SplitOptions::comment, SplitColumn::Comment},
    {"--track", &SplitOptions::track, SplitColumn::Track},
    {"--genre", &SplitOptions::genre, SplitColumn::Genre},
};

void ConfigureSettings(const SplitOptions& options, SettingsStore& settings)
{
    const SplitMode mode = options.mode == "fast"    ? SplitMode::Fast
                           : options.mode == "frame" ? SplitMode::Frame
                                                     : SplitMode::Auto;
    settings.SetSettingInt(setting::kSplitMode, static_cast<int>(mode));
    settings.SetSettingText(setting::kNamingRuleOfSplitter, options.name);
    settings.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
    settings.SetSettingInt(setting::kSplitterShowSuccess, 0);
    settings.SetSettingInt(setting::kSplitterAutoOpenFolder, 0);
    settings.SetSettingInt(setting::kStartNewSplit, 0);
    // The sheet is written here after the run, so that its failure is seen.
    settings.SetSettingInt(setting::kExportCue, 0);
    settings.SetSettingInt(setting::kSplitterCountGenerated, options.countGenerated ? 1 : 0);
    settings.SetSettingInt(setting::kWriteVbrHeader, options.noVbrHeader ? 0 : 1);
    settings.SetSettingInt(setting::kSeamlessSplit, options.seamless ? 1 : 0);
    settings.SetSettingInt(setting::kSplitterConfirmOverwrite, options.overwrite ? 0 : 1);
}

int Usage(std::ostream& err, const std::string& message)
{
    err << message << '\n';
    return kExitUsage;
}

// A piece length is refused as the equal-parts dialog refuses it.
std::optional<std::string> CheckPieceLength(TimeMs length, TimeMs total)
{
    SpecialTimeAdd dialog;
    dialog.method = SpecialTimeAdd::ByFixedTime;
    dialog.wholeLength = total;
    dialog.fixedTime = length;
    if (const auto refusal = dialog.CheckOk())
        return refusal->message;
    return std::nullopt;
}

// --at, --parts and --every, in the order they were given.
int ApplyCuts(const SplitOptions& options, SplitPage& page, std::ostream& err)
{
    std::size_t at = 0, parts = 0, every = 0;
    const TimeMs total = page.Total();
    for (const CLI::Option* option : options.command->parse_order()) {
        if (option->get_name() == "--at") {
            page.List().AddCutPoint(*ParseTimeArgument(options.at[at++]));
        } else if (option->get_name() == "--parts") {
            // As the dialog refuses it: no more parts than the source has milliseconds.
            const int count = options.parts[parts++];
            if (const auto refusal = SpecialTimeAdd::CheckParts(count, total))
                return Usage(err, refusal->message);
            SplitIntoEqualParts(page.List(), count, 0, total);
        } else if (option->get_name() == "--every") {
            const TimeMs length = *ParseTimeArgument(options.every[every++]);
            if (const auto refusal = CheckPieceLength(length, total))
                return Usage(err, *refusal);
            SplitByFixedTime(page.List(), length, 0, total);
        }
    }
    return kExitOk;
}

int ApplyRowSettings(const SplitOptions& options, SplitPage& page, std::ostream& err)
{
    SplitList& list = page.List();
    for (int row = 0; row < list.RowCount(); ++row) {
        if (!options.overlapBack.empty() || !options.overlapForward.empty()) {
            list.MutableRow(row).backwardOverlap =
                *ParseTimeArgument(options.overlapBack.empty() ? "0" : options.overlapBack);
            list.MutableRow(row).forwardOverlap =
                *ParseTimeArgument(options.overlapForward.empty() ? "0" : options.overlapForward);
        }
        for (const TagFlag& tag : kTagFlags) {
            if (options.command->count(tag.flag) == 0)
                continue;
            const std::string& value = options.*(tag.value);
            list.SetCellText(row, tag.column,
                             tag.column == SplitColumn::Genre
                                 ? std::string(GenreName(GenreIndex(value)))
                                 : value);
        }
    }
    if (options.tracks.empty())
        return kExitOk;
    const std::set<int> rows = *ParseRowList(options.tracks);
    if (*rows.rbegin() > list.RowCount())
        return Usage(err, "--tracks: the list has " + std::to_string(list.RowCount()) + " rows");
    for (int row = 0; row < list.RowCount(); ++row)
        list.MutableRow(row).checked = rows.count(row + 1) != 0;
    return kExitOk;
}

std::optional<std::string> CheckArguments(const SplitOptions& options)
{
    for (const auto* times : {&options.at, &options.every}) {
        for (const std::string& time : *times) {
            if (!ParseTimeArgument(time))
                return "invalid TIME \"" + time +
                       "\": " + std::string(LoadString(StringId::TimeFormatRule));
        }
    }
    for (const std::string& time : {options.overlapBack, options.overlapForward}) {
        if (!time.empty() && !ParseTimeArgument(time))
            return "invalid TIME \"" + time + "\"";
    }
    for (const int n : options.parts) {
        if (n < 1)
            return FormatString(StringId::BadSectionCount, kMostParts);
    }
    if (!options.tracks.empty() && !ParseRowList(options.tracks))
        return "invalid LIST \"" + options.tracks + "\"";
    if (options.overwrite && options.skipExisting)
        return "--overwrite and --skip-existing exclude each other";
    if (options.command->count("--genre") != 0 && GenreIndex(options.genre) == kNoGenre)
        return "unknown genre \"" + options.genre + "\"";
    return std::nullopt;
}

// Rows that were to be written and were not: skipped because their file
// appeared after the check, or passed over after a failure.
std::vector<std::string> Unwritten(const SplitOptions& options, const SplitReport& report)
{
    std::vector<std::string> files;
    for (const SplitReport::Row& row : report.rows) {
        const bool expectedSkip = options.skipExisting && row.existedBefore;
        if (row.checked && !row.written && !expectedSkip)
            files.push_back(row.file);
    }
    return files;
}

// Checks that need the list: nothing is written when one of them fails.
int CheckBeforeWriting(const SplitOptions& options, const SplitPage& page, SplitReport& report,
                       std::ostream& err)
{
    if (const auto collisions = CollidingNames(report)) {
        err << *collisions << '\n';
        return kExitFailed;
    }
    if (const auto sheet = SheetIsTheSource(options, page, report)) {
        err << *sheet << '\n';
        return kExitFailed;
    }
    if (const auto existing = ExistingOutput(options, page, report)) {
        err << "not replacing " << *existing << " (--overwrite replaces, --skip-existing skips)\n";
        return kExitFailed;
    }
    return kExitOk;
}

// After the run: how it ended, rows left unwritten, and the sheet.
int AfterRun(const SplitOptions& options, SplitPage& page, const SplitReport& report,
             std::ostream& err)
{
    // A signal after the last file was written stopped nothing: the split is done.
    if (PendingInterruption() != 0 && page.LastRunOutcome() != RunOutcome::Done)
        return ReportInterruption(err, "files written so far are whole");
    if (page.LastRunOutcome() != RunOutcome::Done)
        return kExitFailed;
    const std::vector<std::string> unwritten = Unwritten(options, report);
    for (const std::string& file : unwritten)
        err << "not written: " << ToDisplayText(file) << '\n';
    if (!unwritten.empty())
        return kExitFailed;
    if (options.exportCue && !page.WriteListAsCue(report.CueSheetPath(page)))
        return kExitFailed;
    return kExitOk;
}

} // namespace

CLI::App* AddSplitCommand(CLI::App& app, SplitOptions& options)
{
    CLI::App* command = app.add_subcommand("split", "Cut a source into files, as the split page");
    options.command = command;
    OneValueEach(command->add_option("--at", options.at, "Add a cut point (repeatable)"));
    OneValueEach(
        command->add_option("--parts", options.parts, "Split the whole source into N equal parts"));
    OneValueEach(command->add_option("--every", options.every, "Cut a piece every TIME"));
    command->add_option("--mode", options.mode, "auto, fast or frame")
        ->check(CLI::IsMember({"auto", "fast", "frame"}));
    command->add_option("--out", options.out, "Destination folder (created if missing)");
    command->add_option("--name", options.name, "Naming rule");
    command->add_option("--tracks", options.tracks, "Rows to generate, e.g. 1,3-5");
    command->add_flag("--count-generated", options.countGenerated,
                      "The file counter counts only generated rows");
    command->add_option("--overlap-back", options.overlapBack, "Backward overlap for every row");
    command->add_option("--overlap-fwd", options.overlapForward, "Forward overlap for every row");
    for (const TagFlag& tag : kTagFlags)
        command->add_option(tag.flag, options.*(tag.value), "Set that tag cell on every row");
    command->add_flag("--no-vbr-header", options.noVbrHeader, "Do not write the VBR header frame");
    command->add_flag("--seamless", options.seamless,
                      "Carry the frames each piece's first frame is decoded from, so that "
                      "gapless players lose no sample at the cuts");
    command->add_flag("--overwrite", options.overwrite, "Replace existing files");
    command->add_flag("--skip-existing", options.skipExisting, "Skip rows whose file exists");
    command->add_flag("--export-cue", options.exportCue,
                      "Write the list as a CUE sheet afterwards");
    command->add_flag("--dry-run", options.dryRun, "Print the list and the names, write nothing");
    command->add_flag("--json", options.json, "Print a JSON report");
    command->add_option("SOURCE", options.source, "An .mp3 or a .cue")->required();
    return command;
}

int RunSplitCommand(const SplitOptions& options, std::ostream& out, std::ostream& err)
{
    if (const auto problem = CheckArguments(options))
        return Usage(err, *problem);
    const InterruptHandlers handlers;
    MemorySettings settings;
    ConfigureSettings(options, settings);
    CliInteraction ui(err, StderrIsTerminal());
    ui.SetProgressLabel(std::string(LoadString(StringId::LoadingFramesCaption)));
    CliSplitView view(ui);
    SplitPage page(ui, settings, view);
    // The cut times are known before the run: frame handling finds them all in
    // one walk while the pieces are written, instead of a table pass first.
    page.SetDeferFrameTable(true);
    const bool loaded = page.LoadSource(options.source);
    if (PendingInterruption() != 0)
        return ReportInterruption(err, "files written so far are whole");
    if (!loaded)
        return kExitFailed;
    if (const int status = ApplyCuts(options, page, err); status != kExitOk)
        return status;
    if (const int status = ApplyRowSettings(options, page, err); status != kExitOk)
        return status;
    page.SetDestination(options.out);
    SplitReport report(page, options.countGenerated);
    if (const int status = CheckBeforeWriting(options, page, report, err); status != kExitOk)
        return status;
    if (options.dryRun) {
        report.Collect(page, view);
        report.Print(out, options.json, true);
        return kExitOk;
    }
    if (!PrepareFolder(options.out, err))
        return kExitFailed;
    ui.SetOverwriteResult(OverwriteResult::Skip);
    page.RunSplit();
    if (page.LastRunOutcome() == RunOutcome::Refused && PendingInterruption() == 0)
        return kExitFailed;
    report.Collect(page, view);
    report.Print(out, options.json, false);
    return AfterRun(options, page, report, err);
}

} // namespace keldro::cli
