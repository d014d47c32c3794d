// CMP3ID3Editor's logic, what the track tag editor decides: its fields, the three options that
// place the sequence wildcard automatically, reset, OK and apply to all. The dialog shows this
// object's state and calls it on every click.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace keldro {

class SettingsStore;
class UserInteraction;

class TrackTagEditor
{
public:
    // The six texts, in the order the editor holds them.
    enum Field
    {
        Title,
        Year,
        Album,
        Artist,
        Comment,
        Track,
        FieldCount
    };
    using Texts = std::array<std::string, FieldCount>;

    // Reads the three options; a missing one is stored with its default at once.
    explicit TrackTagEditor(SettingsStore& settings);

    // Set by the caller before the dialog opens.
    Texts resetValues;
    std::uint32_t sourceTrack = 0;
    int sourceGenrePosition = 0; // the source's genre index + 1; 0 is the empty entry
    std::string lineText;
    Texts values;
    std::string genreName; // preselects the drop-down

    // The dialog's state.
    int genreChoice = -1; // position in GenreEntries(); -1 until opened
    bool applyToAll = false;

    // The drop-down: an empty entry, then the genre names in their order.
    static const std::vector<std::string>& GenreEntries();

    // Preselects the genre from genreName.
    void Open();
    bool AutoSequence() const { return autoSequence_; }
    bool AutoTrack() const { return autoTrack_; }
    bool OnlyIfEmpty() const { return onlyIfEmpty_; }
    bool OnlyIfEmptyEnabled() const { return autoTrack_; }

    void ToggleAutoSequence();
    void ToggleAutoTrack();
    void ToggleOnlyIfEmpty();
    // Asks first; on Yes the values and the genre go back to the source's.
    void Reset(UserInteraction& ui);
    // OK: stores the three options. Cancel is simply not calling it.
    void Accept();
    void AcceptForAll();

    // The genre name the caller writes for the chosen entry ("" for none).
    std::string ChosenGenreName() const;

private:
    void SetTrackField();

    SettingsStore& settings_;
    bool autoSequence_;
    bool autoTrack_;
    bool onlyIfEmpty_;
};

} // namespace keldro
