// Which of the merge page's commands can run in the page's current state. The
// context menu greys its entries by IsMergeCommandEnabled; the buttons and the
// list's keys by IsMergeButtonEnabled.
#pragma once

#include <optional>

namespace keldro {

enum class MergeCommand
{
    AddFiles,
    InsertSilence,
    Remove,
    Clear,
    MoveUp,
    MoveDown,
    MoveTop,
    MoveBottom,
    Play,
    CopyTags,
    OtherSettings,
    ChooseDestination,
    StartOrStopMerge,
};

struct MergePageState
{
    bool busy = false;
    bool hasRows = false;
    bool hasSelection = false;
};

// A merge reads the list row by row while it lets events through, so every
// command that adds, removes, moves or edits rows, or changes the tag fields,
// waits until it is over; playing a row, the settings, the destination and
// Start/Stop stay open. The menu greys the commands on selected rows while
// none is selected. The silence dialog opens without a selection too: it can
// then only save its values.
bool IsMergeCommandEnabled(MergeCommand command, const MergePageState& state);

// A button or key of a command on selected rows stays enabled without a
// selection: the page then says "请先从列表中选择项目!". The run rule is the
// menu's.
bool IsMergeButtonEnabled(MergeCommand command, const MergePageState& state);

// The keys the list takes while it has the focus: Ctrl with an arrow, Home or
// End moves the selection; Delete removes it, Shift+Delete clears the list;
// F2 plays. Anywhere else these keys keep their usual meaning.
enum class MergeListKey
{
    Up,
    Down,
    Home,
    End,
    Delete,
    F2,
};

struct MergeKeyModifiers
{
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

std::optional<MergeCommand> MapMergeListKey(MergeListKey key, MergeKeyModifiers modifiers);

} // namespace keldro
