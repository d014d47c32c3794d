// A read error the walk gets past (a retry succeeds) must not leave a frame
// out of the pieces around it: this program's pread fails once, on the first
// window read at or beyond a chosen offset.
#include "engine/audio_digest.h"
#include "long_vbr_file.h"
#include "scripted_interaction.h"
#include "splitter/cut_walk.h"
#include "temp_dir.h"

#include <atomic>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<long long> failOnceAtOrAfter{-1};

} // namespace

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset)
{
    long long at = failOnceAtOrAfter.load();
    if (at >= 0 && offset >= at && count == 256 * 1024 &&
        failOnceAtOrAfter.compare_exchange_strong(at, -1)) {
        errno = EIO;
        return -1;
    }
    return syscall(SYS_pread64, fd, buffer, count, offset);
}

namespace keldro {
namespace {

TEST(CutWalkReadErrorTest, APieceAcrossAFailedReadIsLeftToTheWriter)
{
    test::TempDir dir;
    const std::string path = dir.File("long.mp3");
    test::WriteLongVbrFile(path);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path));
    CMP3Info table;
    ASSERT_TRUE(table.Analyse(path));
    test::ScriptedInteraction ui;
    ASSERT_TRUE(table.LoadFrameTable(ui));
    const TimeMs end = 150'000;
    const std::uint32_t from = table.LocateTime(0, nullptr).offset;
    const std::uint32_t to = table.LocateTime(end, nullptr).offset;

    failOnceAtOrAfter = 1'000'000;
    std::optional<WrittenAudio> walked;
    {
        CutWalk walk(info, {0, end}, {{0, end}});
        walk.At(end);
        walked = walk.AudioOf(from, to);
    }
    EXPECT_EQ(failOnceAtOrAfter.load(), -1) << "no read failed";
    // Handing nothing over is right; what is handed over must be exact.
    if (!walked)
        return;
    FileReader file = FileReader::Open(path);
    WrittenAudio copied(info.FirstFrameOffset() - info.VbrFrameOffset());
    AudioDigest digest(file, info.HeaderWord(), from, to, copied);
    ASSERT_TRUE(digest.Finish());
    EXPECT_EQ(walked->crc, copied.crc);
    EXPECT_EQ(walked->framesEnd, copied.framesEnd);
    EXPECT_EQ(walked->positions.Count(), copied.positions.Count());
}

} // namespace
} // namespace keldro
