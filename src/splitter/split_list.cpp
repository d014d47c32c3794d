#include "splitter/split_list.h"

#include "base/settings.h"
#include "base/user_interaction.h"
#include "common/setting_keys.h"
#include "string_table.h"

#include <algorithm>
#include <cstdio>

namespace keldro {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string Display(TimeMs ms)
{
    return FormatTime(ms, TimeStyle::Display);
}

} // namespace

std::string SourceTrackText(const SettingsStore& settings, std::uint32_t sourceTrack)
{
    const bool autoTrack = settings.GetSettingInt(setting::kId3AutoTrack, 1) == 1;
    const bool onlyIfNull = settings.GetSettingInt(setting::kId3AutoTrackIfNull, 1) == 1;
    if (autoTrack && (!onlyIfNull || sourceTrack == 0))
        return "%S";
    return std::to_string(sourceTrack);
}

SplitList::SplitList(UserInteraction& ui, SettingsStore& settings) : user_(ui), settings_(settings)
{}

std::string SplitList::CellText(int row, SplitColumn column) const
{
    const SplitTrack& r = Row(row);
    switch (column) {
    case SplitColumn::Check:
        return {};
    case SplitColumn::Start:
        return Display(r.start);
    case SplitColumn::End:
        return Display(r.end);
    case SplitColumn::Length:
        return Display(r.Length());
    case SplitColumn::Title:
        return r.title;
    case SplitColumn::Artist:
        return r.artist;
    case SplitColumn::Album:
        return r.album;
    case SplitColumn::Genre:
        return r.genre;
    case SplitColumn::Year:
        return r.year;
    case SplitColumn::Track:
        return r.track;
    case SplitColumn::Comment:
        return r.comment;
    case SplitColumn::BackwardOverlap:
        return Display(r.backwardOverlap);
    case SplitColumn::ForwardOverlap:
        return Display(r.forwardOverlap);
    }
    return {};
}

void SplitList::SetCellText(int row, SplitColumn column, std::string text)
{
    SplitTrack& r = MutableRow(row);
    switch (column) {
    case SplitColumn::Title:
        r.title = std::move(text);
        break;
    case SplitColumn::Artist:
        r.artist = std::move(text);
        break;
    case SplitColumn::Album:
        r.album = std::move(text);
        break;
    case SplitColumn::Genre:
        r.genre = std::move(text);
        break;
    case SplitColumn::Year:
        r.year = std::move(text);
        break;
    case SplitColumn::Track:
        r.track = std::move(text);
        break;
    case SplitColumn::Comment:
        r.comment = std::move(text);
        break;
    default:
        break; // times change only through the list's operations
    }
}

void SplitList::Clear()
{
    rows_.clear();
    selected_ = -1;
}

void SplitList::ResetTrackList()
{
    Clear();
    AddCutPoint(0);
    Select(0);
}

std::pair<TimeMs, TimeMs> SplitList::Overlaps() const
{
    if (settings_.GetSettingInt(setting::kAutoOverlap, 0) != 1)
        return {0, 0};
    const int backward = settings_.GetSettingInt(setting::kBwOverlap, 0);
    const int forward = settings_.GetSettingInt(setting::kFwOverlap, 0);
    return {static_cast<TimeMs>(std::max(backward, 0)), static_cast<TimeMs>(std::max(forward, 0))};
}

SplitTrack SplitList::TagsFromSource(const std::string* title, const std::string* artist) const
{
    SplitTrack row;
    row.title = title != nullptr ? *title : source_.titleField;
    if (settings_.GetSettingInt(setting::kId3AutoSequence, 0) == 1)
        row.title += "%S";
    row.track = SourceTrackText(settings_, source_.tag.track);
    row.artist = artist != nullptr ? *artist : source_.artistField;
    row.album = source_.tag.album;
    row.year = source_.tag.year;
    row.comment = source_.tag.comment;
    row.genre = std::string(GenreName(source_.tag.genre));
    return row;
}

bool SplitList::AddCutPoint(TimeMs time, const std::string* title, const std::string* artist,
                            bool tagsGiven)
{
    if (time >= source_.total)
        return false;
    std::size_t at = rows_.size();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].start == time) {
            user_.ShowMessage(FormatString(StringId::AlreadyInList, Display(time).c_str()),
                              MessageIcon::Information, MessageButtons::Ok);
            return false;
        }
        if (rows_[i].start > time) {
            at = i;
            break;
        }
    }
    SplitTrack row = (at == 0 || tagsGiven) ? TagsFromSource(title, artist) : rows_.front();
    row.checked = headerChecked_;
    row.start = time;
    std::tie(row.backwardOverlap, row.forwardOverlap) = Overlaps();
    if (at == 0) {
        row.end = source_.total;
    } else {
        row.end = rows_[at - 1].end;
        rows_[at - 1].end = time;
    }
    rows_.insert(rows_.begin() + static_cast<long>(at), std::move(row));
    Select(static_cast<int>(at));
    return true;
}

void SplitList::RemoveTrack(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    const auto index = static_cast<std::size_t>(row);
    if (index > 0)
        rows_[index - 1].end = rows_[index].end;
    else if (rows_.size() > 1)
        rows_[1].start = rows_[0].start;
    rows_.erase(rows_.begin() + row);
    if (selected_ >= RowCount())
        selected_ = RowCount() - 1;
}

std::pair<TimeMs, TimeMs> SplitList::TrackRange(int row, bool withOverlaps) const
{
    const SplitTrack& r = Row(row);
    if (!withOverlaps)
        return {r.start, r.end};
    const TimeMs start = r.start > r.backwardOverlap ? r.start - r.backwardOverlap : 0;
    const std::uint64_t end = std::uint64_t{r.end} + r.forwardOverlap;
    return {start, static_cast<TimeMs>(std::min<std::uint64_t>(end, source_.total))};
}

std::string SplitList::ExpandTagField(int row, SplitColumn column) const
{
    char sequence[16];
    std::snprintf(sequence, sizeof sequence, "%03d", row + 1);
    std::string text = CellText(row, column);
    ReplaceAll(text, "%S", sequence);
    if (text.find("%K") != std::string::npos) {
        const std::string track =
            column == SplitColumn::Track ? "0" : ExpandTagField(row, SplitColumn::Track);
        ReplaceAll(text, "%K", track);
    }
    if (text.find("%M") != std::string::npos) {
        const bool self = column == SplitColumn::Album || column == SplitColumn::Track;
        ReplaceAll(text, "%M", self ? "" : ExpandTagField(row, SplitColumn::Album));
    }
    return text;
}

void SplitList::ToggleHeaderCheck()
{
    headerChecked_ = !headerChecked_;
    for (SplitTrack& row : rows_)
        row.checked = headerChecked_;
}

bool SplitList::AnyChecked() const
{
    return std::any_of(rows_.begin(), rows_.end(), [](const SplitTrack& r) { return r.checked; });
}

} // namespace keldro
