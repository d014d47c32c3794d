#include "playback/player.h"

#include "playback/bass.h"

#include <SDL.h>
#include <algorithm>

namespace keldro::playback {

namespace {

// SDL keeps some global state (hints, its error text) until SDL_Quit; leave
// nothing behind once no subsystem is in use.
void ReleaseSdl(std::uint32_t subsystem)
{
    if (subsystem != 0)
        SDL_QuitSubSystem(subsystem);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

} // namespace

Player& Player::Instance()
{
    static Player player;
    return player;
}

int Player::Init(int device, uint32_t frequency)
{
    const std::lock_guard control(deviceMutex_);
    {
        const std::lock_guard lock(mutex_);
        if (Initialised())
            return BASS_ERROR_ALREADY;
        if (device == BASS_DEVICE_NOSOUND) {
            device_ = 0;
            return BASS_OK;
        }
    }
    if (device != BASS_DEVICE_DEFAULT && device != 1)
        return BASS_ERROR_DEVICE;
    const int result = OpenOutput(frequency);
    if (result != BASS_OK)
        return result;
    uint32_t output = 0;
    {
        const std::lock_guard lock(mutex_);
        output = output_;
        device_ = 1;
    }
    SDL_PauseAudioDevice(output, 0);
    return BASS_OK;
}

// Opens the output paused, so that the callback cannot run before the output's
// rate is known. Only Init calls it, with the device lock held.
int Player::OpenOutput(uint32_t frequency)
{
    // Otherwise SDL's event subsystem, which audio starts, would take SIGINT
    // and SIGTERM from the program for good.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ReleaseSdl(0);
        return BASS_ERROR_DRIVER;
    }
    SDL_AudioSpec want{};
    want.freq = frequency > 0 ? static_cast<int>(frequency) : 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &Player::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID output = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (output == 0) {
        ReleaseSdl(SDL_INIT_AUDIO);
        return BASS_ERROR_DEVICE;
    }
    const std::lock_guard lock(mutex_);
    output_ = output;
    outputRate_ = have.freq;
    return BASS_OK;
}

int Player::Free()
{
    const std::lock_guard control(deviceMutex_);
    uint32_t output = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!Initialised())
            return BASS_ERROR_INIT;
        output = output_;
        output_ = 0;
    }
    // Closing waits for the audio thread, which takes the lock to mix.
    if (output != 0) {
        SDL_CloseAudioDevice(output);
        ReleaseSdl(SDL_INIT_AUDIO);
    }
    const std::lock_guard lock(mutex_);
    channels_.clear();
    device_ = -1;
    return BASS_OK;
}

int Player::PauseOutput(bool paused)
{
    const std::lock_guard control(deviceMutex_);
    uint32_t output = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!Initialised())
            return BASS_ERROR_INIT;
        output = output_;
    }
    // SDL waits for a callback in progress, which may be waiting for mutex_.
    if (output != 0)
        SDL_PauseAudioDevice(output, paused ? 1 : 0);
    return BASS_OK;
}

uint32_t Player::Add(std::unique_ptr<Channel> channel)
{
    while (nextHandle_ == 0 || channels_.count(nextHandle_) != 0)
        ++nextHandle_;
    const uint32_t handle = nextHandle_++;
    channels_.emplace(handle, std::move(channel));
    return handle;
}

Channel* Player::Find(uint32_t handle)
{
    const auto it = channels_.find(handle);
    return it == channels_.end() ? nullptr : it->second.get();
}

bool Player::Remove(uint32_t handle)
{
    return channels_.erase(handle) != 0;
}

void Player::StopAll()
{
    for (auto& [handle, channel] : channels_)
        channel->SetState(PlayState::Stopped);
}

void Player::Callback(void* self, uint8_t* stream, int length)
{
    auto* player = static_cast<Player*>(self);
    const std::lock_guard lock(player->mutex_);
    player->Mix(reinterpret_cast<int16_t*>(stream), length / 4);
}

void Player::Mix(int16_t* out, int frames)
{
    mixBuffer_.assign(static_cast<size_t>(frames) * 2, 0);
    for (auto& [handle, channel] : channels_)
        channel->MixInto(mixBuffer_.data(), frames, outputRate_);
    for (size_t i = 0; i < mixBuffer_.size(); ++i)
        out[i] = static_cast<int16_t>(std::clamp(mixBuffer_[i], -32768, 32767));
}

Channel* Lookup(uint32_t handle)
{
    Channel* channel = P().Find(handle);
    if (!channel)
        P().Fail(BASS_ERROR_HANDLE, 0);
    return channel;
}

} // namespace keldro::playback
