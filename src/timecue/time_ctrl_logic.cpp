#include "time_ctrl_logic.h"

#include "time_format.h"

#include <cstdio>

namespace keldro {
namespace {

// Splits at the first separator; false when there is none or it comes first.
bool SplitAt(std::string_view text, char separator, std::string_view& before,
             std::string_view& after)
{
    const size_t pos = text.find(separator);
    if (pos == std::string_view::npos || pos == 0)
        return false;
    before = text.substr(0, pos);
    after = text.substr(pos + 1);
    return true;
}

} // namespace

std::string TimeCtrlLogic::TextOf(std::int64_t ms)
{
    char buffer[48] = {};
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(ms / 3'600'000), static_cast<long long>(ms / 60'000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return buffer;
}

std::int64_t TimeCtrlLogic::ReadText(std::string_view text)
{
    std::string_view before;
    std::string_view rest;
    if (!SplitAt(text, ':', before, rest))
        return 0;
    const std::int64_t hours = ReadLeadingNumber(before) * 3'600'000;
    if (!SplitAt(rest, ':', before, rest))
        return hours;
    const std::int64_t minutes = ReadLeadingNumber(before) * 60'000;
    if (!SplitAt(rest, '.', before, rest))
        return hours + minutes;
    return hours + minutes + ReadLeadingNumber(before) * 1000 + ReadLeadingNumber(rest);
}

bool TimeCtrlLogic::IsDigitPosition(int index)
{
    return index >= 0 && index < kLength && kMask[static_cast<size_t>(index)] == '0';
}

void TimeCtrlLogic::SetMaxTime(std::int64_t ms)
{
    if (ms <= 0)
        return;
    maxTime_ = ms;
    const std::string text = TextOf(ms);
    const size_t first = text.find_first_not_of("0:.");
    caretIndex_ = first == std::string::npos ? kLength : static_cast<int>(first);
}

std::int64_t TimeCtrlLogic::SetTime(std::int64_t ms)
{
    if (ms >= 0 && ms <= maxTime_)
        text_ = TextOf(ms);
    return GetTime();
}

bool TimeCtrlLogic::AcceptsKey(int index, char key) const
{
    if (!IsDigitPosition(index) || key < '0' || key > '9')
        return false;
    if ((index == 3 || index == 6) && key > '5')
        return false;
    std::string candidate = text_;
    if (candidate.size() < kDefaultText.size())
        candidate += kDefaultText.substr(candidate.size());
    candidate[static_cast<size_t>(index)] = key;
    return ReadText(candidate) <= maxTime_;
}

} // namespace keldro
