// CVantryShowInfoDlg's logic, messages the user can switch off: whether one is still shown is
// stored per value name in the section "VantryDialogToggle".
#pragma once

#include "base/settings.h"
#include "base/user_interaction.h"

#include <string_view>

namespace keldro {

enum class ShowOnceOutcome
{
    Skipped, // switched off earlier: not shown
    Ok,
    Cancel,
};

struct ShowOnceResult
{
    ShowOnceOutcome outcome = ShowOnceOutcome::Skipped;
    bool custom = false;
};

bool IsMessageShown(const SettingsStore& settings, std::string_view valueName, int defaultShown);

// Shows the message unless it was switched off. An empty value name means it
// cannot be switched off: its box is not offered.
ShowOnceResult ShowMessageOnce(UserInteraction& ui, SettingsStore& settings,
                               ShowOnceMessage message, std::string_view valueName,
                               int defaultShown = 1);

} // namespace keldro
