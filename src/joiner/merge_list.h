// CMP3JoinerPage's list: files in the order they will be joined, each row a set
// of texts filled once when its file is added.
#pragma once

#include "timecue/time_format.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace keldro {

class CMP3Info;

enum class MergeColumn
{
    FileName = 0,
    Duration,
    Silence,
    Title,
    Artist,
    Album,
    Track,
    SampleRate,
    Bitrate,
    Channels,
    Genre,
    Year,
    Comment,
    FileSize,
    Folder,
};
inline constexpr int kMergeColumns = 15;

struct MergeEntry
{
    std::array<std::string, kMergeColumns> texts;
    bool selected = false;

    const std::string& Text(MergeColumn column) const
    {
        return texts[static_cast<std::size_t>(column)];
    }
    std::string& Text(MergeColumn column) { return texts[static_cast<std::size_t>(column)]; }
    // The folder (with its trailing separator) and the name joined.
    std::string Path() const;
    // Whole seconds of silence after this file; "<无>" reads as 0.
    int SilenceSeconds() const;
};

// A row from a file's analysis and its measured duration and sample rate.
MergeEntry MakeMergeEntry(const std::string& path, const CMP3Info& info, TimeMs duration,
                          int sampleRate, std::string silenceText);

class MergeList
{
public:
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const MergeEntry& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    MergeEntry& MutableRow(int row) { return rows_.at(static_cast<std::size_t>(row)); }

    void Insert(int position, MergeEntry entry);
    void Erase(int row);
    void Clear() { rows_.clear(); }

    std::vector<int> SelectedRows() const;
    void SelectOnly(int row);
    // The selection as the window shows it: the rows given are selected, the
    // others not; rows outside the list are left out.
    void SetSelection(const std::vector<int>& rows, int focused);
    int FocusedRow() const { return focused_; }

    // Moves one row so that it ends at index to.
    void MoveRow(int from, int to);
    // Moves the selected rows to the target, keeping their order.
    void MoveSelection(int target);
    // Targets of the Up and Down commands for the present selection.
    int UpTarget() const;
    int DownTarget() const;

    // Sort state: column -1 is unsorted; direction 1 ascending, 0 descending.
    int SortColumn() const { return sortColumn_; }
    int SortDirection() const { return sortDirection_; }
    void SetSort(int column, int direction);
    // A click on a header: a new column sorts ascending; the sorted column goes
    // from ascending to descending to unsorted.
    void ClickHeader(int column);
    // Sorts by the present column, if any; unsorted keeps the present order.
    void Sort();
    // Negative, 0 or positive, by the rule of the sorting header.
    static int CompareTexts(const std::string& a, const std::string& b);

private:
    std::vector<MergeEntry> rows_;
    int focused_ = -1;
    int sortColumn_ = -1;
    int sortDirection_ = 1;
};

// The running totals under the list.
struct MergeTotals
{
    TimeMs duration = 0;
    std::uint32_t size = 0;
};

std::string DurationLabel(TimeMs total);
// Adding counts in units of 1024, removing in units of 1000.
std::string SizeLabelAfterAdding(std::uint32_t total);
std::string SizeLabelAfterRemoving(std::uint32_t total);

} // namespace keldro
