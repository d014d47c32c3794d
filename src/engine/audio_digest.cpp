#include "engine/audio_digest.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace keldro {
namespace {

// A buffer that stays in the cache of the core doing the work.
constexpr std::size_t kDigestChunk = 256 * 1024;

} // namespace

AudioDigest::AudioDigest(const FileReader& source, std::uint32_t streamWord, std::uint64_t from,
                         std::uint64_t to, WrittenAudio& written)
    : reader_(source.Twin()),
      work_([this, streamWord, from, to, &written] { Run(reader_, streamWord, from, to, written); })
{
    // Without a thread to spare the digest is worked out when it is asked for.
    try {
        worker_ = std::thread(work_);
    } catch (const std::system_error&) {
        worker_ = {};
    }
}

AudioDigest::~AudioDigest()
{
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

bool AudioDigest::Finish()
{
    if (worker_.joinable())
        worker_.join();
    else if (!ok_ && work_)
        work_();
    work_ = nullptr;
    return ok_;
}

void AudioDigest::Run(FileReader& reader, std::uint32_t streamWord, std::uint64_t from,
                      std::uint64_t to, WrittenAudio& written)
{
    if (!reader.IsOpen())
        return;
    FrameCounter counter(reader, streamWord, from, to, &written);
    std::vector<std::uint8_t> buffer(kDigestChunk);
    for (std::uint64_t position = from; position < to; position += buffer.size()) {
        if (stop_)
            return;
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), to - position));
        if (reader.ReadAt(position, buffer.data(), count) != count)
            return;
        counter.Feed(buffer.data(), position, count);
    }
    ok_ = true;
}

} // namespace keldro
