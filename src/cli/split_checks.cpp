#include "split_checks.h"

#include "base/system_error_text.h"
#include "display_text.h"
#include "splitter/split_page.h"
#include "string_table.h"
#include "taken_name.h"

#include <filesystem>
#include <map>
#include <ostream>

namespace keldro::cli {
namespace fs = std::filesystem;

std::optional<std::string> CollidingNames(const SplitReport& report)
{
    std::map<std::string, std::vector<int>> rowsByFile;
    for (const SplitReport::Row& row : report.rows) {
        if (row.checked)
            rowsByFile[fs::path(row.file).lexically_normal().string()].push_back(row.number);
    }
    std::string list;
    for (const auto& [file, rows] : rowsByFile) {
        if (rows.size() < 2)
            continue;
        list += "\n  " + ToDisplayText(file) + ": rows";
        for (const int row : rows)
            list += " " + std::to_string(row);
    }
    if (list.empty())
        return std::nullopt;
    return "rows would write the same file (change --name):" + list;
}

std::optional<std::string> ExistingOutput(const SplitOptions& options, const SplitPage& page,
                                          SplitReport& report)
{
    std::optional<std::string> existing;
    for (SplitReport::Row& row : report.rows) {
        const std::optional<std::string> taken = row.checked ? TakenName(row.file) : std::nullopt;
        row.existedBefore = taken.has_value();
        if (taken && !existing && !options.overwrite && !options.skipExisting)
            existing = taken;
    }
    if (!existing && options.exportCue && !options.overwrite)
        existing = TakenName(report.CueSheetPath(page));
    return existing;
}

std::optional<std::string> SheetIsTheSource(const SplitOptions& options, const SplitPage& page,
                                            const SplitReport& report)
{
    const std::string sheet = report.CueSheetPath(page);
    if (!options.exportCue || !page.IsLoadedSheet(sheet))
        return std::nullopt;
    return FormatString(StringId::SourceIsTarget, ToDisplayText(sheet).c_str());
}

bool PrepareFolder(const std::string& folder, std::ostream& err)
{
    if (folder.empty())
        return true; // the run itself refuses a missing destination
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error || fs::is_directory(folder))
        return true;
    err << FormatString(StringId::CannotCreateFolder, ToDisplayText(folder).c_str()) << '\n'
        << SystemErrorReason(error.value()) << '\n';
    return false;
}

} // namespace keldro::cli
