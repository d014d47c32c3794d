#include "taken_name.h"

#include "display_text.h"

#include <filesystem>

namespace keldro::cli {

std::optional<std::string> TakenName(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (!fs::exists(status))
        return std::nullopt;
    if (fs::is_symlink(status) && !fs::exists(path, error))
        return ToDisplayText(path) + " (a symbolic link to a missing file)";
    return ToDisplayText(path);
}

} // namespace keldro::cli
