#include "common/overwrite_confirmation.h"
#include "common/setting_keys.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

class OverwriteTest : public ::testing::Test
{
protected:
    std::string Existing(const std::string& name)
    {
        const std::string path = dir_.File(name);
        test::WriteFile(path, test::Bytes(3, 1));
        return path;
    }

    OverwriteAnswer Answer(OverwriteResult result, bool doNotAskAgain = false,
                           const std::string& newName = {})
    {
        OverwriteAnswer answer;
        answer.result = result;
        answer.doNotAskAgain = doNotAskAgain;
        answer.saveUnderAnotherName = !newName.empty();
        answer.newName = newName;
        return answer;
    }

    test::TempDir dir_;
    MemorySettings settings_;
    test::ScriptedInteraction ui_;
    OverwriteRun split_{setting::kSplitterConfirmOverwrite, true, false};
    OverwriteRun merge_{setting::kJoinerConfirmOverwrite, false, false};
};

TEST_F(OverwriteTest, NewFilesAreWrittenWithoutAsking)
{
    const OverwriteDecision decision =
        ConfirmOverwrite(ui_, settings_, split_, dir_.File("new.mp3"));
    EXPECT_TRUE(decision.write);
    EXPECT_EQ(decision.path, dir_.File("new.mp3"));
    EXPECT_TRUE(ui_.overwriteQuestions.empty());
}

TEST_F(OverwriteTest, QuestionNamesTheFileAndOffersYesToAllOnlyWhereAllowed)
{
    const std::string path = Existing("a.mp3");
    ui_.overwriteAnswers = {Answer(OverwriteResult::Yes), Answer(OverwriteResult::Yes)};
    EXPECT_TRUE(ConfirmOverwrite(ui_, settings_, split_, path).write);
    EXPECT_TRUE(ConfirmOverwrite(ui_, settings_, merge_, path).write);
    ASSERT_EQ(ui_.overwriteQuestions.size(), 2u);
    EXPECT_EQ(ui_.overwriteQuestions[0].message, path + " 已经存在。你想要替换它吗?");
    EXPECT_EQ(ui_.overwriteQuestions[0].newName, path);
    EXPECT_TRUE(ui_.overwriteQuestions[0].showYesToAll);
    EXPECT_FALSE(ui_.overwriteQuestions[1].showYesToAll);
}

TEST_F(OverwriteTest, YesToAllHoldsForTheRestOfTheRun)
{
    const std::string a = Existing("a.mp3");
    const std::string b = Existing("b.mp3");
    ui_.overwriteAnswers = {Answer(OverwriteResult::YesToAll)};
    EXPECT_TRUE(ConfirmOverwrite(ui_, settings_, split_, a).write);
    EXPECT_TRUE(ConfirmOverwrite(ui_, settings_, split_, b).write);
    EXPECT_EQ(ui_.overwriteQuestions.size(), 1u);
    OverwriteRun nextRun{setting::kSplitterConfirmOverwrite, true, false};
    EXPECT_FALSE(ConfirmOverwrite(ui_, settings_, nextRun, b).write); // asked again: Skip
}

TEST_F(OverwriteTest, SkipLeavesTheFile)
{
    const std::string path = Existing("a.mp3");
    ui_.overwriteAnswers = {Answer(OverwriteResult::Skip)};
    EXPECT_FALSE(ConfirmOverwrite(ui_, settings_, merge_, path).write);
}

TEST_F(OverwriteTest, AnotherNameIsCheckedAgain)
{
    const std::string a = Existing("a.mp3");
    const std::string b = Existing("b.mp3");
    ui_.overwriteAnswers = {Answer(OverwriteResult::Yes, false, b),
                            Answer(OverwriteResult::Yes, false, dir_.File("c.mp3"))};
    const OverwriteDecision decision = ConfirmOverwrite(ui_, settings_, split_, a);
    EXPECT_TRUE(decision.write);
    EXPECT_EQ(decision.path, dir_.File("c.mp3"));
    ASSERT_EQ(ui_.overwriteQuestions.size(), 2u);
    EXPECT_EQ(ui_.overwriteQuestions[1].newName, b);
}

TEST_F(OverwriteTest, DoNotAskAgainIsStoredWhateverTheAnswer)
{
    const std::string a = Existing("a.mp3");
    ui_.overwriteAnswers = {Answer(OverwriteResult::Skip, true)};
    EXPECT_FALSE(ConfirmOverwrite(ui_, settings_, merge_, a).write);
    EXPECT_EQ(settings_.GetSettingInt(setting::kJoinerConfirmOverwrite, 1), 0);
    // The next run replaces without asking.
    EXPECT_TRUE(ConfirmOverwrite(ui_, settings_, merge_, a).write);
    EXPECT_EQ(ui_.overwriteQuestions.size(), 1u);
    // The split run keeps its own setting.
    EXPECT_EQ(settings_.GetSettingInt(setting::kSplitterConfirmOverwrite, 1), 1);
}

TEST_F(OverwriteTest, AnotherNameAfterSwitchingTheQuestionOffIsNotCheckedAgain)
{
    const std::string a = Existing("a.mp3");
    const std::string b = Existing("b.mp3");
    ui_.overwriteAnswers = {Answer(OverwriteResult::Yes, true, b)};
    const OverwriteDecision decision = ConfirmOverwrite(ui_, settings_, split_, a);
    EXPECT_TRUE(decision.write);
    EXPECT_EQ(decision.path, b);
    EXPECT_EQ(ui_.overwriteQuestions.size(), 1u);
}

TEST_F(OverwriteTest, AnUnreadableFileIsStillAFileToAskAbout)
{
    const std::string path = Existing("locked.mp3");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_FALSE(ConfirmOverwrite(ui_, settings_, split_, path).write);
    EXPECT_EQ(ui_.overwriteQuestions.size(), 1u);
}

} // namespace
} // namespace keldro
