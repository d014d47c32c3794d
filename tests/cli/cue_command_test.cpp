// keldro-cli cue, end to end.
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace keldro {
namespace {

class CueCommandTest : public ::testing::Test
{
protected:
    std::string Sheet(const std::string& text, const std::string& name = "album.cue")
    {
        const std::string path = dir_.File(name);
        test::WriteFile(path, test::Bytes(text.begin(), text.end()));
        return path;
    }

    test::ProcessResult Cli(std::vector<std::string> args)
    {
        return test::RunKeldroCli(std::move(args), dir_.File("stderr.txt"));
    }

    test::TempDir dir_;
};

const std::string kSheet = "PERFORMER \"乐队\"\nTITLE \"Album\"\nFILE \"disc.mp3\" MP3\n"
                           "TRACK 01 AUDIO\n  TITLE \"One\"\n  PERFORMER \"Me\"\n"
                           "  INDEX 01 00:00:00\nTRACK 02 AUDIO\n  TITLE \"Two\"\n"
                           "  INDEX 00 03:20:00\n  INDEX 01 03:25:74\n";

TEST_F(CueCommandTest, JsonReport)
{
    const test::ProcessResult result = Cli({"cue", "--json", Sheet(kSheet)});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const nlohmann::json report = nlohmann::json::parse(result.output);
    EXPECT_EQ(report["audio"], dir_.File("disc.mp3"));
    EXPECT_EQ(report["title"], "Album");
    EXPECT_EQ(report["performer"], "乐队");
    ASSERT_EQ(report["tracks"].size(), 2u);
    EXPECT_EQ(report["tracks"][0], (nlohmann::json{{"title", "One"},
                                                   {"performer", "Me"},
                                                   {"first_index", "0:00.000"},
                                                   {"last_index", "0:00.000"}}));
    EXPECT_EQ(report["tracks"][1]["first_index"], "3:20.000");
    EXPECT_EQ(report["tracks"][1]["last_index"], "3:25.740");
}

TEST_F(CueCommandTest, HumanOutputHasOneLinePerTrack)
{
    const test::ProcessResult result = Cli({"cue", Sheet(kSheet)});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, dir_.File("disc.mp3") + "\nAlbum\n乐队\n" +
                                 "1\t0:00.000\t0:00.000\tOne\tMe\n" +
                                 "2\t3:20.000\t3:25.740\tTwo\t\n");
}

TEST_F(CueCommandTest, ReadErrorsPrintTheReadersMessage)
{
    const test::ProcessResult result = Cli({"cue", Sheet("FILE \"a.mp3\"\n\nTRACK 01\n")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "读取音轨 [1] 时间位置错误，请检查 CUE 源文件并重试!\n");
    const test::ProcessResult missing = Cli({"cue", dir_.File("none.cue")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.errors.find("未能打开文件"), std::string::npos);
    EXPECT_EQ(Cli({"cue"}).exitCode, 2);
}

} // namespace
} // namespace keldro
