// The merge page's list commands on small synthesised files.
#include "base/settings.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "joiner/merge_page.h"
#include "mp3_builder.h"
#include "pcm.h"
#include "playback_files.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"
#include "tools.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Bytes;

class MergePageTest : public ::testing::Test
{
protected:
    // A 128 kbit/s file of the given frames (26.06 ms each, by its bitrate).
    std::string MakeFile(const std::string& name, int frames = 8, const Bytes& tag = {})
    {
        Bytes bytes = test::Frames(test::HeaderFields{}, frames);
        test::Append(bytes, tag);
        const std::string path = dir_.File(name);
        test::WriteFile(path, bytes);
        return path;
    }

    MergePage& Page()
    {
        if (!page_)
            page_.emplace(ui_, settings_, view_, view_);
        return *page_;
    }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < Page().List().RowCount(); ++i)
            names.push_back(Page().List().Row(i).Text(MergeColumn::FileName));
        return names;
    }

    void Select(std::initializer_list<int> rows)
    {
        for (int i = 0; i < Page().List().RowCount(); ++i)
            Page().List().MutableRow(i).selected = false;
        for (int row : rows)
            Page().List().MutableRow(row).selected = true;
    }

    test::TempDir dir_;
    test::ScriptedInteraction ui_;
    MemorySettings settings_;
    test::ScriptedMergeView view_;
    std::optional<MergePage> page_;
};

TEST_F(MergePageTest, FirstStartSortsByFileNameAndStoresEveryHeaderClick)
{
    Page();
    EXPECT_EQ(settings_.GetSettingInt(setting::kSortingColumnOfJoiner, -999), 0);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSortingDir, -999), 1);
    EXPECT_EQ(settings_.GetSettingText(setting::kMergingDestinationFolder, "?"), "");
    Page().ClickHeader(0);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSortingDir, -999), 0);
    Page().ClickHeader(0);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSortingColumnOfJoiner, -999), -1);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSortingDir, -999), 1);
}

TEST_F(MergePageTest, ThreeFilesPickedAtOnceWithTheListSorted)
{
    ui_.openFileLists.push_back({MakeFile("b.mp3")});
    ui_.openFileLists.push_back({MakeFile("d.mp3"), MakeFile("a.mp3"), MakeFile("c.mp3")});
    Page().AddFilesCommand();
    Page().AddFilesCommand();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(Page().List().SelectedRows(), (std::vector<int>{1})); // the insert position
    ASSERT_EQ(ui_.fileRequests.size(), 2u);
    EXPECT_EQ(ui_.fileRequests[0].title, "添加 MP3 文件进行合并");
    EXPECT_EQ(ui_.fileRequests[1].folder, dir_.Path() + "/"); // the last folder added from
}

// The window shows a busy cursor while picked or dropped files are analysed,
// not while its file dialog is open, and not for a dialog closed with Cancel.
TEST_F(MergePageTest, AddingFilesIsAnnouncedAroundTheAnalysis)
{
    using Change = std::optional<bool>;
    ui_.openFileLists.push_back({});
    ui_.openFileLists.push_back({MakeFile("a.mp3"), MakeFile("b.mp3")});
    Page().AddFilesCommand();
    EXPECT_TRUE(view_.addingChanges.empty());
    Page().AddFilesCommand();
    Page().DropFiles({dir_.File("a.mp3")});
    EXPECT_EQ(view_.addingChanges,
              (std::vector<Change>{true, std::nullopt, false, true, std::nullopt, false}));
}

TEST_F(MergePageTest, ThreeFilesPickedAtOnceUnsortedStandReversedAfterTheOldRows)
{
    settings_.SetSettingInt(setting::kSortingColumnOfJoiner, -1);
    settings_.SetSettingInt(setting::kMergeSourceFolderMode, 0);
    settings_.SetSettingText(setting::kMergingSourceFolder, "/default/");
    ui_.openFileLists.push_back({MakeFile("z.mp3")});
    ui_.openFileLists.push_back({MakeFile("d.mp3"), MakeFile("a.mp3"), MakeFile("c.mp3")});
    Page().AddFilesCommand();
    Page().AddFilesCommand();
    EXPECT_EQ(Names(), (std::vector<std::string>{"z.mp3", "c.mp3", "a.mp3", "d.mp3"}));
    EXPECT_EQ(ui_.fileRequests[1].folder, "/default/");
    // The same file twice is two rows.
    Page().DropFiles({dir_.File("z.mp3")});
    EXPECT_EQ(Page().List().RowCount(), 5);
}

TEST_F(MergePageTest, TotalsCutToWholeSecondsAndLabelsInTheirUnits)
{
    const std::string path = MakeFile("long.mp3", 7900); // 205.89 s
    Page().DropFiles({path});
    EXPECT_EQ(Page().Totals().duration, 205'000u);
    EXPECT_EQ(Page().DurationText(), "0:03:25");
    const MergeEntry& row = Page().List().Row(0);
    EXPECT_EQ(row.Text(MergeColumn::Duration), "0:03:25");
    EXPECT_EQ(row.Text(MergeColumn::SampleRate), "44100");
    EXPECT_EQ(row.Text(MergeColumn::Silence), "<无>");
    EXPECT_EQ(row.Text(MergeColumn::Track), "0");
    EXPECT_EQ(row.Text(MergeColumn::Folder), dir_.Path() + "/");
    const std::uint32_t size = Page().Totals().size;
    EXPECT_EQ(std::to_string(size), row.Text(MergeColumn::FileSize));
    Page().DropFiles({path});
    EXPECT_EQ(Page().Totals().duration, 410'000u);
    Select({1});
    Page().RemoveMergeSelection();
    EXPECT_EQ(Page().Totals().duration, 205'000u);
    EXPECT_EQ(Page().Totals().size, size);
    EXPECT_EQ(Page().SizeText(), SizeLabelAfterRemoving(size));
    EXPECT_EQ(Page().List().SelectedRows(), (std::vector<int>{0}));
    Page().RemoveMergeSelection();
    EXPECT_EQ(Page().Totals().duration, 0u);
    EXPECT_EQ(Page().Totals().size, 0u);
}

// 2.98 s of sound: lame's frames hold 3.03 s, the decoded audio 2.98 s.
TEST_F(MergePageTest, WithPlaybackTheDurationIsTheDecodedOne)
{
    const std::string path = dir_.File("short.mp3");
    test::PcmSpec pcm;
    pcm.sampleRate = 32000;
    pcm.seconds = 2.98;
    test::EncodeWithLame(path, pcm, {"-b", "128"});
    Page().DropFiles({path});
    EXPECT_EQ(Page().Totals().duration, 3'000u);

    PlaybackService playback;
    ASSERT_TRUE(playback.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), dir_.Path()));
    MergePage withPlayback(ui_, settings_, view_, view_, &playback);
    withPlayback.DropFiles({path});
    EXPECT_EQ(withPlayback.Totals().duration, 2'000u);
    EXPECT_EQ(withPlayback.List().Row(0).Text(MergeColumn::Duration), "0:00:02");
    EXPECT_EQ(withPlayback.List().Row(0).Text(MergeColumn::SampleRate), "32000");

    // Once the library is gone, the analysis gives the duration again.
    const std::string synthetic = MakeFile("synthetic.mp3", 7900);
    playback.UnloadPlaybackLibrary();
    withPlayback.DropFiles({synthetic});
    EXPECT_EQ(withPlayback.Totals().duration, 2'000u + 205'000u);
}

TEST_F(MergePageTest, AFileThatFailsIsReportedAndTheOthersAreAdded)
{
    test::WriteFile(dir_.File("noise.mp3"), test::Garbage(5000));
    Page().DropFiles({MakeFile("a.mp3"), dir_.File("noise.mp3"), MakeFile("b.mp3")});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "未能载入 MP3 文件\n\n" + dir_.File("noise.mp3") + "!");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
}

TEST_F(MergePageTest, CommandsThatNeedASelectionSaySo)
{
    Page().RemoveMergeSelection(); // empty list: nothing at all
    Page().MoveUp();
    Page().PlaySelected();
    EXPECT_TRUE(ui_.messages.empty());
    Page().DropFiles({MakeFile("a.mp3"), MakeFile("b.mp3")});
    Select({});
    for (auto command :
         {&MergePage::RemoveMergeSelection, &MergePage::MoveUp, &MergePage::MoveBottom,
          &MergePage::PlaySelected, &MergePage::CopyTagsFromSelection}) {
        ui_.messages.clear();
        (Page().*command)();
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, "请先从列表中选择项目!");
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Warning);
    }
    EXPECT_EQ(Page().List().RowCount(), 2);
    EXPECT_TRUE(ui_.openedFiles.empty());
}

TEST_F(MergePageTest, MovesDoNotResortAndPlayOpensTheFirstSelected)
{
    Page().DropFiles({MakeFile("a.mp3"), MakeFile("b.mp3"), MakeFile("c.mp3")});
    Select({2});
    Page().MoveTop();
    EXPECT_EQ(Names(), (std::vector<std::string>{"c.mp3", "a.mp3", "b.mp3"}));
    Page().MoveDown();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mp3", "c.mp3", "b.mp3"}));
    Select({0, 1});
    Page().MoveBottom();
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "a.mp3", "c.mp3"}));
    Page().PlaySelected();
    EXPECT_EQ(ui_.openedFiles, (std::vector<std::string>{dir_.File("a.mp3")}));
}

TEST_F(MergePageTest, ClearingAsksFirst)
{
    Page().ClearMergeList(); // empty: no question
    EXPECT_TRUE(ui_.messages.empty());
    Page().DropFiles({MakeFile("a.mp3")});
    ui_.answers = {MessageAnswer::No, MessageAnswer::Yes};
    Page().ClearMergeList();
    EXPECT_EQ(Page().List().RowCount(), 1);
    Page().ClearMergeList();
    EXPECT_EQ(Page().List().RowCount(), 0);
    EXPECT_EQ(Page().Totals().duration, 0u);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "你确定你想要清除合并列表中的所有 MP3 文件吗?");
    EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::YesNo);
}

TEST_F(MergePageTest, CopyTagsTakesTheFirstSelectedRowsTag)
{
    const Bytes tag = test::Id3v1Tag("Song", "Singer", "Record", "1999", "note", 7, 17);
    Page().DropFiles({MakeFile("a.mp3", 8, tag), MakeFile("b.mp3")});
    Select({0, 1});
    Page().CopyTagsFromSelection();
    EXPECT_EQ(Page().Tags().title, "Song");
    EXPECT_EQ(Page().Tags().artist, "Singer");
    EXPECT_EQ(Page().Tags().album, "Record");
    EXPECT_EQ(Page().Tags().year, "1999");
    EXPECT_EQ(Page().Tags().comment, "note");
    EXPECT_EQ(Page().Tags().track, 7);
    EXPECT_EQ(Page().Tags().genreSelection, 18); // genre 17, after the empty entry
    Select({1});
    Page().CopyTagsFromSelection();
    EXPECT_EQ(Page().Tags().title, "");
    EXPECT_EQ(Page().Tags().track, 0);
    EXPECT_EQ(Page().Tags().genreSelection, 0);
}

TEST_F(MergePageTest, DestinationFolderIsStored)
{
    ui_.folders = {std::nullopt, "/music/out"};
    Page().ChooseDestination();
    EXPECT_EQ(Page().Destination(), "");
    Page().ChooseDestination();
    EXPECT_EQ(Page().Destination(), "/music/out");
    EXPECT_EQ(settings_.GetSettingText(setting::kMergingDestinationFolder, ""), "/music/out");
    EXPECT_EQ(ui_.folderRequests[0].first, "请选择目标文件来保存合并后的输出文件:");
}

TEST_F(MergePageTest, AFileNamedRelativelyLeavesItsAbsoluteFolderForTheNextDialog)
{
    MakeFile("song.mp3");
    std::filesystem::create_directory(dir_.File("sub"));
    const test::WorkingFolder inside(dir_.Path());
    const std::string folder = std::filesystem::current_path().string() + "/";
    ASSERT_TRUE(Page().AddMergeEntry(0, "song.mp3"));
    EXPECT_EQ(settings_.GetSettingText(setting::kMergeSourceLastFolder, ""), folder);
    ASSERT_TRUE(Page().AddMergeEntry(0, "./sub/../song.mp3"));
    EXPECT_EQ(settings_.GetSettingText(setting::kMergeSourceLastFolder, ""), folder);
    Page().AddFilesCommand();
    EXPECT_EQ(ui_.fileRequests.back().folder, folder);
    ASSERT_TRUE(Page().AddMergeEntry(0, dir_.File("song.mp3")));
    EXPECT_EQ(settings_.GetSettingText(setting::kMergeSourceLastFolder, ""), dir_.Path() + "/");
}

TEST_F(MergePageTest, SilenceOnSelectedRowsOrAllOrNone)
{
    settings_.SetSettingInt(setting::kAutoApplySilence, 1);
    settings_.SetSettingInt(setting::kSilenceLength, 2);
    Page().DropFiles({MakeFile("a.mp3"), MakeFile("b.mp3"), MakeFile("c.mp3")});
    const auto silences = [this] {
        std::vector<std::string> texts;
        for (int i = 0; i < Page().List().RowCount(); ++i)
            texts.push_back(Page().List().Row(i).Text(MergeColumn::Silence));
        return texts;
    };
    EXPECT_EQ(silences(), (std::vector<std::string>{"2", "2", "2"})); // automatic
    const std::uint32_t duration = Page().Totals().duration;
    std::vector<InsertSilence> shown;
    std::string typed;
    bool all = false;
    view_.onInsertSilence = [&](InsertSilence& dialog) {
        shown.push_back(dialog);
        dialog.lengthText = typed;
        dialog.applyToAll = all;
        return true;
    };
    Select({1, 2});
    typed = "5";
    Page().InsertSilenceCommand();
    EXPECT_EQ(silences(), (std::vector<std::string>{"2", "5", "5"}));
    typed = "0";
    Select({2});
    Page().InsertSilenceCommand();
    EXPECT_EQ(shown.back().lengthText, "5"); // the row's own silence first
    EXPECT_EQ(silences(), (std::vector<std::string>{"2", "5", "<无>"}));
    typed = "4";
    all = true;
    Page().InsertSilenceCommand();
    EXPECT_EQ(silences(), (std::vector<std::string>{"4", "4", "4"}));
    Select({});
    Page().InsertSilenceCommand(); // no selection: the dialog may only save
    EXPECT_TRUE(shown.back().noSelection);
    EXPECT_EQ(silences(), (std::vector<std::string>{"4", "4", "4"}));
    EXPECT_EQ(Page().Totals().duration, duration);
    EXPECT_EQ(settings_.GetSettingInt(setting::kSilenceLength, 0), 2); // nothing saved
}

} // namespace
} // namespace keldro
