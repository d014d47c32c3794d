// The library's one state: the output device, the open channels by handle,
// and the last error. Every entry point locks it; so does the audio thread.
// SDL takes its device lock around the audio callback, which then waits for
// ours: nothing may call into SDL while holding ours. The output's opening,
// pausing and closing are serialised by a lock of their own instead, which the
// audio thread never takes.
#pragma once

#include "playback/channel.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace keldro::playback {

class Player
{
public:
    static Player& Instance();

    std::mutex& Lock() { return mutex_; }
    int Error() const { return error_; }
    // Records `code` as the last error and returns `result`.
    template <typename T>
    T Fail(int code, T result)
    {
        error_ = code;
        return result;
    }
    void Succeed() { error_ = 0; }

    // The output's control, each returning BASS_OK or an error code. They
    // take the locks themselves: call them without holding Lock().
    // Device 0 is "no sound"; device 1 (or −1) is the desktop's default output.
    int Init(int device, uint32_t frequency);
    // Closes the output and frees every channel.
    int Free();
    int PauseOutput(bool paused);

    bool Initialised() const { return device_ >= 0; }
    int Device() const { return device_; }
    bool HasOutput() const { return output_ != 0; }

    uint32_t Add(std::unique_ptr<Channel> channel);
    Channel* Find(uint32_t handle);
    bool Remove(uint32_t handle);
    void StopAll();

private:
    int OpenOutput(uint32_t frequency);
    static void Callback(void* self, uint8_t* stream, int length);
    void Mix(int16_t* out, int frames);

    std::mutex deviceMutex_; // taken before mutex_, never inside it
    std::mutex mutex_;
    int error_ = 0;
    int device_ = -1;
    uint32_t output_ = 0;
    int outputRate_ = 44100;
    uint32_t nextHandle_ = 1;
    std::map<uint32_t, std::unique_ptr<Channel>> channels_;
    std::vector<int32_t> mixBuffer_;
};

using Guard = std::lock_guard<std::mutex>;

inline Player& P()
{
    return Player::Instance();
}

// The channel of `handle`, or null with the handle error recorded.
Channel* Lookup(uint32_t handle);

} // namespace keldro::playback
