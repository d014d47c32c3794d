// The frames' places and the CRC of a range of a source, worked out on a
// thread of its own while the caller copies the same bytes: with a core to
// spare, the seek table and the LAME tag's CRC cost no time of the copy.
#pragma once

#include "base/file_reader.h"
#include "engine/frame_copy.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace keldro {

class AudioDigest
{
public:
    // Reads [from, to) of the source through a twin of the caller's reader,
    // counting into `written`, which the caller leaves alone until Finish.
    AudioDigest(const FileReader& source, std::uint32_t streamWord, std::uint64_t from,
                std::uint64_t to, WrittenAudio& written);
    // Stops reading and waits: an abandoned copy leaves nothing running.
    ~AudioDigest();
    AudioDigest(const AudioDigest&) = delete;
    AudioDigest& operator=(const AudioDigest&) = delete;

    // Waits for the whole range; false when it could not be read to its end.
    bool Finish();

private:
    void Run(FileReader& reader, std::uint32_t streamWord, std::uint64_t from, std::uint64_t to,
             WrittenAudio& written);

    FileReader reader_;
    std::atomic<bool> stop_{false};
    bool ok_ = false;
    std::function<void()> work_;
    std::thread worker_;
};

} // namespace keldro
