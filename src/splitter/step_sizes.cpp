#include "splitter/step_sizes.h"

#include "common/setting_keys.h"

#include <algorithm>
#include <limits>

namespace keldro {
namespace {

constexpr TimeMs kLargestSize = std::numeric_limits<int>::max();

int Storable(TimeMs size)
{
    return static_cast<int>(std::min(size, kLargestSize));
}

// A stored size below 1 would move backwards (negative) or not at all.
bool Usable(int stored)
{
    return stored >= 1;
}

TimeMs OpenOne(SettingsStore& store, const SettingKey& key, TimeMs defaultSize)
{
    const int stored = ReadOrStoreDefault(store, key, static_cast<int>(defaultSize));
    if (Usable(stored))
        return static_cast<TimeMs>(stored);
    store.SetSettingInt(key, static_cast<int>(defaultSize));
    return defaultSize;
}

TimeMs ReadOne(const SettingsStore& store, const SettingKey& key, TimeMs defaultSize)
{
    const int stored = store.GetSettingInt(key, static_cast<int>(defaultSize));
    return Usable(stored) ? static_cast<TimeMs>(stored) : defaultSize;
}

} // namespace

StepSizes StepSizes::Open(SettingsStore& store)
{
    StepSizes sizes;
    sizes.step = OpenOne(store, setting::kTimeStepSize, kDefaultStepMs);
    sizes.page = OpenOne(store, setting::kTimePageSize, kDefaultPageMs);
    return sizes;
}

std::pair<TimeMs, TimeMs> StepSizes::Read(const SettingsStore& store)
{
    return {ReadOne(store, setting::kTimeStepSize, kDefaultStepMs),
            ReadOne(store, setting::kTimePageSize, kDefaultPageMs)};
}

void StepSizes::Store(SettingsStore& store) const
{
    store.SetSettingInt(setting::kTimeStepSize, Storable(step));
    store.SetSettingInt(setting::kTimePageSize, Storable(page));
}

std::optional<TimeMs> StepSizes::ParseSize(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    TimeMs size = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const TimeMs digit = static_cast<TimeMs>(c - '0');
        if (size > (kLargestSize - digit) / 10)
            return std::nullopt;
        size = size * 10 + digit;
    }
    if (size == 0)
        return std::nullopt;
    return size;
}

} // namespace keldro
