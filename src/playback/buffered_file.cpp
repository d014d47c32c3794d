#include "playback/buffered_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio> // SEEK_SET, SEEK_CUR
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace keldro::playback {
namespace {

constexpr size_t kBufferSize = 256 * 1024;

} // namespace

BufferedFile::~BufferedFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool BufferedFile::Open(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st
    {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return false;
    size_ = st.st_size;
    buffer_.resize(kBufferSize);
    return true;
}

ssize_t BufferedFile::Refill()
{
    bufferStart_ += static_cast<off_t>(filled_);
    filled_ = 0;
    at_ = 0;
    const ssize_t got = ReadAt(bufferStart_, buffer_.data(), buffer_.size());
    if (got > 0)
        filled_ = static_cast<size_t>(got);
    return got;
}

ssize_t BufferedFile::Read(void* out, size_t count)
{
    auto* to = static_cast<char*>(out);
    size_t done = 0;
    while (done < count) {
        if (at_ == filled_) {
            const ssize_t got = Refill();
            if (got < 0 && done == 0)
                return -1;
            if (got <= 0)
                break;
        }
        const size_t take = std::min(count - done, filled_ - at_);
        std::memcpy(to + done, buffer_.data() + at_, take);
        at_ += take;
        done += take;
    }
    return static_cast<ssize_t>(done);
}

ssize_t BufferedFile::ReadAt(off_t offset, void* out, size_t count) const
{
    ssize_t got = 0;
    do {
        got = ::pread(fd_, out, count, offset);
    } while (got < 0 && errno == EINTR);
    return got;
}

off_t BufferedFile::Seek(off_t offset, int whence)
{
    const off_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? bufferStart_ + static_cast<off_t>(at_)
                                            : size_;
    const off_t target = base + offset;
    if (target < 0)
        return -1;
    // Inside what the buffer holds: just move within it.
    if (target >= bufferStart_ && target <= bufferStart_ + static_cast<off_t>(filled_)) {
        at_ = static_cast<size_t>(target - bufferStart_);
        return target;
    }
    bufferStart_ = target;
    filled_ = 0;
    at_ = 0;
    return target;
}

ssize_t BufferedFile::ReadCallback(void* handle, void* out, size_t count)
{
    return static_cast<BufferedFile*>(handle)->Read(out, count);
}

off_t BufferedFile::SeekCallback(void* handle, off_t offset, int whence)
{
    return static_cast<BufferedFile*>(handle)->Seek(offset, whence);
}

} // namespace keldro::playback
