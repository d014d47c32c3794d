// CTimeStepEditDlg's values: how far one step (Up/Down, the spin buttons) and
// one page (PgUp/PgDn) move the split page's position.
#pragma once

#include "base/settings.h"
#include "splitter/position_controller.h"

#include <optional>
#include <string_view>
#include <utility>

namespace keldro {

struct StepSizes
{
    TimeMs step = kDefaultStepMs;
    TimeMs page = kDefaultPageMs;

    // The dialog's opening: a missing size, or one that cannot be used (0 or
    // negative, written by hand), is stored back with its default at once.
    static StepSizes Open(SettingsStore& store);
    // The page's reading when it is built: the same values, nothing written.
    static std::pair<TimeMs, TimeMs> Read(const SettingsStore& store);
    // The sizes as the dialog's OK keeps them; the store holds at most an int.
    void Store(SettingsStore& store) const;

    // A size as typed in the dialog: whole milliseconds from 1 to what the
    // store holds. A size of 0 would leave the keys doing nothing, so it is
    // refused with empty and other text.
    static std::optional<TimeMs> ParseSize(std::string_view text);
};

} // namespace keldro
