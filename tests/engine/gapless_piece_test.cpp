// Pieces that play gapless: cut from lame files, decoded by mpg123 with its
// gapless trimming and joined, they give the source's own gapless decode. A
// plain cut loses at most the decoder's 529 samples at each inner cut; a
// seamless one loses nothing.
#include "bitwise_crc.h"
#include "decoded_pcm.h"
#include "engine/header_frame_check.h"
#include "engine/header_frame_copy.h"
#include "engine/lame_tag.h"
#include "engine/segment_writer.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"
#include "tools.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

struct GaplessSource
{
    const char* name;
    test::PcmSpec pcm;
    std::vector<std::string> lameArgs;
    // mpg123 rounds a seamless piece's samples differently by this much at
    // most: MPEG 2 decodes a frame's first granule from the frame before it.
    int rounding = 0;
};

// Variable and constant bitrate, joint and plain stereo, 44.1 and 48 kHz.
const GaplessSource kSources[] = {
    {"vbr44_joint", {44100, 2, 6.0, 330.0, 0.3, 21}, {"-V", "2"}},
    {"cbr44_joint", {44100, 2, 6.0, 523.0, 0.2, 22}, {"-b", "128"}},
    {"vbr48_joint", {48000, 2, 6.0, 392.0, 0.3, 23}, {"-V", "4"}},
    {"cbr48_stereo", {48000, 2, 6.0, 440.0, 0.25, 24}, {"-b", "192", "-m", "s"}},
    {"mpeg2_22_joint", {22050, 2, 6.0, 294.0, 0.3, 25}, {"-b", "64"}, 1},
};

void PrintTo(const GaplessSource& source, std::ostream* out)
{
    *out << source.name;
}

class GaplessPieceTest : public ::testing::TestWithParam<GaplessSource>
{
protected:
    void SetUp() override
    {
        path_ = dir_.File(std::string(GetParam().name) + ".mp3");
        test::EncodeWithLame(path_, GetParam().pcm, GetParam().lameArgs);
        ASSERT_TRUE(info_.Analyse(path_));
        ASSERT_TRUE(info_.LoadFrameTable(ui_));
        source_ = test::Mpg123Pcm(path_, dir_.Path(), true);
        ASSERT_TRUE(source_.ok);
    }

    std::string PiecePath(bool seamless, std::size_t i) const
    {
        return dir_.File((seamless ? "seamless" : "plain") + std::to_string(i) + ".mp3");
    }

    // Ten equal cuts; the pieces' gapless decodes, joined.
    test::DecodedPcm JoinedPieces(bool seamless, std::vector<SegmentResult>& results)
    {
        const TimeMs total = info_.DurationMs();
        SegmentOptions options;
        options.seamless = seamless;
        test::DecodedPcm joined;
        for (std::size_t i = 0; i < 11; ++i) {
            const std::string out = PiecePath(seamless, i);
            results.push_back(WriteSegmentByTime(info_, out, static_cast<TimeMs>(total * i / 11),
                                                 static_cast<TimeMs>(total * (i + 1) / 11), 0,
                                                 !info_.HasVbrHeader(), options));
            EXPECT_TRUE(results.back().ok) << i;
            const test::DecodedPcm piece = test::Mpg123Pcm(out, dir_.Path(), true);
            EXPECT_TRUE(piece.ok) << i;
            joined.ok = true;
            joined.channels = piece.channels;
            joined.samples.insert(joined.samples.end(), piece.samples.begin(), piece.samples.end());
        }
        return joined;
    }

    std::string path_;
    CMP3Info info_;
    test::ScriptedInteraction ui_;
    test::TempDir dir_;
    test::DecodedPcm source_;
};

TEST_P(GaplessPieceTest, PlainPiecesLoseAtMostTheDecoderDelayPerCut)
{
    std::vector<SegmentResult> results;
    const test::DecodedPcm joined = JoinedPieces(false, results);
    // Each piece after the first starts with the decoder's delay, unfilled.
    EXPECT_EQ(source_.Frames() - joined.Frames(), 10 * static_cast<long>(kDecoderDelaySamples));
    // The first piece is the source's own beginning, sample for sample.
    const long firstPiece = test::Mpg123Pcm(PiecePath(false, 0), dir_.Path(), true).Frames();
    EXPECT_GT(test::FirstDifference(source_, joined), firstPiece - 1);
}

TEST_P(GaplessPieceTest, SeamlessPiecesGiveTheSourcesSamplesExactly)
{
    std::vector<SegmentResult> results;
    const test::DecodedPcm joined = JoinedPieces(true, results);
    EXPECT_EQ(joined.Frames(), source_.Frames());
    if (GetParam().rounding == 0) {
        EXPECT_EQ(test::FirstDifference(source_, joined), -1);
    }
    EXPECT_LE(test::LargestDifference(source_, joined), GetParam().rounding);
    std::string carried;
    for (const SegmentResult& result : results) {
        carried += std::to_string(result.carriedFrames) + " ";
        EXPECT_TRUE(result.carriedComplete);
    }
    RecordProperty("carried_frames", carried);
    EXPECT_EQ(results.front().carriedFrames, 0);
}

// Each piece's header frame describes the piece: delay and padding where the
// source's ends are, the music's length and CRC, the tag CRC, and a seek table
// whose middle entry leads to the frame where half the piece has played.
TEST_P(GaplessPieceTest, EachPiecesHeaderFrameDescribesThePiece)
{
    FileReader sourceFile = FileReader::Open(path_);
    const LameTag sourceTag = CheckHeaderFrame(sourceFile, info_).lame;
    ASSERT_TRUE(sourceTag.present);
    for (const bool seamless : {false, true}) {
        std::vector<SegmentResult> results;
        JoinedPieces(seamless, results);
        for (std::size_t i = 0; i < results.size(); ++i) {
            const std::string piece = PiecePath(seamless, i);
            CMP3Info info;
            ASSERT_TRUE(info.Analyse(piece));
            FileReader file = FileReader::Open(piece);
            const HeaderFrameCheck check = CheckHeaderFrame(file, info);
            const LameTag& tag = check.lame;
            ASSERT_TRUE(tag.present) << i;
            const auto spf = static_cast<std::uint32_t>(SamplesPerFrame(info.Header()));
            const std::uint32_t carried =
                static_cast<std::uint32_t>(results[i].carriedFrames) * spf;
            EXPECT_EQ(tag.delay,
                      i == 0 ? sourceTag.delay : carried - kDecoderDelaySamples * (carried > 0))
                << i;
            EXPECT_EQ(tag.padding, i + 1 == results.size() ? sourceTag.padding : 0u) << i;
            const std::vector<std::uint8_t> bytes = test::ReadFile(piece);
            EXPECT_EQ(tag.musicLength, info.AudioEnd() - info.VbrFrameOffset());
            EXPECT_EQ(tag.musicCrc, test::BitwiseCrc16(bytes.data() + info.FirstFrameOffset(),
                                                       info.AudioEnd() - info.FirstFrameOffset()));
            EXPECT_EQ(tag.tagCrc,
                      test::BitwiseCrc16(bytes.data() + info.VbrFrameOffset(), tag.TagCrcOffset()));
            EXPECT_EQ(check.tocOk, std::optional<bool>(true)) << i;
            // The middle entry, in bytes, falls in the frame half the frames in, or next to it.
            const std::vector<std::uint8_t> frame = ReadHeaderFrame(file, info);
            const XingLayout layout = XingLayout::Of(frame, info.HeaderFrame());
            ASSERT_NE(layout.toc, 0u);
            const std::uint32_t at =
                frame[layout.toc + 50] * (info.AudioEnd() - info.VbrFrameOffset()) / 256;
            const std::uint32_t half = check.positions.Count() / 2;
            EXPECT_GE(at + 1, check.positions.PositionOf(half - 1)) << i;
            EXPECT_LT(at, check.positions.PositionOf(half + 2)) << i;
        }
    }
}

// Bytes after the last frame (here an APE tag) are copied into the last piece
// but are no audio: its header frame counts, seeks and checks the frames only,
// and it keeps the source's padding.
TEST_P(GaplessPieceTest, TrailingBytesAreNoAudioOfTheLastPiece)
{
    test::Bytes bytes = test::ReadFile(path_);
    const std::size_t audioEnd = bytes.size();
    const test::Bytes ape = test::Garbage(30'000, 9);
    bytes.insert(bytes.end(), {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'});
    bytes.insert(bytes.end(), ape.begin(), ape.end());
    const std::string tagged = dir_.File("tagged.mp3");
    test::WriteFile(tagged, bytes);
    CMP3Info source;
    ASSERT_TRUE(source.Analyse(tagged));
    ASSERT_TRUE(source.LoadFrameTable(ui_));
    const std::string last = dir_.File("last.mp3");
    const TimeMs total = source.DurationMs();
    ASSERT_TRUE(
        WriteSegmentByTime(source, last, total / 2, total, 0, !source.HasVbrHeader(), {}).ok);
    FileReader sourceFile = FileReader::Open(path_);
    const LameTag sourceTag = CheckHeaderFrame(sourceFile, info_).lame;
    CMP3Info piece;
    ASSERT_TRUE(piece.Analyse(last));
    FileReader file = FileReader::Open(last);
    const HeaderFrameCheck check = CheckHeaderFrame(file, piece);
    EXPECT_EQ(check.tocOk, std::optional<bool>(true));
    EXPECT_EQ(check.lame.padding, sourceTag.padding);
    EXPECT_EQ(check.lame.musicLength, check.streamBytes);
    const test::Bytes written = test::ReadFile(last);
    const std::size_t frames = piece.VbrFrameOffset() + check.streamBytes;
    EXPECT_EQ(check.lame.musicCrc, test::BitwiseCrc16(written.data() + piece.FirstFrameOffset(),
                                                      frames - piece.FirstFrameOffset()));
    EXPECT_LT(frames + 30'000, written.size()); // the tag was copied
    EXPECT_LT(audioEnd, bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Lame, GaplessPieceTest, ::testing::ValuesIn(kSources),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace keldro
