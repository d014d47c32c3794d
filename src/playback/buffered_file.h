// A read-only file behind a large buffer, for libmpg123's reader callbacks:
// its own reader makes two system calls per frame, which dominates a prescan
// or a seek through a long file.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

namespace keldro::playback {

class BufferedFile
{
public:
    ~BufferedFile();
    bool Open(const std::string& path);

    off_t Size() const { return size_; }
    // Bytes read, 0 at the end of the file, -1 when the file cannot be read
    // (what libmpg123 takes for a read error; the bytes of a read that failed
    // half way come first, the error with the next read).
    ssize_t Read(void* out, size_t count);
    // Reads at an offset without moving the read position.
    ssize_t ReadAt(off_t offset, void* out, size_t count) const;
    // As lseek; -1 for an offset before the start.
    off_t Seek(off_t offset, int whence);

    // The callbacks libmpg123 calls with a BufferedFile as the handle.
    static ssize_t ReadCallback(void* handle, void* out, size_t count);
    static off_t SeekCallback(void* handle, off_t offset, int whence);

private:
    // As ReadAt: what the buffer took from the file, 0 at its end, or -1.
    ssize_t Refill();

    int fd_ = -1;
    off_t size_ = 0;
    std::vector<char> buffer_;
    off_t bufferStart_ = 0; // file offset of buffer_[0]
    size_t filled_ = 0;
    size_t at_ = 0;
};

} // namespace keldro::playback
