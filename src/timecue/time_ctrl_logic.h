// CMyTimeCtrl's logic, what the masked time field decides: its text, the caret index, which times
// it takes and which keystrokes it refuses. The desktop widget wraps this class and leaves
// overtyping and separator skipping to the masked line edit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace keldro {

class TimeCtrlLogic
{
public:
    static constexpr std::string_view kMask = "00:00:00.000";
    static constexpr std::string_view kTemplate = "__:__:__.___";
    static constexpr std::string_view kDefaultText = "00:00:00.000";
    static constexpr int kLength = 12;

    // "hh:mm:ss.mmm"; hours are not wrapped.
    static std::string TextOf(std::int64_t ms);
    // Reads a shown text without range checks (the key checks keep fields in range).
    static std::int64_t ReadText(std::string_view text);
    static bool IsDigitPosition(int index);

    // Ignored unless ms > 0; puts the caret where typing can first change the value.
    void SetMaxTime(std::int64_t ms);
    // Shows ms when 0 <= ms <= maximum; returns the value shown afterwards.
    std::int64_t SetTime(std::int64_t ms);
    std::int64_t GetTime() const { return ReadText(text_); }
    // The widget reports what the user's editing left in the field.
    void SetText(std::string text) { text_ = std::move(text); }
    bool AcceptsKey(int index, char key) const;

    const std::string& Text() const { return text_; }
    int CaretIndex() const { return caretIndex_; }
    std::int64_t MaxTime() const { return maxTime_; }

private:
    std::string text_{kDefaultText};
    std::int64_t maxTime_ = 0;
    int caretIndex_ = 0;
};

} // namespace keldro
