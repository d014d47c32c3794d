#include "splitter/split_complete.h"

#include "common/setting_keys.h"
#include "string_table.h"

namespace keldro {

void SplitComplete::Open(SettingsStore& settings)
{
    exportCue = ReadOrStoreDefault(settings, setting::kExportCue, 0) == 1;
    openFolder = ReadOrStoreDefault(settings, setting::kSplitterAutoOpenFolder, 0) == 1;
}

std::string SplitComplete::Text() const
{
    if (!exportCue)
        return message;
    return FormatString(StringId::SplitDoneWithCue, message.c_str(), cuePath.c_str());
}

void SplitComplete::Close(SettingsStore& settings) const
{
    settings.SetSettingInt(setting::kExportCue, exportCue ? 1 : 0);
    settings.SetSettingInt(setting::kSplitterShowSuccess, dontShowAgain ? 0 : 1);
}

} // namespace keldro
