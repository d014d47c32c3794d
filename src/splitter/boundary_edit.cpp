#include "splitter/boundary_edit.h"

#include "base/user_interaction.h"
#include "string_table.h"

#include <algorithm>

namespace keldro {

int SetTrackStart(SplitList& list, UserInteraction& ui, int row, TimeMs time)
{
    const TimeMs end = list.Row(row).end;
    if (time >= end) {
        ui.ShowMessage(LoadString(StringId::StartNotBeforeEnd), MessageIcon::Warning,
                       MessageButtons::Ok);
        return -1;
    }
    // The first row keeps its start of 0: the new start is a cut point, and the
    // row edited is the one that now starts there.
    if (row == 0) {
        if (!list.AddCutPoint(time))
            return -1;
        list.Select(1);
        return 1;
    }
    // Rows directly before that start at or after the new start are swallowed.
    int swallowed = 0;
    while (row - swallowed - 1 >= 0 && list.Row(row - swallowed - 1).start >= time)
        ++swallowed;
    for (int k = 0; k < swallowed; ++k)
        list.RemoveTrack(row - swallowed);
    const int edited = row - swallowed;
    list.MutableRow(edited).start = time;
    if (edited > 0)
        list.MutableRow(edited - 1).end = time;
    list.Select(edited);
    return edited;
}

int SetTrackEnd(SplitList& list, UserInteraction& ui, int row, TimeMs time)
{
    // The list covers the source and no more: a later end is the source's end.
    time = std::min(time, list.Source().total);
    const TimeMs start = list.Row(row).start;
    if (start >= time) {
        ui.ShowMessage(LoadString(StringId::EndNotAfterStart), MessageIcon::Warning,
                       MessageButtons::Ok);
        return -1;
    }
    if (row == list.RowCount() - 1) {
        list.AddCutPoint(time);
        list.Select(row);
        return row;
    }
    // Rows directly after that start at or before the new end: all but the
    // last of them lie wholly inside the track now.
    int reached = 0;
    while (row + reached + 1 < list.RowCount() && list.Row(row + reached + 1).start <= time)
        ++reached;
    for (int k = 0; k + 1 < reached; ++k)
        list.RemoveTrack(row + 1);
    // A row left with nothing (an end moved to the very end) goes as well.
    if (row + 1 < list.RowCount() && list.Row(row + 1).end <= time)
        list.RemoveTrack(row + 1);
    list.MutableRow(row).end = time;
    if (row + 1 < list.RowCount())
        list.MutableRow(row + 1).start = time;
    list.Select(row);
    return row;
}

void TrackUpdate::Open(TimeMs total, TimeMs start, TimeMs end)
{
    maximum = total;
    givenStart = newStart = start;
    givenEnd = newEnd = end;
    length = end > start ? end - start : 0;
}

void TrackUpdate::StartChanged(TimeMs start)
{
    newStart = start;
    length = newStart < newEnd ? newEnd - newStart : 0;
}

void TrackUpdate::EndChanged(TimeMs end)
{
    newEnd = end;
    length = newStart < newEnd ? newEnd - newStart : 0;
}

void TrackUpdate::LengthChanged(TimeMs newLength)
{
    length = newLength;
    const std::uint64_t end = std::uint64_t{newStart} + newLength;
    newEnd = static_cast<TimeMs>(std::min<std::uint64_t>(end, maximum));
}

std::string TrackUpdate::MaximumText() const
{
    const TimeMs room = maximum > newStart ? maximum - newStart : 0;
    return FormatString(StringId::MaximumLabel, FormatTime(room, TimeStyle::Display).c_str());
}

} // namespace keldro
