// The run's cut times located on a thread of their own: the same positions as
// the table, nothing for times not asked or a source gone, and a walk left
// early ends with its owner.
#include "engine/audio_digest.h"
#include "lame_corpus.h"
#include "long_vbr_file.h"
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

void ExpectSameAudio(const WrittenAudio& walked, const WrittenAudio& copied)
{
    EXPECT_EQ(walked.crc, copied.crc);
    EXPECT_EQ(walked.end, copied.end);
    EXPECT_EQ(walked.framesEnd, copied.framesEnd);
    ASSERT_EQ(walked.positions.Count(), copied.positions.Count());
    EXPECT_EQ(walked.positions.Stride(), copied.positions.Stride());
    for (std::uint32_t frame = 0; frame < copied.positions.Count(); ++frame)
        ASSERT_EQ(walked.positions.PositionOf(frame), copied.positions.PositionOf(frame)) << frame;
}

// Pieces longer than the distance a cut is decided behind the walk, short
// ones, one from the first frame, overlapping ones and an empty one: each
// piece's audio is what a digest of a copy of its range finds. The piece
// that ends with the audio is left to the writer.
TEST(CutWalkTest, WorksOutEachPiecesAudioAsADigestOfItsBytesWould)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::WriteLongVbrFile(path);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const TimeMs duration = info.DurationMs();
    const std::vector<CutPiece> pieces{{0, 150'000},       {150'000, 151'000}, {151'000, 400'000},
                                       {200'000, 260'000}, {260'000, 260'000}, {400'000, duration}};
    std::vector<TimeMs> times;
    for (const CutPiece& piece : pieces)
        times.insert(times.end(), {piece.start, piece.end});
    std::erase(times, duration);
    CutWalk walk(info, times, pieces);
    FileReader file = FileReader::Open(path);
    const std::uint64_t headerFrame = info.FirstFrameOffset() - info.VbrFrameOffset();
    for (const CutPiece& piece : pieces) {
        const std::optional<FramePosition> from = walk.At(piece.start);
        ASSERT_TRUE(from);
        if (piece.end == duration) {
            EXPECT_FALSE(walk.AudioOf(from->offset, info.AudioEnd()));
            continue;
        }
        const std::optional<FramePosition> to = walk.At(piece.end);
        ASSERT_TRUE(to);
        const std::optional<WrittenAudio> walked = walk.AudioOf(from->offset, to->offset);
        ASSERT_TRUE(walked) << piece.start << ".." << piece.end;
        WrittenAudio copied(headerFrame);
        AudioDigest digest(file, info.HeaderWord(), from->offset, to->offset, copied);
        ASSERT_TRUE(digest.Finish());
        SCOPED_TRACE(std::to_string(piece.start) + ".." + std::to_string(piece.end));
        ExpectSameAudio(*walked, copied);
        EXPECT_FALSE(walk.AudioOf(from->offset, to->offset)) << "handed over twice";
    }
}

// A last frame cut short by the end of the file counts to where it would end
// for a copy's digest, but only to the end of the audio for the walk: a piece
// ending there is left to the writer.
TEST(CutWalkTest, APieceEndingInACutShortLastFrameIsLeftToTheWriter)
{
    test::TempDir dir;
    const std::string path = dir.File("short.mp3");
    CMP3Info whole;
    ASSERT_TRUE(whole.Analyse(test::CorpusFile("vbr_v2")));
    test::Bytes bytes = test::ReadFile(test::CorpusFile("vbr_v2"));
    bytes.resize(whole.AudioEnd() - 100);
    test::WriteFile(path, bytes);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    const TimeMs end = info.DurationMs() - 5;
    CutWalk walk(info, {1'000, end}, {{1'000, end}});
    const std::optional<FramePosition> from = walk.At(1'000);
    const std::optional<FramePosition> to = walk.At(end);
    ASSERT_TRUE(from && to);
    ASSERT_EQ(to->offset, info.AudioEnd());
    EXPECT_FALSE(walk.AudioOf(from->offset, to->offset));
}

} // namespace
} // namespace keldro
