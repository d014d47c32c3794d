// keldro-cli split, end to end on real lame output.
#include "decoded_pcm.h"
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"
#include "timecue/cue_sheet.h"
#include "tools.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace keldro {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class SplitCommandTest : public ::testing::Test
{
protected:
    test::ProcessResult Cli(std::vector<std::string> args)
    {
        return test::RunKeldroCli(std::move(args), dir_.File("stderr.txt"));
    }

    json Split(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"split", "--json"});
        const test::ProcessResult result = Cli(args);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        return json::parse(result.output);
    }

    // Every output decodes to its frames and passes mp3val; their audio joined
    // is the source's audio, byte for byte.
    void CheckOutputsJoinToTheSource(const std::string& source, const json& report)
    {
        CMP3Info info;
        ASSERT_TRUE(info.Analyse(source));
        const test::Bytes bytes = test::ReadFile(source);
        test::Bytes joined;
        for (const json& track : report["tracks"]) {
            ASSERT_TRUE(track["written"]);
            const std::string file = track["file"];
            const test::Bytes written = test::ReadFile(file);
            const std::size_t header =
                info.HasHeaderFrame() ? info.FirstFrameOffset() - info.VbrFrameOffset() : 0;
            const bool tagged = written.size() >= 128 && written[written.size() - 128] == 'T' &&
                                written[written.size() - 127] == 'A';
            const std::size_t end = written.size() - (tagged ? 128 : 0);
            joined.insert(joined.end(), written.begin() + static_cast<long>(header),
                          written.begin() + static_cast<long>(end));
            const test::Walk walk = test::WalkFrames(written, header, end);
            EXPECT_EQ(walk.end, end) << file;
            EXPECT_EQ(test::Mpg123SampleFrames(file, dir_.Path()),
                      walk.frames * SamplesPerFrame(info.Header()))
                << file;
            const test::Mp3valReport mp3val = test::RunMp3val(file);
            EXPECT_TRUE(mp3val.warnings.empty()) << mp3val.warnings.front();
        }
        const test::Bytes audio(bytes.begin() + info.FirstFrameOffset(),
                                bytes.begin() + info.AudioEnd());
        EXPECT_TRUE(joined == audio) << "joined " << joined.size() << " of " << audio.size();
    }

    test::TempDir dir_;
};

TEST_F(SplitCommandTest, VariableBitrateFileCutAtTenTimesInFrameHandling)
{
    const std::string source = test::CorpusFile("vbr_v2");
    std::vector<std::string> args{"--out", dir_.File("vbr"), "--name", "%F %S"};
    for (int i = 1; i <= 10; ++i)
        args.insert(args.end(), {"--at", std::to_string(i * 450 + 3)});
    args.push_back(source);
    const json report = Split(args);
    EXPECT_EQ(report["mode"], "frame");
    ASSERT_EQ(report["tracks"].size(), 11u);
    EXPECT_EQ(report["tracks"][0]["file"], dir_.File("vbr/vbr_v2 001.mp3"));
    EXPECT_EQ(report["tracks"][10]["file"], dir_.File("vbr/vbr_v2 011.mp3"));
    CheckOutputsJoinToTheSource(source, report);
}

// Gapless players join the pieces of a seamless split into the source's own
// samples; a plain split leaves the decoder's delay unfilled at each cut.
TEST_F(SplitCommandTest, SeamlessPiecesPlayGaplessAsTheSource)
{
    const std::string source = test::CorpusFile("vbr_v2");
    const test::DecodedPcm whole = test::Mpg123Pcm(source, dir_.Path(), true);
    for (const bool seamless : {false, true}) {
        std::vector<std::string> args{"--parts", "4", "--out",
                                      dir_.File(seamless ? "seamless" : "plain"), source};
        if (seamless)
            args.insert(args.begin(), "--seamless");
        const json report = Split(args);
        test::DecodedPcm joined;
        for (const json& track : report["tracks"]) {
            const test::DecodedPcm piece = test::Mpg123Pcm(track["file"], dir_.Path(), true);
            joined.channels = piece.channels;
            joined.samples.insert(joined.samples.end(), piece.samples.begin(), piece.samples.end());
            EXPECT_EQ(track["carried_frames"] > 0, seamless && track["row"] > 1) << track;
        }
        EXPECT_EQ(whole.Frames() - joined.Frames(), seamless ? 0 : 3 * 529);
        if (seamless) {
            EXPECT_EQ(test::FirstDifference(whole, joined), -1);
        }
    }
    // Without the header frame nothing could tell players to drop carried
    // frames: none are carried.
    const json bare = Split(
        {"--seamless", "--no-vbr-header", "--parts", "3", "--out", dir_.File("bare"), source});
    for (const json& track : bare["tracks"])
        EXPECT_EQ(track["carried_frames"], 0) << track;
}

TEST_F(SplitCommandTest, VariableBitrateFileInFastHandlingStillReachesTheEnd)
{
    const std::string source = test::CorpusFile("vbr_v5_mono_tagged");
    const json report =
        Split({"--mode", "fast", "--parts", "3", "--out", dir_.File("fast"), source});
    EXPECT_EQ(report["mode"], "fast");
    CheckOutputsJoinToTheSource(source, report);
}

TEST_F(SplitCommandTest, ConstantBitrateFileInEqualPartsWithTags)
{
    const std::string source = test::CorpusFile("cbr128_tagged");
    const json report =
        Split({"--parts", "4", "--out", dir_.File("cbr"), "--title", "Part %S of %M", "--album",
               "Whole", "--track", "%S", "--genre", "jazz", source});
    ASSERT_EQ(report["tracks"].size(), 4u);
    CheckOutputsJoinToTheSource(source, report);
    CMP3Info part;
    ASSERT_TRUE(part.Analyse(report["tracks"][2]["file"]));
    EXPECT_EQ(part.Tag().title, "Part 003 of Whole");
    EXPECT_EQ(part.Tag().track, 3u);
    EXPECT_EQ(part.Tag().genre, 8u);
    EXPECT_EQ(part.Tag().artist, "Corpus Artist"); // from the source
}

TEST_F(SplitCommandTest, ChosenRowsAndTheCounter)
{
    const std::string source = test::CorpusFile("cbr128");
    json report = Split({"--parts", "4", "--tracks", "2,4", "--out", dir_.File("a"), source});
    EXPECT_FALSE(report["tracks"][0]["written"]);
    EXPECT_TRUE(fs::exists(dir_.File("a/cbr128-002.mp3")));
    EXPECT_TRUE(fs::exists(dir_.File("a/cbr128-004.mp3")));
    report = Split(
        {"--parts", "4", "--tracks", "2,4", "--count-generated", "--out", dir_.File("b"), source});
    EXPECT_TRUE(fs::exists(dir_.File("b/cbr128-001.mp3")));
    EXPECT_TRUE(fs::exists(dir_.File("b/cbr128-002.mp3")));
    EXPECT_EQ(report["tracks"][3]["file"], dir_.File("b/cbr128-002.mp3"));
}

TEST_F(SplitCommandTest, CueSheetSourceGivesOneFilePerTrack)
{
    const std::string source = test::CorpusFile("cbr128");
    const std::string sheet = dir_.File("album.cue");
    const std::string text = "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"" + source +
                             "\" MP3\nTRACK 01 AUDIO\n TITLE \"First\"\n INDEX 01 00:00:00\n"
                             "TRACK 02 AUDIO\n TITLE \"Second\"\n PERFORMER \"Guest\"\n"
                             " INDEX 01 00:01:50\nTRACK 03 AUDIO\n INDEX 01 00:03:00\n";
    test::WriteFile(sheet, test::Bytes(text.begin(), text.end()));
    const json report = Split({"--out", dir_.File("cue"), "--name", "%S - %T", sheet});
    ASSERT_EQ(report["tracks"].size(), 3u);
    CheckOutputsJoinToTheSource(source, report);
    CMP3Info second;
    ASSERT_TRUE(second.Analyse(dir_.File("cue/002 - Second.mp3")));
    EXPECT_EQ(second.Tag().title, "Second");
    EXPECT_EQ(second.Tag().artist, "Guest");
    EXPECT_TRUE(fs::exists(dir_.File("cue/003 - Album.mp3")));
}

TEST_F(SplitCommandTest, ExportedSheetReadsBackToTheSameList)
{
    const std::string source = dir_.File("copy.mp3");
    fs::copy_file(test::CorpusFile("cbr128"), source);
    const json report = Split({"--at", "1000", "--at", "0:02.500", "--title", "T %S",
                               "--export-cue", "--out", dir_.File("x"), source});
    CProcessCUEFile cue;
    test::ScriptedInteraction ui;
    ASSERT_TRUE(cue.Read(dir_.File("copy.cue"), ui));
    EXPECT_EQ(cue.GetAudioPath(), source);
    ASSERT_EQ(cue.GetTrackCount(), 3);
    CueTrackRecord record;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(cue.GetTrack(i, record));
        EXPECT_EQ(record.title, "T %S");
        EXPECT_EQ(ParseTime(record.firstIndex, TimeStyle::Display),
                  report["tracks"][static_cast<std::size_t>(i)]["start_ms"].get<TimeMs>());
    }
    // The sheet is there now: without --overwrite nothing is written.
    EXPECT_EQ(Cli({"split", "--export-cue", "--out", dir_.File("y"), source}).exitCode, 1);
    EXPECT_FALSE(fs::exists(dir_.File("y")));
}

TEST_F(SplitCommandTest, ExistingOutputsStopUnlessToldOtherwise)
{
    const std::string source = test::CorpusFile("cbr128");
    fs::create_directory(dir_.File("o"));
    test::WriteFile(dir_.File("o/cbr128-002.mp3"), test::Bytes(3, 7));
    const test::ProcessResult refused =
        Cli({"split", "--parts", "3", "--out", dir_.File("o"), source});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find(dir_.File("o/cbr128-002.mp3")), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_.File("o/cbr128-001.mp3"))); // nothing written at all

    json report = Split({"--parts", "3", "--skip-existing", "--out", dir_.File("o"), source});
    EXPECT_FALSE(report["tracks"][1]["written"]);
    EXPECT_EQ(test::ReadFile(dir_.File("o/cbr128-002.mp3")), test::Bytes(3, 7));
    report = Split({"--parts", "3", "--overwrite", "--out", dir_.File("o"), source});
    EXPECT_TRUE(report["tracks"][1]["written"]);
    EXPECT_GT(fs::file_size(dir_.File("o/cbr128-002.mp3")), 3u);
}

TEST_F(SplitCommandTest, DryRunWritesNothing)
{
    const std::string source = test::CorpusFile("vbr_v2");
    const json report =
        Split({"--every", "0:01.000", "--dry-run", "--out", dir_.File("dry"), source});
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(source));
    EXPECT_EQ(report["tracks"].size(), (info.DurationMs() - 1) / 1000 + 1);
    EXPECT_FALSE(report["tracks"][0]["written"]);
    EXPECT_GT(report["tracks"][1]["start_offset"].get<long>(), 0);
    EXPECT_FALSE(fs::exists(dir_.File("dry")));
}

// The pieces' cuts are found while they are written; rows that are not
// written report the offsets the written ones would have had.
TEST_F(SplitCommandTest, RowsNotWrittenReportTheOffsetsOfAWrittenRow)
{
    const std::string source = test::CorpusFile("vbr_v2");
    const json all = Split({"--parts", "5", "--out", dir_.File("all"), source});
    const json some =
        Split({"--parts", "5", "--tracks", "2,4", "--out", dir_.File("some"), source});
    const json dry = Split({"--parts", "5", "--dry-run", "--out", dir_.File("dry"), source});
    ASSERT_EQ(all["tracks"].size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        for (const json* other : {&some, &dry}) {
            EXPECT_EQ((*other)["tracks"][i]["start_offset"], all["tracks"][i]["start_offset"]) << i;
            EXPECT_EQ((*other)["tracks"][i]["end_offset"], all["tracks"][i]["end_offset"]) << i;
        }
    }
    EXPECT_FALSE(some["tracks"][0]["written"]);
    EXPECT_TRUE(some["tracks"][1]["written"]);
}

TEST_F(SplitCommandTest, UsageErrors)
{
    const std::string source = test::CorpusFile("cbr128");
    EXPECT_EQ(Cli({"split", "--at", "1:75.000", source}).exitCode, 2);
    EXPECT_EQ(Cli({"split", "--tracks", "2-1", source}).exitCode, 2);
    EXPECT_EQ(Cli({"split", "--tracks", "9", "--dry-run", source}).exitCode, 2);
    EXPECT_EQ(Cli({"split", "--parts", "0", source}).exitCode, 2);
    EXPECT_EQ(Cli({"split", "--genre", "Nonsense", source}).exitCode, 2);
    EXPECT_EQ(Cli({"split", "--overwrite", "--skip-existing", source}).exitCode, 2);
    EXPECT_EQ(Cli({"split", "--mode", "exact", source}).exitCode, 2);
    const test::ProcessResult tooSmall = Cli({"split", "--every", "1", source});
    EXPECT_EQ(tooSmall.exitCode, 2);
    EXPECT_NE(tooSmall.errors.find("太小"), std::string::npos);
    EXPECT_EQ(Cli({"split", dir_.File("missing.mp3")}).exitCode, 1);
}

TEST_F(SplitCommandTest, RepeatedOptionsTakeOneValueEachAndTimesAsPeopleTypeThem)
{
    const std::string source = test::CorpusFile("cbr128");
    // The source between two --at: neither option takes it for a value.
    const json report =
        Split({"--dry-run", "--at", "0:01", source, "--at", "0:02.5", "--out", dir_.File("o")});
    ASSERT_EQ(report["tracks"].size(), 3u);
    EXPECT_EQ(report["tracks"][1]["start_ms"], 1000);
    EXPECT_EQ(report["tracks"][2]["start_ms"], 2500);
    const json parts = Split({"--dry-run", "--parts", "2", source, "--every", "0:01"});
    EXPECT_GT(parts["tracks"].size(), 2u);
}

TEST_F(SplitCommandTest, NamesThatCollideAreRefusedBeforeAnythingIsWritten)
{
    const std::string source = test::CorpusFile("cbr128");
    const test::ProcessResult result = Cli(
        {"split", "--parts", "3", "--name", "%K", "--track", "5", "--out", dir_.File("o"), source});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("5.mp3: rows 1 2 3"), std::string::npos) << result.errors;
    EXPECT_FALSE(fs::exists(dir_.File("o")));
    // With --overwrite too: row 1's file would be lost to row 2.
    EXPECT_EQ(Cli({"split", "--parts", "2", "--name", "%K", "--track", "5", "--overwrite", "--out",
                   dir_.File("o"), source})
                  .exitCode,
              1);
    EXPECT_FALSE(fs::exists(dir_.File("o")));
}

TEST_F(SplitCommandTest, RefusedRunsAndFailuresExitOne)
{
    const std::string source = test::CorpusFile("cbr128");
    const test::ProcessResult noFolder = Cli({"split", "--out", "", source});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.errors.find("请在开始分割音轨前先设置目标文件夹。"), std::string::npos)
        << noFolder.errors;

    fs::create_directory(dir_.File("o"));
    fs::create_symlink(dir_.File("nowhere.mp3"), dir_.File("o/cbr128-001.mp3"));
    const test::ProcessResult link =
        Cli({"split", "--parts", "2", "--out", dir_.File("o"), source});
    EXPECT_EQ(link.exitCode, 1);
    EXPECT_NE(link.errors.find("symbolic link to a missing file"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_.File("o/cbr128-002.mp3")));

    test::WriteFile(dir_.File("plain"), {1});
    const test::ProcessResult badFolder =
        Cli({"split", "--parts", "2", "--out", dir_.File("plain/sub"), source});
    EXPECT_EQ(badFolder.exitCode, 1);
    EXPECT_NE(badFolder.errors.find("未能创建文件夹 " + dir_.File("plain/sub") +
                                    "!\n路径中有一部分不是文件夹"),
              std::string::npos)
        << badFolder.errors;
}

TEST_F(SplitCommandTest, AFailedSheetExportExitsOne)
{
    const std::string source = dir_.File("album.mp3");
    fs::copy_file(test::CorpusFile("cbr128"), source);
    fs::create_directory(dir_.File("album.cue")); // a folder where the sheet should go
    const test::ProcessResult result = Cli(
        {"split", "--parts", "2", "--export-cue", "--overwrite", "--out", dir_.File("o"), source});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("album.cue"), std::string::npos) << result.errors;
    EXPECT_TRUE(fs::exists(dir_.File("o/album-002.mp3")));
}

TEST_F(SplitCommandTest, AFileSizeLimitIsAFailedWriteWithItsReason)
{
    const std::string source = test::CorpusFile("cbr128");
    const test::ProcessResult result = test::RunProcess(
        {"/bin/sh", "-c", "ulimit -f 20 && exec \"$0\" \"$@\"", test::KeldroCliPath(), "split",
         "--parts", "2", "--out", dir_.File("o"), source},
        dir_.File("stderr.txt"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("文件超出了允许的大小"), std::string::npos) << result.errors;
    for (const auto& entry : fs::directory_iterator(dir_.File("o")))
        EXPECT_EQ(entry.path().filename().string().rfind(".keldro-", 0), std::string::npos);
}

TEST_F(SplitCommandTest, PathsThatAreNotUtf8ComeWithTheirBytes)
{
    const std::string source = dir_.File("\xB2\xE2\xCA\xD4.mp3"); // GB18030
    fs::copy_file(test::CorpusFile("cbr128"), source);
    const json report = Split({"--parts", "2", "--out", dir_.File("o"), source});
    EXPECT_EQ(report["source"], dir_.File("测试.mp3"));
    const std::string hex = report["source_bytes"];
    EXPECT_EQ(hex.substr(hex.size() - 16), "b2e2cad42e6d7033");
    const std::string file = report["tracks"][0]["file"];
    EXPECT_EQ(file, dir_.File("o/测试-001.mp3"));
    EXPECT_TRUE(report["tracks"][0].contains("file_bytes"));
    EXPECT_FALSE(report.contains("mode_bytes"));
}

TEST_F(SplitCommandTest, TwoSplitsIntoOneFolderNeverReplaceEachOthersFiles)
{
    const std::string a = test::CorpusFile("cbr128");
    const std::string b = test::CorpusFile("cbr128_bare");
    const auto args = [&](const std::string& out, const std::string& source) {
        return std::vector<std::string>{
            test::KeldroCliPath(), "split", "--parts", "8", "--name", "part", "--out", out, source};
    };
    for (const std::string& source : {a, b}) {
        const std::string reference = dir_.File(fs::path(source).stem().string());
        ASSERT_EQ(test::RunProcess(args(reference, source)).exitCode, 0);
    }
    for (int round = 0; round < 3; ++round) {
        const std::string out = dir_.File("shared" + std::to_string(round));
        const int first = test::StartProcess(args(out, a));
        const int second = test::StartProcess(args(out, b));
        const int codes[] = {test::WaitProcess(first), test::WaitProcess(second)};
        // Each file is whole and one run's; a run that lost a file says so.
        int fromA = 0;
        for (const auto& entry : fs::directory_iterator(out)) {
            const std::string name = entry.path().filename().string();
            const test::Bytes written = test::ReadFile(entry.path().string());
            const bool isA = written == test::ReadFile(dir_.File("cbr128/" + name));
            const bool isB = written == test::ReadFile(dir_.File("cbr128_bare/" + name));
            EXPECT_TRUE(isA || isB) << name;
            fromA += isA ? 1 : 0;
        }
        EXPECT_EQ(codes[0] == 0, fromA == 8) << round;
        EXPECT_EQ(codes[1] == 0, fromA == 0) << round;
        EXPECT_LE(std::max(codes[0], codes[1]), 1);
    }
}

TEST_F(SplitCommandTest, TheSheetASourceCameFromIsNeverExportedOver)
{
    const std::string audio = dir_.File("album.mp3");
    fs::copy_file(test::CorpusFile("cbr128"), audio);
    const std::string sheet = dir_.File("album.cue");
    const std::string text = "REM GENRE Test\nCATALOG 1234567890123\nFILE \"album.mp3\" MP3\n"
                             "TRACK 01 AUDIO\n INDEX 01 00:00:00\n"
                             "TRACK 02 AUDIO\n INDEX 00 00:01:00\n INDEX 01 00:01:50\n";
    test::WriteFile(sheet, test::Bytes(text.begin(), text.end()));
    const test::ProcessResult result =
        Cli({"split", "--export-cue", "--overwrite", "--out", dir_.File("o"), sheet});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find(sheet + " 不能被同时选定为来源与目标 MP3 文件!"),
              std::string::npos)
        << result.errors;
    EXPECT_TRUE(test::ReadFile(sheet) == test::Bytes(text.begin(), text.end()));
    EXPECT_FALSE(fs::exists(dir_.File("o")));
}

TEST_F(SplitCommandTest, NoMorePartsThanTheSourceHasMilliseconds)
{
    // 13 frames: 0.34 s.
    const std::string tiny = dir_.File("tiny.mp3");
    test::WriteFile(tiny, test::Frames(test::HeaderFields{}, 13));
    const test::ProcessResult result = Cli({"split", "--parts", "999", "--dry-run", tiny});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.errors.find("无效的区段数"), std::string::npos) << result.errors;
    EXPECT_EQ(result.errors.find("已存在于该列表中"), std::string::npos);
    EXPECT_EQ(Cli({"split", "--parts", "300", "--dry-run", tiny}).exitCode, 0);
}

} // namespace
} // namespace keldro
