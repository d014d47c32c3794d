#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/merge_check.h"
#include "joiner/merge_page.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace keldro {
namespace {

MergeEntry Encoded(const std::string& rate, const std::string& bitrate, const std::string& channels,
                   const std::string& name = "x.mp3")
{
    MergeEntry entry;
    entry.Text(MergeColumn::SampleRate) = rate;
    entry.Text(MergeColumn::Bitrate) = bitrate;
    entry.Text(MergeColumn::Channels) = channels;
    entry.Text(MergeColumn::FileName) = name;
    entry.Text(MergeColumn::Folder) = "/music/";
    return entry;
}

MergeList ListOf(std::initializer_list<MergeEntry> entries)
{
    MergeList list;
    for (const MergeEntry& entry : entries)
        list.Insert(list.RowCount(), entry);
    return list;
}

bool Alike(const MergeEntry& a, const MergeEntry& b)
{
    return !FindMismatch(ListOf({a, b}));
}

TEST(FindMismatch, TheThreeRules)
{
    const MergeEntry base = Encoded("44100", "128kbps", "联合立体声");
    EXPECT_TRUE(Alike(base, base));
    EXPECT_FALSE(Alike(base, Encoded("48000", "128kbps", "联合立体声")));
    EXPECT_FALSE(Alike(base, Encoded("44100", "192kbps", "联合立体声")));
    EXPECT_TRUE(Alike(base, Encoded("44100", "131 kbps VBR", "联合立体声")));
    EXPECT_TRUE(Alike(Encoded("44100", "98 kbps VBR", "立体声"), base));
    EXPECT_TRUE(Alike(base, Encoded("44100", "128kbps", "立体声")));
    EXPECT_TRUE(Alike(base, Encoded("44100", "128kbps", "双声道")));
    EXPECT_FALSE(
        Alike(Encoded("44100", "128kbps", "单声道"), Encoded("44100", "128kbps", "双声道")));
    EXPECT_TRUE(
        Alike(Encoded("44100", "128kbps", "单声道"), Encoded("44100", "128kbps", "单声道")));
}

TEST(FindMismatch, PairsInOrderAndFewRows)
{
    EXPECT_FALSE(FindMismatch(MergeList{}));
    EXPECT_FALSE(FindMismatch(ListOf({Encoded("8000", "8kbps", "单声道")})));
    const MergeEntry a = Encoded("44100", "128kbps", "立体声");
    const MergeEntry b = Encoded("44100", "160 kbps VBR", "立体声");
    const MergeEntry c = Encoded("48000", "128kbps", "立体声");
    const MergeEntry d = Encoded("44100", "192kbps", "立体声");
    const std::optional<Mismatch> found = FindMismatch(ListOf({a, b, d, c}));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->first, 0); // (0, 1) alike, then (0, 2) differs before (0, 3)
    EXPECT_EQ(found->second, 2);
    const std::optional<Mismatch> later = FindMismatch(ListOf({b, a, c}));
    ASSERT_TRUE(later);
    EXPECT_EQ(later->first, 0);
    EXPECT_EQ(later->second, 2);
}

TEST(ConvertList, SectionsPerRowInListOrder)
{
    const MergeList list = ListOf({Encoded("", "", "", "a.mp3"), Encoded("", "", "", "b c.mp3"),
                                   Encoded("", "", "", "一.mp3")});
    EXPECT_EQ(FormatConvertList(list), "[FileTotal]\nTotal=3\n"
                                       "[FileNameItem_01]\nNAME=/music/a.mp3\n"
                                       "[FileNameItem_02]\nNAME=/music/b c.mp3\n"
                                       "[FileNameItem_03]\nNAME=/music/一.mp3\n");
    MergeList many;
    for (int i = 0; i < 100; ++i)
        many.Insert(i, Encoded("", "", "", std::to_string(i)));
    EXPECT_NE(FormatConvertList(many).find("[FileNameItem_100]\nNAME=/music/99\n"),
              std::string::npos);
}

class ConvertListFileTest : public ::testing::Test
{
protected:
    void SetTemporaryFolder(const std::string& folder) { ::setenv("TMPDIR", folder.c_str(), 1); }
    void TearDown() override { ::unsetenv("TMPDIR"); }

    test::TempDir dir_;
    test::ScriptedInteraction ui_;
};

TEST_F(ConvertListFileTest, WrittenWithTheTildePrefixInTheTemporaryFolder)
{
    SetTemporaryFolder(dir_.Path());
    const MergeList list = ListOf({Encoded("", "", "", "a.mp3")});
    const std::optional<std::string> path = WriteConvertList(list, ui_);
    ASSERT_TRUE(path);
    const std::filesystem::path written(*path);
    EXPECT_EQ(written.parent_path(), std::filesystem::path(dir_.Path()));
    EXPECT_EQ(written.filename().string().substr(0, 3), "~ct");
    std::ifstream in(*path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), FormatConvertList(list));
    EXPECT_NE(WriteConvertList(list, ui_), path); // a new name each time
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(ConvertListFileTest, NoTemporaryFolderIsReported)
{
    SetTemporaryFolder(dir_.File("missing"));
    EXPECT_FALSE(WriteConvertList(ListOf({Encoded("", "", "")}), ui_));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "无法为转换生成音频文件列表!");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Error);
}

TEST(LaunchConverter, FirstInstalledThatStartsWins)
{
    test::ScriptedMergeView host;
    host.installed = {{"Wexlin", "/opt/wexlin"}, {"Brantor", "/opt/brantor"}};
    host.startable = "wexlin";
    EXPECT_TRUE(LaunchConverter(host, host, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct1"));
    ASSERT_EQ(host.started.size(), 1u); // only the first location's program
    EXPECT_EQ(host.started[0].first, "/opt/wexlin/wexlin");
    EXPECT_EQ(
        host.started[0].second,
        (std::vector<std::string>{"-o", "KELDRO", "-a", "BATCHCONVERT_REMOVE", "-s", "/tmp/~ct1"}));
    host.started.clear();
    host.startable = "brantor"; // wexlin fails to start
    EXPECT_TRUE(LaunchConverter(host, host, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct1"));
    ASSERT_EQ(host.started.size(), 2u);
    EXPECT_EQ(host.started[1].first, "/opt/brantor/brantor");
    EXPECT_EQ(host.downloadDialogs, 0);
    host.startable.clear();
    EXPECT_FALSE(LaunchConverter(host, host, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct1"));
    EXPECT_EQ(host.downloadDialogs, 1);
    host.installed.clear();
    host.started.clear();
    EXPECT_FALSE(LaunchConverter(host, host, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct1"));
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.downloadDialogs, 2);
}

// The page's check, with the warning dialog answered by the test.
class ValidateMergeInputsTest : public ::testing::Test
{
protected:
    void AddRows(std::initializer_list<MergeEntry> entries)
    {
        for (const MergeEntry& entry : entries)
            page_.List().Insert(page_.List().RowCount(), entry);
    }

    test::ScriptedInteraction ui_;
    MemorySettings settings_;
    test::ScriptedMergeView view_;
    MergePage page_{ui_, settings_, view_, view_};
};

TEST_F(ValidateMergeInputsTest, AlikeFilesGoOnWithoutAWarning)
{
    AddRows({Encoded("44100", "128kbps", "立体声"), Encoded("44100", "131 kbps VBR", "立体声")});
    EXPECT_TRUE(page_.ValidateMergeInputs());
    EXPECT_EQ(view_.mismatchWarnings, 0);
}

TEST_F(ValidateMergeInputsTest, SkipBoxIsStoredAtEachClickWhateverCloses)
{
    AddRows({Encoded("44100", "128kbps", "立体声"), Encoded("48000", "128kbps", "立体声")});
    view_.onMismatch = [this](MergeValidate& dialog) {
        EXPECT_FALSE(dialog.skipNextTime);
        EXPECT_NE(dialog.text.find("强烈建议你在合并前将他们转换为相同编码。"), std::string::npos);
        dialog.ToggleSkipNextTime(settings_);
        EXPECT_EQ(settings_.GetSettingInt(setting::kValidateBeforeMerge, 1), 0);
        dialog.ToggleSkipNextTime(settings_);
        EXPECT_EQ(settings_.GetSettingInt(setting::kValidateBeforeMerge, 0), 1);
        dialog.ToggleSkipNextTime(settings_);
        return ValidateChoice::Cancel;
    };
    EXPECT_FALSE(page_.ValidateMergeInputs());
    EXPECT_EQ(settings_.GetSettingInt(setting::kValidateBeforeMerge, 1), 0);
    view_.onMismatch = [](MergeValidate&) { return ValidateChoice::Ignore; };
    EXPECT_TRUE(page_.ValidateMergeInputs());
}

TEST_F(ValidateMergeInputsTest, ConvertNowHandsTheListOverAndStaysOpen)
{
    test::TempDir temp;
    ::setenv("TMPDIR", temp.Path().c_str(), 1);
    AddRows({Encoded("44100", "128kbps", "单声道", "a.mp3"),
             Encoded("44100", "128kbps", "立体声", "b.mp3")});
    view_.installed = {{"Brantor", "/opt/brantor"}};
    view_.startable = "brantor";
    view_.onMismatch = [](MergeValidate& dialog) {
        dialog.convertNow();
        dialog.convertNow();
        return ValidateChoice::Ignore; // the user still decides
    };
    EXPECT_TRUE(page_.ValidateMergeInputs());
    ::unsetenv("TMPDIR");
    ASSERT_EQ(view_.started.size(), 2u);
    const std::vector<std::string>& arguments = view_.started[0].second;
    ASSERT_EQ(arguments.size(), 6u);
    EXPECT_EQ(arguments[1], "KELDRO");
    EXPECT_EQ(arguments[3], "BATCHCONVERT_REMOVE");
    std::ifstream list(arguments[5]);
    std::stringstream text;
    text << list.rdbuf();
    EXPECT_EQ(text.str(), FormatConvertList(page_.List()));
}

} // namespace
} // namespace keldro
