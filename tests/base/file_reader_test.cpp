// The buffered reader every analysis and copy goes through: reads served from
// its window and straight from the file, words at the window's edges and at the
// end, what it refuses to open, files that change under it, and read errors
// (memory that is not mapped, read through /proc/self/mem, fails like a disk).
#include "base/file_reader.h"
#include "mp3_builder.h"
#include "temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace keldro {
namespace {

using test::Bytes;

// The reader's window; reads of this size or more bypass it.
constexpr std::size_t kWindow = 256 * 1024;

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

std::uint32_t WordOf(const Bytes& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

class FileReaderTest : public ::testing::Test
{
protected:
    // A file of pattern bytes, more than two windows long.
    FileReader OpenPattern(std::size_t size = 600'000)
    {
        bytes_ = Pattern(size);
        test::WriteFile(path_, bytes_);
        return FileReader::Open(path_);
    }

    test::TempDir dir_;
    std::string path_ = dir_.File("pattern.bin");
    Bytes bytes_;
};

TEST_F(FileReaderTest, ReadsThroughTheWindowAndStraightFromTheFile)
{
    FileReader reader = OpenPattern();
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_GE(reader.Descriptor(), 0);
    EXPECT_EQ(reader.Size(), bytes_.size());

    // Sequential reads of odd sizes cross both window boundaries.
    Bytes read(bytes_.size());
    std::size_t done = 0;
    for (const std::size_t chunk : {1000u, 70'001u, 3u, 300'000u, 100'000u, 200'000u}) {
        const std::size_t got = reader.Read(read.data() + done, chunk);
        EXPECT_EQ(got, std::min(chunk, bytes_.size() - done));
        done += got;
        EXPECT_EQ(reader.Tell(), done);
    }
    EXPECT_EQ(done, bytes_.size());
    EXPECT_EQ(read, bytes_);
    EXPECT_EQ(reader.Read(read.data(), 10), 0u); // the end is no error
    EXPECT_FALSE(reader.HasFailed());

    // A read of a window or more goes to the file; the window stays right.
    Bytes direct(kWindow + 5);
    EXPECT_EQ(reader.ReadAt(1, direct.data(), direct.size()), direct.size());
    EXPECT_EQ(direct, Slice(bytes_, 1, direct.size()));
    Bytes small(16);
    EXPECT_EQ(reader.ReadAt(kWindow - 8, small.data(), small.size()), 16u);
    EXPECT_EQ(small, Slice(bytes_, kWindow - 8, 16));
    // Near the end a read is cut to what is left, whichever way it goes.
    EXPECT_EQ(reader.ReadAt(bytes_.size() - 10, direct.data(), direct.size()), 10u);
    EXPECT_EQ(Slice(direct, 0, 10), Slice(bytes_, bytes_.size() - 10, 10));
    EXPECT_EQ(reader.ReadAt(bytes_.size(), small.data(), small.size()), 0u);
    EXPECT_EQ(reader.ReadAt(0, small.data(), 0), 0u);
    EXPECT_FALSE(reader.HasFailed());
}

TEST_F(FileReaderTest, WordsAtTheWindowEdgesAndAtTheEnd)
{
    FileReader reader = OpenPattern();
    std::uint32_t word = 0;
    ASSERT_TRUE(reader.ReadWordAt(0, word)); // the window now starts at 0
    EXPECT_EQ(word, WordOf(bytes_, 0));
    // The last word inside the window, then words that straddle its end.
    for (const std::size_t at : {kWindow - 4, kWindow - 3, kWindow - 1, kWindow, kWindow - 4}) {
        ASSERT_TRUE(reader.ReadWordAt(at, word)) << at;
        EXPECT_EQ(word, WordOf(bytes_, at)) << at;
    }
    // Backwards from a window that starts later.
    ASSERT_TRUE(reader.ReadWordAt(2, word));
    EXPECT_EQ(word, WordOf(bytes_, 2));

    const std::size_t size = bytes_.size();
    ASSERT_TRUE(reader.ReadWordAt(size - 4, word));
    EXPECT_EQ(word, WordOf(bytes_, size - 4));
    word = 0x12345678;
    EXPECT_FALSE(reader.ReadWordAt(size - 3, word));
    EXPECT_FALSE(reader.ReadWordAt(size, word));
    EXPECT_FALSE(reader.ReadWordAt(size + 1000, word));
    EXPECT_EQ(word, 0x12345678u); // left alone when there is no word
    EXPECT_FALSE(reader.HasFailed());
}

// A view is the window's own bytes: cut at the window's end, the window moved
// for an offset outside it, empty at the end of the file.
TEST_F(FileReaderTest, ViewsOfTheWindowInPlace)
{
    FileReader reader = OpenPattern();
    std::uint32_t word = 0;
    ASSERT_TRUE(reader.ReadWordAt(0, word)); // the window now starts at 0
    std::span<const std::uint8_t> view = reader.View(100, 1000);
    ASSERT_EQ(view.size(), 1000u);
    EXPECT_EQ(Bytes(view.begin(), view.end()), Slice(bytes_, 100, 1000));
    EXPECT_EQ(reader.View(kWindow - 10, 1000).size(), 10u);
    view = reader.View(kWindow, 2 * kWindow);
    ASSERT_EQ(view.size(), kWindow);
    EXPECT_EQ(Bytes(view.begin(), view.end()), Slice(bytes_, kWindow, kWindow));
    // The moved window serves words without another read.
    ASSERT_TRUE(reader.ReadWordAt(kWindow + 8, word));
    EXPECT_EQ(word, WordOf(bytes_, kWindow + 8));
    view = reader.View(bytes_.size() - 5, 100);
    EXPECT_EQ(Bytes(view.begin(), view.end()), Slice(bytes_, bytes_.size() - 5, 5));
    EXPECT_TRUE(reader.View(bytes_.size(), 100).empty());
    EXPECT_TRUE(reader.View(0, 0).empty());

    FileReader memory = FileReader::FromMemory(bytes_);
    view = memory.View(kWindow - 10, 300'000); // no window in memory
    EXPECT_EQ(Bytes(view.begin(), view.end()), Slice(bytes_, kWindow - 10, 300'000));
    EXPECT_FALSE(reader.HasFailed());
}

TEST_F(FileReaderTest, OnlyRegularFilesAreOpened)
{
    EXPECT_FALSE(FileReader::Open(dir_.Path()).IsOpen());
    EXPECT_FALSE(FileReader::Open(dir_.File("missing.mp3")).IsOpen());
    EXPECT_FALSE(FileReader::Open("/dev/null").IsOpen());
    OpenPattern(10);
    std::filesystem::create_symlink(path_, dir_.File("link.mp3"));
    EXPECT_TRUE(FileReader::Open(dir_.File("link.mp3")).IsOpen());
    const FileReader closed;
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_EQ(closed.Descriptor(), -1);
}

// A pipe with a media file's name and no writer must not hang the caller: the
// open is tried in a child that an alarm ends if it blocks.
TEST_F(FileReaderTest, AFifoIsNotOpenedAndDoesNotBlock)
{
    const std::string fifo = dir_.File("pipe.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(5);
        ::_exit(FileReader::Open(fifo).IsOpen() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "blocked, ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a FIFO was opened";
}

TEST_F(FileReaderTest, AFileThatShrankReadsShortWithoutFailing)
{
    FileReader reader = OpenPattern();
    ASSERT_TRUE(reader.IsOpen());
    std::filesystem::resize_file(path_, 400'000);
    EXPECT_EQ(reader.Size(), 600'000u); // as it was when opened

    Bytes read(kWindow + 100'000);
    // Straight from the file, then through the window.
    EXPECT_EQ(reader.ReadAt(100'000, read.data(), read.size()), 300'000u);
    EXPECT_EQ(Slice(read, 0, 300'000), Slice(bytes_, 100'000, 300'000));
    EXPECT_EQ(reader.ReadAt(390'000, read.data(), 20'000), 10'000u);
    EXPECT_EQ(Slice(read, 0, 10'000), Slice(bytes_, 390'000, 10'000));
    EXPECT_EQ(reader.ReadAt(450'000, read.data(), 100), 0u);
    std::uint32_t word = 0;
    EXPECT_TRUE(reader.ReadWordAt(399'996, word));
    EXPECT_EQ(word, WordOf(bytes_, 399'996));
    EXPECT_FALSE(reader.ReadWordAt(399'998, word));
    EXPECT_FALSE(reader.HasFailed());
    EXPECT_EQ(reader.Error(), 0);
}

// Open refuses a directory and sees /proc/self/mem as an empty file, so the
// descriptor of an opened file is pointed at this process's memory afterwards:
// there a page that is not mapped fails a read with EIO, as a bad disk block
// does. The file is sparse and large enough to reach the page's address.
class FailingReadTest : public FileReaderTest
{
protected:
    void SetUp() override
    {
        page_ = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        for (std::uintptr_t at = 0x40000000; at < 0x70000000 && mapped_ == nullptr;
             at += 0x8000000) {
            void* got = ::mmap(reinterpret_cast<void*>(at), 2 * page_, PROT_READ | PROT_WRITE,
                               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
            if (got == reinterpret_cast<void*>(at))
                mapped_ = static_cast<std::uint8_t*>(got);
            else if (got != MAP_FAILED)
                ::munmap(got, 2 * page_);
        }
        ASSERT_NE(mapped_, nullptr) << "no free low address to map";
        ASSERT_EQ(::munmap(mapped_ + page_, page_), 0);
        for (std::size_t i = 0; i < page_; ++i)
            mapped_[i] = static_cast<std::uint8_t>(i * 3);
        test::WriteFile(path_, {});
        std::filesystem::resize_file(path_, 0x80000000);
        reader_ = FileReader::Open(path_);
        ASSERT_TRUE(reader_.IsOpen());
        const int memory = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
        ASSERT_GE(memory, 0);
        ASSERT_EQ(::dup2(memory, reader_.Descriptor()), reader_.Descriptor());
        ::close(memory);
    }
    void TearDown() override
    {
        if (mapped_ != nullptr)
            ::munmap(mapped_, page_);
    }

    std::uint64_t Address(std::size_t offset) const
    {
        return reinterpret_cast<std::uintptr_t>(mapped_) + offset;
    }

    std::size_t page_ = 0;
    std::uint8_t* mapped_ = nullptr;
    FileReader reader_;
};

TEST_F(FailingReadTest, ThroughTheWindowTheBytesBeforeTheErrorComeFirst)
{
    EXPECT_FALSE(reader_.HasFailed());
    std::uint8_t read[1000] = {};
    EXPECT_EQ(reader_.ReadAt(Address(page_ - 100), read, sizeof read), 100u);
    for (std::size_t i = 0; i < 100; ++i)
        EXPECT_EQ(read[i], static_cast<std::uint8_t>((page_ - 100 + i) * 3)) << i;
    EXPECT_TRUE(reader_.HasFailed());
    EXPECT_EQ(reader_.Error(), EIO);
    std::uint32_t word = 0;
    EXPECT_FALSE(reader_.ReadWordAt(Address(page_), word));
    EXPECT_EQ(reader_.Error(), EIO);
}

TEST_F(FailingReadTest, StraightFromTheFileTheErrorStopsTheRead)
{
    Bytes read(kWindow);
    EXPECT_EQ(reader_.ReadAt(Address(page_ - 8), read.data(), read.size()), 8u);
    EXPECT_EQ(read[0], static_cast<std::uint8_t>((page_ - 8) * 3));
    EXPECT_TRUE(reader_.HasFailed());
    EXPECT_EQ(reader_.Error(), EIO);
    // Readable bytes still read; the failure stays on record.
    reader_.Seek(Address(0));
    EXPECT_EQ(reader_.Read(read.data(), 4), 4u);
    EXPECT_EQ(read[3], 9);
    EXPECT_TRUE(reader_.HasFailed());
}

TEST(FileReaderMemoryTest, ReadsBytesInMemoryLikeAFile)
{
    const Bytes bytes = Pattern(1000);
    FileReader reader = FileReader::FromMemory(bytes);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.Descriptor(), -1);
    EXPECT_EQ(reader.Size(), 1000u);
    Bytes read(600);
    reader.Seek(500);
    EXPECT_EQ(reader.Read(read.data(), read.size()), 500u);
    EXPECT_EQ(Slice(read, 0, 500), Slice(bytes, 500, 500));
    EXPECT_EQ(reader.Tell(), 1000u);
    std::uint32_t word = 0;
    ASSERT_TRUE(reader.ReadWordAt(996, word));
    EXPECT_EQ(word, WordOf(bytes, 996));
    EXPECT_FALSE(reader.ReadWordAt(997, word));
    EXPECT_EQ(reader.ReadAt(1000, read.data(), 1), 0u);
    EXPECT_FALSE(reader.HasFailed());

    // No bytes at all is still an open, empty source.
    FileReader empty = FileReader::FromMemory({});
    EXPECT_TRUE(empty.IsOpen());
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(empty.ReadAt(0, read.data(), 1), 0u);
}

TEST_F(FileReaderTest, AMovedReaderTakesTheFileWithIt)
{
    FileReader first = OpenPattern(100);
    std::uint32_t word = 0;
    ASSERT_TRUE(first.ReadWordAt(0, word));
    FileReader second(std::move(first));
    EXPECT_FALSE(first.IsOpen()); // NOLINT(bugprone-use-after-move): it is what is checked
    ASSERT_TRUE(second.ReadWordAt(50, word));
    EXPECT_EQ(word, WordOf(bytes_, 50));
    FileReader third;
    third = std::move(second);
    EXPECT_FALSE(second.IsOpen()); // NOLINT(bugprone-use-after-move)
    ASSERT_TRUE(third.ReadWordAt(96, word));
    EXPECT_EQ(word, WordOf(bytes_, 96));
}

} // namespace
} // namespace keldro
