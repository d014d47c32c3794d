// The entry points of streams and channels.
#include "playback/bass.h"
#include "playback/player.h"

#include <memory>

using keldro::playback::Channel;
using keldro::playback::Guard;
using keldro::playback::Lookup;
using keldro::playback::P;
using keldro::playback::PlayState;

extern "C" {

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    const Guard lock(P().Lock());
    if (mem || !file || offset != 0 || length != 0)
        return P().Fail(BASS_ERROR_NOTAVAIL, 0u);
    const bool decodeOnly = (flags & BASS_STREAM_DECODE) != 0;
    // Decoding needs no device; playing needs BASS_Init first.
    if (!decodeOnly && !P().Initialised())
        return P().Fail(BASS_ERROR_INIT, 0u);
    auto channel = std::make_unique<Channel>();
    if (!channel->Open(static_cast<const char*>(file), (flags & BASS_STREAM_PRESCAN) != 0,
                       decodeOnly))
        return P().Fail(BASS_ERROR_FILEFORM, 0u);
    P().Succeed();
    return P().Add(std::move(channel));
}

BOOL BASS_StreamFree(HSTREAM handle)
{
    const Guard lock(P().Lock());
    if (!P().Remove(handle))
        return P().Fail(BASS_ERROR_HANDLE, 0);
    P().Succeed();
    return 1;
}

DWORD BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode)
{
    const Guard lock(P().Lock());
    Channel* channel = Lookup(handle);
    if (!channel)
        return BASS_FILEPOS_ERROR;
    const auto& source = channel->Source();
    int64_t position = -1;
    if (mode == BASS_FILEPOS_CURRENT)
        position = channel->Source().CurrentFrameOffset() - source.DataStart();
    else if (mode == BASS_FILEPOS_DOWNLOAD || mode == BASS_FILEPOS_END)
        position = source.DataEnd() - source.DataStart();
    else if (mode == BASS_FILEPOS_START)
        position = source.DataStart();
    if (position < 0 || position >= static_cast<int64_t>(BASS_FILEPOS_ERROR))
        return P().Fail(BASS_ERROR_NOTAVAIL, BASS_FILEPOS_ERROR);
    P().Succeed();
    return static_cast<DWORD>(position);
}

const char* BASS_StreamGetTags(HSTREAM, DWORD)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, nullptr);
}

QWORD BASS_ChannelGetPosition(DWORD handle)
{
    const Guard lock(P().Lock());
    const Channel* channel = Lookup(handle);
    if (!channel)
        return ~QWORD{0};
    P().Succeed();
    return channel->PositionBytes();
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos)
{
    const Guard lock(P().Lock());
    Channel* channel = Lookup(handle);
    if (!channel)
        return 0;
    if (!channel->SetPositionBytes(pos))
        return P().Fail(BASS_ERROR_POSITION, 0);
    P().Succeed();
    return 1;
}

QWORD BASS_ChannelGetLength(DWORD handle)
{
    const Guard lock(P().Lock());
    const Channel* channel = Lookup(handle);
    if (!channel)
        return ~QWORD{0};
    P().Succeed();
    return channel->LengthBytes();
}

BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume, int* pan)
{
    const Guard lock(P().Lock());
    const Channel* channel = Lookup(handle);
    if (!channel)
        return 0;
    if (freq)
        *freq = channel->Frequency();
    if (volume)
        *volume = channel->Volume();
    if (pan)
        *pan = channel->Pan();
    P().Succeed();
    return 1;
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan)
{
    const Guard lock(P().Lock());
    Channel* channel = Lookup(handle);
    if (!channel)
        return 0;
    const bool freqOk = freq == BASS_KEEP_FREQUENCY || (freq >= 0 && freq <= 1000000);
    const bool volumeOk = volume == BASS_KEEP_VOLUME || (volume >= 0 && volume <= 100);
    const bool panOk = pan == BASS_KEEP_PAN || (pan >= -100 && pan <= 100);
    if (!freqOk || !volumeOk || !panOk)
        return P().Fail(BASS_ERROR_ILLPARAM, 0);
    // A frequency of 0 goes back to the stream's own rate.
    if (freq != BASS_KEEP_FREQUENCY)
        channel->SetFrequency(freq == 0 ? static_cast<uint32_t>(channel->Source().Rate())
                                        : static_cast<uint32_t>(freq));
    if (volume != BASS_KEEP_VOLUME)
        channel->SetVolume(static_cast<uint32_t>(volume));
    if (pan != BASS_KEEP_PAN)
        channel->SetPan(pan);
    P().Succeed();
    return 1;
}

BOOL BASS_ChannelPause(DWORD handle)
{
    const Guard lock(P().Lock());
    Channel* channel = Lookup(handle);
    if (!channel)
        return 0;
    if (channel->State() != PlayState::Playing)
        return P().Fail(BASS_ERROR_NOPLAY, 0);
    channel->SetState(PlayState::Paused);
    P().Succeed();
    return 1;
}

BOOL BASS_ChannelStop(DWORD handle)
{
    const Guard lock(P().Lock());
    Channel* channel = Lookup(handle);
    if (!channel)
        return 0;
    channel->SetState(PlayState::Stopped);
    P().Succeed();
    return 1;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart)
{
    const Guard lock(P().Lock());
    Channel* channel = Lookup(handle);
    if (!channel)
        return 0;
    if (channel->DecodeOnly())
        return P().Fail(BASS_ERROR_DECODE, 0);
    if (!P().HasOutput())
        return P().Fail(BASS_ERROR_NOPLAY, 0);
    if (restart && !channel->SetPositionBytes(0))
        return P().Fail(BASS_ERROR_POSITION, 0);
    channel->SetState(PlayState::Playing);
    P().Succeed();
    return 1;
}

DWORD BASS_ChannelIsActive(DWORD handle)
{
    const Guard lock(P().Lock());
    const Channel* channel = Lookup(handle);
    if (!channel)
        return BASS_ACTIVE_STOPPED;
    P().Succeed();
    switch (channel->State()) {
    case PlayState::Playing:
        return BASS_ACTIVE_PLAYING;
    case PlayState::Paused:
        return BASS_ACTIVE_PAUSED;
    case PlayState::Stopped:
        break;
    }
    return BASS_ACTIVE_STOPPED;
}

QWORD BASS_ChannelSeconds2Bytes(DWORD handle, float pos)
{
    const Guard lock(P().Lock());
    const Channel* channel = Lookup(handle);
    if (!channel)
        return ~QWORD{0};
    P().Succeed();
    return channel->SecondsToBytes(pos);
}

float BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos)
{
    const Guard lock(P().Lock());
    const Channel* channel = Lookup(handle);
    if (!channel)
        return -1.0f;
    P().Succeed();
    return static_cast<float>(channel->BytesToSeconds(pos));
}

} // extern "C"
