#include "splitter/track_tag_editor.h"

#include "base/user_interaction.h"
#include "common/setting_keys.h"
#include "engine/id3v1.h"
#include "string_table.h"

#include <algorithm>

namespace keldro {
namespace {

void EraseAll(std::string& text, std::string_view part)
{
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

} // namespace

TrackTagEditor::TrackTagEditor(SettingsStore& settings)
    : settings_(settings),
      autoSequence_(ReadOrStoreDefault(settings, setting::kId3AutoSequence, 0) == 1),
      autoTrack_(ReadOrStoreDefault(settings, setting::kId3AutoTrack, 1) == 1),
      onlyIfEmpty_(ReadOrStoreDefault(settings, setting::kId3AutoTrackIfNull, 1) == 1)
{}

const std::vector<std::string>& TrackTagEditor::GenreEntries()
{
    static const std::vector<std::string> entries = [] {
        std::vector<std::string> list{""};
        for (std::uint32_t i = 0; i < kGenreCount; ++i)
            list.emplace_back(GenreName(i));
        return list;
    }();
    return entries;
}

void TrackTagEditor::Open()
{
    genreChoice = GenreBoxPosition(genreName);
}

void TrackTagEditor::ToggleAutoSequence()
{
    autoSequence_ = !autoSequence_;
    std::string& title = values[Title];
    if (autoSequence_ && title.find("%S") == std::string::npos)
        title += "%S";
    else if (!autoSequence_)
        EraseAll(title, "%S");
}

void TrackTagEditor::ToggleAutoTrack()
{
    autoTrack_ = !autoTrack_;
    SetTrackField();
}

void TrackTagEditor::ToggleOnlyIfEmpty()
{
    onlyIfEmpty_ = !onlyIfEmpty_;
    SetTrackField();
}

void TrackTagEditor::SetTrackField()
{
    const bool useSequence = autoTrack_ && !(onlyIfEmpty_ && sourceTrack != 0);
    values[Track] = useSequence ? "%S" : std::to_string(sourceTrack);
}

void TrackTagEditor::Reset(UserInteraction& ui)
{
    if (ui.ShowMessage(LoadString(StringId::TagEditorResetQuestion), MessageIcon::Question,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    values = resetValues;
    const int entries = static_cast<int>(GenreEntries().size());
    genreChoice =
        (sourceGenrePosition > 0 && sourceGenrePosition < entries) ? sourceGenrePosition : 0;
}

void TrackTagEditor::Accept()
{
    settings_.SetSettingInt(setting::kId3AutoSequence, autoSequence_ ? 1 : 0);
    settings_.SetSettingInt(setting::kId3AutoTrack, autoTrack_ ? 1 : 0);
    settings_.SetSettingInt(setting::kId3AutoTrackIfNull, onlyIfEmpty_ ? 1 : 0);
}

void TrackTagEditor::AcceptForAll()
{
    applyToAll = true;
    Accept();
}

std::string TrackTagEditor::ChosenGenreName() const
{
    if (genreChoice < 1 || genreChoice > 254)
        return {};
    return std::string(GenreName(static_cast<std::uint32_t>(genreChoice - 1)));
}

} // namespace keldro
