// A playback library of the wrong version, for the loader's refusal.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::uint32_t BASS_GetVersion()
{
    return 0x20001;
}

extern "C" __attribute__((visibility("default"))) int BASS_Free()
{
    return 1;
}
