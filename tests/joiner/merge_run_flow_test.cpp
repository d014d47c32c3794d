// The merge run's dialogs and settings: before the copy (empty list, check,
// target, overwrite) and after it (success dialog and what follows).
#include "merge_run_fixture.h"
#include "temp_dir.h"

#include <filesystem>

namespace keldro {
namespace {

using test::Bytes;
using test::HeaderFields;

class MergeFlowTest : public test::MergeRunTest
{
protected:
    void AddTwo()
    {
        const Bytes audio = test::Frames(HeaderFields{}, 5);
        Add({Source("a.mp3", {}, audio), Source("b.mp3", {}, audio)});
    }
};

TEST_F(MergeFlowTest, AnEmptyListAsksForFilesInstead)
{
    Page().RunMerge();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "请先添加你想要合并的 MP3 文件!");
    ASSERT_EQ(ui_.fileRequests.size(), 1u);
    EXPECT_EQ(ui_.fileRequests[0].title, "添加 MP3 文件进行合并");
}

TEST_F(MergeFlowTest, ClipsShorterThanASecondAreMergedThoughTheTotalReadsZero)
{
    AddTwo();
    EXPECT_EQ(Page().Totals().duration, 0u);
    EXPECT_TRUE(Merge(dir_.File("out.mp3")));
}

TEST_F(MergeFlowTest, ACancelledCheckEndsBeforeTheTargetIsChosen)
{
    settings_.SetSettingInt(setting::kValidateBeforeMerge, 1);
    HeaderFields mono;
    mono.channelMode = 3;
    Add({Source("a.mp3", {}, test::Frames(HeaderFields{}, 5)),
         Source("m.mp3", {}, test::Frames(mono, 5))});
    EXPECT_FALSE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(view_.mismatchWarnings, 1);
    EXPECT_TRUE(ui_.fileRequests.empty());
    view_.onMismatch = [this](MergeValidate& dialog) {
        dialog.ToggleSkipNextTime(settings_);
        return ValidateChoice::Cancel;
    };
    EXPECT_FALSE(Merge(dir_.File("out.mp3")));
    ui_.saveFiles.clear();
    EXPECT_TRUE(Merge(dir_.File("out.mp3"))); // the next merge runs without the check
    EXPECT_EQ(view_.mismatchWarnings, 2);
}

TEST_F(MergeFlowTest, TheChosenTargetIsRemembered)
{
    AddTwo();
    settings_.SetSettingText(setting::kMergingDestinationName, "last.mp3");
    settings_.SetSettingText(setting::kMergeTempOutputFolder, "/tmp/merged/");
    ASSERT_TRUE(Merge(dir_.File("joined.mp3")));
    ASSERT_EQ(ui_.fileRequests.size(), 1u);
    const FileDialogRequest& request = ui_.fileRequests[0];
    EXPECT_EQ(request.title, "选择目标 MP3 文件");
    EXPECT_EQ(request.fileName, "last.mp3");
    EXPECT_EQ(request.folder, "/tmp/merged/"); // the page has no destination folder
    EXPECT_EQ(request.defaultExtension, "mp3");
    EXPECT_EQ(settings_.GetSettingText(setting::kMergingDestinationName, ""), "joined.mp3");
    EXPECT_EQ(settings_.GetSettingText(setting::kMergeTempOutputFolder, ""), dir_.Path() + "/");
    Page().SetDestination("/music");
    ASSERT_TRUE(Merge(dir_.File("joined2.mp3")));
    EXPECT_EQ(ui_.fileRequests[1].folder, "/music");
    EXPECT_EQ(view_.statuses.front(), "正在合并 # 01/02 - a.mp3");
    EXPECT_EQ(view_.statuses.back(), "已完成");
    EXPECT_EQ(view_.progress.back(), (std::pair<int, int>{2, 2}));
}

TEST_F(MergeFlowTest, ASourceIsNeverTheTargetHoweverSpelt)
{
    AddTwo();
    const Bytes before = test::ReadFile(dir_.File("b.mp3"));
    std::filesystem::create_symlink(dir_.File("b.mp3"), dir_.File("link.mp3"));
    for (const std::string& target :
         {dir_.File("b.mp3"), dir_.Path() + "/./b.mp3", dir_.File("link.mp3")}) {
        ui_.messages.clear();
        EXPECT_FALSE(Merge(target)) << target;
        ASSERT_EQ(ui_.messages.size(), 1u) << target;
        EXPECT_EQ(ui_.messages[0].text, target + " 不能被同时选定为来源与目标 MP3 文件!");
        EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
    }
    EXPECT_TRUE(test::ReadFile(dir_.File("b.mp3")) == before);
    EXPECT_TRUE(ui_.overwriteQuestions.empty());
}

TEST_F(MergeFlowTest, AnExistingTargetIsReplacedOnlyAfterYes)
{
    AddTwo();
    const std::string target = dir_.File("out.mp3");
    test::WriteFile(target, {9});
    EXPECT_FALSE(Merge(target)); // closed: skip
    ASSERT_EQ(ui_.overwriteQuestions.size(), 1u);
    EXPECT_EQ(ui_.overwriteQuestions[0].message, target + " 已经存在。你想要替换它吗?");
    EXPECT_EQ(ui_.overwriteQuestions[0].newName, target);
    EXPECT_FALSE(ui_.overwriteQuestions[0].showYesToAll);
    EXPECT_EQ(view_.statuses.back(), "已中止");
    EXPECT_TRUE(test::ReadFile(target) == (Bytes{9}));
    // Another name that exists too is asked about again.
    test::WriteFile(dir_.File("other.mp3"), {8});
    ui_.overwriteAnswers = {{OverwriteResult::Yes, true, dir_.File("other.mp3"), false},
                            {OverwriteResult::Yes, false, "", false}};
    ASSERT_TRUE(Merge(target));
    EXPECT_EQ(ui_.overwriteQuestions.size(), 3u);
    EXPECT_EQ(view_.summary->output, dir_.File("other.mp3"));
    EXPECT_TRUE(test::ReadFile(target) == (Bytes{9}));
    EXPECT_GT(test::ReadFile(dir_.File("other.mp3")).size(), 1u);
    // Another name that is a source is refused; not asking again is stored.
    ui_.overwriteAnswers = {{OverwriteResult::Yes, true, dir_.File("a.mp3"), true}};
    EXPECT_FALSE(Merge(target));
    EXPECT_EQ(ui_.messages.back().text,
              dir_.File("a.mp3") + " 不能被同时选定为来源与目标 MP3 文件!");
    EXPECT_EQ(settings_.GetSettingInt(setting::kJoinerConfirmOverwrite, 1), 0);
    ASSERT_TRUE(Merge(target));
    EXPECT_EQ(ui_.overwriteQuestions.size(), 4u);
}

TEST_F(MergeFlowTest, AStopClickWhileTheOutputIsFinishedStartsNoOtherMerge)
{
    AddTwo();
    const std::string target = dir_.File("out.mp3");
    int clicks = 0;
    ui_.onPump = [&] {
        if (std::filesystem::exists(target) && clicks++ == 0)
            Page().RunMerge(); // the start/stop button
    };
    ASSERT_TRUE(Merge(target));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ui_.fileRequests.size(), 1u); // the first target's only: no second merge
    EXPECT_TRUE(ui_.messages.empty());      // and no stop question
    EXPECT_EQ(view_.statuses.back(), "已完成");
}

TEST_F(MergeFlowTest, ARowRemovedDuringTheRunReadsAsAFileThatFails)
{
    AddTwo();
    view_.onFileMerged = [this](const MergedFile&) {
        Page().List().MutableRow(1).selected = true;
        Page().RemoveMergeSelection();
    };
    ui_.answers = {MessageAnswer::Ignore};
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(view_.statuses[1], "正在合并 # 02/02 - ");
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::AbortRetryIgnore);
    EXPECT_EQ(view_.merged.size(), 1u);
}

TEST_F(MergeFlowTest, ATargetThatCannotBeCreatedIsReported)
{
    AddTwo();
    const std::string target = dir_.File("missing/out.mp3");
    EXPECT_FALSE(Merge(target));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text.rfind("未能创建文件 " + target + "! ", 0), 0u);
    EXPECT_EQ(ui_.messages[0].text.substr(ui_.messages[0].text.rfind('\n')), "\n文件夹不存在");
    EXPECT_TRUE(view_.busyChanges.empty());
    EXPECT_EQ(Page().LastRunOutcome(), RunOutcome::Refused);
}

TEST_F(MergeFlowTest, AFileThatAppearsAtTheTargetDuringTheRunIsAskedAbout)
{
    AddTwo();
    const std::string target = dir_.File("out.mp3");
    view_.onFileMerged = [&](const MergedFile& file) {
        if (file.row == 0)
            test::WriteFile(target, {7});
    };
    const std::size_t files = FileCount();
    EXPECT_FALSE(Merge(target)); // the question closed: skip
    ASSERT_EQ(ui_.overwriteQuestions.size(), 1u);
    EXPECT_EQ(ui_.overwriteQuestions[0].message, target + " 已经存在。你想要替换它吗?");
    EXPECT_TRUE(test::ReadFile(target) == (Bytes{7}));
    EXPECT_EQ(FileCount(), files + 1);
    EXPECT_EQ(Page().LastRunOutcome(), RunOutcome::Aborted);

    std::filesystem::remove(target);
    ui_.overwriteAnswers = {{OverwriteResult::Yes, false, "", false}};
    ASSERT_TRUE(Merge(target));
    EXPECT_GT(test::ReadFile(target).size(), 1u);
    EXPECT_EQ(FileCount(), files + 1);
    EXPECT_EQ(Page().LastRunOutcome(), RunOutcome::Done);
}

TEST_F(MergeFlowTest, AnOutputOfFourGibibytesIsRefusedBeforeAnythingIsWritten)
{
    const Bytes audio = test::Frames(HeaderFields{}, 5);
    Add({Source("a.mp3", {}, audio), Source("b.mp3", {}, audio), Source("c.mp3", {}, audio)});
    // 100,000 s of 128 kbit/s silence is 1.6 GB a row.
    for (int row = 0; row < 3; ++row)
        SetSilence(row, 100'000);
    const std::size_t files = FileCount();
    EXPECT_FALSE(Merge(dir_.File("out.mp3")));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text.rfind("合并后的文件将达到 4 GiB 或更大", 0), 0u);
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(ui_.fileRequests.empty());
    EXPECT_EQ(FileCount(), files);
    EXPECT_EQ(Page().LastRunOutcome(), RunOutcome::Refused);
}

TEST_F(MergeFlowTest, SuccessDialogAndItsChoices)
{
    AddTwo();
    settings_.SetSettingInt(setting::kJoinerShowSuccess, 1);
    Page().SetDestination("/music");
    view_.onComplete = [](MergeComplete& dialog) {
        EXPECT_FALSE(dialog.startNewMerge);
        dialog.playNow = true;
        dialog.dontShowAgain = true;
        return true;
    };
    const std::string target = dir_.File("out.mp3");
    ASSERT_TRUE(Merge(target));
    ASSERT_EQ(view_.completeDialogs.size(), 1u);
    EXPECT_EQ(view_.completeDialogs[0].message, "合并已成功完成，合并后的文件: " + target + "!");
    EXPECT_EQ(settings_.GetSettingInt(setting::kStartNewMerge, -1), 0);
    EXPECT_EQ(settings_.GetSettingInt(setting::kJoinerShowSuccess, -1), 0);
    EXPECT_EQ(ui_.openedFiles, (std::vector<std::string>{target}));
    EXPECT_TRUE(ui_.openedFolders.empty());
    // Without the dialog the stored choices act alone; the folder opened is the page's.
    settings_.SetSettingInt(setting::kJoinerAutoOpenFolder, 1);
    settings_.SetSettingInt(setting::kJoinerPlayResult, 1);
    settings_.SetSettingInt(setting::kJoinerConfirmOverwrite, 0);
    ASSERT_TRUE(Merge(target));
    EXPECT_EQ(view_.completeDialogs.size(), 1u);
    EXPECT_EQ(ui_.openedFolders, (std::vector<std::string>{"/music"}));
    EXPECT_EQ(ui_.openedFiles.size(), 2u);
}

TEST_F(MergeFlowTest, WithoutADestinationFolderTheResultsFolderOpens)
{
    AddTwo();
    ASSERT_EQ(Page().Destination(), ""); // the default
    settings_.SetSettingInt(setting::kJoinerAutoOpenFolder, 1);
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(ui_.openedFolders, (std::vector<std::string>{dir_.Path()}));
    // A target named relatively opens its folder by its full name.
    std::filesystem::create_directory(dir_.File("sub"));
    const test::WorkingFolder inside(dir_.Path());
    ASSERT_TRUE(Merge("sub/../sub/joined.mp3"));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("sub/joined.mp3")));
    EXPECT_EQ(ui_.openedFolders.back(), std::filesystem::current_path().string() + "/sub");
}

TEST_F(MergeFlowTest, ADialogClosedOtherwiseStoresNothing)
{
    AddTwo();
    settings_.SetSettingInt(setting::kJoinerShowSuccess, 1);
    view_.onComplete = [](MergeComplete& dialog) {
        dialog.dontShowAgain = true;
        dialog.playNow = true;
        return false;
    };
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(settings_.GetSettingInt(setting::kJoinerShowSuccess, -1), 1);
    EXPECT_TRUE(ui_.openedFiles.empty());
}

TEST_F(MergeFlowTest, StartNewMergeResetsThePage)
{
    AddTwo();
    settings_.SetSettingInt(setting::kStartNewMerge, 1);
    Page().SetTags({.title = "t", .track = 4, .genreSelection = 3});
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(Page().List().RowCount(), 0);
    EXPECT_EQ(Page().Totals().duration, 0u);
    EXPECT_EQ(Page().Tags().title, "");
    EXPECT_EQ(Page().Tags().track, 0);
    EXPECT_EQ(Page().Tags().genreSelection, 0);
    EXPECT_EQ(view_.statuses.back(), "空闲");
    ASSERT_EQ(ui_.fileRequests.size(), 2u); // the target, then new files
    EXPECT_EQ(ui_.fileRequests[1].title, "添加 MP3 文件进行合并");
    EXPECT_EQ(view_.busyChanges, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace keldro
