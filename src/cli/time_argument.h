// TIME arguments: whole milliseconds ("65432") or a display-style time
// ("1:05.432", "1:02:05.004").
#pragma once

#include "timecue/time_format.h"

#include <optional>
#include <string_view>

namespace keldro::cli {

std::optional<TimeMs> ParseTimeArgument(std::string_view text);

} // namespace keldro::cli
