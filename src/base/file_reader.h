// Positioned, buffered reading of a file (or of bytes in memory, for tests and
// fuzzing). Small reads are served from one window so that byte-by-byte frame
// searches do not cost a system call each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace keldro {

class FileReader
{
public:
    FileReader() = default;
    ~FileReader();
    FileReader(FileReader&& other) noexcept;
    FileReader& operator=(FileReader&& other) noexcept;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Only regular files are opened; anything else (a folder, a pipe) is not open.
    static FileReader Open(const std::string& path);
    // The bytes must outlive the reader.
    static FileReader FromMemory(std::span<const std::uint8_t> bytes);

    // A reader of its own over the same bytes, for another thread: windows,
    // positions and errors are not shared. Not open when that fails.
    FileReader Twin() const;

    bool IsOpen() const { return fd_ >= 0 || memory_ != nullptr; }
    // True once any read hit an input error (as opposed to the end of the file).
    bool HasFailed() const { return failed_; }
    // The system's error number of the first failed read; 0 for none.
    int Error() const { return error_; }
    // The open file's descriptor, for copies made by the kernel; -1 for memory.
    int Descriptor() const { return fd_; }
    std::uint64_t Size() const { return size_; }

    std::uint64_t Tell() const { return position_; }
    void Seek(std::uint64_t position) { position_ = position; }
    // Reads at the position and advances it by what was read.
    std::size_t Read(void* destination, std::size_t count);
    std::size_t ReadAt(std::uint64_t offset, void* destination, std::size_t count);
    // Up to count bytes at offset, in place: those the window holds from
    // there, after moving it when it does not hold offset. Empty at the end or
    // on an error; valid until the next read.
    std::span<const std::uint8_t> View(std::uint64_t offset, std::size_t count);
    // A big-endian 32-bit word; false when fewer than 4 bytes are left. Words
    // inside the window are read without a call: frame walks read one per frame.
    bool ReadWordAt(std::uint64_t offset, std::uint32_t& word)
    {
        if (memory_ == nullptr && offset >= windowStart_ &&
            offset + 4 <= windowStart_ + windowLength_) {
            const std::uint8_t* at = window_.data() + (offset - windowStart_);
            word = std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 |
                   std::uint32_t{at[2]} << 8 | at[3];
            return true;
        }
        return ReadWordSlowly(offset, word);
    }

private:
    bool ReadWordSlowly(std::uint64_t offset, std::uint32_t& word);
    std::size_t ReadDirect(std::uint64_t offset, void* destination, std::size_t count);
    bool FillWindow(std::uint64_t offset);
    void Close();

    static constexpr std::size_t kWindowSize = 256 * 1024;
    int fd_ = -1;
    const std::uint8_t* memory_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    std::vector<std::uint8_t> window_;
    std::uint64_t windowStart_ = 0;
    std::size_t windowLength_ = 0;
    bool failed_ = false;
    int error_ = 0;
};

} // namespace keldro
