#include "base/output_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace keldro {
namespace {

bool WriteFully(int fd, const void* data, std::size_t size, std::uint64_t offset)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, bytes, size, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

// A name no other file in the folder has yet, hidden beside the target.
std::string TemporaryName(const std::filesystem::path& target, unsigned attempt)
{
    static std::random_device entropy;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string name = ".";
    name += target.filename().string();
    name += ".keldro-";
    name += std::to_string(::getpid()) + "-" + std::to_string(entropy()) + "-" +
            std::to_string(attempt);
    return (folder / name).string();
}

} // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target))
{
    // Created as any new file is (0666 less the umask), never over an existing one.
    for (unsigned attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = TemporaryName(target_, attempt);
        fd_ = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0)
        temporary_.clear();
}

OutputFile::~OutputFile()
{
    Discard();
}

bool OutputFile::Write(const void* data, std::size_t size)
{
    return WriteAt(size_, data, size);
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size)
{
    if (fd_ < 0 || failed_ || !WriteFully(fd_, data, size, offset)) {
        failed_ = true;
        return false;
    }
    size_ = std::max(size_, offset + size);
    return true;
}

namespace {

// A pipe for splicing, closed with its scope.
class Pipe
{
public:
    Pipe()
    {
        if (::pipe2(fds_, O_CLOEXEC) != 0) {
            fds_[0] = fds_[1] = -1;
            return;
        }
        // A larger pipe moves more per call; the default size works too.
        const int size = ::fcntl(fds_[1], F_SETPIPE_SZ, 1 << 20);
        capacity_ = size > 0 ? static_cast<std::size_t>(size) : 65536;
    }
    ~Pipe()
    {
        for (const int fd : fds_) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool IsOpen() const { return fds_[0] >= 0; }
    int ReadEnd() const { return fds_[0]; }
    int WriteEnd() const { return fds_[1]; }
    std::size_t Capacity() const { return capacity_; }

private:
    int fds_[2] = {-1, -1};
    std::size_t capacity_ = 0;
};

bool DrainPipe(const Pipe& pipe, int fd, std::uint64_t& offset, std::size_t count)
{
    while (count > 0) {
        auto at = static_cast<loff_t>(offset);
        const ssize_t moved = ::splice(pipe.ReadEnd(), nullptr, fd, &at, count, SPLICE_F_MOVE);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            return false;
        offset += static_cast<std::uint64_t>(moved);
        count -= static_cast<std::size_t>(moved);
    }
    return true;
}

} // namespace

OutputFile::CopyResult OutputFile::SpliceFrom(int fd, std::uint64_t offset, std::uint64_t count)
{
    if (fd_ < 0 || failed_)
        return CopyResult::Failed;
    const Pipe pipe;
    if (!pipe.IsOpen())
        return CopyResult::Unsupported;
    const std::uint64_t startSize = size_;
    while (count > 0) {
        auto from = static_cast<loff_t>(offset);
        // After the first chunk the output grows in whole pages, which is faster.
        const std::uint64_t room = pipe.Capacity() - size_ % pipe.Capacity();
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, room));
        const ssize_t filled = ::splice(fd, &from, pipe.WriteEnd(), nullptr, chunk, SPLICE_F_MOVE);
        if (filled < 0 && errno == EINTR)
            continue;
        if (filled < 0 && size_ == startSize && (errno == EINVAL || errno == ENOSYS))
            return CopyResult::Unsupported;
        // An error, or the source ended early; or the pipe could not be written out.
        if (filled <= 0 || !DrainPipe(pipe, fd_, size_, static_cast<std::size_t>(filled))) {
            failed_ = true;
            return CopyResult::Failed;
        }
        offset += static_cast<std::uint64_t>(filled);
        count -= static_cast<std::uint64_t>(filled);
    }
    return CopyResult::Done;
}

bool OutputFile::Commit()
{
    if (fd_ < 0 || failed_)
        return false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void OutputFile::Discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat first
    {};
    struct stat second
    {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    // Identity covers every spelling, symbolic link and hard link of a path.
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace keldro
