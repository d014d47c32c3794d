// The split list: rows that always cover the whole source. The first row
// starts at 0, each row ends where the next begins, the last ends at the
// source's total length.
#pragma once

#include "engine/id3v1.h"
#include "timecue/time_format.h"

#include <string>
#include <utility>
#include <vector>

namespace keldro {

class SettingsStore;
class UserInteraction;

enum class SplitColumn
{
    Check = 0,
    Start,
    End,
    Length,
    Title,
    Artist,
    Album,
    Genre,
    Year,
    Track,
    Comment,
    BackwardOverlap,
    ForwardOverlap,
};

// One row. Times are kept as values; every shown or exported time is their
// display text.
struct SplitTrack
{
    bool checked = true;
    TimeMs start = 0;
    TimeMs end = 0;
    std::string title;
    std::string artist;
    std::string album;
    std::string genre; // a genre's name, or empty
    std::string year;
    std::string track; // track number text, may hold wildcards
    std::string comment;
    TimeMs backwardOverlap = 0;
    TimeMs forwardOverlap = 0;

    TimeMs Length() const { return end - start; }
};

// What the list knows of the loaded source.
struct SplitSourceInfo
{
    TimeMs total = 0;
    std::string titleField; // the page's editable title and artist
    std::string artistField;
    TagRecord tag; // album, year, comment, track number, genre of the file
};

class SplitList
{
public:
    SplitList(UserInteraction& ui, SettingsStore& settings);

    SplitSourceInfo& Source() { return source_; }
    const SplitSourceInfo& Source() const { return source_; }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const SplitTrack& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    SplitTrack& MutableRow(int row) { return rows_.at(static_cast<std::size_t>(row)); }
    // Cell text as the list shows it (the check column has none).
    std::string CellText(int row, SplitColumn column) const;
    void SetCellText(int row, SplitColumn column, std::string text);

    // One row [0, total], selected.
    void ResetTrackList();
    void Clear();
    // Splits the row that holds time; false when nothing was added.
    bool AddCutPoint(TimeMs time, const std::string* title = nullptr,
                     const std::string* artist = nullptr, bool tagsGiven = false);
    void RemoveTrack(int row);
    std::pair<TimeMs, TimeMs> TrackRange(int row, bool withOverlaps) const;
    // The cell with %S, %K and %M replaced for this row.
    std::string ExpandTagField(int row, SplitColumn column) const;

    // The first selected and focused row, or -1.
    int SelectedRow() const { return selected_; }
    void Select(int row) { selected_ = (row >= 0 && row < RowCount()) ? row : -1; }
    // The check box of column 0's header: new rows take its state.
    bool HeaderChecked() const { return headerChecked_; }
    void ToggleHeaderCheck();
    bool AnyChecked() const;

    // Row fields built from the source's tags (title, track number, ...), as a
    // new first row or a CUE track gets them.
    SplitTrack TagsFromSource(const std::string* title, const std::string* artist) const;

private:
    std::pair<TimeMs, TimeMs> Overlaps() const;

    UserInteraction& user_;
    SettingsStore& settings_;
    SplitSourceInfo source_;
    std::vector<SplitTrack> rows_;
    int selected_ = -1;
    bool headerChecked_ = true;
};

// The track number of rows built from the source: "%S" where the options ask
// for a sequence, else the source's number.
std::string SourceTrackText(const SettingsStore& settings, std::uint32_t sourceTrack);

} // namespace keldro
