// keldro-cli: the command line over the core. Exit codes: 0 done, 1 failed or
// refused, 2 usage error.
#pragma once

#include <iosfwd>

namespace keldro::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace keldro::cli
