// The temporary files of outputs being written, kept where a signal handler
// can remove them without allocating or locking.
#pragma once

namespace keldro::unfinished {

// Registers a temporary file's path; -1 when every slot is taken (the file is
// then only removed by its owner).
int Register(const char* path) noexcept;
void Unregister(int slot) noexcept;
// Unlinks every registered file; async-signal-safe.
void RemoveAll() noexcept;

} // namespace keldro::unfinished
