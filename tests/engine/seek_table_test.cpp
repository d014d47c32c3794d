// Seek tables rebuilt from frame positions: the bounded position record, the
// Xing table of contents against lame's own, VBRI tables with known bytes.
#include "engine/header_frame_check.h"
#include "engine/lame_tag.h"
#include "engine/mp3_info.h"
#include "engine/seek_table.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Bytes;

TEST(FramePositionsTest, SmallCountsKeepEveryPosition)
{
    FramePositions positions;
    EXPECT_EQ(positions.Count(), 0u);
    EXPECT_EQ(positions.PositionOf(0), 0u);
    for (std::uint32_t i = 0; i < 1000; ++i)
        positions.Add(417 + i * 418);
    EXPECT_EQ(positions.Count(), 1000u);
    EXPECT_EQ(positions.Stride(), 1u);
    for (std::uint32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(positions.PositionOf(i), 417 + i * 418) << i;
    EXPECT_EQ(positions.PositionOf(5000), 417 + 999 * 418);
    positions.Clear();
    EXPECT_EQ(positions.Count(), 0u);
    EXPECT_EQ(positions.KeptCount(), 0u);
}

TEST(FramePositionsTest, TheStrideDoublesWhenFull)
{
    FramePositions positions;
    for (std::uint32_t i = 0; i < FramePositions::kMaxKept; ++i)
        positions.Add(i * 10);
    EXPECT_EQ(positions.Stride(), 1u);
    EXPECT_EQ(positions.KeptCount(), FramePositions::kMaxKept);
    positions.Add(FramePositions::kMaxKept * 10);
    EXPECT_EQ(positions.Stride(), 2u);
    EXPECT_EQ(positions.KeptCount(), FramePositions::kMaxKept / 2 + 1);
    EXPECT_EQ(positions.PositionOf(4), 40u);
    EXPECT_EQ(positions.PositionOf(5), 40u); // not kept: the one before
    EXPECT_EQ(positions.PositionOf(FramePositions::kMaxKept), FramePositions::kMaxKept * 10);
}

// A 2 GiB stream of 418-byte frames: kilobytes of memory, an exact count, and
// every kept position exact.
TEST(FramePositionsTest, ALongStreamStaysBounded)
{
    constexpr std::uint32_t kFrames = 5'000'000;
    FramePositions positions;
    for (std::uint32_t i = 0; i < kFrames; ++i)
        positions.Add(417 + i * 418u);
    EXPECT_EQ(positions.Count(), kFrames);
    EXPECT_LE(positions.KeptCount(), FramePositions::kMaxKept);
    EXPECT_GE(positions.KeptCount(), FramePositions::kMaxKept / 2);
    const std::uint32_t stride = positions.Stride();
    EXPECT_EQ(stride & (stride - 1), 0u);
    for (std::uint32_t kept = 0; kept < positions.KeptCount(); kept += 97) {
        const std::uint32_t frame = kept * stride;
        ASSERT_EQ(positions.PositionOf(frame), 417 + frame * 418u);
        ASSERT_EQ(positions.PositionOf(frame + stride - 1), 417 + frame * 418u);
    }
}

// 200 frames of 100 bytes behind a 100-byte header frame: entry i is
// 256 × (2i + 1) × 100 ÷ 20000, the end of frame 2i over the audio bytes;
// but lame's float product i / 100 × 200 falls just short of 2i for i = 53
// and 59, and takes the frame before.
TEST(XingTocTest, EntriesAreTheAudioBytesUpToTheFrameAtEachPercent)
{
    FramePositions positions;
    for (std::uint32_t i = 0; i < 200; ++i)
        positions.Add(100 + i * 100);
    const std::array<std::uint8_t, 100> toc = XingToc(positions, 100 + 200 * 100);
    EXPECT_EQ(toc[0], 0);
    for (std::uint32_t i = 1; i < 100; ++i) {
        const std::uint32_t frame = i == 53 || i == 59 ? 2 * i - 1 : 2 * i;
        EXPECT_EQ(toc[i], 256 * (frame + 1) / 200) << i;
    }
    EXPECT_EQ(XingToc(FramePositions{}, 1000), (std::array<std::uint8_t, 100>{}));
}

// lame's record of frame ends, written out step by step: 400 places, every
// want-th frame's end recorded, every second place dropped and want doubled
// when full; entry i reads place floor(i / 100 × places).
std::array<std::uint8_t, 100> LamesTable(const std::vector<std::uint32_t>& lengths)
{
    std::vector<std::uint64_t> bag;
    std::uint64_t sum = 0;
    std::uint32_t want = 1;
    std::uint32_t seen = 0;
    for (std::uint32_t length : lengths) {
        sum += length;
        if (++seen < want)
            continue;
        bag.push_back(sum);
        seen = 0;
        if (bag.size() == 400) {
            for (std::size_t i = 1; i < 400; i += 2)
                bag[i / 2] = bag[i];
            bag.resize(200);
            want *= 2;
        }
    }
    std::array<std::uint8_t, 100> toc{};
    for (int i = 1; i < 100; ++i) {
        const float j = static_cast<float>(i) / 100.0f;
        std::size_t index =
            static_cast<std::size_t>(std::floor(j * static_cast<float>(bag.size())));
        index = std::min(index, bag.size() - 1);
        toc[i] = static_cast<std::uint8_t>(std::min<std::uint64_t>(256 * bag[index] / sum, 255));
    }
    return toc;
}

// 300 000 frames of uneven lengths (a 2 hour file): the stride of the kept
// positions stays below lame's, so the table is still exactly lame's.
TEST(XingTocTest, ALongStreamGivesLamesTableFromKeptPositionsAlone)
{
    for (std::uint32_t frames : {399u, 400u, 401u, 1234u, 300'000u}) {
        std::vector<std::uint32_t> lengths;
        std::uint32_t seed = frames;
        for (std::uint32_t i = 0; i < frames; ++i) {
            seed = seed * 1103515245u + 12345u;
            lengths.push_back(104 + (seed >> 16) % 1337);
        }
        FramePositions positions;
        std::uint32_t position = 417;
        for (std::uint32_t length : lengths) {
            positions.Add(position);
            position += length;
        }
        EXPECT_GT(positions.Stride(), frames > 10'000 ? 1u : 0u);
        EXPECT_EQ(XingToc(positions, position), LamesTable(lengths)) << frames;
    }
}

struct LameFile
{
    CMP3Info info;
    Bytes frame;
    HeaderFrameCheck check;
};

LameFile Load(const std::string& path)
{
    LameFile file;
    EXPECT_TRUE(file.info.Analyse(path));
    FileReader reader = FileReader::Open(path);
    file.frame = ReadHeaderFrame(reader, file.info);
    file.check = CheckHeaderFrame(reader, file.info);
    return file;
}

// The largest difference between lame's table and the one rebuilt from the
// file's own frame positions.
int TocDifference(const LameFile& file)
{
    const XingLayout layout = XingLayout::Of(file.frame, file.info.HeaderFrame());
    EXPECT_NE(layout.toc, 0u);
    const std::array<std::uint8_t, 100> toc = XingToc(file.check.positions, file.check.streamBytes);
    int largest = 0;
    for (std::size_t i = 0; i < toc.size(); ++i)
        largest = std::max(largest, std::abs(file.frame[layout.toc + i] - toc[i]));
    return largest;
}

class SeekTableCorpusTest : public ::testing::TestWithParam<std::string>
{};

TEST_P(SeekTableCorpusTest, TheRebuiltTableIsLamesOwn)
{
    const LameFile file = Load(test::CorpusFile(GetParam()));
    EXPECT_EQ(file.check.positions.Count(), file.info.VbrFrames());
    EXPECT_EQ(file.check.streamBytes, file.info.AudioEnd() - file.info.VbrFrameOffset());
    EXPECT_EQ(TocDifference(file), 0);
    EXPECT_EQ(file.check.tocOk, true);
}

TEST_P(SeekTableCorpusTest, ATableOfAnotherStreamDoesNotMatch)
{
    LameFile file = Load(test::CorpusFile(GetParam()));
    const XingLayout layout = XingLayout::Of(file.frame, file.info.HeaderFrame());
    // The table of a stream whose first half is twice as dense.
    for (std::size_t i = 1; i < 100; ++i)
        file.frame[layout.toc + i] = static_cast<std::uint8_t>(i < 50 ? i * 256 / 150 : 255);
    EXPECT_EQ(SeekTableMatches(file.frame, file.info.HeaderFrame(), file.check.positions,
                               file.check.streamBytes),
              false);
    PatchSeekTable(file.frame, file.info.HeaderFrame(), file.check.positions,
                   file.check.streamBytes);
    EXPECT_EQ(SeekTableMatches(file.frame, file.info.HeaderFrame(), file.check.positions,
                               file.check.streamBytes),
              true);
    EXPECT_EQ(TocDifference(file), 0);
}

INSTANTIATE_TEST_SUITE_P(LameFiles, SeekTableCorpusTest,
                         ::testing::Values("cbr128", "cbr128_tagged", "vbr_v2", "vbr_crc", "abr96",
                                           "mpeg2_22k", "mpeg2_16k_vbr", "mpeg25_12k_vbr_tagged"));

// Past 400 frames lame records only every second, fourth… frame's end.
TEST(SeekTableLongFileTest, ALongVariableBitrateFileGivesLamesTable)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::PcmSpec pcm;
    pcm.seconds = 40.0;
    pcm.seed = 21;
    test::EncodeWithLame(path, pcm, {"-V", "3"});
    const LameFile file = Load(path);
    EXPECT_GT(file.check.positions.Count(), 1500u);
    EXPECT_EQ(TocDifference(file), 0);
    EXPECT_EQ(file.check.tocOk, true);
}

TEST(PatchSeekTableTest, AXingTagWithoutATableIsLeftAlone)
{
    const test::HeaderFields fields;
    Bytes frame = test::XingFrame(fields, 3, 417 * 4);
    const InfoHeader header = InfoHeader::Read(frame, DecodeFrameHeader(test::MakeHeader(fields)));
    FramePositions positions;
    for (std::uint32_t i = 1; i <= 3; ++i)
        positions.Add(i * 417);
    const Bytes before = frame;
    PatchSeekTable(frame, header, positions, 417 * 4);
    EXPECT_EQ(frame, before);
    EXPECT_EQ(SeekTableMatches(frame, header, positions, 417 * 4), std::nullopt);
}

TEST(PatchSeekTableTest, AXingTableIsWrittenAfterTheFieldsBeforeIt)
{
    const test::HeaderFields fields;
    Bytes frame = test::XingFrame(fields, 200, 100 + 200 * 100);
    frame[36 + 7] = 0x07; // frames, bytes and table
    const InfoHeader header = InfoHeader::Read(frame, DecodeFrameHeader(test::MakeHeader(fields)));
    FramePositions positions;
    for (std::uint32_t i = 0; i < 200; ++i)
        positions.Add(100 + i * 100);
    PatchSeekTable(frame, header, positions, 100 + 200 * 100);
    const std::array<std::uint8_t, 100> toc = XingToc(positions, 100 + 200 * 100);
    EXPECT_TRUE(std::equal(toc.begin(), toc.end(), frame.begin() + 36 + 16));
    EXPECT_EQ(frame[36 + 14], 0x4E); // the byte count before it is untouched
    EXPECT_EQ(frame[36 + 15], 0x84);
    EXPECT_EQ(frame[36 + 116], 0);
}

// A VBRI table of 4 two-byte entries in units of 2 bytes over 10 frames.
class VbriTableTest : public ::testing::Test
{
protected:
    static constexpr std::size_t kTag = 36;
    static constexpr std::uint32_t kLengths[10] = {400,  500, 300, 418, 418,
                                                   1000, 200, 240, 260, 999};

    void SetUp() override
    {
        frame_ = test::VbriFrame(fields_, 10, 0);
        frame_[kTag + 19] = 4;        // entries
        frame_[kTag + 21] = 2;        // scale
        frame_[kTag + 23] = 2;        // entry size
        frame_[kTag + 25] = 7;        // frames per entry, to be replaced
        frame_[kTag + 26 + 8] = 0xAB; // the byte after the table
        header_ = InfoHeader::Read(frame_, DecodeFrameHeader(test::MakeHeader(fields_)));
        std::uint32_t position = static_cast<std::uint32_t>(frame_.size());
        for (std::uint32_t length : kLengths) {
            positions_.Add(position);
            position += length;
        }
        byteCount_ = position;
    }

    std::uint32_t Entry(std::size_t j) const
    {
        return std::uint32_t{frame_[kTag + 26 + 2 * j]} << 8 | frame_[kTag + 27 + 2 * j];
    }

    test::HeaderFields fields_;
    Bytes frame_;
    InfoHeader header_;
    FramePositions positions_;
    std::uint32_t byteCount_ = 0;
};

TEST_F(VbriTableTest, EntriesCoverThreeFramesEachInScaleUnits)
{
    ASSERT_EQ(header_.kind, VbrHeaderType::Vbri);
    PatchSeekTable(frame_, header_, positions_, byteCount_);
    EXPECT_EQ(frame_[kTag + 25], 3); // ceil(10 / 4)
    EXPECT_EQ(Entry(0), (400u + 500 + 300) / 2);
    EXPECT_EQ(Entry(1), (418u + 418 + 1000) / 2);
    EXPECT_EQ(Entry(2), (200u + 240 + 260) / 2);
    EXPECT_EQ(Entry(3), 999u / 2);
    EXPECT_EQ(frame_[kTag + 26 + 8], 0xAB);
    EXPECT_EQ(SeekTableMatches(frame_, header_, positions_, byteCount_), true);
}

TEST_F(VbriTableTest, AnEntryOffByMoreThanOneUnitDoesNotMatch)
{
    PatchSeekTable(frame_, header_, positions_, byteCount_);
    frame_[kTag + 29] += 1;
    EXPECT_EQ(SeekTableMatches(frame_, header_, positions_, byteCount_), true);
    frame_[kTag + 29] += 1;
    EXPECT_EQ(SeekTableMatches(frame_, header_, positions_, byteCount_), false);
}

TEST_F(VbriTableTest, OneByteEntriesAreCappedAndAMissingScaleLeavesTheFrame)
{
    frame_[kTag + 21] = 4;
    frame_[kTag + 23] = 1;
    PatchSeekTable(frame_, header_, positions_, byteCount_);
    EXPECT_EQ(frame_[kTag + 26], 255); // 300 units do not fit a byte
    EXPECT_EQ(frame_[kTag + 27], 255);
    EXPECT_EQ(frame_[kTag + 28], 700 / 4);
    EXPECT_EQ(frame_[kTag + 29], 999 / 4);
    frame_[kTag + 21] = 0;
    const Bytes before = frame_;
    PatchSeekTable(frame_, header_, positions_, byteCount_);
    EXPECT_EQ(frame_, before);
    EXPECT_EQ(SeekTableMatches(frame_, header_, positions_, byteCount_), std::nullopt);
}

TEST_F(VbriTableTest, ATableRunningPastTheFrameIsLeftAlone)
{
    frame_[kTag + 18] = 1; // 260 entries of 2 bytes: past a 417-byte frame
    const Bytes before = frame_;
    PatchSeekTable(frame_, header_, positions_, byteCount_);
    EXPECT_EQ(frame_, before);
}

} // namespace
} // namespace keldro
