#include "base/output_file.h"

#include "base/interruption.h"
#include "base/unfinished_outputs.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
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
        if (written == 0)
            errno = ENOSPC;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

// A short fixed pattern, so that any target name the file system allows can
// be written, whatever its length.
std::string TemporaryPattern(const std::string& target)
{
    const std::filesystem::path path(target);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    return (folder / ".keldro-XXXXXX").string();
}

// Permission bits of a new file: 0666 less the umask, as open() would give.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Stop signals wait while a temporary file is created and registered: a
// handler that removes unfinished outputs must know every one of them.
class StopSignalsBlocked
{
public:
    StopSignalsBlocked()
    {
        sigset_t stops;
        sigemptyset(&stops);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&stops, signal);
        ::pthread_sigmask(SIG_BLOCK, &stops, &previous_);
    }
    ~StopSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    StopSignalsBlocked(const StopSignalsBlocked&) = delete;
    StopSignalsBlocked& operator=(const StopSignalsBlocked&) = delete;

private:
    sigset_t previous_;
};

} // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target))
{
    std::string pattern = TemporaryPattern(target_);
    {
        const StopSignalsBlocked blocked;
        fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ >= 0)
            slot_ = unfinished::Register(pattern.c_str());
    }
    if (fd_ < 0) {
        Fail(errno);
        return;
    }
    temporary_ = pattern;
    // mkostemp makes the file private; an output is created as any new file is.
    if (::fchmod(fd_, NewFileMode()) != 0) {
        Fail(errno);
        Discard();
    }
}

OutputFile::~OutputFile()
{
    Discard();
}

bool OutputFile::Fail(int error)
{
    failed_ = true;
    if (error_ == 0)
        error_ = error != 0 ? error : EIO;
    return false;
}

bool OutputFile::Write(const void* data, std::size_t size)
{
    return WriteAt(size_, data, size);
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size)
{
    if (fd_ < 0 || failed_)
        return Fail(EBADF);
    if (!WriteFully(fd_, data, size, offset))
        return Fail(errno);
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
        if (moved == 0)
            errno = ENOSPC;
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
        if (PendingInterruption() != 0)
            return CopyResult::Interrupted;
        auto from = static_cast<loff_t>(offset);
        // After the first chunk the output grows in whole pages, which is faster.
        const std::uint64_t room = pipe.Capacity() - size_ % pipe.Capacity();
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, room));
        const ssize_t filled = ::splice(fd, &from, pipe.WriteEnd(), nullptr, chunk, SPLICE_F_MOVE);
        if (filled < 0 && errno == EINTR)
            continue;
        if (filled < 0 && size_ == startSize && (errno == EINVAL || errno == ENOSYS))
            return CopyResult::Unsupported;
        // The source ended early (it shrank), or an error; or the pipe could
        // not be written out.
        if (filled == 0)
            errno = ENODATA;
        if (filled <= 0 || !DrainPipe(pipe, fd_, size_, static_cast<std::size_t>(filled))) {
            Fail(errno);
            return CopyResult::Failed;
        }
        offset += static_cast<std::uint64_t>(filled);
        count -= static_cast<std::uint64_t>(filled);
    }
    return CopyResult::Done;
}

OutputFile::CommitResult OutputFile::Commit(bool mayReplace)
{
    // After a refused rename the file is closed, and opened again to sync it.
    if (!failed_ && fd_ < 0 && !temporary_.empty()) {
        fd_ = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            Fail(errno);
    }
    if (fd_ < 0 || failed_) {
        Discard();
        return CommitResult::Failed;
    }
    struct stat existing
    {};
    const bool replacing = mayReplace && ::lstat(target_.c_str(), &existing) == 0;
    bool ready = true;
    if (replacing && S_ISREG(existing.st_mode))
        ready = ::fchmod(fd_, existing.st_mode & 07777) == 0 || Fail(errno);
    // Only a replaced file is synced first: after a crash the old file or the
    // whole new one is there. New files need no sync, and stay as fast as a copy.
    if (ready && replacing)
        ready = ::fsync(fd_) == 0 || Fail(errno);
    if (::close(fd_) != 0 && ready)
        ready = Fail(errno);
    fd_ = -1;
    if (ready)
        ready = mayReplace ? ::rename(temporary_.c_str(), target_.c_str()) == 0 || Fail(errno)
                           : RenameWithoutReplacing();
    if (ready) {
        unfinished::Unregister(slot_);
        slot_ = -1;
        temporary_.clear();
        return CommitResult::Done;
    }
    if (error_ == EEXIST) {
        // Kept for a second Commit that may replace, once the user was asked.
        failed_ = false;
        error_ = 0;
        return CommitResult::TargetExists;
    }
    Discard();
    return CommitResult::Failed;
}

// Atomic where the file system allows: renameat2 refuses an existing target,
// and so does a hard link on file systems without it.
bool OutputFile::RenameWithoutReplacing()
{
    if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return Fail(errno);
    if (::link(temporary_.c_str(), target_.c_str()) == 0) {
        ::unlink(temporary_.c_str());
        return true;
    }
    if (errno == EEXIST || (errno != EPERM && errno != ENOTSUP))
        return Fail(errno);
    // Neither: the best left is to look first.
    struct stat existing
    {};
    if (::lstat(target_.c_str(), &existing) == 0)
        return Fail(EEXIST);
    return ::rename(temporary_.c_str(), target_.c_str()) == 0 || Fail(errno);
}

void OutputFile::Discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    unfinished::Unregister(slot_);
    slot_ = -1;
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

void RemoveUnfinishedOutputs() noexcept
{
    unfinished::RemoveAll();
}

} // namespace keldro
