#include "common/playback_service.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace keldro {
namespace {

template <typename Function>
void Resolve(void* module, const char* name, Function& slot)
{
    slot = reinterpret_cast<Function>(dlsym(module, name));
}

// In the order the program has always looked them up.
void ResolveEntryPoints(void* module, BassEntryPoints& e)
{
    Resolve(module, "BASS_GetConfig", e.BASS_GetConfig);
    Resolve(module, "BASS_SetConfig", e.BASS_SetConfig);
    Resolve(module, "BASS_ErrorGetCode", e.BASS_ErrorGetCode);
    Resolve(module, "BASS_Free", e.BASS_Free);
    Resolve(module, "BASS_GetCPU", e.BASS_GetCPU);
    Resolve(module, "BASS_GetDevice", e.BASS_GetDevice);
    Resolve(module, "BASS_GetDeviceDescription", e.BASS_GetDeviceDescription);
    Resolve(module, "BASS_GetDSoundObject", e.BASS_GetDSoundObject);
    Resolve(module, "BASS_GetInfo", e.BASS_GetInfo);
    Resolve(module, "BASS_GetVersion", e.BASS_GetVersion);
    Resolve(module, "BASS_GetVolume", e.BASS_GetVolume);
    Resolve(module, "BASS_Init", e.BASS_Init);
    Resolve(module, "BASS_Pause", e.BASS_Pause);
    Resolve(module, "BASS_SetDevice", e.BASS_SetDevice);
    Resolve(module, "BASS_SetVolume", e.BASS_SetVolume);
    Resolve(module, "BASS_Start", e.BASS_Start);
    Resolve(module, "BASS_Stop", e.BASS_Stop);
    Resolve(module, "BASS_Update", e.BASS_Update);
    Resolve(module, "BASS_StreamCreate", e.BASS_StreamCreate);
    Resolve(module, "BASS_StreamCreateFile", e.BASS_StreamCreateFile);
    Resolve(module, "BASS_StreamFree", e.BASS_StreamFree);
    Resolve(module, "BASS_StreamGetFilePosition", e.BASS_StreamGetFilePosition);
    Resolve(module, "BASS_StreamGetTags", e.BASS_StreamGetTags);
    Resolve(module, "BASS_ChannelGetPosition", e.BASS_ChannelGetPosition);
    Resolve(module, "BASS_ChannelSetPosition", e.BASS_ChannelSetPosition);
    Resolve(module, "BASS_ChannelGetLength", e.BASS_ChannelGetLength);
    Resolve(module, "BASS_ChannelGetAttributes", e.BASS_ChannelGetAttributes);
    Resolve(module, "BASS_ChannelSetAttributes", e.BASS_ChannelSetAttributes);
    Resolve(module, "BASS_ChannelPause", e.BASS_ChannelPause);
    Resolve(module, "BASS_ChannelStop", e.BASS_ChannelStop);
    Resolve(module, "BASS_ChannelPlay", e.BASS_ChannelPlay);
    Resolve(module, "BASS_ChannelIsActive", e.BASS_ChannelIsActive);
    Resolve(module, "BASS_ChannelSeconds2Bytes", e.BASS_ChannelSeconds2Bytes);
    Resolve(module, "BASS_ChannelBytes2Seconds", e.BASS_ChannelBytes2Seconds);
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::string DefaultTempFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

bool PlaybackService::Extract(std::string_view library, const std::string& tempFolder)
{
    if (library.empty())
        return false;
    std::string name = tempFolder + "/tolvexXXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    path_ = name;
    fileIsOurs_ = true;
    const bool written = WriteAll(fd, library);
    return ::close(fd) == 0 && written;
}

bool PlaybackService::LoadPlaybackLibrary(std::string_view library, const std::string& tempFolder)
{
    UnloadPlaybackLibrary();
    if (Extract(library, tempFolder))
        module_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    // The loaded library needs its file no more: removing it now leaves
    // nothing behind even when the program does not get to unload it.
    if (module_) {
        RemoveExtractedFile();
        ResolveEntryPoints(module_, api_);
    }
    available_ = api_.BASS_GetVersion && api_.BASS_GetVersion() == kExpectedPlaybackVersion;
    if (!available_)
        UnloadPlaybackLibrary();
    return available_;
}

void PlaybackService::UnloadPlaybackLibrary()
{
    if (module_) {
        if (api_.BASS_Free)
            api_.BASS_Free();
        ::dlclose(module_);
        module_ = nullptr;
    }
    RemoveExtractedFile();
    path_.clear();
    api_ = BassEntryPoints{};
    available_ = false;
}

void PlaybackService::RemoveExtractedFile()
{
    if (fileIsOurs_)
        std::remove(path_.c_str());
    fileIsOurs_ = false;
}

void PlaybackService::UseEntryPoints(const BassEntryPoints& api)
{
    UnloadPlaybackLibrary();
    api_ = api;
    available_ = true;
}

bool PlaybackService::InitOutputDevice(void* window) const
{
    if (!available_)
        return false;
    if (api_.BASS_Init(BASS_DEVICE_DEFAULT, 44100, 0, window, nullptr))
        return true;
    // A second page of the same process finds the output already open.
    if (api_.BASS_ErrorGetCode() == BASS_ERROR_ALREADY)
        return api_.BASS_GetDevice() != BASS_DEVICE_NOSOUND;
    api_.BASS_Init(BASS_DEVICE_NOSOUND, 44100, 0, window, nullptr);
    return false;
}

std::optional<DecodedDuration> MeasureDecodedDuration(const PlaybackService& playback,
                                                      const std::string& path)
{
    if (!playback.IsAudioAvailable())
        return std::nullopt;
    const BassEntryPoints& api = playback.Api();
    const HSTREAM stream = api.BASS_StreamCreateFile(0, path.c_str(), 0, 0, BASS_STREAM_DECODE);
    if (stream == 0)
        return std::nullopt;
    DecodedDuration result;
    DWORD frequency = 0;
    if (api.BASS_ChannelGetAttributes(stream, &frequency, nullptr, nullptr))
        result.sampleRate = frequency;
    const double seconds = api.BASS_ChannelBytes2Seconds(stream, api.BASS_ChannelGetLength(stream));
    result.durationMs = SecondsToMs(seconds);
    api.BASS_StreamFree(stream);
    return result;
}

std::uint64_t StreamBytePosition(TimeMs time, TimeMs totalMs, std::uint64_t lengthBytes)
{
    if (time == 0 || totalMs == 0)
        return 0;
    if (time >= totalMs)
        return lengthBytes;
    return static_cast<std::uint64_t>(static_cast<double>(time) / totalMs *
                                      static_cast<double>(lengthBytes));
}

} // namespace keldro
