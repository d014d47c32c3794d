// The step and page sizes: the dialog's opening with its write-back, the
// page's plain reading, storing, and the sizes the dialog's fields accept.
#include "common/setting_keys.h"
#include "splitter/step_sizes.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

using setting::kTimePageSize;
using setting::kTimeStepSize;

TEST(StepSizesOpen, MissingSizesAreStoredWithTheirDefaults)
{
    MemorySettings store;
    const StepSizes sizes = StepSizes::Open(store);
    EXPECT_EQ(sizes.step, 100u);
    EXPECT_EQ(sizes.page, 1000u);
    EXPECT_EQ(store.GetSettingInt(kTimeStepSize, -1), 100);
    EXPECT_EQ(store.GetSettingInt(kTimePageSize, -1), 1000);
}

TEST(StepSizesOpen, StoredSizesAreKeptAndOnlyTheMissingOneIsWritten)
{
    MemorySettings store;
    store.SetSettingInt(kTimeStepSize, 250);
    const StepSizes sizes = StepSizes::Open(store);
    EXPECT_EQ(sizes.step, 250u);
    EXPECT_EQ(sizes.page, 1000u);
    EXPECT_EQ(store.GetSettingInt(kTimeStepSize, -1), 250);
    EXPECT_EQ(store.GetSettingInt(kTimePageSize, -1), 1000);
    EXPECT_EQ(store.Size(), 2u);
}

TEST(StepSizesOpen, SizesBelowOneAreReplacedByTheirDefaults)
{
    MemorySettings store;
    store.SetSettingInt(kTimeStepSize, 0);
    store.SetSettingInt(kTimePageSize, -5);
    const StepSizes sizes = StepSizes::Open(store);
    EXPECT_EQ(sizes.step, 100u);
    EXPECT_EQ(sizes.page, 1000u);
    EXPECT_EQ(store.GetSettingInt(kTimeStepSize, -1), 100);
    EXPECT_EQ(store.GetSettingInt(kTimePageSize, -1), 1000);
}

TEST(StepSizesRead, DefaultsWithoutWriting)
{
    MemorySettings store;
    EXPECT_EQ(StepSizes::Read(store), std::make_pair(TimeMs{100}, TimeMs{1000}));
    EXPECT_EQ(store.Size(), 0u);
    store.SetSettingInt(kTimeStepSize, 40);
    store.SetSettingInt(kTimePageSize, 5000);
    EXPECT_EQ(StepSizes::Read(store), std::make_pair(TimeMs{40}, TimeMs{5000}));
}

TEST(StepSizesRead, SizesBelowOneReadAsDefaults)
{
    // A negative size read as unsigned would jump to the ends of the source.
    MemorySettings store;
    store.SetSettingInt(kTimeStepSize, -1);
    store.SetSettingInt(kTimePageSize, 0);
    EXPECT_EQ(StepSizes::Read(store), std::make_pair(TimeMs{100}, TimeMs{1000}));
    store.SetSettingInt(kTimeStepSize, -300);
    EXPECT_EQ(StepSizes::Read(store).first, 100u);
}

TEST(StepSizesStore, WritesBothAndTheyReadBack)
{
    MemorySettings store;
    StepSizes sizes;
    sizes.step = 10;
    sizes.page = 60'000;
    sizes.Store(store);
    EXPECT_EQ(store.GetSettingInt(kTimeStepSize, -1), 10);
    EXPECT_EQ(store.GetSettingInt(kTimePageSize, -1), 60'000);
    const StepSizes opened = StepSizes::Open(store);
    EXPECT_EQ(opened.step, 10u);
    EXPECT_EQ(opened.page, 60'000u);
}

TEST(StepSizesStore, SizesBeyondTheStoresIntAreCappedNotWrapped)
{
    MemorySettings store;
    StepSizes sizes;
    sizes.step = 3'000'000'000u;
    sizes.Store(store);
    EXPECT_EQ(store.GetSettingInt(kTimeStepSize, -1), 2'147'483'647);
}

TEST(StepSizesParse, WholePositiveMilliseconds)
{
    EXPECT_EQ(StepSizes::ParseSize("1"), TimeMs{1});
    EXPECT_EQ(StepSizes::ParseSize("100"), TimeMs{100});
    EXPECT_EQ(StepSizes::ParseSize("0250"), TimeMs{250});
    EXPECT_EQ(StepSizes::ParseSize("2147483647"), TimeMs{2'147'483'647});
}

TEST(StepSizesParse, ZeroEmptyNegativeAndOtherTextAreRefused)
{
    EXPECT_EQ(StepSizes::ParseSize(""), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("0"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("000"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("-100"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("+100"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("1.5"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize(" 100"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("100ms"), std::nullopt);
}

TEST(StepSizesParse, SizesTheStoreCannotHoldAreRefused)
{
    EXPECT_EQ(StepSizes::ParseSize("2147483648"), std::nullopt);
    EXPECT_EQ(StepSizes::ParseSize("4294967296"), std::nullopt); // would wrap to 0
    EXPECT_EQ(StepSizes::ParseSize("99999999999999999999"), std::nullopt);
}

} // namespace
} // namespace keldro
