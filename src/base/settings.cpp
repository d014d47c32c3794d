#include "base/settings.h"

namespace keldro {

int SettingsStore::GetSettingInt(std::string_view section, std::string_view value,
                                 int defaultValue) const
{
    return ReadInt(section, value).value_or(defaultValue);
}

bool SettingsStore::SetSettingInt(std::string_view section, std::string_view value, int number)
{
    return WriteInt(section, value, number);
}

std::string SettingsStore::GetSettingText(std::string_view section, std::string_view value,
                                          std::string_view defaultValue) const
{
    return ReadText(section, value).value_or(std::string(defaultValue));
}

bool SettingsStore::SetSettingText(std::string_view section, std::string_view value,
                                   std::string_view text)
{
    return WriteText(section, value, text);
}

int ReadOrStoreDefault(SettingsStore& store, const SettingKey& key, int defaultValue)
{
    const int stored = store.GetSettingInt(key, -1);
    if (stored != -1)
        return stored;
    store.SetSettingInt(key, defaultValue);
    return defaultValue;
}

bool MemorySettings::Contains(std::string_view section, std::string_view value) const
{
    return values_.count({std::string(section), std::string(value)}) != 0;
}

std::optional<int> MemorySettings::ReadInt(std::string_view section, std::string_view value) const
{
    const auto found = values_.find({std::string(section), std::string(value)});
    if (found == values_.end() || !std::holds_alternative<int>(found->second))
        return std::nullopt;
    return std::get<int>(found->second);
}

std::optional<std::string> MemorySettings::ReadText(std::string_view section,
                                                    std::string_view value) const
{
    const auto found = values_.find({std::string(section), std::string(value)});
    if (found == values_.end() || !std::holds_alternative<std::string>(found->second))
        return std::nullopt;
    return std::get<std::string>(found->second);
}

bool MemorySettings::WriteInt(std::string_view section, std::string_view value, int number)
{
    values_[{std::string(section), std::string(value)}] = number;
    return true;
}

bool MemorySettings::WriteText(std::string_view section, std::string_view value,
                               std::string_view text)
{
    values_[{std::string(section), std::string(value)}] = std::string(text);
    return true;
}

} // namespace keldro
