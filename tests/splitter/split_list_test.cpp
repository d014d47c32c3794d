#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "splitter/split_list.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

class SplitListTest : public ::testing::Test
{
protected:
    SplitListTest() : list_(ui_, settings_)
    {
        list_.Source().total = 180'000;
        list_.Source().titleField = "Album Title";
        list_.Source().artistField = "The Artist";
        list_.Source().tag.album = "The Album";
        list_.Source().tag.year = "1999";
        list_.Source().tag.comment = "note";
        list_.Source().tag.track = 0;
        list_.Source().tag.genre = 17;
    }

    // "start-end" of every row, in display text.
    std::vector<std::string> Ranges() const
    {
        std::vector<std::string> ranges;
        for (int i = 0; i < list_.RowCount(); ++i) {
            ranges.push_back(list_.CellText(i, SplitColumn::Start) + "-" +
                             list_.CellText(i, SplitColumn::End));
        }
        return ranges;
    }

    test::ScriptedInteraction ui_;
    MemorySettings settings_;
    SplitList list_;
};

TEST_F(SplitListTest, ResetGivesOneRowOverTheWholeSource)
{
    list_.ResetTrackList();
    ASSERT_EQ(list_.RowCount(), 1);
    EXPECT_EQ(Ranges(), std::vector<std::string>{"0:00.000-3:00.000"});
    EXPECT_EQ(list_.CellText(0, SplitColumn::Length), "3:00.000");
    EXPECT_EQ(list_.SelectedRow(), 0);
    // Row 0 is built from the source: auto track on, only if the source has none.
    EXPECT_EQ(list_.Row(0).title, "Album Title");
    EXPECT_EQ(list_.Row(0).artist, "The Artist");
    EXPECT_EQ(list_.Row(0).album, "The Album");
    EXPECT_EQ(list_.Row(0).genre, "Rock");
    EXPECT_EQ(list_.Row(0).track, "%S");
    EXPECT_TRUE(list_.Row(0).checked);
}

TEST_F(SplitListTest, CutPointsSplitTheRowThatHoldsThem)
{
    list_.ResetTrackList();
    list_.AddCutPoint(60'000);
    list_.AddCutPoint(120'000);
    EXPECT_EQ(Ranges(), (std::vector<std::string>{"0:00.000-1:00.000", "1:00.000-2:00.000",
                                                  "2:00.000-3:00.000"}));
    EXPECT_EQ(list_.SelectedRow(), 2);
    list_.AddCutPoint(90'000);
    EXPECT_EQ(Ranges(), (std::vector<std::string>{"0:00.000-1:00.000", "1:00.000-1:30.000",
                                                  "1:30.000-2:00.000", "2:00.000-3:00.000"}));
    EXPECT_EQ(list_.CellText(1, SplitColumn::Length), "0:30.000");
    EXPECT_EQ(list_.SelectedRow(), 2);
}

TEST_F(SplitListTest, ExistingStartsAndTimesAtTheEndAreRefused)
{
    list_.ResetTrackList();
    EXPECT_TRUE(list_.AddCutPoint(60'000));
    EXPECT_FALSE(list_.AddCutPoint(60'000));
    EXPECT_FALSE(list_.AddCutPoint(0));
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "1:00.000 已存在于该列表中。");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui_.messages[1].text, "0:00.000 已存在于该列表中。");
    EXPECT_FALSE(list_.AddCutPoint(180'000)); // at the end: silently ignored
    EXPECT_FALSE(list_.AddCutPoint(200'000));
    EXPECT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(list_.RowCount(), 2);
}

TEST_F(SplitListTest, RemovingGivesTheRangeToANeighbour)
{
    list_.ResetTrackList();
    list_.AddCutPoint(60'000);
    list_.AddCutPoint(120'000);
    list_.RemoveTrack(0);
    EXPECT_EQ(Ranges(), (std::vector<std::string>{"0:00.000-2:00.000", "2:00.000-3:00.000"}));
    list_.RemoveTrack(1);
    EXPECT_EQ(Ranges(), std::vector<std::string>{"0:00.000-3:00.000"});
}

TEST_F(SplitListTest, NewRowsCopyTheTagsOfRowZeroNotOfTheirNeighbour)
{
    list_.ResetTrackList();
    list_.AddCutPoint(60'000);
    list_.SetCellText(1, SplitColumn::Title, "neighbour");
    list_.SetCellText(0, SplitColumn::Title, "first");
    list_.AddCutPoint(120'000);
    EXPECT_EQ(list_.Row(2).title, "first");
    const std::string title = "Given";
    const std::string artist = "Performer";
    list_.AddCutPoint(150'000, &title, &artist, true);
    EXPECT_EQ(list_.Row(3).title, "Given");
    EXPECT_EQ(list_.Row(3).artist, "Performer");
    EXPECT_EQ(list_.Row(3).album, "The Album");
}

TEST_F(SplitListTest, SourceTagOptionsShapeRowsBuiltFromTheSource)
{
    settings_.SetSettingInt(setting::kId3AutoSequence, 1);
    list_.Source().tag.track = 5;
    list_.ResetTrackList();
    EXPECT_EQ(list_.Row(0).title, "Album Title%S");
    EXPECT_EQ(list_.Row(0).track, "5"); // only if the source has none
    settings_.SetSettingInt(setting::kId3AutoTrackIfNull, 0);
    list_.ResetTrackList();
    EXPECT_EQ(list_.Row(0).track, "%S");
    settings_.SetSettingInt(setting::kId3AutoTrack, 0);
    list_.Source().tag.track = 0;
    list_.ResetTrackList();
    EXPECT_EQ(list_.Row(0).track, "0");
    list_.Source().tag.genre = 200;
    list_.ResetTrackList();
    EXPECT_EQ(list_.Row(0).genre, "");
}

TEST_F(SplitListTest, OverlapsApplyWithinTheSource)
{
    settings_.SetSettingInt(setting::kAutoOverlap, 1);
    settings_.SetSettingInt(setting::kBwOverlap, 5'000);
    settings_.SetSettingInt(setting::kFwOverlap, 2'000);
    list_.ResetTrackList();
    list_.AddCutPoint(3'000);
    EXPECT_EQ(list_.CellText(1, SplitColumn::BackwardOverlap), "0:05.000");
    EXPECT_EQ(list_.TrackRange(1, false), (std::pair<TimeMs, TimeMs>{3'000, 180'000}));
    // Not before 0, not beyond the end.
    EXPECT_EQ(list_.TrackRange(1, true), (std::pair<TimeMs, TimeMs>{0, 180'000}));
    EXPECT_EQ(list_.TrackRange(0, true), (std::pair<TimeMs, TimeMs>{0, 5'000}));
}

TEST_F(SplitListTest, WildcardsExpandPerRow)
{
    list_.ResetTrackList();
    for (TimeMs t : {10'000u, 20'000u, 30'000u, 40'000u})
        list_.AddCutPoint(t);
    list_.SetCellText(4, SplitColumn::Title, "Part %S of %M");
    list_.SetCellText(4, SplitColumn::Album, "Live %S");
    list_.SetCellText(4, SplitColumn::Track, "%K");
    EXPECT_EQ(list_.ExpandTagField(4, SplitColumn::Title), "Part 005 of Live 005");
    EXPECT_EQ(list_.ExpandTagField(4, SplitColumn::Track), "0");
    list_.SetCellText(4, SplitColumn::Album, "%M");
    EXPECT_EQ(list_.ExpandTagField(4, SplitColumn::Album), "");
    list_.SetCellText(3, SplitColumn::Track, "%S");
    list_.SetCellText(3, SplitColumn::Comment, "Track %K of %M%s");
    list_.SetCellText(3, SplitColumn::Album, "A");
    EXPECT_EQ(list_.ExpandTagField(3, SplitColumn::Comment), "Track 004 of A%s");
}

TEST_F(SplitListTest, HeaderCheckBoxSetsEveryRowAndNewRowsFollowIt)
{
    list_.ResetTrackList();
    list_.AddCutPoint(60'000);
    list_.ToggleHeaderCheck();
    EXPECT_FALSE(list_.HeaderChecked());
    EXPECT_FALSE(list_.AnyChecked());
    list_.AddCutPoint(120'000);
    EXPECT_FALSE(list_.Row(2).checked);
    list_.MutableRow(1).checked = true;
    EXPECT_TRUE(list_.AnyChecked());
    EXPECT_FALSE(list_.HeaderChecked());
    list_.ToggleHeaderCheck();
    EXPECT_TRUE(list_.Row(0).checked && list_.Row(2).checked);
}

} // namespace
} // namespace keldro
