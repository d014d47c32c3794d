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

MergePageState MergePage::State() const
{
    return {.busy = busy_,
            .hasRows = list_.RowCount() > 0,
            .hasSelection = !list_.SelectedRows().empty()};
}

} // namespace keldro
