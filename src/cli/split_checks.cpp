#include "split_checks.h"

#include "base/system_error_text.h"
#include "display_text.h"
#include "splitter/split_page.h"
#include "string_table.h"

#include <filesystem>
#include <map>
#include <ostream>

namespace keldro::cli {
namespace {

namespace fs = std::filesystem;

// A link that leads nowhere still takes the name: say so rather than skip.
std::string DescribeExisting(const std::string& path)
{
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error)) && !fs::exists(path, error))
        return path + " is a symbolic link to a missing file";
    return path;
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

} // namespace

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
        row.existedBefore = row.checked && Exists(row.file);
        if (row.existedBefore && !existing && !options.overwrite && !options.skipExisting)
            existing = DescribeExisting(row.file);
    }
    const std::string sheet = report.CueSheetPath(page);
    if (!existing && options.exportCue && !options.overwrite && Exists(sheet))
        existing = DescribeExisting(sheet);
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
