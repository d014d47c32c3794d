#include "common/show_once.h"

#include "common/setting_keys.h"

namespace keldro {

bool IsMessageShown(const SettingsStore& settings, std::string_view valueName, int defaultShown)
{
    return settings.GetSettingInt(setting::kDialogToggle, valueName, defaultShown) != 0;
}

ShowOnceResult ShowMessageOnce(UserInteraction& ui, SettingsStore& settings,
                               ShowOnceMessage message, std::string_view valueName,
                               int defaultShown)
{
    if (!valueName.empty() && !IsMessageShown(settings, valueName, defaultShown))
        return {ShowOnceOutcome::Skipped, false};
    message.showDontShowBox = message.showDontShowBox && !valueName.empty();
    const auto store = [&](bool dontShow) {
        if (!valueName.empty())
            settings.SetSettingInt(setting::kDialogToggle, valueName, dontShow ? 0 : 1);
    };
    const ShowOnceAnswer answer = ui.ShowOnce(message, store);
    return {answer.ok ? ShowOnceOutcome::Ok : ShowOnceOutcome::Cancel, answer.ok && answer.custom};
}

} // namespace keldro
