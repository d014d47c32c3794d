// The position, its sliders and moves, the context the page gives, and which
// controls are enabled.
#include "splitter/position_controller.h"

#include <algorithm>

namespace keldro {

int SliderValue(TimeMs time, TimeMs total)
{
    if (total == 0)
        return 0;
    const double value = static_cast<double>(time) / total * kSliderMaximum + 0.5;
    return static_cast<int>(std::min(value, static_cast<double>(kSliderMaximum)));
}

TimeMs SliderTime(int value, TimeMs total)
{
    const int clamped = std::clamp(value, 0, kSliderMaximum);
    return static_cast<TimeMs>(static_cast<double>(clamped) / kSliderMaximum * total);
}

PositionController::PositionController(PlaybackStream& stream, WaitClock& clock,
                                       UserInteraction& ui)
    : stream_(stream), clock_(clock), user_(ui)
{}

void PositionController::SetSizes(TimeMs step, TimeMs page)
{
    step_ = step;
    page_ = page;
}

void PositionController::SetContext(const PositionContext& context)
{
    context_ = context;
    if (!context_.loaded) {
        Reset();
        return;
    }
    // A shorter source than the last one: the position stays inside it.
    if (position_ > context_.total || fieldTime_ > context_.total) {
        position_ = std::min(position_, context_.total);
        fieldTime_ = std::min(fieldTime_, context_.total);
        positionSlider_ = SliderValue(position_, context_.total);
    }
    if (previewing_ && !context_.trackSelected)
        StopPreview();
    if (!previewing_)
        selectedRange_ = context_.trackSelected ? context_.rawRange : std::pair<TimeMs, TimeMs>{};
}

void PositionController::Reset()
{
    StopAll();
    position_ = 0;
    fieldTime_ = 0;
    positionSlider_ = 0;
    trackSlider_ = 0;
    trackTime_ = 0;
    selectedRange_ = {};
}

bool PositionController::CanPlay() const
{
    return context_.loaded && !context_.running && stream_.CanPlay();
}

bool PositionController::IsEnabled(PositionControl control) const
{
    const bool track = context_.loaded && context_.trackSelected;
    switch (control) {
    case PositionControl::TimeField:
        return context_.loaded;
    case PositionControl::Play:
        return CanPlay();
    case PositionControl::FastForward: // only the speed changes: no seek
        return context_.loaded && stream_.CanPlay();
    case PositionControl::Pause:
        return playing_;
    case PositionControl::Before:
        return CanPlay() && !playing_ && position_ > 0;
    case PositionControl::After:
        return CanPlay() && !playing_ && position_ < context_.total;
    case PositionControl::Preview:
        return track && CanPlay();
    case PositionControl::GoToStart:
    case PositionControl::GoToEnd:
        return track && context_.hasDecodedLength;
    }
    return false;
}

std::string PositionController::FastForwardText() const
{
    return fastForward_ == 0 ? std::string() : std::to_string(fastForward_);
}

void PositionController::SetPosition(TimeMs time)
{
    if (!context_.loaded || time > context_.total)
        return;
    position_ = time;
    if (playing_)
        stream_.Seek(time);
    positionSlider_ = SliderValue(time, context_.total);
}

// The time field shows the time and the position follows it: at once while
// playing, where the field's own change would be ignored, and otherwise as
// the field's change would.
void PositionController::MoveTo(TimeMs time)
{
    fieldTime_ = time;
    SetPosition(time);
}

void PositionController::TimeTyped(TimeMs time)
{
    if ((playing_ && !paused_) || !context_.loaded || time > context_.total)
        return;
    fieldTime_ = time;
    if (time != position_)
        SetPosition(time);
}

TimeMs PositionController::MovePosition(PositionMove move)
{
    if (!context_.loaded)
        return fieldTime_;
    const TimeMs t = fieldTime_;
    const TimeMs total = context_.total;
    auto forward = [&](TimeMs by) { return by >= total - std::min(t, total) ? total : t + by; };
    auto back = [&](TimeMs by) { return t < by ? 0 : t - by; };
    switch (move) {
    case PositionMove::StepForward:
        MoveTo(forward(step_));
        break;
    case PositionMove::StepBack:
        MoveTo(back(step_));
        break;
    case PositionMove::PageForward:
        MoveTo(forward(page_));
        break;
    case PositionMove::PageBack:
        MoveTo(back(page_));
        break;
    case PositionMove::Start:
        MoveTo(0);
        break;
    case PositionMove::End:
        MoveTo(total);
        break;
    }
    return fieldTime_;
}

void PositionController::PositionSliderMoved(int value)
{
    if (!context_.loaded)
        return;
    const int clamped = std::clamp(value, 0, kSliderMaximum);
    MoveTo(SliderTime(clamped, context_.total));
    // Where a slider step is shorter than a millisecond, the time's own value
    // may be a step lower: the slider stays where the user put it.
    positionSlider_ = clamped;
}

void PositionController::TrackSliderMoved(int value)
{
    trackSlider_ = std::clamp(value, 0, kSliderMaximum);
    const auto [start, end] = selectedRange_;
    const double fraction = static_cast<double>(trackSlider_) / kSliderMaximum;
    trackTime_ = start + static_cast<TimeMs>(fraction * (end - std::min(start, end)));
    if (previewing_) {
        stream_.Seek(trackTime_);
        stream_.Play();
    }
}

void PositionController::SelectionChanged()
{
    if (previewing_)
        StopPreview();
    selectedRange_ =
        context_.loaded && context_.trackSelected ? context_.rawRange : std::pair<TimeMs, TimeMs>{};
    trackSlider_ = 0;
    trackTime_ = selectedRange_.first;
}

void PositionController::GoToTrackStart()
{
    if (IsEnabled(PositionControl::GoToStart))
        MoveTo(context_.rawRange.first);
}

void PositionController::GoToTrackEnd()
{
    if (IsEnabled(PositionControl::GoToEnd))
        MoveTo(context_.rawRange.second);
}

} // namespace keldro
