// Whether an output's name is taken before anything is written.
#pragma once

#include <optional>
#include <string>

namespace keldro::cli {

// The path as display text when something has that name: a file, or a link,
// one to nowhere included (writing would replace the link, so it is said).
// Nothing when the name is free.
std::optional<std::string> TakenName(const std::string& path);

} // namespace keldro::cli
