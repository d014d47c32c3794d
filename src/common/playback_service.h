// The program's side of the playback library: extracting it to a temporary
// file, loading it, resolving its entry points by name and checking its
// version; and the few things the pages ask of it (output device, decoded
// duration, time to stream position).
#pragma once

#include "playback/bass.h"
#include "timecue/time_format.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keldro {

// The library's entry points, filled by name; a name not found stays null.
struct BassEntryPoints
{
    decltype(&::BASS_GetConfig) BASS_GetConfig = nullptr;
    decltype(&::BASS_SetConfig) BASS_SetConfig = nullptr;
    decltype(&::BASS_ErrorGetCode) BASS_ErrorGetCode = nullptr;
    decltype(&::BASS_Free) BASS_Free = nullptr;
    decltype(&::BASS_GetCPU) BASS_GetCPU = nullptr;
    decltype(&::BASS_GetDevice) BASS_GetDevice = nullptr;
    decltype(&::BASS_GetDeviceDescription) BASS_GetDeviceDescription = nullptr;
    decltype(&::BASS_GetDSoundObject) BASS_GetDSoundObject = nullptr;
    decltype(&::BASS_GetInfo) BASS_GetInfo = nullptr;
    decltype(&::BASS_GetVersion) BASS_GetVersion = nullptr;
    decltype(&::BASS_GetVolume) BASS_GetVolume = nullptr;
    decltype(&::BASS_Init) BASS_Init = nullptr;
    decltype(&::BASS_Pause) BASS_Pause = nullptr;
    decltype(&::BASS_SetDevice) BASS_SetDevice = nullptr;
    decltype(&::BASS_SetVolume) BASS_SetVolume = nullptr;
    decltype(&::BASS_Start) BASS_Start = nullptr;
    decltype(&::BASS_Stop) BASS_Stop = nullptr;
    decltype(&::BASS_Update) BASS_Update = nullptr;
    decltype(&::BASS_StreamCreate) BASS_StreamCreate = nullptr;
    decltype(&::BASS_StreamCreateFile) BASS_StreamCreateFile = nullptr;
    decltype(&::BASS_StreamFree) BASS_StreamFree = nullptr;
    decltype(&::BASS_StreamGetFilePosition) BASS_StreamGetFilePosition = nullptr;
    decltype(&::BASS_StreamGetTags) BASS_StreamGetTags = nullptr;
    decltype(&::BASS_ChannelGetPosition) BASS_ChannelGetPosition = nullptr;
    decltype(&::BASS_ChannelSetPosition) BASS_ChannelSetPosition = nullptr;
    decltype(&::BASS_ChannelGetLength) BASS_ChannelGetLength = nullptr;
    decltype(&::BASS_ChannelGetAttributes) BASS_ChannelGetAttributes = nullptr;
    decltype(&::BASS_ChannelSetAttributes) BASS_ChannelSetAttributes = nullptr;
    decltype(&::BASS_ChannelPause) BASS_ChannelPause = nullptr;
    decltype(&::BASS_ChannelStop) BASS_ChannelStop = nullptr;
    decltype(&::BASS_ChannelPlay) BASS_ChannelPlay = nullptr;
    decltype(&::BASS_ChannelIsActive) BASS_ChannelIsActive = nullptr;
    decltype(&::BASS_ChannelSeconds2Bytes) BASS_ChannelSeconds2Bytes = nullptr;
    decltype(&::BASS_ChannelBytes2Seconds) BASS_ChannelBytes2Seconds = nullptr;
};

inline constexpr std::uint32_t kExpectedPlaybackVersion = 0x20002;

class PlaybackService
{
public:
    PlaybackService() = default;
    ~PlaybackService() { UnloadPlaybackLibrary(); }
    PlaybackService(const PlaybackService&) = delete;
    PlaybackService& operator=(const PlaybackService&) = delete;

    // Writes `library` (the bytes of the embedded library; empty when the
    // resource could not be read) to a new "tolvex" file in `tempFolder`,
    // loads it (and deletes the file, which the loaded library no longer
    // needs), resolves the entry points and checks the version. On any
    // failure everything is undone and false returned.
    bool LoadPlaybackLibrary(std::string_view library, const std::string& tempFolder);
    // Frees the library, unloads it and deletes its file if that is still
    // there (a library that loaded has had its file deleted already).
    void UnloadPlaybackLibrary();
    bool IsAudioAvailable() const { return available_; }
    const BassEntryPoints& Api() const { return api_; }
    const std::string& ExtractedPath() const { return path_; }

    // Takes entry points that are already in the process (tests).
    void UseEntryPoints(const BassEntryPoints& api);

    // BASS_Init on the default output, else on "no sound". True when sound
    // can be heard; false also when the library is not available.
    bool InitOutputDevice(void* window) const;

private:
    bool Extract(std::string_view library, const std::string& tempFolder);
    void RemoveExtractedFile();

    bool available_ = false;
    void* module_ = nullptr;
    std::string path_;
    // Whether the file at path_ is still the one we wrote. Once it is removed,
    // the name is free for the system to give another file.
    bool fileIsOurs_ = false;
    BassEntryPoints api_;
};

// The temporary folder of this session ($TMPDIR, else /tmp).
std::string DefaultTempFolder();

struct DecodedDuration
{
    TimeMs durationMs = 0;
    std::uint32_t sampleRate = 0;
};
// The decoded length of a file through a decode-only stream; none when the
// library is not available or cannot open the file. A rate the stream does
// not report is 0: the caller uses its own.
std::optional<DecodedDuration> MeasureDecodedDuration(const PlaybackService& playback,
                                                      const std::string& path);

// The decoded byte position of `time` in a stream of `lengthBytes` bytes and
// `totalMs` milliseconds: 0 at time 0 or without a length, the whole length at
// or after the end, else proportional and truncated.
std::uint64_t StreamBytePosition(TimeMs time, TimeMs totalMs, std::uint64_t lengthBytes);

} // namespace keldro
