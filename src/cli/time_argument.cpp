#include "time_argument.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace keldro::cli {
namespace {

bool AllDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "m:ss", "h:mm:ss", each with 1 to 3 fraction digits or none, made into the
// display style the parser reads ("1:05.5" is 1:05.500, not 1:05.005).
std::optional<std::string> ToDisplayStyle(std::string_view text)
{
    std::string_view fraction;
    if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
        fraction = text.substr(dot + 1);
        text = text.substr(0, dot);
        if (!AllDigits(fraction) || fraction.size() > 3)
            return std::nullopt;
    }
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    if (fields.size() < 2 || fields.size() > 3 ||
        !std::all_of(fields.begin(), fields.end(), AllDigits))
        return std::nullopt;
    std::string display(text);
    display += '.';
    display += fraction;
    display.append(3 - fraction.size(), '0');
    return display;
}

} // namespace

std::optional<TimeMs> ParseTimeArgument(std::string_view text)
{
    if (AllDigits(text)) {
        TimeMs value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size())
            return std::nullopt;
        return value;
    }
    const std::optional<std::string> display = ToDisplayStyle(text);
    if (!display)
        return std::nullopt;
    const TimeMs parsed = ParseTime(*display, TimeStyle::Display);
    if (parsed != 0)
        return parsed;
    // The parser's 0 is also a valid zero time: accept it when written as one.
    const bool zero = std::all_of(display->begin(), display->end(),
                                  [](char c) { return c == '0' || c == ':' || c == '.'; });
    return zero ? std::optional<TimeMs>(0) : std::nullopt;
}

} // namespace keldro::cli
