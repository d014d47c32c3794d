#include "engine/output_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <fcntl.h>
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

mode_t CreationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target))
{
    const std::filesystem::path path(target_);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string name = ".";
    name += path.filename().string();
    name += ".keldro-XXXXXX";
    temporary_ = (folder / name).string();
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temporary_.clear();
        return;
    }
    // mkstemp makes the file private; an output gets the usual permissions.
    ::fchmod(fd_, CreationMode());
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
    struct stat first{};
    struct stat second{};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    // Identity covers every spelling, symbolic link and hard link of a path.
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace keldro
