// The split page's commands that work through dialogs: CUE export, special
// split, overlaps, track length, and the selected track's label.
#include "common/setting_keys.h"
#include "mp3_builder.h"
#include "split_page_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

class SplitCommandsTest : public test::SplitPageFixture
{
protected:
    void Load(int frames, HeaderFields fields = {})
    {
        Bytes bytes = test::Frames(fields, frames);
        Append(bytes, test::Id3v1Tag("Own Title", "Own Artist", "", "", "", 0, 255));
        source_ = dir_.File("music.mp3");
        test::WriteFile(source_, bytes);
        ASSERT_TRUE(page_.LoadSource(source_));
    }

    std::string source_;
};

TEST_F(SplitCommandsTest, SavingTheListWritesASheetOfTheRawRows)
{
    EXPECT_FALSE(page_.SaveListAsCue());
    EXPECT_EQ(ui_.messages.back().text, "请先载入你想要分割的 MP3 文件!");
    Load(1500);
    page_.List().AddCutPoint(20'000);
    page_.List().MutableRow(1).title = "Second %S";
    page_.List().MutableRow(1).backwardOverlap = 5'000; // not exported
    EXPECT_FALSE(page_.SaveListAsCue());                // the save dialog is cancelled
    EXPECT_EQ(ui_.messages.back().text, "操作已被取消，未保存 CUE 文件。");
    EXPECT_EQ(ui_.fileRequests.back().fileName, "music");
    EXPECT_EQ(ui_.fileRequests.back().folder, dir_.Path());

    ui_.saveFiles = {dir_.File("list.cue")};
    ASSERT_TRUE(page_.SaveListAsCue());
    CProcessCUEFile cue;
    ASSERT_TRUE(cue.Read(dir_.File("list.cue"), ui_));
    EXPECT_EQ(cue.GetAudioPath(), source_); // written as the bare name: same folder
    EXPECT_EQ(cue.GetSheetTitle(), "Own Title");
    EXPECT_EQ(cue.GetSheetPerformer(), "Own Artist");
    CueTrackRecord second;
    ASSERT_TRUE(cue.GetTrack(1, second));
    EXPECT_EQ(second.title, "Second %S");
    EXPECT_EQ(second.firstIndex, "0:20.000");

    // Elsewhere the sheet names the source by its full path; an existing one is asked about.
    std::filesystem::create_directory(dir_.File("sheets"));
    ASSERT_TRUE(page_.WriteListAsCue(dir_.File("sheets/list.cue")));
    const Bytes text = test::ReadFile(dir_.File("sheets/list.cue"));
    EXPECT_NE(std::string(text.begin(), text.end()).find("FILE \"" + source_ + "\" MP3"),
              std::string::npos);
    ui_.answers = {MessageAnswer::No};
    EXPECT_FALSE(page_.WriteListAsCue(dir_.File("sheets/list.cue")));
    EXPECT_EQ(ui_.messages.back().text,
              dir_.File("sheets/list.cue") + " 已经存在。你想要替换它吗?");
}

TEST_F(SplitCommandsTest, ASheetSavedElsewhereNamesASourceLoadedRelativelyByItsFullPath)
{
    Load(1500);
    std::filesystem::create_directory(dir_.File("sheets"));
    const test::WorkingFolder inside(dir_.Path());
    ASSERT_TRUE(page_.LoadSource("music.mp3"));
    ASSERT_TRUE(page_.WriteListAsCue(dir_.File("sheets/list.cue")));
    CProcessCUEFile cue;
    ASSERT_TRUE(cue.Read(dir_.File("sheets/list.cue"), ui_));
    EXPECT_EQ(cue.GetAudioPath(), std::filesystem::current_path().string() + "/music.mp3");
    // Beside the source, the bare name as always.
    ASSERT_TRUE(page_.WriteListAsCue("list.cue"));
    ASSERT_TRUE(cue.Read("list.cue", ui_));
    EXPECT_EQ(cue.GetAudioPath(), "music.mp3");
}

TEST_F(SplitCommandsTest, TheSheetTheSourceCameFromIsNeverWritten)
{
    Load(2400);
    // Lines the writer would not keep, in a sheet that shares the source's stem.
    const std::string text = "REM GENRE Rock\nCATALOG 0000000000000\nTITLE \"Disc\"\n"
                             "FILE \"music.mp3\" MP3\nTRACK 01 AUDIO\n FLAGS DCP\n"
                             " INDEX 01 00:00:00\nTRACK 02 AUDIO\n PREGAP 00:02:00\n"
                             " INDEX 00 00:20:00\n INDEX 01 00:22:00\n";
    const std::string sheet = dir_.File("music.cue");
    test::WriteFile(sheet, Bytes(text.begin(), text.end()));
    ASSERT_TRUE(page_.LoadSource(sheet));
    std::filesystem::create_symlink(sheet, dir_.File("link.cue"));
    for (const std::string& name : {sheet, dir_.Path() + "/./music.cue", dir_.File("link.cue")})
        EXPECT_TRUE(page_.IsLoadedSheet(name)) << name;
    EXPECT_FALSE(page_.IsLoadedSheet(dir_.File("other.cue")));
    EXPECT_FALSE(page_.IsLoadedSheet(source_));

    ui_.answers = {MessageAnswer::Yes, MessageAnswer::Yes}; // were a replace question asked
    EXPECT_FALSE(page_.WriteListAsCue(sheet));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, sheet + " 不能被同时选定为来源与目标 MP3 文件!");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
    ui_.saveFiles = {dir_.File("link.cue")};
    EXPECT_FALSE(page_.SaveListAsCue());
    ASSERT_EQ(ui_.messages.size(), 3u);
    EXPECT_EQ(ui_.messages[1].text,
              dir_.File("link.cue") + " 不能被同时选定为来源与目标 MP3 文件!");
    EXPECT_EQ(ui_.messages[2].text, "操作已被取消，未保存 CUE 文件。");
    EXPECT_EQ(test::ReadFile(sheet), Bytes(text.begin(), text.end()));
    EXPECT_TRUE(page_.WriteListAsCue(dir_.File("other.cue")));

    // Loaded from the MP3 itself, the page has no sheet of its own.
    ASSERT_TRUE(page_.LoadSource(source_));
    EXPECT_FALSE(page_.IsLoadedSheet(sheet));
    page_.UnloadSource();
    EXPECT_FALSE(page_.IsLoadedSheet(source_));
}

TEST_F(SplitCommandsTest, EqualPartsOverTheWholeSourceAskBeforeReplacingRows)
{
    Load(2400); // about 60 s
    page_.List().AddCutPoint(10'000);
    view_.onEqualParts = [](SpecialTimeAdd& dialog) {
        dialog.method = SpecialTimeAdd::ByParts;
        dialog.parts = 3;
        return true;
    };
    ui_.answers = {MessageAnswer::No};
    page_.EqualPartsCommand();
    EXPECT_EQ(ui_.messages.back().text,
              "该操作将会在进行添加之前移除所有已存在的音轨。你想要继续吗?");
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 10'000}));
    EXPECT_EQ(settings_.GetSettingInt(setting::kAddSpecialBySection, 0), 3); // stored on OK
    ui_.answers = {MessageAnswer::Yes};
    page_.EqualPartsCommand();
    const TimeMs third = page_.Total() / 3;
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, third, 2 * third}));
}

TEST_F(SplitCommandsTest, EqualPartsOfTheSelectedTrackKeepOtherRows)
{
    Load(2400);
    page_.List().AddCutPoint(20'000);
    page_.List().AddCutPoint(40'000);
    page_.List().Select(1);
    view_.onEqualParts = [](SpecialTimeAdd& dialog) {
        dialog.scope = SpecialTimeAdd::SelectedTrack;
        dialog.method = SpecialTimeAdd::ByFixedTime;
        dialog.fixedTime = 5'000;
        return true;
    };
    page_.EqualPartsCommand();
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 20'000, 25'000, 30'000, 35'000, 40'000}));
    EXPECT_EQ(page_.List().SelectedRow(), 1);
    // A refused choice never closes the dialog with OK.
    view_.onEqualParts = [](SpecialTimeAdd& dialog) {
        dialog.method = SpecialTimeAdd::ByFixedTime;
        dialog.fixedTime = 0;
        return true;
    };
    page_.EqualPartsCommand();
    EXPECT_EQ(page_.List().RowCount(), 6);
}

TEST_F(SplitCommandsTest, OverlapsForEveryRowOrTheSelectedOne)
{
    Load(2400);
    page_.List().AddCutPoint(20'000);
    page_.List().AddCutPoint(40'000);
    page_.List().Select(2);
    view_.onOverlaps = [](TrackAddOverlap& dialog) {
        dialog.scope = TrackAddOverlap::SelectedTrack;
        dialog.backward = 3'000;
        return true;
    };
    page_.OverlapsCommand();
    EXPECT_EQ(page_.List().Row(2).backwardOverlap, 3'000u);
    EXPECT_EQ(page_.List().Row(1).backwardOverlap, 0u);
    view_.onOverlaps = [](TrackAddOverlap& dialog) {
        dialog.forward = 1'000;
        dialog.backward = 2'000;
        return true;
    };
    page_.OverlapsCommand();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(page_.List().CellText(row, SplitColumn::ForwardOverlap), "0:01.000");
    EXPECT_EQ(settings_.GetSettingInt(setting::kBwOverlap, 0), 2'000);
}

TEST_F(SplitCommandsTest, TrackLengthDialogMovesBoundaries)
{
    Load(2400);
    page_.List().AddCutPoint(20'000);
    page_.List().AddCutPoint(40'000);
    page_.List().MutableRow(1).backwardOverlap = 1'000;
    page_.List().Select(1);
    view_.onTrackLength = [](TrackUpdate& dialog) {
        EXPECT_EQ(dialog.caption, "曲目号码 02/03:");
        EXPECT_EQ(dialog.givenStart, 19'000u); // the effective range
        return true;                           // unchanged
    };
    page_.EditTrackLength();
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 20'000, 40'000}));
    view_.onTrackLength = [](TrackUpdate& dialog) {
        dialog.StartChanged(10'000);
        dialog.LengthChanged(35'000);
        return true;
    };
    page_.EditTrackLength();
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 10'000, 45'000}));
}

TEST_F(SplitCommandsTest, TrackLengthDialogOnTheFirstRowKeepsTheNewStart)
{
    Load(2400);
    page_.List().AddCutPoint(5'000);
    page_.List().Select(0);
    view_.onTrackLength = [](TrackUpdate& dialog) {
        dialog.StartChanged(2'000);
        dialog.EndChanged(4'000);
        return true;
    };
    page_.EditTrackLength();
    // The end moves the next row's start with it, as ends always do.
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 2'000, 4'000}));
    EXPECT_EQ(page_.List().TrackRange(1, false), (std::pair<TimeMs, TimeMs>{2'000, 4'000}));
    EXPECT_EQ(page_.List().SelectedRow(), 1);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(SplitCommandsTest, TrackLengthDialogMovesATrackWhollyLater)
{
    Load(2400);
    page_.List().AddCutPoint(2'000);
    page_.List().AddCutPoint(4'000);
    page_.List().Select(1);
    view_.onTrackLength = [](TrackUpdate& dialog) {
        dialog.StartChanged(5'000);
        dialog.EndChanged(7'000);
        return true;
    };
    page_.EditTrackLength();
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 5'000, 7'000}));
    EXPECT_EQ(page_.List().TrackRange(1, false), (std::pair<TimeMs, TimeMs>{5'000, 7'000}));
    EXPECT_TRUE(ui_.messages.empty());
    // The first row too, past its end.
    page_.List().ResetTrackList();
    page_.List().AddCutPoint(5'000);
    page_.List().Select(0);
    view_.onTrackLength = [](TrackUpdate& dialog) {
        dialog.StartChanged(6'000);
        dialog.EndChanged(8'000);
        return true;
    };
    page_.EditTrackLength();
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 6'000, 8'000}));
    EXPECT_EQ(page_.List().SelectedRow(), 1);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(SplitCommandsTest, LabelShowsTheEstimatedSize)
{
    // MPEG 2.5 at 8 kbit/s: one byte per millisecond.
    HeaderFields slow;
    slow.versionBits = 0;
    slow.bitrateIndex = 1;
    slow.sampleRateIndex = 2;
    Load(20'000, slow);
    page_.List().AddCutPoint(1'048'575);
    EXPECT_EQ(page_.TrackLabel(0), "曲目号码 01/02: 0:00.000 - 17:28.575 (无交迭，大约 1024.0 KB)");
    page_.List().RemoveTrack(1);
    page_.List().AddCutPoint(1'048'576);
    page_.List().MutableRow(0).forwardOverlap = 0;
    EXPECT_EQ(page_.TrackLabel(0), "曲目号码 01/02: 0:00.000 - 17:28.576 (无交迭，大约 1.0 MB)");
    page_.List().MutableRow(1).backwardOverlap = 500;
    EXPECT_NE(page_.TrackLabel(1).find("(向后交迭，"), std::string::npos);
    EXPECT_EQ(page_.TrackLabel(5), "");
}

} // namespace
} // namespace keldro
