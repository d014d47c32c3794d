#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "splitter/boundary_edit.h"
#include "splitter/bulk_split.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

class SpecialSplitTest : public ::testing::Test
{
protected:
    SpecialSplitTest() : list_(ui_, settings_) {}

    void Load(TimeMs total)
    {
        list_.Source().total = total;
        list_.ResetTrackList();
    }

    std::vector<TimeMs> Starts() const
    {
        std::vector<TimeMs> starts;
        for (int i = 0; i < list_.RowCount(); ++i)
            starts.push_back(list_.Row(i).start);
        return starts;
    }

    test::ScriptedInteraction ui_;
    MemorySettings settings_;
    SplitList list_;
};

TEST_F(SpecialSplitTest, EqualPartsLeaveTheRemainderToTheLast)
{
    Load(10'000);
    SplitIntoEqualParts(list_, 3, 0, 10'000);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 3'333, 6'666}));
    EXPECT_EQ(list_.Row(2).Length(), 3'334u);
    SplitIntoEqualParts(list_, 1, 0, 10'000);
    SplitIntoEqualParts(list_, 0, 0, 10'000);
    EXPECT_EQ(list_.RowCount(), 3);
}

TEST_F(SpecialSplitTest, FixedTimePiecesEndWithAShorterOne)
{
    Load(150'000);
    SplitByFixedTime(list_, 60'000, 0, 150'000);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 60'000, 120'000}));
    Load(150'000);
    SplitByFixedTime(list_, 150'000, 0, 150'000); // the whole length: nothing to cut
    EXPECT_EQ(list_.RowCount(), 1);
}

TEST_F(SpecialSplitTest, SelectedTrackScopeLeavesOtherRows)
{
    Load(120'000);
    list_.AddCutPoint(60'000);
    list_.AddCutPoint(90'000);
    SplitIntoEqualParts(list_, 2, 60'000, 90'000);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 60'000, 75'000, 90'000}));
}

TEST_F(SpecialSplitTest, AutomaticSplitUsesStoredValuesAndRefusesEndlessOnes)
{
    settings_.SetSettingInt(setting::kAutoAddSpecial, 1);
    settings_.SetSettingInt(setting::kAddSpecialType, 1);
    settings_.SetSettingInt(setting::kAddSpecialByTime, 60'000);
    Load(210'000);
    ApplyAutomaticSplit(list_, settings_);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 60'000, 120'000, 180'000}));

    for (int bad : {0, -5, 1}) { // 1 ms would make 210,000 pieces
        settings_.SetSettingInt(setting::kAddSpecialByTime, bad);
        Load(210'000);
        ApplyAutomaticSplit(list_, settings_);
        EXPECT_EQ(list_.RowCount(), 1) << bad;
    }
    settings_.SetSettingInt(setting::kAddSpecialType, 0);
    for (int bad : {1, 0, -3, 1000}) {
        settings_.SetSettingInt(setting::kAddSpecialBySection, bad);
        Load(210'000);
        ApplyAutomaticSplit(list_, settings_);
        EXPECT_EQ(list_.RowCount(), 1) << bad;
    }
    settings_.SetSettingInt(setting::kAddSpecialBySection, 4);
    Load(200'000);
    ApplyAutomaticSplit(list_, settings_);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 50'000, 100'000, 150'000}));
    settings_.SetSettingInt(setting::kAutoAddSpecial, 0);
    Load(200'000);
    ApplyAutomaticSplit(list_, settings_);
    EXPECT_EQ(list_.RowCount(), 1);
}

TEST_F(SpecialSplitTest, EqualPartsDialogChecks)
{
    Load(100'000);
    SpecialTimeAdd dialog = SpecialTimeAdd::Prepare(list_, settings_);
    EXPECT_EQ(dialog.wholeText, "1 - 1  [0:00.000-1:40.000]");
    EXPECT_EQ(dialog.trackText, "1  [0:00.000-1:40.000]");
    EXPECT_EQ(dialog.parts, 2);
    EXPECT_EQ(dialog.fixedTime, 60'000u);
    EXPECT_EQ(dialog.MaximumText(), "最大值: 1:40.000");
    dialog.method = SpecialTimeAdd::ByFixedTime;
    dialog.fixedTime = 0;
    EXPECT_EQ(dialog.CheckOk()->message,
              "0:00.000 无效。它必须大于 0，或者必须为“时:分(0-59):秒(0-59).毫秒(0-999)”的格式。");
    dialog.fixedTime = 100;
    EXPECT_EQ(dialog.CheckOk()->message, "0:00.100 太小。一次可以创建的最大片断必须小于 999。");
    dialog.fixedTime = 101;
    EXPECT_FALSE(dialog.CheckOk());
    dialog.fixedTime = 100'000;
    EXPECT_FALSE(dialog.CheckOk()); // equal to the whole length is accepted
    dialog.fixedTime = 100'001;
    EXPECT_EQ(dialog.CheckOk()->message,
              "1:40.001 无效。它必须小于你想要分割的音轨的整个长度: 1:40.000。");
    dialog.scope = SpecialTimeAdd::SelectedTrack;
    dialog.trackLength = 50'000;
    dialog.fixedTime = 60'000;
    EXPECT_EQ(dialog.CheckOk()->message,
              "1:00.000 无效。它必须小于你想要分割的音轨的区段长度: 0:50.000。");
    dialog.method = SpecialTimeAdd::ByParts;
    for (int parts : {0, 1000})
        EXPECT_EQ((dialog.parts = parts, dialog.CheckOk()->message),
                  "无效的区段数。它必须为 1-999。");
    dialog.parts = 999;
    EXPECT_FALSE(dialog.CheckOk());
}

TEST_F(SpecialSplitTest, NoMorePartsThanMilliseconds)
{
    Load(340);
    SpecialTimeAdd dialog = SpecialTimeAdd::Prepare(list_, settings_);
    dialog.method = SpecialTimeAdd::ByParts;
    dialog.parts = 999;
    const auto refusal = dialog.CheckOk();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "无效的区段数。它必须为 1-340。");
    EXPECT_FALSE(refusal->timeField);
    dialog.parts = 340;
    EXPECT_FALSE(dialog.CheckOk());
    dialog.scope = SpecialTimeAdd::SelectedTrack;
    dialog.trackLength = 100;
    dialog.parts = 101;
    EXPECT_EQ(dialog.CheckOk()->message, "无效的区段数。它必须为 1-100。");

    // On its own, for any range.
    EXPECT_EQ(SpecialTimeAdd::CheckParts(999, 340)->message, "无效的区段数。它必须为 1-340。");
    EXPECT_EQ(SpecialTimeAdd::CheckParts(2, 1)->message, "无效的区段数。它必须为 1-1。");
    EXPECT_EQ(SpecialTimeAdd::CheckParts(1000, 5'000)->message, "无效的区段数。它必须为 1-999。");
    EXPECT_FALSE(SpecialTimeAdd::CheckParts(999, 999));
    EXPECT_FALSE(SpecialTimeAdd::CheckParts(1, 0));

    // Neither the automatic split nor a direct call asks about hundreds of equal points.
    settings_.SetSettingInt(setting::kAutoAddSpecial, 1);
    settings_.SetSettingInt(setting::kAddSpecialType, 0);
    settings_.SetSettingInt(setting::kAddSpecialBySection, 999);
    Load(340);
    ApplyAutomaticSplit(list_, settings_);
    SplitIntoEqualParts(list_, 999, 0, 340);
    EXPECT_EQ(list_.RowCount(), 1);
    EXPECT_TRUE(ui_.messages.empty());
    SplitIntoEqualParts(list_, 340, 0, 340); // pieces of 1 ms
    EXPECT_EQ(list_.RowCount(), 340);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(SpecialSplitTest, EqualPartsDialogStoresItsChoice)
{
    Load(100'000);
    settings_.SetSettingInt(setting::kAddSpecialByTime, 500'000); // longer than the source
    SpecialTimeAdd dialog = SpecialTimeAdd::Prepare(list_, settings_);
    EXPECT_EQ(dialog.fixedTime, 0u); // not shown
    dialog.SetAutoApply(true, settings_);
    EXPECT_EQ(settings_.GetSettingInt(setting::kAutoAddSpecial, 0), 1); // at once
    dialog.parts = 7;
    dialog.Store(settings_);
    EXPECT_EQ(settings_.GetSettingInt(setting::kAddSpecialByTime, 0), 500'000);
    EXPECT_EQ(settings_.GetSettingInt(setting::kAddSpecialBySection, 0), 7);
    EXPECT_EQ(settings_.GetSettingInt(setting::kAddSpecialType, 9), 0);
    dialog.scope = SpecialTimeAdd::SelectedTrack;
    dialog.SetAutoApply(false, settings_); // not stored for a selected track
    EXPECT_EQ(settings_.GetSettingInt(setting::kAutoAddSpecial, 0), 1);
}

TEST_F(SpecialSplitTest, OverlapsDialogAndOverlapsOnEveryRow)
{
    Load(100'000);
    list_.AddCutPoint(50'000);
    settings_.SetSettingInt(setting::kBwOverlap, 200'000);
    settings_.SetSettingInt(setting::kFwOverlap, 1'000);
    TrackAddOverlap dialog = TrackAddOverlap::Prepare(list_, settings_);
    EXPECT_EQ(dialog.backward, 0u);
    EXPECT_EQ(dialog.forward, 1'000u);
    dialog.backward = 2'000;
    dialog.Store(settings_);
    EXPECT_EQ(settings_.GetSettingInt(setting::kBwOverlap, 0), 2'000);
    for (int row = 0; row < list_.RowCount(); ++row)
        SetTrackOverlaps(list_, row, dialog.backward, dialog.forward);
    EXPECT_EQ(list_.CellText(1, SplitColumn::BackwardOverlap), "0:02.000");
    EXPECT_EQ(list_.CellText(1, SplitColumn::ForwardOverlap), "0:01.000");
    EXPECT_EQ(list_.TrackRange(0, true).first, 0u);
    EXPECT_EQ(list_.TrackRange(1, true).second, 100'000u);
}

class BoundaryTest : public SpecialSplitTest
{
protected:
    void SetUp() override
    {
        Load(40'000);
        for (TimeMs t : {10'000u, 20'000u, 30'000u})
            list_.AddCutPoint(t);
    }

    std::vector<std::pair<TimeMs, TimeMs>> Ranges() const
    {
        std::vector<std::pair<TimeMs, TimeMs>> ranges;
        for (int i = 0; i < list_.RowCount(); ++i)
            ranges.push_back(list_.TrackRange(i, false));
        return ranges;
    }
};

using Ranges = std::vector<std::pair<TimeMs, TimeMs>>;

TEST_F(BoundaryTest, MovingAStartSwallowsTheRowsItPasses)
{
    EXPECT_EQ(SetTrackStart(list_, ui_, 3, 15'000), 2);
    EXPECT_EQ(Ranges(), (::keldro::Ranges{{0, 10'000}, {10'000, 15'000}, {15'000, 40'000}}));
    EXPECT_EQ(SetTrackStart(list_, ui_, 1, 5'000), 1);
    EXPECT_EQ(Ranges(), (::keldro::Ranges{{0, 5'000}, {5'000, 15'000}, {15'000, 40'000}}));
}

TEST_F(BoundaryTest, MovingAnEndSwallowsTheRowsItPasses)
{
    EXPECT_EQ(SetTrackEnd(list_, ui_, 0, 25'000), 0);
    EXPECT_EQ(Ranges(), (::keldro::Ranges{{0, 25'000}, {25'000, 30'000}, {30'000, 40'000}}));
    SetUp();
    SetTrackEnd(list_, ui_, 0, 15'000);
    EXPECT_EQ(Ranges(), (::keldro::Ranges{
                            {0, 15'000}, {15'000, 20'000}, {20'000, 30'000}, {30'000, 40'000}}));
    // Moved to the very end, no empty row is left behind.
    SetUp();
    SetTrackEnd(list_, ui_, 1, 40'000);
    EXPECT_EQ(Ranges(), (::keldro::Ranges{{0, 10'000}, {10'000, 40'000}}));
    // Beyond it, the end stops at the total: the list never outgrows the source.
    SetUp();
    EXPECT_EQ(SetTrackEnd(list_, ui_, 1, 55'000), 1);
    EXPECT_EQ(Ranges(), (::keldro::Ranges{{0, 10'000}, {10'000, 40'000}}));
    EXPECT_EQ(SetTrackEnd(list_, ui_, 1, 55'000), 1); // already the last row
    EXPECT_EQ(Ranges(), (::keldro::Ranges{{0, 10'000}, {10'000, 40'000}}));
}

TEST_F(BoundaryTest, FirstAndLastRowsAddACutPointInstead)
{
    // The row edited is the one that starts at the new start.
    EXPECT_EQ(SetTrackStart(list_, ui_, 0, 5'000), 1);
    EXPECT_EQ(list_.RowCount(), 5);
    EXPECT_EQ(list_.TrackRange(1, false), (std::pair<TimeMs, TimeMs>{5'000, 10'000}));
    EXPECT_EQ(list_.SelectedRow(), 1);
    EXPECT_EQ(SetTrackEnd(list_, ui_, 4, 35'000), 4);
    EXPECT_EQ(list_.RowCount(), 6);
    EXPECT_EQ(SetTrackStart(list_, ui_, 0, 0), -1);
    EXPECT_EQ(ui_.messages.back().text, "0:00.000 已存在于该列表中。");
    EXPECT_EQ(list_.RowCount(), 6);
}

TEST_F(BoundaryTest, TimesOnTheWrongSideAreRefused)
{
    EXPECT_EQ(SetTrackStart(list_, ui_, 1, 20'000), -1);
    EXPECT_EQ(ui_.messages.back().text, "你想要更新的时间必须小于选定音轨的结束时间。");
    EXPECT_EQ(SetTrackEnd(list_, ui_, 1, 10'000), -1);
    EXPECT_EQ(ui_.messages.back().text, "你想要更新的时间必须大于选定音轨的开始时间。");
    EXPECT_EQ(list_.RowCount(), 4);
}

TEST(TrackUpdate, FieldsFollowEachOther)
{
    TrackUpdate dialog;
    dialog.Open(100'000, 20'000, 50'000);
    EXPECT_EQ(dialog.length, 30'000u);
    EXPECT_EQ(dialog.MaximumText(), "最大值: 1:20.000");
    dialog.LengthChanged(90'000); // past the maximum: the end stops there
    EXPECT_EQ(dialog.newEnd, 100'000u);
    EXPECT_EQ(dialog.length, 90'000u);
    dialog.StartChanged(30'000);
    EXPECT_EQ(dialog.length, 70'000u);
    EXPECT_EQ(dialog.MaximumText(), "最大值: 1:10.000");
    dialog.EndChanged(30'000);
    EXPECT_EQ(dialog.length, 0u);
    EXPECT_FALSE(dialog.OkEnabled());
    dialog.EndChanged(31'000);
    EXPECT_TRUE(dialog.OkEnabled());
}

} // namespace
} // namespace keldro
