// Reading and writing CUE sheets, byte for byte.
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"
#include "timecue/cue_sheet.h"
#include "timecue/time_format.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace keldro {
namespace {

class CueSheetTest : public ::testing::Test
{
protected:
    bool Read(const std::string& content, const std::string& name = "album.cue")
    {
        path_ = dir_.File(name);
        test::WriteFile(path_, test::Bytes(content.begin(), content.end()));
        return cue_.Read(path_, ui_);
    }

    std::vector<CueTrackRecord> Tracks() const
    {
        std::vector<CueTrackRecord> tracks(static_cast<std::size_t>(cue_.GetTrackCount()));
        for (int i = 0; i < cue_.GetTrackCount(); ++i)
            cue_.GetTrack(i, tracks[static_cast<std::size_t>(i)]);
        return tracks;
    }

    std::string LastMessage() const
    {
        return ui_.messages.empty() ? std::string() : ui_.messages.back().text;
    }

    test::TempDir dir_;
    std::string path_;
    CProcessCUEFile cue_;
    test::ScriptedInteraction ui_;
};

const std::string kSimple = "PERFORMER \"Band\"\r\n"
                            "TITLE \"Album\"\r\n"
                            "FILE \"disc.mp3\" MP3\r\n"
                            "  TRACK 01 AUDIO\r\n"
                            "    TITLE \"One\"\r\n"
                            "    PERFORMER \"Singer\"\r\n"
                            "    INDEX 01 00:00:00\r\n"
                            "  TRACK 02 AUDIO\r\n"
                            "    TITLE \"Two\"\r\n"
                            "    INDEX 00 00:10:00\r\n"
                            "    INDEX 01 00:12:00\r\n"
                            "  TRACK 03 AUDIO\r\n"
                            "    INDEX 01 03:25:74\r\n";

TEST_F(CueSheetTest, ReadsTheSheetAndItsTracks)
{
    ASSERT_TRUE(Read(kSimple));
    EXPECT_TRUE(cue_.IsCueSheet());
    EXPECT_EQ(cue_.GetSheetPath(), path_);
    EXPECT_EQ(cue_.GetSheetPerformer(), "Band");
    EXPECT_EQ(cue_.GetSheetTitle(), "Album");
    EXPECT_EQ(cue_.GetAudioPath(), dir_.File("disc.mp3"));
    EXPECT_EQ(Tracks(), (std::vector<CueTrackRecord>{
                            {"One", "Singer", "0:00.000", "0:00.000"},
                            {"Two", "", "0:10.000", "0:12.000"}, // INDEX 00 and 01
                            {"", "", "3:25.740", "3:25.740"}})); // hundredths, not frames
    EXPECT_TRUE(ui_.messages.empty());
    CueTrackRecord record;
    EXPECT_FALSE(cue_.GetTrack(3, record));
    EXPECT_FALSE(cue_.GetTrack(-1, record));
}

TEST_F(CueSheetTest, OtherFilesPassThroughAsAudio)
{
    ASSERT_TRUE(Read("not a sheet", "x.cue.mp3"));
    EXPECT_FALSE(cue_.IsCueSheet());
    EXPECT_EQ(cue_.GetAudioPath(), path_);
    EXPECT_EQ(cue_.GetTrackCount(), 0);
    ASSERT_TRUE(Read(kSimple, "UPPER.CUE"));
    EXPECT_TRUE(cue_.IsCueSheet());
    EXPECT_EQ(cue_.GetTrackCount(), 3);
}

TEST_F(CueSheetTest, AudioPathIsJoinedToTheSheetsFolderUnlessAbsolute)
{
    const auto audioFor = [&](const std::string& value) {
        Read("FILE \"" + value + "\" MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
        return cue_.GetAudioPath();
    };
    EXPECT_EQ(audioFor("disc.mp3"), dir_.File("disc.mp3"));
    EXPECT_EQ(audioFor("sub/disc.mp3"), dir_.File("sub/disc.mp3"));
    EXPECT_EQ(audioFor("sub\\disc.mp3"), dir_.File("sub/disc.mp3"));
    EXPECT_EQ(audioFor("/music/disc.mp3"), "/music/disc.mp3");
}

TEST_F(CueSheetTest, SetAudioPathReplacesTheSheetsFile)
{
    ASSERT_TRUE(Read(kSimple));
    cue_.SetAudioPath("/elsewhere/other.mp3");
    EXPECT_EQ(cue_.GetAudioPath(), "/elsewhere/other.mp3");
    EXPECT_EQ(cue_.GetTrackCount(), 3);
}

TEST_F(CueSheetTest, FormatErrorsNameTheLineCountingBlankLines)
{
    EXPECT_FALSE(Read("TITLE \"x\"\r\r\nPERFORMER none\r\nFILE \"a.mp3\"\nTRACK 01 AUDIO\n"));
    EXPECT_EQ(LastMessage(), "行 [3] 格式错误，请检查 CUE 源文件并重试!");
    EXPECT_EQ(ui_.messages.back().icon, MessageIcon::Error);
    EXPECT_FALSE(cue_.IsCueSheet()); // nothing was read before
    EXPECT_EQ(cue_.GetTrackCount(), 0);

    // TRACK before FILE fails at the TRACK line, even with a FILE line later.
    EXPECT_FALSE(Read("\n\nTRACK 01 AUDIO\nFILE \"a.mp3\" MP3\nINDEX 01 00:00:00\n"));
    EXPECT_EQ(LastMessage(), "行 [3] 格式错误，请检查 CUE 源文件并重试!");

    // No TRACK at all: the line after the last.
    EXPECT_FALSE(Read("FILE \"a.mp3\" MP3\n\n\n"));
    EXPECT_EQ(LastMessage(), "行 [4] 格式错误，请检查 CUE 源文件并重试!");

    EXPECT_FALSE(Read("FILE \"a.mp3\"\nTRACK 01 AUDIO\n\n  TITLE no quotes\nINDEX 01 00:00:00\n"));
    EXPECT_EQ(LastMessage(), "行 [4] 格式错误，请检查 CUE 源文件并重试!");
}

TEST_F(CueSheetTest, TimeErrorsNameTheTrack)
{
    EXPECT_FALSE(Read("FILE \"a.mp3\"\nTRACK 01\nINDEX 01 00:00:00\nTRACK 02\nTITLE \"x\"\n"
                      "TRACK 03\nINDEX 01 00:05:00\n"));
    EXPECT_EQ(LastMessage(), "读取音轨 [2] 时间位置错误，请检查 CUE 源文件并重试!");
    EXPECT_FALSE(Read("FILE \"a.mp3\"\nTRACK 01\nINDEX 00 00:00:00\nINDEX 01 00:01:00\n"
                      "INDEX 02 00:02:00\n"));
    EXPECT_EQ(LastMessage(), "读取音轨 [1] 时间位置错误，请检查 CUE 源文件并重试!");
    EXPECT_FALSE(Read("FILE \"a.mp3\"\nTRACK 01\nINDEX 01 00:00:00\nTRACK 02\n"));
    EXPECT_EQ(LastMessage(), "读取音轨 [2] 时间位置错误，请检查 CUE 源文件并重试!");
    EXPECT_EQ(cue_.GetTrackCount(), 0);
}

TEST_F(CueSheetTest, IndexTimesThatDoNotParseReadAsZero)
{
    ASSERT_TRUE(Read("FILE \"a.mp3\"\nTRACK 01\nINDEX 01 soon\nTRACK 02\nINDEX 01\t01:00:00\n"));
    EXPECT_EQ(Tracks()[0].firstIndex, "0:00.000");
    EXPECT_EQ(Tracks()[1].firstIndex, "1:00.000"); // a tab also separates the time
}

TEST_F(CueSheetTest, SheetThatCannotBeOpenedIsReported)
{
    EXPECT_FALSE(cue_.Read(dir_.File("missing.cue"), ui_));
    EXPECT_EQ(LastMessage(), "未能打开文件 " + dir_.File("missing.cue") +
                                 "，请检查它是否存在或是否正在被其他应用程序使用!");
    EXPECT_FALSE(cue_.IsCueSheet());
}

TEST_F(CueSheetTest, APipeNamedLikeASheetIsRefusedWithoutWaiting)
{
    const std::string pipe = dir_.File("pipe.cue");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return cue_.Read(pipe, ui_); });
    const bool returned = reading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // A reader stuck in the open is let go by a writer that comes and goes.
    for (int tries = 0; !returned && tries < 500; ++tries) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(returned);
    EXPECT_FALSE(reading.get());
    EXPECT_EQ(LastMessage(),
              "未能打开文件 " + pipe + "，请检查它是否存在或是否正在被其他应用程序使用!");
    // A folder is no sheet either.
    std::filesystem::create_directory(dir_.File("folder.cue"));
    EXPECT_FALSE(cue_.Read(dir_.File("folder.cue"), ui_));
    EXPECT_EQ(LastMessage(), "未能打开文件 " + dir_.File("folder.cue") +
                                 "，请检查它是否存在或是否正在被其他应用程序使用!");
}

const std::string kFileLine = "FILE \"a.mp3\" MP3\n";

// n tracks of one INDEX line each.
std::string SheetOfTracks(int n)
{
    std::string sheet = kFileLine;
    for (int i = 0; i < n; ++i)
        sheet += "TRACK 01 AUDIO\nINDEX 01 00:00:00\n";
    return sheet;
}

TEST_F(CueSheetTest, SheetsOverOneMebibyteAreRefused)
{
    std::string sheet = SheetOfTracks(2);
    sheet += std::string(kLargestCueSheet - sheet.size(), '\n');
    ASSERT_TRUE(Read(sheet)); // exactly 1 MiB
    EXPECT_EQ(cue_.GetTrackCount(), 2);
    sheet += '\n';
    EXPECT_FALSE(Read(sheet, "large.cue"));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(LastMessage(), "CUE 文件 " + path_ + " 太大: 只能处理不大于 1 MiB 的 CUE 文件!");
    EXPECT_EQ(ui_.messages.back().icon, MessageIcon::Error);
    EXPECT_FALSE(cue_.ReadBytes(sheet, "/m/large.cue", ui_));
    EXPECT_EQ(LastMessage(), "CUE 文件 /m/large.cue 太大: 只能处理不大于 1 MiB 的 CUE 文件!");
    EXPECT_EQ(cue_.GetTrackCount(), 2);
}

TEST_F(CueSheetTest, SheetsOfMoreThan9999TracksAreRefused)
{
    ASSERT_TRUE(Read(SheetOfTracks(9999)));
    EXPECT_EQ(cue_.GetTrackCount(), 9999);
    EXPECT_FALSE(Read(SheetOfTracks(10'000)));
    EXPECT_EQ(LastMessage(),
              "CUE 文件中的音轨太多: 最多只能处理 9999 个音轨，请检查 CUE 源文件并重试!");
    EXPECT_EQ(cue_.GetTrackCount(), 9999);
}

// The growth of a child process' resident memory while it does the work, in KiB.
long MemoryGrowthKiB(const std::function<void()>& work)
{
    const auto status = [](const char* field) {
        std::ifstream in("/proc/self/status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind(field, 0) == 0)
                return std::stol(line.substr(std::strlen(field)));
        }
        return -1L;
    };
    int pipe[2];
    if (::pipe(pipe) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const long before = status("VmRSS:");
        work();
        const long growth = status("VmHWM:") - before;
        ::_exit(::write(pipe[1], &growth, sizeof growth) == sizeof growth ? 0 : 1);
    }
    long growth = -1;
    if (child < 0 || ::read(pipe[0], &growth, sizeof growth) != sizeof growth)
        growth = -1;
    ::waitpid(child, nullptr, 0);
    ::close(pipe[0]);
    ::close(pipe[1]);
    return growth;
}

TEST_F(CueSheetTest, MemoryStaysBoundedWhateverTheSheet)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory hides the reader's";
#endif
    // 48 MB of 1.8 million tracks, written in pieces to keep this process small.
    const std::string huge = dir_.File("huge.cue");
    {
        std::ofstream out(huge, std::ios::binary);
        out << kFileLine;
        const std::string piece = SheetOfTracks(40'000).substr(kFileLine.size());
        while (out.tellp() < 48'000'000)
            out << piece;
    }
    std::string lines(kLargestCueSheet, '\n'); // the most lines a sheet may have
    lines.replace(0, kFileLine.size(), kFileLine);
    test::WriteFile(dir_.File("lines.cue"), test::Bytes(lines.begin(), lines.end()));
    const std::string tracks = SheetOfTracks(9999);
    test::WriteFile(dir_.File("tracks.cue"), test::Bytes(tracks.begin(), tracks.end()));
    for (const char* name : {"huge.cue", "lines.cue", "tracks.cue"}) {
        const long growth = MemoryGrowthKiB([&] {
            SilentInteraction silent;
            CProcessCUEFile cue;
            cue.Read(dir_.File(name), silent);
        });
        EXPECT_GE(growth, 0) << name;
        EXPECT_LT(growth, 64 * 1024) << name;
    }
}

TEST_F(CueSheetTest, AFailedReadKeepsTheSheetReadBefore)
{
    ASSERT_TRUE(Read(kSimple));
    const std::string good = path_;
    const auto keptWhole = [&] {
        EXPECT_TRUE(cue_.IsCueSheet());
        EXPECT_EQ(cue_.GetSheetPath(), good);
        EXPECT_EQ(cue_.GetSheetTitle(), "Album");
        EXPECT_EQ(cue_.GetSheetPerformer(), "Band");
        EXPECT_EQ(cue_.GetAudioPath(), dir_.File("disc.mp3"));
        EXPECT_EQ(cue_.GetTrackCount(), 3);
    };
    // The header is read before the track that fails.
    EXPECT_FALSE(
        Read("TITLE \"Broken\"\nPERFORMER \"Nobody\"\nFILE \"b.mp3\"\nTRACK 01\n", "broken.cue"));
    keptWhole();
    EXPECT_FALSE(cue_.Read(dir_.File("missing.cue"), ui_));
    keptWhole();
    EXPECT_FALSE(cue_.ReadBytes("TITLE \"Bytes\"\nFILE \"c.mp3\"\n", dir_.File("c.cue"), ui_));
    keptWhole();
    // A good read replaces it.
    ASSERT_TRUE(cue_.ReadBytes("FILE \"c.mp3\"\nTRACK 01\nINDEX 01 00:00:00\n", "/m/c.cue", ui_));
    EXPECT_EQ(cue_.GetSheetTitle(), "");
    EXPECT_EQ(cue_.GetTrackCount(), 1);
}

TEST_F(CueSheetTest, ByteOrderMarkIsSkipped)
{
    ASSERT_TRUE(
        Read("\xEF\xBB\xBFPERFORMER \"第一行\"\r\n" + kSimple.substr(kSimple.find("TITLE"))));
    EXPECT_EQ(cue_.GetSheetPerformer(), "第一行");
    EXPECT_EQ(cue_.GetTrackCount(), 3);
}

TEST_F(CueSheetTest, LongTitlesAreCutAtAWholeCharacter)
{
    std::string title = "a";
    for (int i = 0; i < 100; ++i)
        title += "曲"; // 3 bytes each
    std::string performer(300, 'p');
    ASSERT_TRUE(Read("FILE \"a.mp3\"\nTRACK 01\nTITLE \"" + title + "\"\nPERFORMER \"" + performer +
                     "\"\nINDEX 01 00:00:00\n"));
    EXPECT_EQ(Tracks()[0].title, title.substr(0, 1 + 84 * 3)); // 253 bytes
    EXPECT_EQ(Tracks()[0].performer, std::string(255, 'p'));
}

TEST_F(CueSheetTest, QuotesInsideATitleSurviveWritingAndReading)
{
    const std::vector<CueTrackRecord> records{{"Say \"hi\"", "A \"B\" C", "0:00.000", "1:00.000"},
                                              {"Plain", "", "1:00.000", "2:30.500"}};
    const std::string sheet = dir_.File("written.cue");
    ASSERT_TRUE(WriteCueSheet(sheet, "song.mp3", "Perf", "Title", records, ui_));
    ASSERT_TRUE(cue_.Read(sheet, ui_));
    EXPECT_EQ(Tracks(),
              (std::vector<CueTrackRecord>{{"Say \"hi\"", "A \"B\" C", "0:00.000", "0:00.000"},
                                           {"Plain", "", "1:00.000", "1:00.000"}}));
    EXPECT_EQ(cue_.GetAudioPath(), dir_.File("song.mp3"));
}

TEST(FormatCueSheet, LayoutIsExact)
{
    const std::vector<CueTrackRecord> records{{"One", "Me", "0:00.000", "3:00.000"},
                                              {"Two", "You", "1:02:05.004", "1:10:00.000"}};
    EXPECT_EQ(FormatCueSheet("/m/Disc.MP3", "Band", "Album", records),
              "PERFORMER \"Band\"\r\n"
              "TITLE \"Album\"\r\n"
              "FILE \"/m/Disc.MP3\" MP3\r\n"
              "  TRACK 01 AUDIO\r\n"
              "    TITLE \"One\"\r\n"
              "    PERFORMER \"Me\"\r\n"
              "    INDEX 01 00:00:00\r\n"
              "  TRACK 02 AUDIO\r\n"
              "    TITLE \"Two\"\r\n"
              "    PERFORMER \"You\"\r\n"
              "    INDEX 01 62:05:00\r\n");
    EXPECT_EQ(FormatCueSheet("disc.wav", "", "", {}),
              "PERFORMER \"\"\r\nTITLE \"\"\r\nFILE \"disc.wav\" WAV\r\n");
}

TEST_F(CueSheetTest, WriteRoundTripKeepsStartsTitlesAndPerformers)
{
    std::vector<CueTrackRecord> records;
    for (int i = 0; i < 120; ++i) {
        const auto start = static_cast<TimeMs>(i * 187'654);
        records.push_back({"Track " + std::to_string(i), "第" + std::to_string(i) + "位",
                           FormatTime(start, TimeStyle::Display), ""});
    }
    const std::string sheet = dir_.File("list.cue");
    ASSERT_TRUE(WriteCueSheet(sheet, "/m/x.mp3", "P", "T", records, ui_));
    ASSERT_TRUE(cue_.Read(sheet, ui_));
    ASSERT_EQ(cue_.GetTrackCount(), 120);
    const std::vector<CueTrackRecord> read = Tracks();
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(read[i].title, records[i].title);
        EXPECT_EQ(read[i].performer, records[i].performer);
        // Hundredths: only the last digit of the milliseconds is lost.
        const TimeMs written = ParseTime(records[i].firstIndex, TimeStyle::Display);
        EXPECT_EQ(ParseTime(read[i].firstIndex, TimeStyle::Display), written / 10 * 10);
    }
}

TEST_F(CueSheetTest, WriteFailureIsReportedAndLeavesNothing)
{
    const std::string sheet = dir_.File("no/folder/list.cue");
    EXPECT_FALSE(WriteCueSheet(sheet, "a.mp3", "", "", {}, ui_));
    EXPECT_EQ(LastMessage(), "未能创建文件 " + sheet +
                                 "! 请检查该文件是否正在被其他应用程序使用 "
                                 "(例如，你在资源管理器中选择该 MP3 文件，它就会被锁定)。"
                                 "\n文件夹不存在");
}

TEST_F(CueSheetTest, AnExistingSheetIsReplacedOnlyWithLeaveOrAfterYes)
{
    const std::string sheet = dir_.File("list.cue");
    test::WriteFile(sheet, {'m', 'i', 'n', 'e'});
    ui_.answers = {MessageAnswer::No};
    EXPECT_FALSE(WriteCueSheet(sheet, "a.mp3", "", "", {}, ui_));
    EXPECT_TRUE(test::ReadFile(sheet) == (test::Bytes{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(LastMessage(), sheet + " 已经存在。你想要替换它吗?");
    ui_.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(WriteCueSheet(sheet, "a.mp3", "", "", {}, ui_));
    EXPECT_GT(test::ReadFile(sheet).size(), 4u);
    test::WriteFile(sheet, {'m', 'i', 'n', 'e'});
    EXPECT_TRUE(WriteCueSheet(sheet, "a.mp3", "", "", {}, ui_, true));
    EXPECT_GT(test::ReadFile(sheet).size(), 4u);
}

} // namespace
} // namespace keldro
