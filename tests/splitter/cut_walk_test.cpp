// The run's cut times located on a thread of their own: the same positions as
// the table, nothing for times not asked or a source gone, and a walk left
// early ends with its owner.
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "splitter/cut_walk.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

TEST(CutWalkTest, GivesWhatTheTableGivesForEveryTimeAsked)
{
    const std::string path = test::CorpusFile("vbr_v2");
    CMP3Info withTable;
    ASSERT_TRUE(withTable.Analyse(path));
    test::ScriptedInteraction ui;
    ASSERT_TRUE(withTable.LoadFrameTable(ui));
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const std::vector<TimeMs> times{4'000, 0, 1'003, 2'500, info.DurationMs() - 1};
    CutWalk walk(info, times);
    for (const TimeMs time : times) {
        const std::optional<FramePosition> position = walk.At(time);
        ASSERT_TRUE(position) << time;
        EXPECT_EQ(*position, withTable.LocateTime(time, nullptr)) << time;
    }
    EXPECT_FALSE(walk.At(1'234));
}

TEST(CutWalkTest, ASourceThatCannotBeOpenedGivesNothing)
{
    test::TempDir dir;
    const std::string path = dir.File("gone.mp3");
    std::filesystem::copy_file(test::CorpusFile("vbr_v2"), path);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    std::filesystem::remove(path);
    CutWalk walk(info, {1'000});
    EXPECT_FALSE(walk.At(1'000));
}

TEST(CutWalkTest, AWalkNobodyWaitsForEndsWithItsOwner)
{
    const std::string path = test::CorpusFile("vbr_v2");
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    {
        CutWalk walk(info, {100, 200, 300});
    }
    CutWalk walk(info, {100, 200, 300});
    EXPECT_TRUE(walk.At(100));
}

} // namespace
} // namespace keldro
