/* The C interface of Keldro's playback library: the entry points the program
 * resolves by name, their types and the values they take. Decoded audio is
 * counted in bytes of 16-bit PCM at the stream's own rate and channels. */
#ifndef KELDRO_PLAYBACK_BASS_H
#define KELDRO_PLAYBACK_BASS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t DWORD;
typedef uint64_t QWORD;
typedef int BOOL;
typedef DWORD HSTREAM;

#define BASS_VERSION_NUMBER 0x20002u
/* What a call that returns a DWORD answers on failure */
#define BASS_DWORD_ERROR 0xFFFFFFFFu

/* BASS_StreamCreateFile flags */
#define BASS_STREAM_PRESCAN 0x20000u /* exact length and seeking */
#define BASS_STREAM_DECODE 0x200000u /* decode only: never played */

/* BASS_StreamGetFilePosition modes; 0 and 2 count from the start of the
 * audio data, which mode 3 gives as a file offset. */
#define BASS_FILEPOS_CURRENT 0u
#define BASS_FILEPOS_DOWNLOAD 1u
#define BASS_FILEPOS_END 2u
#define BASS_FILEPOS_START 3u
#define BASS_FILEPOS_ERROR BASS_DWORD_ERROR

/* BASS_ChannelIsActive */
#define BASS_ACTIVE_STOPPED 0u
#define BASS_ACTIVE_PLAYING 1u
#define BASS_ACTIVE_STALLED 2u
#define BASS_ACTIVE_PAUSED 3u

/* BASS_ChannelSetAttributes: values that leave an attribute as it is */
#define BASS_KEEP_FREQUENCY (-1)
#define BASS_KEEP_VOLUME (-1)
#define BASS_KEEP_PAN (-101)

/* BASS_Init devices */
#define BASS_DEVICE_DEFAULT (-1)
#define BASS_DEVICE_NOSOUND 0

/* BASS_ErrorGetCode */
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_FILEOPEN 2
#define BASS_ERROR_DRIVER 3
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_POSITION 7
#define BASS_ERROR_INIT 8
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_DEVICE 23
#define BASS_ERROR_NOPLAY 24
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_DECODE 38
#define BASS_ERROR_FILEFORM 41
#define BASS_ERROR_UNKNOWN (-1)

typedef DWORD(STREAMPROC)(HSTREAM handle, void* buffer, DWORD length, void* user);

#define KELDRO_PLAYBACK_API __attribute__((visibility("default")))

KELDRO_PLAYBACK_API DWORD BASS_GetConfig(DWORD option);
KELDRO_PLAYBACK_API DWORD BASS_SetConfig(DWORD option, DWORD value);
KELDRO_PLAYBACK_API int BASS_ErrorGetCode(void);
KELDRO_PLAYBACK_API BOOL BASS_Free(void);
KELDRO_PLAYBACK_API float BASS_GetCPU(void);
KELDRO_PLAYBACK_API DWORD BASS_GetDevice(void);
KELDRO_PLAYBACK_API const char* BASS_GetDeviceDescription(DWORD device);
KELDRO_PLAYBACK_API void* BASS_GetDSoundObject(DWORD object);
KELDRO_PLAYBACK_API BOOL BASS_GetInfo(void* info);
KELDRO_PLAYBACK_API DWORD BASS_GetVersion(void);
KELDRO_PLAYBACK_API DWORD BASS_GetVolume(void);
KELDRO_PLAYBACK_API BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window,
                                   const void* clsid);
KELDRO_PLAYBACK_API BOOL BASS_Pause(void);
KELDRO_PLAYBACK_API BOOL BASS_SetDevice(DWORD device);
KELDRO_PLAYBACK_API BOOL BASS_SetVolume(DWORD volume);
KELDRO_PLAYBACK_API BOOL BASS_Start(void);
KELDRO_PLAYBACK_API BOOL BASS_Stop(void);
KELDRO_PLAYBACK_API BOOL BASS_Update(void);
KELDRO_PLAYBACK_API HSTREAM BASS_StreamCreate(DWORD freq, DWORD chans, DWORD flags,
                                              STREAMPROC* proc, void* user);
KELDRO_PLAYBACK_API HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset,
                                                  DWORD length, DWORD flags);
KELDRO_PLAYBACK_API BOOL BASS_StreamFree(HSTREAM handle);
KELDRO_PLAYBACK_API DWORD BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode);
KELDRO_PLAYBACK_API const char* BASS_StreamGetTags(HSTREAM handle, DWORD tags);
KELDRO_PLAYBACK_API QWORD BASS_ChannelGetPosition(DWORD handle);
KELDRO_PLAYBACK_API BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos);
KELDRO_PLAYBACK_API QWORD BASS_ChannelGetLength(DWORD handle);
KELDRO_PLAYBACK_API BOOL BASS_ChannelGetAttributes(DWORD handle, DWORD* freq, DWORD* volume,
                                                   int* pan);
KELDRO_PLAYBACK_API BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan);
KELDRO_PLAYBACK_API BOOL BASS_ChannelPause(DWORD handle);
KELDRO_PLAYBACK_API BOOL BASS_ChannelStop(DWORD handle);
KELDRO_PLAYBACK_API BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
KELDRO_PLAYBACK_API DWORD BASS_ChannelIsActive(DWORD handle);
KELDRO_PLAYBACK_API QWORD BASS_ChannelSeconds2Bytes(DWORD handle, float pos);
KELDRO_PLAYBACK_API float BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);

#ifdef __cplusplus
}
#endif

#endif
