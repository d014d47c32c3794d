// keldro-cli info, end to end: the built program on real and broken files.
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace keldro {
namespace {

using nlohmann::json;

class InfoCommandTest : public ::testing::Test
{
protected:
    test::ProcessResult Cli(std::vector<std::string> args)
    {
        return test::RunKeldroCli(std::move(args), dir_.File("stderr.txt"));
    }

    json CliJson(std::vector<std::string> args, int expectedExit = 0)
    {
        const test::ProcessResult result = Cli(std::move(args));
        EXPECT_EQ(result.exitCode, expectedExit) << result.errors;
        return json::parse(result.output);
    }

    test::TempDir dir_;
};

TEST_F(InfoCommandTest, JsonOfAConstantBitrateFileWithInfoHeader)
{
    const json info = CliJson({"info", "--json", test::CorpusFile("cbr128")});
    EXPECT_TRUE(info["stream_found"]);
    EXPECT_EQ(info["version"], "MPEG 1.0");
    EXPECT_EQ(info["version_code"], 3);
    EXPECT_EQ(info["layer"], 3);
    EXPECT_EQ(info["bitrate_kbps"], 128);
    EXPECT_TRUE(info["average_bitrate_kbps"].is_null());
    EXPECT_EQ(info["sample_rate"], 44100);
    EXPECT_EQ(info["channel_mode"], 1);
    EXPECT_EQ(info["channel_mode_name"], "联合立体声");
    EXPECT_EQ(info["vbr_header"], "info");
    EXPECT_EQ(info["vbr_frame_offset"], 0);
    EXPECT_EQ(info["vbr_tag_offset"], 36);
    EXPECT_EQ(info["first_frame_offset"], 417);
    EXPECT_EQ(info["frame_length"], 417);
    EXPECT_EQ(info["total_frames"], info["vbr_frames"]);
    EXPECT_FALSE(info["has_id3v1"]);
    EXPECT_EQ(info["tag"]["genre_index"], 255);
    EXPECT_EQ(info["tag"]["genre"], "");
    EXPECT_EQ(info["info_text"].get<std::string>().find("时间: "), 0u);
    EXPECT_NE(info["info_text"].get<std::string>().find("128kbps CBR\n44100Hz"), std::string::npos);
}

TEST_F(InfoCommandTest, JsonOfVariableBitrateTaggedMpeg25)
{
    const std::string path = test::CorpusFile("mpeg25_12k_vbr_tagged");
    const json info = CliJson({"info", "--json", path});
    EXPECT_EQ(info["path"], path);
    EXPECT_EQ(info["version"], "MPEG 2.5");
    EXPECT_EQ(info["version_code"], 1);
    EXPECT_EQ(info["sample_rate"], 12000);
    EXPECT_EQ(info["vbr_header"], "xing");
    EXPECT_TRUE(info["average_bitrate_kbps"].is_number());
    EXPECT_GT(info["first_frame_offset"].get<int>(), info["vbr_frame_offset"].get<int>());
    EXPECT_EQ(info["vbr_tag_offset"], info["vbr_frame_offset"].get<int>() + 4 + 17);
    EXPECT_TRUE(info["has_id3v1"]);
    EXPECT_EQ(info["tag"]["title"], "Corpus Title");
    EXPECT_EQ(info["tag"]["track"], 7);
    EXPECT_EQ(info["tag"]["genre_index"], 17);
    EXPECT_EQ(info["tag"]["genre"], "Rock");
    const long samples = test::Mpg123SampleFrames(path, dir_.Path());
    EXPECT_EQ(info["total_frames"].get<long>() * 576, samples);
}

TEST_F(InfoCommandTest, JsonGivesTheLameTagAndWhetherTheSeekTableFits)
{
    for (const std::string name : {"vbr_v2", "cbr128_tagged"}) {
        const std::string path = test::CorpusFile(name);
        const json info = CliJson({"info", "--json", path});
        const test::GaplessTrim trim = test::LameDecoderTrim(path, dir_.Path());
        EXPECT_EQ(info["encoder_delay"], trim.delay) << name;
        EXPECT_EQ(info["encoder_padding"], trim.padding) << name;
        EXPECT_EQ(info["lame_tag_crc_ok"], true) << name;
        EXPECT_EQ(info["toc_ok"], true) << name;
    }
}

TEST_F(InfoCommandTest, JsonGivesNullsWithoutAHeaderFrame)
{
    const json info = CliJson({"info", "--json", test::CorpusFile("cbr128_bare")});
    EXPECT_EQ(info["vbr_header"], "none");
    EXPECT_TRUE(info["encoder_delay"].is_null());
    EXPECT_TRUE(info["encoder_padding"].is_null());
    EXPECT_TRUE(info["lame_tag_crc_ok"].is_null());
    EXPECT_TRUE(info["toc_ok"].is_null());
}

// The lowpass byte of the LAME tag changed: the tag's CRC no longer holds.
// The table of contents reversed: the seek table no longer fits.
TEST_F(InfoCommandTest, JsonReportsABrokenTagCrcAndAWrongSeekTable)
{
    test::Bytes bytes = test::ReadFile(test::CorpusFile("cbr128"));
    constexpr std::size_t kExtension = 36 + 120;
    constexpr std::size_t kToc = 36 + 16;
    bytes[kExtension + 10] ^= 1;
    std::reverse(bytes.begin() + kToc, bytes.begin() + kToc + 100);
    const std::string path = dir_.File("broken.mp3");
    test::WriteFile(path, bytes);
    const json info = CliJson({"info", "--json", path});
    EXPECT_EQ(info["lame_tag_crc_ok"], false);
    EXPECT_EQ(info["toc_ok"], false);
    EXPECT_TRUE(info["encoder_delay"].is_number());
}

// A Xing tag without a table of contents or an encoder name: nothing to check.
TEST_F(InfoCommandTest, JsonGivesNullsForAXingTagWithoutTableOrExtension)
{
    const test::HeaderFields fields;
    test::Bytes bytes = test::XingFrame(fields, 20, 417 * 21);
    test::Append(bytes, test::Frames(fields, 20));
    const std::string path = dir_.File("plain_xing.mp3");
    test::WriteFile(path, bytes);
    const json info = CliJson({"info", "--json", path});
    EXPECT_EQ(info["vbr_header"], "xing");
    EXPECT_TRUE(info["encoder_delay"].is_null());
    EXPECT_TRUE(info["lame_tag_crc_ok"].is_null());
    EXPECT_TRUE(info["toc_ok"].is_null());
}

TEST_F(InfoCommandTest, SeveralFilesGiveAnArrayAndAFailureExitsWithOne)
{
    const std::string missing = dir_.File("missing.mp3");
    const test::ProcessResult result =
        Cli({"info", "--json", test::CorpusFile("cbr_mono48"), missing, dir_.File("x.wav")});
    EXPECT_EQ(result.exitCode, 1);
    const json report = json::parse(result.output);
    ASSERT_TRUE(report.is_array());
    ASSERT_EQ(report.size(), 3u);
    EXPECT_TRUE(report[0]["stream_found"]);
    EXPECT_EQ(report[0]["channel_mode_name"], "单声道");
    EXPECT_FALSE(report[1]["stream_found"]);
    EXPECT_EQ(report[1]["error"], "未能载入 MP3 文件\n\n" + missing + "!");
    EXPECT_FALSE(report[2]["stream_found"]);
    EXPECT_NE(result.errors.find(missing), std::string::npos);
}

TEST_F(InfoCommandTest, FileWithoutAStreamKeepsItsTagInTheReport)
{
    const std::string path = dir_.File("noise.mp3");
    test::Bytes bytes = test::Garbage(4000);
    test::Append(bytes, test::Id3v1Tag("Lost", "", "", "", "", 0, 255));
    test::WriteFile(path, bytes);
    const json info = CliJson({"info", "--json", path}, 1);
    EXPECT_FALSE(info["stream_found"]);
    EXPECT_EQ(info["file_size"], 4128);
    EXPECT_EQ(info["tag"]["title"], "Lost");
    EXPECT_TRUE(info.contains("error"));
}

TEST_F(InfoCommandTest, HumanOutputShowsTheStreamTextAndTag)
{
    const std::string path = test::CorpusFile("cbr128_tagged");
    const test::ProcessResult result = Cli({"info", path});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output.find(path + "\n时间: "), 0u);
    EXPECT_NE(result.output.find("MPEG 1.0，第 3 层，128kbps CBR\n44100Hz，联合立体声\n"),
              std::string::npos);
    EXPECT_NE(result.output.find("标题: Corpus Title\n"), std::string::npos);
    EXPECT_NE(result.output.find("流派: Rock\n"), std::string::npos);
    EXPECT_TRUE(result.errors.empty());
}

TEST_F(InfoCommandTest, TagBytesThatAreNotUtf8AreShownAsGb18030)
{
    const std::string path = dir_.File("gb.mp3");
    test::Bytes bytes = test::Frames(test::HeaderFields{}, 20);
    test::Append(bytes, test::Id3v1Tag("\xC4\xE3\xBA\xC3", "", "", "", "", 0, 255));
    test::WriteFile(path, bytes);
    const json info = CliJson({"info", "--json", path});
    EXPECT_EQ(info["tag"]["title"], "你好");
}

TEST_F(InfoCommandTest, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(Cli({}).exitCode, 2);
    EXPECT_EQ(Cli({"info"}).exitCode, 2);
    EXPECT_EQ(Cli({"info", "--bogus", "x.mp3"}).exitCode, 2);
    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
    const test::ProcessResult version = Cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.output.find("3.0"), std::string::npos);
    const test::ProcessResult help = Cli({"info", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--json"), std::string::npos);
}

} // namespace
} // namespace keldro
