#include "splitter/split_commands.h"

#include "base/user_interaction.h"
#include "common/setting_keys.h"
#include "splitter/split_page.h"
#include "splitter/split_page_view.h"
#include "string_table.h"

namespace keldro {

bool IsCommandEnabled(SplitCommand command, const SplitPageState& state)
{
    const bool idle = !state.running;
    const bool track = state.loaded && state.trackSelected;
    switch (command) {
    case SplitCommand::OtherSettings:
    case SplitCommand::ChooseDestination:
    case SplitCommand::StartOrStopRun:
        return true;
    case SplitCommand::ChooseSource:
    case SplitCommand::EditNamingRule:
    case SplitCommand::SwitchMode:
        return idle;
    case SplitCommand::UnloadSource:
    case SplitCommand::EqualParts:
    case SplitCommand::Overlaps:
    case SplitCommand::SpecialSplit:
    case SplitCommand::AddCutPoint:
        return state.loaded && idle;
    case SplitCommand::SaveList:
        return state.loaded;
    case SplitCommand::PreviewTrack:
        return track && state.audioAvailable && state.streamOpen && idle;
    case SplitCommand::UpdateTrack:
        return track && state.hasDecodedLength && idle;
    case SplitCommand::EditTags:
    case SplitCommand::RemoveTrack:
    case SplitCommand::ClearList:
        return track && idle;
    }
    return false;
}

SplitPageState SplitPage::State() const
{
    SplitPageState state;
    state.loaded = loaded_;
    state.running = running_;
    state.trackSelected = list_.SelectedRow() >= 0;
    state.audioAvailable = audioDevice_;
    state.streamOpen = stream_ != 0;
    state.hasDecodedLength = decodedLength_ != 0;
    return state;
}

bool SplitPage::IsEnabled(SplitCommand command) const
{
    return IsCommandEnabled(command, State());
}

bool SplitPage::AddCutPointCommand(TimeMs time)
{
    if (!IsEnabled(SplitCommand::AddCutPoint) || !list_.AddCutPoint(time))
        return false;
    SelectTrack(list_.SelectedRow());
    view_.ListChanged();
    return true;
}

bool SplitPage::SetRowChecked(int row, bool checked)
{
    if (running_ || row < 0 || row >= list_.RowCount())
        return false;
    list_.MutableRow(row).checked = checked;
    return true;
}

bool SplitPage::ToggleHeaderCheck()
{
    if (running_)
        return false;
    list_.ToggleHeaderCheck();
    return true;
}

void SplitPage::SelectTrack(int row)
{
    list_.Select(row);
    const int selected = list_.SelectedRow();
    selectedRange_ =
        selected >= 0 ? list_.TrackRange(selected, false) : std::pair<TimeMs, TimeMs>{};
}

bool SplitPage::ChooseDestination()
{
    const std::optional<std::string> folder =
        user_.ChooseFolder(LoadString(StringId::ChooseOutputFolder), destination_);
    if (!folder)
        return false;
    destination_ = *folder;
    settings_.SetSettingText(setting::kSplittingDestinationFolder, destination_);
    return true;
}

} // namespace keldro
