#include "joiner/merge_list.h"

#include "engine/mp3_info.h"
#include "engine/stream_info_text.h"
#include "string_table.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace keldro {
namespace {

bool IsDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsDate(const std::string& text)
{
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u}) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

// Year, month, day of a dd/mm/yyyy text, read field by field.
std::array<std::int64_t, 3> DateFields(const std::string& text)
{
    const std::string_view view(text);
    return {ReadLeadingNumber(view.substr(std::min<std::size_t>(6, view.size()))),
            ReadLeadingNumber(view.substr(std::min<std::size_t>(3, view.size()))),
            ReadLeadingNumber(view)};
}

template <typename T>
int Order(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A selection on both sides of the target: moving its rows one by one to the
// target would shift the rows after it, and move rows nobody selected. The
// selected rows go, in their order, right after the target row, or where they
// stand around it when it is one of them; the others keep their order.
void MoveStraddlingSelection(std::vector<MergeEntry>& rows, int target)
{
    std::vector<MergeEntry> kept;
    std::vector<MergeEntry> moved;
    std::size_t position = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].selected) {
            moved.push_back(std::move(rows[i]));
            continue;
        }
        kept.push_back(std::move(rows[i]));
        if (i <= static_cast<std::size_t>(target))
            position = kept.size();
    }
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(position),
                std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    rows = std::move(kept);
}

} // namespace

std::string MergeEntry::Path() const
{
    const std::string& folder = Text(MergeColumn::Folder);
    const std::string& name = Text(MergeColumn::FileName);
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

int MergeEntry::SilenceSeconds() const
{
    return static_cast<int>(std::clamp<std::int64_t>(ReadLeadingNumber(Text(MergeColumn::Silence)),
                                                     INT32_MIN, INT32_MAX));
}

MergeEntry MakeMergeEntry(const std::string& path, const CMP3Info& info, TimeMs duration,
                          int sampleRate, std::string silenceText)
{
    const std::filesystem::path file(path);
    const TagRecord& tag = info.Tag();
    MergeEntry entry;
    auto set = [&entry](MergeColumn column, std::string text) {
        entry.Text(column) = std::move(text);
    };
    set(MergeColumn::FileName, file.filename().string());
    set(MergeColumn::Duration, FormatTime(duration, TimeStyle::Clock));
    set(MergeColumn::Silence, std::move(silenceText));
    set(MergeColumn::Title, tag.title);
    set(MergeColumn::Artist, tag.artist);
    set(MergeColumn::Album, tag.album);
    set(MergeColumn::Track, std::to_string(tag.track));
    set(MergeColumn::SampleRate, std::to_string(sampleRate));
    set(MergeColumn::Bitrate,
        info.HasVbrHeader()
            ? FormatString(StringId::BitrateVbr, info.AverageBitrate())
            : FormatString(StringId::BitrateCbr, static_cast<double>(info.Header().bitrate)));
    set(MergeColumn::Channels, std::string(CMP3Info::ChannelModeName(info.Header().channelMode)));
    set(MergeColumn::Genre, std::string(GenreName(tag.genre)));
    set(MergeColumn::Year, tag.year);
    set(MergeColumn::Comment, tag.comment);
    set(MergeColumn::FileSize, std::to_string(info.FileSize()));
    std::string folder = file.parent_path().string();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    set(MergeColumn::Folder, std::move(folder));
    return entry;
}

void MergeList::Insert(int position, MergeEntry entry)
{
    position = std::clamp(position, 0, RowCount());
    rows_.insert(rows_.begin() + position, std::move(entry));
}

void MergeList::Erase(int row)
{
    if (row >= 0 && row < RowCount())
        rows_.erase(rows_.begin() + row);
}

std::vector<int> MergeList::SelectedRows() const
{
    std::vector<int> selected;
    for (int i = 0; i < RowCount(); ++i) {
        if (rows_[static_cast<std::size_t>(i)].selected)
            selected.push_back(i);
    }
    return selected;
}

void MergeList::SelectOnly(int row)
{
    for (MergeEntry& entry : rows_)
        entry.selected = false;
    focused_ = (row >= 0 && row < RowCount()) ? row : -1;
    if (focused_ >= 0)
        rows_[static_cast<std::size_t>(focused_)].selected = true;
}

void MergeList::SetSelection(const std::vector<int>& rows, int focused)
{
    for (MergeEntry& entry : rows_)
        entry.selected = false;
    for (const int row : rows) {
        if (row >= 0 && row < RowCount())
            rows_[static_cast<std::size_t>(row)].selected = true;
    }
    focused_ = (focused >= 0 && focused < RowCount()) ? focused : -1;
}

void MergeList::MoveRow(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= RowCount() || to >= RowCount())
        return;
    MergeEntry entry = std::move(rows_[static_cast<std::size_t>(from)]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(entry));
}

void MergeList::MoveSelection(int target)
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty() || target < 0 || target >= RowCount())
        return;
    const auto n = static_cast<int>(selected.size());
    if (selected.front() < target && target < selected.back()) {
        MoveStraddlingSelection(rows_, target);
    } else if (selected.front() < target) {
        for (int i = 0; i < n; ++i)
            MoveRow(selected[static_cast<std::size_t>(i)] - i, target);
    } else {
        for (int i = 0; i < n; ++i)
            MoveRow(selected[static_cast<std::size_t>(i)], target + i);
    }
    focused_ = target;
}

int MergeList::UpTarget() const
{
    const std::vector<int> selected = SelectedRows();
    return selected.empty() ? -1 : std::max(selected.front() - 1, 0);
}

int MergeList::DownTarget() const
{
    const std::vector<int> selected = SelectedRows();
    return selected.empty() ? -1 : std::min(selected.back() + 1, RowCount() - 1);
}

void MergeList::SetSort(int column, int direction)
{
    sortColumn_ = (column >= 0 && column < kMergeColumns) ? column : -1;
    sortDirection_ = direction == 0 ? 0 : 1;
}

void MergeList::ClickHeader(int column)
{
    if (column != sortColumn_)
        SetSort(column, 1);
    else if (sortDirection_ == 1)
        SetSort(column, 0);
    else
        SetSort(-1, 1);
    Sort();
}

int MergeList::CompareTexts(const std::string& a, const std::string& b)
{
    if (IsDigits(a))
        return Order(ReadLeadingNumber(a), ReadLeadingNumber(b));
    if (IsDate(a))
        return Order(DateFields(a), DateFields(b));
    const int order = std::strcoll(a.c_str(), b.c_str());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void MergeList::Sort()
{
    if (sortColumn_ < 0)
        return;
    const auto column = static_cast<std::size_t>(sortColumn_);
    const bool ascending = sortDirection_ == 1;
    // The focus stays with its file, as the selected flags do with theirs.
    std::vector<std::pair<MergeEntry, bool>> keyed;
    keyed.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        keyed.emplace_back(std::move(rows_[i]), static_cast<int>(i) == focused_);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& x, const auto& y) {
        return ascending ? CompareTexts(x.first.texts[column], y.first.texts[column]) < 0
                         : CompareTexts(y.first.texts[column], x.first.texts[column]) < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        rows_[i] = std::move(keyed[i].first);
        if (keyed[i].second)
            focused_ = static_cast<int>(i);
    }
}

std::string DurationLabel(TimeMs total)
{
    return FormatTime(total, TimeStyle::Clock);
}

std::string SizeLabelAfterAdding(std::uint32_t total)
{
    const double k = total / 1024.0;
    return k < 1024 ? FormatString(StringId::SizeKilobytes, k)
                    : FormatString(StringId::SizeMegabytes, k / 1024);
}

std::string SizeLabelAfterRemoving(std::uint32_t total)
{
    const double k = total / 1000.0;
    return k < 1000 ? FormatString(StringId::SizeKilobytes, k)
                    : FormatString(StringId::SizeMegabytes, k / 1000);
}

} // namespace keldro
