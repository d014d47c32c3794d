#include "base/file_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace keldro {

FileReader::~FileReader()
{
    Close();
}

FileReader::FileReader(FileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), memory_(std::exchange(other.memory_, nullptr)),
      size_(other.size_), position_(other.position_), window_(std::move(other.window_)),
      windowStart_(other.windowStart_), windowLength_(std::exchange(other.windowLength_, 0)),
      failed_(other.failed_), error_(other.error_)
{}

FileReader& FileReader::operator=(FileReader&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        memory_ = std::exchange(other.memory_, nullptr);
        size_ = other.size_;
        position_ = other.position_;
        window_ = std::move(other.window_);
        windowStart_ = other.windowStart_;
        windowLength_ = std::exchange(other.windowLength_, 0);
        failed_ = other.failed_;
        error_ = other.error_;
    }
    return *this;
}

void FileReader::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

FileReader FileReader::Open(const std::string& path)
{
    FileReader reader;
    // O_NONBLOCK keeps a FIFO with a media file's name from hanging the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return reader;
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return reader;
    }
    reader.fd_ = fd;
    reader.size_ = static_cast<std::uint64_t>(info.st_size);
    return reader;
}

FileReader FileReader::FromMemory(std::span<const std::uint8_t> bytes)
{
    static const std::uint8_t kEmpty = 0;
    FileReader reader;
    reader.memory_ = bytes.empty() ? &kEmpty : bytes.data();
    reader.size_ = bytes.size();
    return reader;
}

FileReader FileReader::Twin() const
{
    FileReader twin;
    twin.memory_ = memory_;
    twin.size_ = size_;
    if (fd_ >= 0) {
        twin.fd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        if (twin.fd_ < 0)
            twin.memory_ = nullptr; // not open
    }
    return twin;
}

std::size_t FileReader::Read(void* destination, std::size_t count)
{
    const std::size_t got = ReadAt(position_, destination, count);
    position_ += got;
    return got;
}

std::size_t FileReader::ReadAt(std::uint64_t offset, void* destination, std::size_t count)
{
    if (offset >= size_ || count == 0)
        return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    if (memory_ != nullptr) {
        std::memcpy(destination, memory_ + offset, count);
        return count;
    }
    if (count >= kWindowSize)
        return ReadDirect(offset, destination, count);
    const bool inWindow = offset >= windowStart_ && offset + count <= windowStart_ + windowLength_;
    if (!inWindow && !FillWindow(offset))
        return 0;
    const auto skip = static_cast<std::size_t>(offset - windowStart_);
    const std::size_t got = std::min(count, windowLength_ - skip);
    std::memcpy(destination, window_.data() + skip, got);
    return got;
}

std::span<const std::uint8_t> FileReader::View(std::uint64_t offset, std::size_t count)
{
    if (offset >= size_ || count == 0)
        return {};
    if (memory_ != nullptr)
        return {memory_ + offset,
                static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset))};
    const bool inWindow = offset >= windowStart_ && offset < windowStart_ + windowLength_;
    if (!inWindow && !FillWindow(offset))
        return {};
    const auto skip = static_cast<std::size_t>(offset - windowStart_);
    return {window_.data() + skip, std::min(count, windowLength_ - skip)};
}

bool FileReader::ReadWordSlowly(std::uint64_t offset, std::uint32_t& word)
{
    std::uint8_t bytes[4];
    if (ReadAt(offset, bytes, 4) != 4)
        return false;
    word = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
    return true;
}

std::size_t FileReader::ReadDirect(std::uint64_t offset, void* destination, std::size_t count)
{
    auto* out = static_cast<std::uint8_t*>(destination);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            if (!failed_)
                error_ = errno;
            failed_ = true;
            break;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool FileReader::FillWindow(std::uint64_t offset)
{
    if (window_.size() != kWindowSize)
        window_.resize(kWindowSize);
    windowStart_ = offset;
    windowLength_ = ReadDirect(offset, window_.data(), kWindowSize);
    return windowLength_ > 0;
}

} // namespace keldro
