// The playback library's buffered reader: what it hands libmpg123 at the end
// of a file and when the file cannot be read (a directory; memory that is not
// mapped, read through /proc/self/mem, which fails half way like a disk).
#include "playback/buffered_file.h"
#include "temp_dir.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace keldro::playback {
namespace {

std::vector<char> Pattern(std::size_t size)
{
    std::vector<char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

TEST(BufferedFileTest, ReadsAFileAcrossItsBufferToTheEnd)
{
    test::TempDir temp;
    const std::vector<char> bytes = Pattern(600000); // more than two buffers
    std::ofstream(temp.File("a.bin"), std::ios::binary).write(bytes.data(), bytes.size());
    BufferedFile file;
    ASSERT_TRUE(file.Open(temp.File("a.bin")));
    EXPECT_EQ(file.Size(), 600000);

    std::vector<char> read(bytes.size());
    EXPECT_EQ(file.Read(read.data(), 1000), 1000);
    EXPECT_EQ(BufferedFile::ReadCallback(&file, read.data() + 1000, 599000), 599000);
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(file.Read(read.data(), 10), 0); // the end is no error

    EXPECT_EQ(BufferedFile::SeekCallback(&file, 300000, SEEK_SET), 300000);
    char one = 0;
    EXPECT_EQ(file.ReadAt(5, &one, 1), 1);
    EXPECT_EQ(one, bytes[5]);
    EXPECT_EQ(file.Read(&one, 1), 1); // ReadAt left the position alone
    EXPECT_EQ(one, bytes[300000]);
    EXPECT_EQ(file.Seek(-1, SEEK_SET), -1);
}

TEST(BufferedFileTest, AFileThatCannotBeReadIsAReadErrorNotItsEnd)
{
    test::TempDir temp;
    BufferedFile folder;
    ASSERT_TRUE(folder.Open(temp.Path())); // opens, but every read fails
    char bytes[16];
    errno = 0;
    EXPECT_EQ(folder.Read(bytes, sizeof bytes), -1);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(BufferedFile::ReadCallback(&folder, bytes, sizeof bytes), -1);
}

// Reads that stop half way through the buffer at a failing byte: the bytes
// before it are handed out first, then the error.
TEST(BufferedFileTest, AReadThatFailsHalfWayGivesItsBytesThenTheError)
{
    const long page = ::sysconf(_SC_PAGESIZE);
    auto* mapped = static_cast<char*>(
        ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(mapped, MAP_FAILED);
    ASSERT_EQ(::munmap(mapped + page, page), 0);
    for (long i = 0; i < page; ++i)
        mapped[i] = static_cast<char>(i);

    BufferedFile memory;
    ASSERT_TRUE(memory.Open("/proc/self/mem"));
    const auto at = static_cast<off_t>(reinterpret_cast<std::uintptr_t>(mapped) + page - 100);
    ASSERT_EQ(memory.Seek(at, SEEK_SET), at);
    std::vector<char> read(1000);
    ASSERT_EQ(memory.Read(read.data(), read.size()), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(read[i], static_cast<char>(page - 100 + i));
    EXPECT_EQ(memory.Read(read.data(), read.size()), -1);
    EXPECT_EQ(errno, EIO);
    ::munmap(mapped, page);
}

} // namespace
} // namespace keldro::playback
