// An output that appears complete or not at all: written to a hidden temporary
// file beside the target and renamed to it only when everything was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace keldro {

class OutputFile
{
public:
    // Creates the temporary file in the target's folder; check IsOpen().
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // False on any short or failed write; the output is then unusable.
    bool Write(const void* data, std::size_t size);
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    std::uint64_t Size() const { return size_; }
    // The system's error number of the first failure (creating, writing,
    // committing); 0 when nothing failed.
    int Error() const { return error_; }

    enum class CopyResult
    {
        Done,
        Unsupported,
        Failed,
        Interrupted, // the process was asked to end
    };
    // Appends count bytes of another file from offset, moved through a pipe by
    // the kernel without passing through this program. Unsupported: nothing
    // was written, the caller copies through memory instead.
    CopyResult SpliceFrom(int fd, std::uint64_t offset, std::uint64_t count);

    enum class CommitResult
    {
        Done,
        TargetExists, // a file appeared at the target, and it may not be replaced
        Failed,
    };
    // Renames the finished file to the target. A target that may be replaced
    // keeps its permission bits, and the new bytes reach the disk before the
    // rename; one that may not is never replaced, even when it appeared while
    // the output was written: TargetExists keeps the finished file for another
    // Commit once the user allowed replacing. Failed removes it; either way the
    // target stays as it was.
    CommitResult Commit(bool mayReplace);
    // Another target for the next Commit, on the same file system.
    void Retarget(std::string target) { target_ = std::move(target); }

private:
    bool Fail(int error);
    bool RenameWithoutReplacing();
    void Discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    int slot_ = -1; // where the temporary name is registered for signal handlers
    std::uint64_t size_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

// True when both paths name one existing file (the same device and inode).
bool IsSameFile(const std::string& a, const std::string& b);

// Removes every temporary file of outputs still being written. Safe to call
// from a signal handler that ends the process at once.
void RemoveUnfinishedOutputs() noexcept;

} // namespace keldro
