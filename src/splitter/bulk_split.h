// CSpecialTimeAdd and CTrackAddOverlap: filling the split list in bulk with
// equal parts, parts of a fixed length, and overlaps; the dialogs' logic.
#pragma once

#include "splitter/split_list.h"

#include <optional>
#include <string>

namespace keldro {

class SettingsStore;

// Adds n - 1 cut points dividing [s, e]; the last piece takes the remainder.
// Nothing is added when the pieces would be shorter than a millisecond.
void SplitIntoEqualParts(SplitList& list, int n, TimeMs s, TimeMs e);
// Adds a cut point every length ms after s, before e.
void SplitByFixedTime(SplitList& list, TimeMs length, TimeMs s, TimeMs e);
void SetTrackOverlaps(SplitList& list, int row, TimeMs backward, TimeMs forward);
// The split applied when a source is loaded, from the stored choice. Stored
// values the dialog would refuse (fewer than 2 or more than 999 parts, more
// parts than the source has milliseconds, a length of 0 or one giving more
// than 999 parts) add nothing.
void ApplyAutomaticSplit(SplitList& list, const SettingsStore& settings);

inline constexpr int kMostParts = 999;

// The equal-parts dialog.
struct SpecialTimeAdd
{
    enum Scope
    {
        WholeSource = 0,
        SelectedTrack = 1
    };
    enum Method
    {
        ByParts = 0,
        ByFixedTime = 1
    };

    TimeMs wholeLength = 0;
    std::string wholeText;
    bool trackAvailable = false;
    TimeMs trackLength = 0;
    std::string trackText;

    int scope = WholeSource;
    int method = ByParts;
    int parts = 2;
    TimeMs fixedTime = 0;       // the time field
    TimeMs storedFixedTime = 0; // as read when the dialog opened
    bool autoApply = false;

    static SpecialTimeAdd Prepare(const SplitList& list, const SettingsStore& settings);
    std::string MaximumText() const;
    // Ticking the box stores it at once while the whole source is chosen.
    void SetAutoApply(bool on, SettingsStore& settings);

    struct Refusal
    {
        std::string message;
        bool timeField; // which field gets the focus
    };
    std::optional<Refusal> CheckOk() const;
    // The check of a number of parts over a range of that many milliseconds:
    // 1 to 999 parts, and no more parts than milliseconds.
    static std::optional<Refusal> CheckParts(int parts, TimeMs range);
    void Store(SettingsStore& settings) const;
};

// The overlaps dialog.
struct TrackAddOverlap
{
    enum Scope
    {
        EveryTrack = 0,
        SelectedTrack = 1
    };

    TimeMs total = 0;
    std::string wholeText;
    bool trackAvailable = false;
    std::string trackText;
    int scope = EveryTrack;
    TimeMs backward = 0;
    TimeMs forward = 0;
    bool autoApply = false;

    static TrackAddOverlap Prepare(const SplitList& list, const SettingsStore& settings);
    void SetAutoApply(bool on, SettingsStore& settings);
    void Store(SettingsStore& settings) const;
};

// "1 - rows [0:00.000-total]" and "row [start-end]", as both dialogs show them.
std::string WholeRangeText(const SplitList& list);
std::string SelectedTrackText(const SplitList& list);

} // namespace keldro
