#include "cli_app.h"

#include "cue_command.h"
#include "info_command.h"
#include "merge_command.h"
#include "offset_command.h"
#include "split_command.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <sstream>

namespace keldro::cli {
namespace {

constexpr const char* kVersionText = "keldro-cli 3.0";

// CLI11 prints help and errors to the standard streams; route them to ours so
// that tests can run the whole command line in process.
int ReportParseOutcome(CLI::App& app, const CLI::ParseError& error, std::ostream& out,
                       std::ostream& err)
{
    std::ostringstream helpOut;
    std::ostringstream helpErr;
    const int code = app.exit(error, helpOut, helpErr);
    out << helpOut.str();
    err << helpErr.str();
    return code == 0 ? kExitOk : kExitUsage;
}

// A report that did not reach its reader is a failure: a script would go on
// without it.
int CheckOutput(int code, std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out)
        return code;
    err << "keldro-cli: cannot write to standard output\n";
    return code == kExitOk ? kExitFailed : code;
}

int RunCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Keldro: cut and join MP3 files without re-encoding", "keldro-cli"};
    app.set_version_flag("--version", kVersionText);
    app.require_subcommand(1);

    InfoOptions infoOptions;
    CLI::App* info = AddInfoCommand(app, infoOptions);
    OffsetOptions offsetOptions;
    CLI::App* offset = AddOffsetCommand(app, offsetOptions);
    CueOptions cueOptions;
    CLI::App* cue = AddCueCommand(app, cueOptions);
    SplitOptions splitOptions;
    CLI::App* split = AddSplitCommand(app, splitOptions);
    MergeOptions mergeOptions;
    CLI::App* merge = AddMergeCommand(app, mergeOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ReportParseOutcome(app, error, out, err);
    }
    if (info->parsed())
        return RunInfo(infoOptions, out, err);
    if (offset->parsed())
        return RunOffset(offsetOptions, out, err);
    if (cue->parsed())
        return RunCue(cueOptions, out, err);
    if (split->parsed())
        return RunSplitCommand(splitOptions, out, err);
    if (merge->parsed())
        return RunMergeCommand(mergeOptions, out, err);
    return kExitUsage;
}

} // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    return CheckOutput(RunCommand(argc, argv, out, err), out, err);
}

} // namespace keldro::cli
