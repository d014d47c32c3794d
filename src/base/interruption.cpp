#include "base/interruption.h"

#include <csignal>

namespace keldro {
namespace {

volatile std::sig_atomic_t g_signal = 0;

} // namespace

void NoteInterruption(int signal) noexcept
{
    g_signal = signal;
}

int PendingInterruption() noexcept
{
    return g_signal;
}

void ClearInterruption() noexcept
{
    g_signal = 0;
}

} // namespace keldro
