// Dragging rows inside the merge list: which row takes the drop.
#pragma once

namespace keldro {

// The row that is highlighted and handed to MoveMergeSelection for a pointer
// over the list: the row at the pointer's height, or the last row when the
// pointer is below the rows (rowUnderPointer is then -1, or any value outside
// the rows). -1 when the list has no rows: nothing takes the drop.
int MergeDropRow(int rowUnderPointer, int rowCount);

} // namespace keldro
