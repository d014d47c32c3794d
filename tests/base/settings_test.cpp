#include "base/settings.h"
#include "common/setting_keys.h"

#include <gtest/gtest.h>
#include <set>

namespace keldro {
namespace {

TEST(MemorySettings, MissingValuesReadAsTheReadersDefault)
{
    MemorySettings store;
    EXPECT_EQ(store.GetSettingInt(setting::kSplitMode, 0), 0);
    EXPECT_EQ(store.GetSettingInt(setting::kAddSpecialType, 1), 1);
    EXPECT_EQ(store.GetSettingText(setting::kNamingRuleOfSplitter, ""), "");
    EXPECT_EQ(store.GetSettingText("Any", "Thing", "fallback"), "fallback");
}

TEST(MemorySettings, ValuesOfTheWrongKindReadAsMissing)
{
    MemorySettings store;
    store.SetSettingText(setting::kSplitMode, "2");
    EXPECT_EQ(store.GetSettingInt(setting::kSplitMode, 7), 7);
    store.SetSettingInt(setting::kNamingRuleOfSplitter, 5);
    EXPECT_EQ(store.GetSettingText(setting::kNamingRuleOfSplitter, "%F-%S"), "%F-%S");
    store.SetSettingInt(setting::kSplitMode, 2);
    EXPECT_EQ(store.GetSettingInt(setting::kSplitMode, 7), 2);
}

TEST(MemorySettings, SectionsKeepEqualNamesApart)
{
    MemorySettings store;
    store.SetSettingInt("A", "Value", 1);
    store.SetSettingInt("B", "Value", 2);
    EXPECT_EQ(store.GetSettingInt("A", "Value", 0), 1);
    EXPECT_EQ(store.GetSettingInt("B", "Value", 0), 2);
}

TEST(ReadOrStoreDefault, StoresTheDefaultOnlyWhenMissing)
{
    MemorySettings store;
    EXPECT_EQ(ReadOrStoreDefault(store, setting::kInitialPanel, 0), 0);
    EXPECT_TRUE(store.Contains(setting::kSettings, "Initial Panel"));
    store.SetSettingInt(setting::kInitialPanel, 2);
    EXPECT_EQ(ReadOrStoreDefault(store, setting::kInitialPanel, 0), 2);
    // A stored -1 counts as missing: the default is stored over it.
    store.SetSettingInt(setting::kInitialPanel, -1);
    EXPECT_EQ(ReadOrStoreDefault(store, setting::kInitialPanel, 0), 0);
    EXPECT_EQ(store.GetSettingInt(setting::kInitialPanel, 9), 0);
}

TEST(SettingKeys, EveryValueIsNamedOnce)
{
    std::set<std::pair<std::string_view, std::string_view>> seen;
    for (const auto& entry : setting::kAll)
        EXPECT_TRUE(seen.insert({entry.key.section, entry.key.value}).second) << entry.key.value;
    EXPECT_EQ(seen.size(), 51u);
}

} // namespace
} // namespace keldro
