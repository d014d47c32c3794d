// Bytes from files (tags, names) as UTF-8 for a terminal or JSON: valid UTF-8
// is kept, anything else is read as GB18030, and what even that cannot read
// becomes U+FFFD.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace keldro::cli {

std::string ToDisplayText(std::string_view bytes);

// Sets object[key] to a path as display text; a path that is not valid UTF-8
// also gets key + "_bytes", its bytes in hex, so that scripts can find the file.
void PutPath(nlohmann::ordered_json& object, const std::string& key, std::string_view path);

} // namespace keldro::cli
