#include "time_format.h"

#include <array>
#include <cstdio>
#include <limits>
#include <optional>

namespace keldro {
namespace {

// Beyond this a field is out of range anyway; stopping here keeps the sums in 64 bits.
constexpr std::int64_t kNumberLimit = 1'000'000'000;

struct Breakdown
{
    unsigned hours;
    unsigned minutesInHour;
    unsigned totalMinutes;
    unsigned seconds;
    unsigned millis;
};

Breakdown Break(TimeMs ms)
{
    Breakdown b{};
    b.hours = ms / 3'600'000u;
    b.minutesInHour = (ms % 3'600'000u) / 60'000u;
    b.totalMinutes = b.hours * 60u + b.minutesInHour;
    b.seconds = (ms - b.totalMinutes * 60'000u) / 1000u;
    b.millis = ms % 1000u;
    return b;
}

std::string_view After(std::string_view text, size_t pos)
{
    return pos + 1 <= text.size() ? text.substr(pos + 1) : std::string_view{};
}

// Negative fields and totals beyond 32 bits are out of range like any other
// bad field: a time that wrapped around would be a plainly wrong value.
TimeMs Combine(std::int64_t hours, std::int64_t minutes, std::int64_t seconds, std::int64_t millis)
{
    if (hours < 0 || minutes < 0 || seconds < 0 || millis < 0)
        return 0;
    const std::int64_t total = ((hours * 60 + minutes) * 60 + seconds) * 1000 + millis;
    if (total > std::numeric_limits<TimeMs>::max())
        return 0;
    return static_cast<TimeMs>(total);
}

TimeMs ParseDisplay(std::string_view text)
{
    const size_t first = text.find(':');
    if (first == std::string_view::npos)
        return 0;
    const size_t second = text.find(':', first + 1);
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    size_t secondsColon = first;
    if (second != std::string_view::npos) {
        hours = ReadLeadingNumber(text);
        minutes = ReadLeadingNumber(After(text, first));
        secondsColon = second;
    } else {
        minutes = ReadLeadingNumber(text);
    }
    const size_t dot = text.find('.', secondsColon + 1);
    if (dot == std::string_view::npos)
        return 0;
    const std::int64_t seconds = ReadLeadingNumber(After(text, secondsColon));
    const std::int64_t millis = ReadLeadingNumber(After(text, dot));
    if (minutes > 59 || seconds > 59 || millis > 999)
        return 0;
    return Combine(hours, minutes, seconds, millis);
}

// Both other styles have three fields behind two colons.
std::optional<std::array<std::int64_t, 3>> ReadThreeFields(std::string_view text)
{
    const size_t first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const size_t second = text.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    return std::array{ReadLeadingNumber(text), ReadLeadingNumber(After(text, first)),
                      ReadLeadingNumber(After(text, second))};
}

TimeMs ParseClock(std::string_view text)
{
    const auto fields = ReadThreeFields(text);
    if (!fields || (*fields)[1] > 59 || (*fields)[2] > 59)
        return 0;
    return Combine((*fields)[0], (*fields)[1], (*fields)[2], 0);
}

TimeMs ParseCue(std::string_view text)
{
    const auto fields = ReadThreeFields(text);
    if (!fields || (*fields)[1] > 59 || (*fields)[2] * 10 > 999)
        return 0;
    return Combine(0, (*fields)[0], (*fields)[1], (*fields)[2] * 10);
}

} // namespace

std::int64_t ReadLeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kNumberLimit)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::string FormatTime(TimeMs ms, TimeStyle style)
{
    const Breakdown b = Break(ms);
    char buffer[40] = {};
    switch (style) {
    case TimeStyle::Clock:
        std::snprintf(buffer, sizeof buffer, "%u:%02u:%02u", b.hours, b.minutesInHour, b.seconds);
        break;
    case TimeStyle::Display:
        if (b.hours > 0)
            std::snprintf(buffer, sizeof buffer, "%u:%02u:%02u.%03u", b.hours, b.minutesInHour,
                          b.seconds, b.millis);
        else
            std::snprintf(buffer, sizeof buffer, "%u:%02u.%03u", b.minutesInHour, b.seconds,
                          b.millis);
        break;
    case TimeStyle::Cue:
        std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", b.totalMinutes, b.seconds,
                      b.millis / 10);
        break;
    }
    return buffer;
}

TimeMs ParseTime(std::string_view text, TimeStyle style)
{
    switch (style) {
    case TimeStyle::Clock:
        return ParseClock(text);
    case TimeStyle::Display:
        return ParseDisplay(text);
    case TimeStyle::Cue:
        return ParseCue(text);
    }
    return 0;
}

std::string CueTimeToDisplay(std::string_view cueText)
{
    return FormatTime(ParseTime(cueText, TimeStyle::Cue), TimeStyle::Display);
}

std::string DisplayTimeToCue(std::string_view displayText)
{
    return FormatTime(ParseTime(displayText, TimeStyle::Display), TimeStyle::Cue);
}

std::uint32_t TruncateToU32(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

} // namespace keldro
