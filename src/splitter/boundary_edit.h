// CTrackUpdateDlg's state, and moving the start or the end of a track. Rows a boundary passes over
// are swallowed, so the list keeps covering the source without gaps.
#pragma once

#include "splitter/split_list.h"

#include <string>

namespace keldro {

// Both return the row that was edited (its index may change), or -1 when the
// time was refused with a message. A new start on the first row adds a cut
// point: the row edited is then the one that starts at it.
int SetTrackStart(SplitList& list, UserInteraction& ui, int row, TimeMs time);
int SetTrackEnd(SplitList& list, UserInteraction& ui, int row, TimeMs time);

// The track length dialog: start, end and length fields that follow each other.
struct TrackUpdate
{
    std::string caption; // "曲目号码 row/rows:"
    TimeMs maximum = 0;
    TimeMs givenStart = 0;
    TimeMs givenEnd = 0;
    TimeMs newStart = 0;
    TimeMs newEnd = 0;
    TimeMs length = 0; // what the length field shows

    void Open(TimeMs total, TimeMs start, TimeMs end);
    void StartChanged(TimeMs start);
    void EndChanged(TimeMs end);
    // Moves the end; past the maximum it stops there.
    void LengthChanged(TimeMs newLength);
    std::string MaximumText() const;
    bool OkEnabled() const { return length > 0; }
};

} // namespace keldro
