// The reason behind a failed file operation, as a line for the user.
#pragma once

#include <string>

namespace keldro {

// A short text for the system's error number; empty for 0.
std::string SystemErrorReason(int error);

} // namespace keldro
