#include "joiner/merge_page.h"

#include "base/user_interaction.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "engine/mp3_info.h"
#include "engine/stream_info_text.h"
#include "joiner/merge_page_view.h"
#include "joiner/silence.h"
#include "string_table.h"

#include <algorithm>
#include <filesystem>

namespace keldro {
namespace {

// The folder of a file as an absolute path, with its trailing '/': a relative
// one (a file named on the command line) would mean nothing to the next dialog.
std::string AbsoluteFolder(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    std::string folder =
        (error ? std::filesystem::path(path) : absolute.lexically_normal()).parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

MergePage::MergePage(UserInteraction& ui, SettingsStore& settings, MergePageView& view,
                     ConverterHost& converters, const PlaybackService* playback)
    : user_(ui), settings_(settings), view_(view), converters_(converters), playback_(playback)
{
    destination_ = settings_.GetSettingText(setting::kMergingDestinationFolder, "");
    settings_.SetSettingText(setting::kMergingDestinationFolder, destination_);
    // On first start the list is sorted by file name.
    if (settings_.GetSettingInt(setting::kSortingColumnOfJoiner, -999) == -999) {
        settings_.SetSettingInt(setting::kSortingColumnOfJoiner, 0);
        settings_.SetSettingInt(setting::kSortingDir, 1);
    }
    list_.SetSort(settings_.GetSettingInt(setting::kSortingColumnOfJoiner, -1),
                  settings_.GetSettingInt(setting::kSortingDir, 1));
    durationText_ = DurationLabel(0);
    sizeText_ = SizeLabelAfterAdding(0);
}

bool MergePage::HasSelection()
{
    if (!list_.SelectedRows().empty())
        return true;
    user_.ShowMessage(LoadString(StringId::SelectItemFirst), MessageIcon::Warning,
                      MessageButtons::Ok);
    return false;
}

bool MergePage::AddMergeEntry(int position, const std::string& path)
{
    settings_.SetSettingText(setting::kMergeSourceLastFolder, AbsoluteFolder(path));
    CMP3Info info;
    if (!info.Analyse(path) || !info.HasStream()) {
        user_.ShowMessage(LoadFailureMessage(info, path), MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    // The decoded length is exact where the analysis estimates.
    TimeMs duration = info.DurationMs();
    std::int32_t sampleRate = info.Header().sampleRate;
    if (const auto decoded = playback_ ? MeasureDecodedDuration(*playback_, path) : std::nullopt) {
        duration = decoded->durationMs;
        if (decoded->sampleRate != 0)
            sampleRate = static_cast<std::int32_t>(decoded->sampleRate);
    }
    list_.Insert(position,
                 MakeMergeEntry(path, info, duration, sampleRate, AutomaticSilenceText(settings_)));
    totals_.duration += ParseTime(FormatTime(duration, TimeStyle::Clock), TimeStyle::Clock);
    totals_.size += info.FileSize();
    return true;
}

void MergePage::AfterMergeAdd(int position)
{
    list_.Sort();
    list_.SelectOnly(position);
    durationText_ = DurationLabel(totals_.duration);
    sizeText_ = SizeLabelAfterAdding(totals_.size);
    view_.ListChanged();
}

void MergePage::AddFilesCommand()
{
    FileDialogRequest request;
    request.title = LoadString(StringId::AddMergeFilesTitle);
    request.filter = LoadString(StringId::Mp3OnlyFilter);
    request.defaultExtension = "mp3";
    request.folder = settings_.GetSettingInt(setting::kMergeSourceFolderMode, 1) == 1
                         ? settings_.GetSettingText(setting::kMergeSourceLastFolder, "")
                         : settings_.GetSettingText(setting::kMergingSourceFolder, "");
    const int position = list_.RowCount();
    const std::vector<std::string> files = user_.ChooseOpenFiles(request);
    if (files.empty())
        return;
    AddFiles(position, files);
}

void MergePage::AddFiles(int position, const std::vector<std::string>& paths)
{
    view_.AddingFiles(true);
    for (const std::string& path : paths)
        AddMergeEntry(position, path);
    AfterMergeAdd(position);
    view_.AddingFiles(false);
}

void MergePage::DropFiles(const std::vector<std::string>& paths)
{
    if (busy_ || paths.empty())
        return;
    AddFiles(list_.RowCount(), paths);
}

void MergePage::RemoveMergeSelection()
{
    if (list_.RowCount() == 0 || !HasSelection())
        return;
    const std::vector<int> selected = list_.SelectedRows();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        const MergeEntry& entry = list_.Row(*row);
        totals_.duration -= ParseTime(entry.Text(MergeColumn::Duration), TimeStyle::Clock);
        totals_.size -=
            static_cast<std::uint32_t>(ReadLeadingNumber(entry.Text(MergeColumn::FileSize)));
        list_.Erase(*row);
    }
    durationText_ = DurationLabel(totals_.duration);
    sizeText_ = SizeLabelAfterRemoving(totals_.size);
    list_.SelectOnly(std::max(selected.front() - 1, 0));
    view_.ListChanged();
}

void MergePage::ClearMergeList(bool ask)
{
    if (ask &&
        (list_.RowCount() == 0 ||
         user_.ShowMessage(LoadString(StringId::ConfirmClearMergeList), MessageIcon::Question,
                           MessageButtons::YesNo) != MessageAnswer::Yes))
        return;
    list_.Clear();
    totals_ = {};
    durationText_ = DurationLabel(0);
    sizeText_ = SizeLabelAfterAdding(0);
    view_.ListChanged();
}

void MergePage::MoveMergeSelection(int target)
{
    // A run reads the rows by index between its chunks: a drag waits too.
    if (busy_)
        return;
    list_.MoveSelection(target);
    view_.ListChanged();
}

void MergePage::MoveUp()
{
    if (list_.RowCount() > 0 && HasSelection())
        MoveMergeSelection(list_.UpTarget());
}

void MergePage::MoveDown()
{
    if (list_.RowCount() > 0 && HasSelection())
        MoveMergeSelection(list_.DownTarget());
}

void MergePage::MoveTop()
{
    if (list_.RowCount() > 0 && HasSelection())
        MoveMergeSelection(0);
}

void MergePage::MoveBottom()
{
    if (list_.RowCount() > 0 && HasSelection())
        MoveMergeSelection(list_.RowCount() - 1);
}

void MergePage::ClickHeader(int column)
{
    // Sorting reorders the rows the run reads by index.
    if (busy_)
        return;
    list_.ClickHeader(column);
    settings_.SetSettingInt(setting::kSortingColumnOfJoiner, list_.SortColumn());
    settings_.SetSettingInt(setting::kSortingDir, list_.SortDirection());
    view_.ListChanged();
}

void MergePage::CopyTagsFromSelection()
{
    if (!HasSelection())
        return;
    const MergeEntry& entry = list_.Row(list_.SelectedRows().front());
    tags_.title = entry.Text(MergeColumn::Title);
    tags_.artist = entry.Text(MergeColumn::Artist);
    tags_.album = entry.Text(MergeColumn::Album);
    tags_.year = entry.Text(MergeColumn::Year);
    tags_.comment = entry.Text(MergeColumn::Comment);
    tags_.track = static_cast<int>(ReadLeadingNumber(entry.Text(MergeColumn::Track)));
    tags_.genreSelection = GenreBoxPosition(entry.Text(MergeColumn::Genre));
    view_.FieldsChanged();
}

void MergePage::PlaySelected()
{
    if (list_.RowCount() == 0 || !HasSelection())
        return;
    user_.OpenFile(list_.Row(list_.SelectedRows().front()).Path());
}

void MergePage::ChooseDestination()
{
    const std::optional<std::string> folder =
        user_.ChooseFolder(LoadString(StringId::ChooseMergeFolder), destination_);
    if (!folder)
        return;
    destination_ = *folder;
    settings_.SetSettingText(setting::kMergingDestinationFolder, destination_);
    view_.FieldsChanged();
}

void MergePage::InsertSilenceCommand()
{
    const std::vector<int> selected = list_.SelectedRows();
    const bool noSelection = selected.empty();
    InsertSilence dialog = InsertSilence::Prepare(
        settings_, noSelection ? 0 : list_.Row(selected.front()).SilenceSeconds(), noSelection);
    if (!view_.ShowInsertSilence(dialog) || noSelection)
        return;
    const std::string text = SilenceText(dialog.Length().value_or(0));
    for (int row = 0; row < list_.RowCount(); ++row) {
        if (dialog.applyToAll || list_.Row(row).selected)
            list_.MutableRow(row).Text(MergeColumn::Silence) = text;
    }
    view_.ListChanged();
}

} // namespace keldro
