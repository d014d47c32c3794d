// The digest that runs beside a copy: it must find what a walk over the same
// bytes in the copy would, and never outlive the copy.
#include "engine/audio_digest.h"
#include "engine/crc16.h"
#include "mp3_builder.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace keldro {
namespace {

class AudioDigestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bytes_ = test::Garbage(100, 5); // junk in front of the frames
        const test::Bytes frames = test::Frames(test::HeaderFields{}, 3000);
        bytes_.insert(bytes_.end(), frames.begin(), frames.end());
        test::WriteFile(path_, bytes_);
        word_ = std::uint32_t{bytes_[100]} << 24 | std::uint32_t{bytes_[101]} << 16 |
                std::uint32_t{bytes_[102]} << 8 | bytes_[103];
    }

    test::TempDir dir_;
    std::string path_ = dir_.File("frames.mp3");
    test::Bytes bytes_;
    std::uint32_t word_ = 0;
};

TEST_F(AudioDigestTest, FindsTheFramesAndTheCrcOfTheRange)
{
    WrittenAudio written(417); // as behind a header frame of 417 bytes
    const FileReader file = FileReader::Open(path_);
    AudioDigest digest(file, word_, 100, bytes_.size(), written);
    ASSERT_TRUE(digest.Finish());
    EXPECT_EQ(written.positions.Count(), 3000u);
    EXPECT_EQ(written.end, 417 + bytes_.size() - 100);
    EXPECT_EQ(written.crc, Crc16({bytes_.data() + 100, bytes_.size() - 100}));
    const std::uint32_t length = static_cast<std::uint32_t>((bytes_.size() - 100) / 3000);
    EXPECT_EQ(written.positions.PositionOf(0), 417u);
    EXPECT_EQ(written.positions.PositionOf(2), 417u + 2 * length);
}

TEST_F(AudioDigestTest, ARangeBeyondTheFileFailsAndAnAbandonedOneStops)
{
    const FileReader file = FileReader::Open(path_);
    WrittenAudio beyond;
    AudioDigest tooLong(file, word_, 100, bytes_.size() + 5000, beyond);
    EXPECT_FALSE(tooLong.Finish());
    WrittenAudio missing;
    AudioDigest noFile(FileReader::Open(dir_.File("gone.mp3")), word_, 0, 1000, missing);
    EXPECT_FALSE(noFile.Finish());
    // Destroyed while it reads: it stops at its next chunk rather than read on.
    // 64 MB without a frame take a byte-by-byte search, far longer than this.
    const std::string zeros = dir_.File("zeros.mp3");
    test::WriteFile(zeros, {});
    std::filesystem::resize_file(zeros, 64 << 20);
    const FileReader empty = FileReader::Open(zeros);
    WrittenAudio abandoned;
    {
        AudioDigest digest(empty, word_, 0, 64 << 20, abandoned);
    }
    EXPECT_LT(abandoned.end, std::uint64_t{64 << 20});
}

// Bytes that are no file of their own (a reader over memory) are digested too.
TEST_F(AudioDigestTest, ReadsThroughTheCallersKindOfReader)
{
    const FileReader memory = FileReader::FromMemory(bytes_);
    WrittenAudio written;
    AudioDigest digest(memory, word_, 100, bytes_.size(), written);
    ASSERT_TRUE(digest.Finish());
    EXPECT_EQ(written.positions.Count(), 3000u);
    EXPECT_EQ(written.crc, Crc16({bytes_.data() + 100, bytes_.size() - 100}));
}

} // namespace
} // namespace keldro
