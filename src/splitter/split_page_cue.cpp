// Saving the split list as a CUE sheet: asked for by the page's button and
// written by the run's export, never over the sheet the source came from.
#include "base/byte_text.h"
#include "base/output_file.h"
#include "base/user_interaction.h"
#include "splitter/split_page.h"
#include "string_table.h"

#include <filesystem>
#include <sys/stat.h>

namespace keldro {
namespace {

std::string Display(TimeMs ms)
{
    return FormatTime(ms, TimeStyle::Display);
}

bool Exists(const std::string& path)
{
    struct stat info
    {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The path made absolute, without "." and ".." steps; empty when that fails.
std::filesystem::path NormalPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? std::filesystem::path() : absolute.lexically_normal();
}

// Two spellings of one path, whether or not a file is there.
bool SamePath(const std::string& a, const std::string& b)
{
    const std::filesystem::path normal = NormalPath(a);
    return a == b || (!normal.empty() && normal == NormalPath(b));
}

} // namespace

bool SplitPage::SaveListAsCue()
{
    if (!loaded_) {
        user_.ShowMessage(LoadString(StringId::LoadSourceFirst), MessageIcon::Warning,
                          MessageButtons::Ok);
        return false;
    }
    FileDialogRequest request;
    request.title = LoadString(StringId::SaveCueTitle);
    request.filter = LoadString(StringId::CueFileFilter);
    request.defaultExtension = "cue";
    request.folder = folder_;
    request.fileName = std::filesystem::path(fileName_).stem().string();
    const std::optional<std::string> path = user_.ChooseSaveFile(request);
    if (path && WriteListAsCue(*path))
        return true;
    user_.ShowMessage(LoadString(StringId::CueSaveCancelled), MessageIcon::Warning,
                      MessageButtons::Ok);
    return false;
}

bool SplitPage::IsLoadedSheet(const std::string& path) const
{
    if (!loaded_ || !cue_.IsCueSheet() || path.empty())
        return false;
    const std::string& sheet = cue_.GetSheetPath();
    return SamePath(path, sheet) || IsSameFile(path, sheet);
}

bool SplitPage::WriteListAsCue(const std::string& path)
{
    if (IsLoadedSheet(path)) {
        user_.ShowMessage(FormatString(StringId::SourceIsTarget, path.c_str()), MessageIcon::Error,
                          MessageButtons::Ok);
        return false;
    }
    const bool replacing = Exists(path);
    if (replacing &&
        user_.ShowMessage(FormatString(StringId::ConfirmOverwrite, path.c_str()),
                          MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    std::vector<CueTrackRecord> records;
    for (int i = 0; i < list_.RowCount(); ++i) {
        const SplitTrack& row = list_.Row(i);
        records.push_back({std::string(CutAtCharBoundary(row.title, kCueTextLimit)),
                           std::string(CutAtCharBoundary(row.artist, kCueTextLimit)),
                           Display(row.start), Display(row.end)});
    }
    const bool sameFolder = std::filesystem::path(path).parent_path().string() == folder_;
    // Elsewhere the sheet names the source by its absolute path: a relative one
    // would be read against the sheet's own folder.
    const std::filesystem::path source = NormalPath(SourcePath());
    const std::string audio = sameFolder       ? fileName_
                              : source.empty() ? SourcePath()
                                               : source.string();
    const bool fromSheet = cue_.IsCueSheet();
    const std::string& performer = fromSheet ? cue_.GetSheetPerformer() : info_.Tag().artist;
    const std::string& title = fromSheet ? cue_.GetSheetTitle() : info_.Tag().title;
    return WriteCueSheet(path, audio, performer, title, records, user_, replacing);
}

} // namespace keldro
