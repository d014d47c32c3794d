#include "joiner/merge_commands.h"

#include "joiner/merge_page.h"

namespace keldro {

bool IsMergeCommandEnabled(MergeCommand command, const MergePageState& state)
{
    const bool idle = !state.busy;
    const bool selected = state.hasRows && state.hasSelection;
    switch (command) {
    case MergeCommand::OtherSettings:
    case MergeCommand::ChooseDestination:
    case MergeCommand::StartOrStopMerge:
        return true;
    case MergeCommand::AddFiles:
    case MergeCommand::InsertSilence:
        return idle;
    case MergeCommand::Play:
        return selected;
    case MergeCommand::Remove:
    case MergeCommand::Clear:
    case MergeCommand::MoveUp:
    case MergeCommand::MoveDown:
    case MergeCommand::MoveTop:
    case MergeCommand::MoveBottom:
    case MergeCommand::CopyTags:
        return selected && idle;
    }
    return false;
}

bool IsMergeButtonEnabled(MergeCommand command, const MergePageState& state)
{
    return IsMergeCommandEnabled(command,
                                 {.busy = state.busy, .hasRows = true, .hasSelection = true});
}

std::optional<MergeCommand> MapMergeListKey(MergeListKey key, MergeKeyModifiers modifiers)
{
    if (modifiers.alt)
        return std::nullopt;
    const bool plain = !modifiers.ctrl && !modifiers.shift;
    const bool ctrl = modifiers.ctrl && !modifiers.shift;
    switch (key) {
    case MergeListKey::Up:
        return ctrl ? std::optional(MergeCommand::MoveUp) : std::nullopt;
    case MergeListKey::Down:
        return ctrl ? std::optional(MergeCommand::MoveDown) : std::nullopt;
    case MergeListKey::Home:
        return ctrl ? std::optional(MergeCommand::MoveTop) : std::nullopt;
    case MergeListKey::End:
        return ctrl ? std::optional(MergeCommand::MoveBottom) : std::nullopt;
    case MergeListKey::Delete:
        if (plain)
            return MergeCommand::Remove;
        return !modifiers.ctrl ? std::optional(MergeCommand::Clear) : std::nullopt;
    case MergeListKey::F2:
        return plain ? std::optional(MergeCommand::Play) : std::nullopt;
    }
    return std::nullopt;
}

bool MergePage::Execute(MergeCommand command)
{
    if (!IsMergeButtonEnabled(command, State()))
        return false;
    switch (command) {
    case MergeCommand::AddFiles:
        AddFilesCommand();
        break;
    case MergeCommand::InsertSilence:
        InsertSilenceCommand();
        break;
    case MergeCommand::Remove:
        RemoveMergeSelection();
        break;
    case MergeCommand::Clear:
        ClearMergeList();
        break;
    case MergeCommand::MoveUp:
        MoveUp();
        break;
    case MergeCommand::MoveDown:
        MoveDown();
        break;
    case MergeCommand::MoveTop:
        MoveTop();
        break;
    case MergeCommand::MoveBottom:
        MoveBottom();
        break;
    case MergeCommand::Play:
        PlaySelected();
        break;
    case MergeCommand::CopyTags:
        CopyTagsFromSelection();
        break;
    case MergeCommand::ChooseDestination:
        ChooseDestination();
        break;
    case MergeCommand::StartOrStopMerge:
        RunMerge();
        break;
    case MergeCommand::OtherSettings:
        return false; // the main window's dialog
    }
    return true;
}

MergePageState MergePage::State() const
{
    return {.busy = busy_,
            .hasRows = list_.RowCount() > 0,
            .hasSelection = !list_.SelectedRows().empty()};
}

} // namespace keldro
