// The process being asked to end (SIGINT, SIGTERM, SIGHUP): long work polls
// this between units and stops as if the user had pressed stop, without
// asking, leaving nothing half-written.
#pragma once

namespace keldro {

// Records the signal; safe to call from a signal handler.
void NoteInterruption(int signal) noexcept;
// The signal that asked the process to end, or 0.
int PendingInterruption() noexcept;
// Forgets a recorded signal (tests, and a front end that goes on after it).
void ClearInterruption() noexcept;

} // namespace keldro
