// The split page's logic without its window: loading, modes and list commands.
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

class SplitPageTest : public test::SplitPageFixture
{
protected:
    // A 128 kbit/s source of about the given length, with a tag.
    std::string Source(const std::string& name, int seconds, bool vbr = false)
    {
        const int frames = seconds * 1000 * 128 / 8 / 417;
        Bytes bytes =
            vbr ? test::XingFrame(HeaderFields{}, static_cast<std::uint32_t>(frames), 0) : Bytes{};
        Append(bytes, test::Frames(HeaderFields{}, frames));
        Append(bytes, test::Id3v1Tag("Song", "Singer", "Record", "1999", "", 4, 17));
        const std::string path = dir_.File(name);
        test::WriteFile(path, bytes);
        return path;
    }

    std::string Sheet(const std::string& name, const std::string& text)
    {
        const std::string path = dir_.File(name);
        test::WriteFile(path, Bytes(text.begin(), text.end()));
        return path;
    }
};

TEST_F(SplitPageTest, ConstructionStoresModeDestinationAndNamingRule)
{
    EXPECT_EQ(settings_.GetSettingInt(setting::kSplitMode, -1), 0);
    EXPECT_TRUE(settings_.Contains(setting::kSettings, "Splitting Destination Folder"));
    EXPECT_EQ(page_.NamingRule(), "%F-%S");
    EXPECT_EQ(settings_.GetSettingText(setting::kNamingRuleOfSplitter, ""), "%F-%S");
    EXPECT_FALSE(page_.IsLoaded());
}

TEST_F(SplitPageTest, LoadingAnMp3SeedsOneRowFromItsTag)
{
    const std::string path = Source("album.mp3", 60);
    ASSERT_TRUE(page_.LoadSource(path));
    EXPECT_TRUE(page_.IsLoaded());
    EXPECT_EQ(page_.SourceFolder(), dir_.Path());
    EXPECT_EQ(page_.SourceFileName(), "album.mp3");
    EXPECT_EQ(settings_.GetSettingText(setting::kSplitSourceLastFolder, ""), dir_.Path());
    EXPECT_EQ(page_.Total(), page_.Info().DurationMs());
    ASSERT_EQ(page_.List().RowCount(), 1);
    EXPECT_EQ(page_.List().Row(0).title, "Song");
    EXPECT_EQ(page_.List().Row(0).artist, "Singer");
    EXPECT_EQ(page_.List().Row(0).track, "4"); // the source has a number
    EXPECT_EQ(page_.InfoText().rfind("时间: 0:59.", 0), 0u);
    EXPECT_FALSE(page_.FrameAccurate());
    EXPECT_TRUE(ui_.loadingHints.empty());
}

TEST_F(SplitPageTest, ASourceNamedRelativelyLeavesItsAbsoluteFolderForTheNextDialog)
{
    Source("album.mp3", 10);
    const test::WorkingFolder inside(dir_.Path());
    ASSERT_TRUE(page_.LoadSource("album.mp3"));
    const std::string folder = std::filesystem::current_path().string();
    EXPECT_EQ(settings_.GetSettingText(setting::kSplitSourceLastFolder, ""), folder);
    page_.ChooseSource();
    EXPECT_EQ(ui_.fileRequests.back().folder, folder);
}

TEST_F(SplitPageTest, AFileThatIsNoMp3IsReported)
{
    const std::string path = Sheet("noise.mp3", "no frames at all");
    EXPECT_FALSE(page_.LoadSource(path));
    EXPECT_FALSE(page_.IsLoaded());
    EXPECT_EQ(ui_.messages.back().text, "未能载入 MP3 文件\n\n" + path + "!");
    EXPECT_EQ(ui_.messages.back().icon, MessageIcon::Error);
}

TEST_F(SplitPageTest, VariableBitrateSourceLoadsItsFrameTableInAutoMode)
{
    int loadingPumps = 0;
    ui_.onPump = [&] { loadingPumps += page_.IsLoadingFrames() ? 1 : 0; };
    ASSERT_TRUE(page_.LoadSource(Source("vbr.mp3", 30, true)));
    EXPECT_TRUE(page_.FrameAccurate());
    EXPECT_TRUE(page_.Info().IsFrameTableLoaded());
    EXPECT_EQ(ui_.loadingHints, (std::vector<bool>{true, false}));
    // The pass lets events through: the page says so until it has ended.
    EXPECT_GT(ui_.pumps, 0);
    EXPECT_EQ(loadingPumps, ui_.pumps);
    EXPECT_FALSE(page_.IsLoadingFrames());
}

const std::string kDiscSheet = "PERFORMER \"Band\"\nTITLE \"Disc\"\nFILE \"disc.mp3\" MP3\n"
                               "TRACK 01 AUDIO\n TITLE \"Opening\"\n INDEX 01 00:00:00\n"
                               "TRACK 02 AUDIO\n PERFORMER \"Guest\"\n INDEX 01 00:20:00\n"
                               "TRACK 03 AUDIO\n TITLE \"Last\"\n INDEX 00 00:35:00\n"
                               " INDEX 01 00:40:00\n";

TEST_F(SplitPageTest, CueSheetTracksBecomeRows)
{
    Source("disc.mp3", 60);
    const std::string sheet = Sheet("disc.cue", kDiscSheet);
    ASSERT_TRUE(page_.LoadSource(sheet));
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 20'000, 35'000, 40'000}));
    const SplitList& list = page_.List();
    EXPECT_EQ(list.Row(0).title, "Opening"); // names row 0
    EXPECT_EQ(list.Row(0).artist, "Band");
    EXPECT_EQ(list.Row(1).title, "Disc"); // the sheet's title for an empty one
    EXPECT_EQ(list.Row(1).artist, "Guest");
    EXPECT_EQ(list.Row(2).title, ""); // the pregap, untitled
    EXPECT_EQ(list.Row(3).title, "Last");
    EXPECT_EQ(list.Row(3).album, "Record");
}

TEST_F(SplitPageTest, ASheetThatFailsLeavesTheLoadedSheetAsItWas)
{
    Source("disc.mp3", 60);
    const std::string sheet = Sheet("disc.cue", kDiscSheet);
    ASSERT_TRUE(page_.LoadSource(sheet));
    const std::string broken = Sheet("broken.cue", "TITLE \"Broken\"\nPERFORMER \"Nobody\"\n"
                                                   "FILE \"disc.mp3\"\nTRACK 01 AUDIO\n");
    EXPECT_FALSE(page_.LoadSource(broken));
    EXPECT_EQ(ui_.messages.back().text, "读取音轨 [1] 时间位置错误，请检查 CUE 源文件并重试!");
    EXPECT_TRUE(page_.IsLoaded());
    EXPECT_EQ(page_.Cue().GetSheetPath(), sheet);
    EXPECT_EQ(page_.Cue().GetTrackCount(), 3);

    // Saved, the list carries the loaded sheet's title and performer.
    ASSERT_TRUE(page_.WriteListAsCue(dir_.File("saved.cue")));
    CProcessCUEFile saved;
    ASSERT_TRUE(saved.Read(dir_.File("saved.cue"), ui_));
    EXPECT_EQ(saved.GetSheetTitle(), "Disc");
    EXPECT_EQ(saved.GetSheetPerformer(), "Band");
    // A switch of handling seeds the sheet's tracks again.
    page_.SwitchSplitMode(SplitMode::Frame);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 20'000, 35'000, 40'000}));
    EXPECT_EQ(page_.List().Row(3).title, "Last");
}

TEST_F(SplitPageTest, MissingAudioOfASheetCanBeReplaced)
{
    const std::string other = Source("other.mp3", 30);
    const std::string sheet = Sheet("gone.cue", "FILE \"gone.mp3\" MP3\nTRACK 01 AUDIO\n"
                                                " INDEX 01 00:00:00\nTRACK 02 AUDIO\n"
                                                " TITLE \"Two\"\n INDEX 01 00:10:00\n");
    EXPECT_FALSE(page_.LoadSource(sheet)); // the question is cancelled
    ASSERT_EQ(ui_.showOnceMessages.size(), 1u);
    EXPECT_EQ(ui_.showOnceMessages[0].text,
              "无法载入下方已与 CUE 文件进行关联的音频文件:\n" + dir_.File("gone.mp3") +
                  "\n\n你想要选择其他音频文件来应用该 CUE 文件中的音轨信息吗?");
    EXPECT_FALSE(ui_.showOnceMessages[0].showDontShowBox);

    ui_.showOnceAnswer = {true, false};
    ui_.openFiles = {other};
    ASSERT_TRUE(page_.LoadSource(sheet));
    EXPECT_EQ(page_.SourceFileName(), "other.mp3");
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 10'000}));
    EXPECT_EQ(ui_.fileRequests.back().folder, dir_.Path());
}

TEST_F(SplitPageTest, AutomaticSplitAtLoad)
{
    settings_.SetSettingInt(setting::kAutoAddSpecial, 1);
    settings_.SetSettingInt(setting::kAddSpecialType, 1);
    settings_.SetSettingInt(setting::kAddSpecialByTime, 10'000);
    ASSERT_TRUE(page_.LoadSource(Source("auto.mp3", 35)));
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 10'000, 20'000, 30'000}));
    EXPECT_EQ(page_.List().SelectedRow(), 0);
}

TEST_F(SplitPageTest, SwitchingHandlingReloadsAfterAskingOnce)
{
    ASSERT_TRUE(page_.LoadSource(Source("cbr.mp3", 60)));
    for (TimeMs t : {10'000u, 20'000u, 30'000u, 40'000u})
        page_.List().AddCutPoint(t);
    page_.SwitchSplitMode(SplitMode::Fast); // auto to fast on CBR: nothing but the mode
    EXPECT_EQ(page_.List().RowCount(), 5);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSplitMode, 0), static_cast<int>(SplitMode::Fast));
    EXPECT_TRUE(ui_.showOnceMessages.empty());

    ui_.showOnceAnswer = {true, false};
    ui_.saveFiles = {dir_.File("before switch.cue")};
    page_.SwitchSplitMode(SplitMode::Frame);
    ASSERT_EQ(ui_.showOnceMessages.size(), 1u);
    EXPECT_EQ(ui_.showOnceMessages[0].caption, "切换分割模式");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("before switch.cue")));
    EXPECT_EQ(page_.List().RowCount(), 1);
    EXPECT_TRUE(page_.FrameAccurate());
    EXPECT_EQ(SplitPage::ModeCaption(SplitMode::Frame), "帧分割");
}

TEST_F(SplitPageTest, RemoveAndClearCommands)
{
    ASSERT_TRUE(page_.LoadSource(Source("a.mp3", 60)));
    ui_.answers = {MessageAnswer::No};
    page_.RemoveSelectedTrack(); // the only row: asks to unload
    EXPECT_EQ(ui_.messages.back().text, "你确定你想要移除当前 MP3 吗?");
    EXPECT_TRUE(page_.IsLoaded());
    page_.List().AddCutPoint(20'000);
    page_.List().AddCutPoint(40'000);
    page_.List().Select(-1);
    page_.RemoveSelectedTrack();
    EXPECT_EQ(ui_.messages.back().text, "请先从列表中选择项目!");
    page_.List().Select(2);
    page_.RemoveSelectedTrack();
    EXPECT_EQ(page_.List().RowCount(), 2);
    EXPECT_EQ(page_.List().SelectedRow(), 1);
    ui_.answers = {MessageAnswer::Yes};
    page_.ClearList();
    EXPECT_EQ(ui_.messages.back().text, "你确定你想要清除分割列表中的所有音轨吗?");
    EXPECT_EQ(page_.List().RowCount(), 1);
    ui_.answers = {MessageAnswer::Yes};
    page_.ClearList();
    EXPECT_FALSE(page_.IsLoaded());
    EXPECT_EQ(page_.List().RowCount(), 0);
}

TEST_F(SplitPageTest, EditedTagsGoToTheRowOrToEveryRow)
{
    ASSERT_TRUE(page_.LoadSource(Source("a.mp3", 60)));
    page_.List().AddCutPoint(30'000);
    page_.List().Select(1);
    view_.onEditTags = [](TrackTagEditor& editor) {
        EXPECT_EQ(editor.lineText, "区段 2 的 ID3 标签信息: [ 0:30.000 - 0:59.995 ]");
        EXPECT_EQ(editor.genreChoice, 18);
        editor.values[TrackTagEditor::Title] = "Part %S";
        editor.genreChoice = 1; // Blues
        return true;
    };
    page_.EditTrackTags();
    EXPECT_EQ(page_.List().Row(1).title, "Part %S");
    EXPECT_EQ(page_.List().Row(1).genre, "Blues");
    EXPECT_EQ(page_.List().Row(0).title, "Song");
    view_.onEditTags = [](TrackTagEditor& editor) {
        editor.values[TrackTagEditor::Artist] = "Everyone";
        editor.genreChoice = 0;
        editor.applyToAll = true;
        return true;
    };
    page_.EditTrackTags();
    EXPECT_EQ(page_.List().Row(0).artist, "Everyone");
    EXPECT_EQ(page_.List().Row(0).genre, "");
    EXPECT_EQ(page_.List().Row(0).title, "Part %S");
}

} // namespace
} // namespace keldro
