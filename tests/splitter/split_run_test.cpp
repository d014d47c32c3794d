// The split run: checks, names, the counter, overwriting, failures, stopping
// and the steps after success.
#include "base/interruption.h"
#include "common/setting_keys.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "split_page_fixture.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

namespace fs = std::filesystem;
using test::HeaderFields;

class SplitRunTest : public test::SplitPageFixture
{
protected:
    void SetUp() override
    {
        source_ = dir_.File("Album.mp3");
        test::WriteFile(source_, test::Frames(HeaderFields{}, 2400)); // about a minute
        ASSERT_TRUE(page_.LoadSource(source_));
        for (TimeMs t : {15'000u, 30'000u, 45'000u})
            page_.List().AddCutPoint(t);
        out_ = dir_.File("out");
        fs::create_directory(out_);
        page_.SetDestination(out_);
        settings_.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
        settings_.SetSettingInt(setting::kSplitterShowSuccess, 0);
    }

    std::vector<std::string> Outputs() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string source_;
    std::string out_;
};

TEST_F(SplitRunTest, NamesFollowTheRule)
{
    EXPECT_EQ(page_.BuildOutputName(0, 0), "Album-001");
    page_.SetNamingRule("Track");
    EXPECT_EQ(page_.BuildOutputName(2, 9), "Track010");
    page_.SetNamingRule("Track:?");
    EXPECT_EQ(page_.BuildOutputName(0, 0), "Track:?001"); // no '%': nothing replaced
    page_.SetNamingRule("%T");
    page_.List().MutableRow(1).title = "AC/DC: Live?";
    EXPECT_EQ(page_.BuildOutputName(1, 1), "AC_DC_ Live_");
    page_.SetNamingRule("%S %A - %T (%M) %K");
    page_.List().MutableRow(1).artist = "A";
    page_.List().MutableRow(1).album = "B %S";
    page_.List().MutableRow(1).track = "%S";
    EXPECT_EQ(page_.BuildOutputName(1, 6), "007 A - AC_DC_ Live_ (B 002) 002");
}

TEST_F(SplitRunTest, CheckedRowsAreWrittenAndCountedByTheRule)
{
    for (int row : {0, 2})
        page_.List().MutableRow(row).checked = false;
    page_.RunSplit();
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Album-002.mp3", "Album-004.mp3"}));
    EXPECT_EQ(view_.statuses.back(), "已完成");
    EXPECT_EQ(view_.runningChanges, (std::vector<bool>{true, false}));
    fs::remove_all(out_);
    fs::create_directory(out_);
    settings_.SetSettingInt(setting::kSplitterCountGenerated, 1);
    page_.RunSplit();
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Album-001.mp3", "Album-002.mp3"}));
    EXPECT_EQ(settings_.GetSettingText(setting::kSplittingTempOutputFolder, ""), out_);
}

TEST_F(SplitRunTest, RefusalsBeforeTheRun)
{
    page_.List().ToggleHeaderCheck();
    page_.RunSplit();
    EXPECT_EQ(ui_.messages.back().text, "请至少选择一个区段进行分割。");
    page_.List().ToggleHeaderCheck();
    page_.SetNamingRule({});
    page_.RunSplit();
    EXPECT_EQ(ui_.messages.back().text, "请输入将要生成的 MP3 文件的文件名称。");
    page_.SetNamingRule("%F-%S");
    page_.SetDestination({});
    page_.RunSplit();
    EXPECT_EQ(ui_.messages.back().text, "请在开始分割音轨前先设置目标文件夹。");
    settings_.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 1);
    page_.RunSplit(); // the folder chooser is cancelled: no run, no message
    EXPECT_EQ(ui_.folderRequests.back().first, "请选择目标文件夹来保存分割后的输出文件:");
    EXPECT_TRUE(Outputs().empty());
    EXPECT_TRUE(view_.runningChanges.empty());

    ui_.folders = {out_};
    page_.RunSplit();
    EXPECT_EQ(Outputs().size(), 4u);
}

TEST_F(SplitRunTest, OneRowOnlyIsAskedAbout)
{
    page_.List().ResetTrackList();
    ui_.answers = {MessageAnswer::No};
    page_.RunSplit();
    EXPECT_EQ(ui_.messages.back().text, "只有一个片断在分割列表中。你确定无论如何都执行该分割吗?");
    EXPECT_TRUE(Outputs().empty());
    ui_.answers = {MessageAnswer::Yes};
    page_.RunSplit();
    EXPECT_EQ(Outputs(), std::vector<std::string>{"Album-001.mp3"});
}

TEST_F(SplitRunTest, WithoutASourceTheChooserOpens)
{
    page_.UnloadSource();
    page_.RunSplit();
    EXPECT_EQ(ui_.messages.back().text, "请先载入你想要分割的 MP3 文件!");
    EXPECT_EQ(ui_.fileRequests.back().title, "选择要分割的 MP3 / CUE 文件");
}

TEST_F(SplitRunTest, SkippingAnExistingFileStillCountsIt)
{
    test::WriteFile(out_ + "/Album-002.mp3", test::Bytes(5, 1));
    OverwriteAnswer skip;
    skip.result = OverwriteResult::Skip;
    ui_.overwriteAnswers = {skip};
    page_.RunSplit();
    EXPECT_EQ(Outputs().size(), 4u);
    EXPECT_EQ(test::ReadFile(out_ + "/Album-002.mp3"), test::Bytes(5, 1));
    EXPECT_EQ(ui_.overwriteQuestions.size(), 1u);
    EXPECT_TRUE(ui_.overwriteQuestions[0].showYesToAll);
}

TEST_F(SplitRunTest, ARowWhoseFileIsTheSourceIsReportedNotWritten)
{
    page_.SetDestination(dir_.Path());
    page_.SetNamingRule("%F"); // every row is named like the source, in its folder
    settings_.SetSettingInt(setting::kSplitterConfirmOverwrite, 0);
    ui_.answers = {MessageAnswer::Ignore, MessageAnswer::Ignore, MessageAnswer::Ignore,
                   MessageAnswer::Ignore};
    const test::Bytes before = test::ReadFile(source_);
    page_.RunSplit();
    ASSERT_EQ(ui_.messages.size(), 4u);
    EXPECT_EQ(ui_.messages.back().text,
              "未能创建文件 " + source_ +
                  "! 请检查该文件是否正在被其他应用程序使用 (例如，你在资源管理器中选择该 MP3 "
                  "文件，它就会被锁定)。\n目标文件就是源文件");
    EXPECT_EQ(ui_.messages.back().buttons, MessageButtons::AbortRetryIgnore);
    EXPECT_EQ(view_.written.back().result.error, SegmentError::TargetIsSource);
    EXPECT_EQ(test::ReadFile(source_), before);
    EXPECT_EQ(view_.statuses.back(), "已完成");
}

TEST_F(SplitRunTest, AbortingAFailedWriteEndsTheRun)
{
    page_.SetDestination(dir_.File("no/such/folder"));
    ui_.answers = {MessageAnswer::Retry, MessageAnswer::Abort};
    page_.RunSplit();
    EXPECT_EQ(view_.written.size(), 2u); // tried, retried, aborted
    EXPECT_EQ(view_.statuses.back(), "已中止");
    EXPECT_EQ(view_.progress.back(), (std::pair<int, int>{0, 4}));
    // The reason stands on a line of its own under the message.
    const std::string& text = ui_.messages.back().text;
    EXPECT_EQ(text.rfind("未能创建文件 " + page_.Destination() + "/Album-001.mp3! ", 0), 0u);
    EXPECT_EQ(text.substr(text.rfind('\n')), "\n文件夹不存在");
    EXPECT_EQ(page_.LastRunOutcome(), RunOutcome::Aborted);
}

TEST_F(SplitRunTest, ASourceThatChangesDuringTheRunIsBlamed)
{
    view_.onRowWritten = [this](int row, const std::string&, const SegmentResult&) {
        if (row == 0)
            fs::resize_file(source_, fs::file_size(source_) / 2);
    };
    ui_.answers = {MessageAnswer::Abort};
    page_.RunSplit();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "未能打开文件 " + source_ +
                                        "，请检查它是否存在或是否正在被其他应用程序使用!"
                                        "\n源文件在分割期间被修改");
    EXPECT_EQ(view_.written.back().result.error, SegmentError::SourceChanged);
    EXPECT_EQ(Outputs(), std::vector<std::string>{"Album-001.mp3"});
}

TEST_F(SplitRunTest, AnEndingProcessStopsTheRunWithoutAsking)
{
    view_.onRowWritten = [](int row, const std::string&, const SegmentResult&) {
        if (row == 1)
            NoteInterruption(SIGTERM);
    };
    page_.RunSplit();
    ClearInterruption();
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Album-001.mp3", "Album-002.mp3"}));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(view_.statuses.back(), "已中止");
    EXPECT_EQ(page_.LastRunOutcome(), RunOutcome::Aborted);
}

TEST_F(SplitRunTest, ARefusedRunIsToldApartFromADoneOne)
{
    page_.SetDestination({});
    settings_.SetSettingText(setting::kSplittingTempOutputFolder, "");
    page_.RunSplit();
    EXPECT_EQ(page_.LastRunOutcome(), RunOutcome::Refused);
    EXPECT_TRUE(Outputs().empty());
    page_.SetDestination(out_);
    page_.RunSplit();
    EXPECT_EQ(page_.LastRunOutcome(), RunOutcome::Done);
}

TEST_F(SplitRunTest, StopBetweenRowsKeepsWhatWasWritten)
{
    view_.onRowWritten = [this](int row, const std::string&, const SegmentResult&) {
        if (row == 1)
            page_.RequestStop(false);
    };
    page_.RunSplit();
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Album-001.mp3", "Album-002.mp3"}));
    EXPECT_EQ(view_.statuses.back(), "已中止");

    // Asked first: Cancel goes on.
    fs::remove_all(out_);
    fs::create_directory(out_);
    view_.onRowWritten = [this](int row, const std::string&, const SegmentResult&) {
        if (row == 0)
            page_.RequestStop(true);
    };
    ui_.answers = {MessageAnswer::Cancel};
    page_.RunSplit();
    EXPECT_EQ(ui_.messages.back().text, "你确定要中止吗?");
    EXPECT_EQ(Outputs().size(), 4u);
}

TEST_F(SplitRunTest, CommandsThatChangeTheSourceOrTheListAreRefusedDuringTheRun)
{
    const std::string other = dir_.File("Other.mp3");
    test::WriteFile(other, test::Frames(HeaderFields{}, 1200));
    int dialogs = 0;
    view_.onEditTags = [&](TrackTagEditor& editor) {
        ++dialogs;
        editor.values[TrackTagEditor::Title] = "Changed";
        return true;
    };
    view_.onEqualParts = [&](SpecialTimeAdd& dialog) { return ++dialogs, dialog.parts = 5, true; };
    view_.onOverlaps = [&](TrackAddOverlap& dialog) {
        return ++dialogs, dialog.backward = 9, true;
    };
    view_.onTrackLength = [&](TrackUpdate& dialog) {
        ++dialogs;
        dialog.StartChanged(1'000);
        return true;
    };
    int pumps = 0;
    ui_.onPump = [&] {
        if (++pumps != 2)
            return;
        ASSERT_TRUE(page_.IsRunning());
        ui_.answers.assign(20, MessageAnswer::Yes);
        ui_.openFiles = {other};
        ui_.showOnceAnswer = {true, false};
        page_.List().Select(1);
        EXPECT_FALSE(page_.LoadSource(other)); // a drop
        page_.ChooseSource();
        page_.UnloadSource();
        page_.UnloadCommand();
        page_.RemoveSelectedTrack();
        page_.ClearList();
        page_.EqualPartsCommand();
        page_.OverlapsCommand();
        page_.SetStartCommand(20'000);
        page_.SetEndCommand(40'000);
        page_.EditTrackLength();
        page_.EditTrackTags();
        page_.SwitchSplitMode(SplitMode::Frame);
        EXPECT_FALSE(page_.AddCutPointCommand(20'000));
        EXPECT_FALSE(page_.SetRowChecked(3, false));
        EXPECT_FALSE(page_.ToggleHeaderCheck());
        EXPECT_FALSE(page_.IsEnabled(SplitCommand::RemoveTrack));
        EXPECT_TRUE(page_.IsEnabled(SplitCommand::SaveList));
        EXPECT_TRUE(page_.IsRunning());
        EXPECT_TRUE(ui_.messages.empty());
        ui_.answers.clear();
    };
    page_.RunSplit();
    EXPECT_EQ(pumps, 5);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(ui_.fileRequests.empty());
    EXPECT_TRUE(ui_.showOnceMessages.empty());
    EXPECT_EQ(view_.statuses.back(), "已完成");
    EXPECT_EQ(Outputs().size(), 4u);
    EXPECT_FALSE(page_.IsRunning());
    EXPECT_TRUE(page_.IsLoaded());
    EXPECT_EQ(page_.SourceFileName(), "Album.mp3");
    EXPECT_EQ(page_.Mode(), SplitMode::Auto);
    EXPECT_EQ(Starts(), (std::vector<TimeMs>{0, 15'000, 30'000, 45'000}));
    EXPECT_EQ(page_.List().Row(1).title, page_.List().Row(0).title);
    EXPECT_EQ(page_.List().Row(1).backwardOverlap, 0u);
}

TEST_F(SplitRunTest, AStopClickDuringTheLastWriteStartsNoOtherRun)
{
    int clicks = 0;
    ui_.onPump = [&] {
        if (ui_.pumps == 5) { // after the fourth row was written
            ++clicks;
            page_.RunSplit(); // the start/stop button
        }
    };
    page_.RunSplit();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ui_.pumps, 5);
    EXPECT_EQ(view_.statuses.back(), "已完成");
    EXPECT_EQ(Outputs().size(), 4u);
    EXPECT_TRUE(ui_.messages.empty()); // neither the stop question nor a second run's
    EXPECT_EQ(view_.runningChanges, (std::vector<bool>{true, false}));
}

TEST_F(SplitRunTest, RowsThatGoMissingDuringTheRunEndItWithoutReadingPastTheList)
{
    ui_.onPump = [this] {
        if (page_.List().RowCount() == 4 && ui_.pumps == 2) {
            page_.List().RemoveTrack(3);
            page_.List().RemoveTrack(2);
        }
    };
    EXPECT_NO_THROW(page_.RunSplit());
    EXPECT_EQ(view_.statuses.back(), "已中止");
    EXPECT_FALSE(page_.IsRunning());
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Album-001.mp3", "Album-002.mp3"}));
}

TEST_F(SplitRunTest, TagsCarryTheExpandedWildcards)
{
    page_.List().MutableRow(2).title = "Part %S of %M";
    page_.List().MutableRow(2).album = "Live";
    page_.List().MutableRow(2).track = "%S";
    page_.List().MutableRow(2).genre = "Jazz";
    SplitTrack& last = page_.List().MutableRow(3);
    last.title = last.artist = last.album = last.genre = last.year = last.track = last.comment = "";
    page_.RunSplit();
    const test::Bytes third = test::ReadFile(out_ + "/Album-003.mp3");
    const TagRecord tag =
        ParseID3v1Tag(std::span<const std::uint8_t, 128>(third.data() + third.size() - 128, 128));
    EXPECT_EQ(tag.title, "Part 003 of Live");
    EXPECT_EQ(tag.track, 3u);
    EXPECT_EQ(tag.genre, 8u);
    // A row without any tag text gets no tag at all.
    const test::Bytes fourth = test::ReadFile(out_ + "/Album-004.mp3");
    EXPECT_EQ(fourth.size() % 417, 0u);
}

TEST_F(SplitRunTest, AfterSuccessTheDialogTheSheetAndTheFolder)
{
    settings_.SetSettingInt(setting::kSplitterShowSuccess, 1);
    view_.onSplitComplete = [](SplitComplete& dialog) {
        dialog.exportCue = true;
        dialog.openFolder = true;
        dialog.dontShowAgain = true;
        return true;
    };
    page_.RunSplit();
    ASSERT_EQ(view_.completeDialogs.size(), 1u);
    const SplitComplete& shown = view_.completeDialogs[0];
    EXPECT_EQ(shown.message, "分割已成功完成，分割后的文件已保存到文件夹: " + out_ + "!");
    EXPECT_EQ(shown.cuePath, dir_.File("Album.cue"));
    EXPECT_EQ(settings_.GetSettingInt(setting::kSplitterShowSuccess, 1), 0);
    EXPECT_TRUE(fs::exists(dir_.File("Album.cue")));
    EXPECT_EQ(ui_.openedFolders, std::vector<std::string>{out_});

    settings_.SetSettingInt(setting::kStartNewSplit, 1);
    page_.RunSplit();
    EXPECT_EQ(ui_.fileRequests.back().title, "选择要分割的 MP3 / CUE 文件");
    EXPECT_EQ(view_.statuses.back(), "空闲");
}

TEST_F(SplitRunTest, TheExportAfterTheRunNeverReplacesTheSheetOfTheSource)
{
    const std::string text = "REM DATE 1999\nFILE \"Album.mp3\" MP3\nTRACK 01 AUDIO\n"
                             " INDEX 01 00:00:00\nTRACK 02 AUDIO\n INDEX 00 00:20:00\n"
                             " INDEX 01 00:21:00\n";
    const std::string sheet = dir_.File("Album.cue");
    test::WriteFile(sheet, test::Bytes(text.begin(), text.end()));
    ASSERT_TRUE(page_.LoadSource(sheet));
    settings_.SetSettingInt(setting::kExportCue, 1);
    ui_.answers = {MessageAnswer::Yes}; // were the replace question asked
    page_.RunSplit();
    EXPECT_EQ(view_.statuses.back(), "已完成");
    EXPECT_EQ(Outputs().size(), 3u);
    ASSERT_FALSE(ui_.messages.empty());
    EXPECT_EQ(ui_.messages.back().text, sheet + " 不能被同时选定为来源与目标 MP3 文件!");
    EXPECT_EQ(test::ReadFile(sheet), test::Bytes(text.begin(), text.end()));
}

// "Seamless Split" puts the frames a piece's first frame is decoded from in
// front of every piece but the first; a source without a LAME tag, which could
// not tell players to drop them, gets none.
TEST_F(SplitRunTest, TheSeamlessSettingCarriesFramesInFrontOfLaterPieces)
{
    settings_.SetSettingInt(setting::kSplitterConfirmOverwrite, 0);
    const auto run = [this](int seamless) {
        settings_.SetSettingInt(setting::kSeamlessSplit, seamless);
        std::vector<int> carried;
        view_.onRowWritten = [&](int, const std::string&, const SegmentResult& result) {
            carried.push_back(result.carriedFrames);
        };
        page_.RunSplit();
        for (const auto& entry : fs::directory_iterator(out_))
            fs::remove(entry.path());
        return carried;
    };
    EXPECT_EQ(run(1), std::vector<int>(4, 0)); // synthesised frames: no LAME tag
    ASSERT_TRUE(page_.LoadSource(test::CorpusFile("vbr_v2")));
    page_.List().AddCutPoint(2'000);
    page_.List().AddCutPoint(3'000);
    EXPECT_EQ(run(0), std::vector<int>(3, 0));
    const std::vector<int> carried = run(1);
    ASSERT_EQ(carried.size(), 3u);
    EXPECT_EQ(carried[0], 0);
    EXPECT_GT(carried[1], 0);
    EXPECT_GT(carried[2], 0);
}

} // namespace
} // namespace keldro
