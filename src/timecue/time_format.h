// Text forms of a time value (an unsigned count of milliseconds).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace keldro {

using TimeMs = std::uint32_t;

enum class TimeStyle
{
    Clock,   // h:mm:ss, milliseconds dropped (merge page durations)
    Display, // [h:]m:ss.mmm (every time on the split page)
    Cue,     // mm:ss:hh, minutes not wrapped, hundredths (CUE INDEX lines)
};

std::string FormatTime(TimeMs ms, TimeStyle style);

// Truncates toward zero into 32 bits; out-of-range values saturate instead of
// being undefined.
std::uint32_t TruncateToU32(double value);
// Seconds as whole milliseconds, truncated and saturated.
inline TimeMs SecondsToMs(double seconds)
{
    return TruncateToU32(seconds * 1000.0);
}

// Returns 0 for text that does not have the style's shape or has a field out of
// range; 0 is also a valid zero time, so callers needing a positive time treat
// 0 as invalid.
TimeMs ParseTime(std::string_view text, TimeStyle style);

std::string CueTimeToDisplay(std::string_view cueText);
std::string DisplayTimeToCue(std::string_view displayText);

// Reads a number the way C's atoi does: leading blanks, an optional sign, digits
// up to the first non-digit; no digits read as 0. Saturates instead of overflowing.
std::int64_t ReadLeadingNumber(std::string_view text);

} // namespace keldro
