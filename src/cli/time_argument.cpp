#include "time_argument.h"

#include <algorithm>
#include <charconv>

namespace keldro::cli {

std::optional<TimeMs> ParseTimeArgument(std::string_view text)
{
    if (!text.empty() &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        TimeMs value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size())
            return std::nullopt;
        return value;
    }
    const TimeMs parsed = ParseTime(text, TimeStyle::Display);
    if (parsed != 0)
        return parsed;
    // The parser's 0 is also a valid zero time: accept it when written as one.
    const bool zeroText = text.find(':') != std::string_view::npos &&
                          text.find('.') != std::string_view::npos &&
                          std::all_of(text.begin(), text.end(),
                                      [](char c) { return c == '0' || c == ':' || c == '.'; });
    return zeroText ? std::optional<TimeMs>(0) : std::nullopt;
}

} // namespace keldro::cli
