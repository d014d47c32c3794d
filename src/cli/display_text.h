// Bytes from files (tags, names) as UTF-8 for a terminal or JSON: valid UTF-8
// is kept, anything else is read as GB18030, and what even that cannot read
// becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace keldro::cli {

std::string ToDisplayText(std::string_view bytes);

} // namespace keldro::cli
