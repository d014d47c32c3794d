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
    NotifyListChanged();
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
    RefreshPosition();
}

void SplitPage::RefreshPosition()
{
    playbackStream_.SetStream(stream_, decodedLength_, Total());
    PositionContext context;
    context.loaded = loaded_;
    const int row = list_.SelectedRow();
    context.trackSelected = loaded_ && row >= 0;
    context.hasDecodedLength = decodedLength_ != 0;
    context.total = Total();
    if (context.trackSelected) {
        context.rawRange = list_.TrackRange(row, false);
        context.effectiveRange = list_.TrackRange(row, true);
    }
    context.sampleRate = sampleRate_;
    context.running = running_;
    position_.SetContext(context);
    const int shown = context.trackSelected ? row : -1;
    if (shown != shownRow_ || context.rawRange != shownRange_) {
        shownRow_ = shown;
        shownRange_ = context.rawRange;
        position_.SelectionChanged();
    }
}

void SplitPage::NotifyListChanged()
{
    RefreshPosition();
    view_.ListChanged();
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
