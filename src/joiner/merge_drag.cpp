#include "joiner/merge_drag.h"

namespace keldro {

int MergeDropRow(int rowUnderPointer, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    if (rowUnderPointer >= 0 && rowUnderPointer < rowCount)
        return rowUnderPointer;
    return rowCount - 1;
}

} // namespace keldro
