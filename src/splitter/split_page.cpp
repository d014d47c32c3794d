#include "splitter/split_page.h"

#include "base/user_interaction.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "splitter/boundary_edit.h"
#include "splitter/bulk_split.h"
#include "splitter/split_page_view.h"
#include "splitter/step_sizes.h"
#include "splitter/track_tag_editor.h"
#include "string_table.h"

#include <filesystem>

namespace keldro {
namespace {

bool Ask(UserInteraction& ui, StringId question)
{
    return ui.ShowMessage(LoadString(question), MessageIcon::Question, MessageButtons::YesNo) ==
           MessageAnswer::Yes;
}

std::string Display(TimeMs ms)
{
    return FormatTime(ms, TimeStyle::Display);
}

// A stored value other than fast (1) or frame (2) is the default, automatic.
SplitMode SplitModeOf(int stored)
{
    return stored == 1 ? SplitMode::Fast : stored == 2 ? SplitMode::Frame : SplitMode::Auto;
}

// A negative size would move the position the wrong way, or wrap around.
} // namespace

SplitPage::SplitPage(UserInteraction& ui, SettingsStore& settings, SplitPageView& view,
                     const PlaybackService* playback, WaitClock* clock)
    : user_(ui), settings_(settings), view_(view), list_(ui, settings), playback_(playback),
      playbackStream_(playback), position_(playbackStream_, clock ? *clock : sleepingClock_, ui)
{
    mode_ = SplitModeOf(ReadOrStoreDefault(settings_, setting::kSplitMode, 0));
    destination_ = settings_.GetSettingText(setting::kSplittingDestinationFolder, "");
    settings_.SetSettingText(setting::kSplittingDestinationFolder, destination_);
    ReloadNamingRule();
    if (playback_ && playback_->IsAudioAvailable()) {
        audioDevice_ = playback_->InitOutputDevice(nullptr);
        if (!audioDevice_)
            user_.ShowMessage(LoadString(StringId::PlaybackDeviceFailed), MessageIcon::Warning,
                              MessageButtons::Ok);
    }
    playbackStream_.SetAudioDevice(audioDevice_);
    const auto [step, page] = StepSizes::Read(settings_);
    position_.SetSizes(step, page);
    RefreshPosition();
}

SplitPage::~SplitPage()
{
    FreeStream();
}

std::string SplitPage::SourcePath() const
{
    return (std::filesystem::path(folder_) / fileName_).string();
}

void SplitPage::ReloadNamingRule()
{
    namingRule_ = settings_.GetSettingText(setting::kNamingRuleOfSplitter, "");
    if (namingRule_.empty()) {
        namingRule_ = "%F-%S";
        settings_.SetSettingText(setting::kNamingRuleOfSplitter, namingRule_);
    }
}

bool SplitPage::HasSelection()
{
    if (list_.SelectedRow() >= 0)
        return true;
    user_.ShowMessage(LoadString(StringId::SelectItemFirst), MessageIcon::Warning,
                      MessageButtons::Ok);
    return false;
}

void SplitPage::UnloadCommand()
{
    if (loaded_ && !running_ && Ask(user_, StringId::ConfirmUnloadSource))
        UnloadSource();
}

void SplitPage::RemoveSelectedTrack()
{
    if (running_)
        return;
    if (list_.RowCount() == 1) {
        UnloadCommand();
        return;
    }
    if (!HasSelection())
        return;
    const int row = list_.SelectedRow();
    list_.RemoveTrack(row);
    list_.Select(row > 0 ? row - 1 : 0);
    NotifyListChanged();
}

void SplitPage::ClearList()
{
    if (running_)
        return;
    if (list_.RowCount() == 1) {
        UnloadCommand();
        return;
    }
    if (list_.RowCount() > 1 && Ask(user_, StringId::ConfirmClearList)) {
        list_.ResetTrackList();
        NotifyListChanged();
    }
}

void SplitPage::EditTrackTags()
{
    if (running_)
        return;
    TrackTagEditor editor(settings_);
    const TagRecord& tag = info_.Tag();
    std::string title = tag.title;
    if (settings_.GetSettingInt(setting::kId3AutoSequence, 0) == 1)
        title += "%S";
    editor.resetValues = {title,      tag.year,    tag.album,
                          tag.artist, tag.comment, SourceTrackText(settings_, tag.track)};
    editor.sourceTrack = tag.track;
    editor.sourceGenrePosition = static_cast<int>(tag.genre) + 1;
    const int row = list_.SelectedRow();
    if (row < 0)
        return;
    const SplitTrack& r = list_.Row(row);
    editor.lineText = FormatString(StringId::TagEditorLine, row + 1, Display(r.start).c_str(),
                                   Display(r.end).c_str());
    editor.values = {r.title, r.year, r.album, r.artist, r.comment, r.track};
    editor.genreName = r.genre;
    editor.Open();
    if (!view_.EditTags(editor))
        return;
    const int first = editor.applyToAll ? 0 : row;
    const int last = editor.applyToAll ? list_.RowCount() - 1 : row;
    for (int i = first; i <= last; ++i) {
        SplitTrack& target = list_.MutableRow(i);
        target.title = editor.values[TrackTagEditor::Title];
        target.year = editor.values[TrackTagEditor::Year];
        target.album = editor.values[TrackTagEditor::Album];
        target.artist = editor.values[TrackTagEditor::Artist];
        target.comment = editor.values[TrackTagEditor::Comment];
        target.track = editor.values[TrackTagEditor::Track];
        target.genre = editor.ChosenGenreName();
    }
    NotifyListChanged();
}

void SplitPage::ReselectAfterBulkChange(int previous)
{
    list_.Select(previous >= 0 && previous < list_.RowCount() ? previous : 0);
    NotifyListChanged();
}

void SplitPage::EqualPartsCommand()
{
    if (!loaded_ || running_)
        return;
    SpecialTimeAdd dialog = SpecialTimeAdd::Prepare(list_, settings_);
    if (!view_.AskEqualParts(dialog))
        return;
    dialog.Store(settings_);
    const int previous = list_.SelectedRow();
    const bool byTime = dialog.method == SpecialTimeAdd::ByFixedTime;
    if (dialog.scope == SpecialTimeAdd::WholeSource) {
        if (list_.RowCount() > 1 && !Ask(user_, StringId::ConfirmReplaceTracks)) {
            ReselectAfterBulkChange(previous);
            return;
        }
        list_.ResetTrackList();
        if (byTime)
            SplitByFixedTime(list_, dialog.fixedTime, 0, Total());
        else
            SplitIntoEqualParts(list_, dialog.parts, 0, Total());
    } else if (previous >= 0) {
        const auto [start, end] = list_.TrackRange(previous, false);
        if (byTime)
            SplitByFixedTime(list_, dialog.fixedTime, start, end);
        else
            SplitIntoEqualParts(list_, dialog.parts, start, end);
    }
    ReselectAfterBulkChange(previous);
}

void SplitPage::OverlapsCommand()
{
    if (!loaded_ || running_)
        return;
    TrackAddOverlap dialog = TrackAddOverlap::Prepare(list_, settings_);
    if (!view_.AskOverlaps(dialog))
        return;
    dialog.Store(settings_);
    const int previous = list_.SelectedRow();
    for (int row = 0; row < list_.RowCount(); ++row) {
        if (dialog.scope == TrackAddOverlap::EveryTrack || row == previous)
            SetTrackOverlaps(list_, row, dialog.backward, dialog.forward);
    }
    ReselectAfterBulkChange(previous);
}

void SplitPage::SetStartCommand(TimeMs time)
{
    if (loaded_ && !running_ && HasSelection() &&
        SetTrackStart(list_, user_, list_.SelectedRow(), time) >= 0)
        NotifyListChanged();
}

void SplitPage::SetEndCommand(TimeMs time)
{
    if (loaded_ && !running_ && HasSelection() &&
        SetTrackEnd(list_, user_, list_.SelectedRow(), time) >= 0)
        NotifyListChanged();
}

void SplitPage::EditTrackLength()
{
    if (!loaded_ || running_ || !HasSelection())
        return;
    int row = list_.SelectedRow();
    TrackUpdate dialog;
    dialog.caption = FormatString(StringId::TrackUpdateCaption, row + 1, list_.RowCount());
    const auto [start, end] = list_.TrackRange(row, true);
    dialog.Open(Total(), start, end);
    if (!view_.AskTrackLength(dialog))
        return;
    const bool startChanged = dialog.newStart != dialog.givenStart;
    // A track moved wholly later gets its new end first: its start could not
    // pass its old end.
    if (startChanged && dialog.newStart >= list_.Row(row).end) {
        row = SetTrackEnd(list_, user_, row, dialog.newEnd);
        if (row >= 0)
            SetTrackStart(list_, user_, row, dialog.newStart);
    } else {
        if (startChanged)
            row = SetTrackStart(list_, user_, row, dialog.newStart);
        if (row >= 0 && dialog.newEnd != dialog.givenEnd)
            SetTrackEnd(list_, user_, row, dialog.newEnd);
    }
    NotifyListChanged();
}

std::string SplitPage::TrackLabel(int row) const
{
    if (row < 0 || row >= list_.RowCount())
        return {};
    const auto [start, end] = list_.TrackRange(row, true);
    const double size = static_cast<double>(info_.TimeToOffset(end, Total(), true)) -
                        static_cast<double>(info_.TimeToOffset(start, Total(), true));
    const SplitTrack& r = list_.Row(row);
    StringId note = StringId::OverlapNone;
    if (r.backwardOverlap == 0 && r.forwardOverlap != 0)
        note = StringId::OverlapForward;
    else if (r.backwardOverlap != 0 && r.forwardOverlap == 0)
        note = StringId::OverlapBackward;
    else if (r.backwardOverlap != 0 && r.forwardOverlap != 0)
        note = StringId::OverlapBoth;
    double figure = size / 1024;
    StringId unit = StringId::UnitKilobytes;
    if (figure >= 1024) {
        figure /= 1024;
        unit = StringId::UnitMegabytes;
    }
    return FormatString(StringId::TrackLabel, row + 1, list_.RowCount(), Display(start).c_str(),
                        Display(end).c_str(), LoadString(note).data(), figure,
                        LoadString(unit).data());
}

} // namespace keldro
