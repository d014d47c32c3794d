// Row lists like "1,3-5": 1-based rows, single or as ranges.
#pragma once

#include <optional>
#include <set>
#include <string_view>

namespace keldro::cli {

// The rows, or nothing when the text is not such a list.
std::optional<std::set<int>> ParseRowList(std::string_view text);

} // namespace keldro::cli
