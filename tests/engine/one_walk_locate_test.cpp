// Times located in one walk, with the checkpoints worked out on the way, must
// land exactly where LocateTime puts them with the frame table loaded: the
// one-walk split writes the same bytes as the two-pass one.
#include "base/interruption.h"
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "long_vbr_file.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace keldro {
namespace {

// The times: random ones over the whole stream and past its end, and each
// checkpoint's time with offsets on both sides of the 10 ms rule.
std::vector<TimeMs> TimesFor(const CMP3Info& withTable, std::uint32_t seed)
{
    std::mt19937 random(seed);
    const auto duration =
        static_cast<TimeMs>(withTable.FrameTable().empty() ? withTable.DurationMs()
                                                           : withTable.FrameTable().back().timeMs);
    std::uniform_int_distribution<TimeMs> anywhere(0, duration + 2'000);
    std::vector<TimeMs> times{0};
    for (int i = 0; i < 50; ++i)
        times.push_back(anywhere(random));
    for (const FramePosition& checkpoint : withTable.FrameTable()) {
        const auto at = static_cast<TimeMs>(checkpoint.timeMs);
        for (const TimeMs near : {at - 10, at - 9, at - 1, at, at + 1, at + 9, at + 10, at + 11})
            times.push_back(near);
    }
    std::shuffle(times.begin(), times.end(), random);
    return times;
}

void ExpectSameAsTheTable(const std::string& path, std::uint32_t seed)
{
    CMP3Info withTable;
    ASSERT_TRUE(withTable.Analyse(path));
    test::ScriptedInteraction ui;
    ASSERT_TRUE(withTable.LoadFrameTable(ui)); // none for constant bitrate
    CMP3Info without;
    ASSERT_TRUE(without.Analyse(path));
    const std::vector<TimeMs> times = TimesFor(withTable, seed);
    FileReader file = FileReader::Open(path);
    const std::vector<FramePosition> walked = without.LocateTimesInOneWalk(file, times);
    ASSERT_EQ(walked.size(), times.size());
    for (std::size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ(walked[i], withTable.LocateTime(times[i], nullptr))
            << path << " at " << times[i] << " ms";
}

TEST(OneWalkLocateTest, EveryLameFileOfTheCorpusAtFiftyRandomTimes)
{
    std::uint32_t seed = 1;
    for (const test::CorpusEntry& entry : test::CorpusEntries())
        ExpectSameAsTheTable(test::CorpusFile(entry.name), seed++);
}

TEST(OneWalkLocateTest, ALongVariableBitrateFileWithItsCheckpoints)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::WriteLongVbrFile(path);
    CMP3Info check;
    ASSERT_TRUE(check.Analyse(path));
    test::ScriptedInteraction ui;
    ASSERT_TRUE(check.LoadFrameTable(ui));
    ASSERT_GE(check.FrameTable().size(), 5u);
    for (std::uint32_t round = 0; round < 4; ++round)
        ExpectSameAsTheTable(path, 100 + round);
}

// Each answer is handed over once decided, in the order of the times; a
// process asked to end stops at the next checkpoint with the rest undecided.
TEST(OneWalkLocateTest, AnswersComeInTimeOrderAndAnInterruptionEndsTheWalk)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::WriteLongVbrFile(path);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    test::ScriptedInteraction ui;
    CMP3Info withTable;
    ASSERT_TRUE(withTable.Analyse(path));
    ASSERT_TRUE(withTable.LoadFrameTable(ui));
    const auto late = static_cast<TimeMs>(withTable.FrameTable()[2].timeMs) + 500;
    const std::vector<TimeMs> times{late, 0, 1'000};
    std::vector<std::size_t> handed;
    FileReader file = FileReader::Open(path);
    info.LocateTimesInOneWalk(file, times, [&](std::size_t index, const FramePosition& position) {
        EXPECT_EQ(position, withTable.LocateTime(times[index], nullptr)) << times[index];
        handed.push_back(index);
        return true;
    });
    EXPECT_EQ(handed, (std::vector<std::size_t>{1, 2, 0}));
    handed.clear();
    NoteInterruption(SIGTERM);
    info.LocateTimesInOneWalk(file, times, [&](std::size_t index, const FramePosition&) {
        handed.push_back(index);
        return true;
    });
    ClearInterruption();
    EXPECT_EQ(handed, (std::vector<std::size_t>{1}));
}

// A walk that cannot read on hands over nothing more: the times beyond the
// failure would otherwise get the last position it reached. The file's
// descriptor is pointed at a folder once the first time is decided, so the
// next window fails to read.
TEST(OneWalkLocateTest, AReadErrorLeavesTheTimesBeyondItUndecided)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::WriteLongVbrFile(path);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const std::vector<TimeMs> times{1'000, 300'000}; // 2 MB and about 8 MB in
    FileReader file = FileReader::Open(path);
    const int folder = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    std::vector<std::size_t> handed;
    info.LocateTimesInOneWalk(file, times, [&](std::size_t index, const FramePosition&) {
        handed.push_back(index);
        EXPECT_EQ(::dup2(folder, file.Descriptor()), file.Descriptor());
        return true;
    });
    ::close(folder);
    EXPECT_TRUE(file.HasFailed());
    EXPECT_EQ(handed, (std::vector<std::size_t>{0}));
}

} // namespace
} // namespace keldro
