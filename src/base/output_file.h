// An output that appears complete or not at all: written to a hidden temporary
// file beside the target and renamed over it only when everything was written.
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

    enum class CopyResult
    {
        Done,
        Unsupported,
        Failed
    };
    // Appends count bytes of another file from offset, moved through a pipe by
    // the kernel without passing through this program. Unsupported: nothing
    // was written, the caller copies through memory instead.
    CopyResult SpliceFrom(int fd, std::uint64_t offset, std::uint64_t count);
    // Renames the finished file over the target. Without it the temporary file
    // is removed and the target stays as it was.
    bool Commit();

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    bool failed_ = false;
};

// True when both paths name one existing file (the same device and inode).
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace keldro
