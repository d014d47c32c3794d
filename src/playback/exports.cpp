// The library's entry points that concern the library as a whole; those of
// streams and channels are in exports_channel.cpp. Each takes the player's
// lock, does one thing and records its error code (the output's control first
// does its work in SDL without that lock); the calls the program never makes
// answer safely.
#include "playback/bass.h"
#include "playback/player.h"

using keldro::playback::Guard;
using keldro::playback::P;

namespace {

// Records the result of a call of the output's control; with the lock held.
BOOL Outcome(int result)
{
    if (result != BASS_OK)
        return P().Fail(result, 0);
    P().Succeed();
    return 1;
}

} // namespace

extern "C" {

DWORD BASS_GetConfig(DWORD)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, BASS_DWORD_ERROR);
}

DWORD BASS_SetConfig(DWORD, DWORD)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, BASS_DWORD_ERROR);
}

int BASS_ErrorGetCode(void)
{
    const Guard lock(P().Lock());
    return P().Error();
}

BOOL BASS_Free(void)
{
    const int result = P().Free();
    const Guard lock(P().Lock());
    return Outcome(result);
}

float BASS_GetCPU(void)
{
    return 0.0f;
}

DWORD BASS_GetDevice(void)
{
    const Guard lock(P().Lock());
    if (!P().Initialised())
        return P().Fail(BASS_ERROR_INIT, BASS_DWORD_ERROR);
    P().Succeed();
    return static_cast<DWORD>(P().Device());
}

const char* BASS_GetDeviceDescription(DWORD device)
{
    if (device == 0)
        return "No sound";
    return device == 1 ? "Default" : nullptr;
}

void* BASS_GetDSoundObject(DWORD)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, nullptr);
}

BOOL BASS_GetInfo(void*)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, 0);
}

DWORD BASS_GetVersion(void)
{
    return BASS_VERSION_NUMBER;
}

DWORD BASS_GetVolume(void)
{
    const Guard lock(P().Lock());
    if (!P().Initialised())
        return P().Fail(BASS_ERROR_INIT, BASS_DWORD_ERROR);
    P().Succeed();
    return 100;
}

BOOL BASS_Init(int device, DWORD freq, DWORD, void*, const void*)
{
    const int result = P().Init(device, freq);
    const Guard lock(P().Lock());
    return Outcome(result);
}

BOOL BASS_Pause(void)
{
    const int result = P().PauseOutput(true);
    const Guard lock(P().Lock());
    return Outcome(result);
}

BOOL BASS_SetDevice(DWORD device)
{
    const Guard lock(P().Lock());
    if (!P().Initialised() || static_cast<int>(device) != P().Device())
        return P().Fail(BASS_ERROR_DEVICE, 0);
    P().Succeed();
    return 1;
}

BOOL BASS_SetVolume(DWORD)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, 0);
}

BOOL BASS_Start(void)
{
    const int result = P().PauseOutput(false);
    const Guard lock(P().Lock());
    return Outcome(result);
}

BOOL BASS_Stop(void)
{
    const Guard lock(P().Lock());
    if (!P().Initialised())
        return P().Fail(BASS_ERROR_INIT, 0);
    P().StopAll();
    P().Succeed();
    return 1;
}

BOOL BASS_Update(void)
{
    const Guard lock(P().Lock());
    P().Succeed();
    return 1;
}

HSTREAM BASS_StreamCreate(DWORD, DWORD, DWORD, STREAMPROC*, void*)
{
    const Guard lock(P().Lock());
    return P().Fail(BASS_ERROR_NOTAVAIL, 0);
}

} // extern "C"
