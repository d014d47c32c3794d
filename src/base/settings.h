// The per-user settings store: named values in sections. A missing value, or
// one of the wrong kind, reads as the default the reader passes; a store that
// cannot be opened reads as defaults and drops writes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace keldro {

struct SettingKey
{
    std::string_view section;
    std::string_view value;
};

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    int GetSettingInt(std::string_view section, std::string_view value, int defaultValue) const;
    bool SetSettingInt(std::string_view section, std::string_view value, int number);
    std::string GetSettingText(std::string_view section, std::string_view value,
                               std::string_view defaultValue) const;
    bool SetSettingText(std::string_view section, std::string_view value, std::string_view text);

    int GetSettingInt(const SettingKey& key, int defaultValue) const
    {
        return GetSettingInt(key.section, key.value, defaultValue);
    }
    bool SetSettingInt(const SettingKey& key, int number)
    {
        return SetSettingInt(key.section, key.value, number);
    }
    std::string GetSettingText(const SettingKey& key, std::string_view defaultValue) const
    {
        return GetSettingText(key.section, key.value, defaultValue);
    }
    bool SetSettingText(const SettingKey& key, std::string_view text)
    {
        return SetSettingText(key.section, key.value, text);
    }

private:
    virtual std::optional<int> ReadInt(std::string_view section, std::string_view value) const = 0;
    virtual std::optional<std::string> ReadText(std::string_view section,
                                                std::string_view value) const = 0;
    virtual bool WriteInt(std::string_view section, std::string_view value, int number) = 0;
    virtual bool WriteText(std::string_view section, std::string_view value,
                           std::string_view text) = 0;
};

// For values that must exist after first use: read with the marker -1 and, when
// missing, store the reader's default at once.
int ReadOrStoreDefault(SettingsStore& store, const SettingKey& key, int defaultValue);

// A store in memory, for the command line and the tests.
class MemorySettings final : public SettingsStore
{
public:
    bool Contains(std::string_view section, std::string_view value) const;
    std::size_t Size() const { return values_.size(); }

private:
    std::optional<int> ReadInt(std::string_view section, std::string_view value) const override;
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view value) const override;
    bool WriteInt(std::string_view section, std::string_view value, int number) override;
    bool WriteText(std::string_view section, std::string_view value,
                   std::string_view text) override;

    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::variant<int, std::string>> values_;
};

} // namespace keldro
