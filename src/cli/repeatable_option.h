// Options given more than once: each occurrence takes exactly one value, so
// that the files after an option are never taken for more of its values.
#pragma once

#include <CLI/CLI.hpp>

namespace keldro::cli {

inline CLI::Option* OneValueEach(CLI::Option* option)
{
    return option->expected(1)->allow_extra_args(false)->multi_option_policy(
        CLI::MultiOptionPolicy::TakeAll);
}

} // namespace keldro::cli
