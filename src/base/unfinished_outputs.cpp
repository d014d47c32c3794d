#include "base/unfinished_outputs.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace keldro::unfinished {
namespace {

// A run writes one output at a time; a few slots leave room for tests and tools.
constexpr std::size_t kSlots = 8;

enum : int
{
    kFree,
    kClaimed, // its name is being written
    kReady,
};

struct Slot
{
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};

std::array<Slot, kSlots> g_slots;

} // namespace

int Register(const char* path) noexcept
{
    const std::size_t length = std::strlen(path);
    if (length >= PATH_MAX)
        return -1;
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = g_slots[i];
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kClaimed))
            continue;
        std::memcpy(slot.path, path, length + 1);
        // Ready only once the name is complete: a handler never reads half a name.
        slot.state.store(kReady, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

void Unregister(int slot) noexcept
{
    if (slot >= 0 && static_cast<std::size_t>(slot) < kSlots)
        g_slots[static_cast<std::size_t>(slot)].state.store(kFree, std::memory_order_release);
}

void RemoveAll() noexcept
{
    for (Slot& slot : g_slots) {
        if (slot.state.load(std::memory_order_acquire) == kReady)
            ::unlink(slot.path);
    }
}

} // namespace keldro::unfinished
