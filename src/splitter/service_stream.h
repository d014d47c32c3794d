// The split page's stream as the position controls use it, over the playback
// service; and the clock that really waits.
#pragma once

#include "playback/bass.h"
#include "splitter/position_controller.h"

#include <cstdint>

namespace keldro {

class PlaybackService;

// Every call asks the service first whether the library is still loaded: once
// it is unloaded its entry points are gone, and the stream does nothing
// (Position 0, IsActive false).
class ServicePlaybackStream final : public PlaybackStream
{
public:
    explicit ServicePlaybackStream(const PlaybackService* playback) : playback_(playback) {}

    // Sound can be heard: the output device opened on a real device.
    void SetAudioDevice(bool available) { audioDevice_ = available; }
    // The source's stream (0: none), its decoded length in bytes and its
    // length in milliseconds, which map times to decoded byte positions.
    void SetStream(HSTREAM stream, std::uint64_t decodedLength, TimeMs total);
    HSTREAM Handle() const { return stream_; }

    bool CanPlay() const override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Seek(TimeMs time) override;
    TimeMs Position() const override;
    bool IsActive() const override;
    void SetFrequency(std::uint32_t hertz) override;

private:
    bool Usable() const;

    const PlaybackService* playback_;
    bool audioDevice_ = false;
    HSTREAM stream_ = 0;
    std::uint64_t decodedLength_ = 0;
    TimeMs total_ = 0;
};

class SleepingWaitClock final : public WaitClock
{
public:
    void Wait(int milliseconds) override;
};

} // namespace keldro
