// keldro-cli merge, end to end on real lame output.
#include "bitwise_crc.h"
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace keldro {
namespace {

using nlohmann::json;
using test::Bytes;

std::uint32_t BigEndianAt(const Bytes& bytes, std::size_t at)
{
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

// Audio frames of a file by an independent walk, from its first audio frame.
long AudioFrames(const std::string& path)
{
    CMP3Info info;
    EXPECT_TRUE(info.Analyse(path));
    const Bytes bytes = test::ReadFile(path);
    const test::Walk walk = test::WalkFrames(bytes, info.FirstFrameOffset(), info.AudioEnd());
    EXPECT_EQ(walk.end, info.AudioEnd()) << path;
    return walk.frames;
}

// Silent frames after a file, from the fields of its first audio frame.
long SilenceFrames(const std::string& path, int seconds)
{
    CMP3Info info;
    EXPECT_TRUE(info.Analyse(path));
    const Bytes bytes = test::ReadFile(path);
    const test::HeaderFields fields =
        test::ParseHeaderFields(BigEndianAt(bytes, info.FirstFrameOffset()));
    return 1 + test::BitrateOf(fields) * 1000L * seconds / (8L * test::FrameLengthOf(fields));
}

class MergeCommandTest : public ::testing::Test
{
protected:
    test::ProcessResult Cli(std::vector<std::string> args)
    {
        args.insert(args.begin(), "merge");
        return test::RunKeldroCli(std::move(args), dir_.File("stderr.txt"));
    }

    json Merge(std::vector<std::string> args)
    {
        args.insert(args.begin(), "--json");
        const test::ProcessResult result = Cli(args);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        return result.exitCode == 0 ? json::parse(result.output) : json{};
    }

    test::TempDir dir_;
};

TEST_F(MergeCommandTest, VbrFileThenCbrFilesWithSilence)
{
    const std::string vbr = test::CorpusFile("vbr_v2");
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string bare = test::CorpusFile("cbr128_bare");
    const std::string out = dir_.File("joined.mp3");
    const json report =
        Merge({"-o", out, "--silence-after", "2=1", "--silence-after", "3=2", "--title", "合并",
               "--artist", "Keldro", "--track", "5", "--genre", "Blues", vbr, cbr, bare});
    ASSERT_FALSE(report.is_null());
    const long audio = AudioFrames(vbr) + AudioFrames(cbr) + AudioFrames(bare);
    const long silence = SilenceFrames(cbr, 1) + SilenceFrames(bare, 2);
    EXPECT_EQ(report["frame_total"], audio + silence);
    EXPECT_EQ(report["vbr_header"], "xing");
    EXPECT_EQ(report["tag"], true);
    ASSERT_EQ(report["files"].size(), 3u);
    EXPECT_EQ(report["files"][0]["frames"], AudioFrames(vbr));
    EXPECT_EQ(report["files"][1]["silence_frames"], SilenceFrames(cbr, 1));
    EXPECT_EQ(report["files"][2]["silence_frames"], SilenceFrames(bare, 2));

    // The header announces the frames an independent walk finds, and every byte
    // of the stream.
    CMP3Info joined;
    ASSERT_TRUE(joined.Analyse(out));
    const Bytes bytes = test::ReadFile(out);
    const test::Walk walk = test::WalkFrames(bytes, joined.FirstFrameOffset(), joined.AudioEnd());
    EXPECT_EQ(walk.end, bytes.size() - 128);
    EXPECT_EQ(walk.frames, audio + silence);
    EXPECT_EQ(joined.VbrFrames(), static_cast<std::uint32_t>(walk.frames));
    const std::size_t tag = joined.VbrTagOffset();
    ASSERT_EQ(std::string(bytes.begin() + static_cast<long>(tag),
                          bytes.begin() + static_cast<long>(tag) + 4),
              "Xing");
    EXPECT_EQ(BigEndianAt(bytes, tag + 12), bytes.size() - 128);
    EXPECT_EQ(report["byte_total"], bytes.size() - 128);

    EXPECT_EQ(test::Mpg123SampleFrames(out, dir_.Path()), walk.frames * 1152);
    const test::Mp3valReport mp3val = test::RunMp3val(out);
    EXPECT_TRUE(mp3val.warnings.empty()) << mp3val.warnings.front();
    ASSERT_TRUE(joined.HasID3v1());
    EXPECT_EQ(joined.Tag().title, "合并");
    EXPECT_EQ(joined.Tag().artist, "Keldro");
    EXPECT_EQ(joined.Tag().track, 5u);
    EXPECT_EQ(joined.Tag().genre, 0u);
}

// The output plays gapless as one stream: the first file's encoder delay, the
// last one's padding, the music's own length and CRC, a seek table of where
// its frames are, and a tag CRC that strict decoders accept.
TEST_F(MergeCommandTest, TheOutputsLameTagAndSeekTableDescribeIt)
{
    const std::string vbr = test::CorpusFile("vbr_v2");
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string out = dir_.File("joined.mp3");
    ASSERT_FALSE(Merge({"-o", out, "--silence-after", "1=1", vbr, cbr}).is_null());
    const auto info = [this](const std::string& file) {
        const test::ProcessResult result =
            test::RunKeldroCli({"info", "--json", file}, dir_.File("info-errors.txt"));
        EXPECT_EQ(result.exitCode, 0);
        return json::parse(result.output);
    };
    const json first = info(vbr);
    const json last = info(cbr);
    const json joined = info(out);
    ASSERT_FALSE(first["encoder_delay"].is_null());
    EXPECT_EQ(joined["encoder_delay"], first["encoder_delay"]);
    EXPECT_EQ(joined["encoder_padding"], last["encoder_padding"]);
    EXPECT_NE(joined["encoder_padding"], first["encoder_padding"]);
    EXPECT_EQ(joined["lame_tag_crc_ok"], true);
    EXPECT_EQ(joined["toc_ok"], true);

    CMP3Info merged;
    ASSERT_TRUE(merged.Analyse(out));
    const Bytes bytes = test::ReadFile(out);
    const std::size_t lame = merged.VbrTagOffset() + 120; // after the four Xing fields
    EXPECT_EQ(BigEndianAt(bytes, lame + 28), merged.AudioEnd() - merged.VbrFrameOffset());
    const std::uint16_t musicCrc = test::BitwiseCrc16(
        bytes.data() + merged.FirstFrameOffset(), merged.AudioEnd() - merged.FirstFrameOffset());
    EXPECT_EQ(bytes[lame + 32] << 8 | bytes[lame + 33], musicCrc);
    const std::uint16_t tagCrc = test::BitwiseCrc16(bytes.data() + merged.VbrFrameOffset(),
                                                    lame + 34 - merged.VbrFrameOffset());
    EXPECT_EQ(bytes[lame + 34] << 8 | bytes[lame + 35], tagCrc);
    EXPECT_TRUE(test::RunMp3val(out).warnings.empty());

    // Silence after the last file: the output ends in silence, with no padding to drop.
    const std::string padded = dir_.File("padded.mp3");
    ASSERT_FALSE(Merge({"-o", padded, "--silence-after", "2=1", vbr, cbr}).is_null());
    EXPECT_EQ(info(padded)["encoder_padding"], 0);
}

TEST_F(MergeCommandTest, NoTagWithoutFieldsAndTheInfoHeaderKept)
{
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string tagged = test::CorpusFile("cbr128_tagged");
    const std::string out = dir_.File("plain.mp3");
    const json report = Merge({"-o", out, "--silence", "1", cbr, tagged});
    ASSERT_FALSE(report.is_null());
    EXPECT_EQ(report["vbr_header"], "info");
    EXPECT_EQ(report["tag"], false);
    const Bytes bytes = test::ReadFile(out);
    CMP3Info joined;
    ASSERT_TRUE(joined.Analyse(out));
    EXPECT_FALSE(joined.HasID3v1());
    EXPECT_EQ(joined.AudioEnd(), bytes.size());
    EXPECT_EQ(report["byte_total"], bytes.size());
    const long frames =
        AudioFrames(cbr) + AudioFrames(tagged) + SilenceFrames(cbr, 1) + SilenceFrames(tagged, 1);
    EXPECT_EQ(joined.VbrFrames(), static_cast<std::uint32_t>(frames));
    EXPECT_EQ(test::Mpg123SampleFrames(out, dir_.Path()), frames * 1152);
    EXPECT_TRUE(test::RunMp3val(out).warnings.empty());
}

TEST_F(MergeCommandTest, DifferentParametersStopTheMergeUnlessIgnored)
{
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string mono = test::CorpusFile("cbr_mono48");
    const std::string out = dir_.File("mixed.mp3");
    const test::ProcessResult refused = Cli({"-o", out, cbr, mono});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("强烈建议你在合并前将他们转换为相同编码。"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(Cli({"-o", out, "--ignore-mismatch", cbr, mono}).exitCode, 0);
    EXPECT_EQ(Cli({"-o", dir_.File("unchecked.mp3"), "--no-check", cbr, mono}).exitCode, 0);
}

TEST_F(MergeCommandTest, NothingIsLost)
{
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string out = dir_.File("kept.mp3");
    test::WriteFile(out, {'o', 'l', 'd'});
    const test::ProcessResult existing = Cli({"-o", out, cbr});
    EXPECT_EQ(existing.exitCode, 1);
    EXPECT_TRUE(test::ReadFile(out) == (Bytes{'o', 'l', 'd'}));

    // A source under another name is still a source.
    const std::string copy = dir_.File("source.mp3");
    std::filesystem::copy_file(cbr, copy);
    std::filesystem::create_symlink(copy, dir_.File("link.mp3"));
    const Bytes before = test::ReadFile(copy);
    const test::ProcessResult same = Cli({"-o", dir_.File("link.mp3"), "--overwrite", cbr, copy});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_NE(same.errors.find("不能被同时选定为来源与目标 MP3 文件!"), std::string::npos);
    EXPECT_TRUE(test::ReadFile(copy) == before);

    // A file that is not MP3 audio ends the run before anything is written.
    test::WriteFile(dir_.File("noise.mp3"), test::Garbage(4000));
    const test::ProcessResult bad = Cli({"-o", out, "--overwrite", cbr, dir_.File("noise.mp3")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.errors.find("未能载入 MP3 文件"), std::string::npos);
    EXPECT_TRUE(test::ReadFile(out) == (Bytes{'o', 'l', 'd'}));

    EXPECT_EQ(Cli({"-o", out, "--overwrite", cbr}).exitCode, 0);
    EXPECT_GT(test::ReadFile(out).size(), 3u);
}

TEST_F(MergeCommandTest, BadOptionsAreUsageErrors)
{
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string out = dir_.File("x.mp3");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-o", out, "--silence-after", "two=1", cbr},
          {"-o", out, "--silence-after", "0=1", cbr},
          {"-o", out, "--genre", "NoSuchGenre", cbr},
          {"-o", out, "--track", "-1", cbr},
          {cbr}}) {
        EXPECT_EQ(Cli(args).exitCode, 2) << args[args.size() - 2];
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(MergeCommandTest, RepeatedOptionsLeaveTheFilesAfterThem)
{
    const std::string cbr = test::CorpusFile("cbr128");
    const json report = Merge({"-o", dir_.File("out.mp3"), "--silence-after", "1=2", cbr, cbr,
                               "--silence-after", "2=1", cbr});
    ASSERT_EQ(report["files"].size(), 3u);
    EXPECT_EQ(report["files"][0]["silence_frames"], SilenceFrames(cbr, 2));
    EXPECT_EQ(report["files"][1]["silence_frames"], SilenceFrames(cbr, 1));
    EXPECT_EQ(report["files"][2]["silence_frames"], 0);
}

TEST_F(MergeCommandTest, TwoMergesToOneTargetNeverReplaceEachOther)
{
    const std::string a = test::CorpusFile("cbr128");
    const std::string b = test::CorpusFile("cbr128_bare");
    const std::string target = dir_.File("shared.mp3");
    for (int round = 0; round < 3; ++round) {
        std::filesystem::remove(target);
        const std::string cli = test::KeldroCliPath();
        const int first = test::StartProcess({cli, "merge", "-o", target, a, a, a, a});
        const int second = test::StartProcess({cli, "merge", "-o", target, b, b, b, b});
        const int firstCode = test::WaitProcess(first);
        const int secondCode = test::WaitProcess(second);
        // One of them wrote the target; the other left it alone and said so.
        ASSERT_EQ(std::min(firstCode, secondCode), 0) << round;
        ASSERT_EQ(std::max(firstCode, secondCode), 1) << round;
        const std::string winner = firstCode == 0 ? a : b;
        const std::string again = dir_.File("again.mp3");
        ASSERT_EQ(Cli({"-o", again, "--overwrite", winner, winner, winner, winner}).exitCode, 0);
        EXPECT_TRUE(test::ReadFile(target) == test::ReadFile(again)) << round;
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
            ++files;
        EXPECT_EQ(files, 3u) << "the target, the check and stderr; no temporary file";
    }
}

TEST_F(MergeCommandTest, ATargetThatIsALinkToNowhereIsNamedAsSuch)
{
    const std::string cbr = test::CorpusFile("cbr128");
    const std::string link = dir_.File("link.mp3");
    std::filesystem::create_symlink(dir_.File("missing/nowhere.mp3"), link);
    const test::ProcessResult result = Cli({"-o", link, cbr});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("a symbolic link to a missing file"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

} // namespace
} // namespace keldro
