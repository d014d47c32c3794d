// A playback channel: a decoded file, its play state and attributes, and the
// mixing of its samples into the output at any playback frequency.
#pragma once

#include "playback/decoder.h"

#include <cstdint>
#include <vector>

namespace keldro::playback {

enum class PlayState
{
    Stopped,
    Playing,
    Paused
};

class Channel
{
public:
    // False when the file cannot be decoded.
    bool Open(const std::string& path, bool prescan, bool decodeOnly);

    bool DecodeOnly() const { return decodeOnly_; }
    Decoder& Source() { return decoder_; }
    const Decoder& Source() const { return decoder_; }

    // Positions and lengths in bytes of 16-bit PCM.
    uint64_t LengthBytes() const;
    uint64_t PositionBytes() const;
    bool SetPositionBytes(uint64_t bytes);
    double BytesToSeconds(uint64_t bytes) const;
    uint64_t SecondsToBytes(double seconds) const;

    uint32_t Frequency() const { return frequency_; }
    uint32_t Volume() const { return volume_; }
    int Pan() const { return pan_; }
    void SetFrequency(uint32_t frequency) { frequency_ = frequency; }
    void SetVolume(uint32_t volume) { volume_ = volume; }
    void SetPan(int pan) { pan_ = pan; }

    PlayState State() const { return state_; }
    void SetState(PlayState state) { state_ = state; }

    // Adds `frames` stereo frames at `outputRate` to `out`; the channel stops
    // itself when its audio runs out.
    void MixInto(int32_t* out, int frames, int outputRate);

private:
    bool Refill();

    Decoder decoder_;
    bool decodeOnly_ = false;
    uint32_t frequency_ = 0;
    uint32_t volume_ = 100;
    int pan_ = 0;
    PlayState state_ = PlayState::Stopped;
    // Decoded samples not yet played; `phase_` is the play head inside them.
    std::vector<int16_t> buffer_;
    size_t bufferFrames_ = 0;
    int64_t bufferStart_ = 0;
    double phase_ = 0;
    bool atEnd_ = false;
};

} // namespace keldro::playback
