#include "playback/channel.h"

#include <algorithm>
#include <cmath>

namespace keldro::playback {
namespace {

constexpr size_t kChunkFrames = 4096;

} // namespace

bool Channel::Open(const std::string& path, bool prescan, bool decodeOnly)
{
    if (!decoder_.Open(path, prescan))
        return false;
    decodeOnly_ = decodeOnly;
    frequency_ = static_cast<uint32_t>(decoder_.Rate());
    return true;
}

uint64_t Channel::LengthBytes() const
{
    return static_cast<uint64_t>(decoder_.LengthSamples()) *
           static_cast<uint64_t>(decoder_.BytesPerSample());
}

uint64_t Channel::PositionBytes() const
{
    const auto head = static_cast<uint64_t>(bufferStart_) + static_cast<uint64_t>(phase_);
    return std::min(head * static_cast<uint64_t>(decoder_.BytesPerSample()), LengthBytes());
}

bool Channel::SetPositionBytes(uint64_t bytes)
{
    if (bytes > LengthBytes())
        return false;
    const auto sample =
        static_cast<int64_t>(bytes / static_cast<uint64_t>(decoder_.BytesPerSample()));
    if (!decoder_.Seek(sample))
        return false;
    bufferStart_ = sample;
    bufferFrames_ = 0;
    phase_ = 0;
    atEnd_ = false;
    return true;
}

double Channel::BytesToSeconds(uint64_t bytes) const
{
    return static_cast<double>(bytes) /
           (static_cast<double>(decoder_.Rate()) * decoder_.BytesPerSample());
}

uint64_t Channel::SecondsToBytes(double seconds) const
{
    if (!(seconds > 0))
        return 0;
    const double samples = std::floor(seconds * static_cast<double>(decoder_.Rate()));
    return static_cast<uint64_t>(samples) * static_cast<uint64_t>(decoder_.BytesPerSample());
}

// Keeps the sample under the play head and the one after it (for the
// interpolation), and appends the next decoded chunk.
bool Channel::Refill()
{
    if (atEnd_)
        return false;
    const int channels = decoder_.Channels();
    const size_t keep = std::min(static_cast<size_t>(phase_), bufferFrames_);
    const auto from = buffer_.begin() + static_cast<std::ptrdiff_t>(keep * channels);
    std::copy(from, buffer_.begin() + static_cast<std::ptrdiff_t>(bufferFrames_ * channels),
              buffer_.begin());
    bufferFrames_ -= keep;
    bufferStart_ += static_cast<int64_t>(keep);
    phase_ -= static_cast<double>(keep);
    buffer_.resize((bufferFrames_ + kChunkFrames) * channels);
    const size_t got = decoder_.Read(buffer_.data() + bufferFrames_ * channels, kChunkFrames);
    bufferFrames_ += got;
    atEnd_ = got == 0;
    return got > 0;
}

void Channel::MixInto(int32_t* out, int frames, int outputRate)
{
    if (state_ != PlayState::Playing)
        return;
    const int channels = decoder_.Channels();
    const double step = static_cast<double>(frequency_) / outputRate;
    const double gain = volume_ / 100.0;
    const double leftGain = gain * (pan_ > 0 ? (100 - pan_) / 100.0 : 1.0);
    const double rightGain = gain * (pan_ < 0 ? (100 + pan_) / 100.0 : 1.0);
    for (int i = 0; i < frames; ++i) {
        if (static_cast<size_t>(phase_) + 1 >= bufferFrames_)
            Refill();
        const auto index = static_cast<size_t>(phase_);
        if (index >= bufferFrames_) {
            state_ = PlayState::Stopped;
            return;
        }
        const double frac = phase_ - static_cast<double>(index);
        const int16_t* a = buffer_.data() + index * channels;
        const int16_t* b = index + 1 < bufferFrames_ ? a + channels : a;
        const double left = a[0] + (b[0] - a[0]) * frac;
        const double right = channels > 1 ? a[1] + (b[1] - a[1]) * frac : left;
        out[2 * i] += static_cast<int32_t>(left * leftGain);
        out[2 * i + 1] += static_cast<int32_t>(right * rightGain);
        phase_ += step;
    }
}

} // namespace keldro::playback
