// What plays from the position: playback with pause and fast-forward, the two
// seconds around the position, the preview of the selected track, and what
// each tick of their timers does.
#include "base/user_interaction.h"
#include "splitter/position_controller.h"
#include "string_table.h"

#include <algorithm>

namespace keldro {

void PositionController::StopAll()
{
    TakeStream();
    if (playing_)
        StopPlaying();
    if (previewing_)
        StopPreview();
    // Whatever the flags say, a split run seeks this stream next.
    stream_.Stop();
}

void PositionController::StopPlaying()
{
    position_ = std::min(position_, context_.total);
    positionSlider_ = SliderValue(position_, context_.total);
    stream_.Stop();
    playing_ = false;
    paused_ = false;
    fieldTime_ = position_;
}

void PositionController::TogglePlay()
{
    if (playing_) {
        StopPlaying();
        return;
    }
    if (!CanPlay())
        return;
    if (previewing_)
        StopPreview();
    paused_ = false;
    position_ = fieldTime_;
    if (position_ >= context_.total)
        return;
    TakeStream();
    stream_.Seek(position_);
    stream_.Play();
    playing_ = true;
}

void PositionController::TogglePause()
{
    if (!playing_)
        return;
    if (paused_)
        stream_.Play();
    else
        stream_.Pause();
    paused_ = !paused_;
}

void PositionController::StopPreview()
{
    trackSlider_ = 0;
    trackTime_ = context_.effectiveRange.first;
    stream_.Stop();
    previewing_ = false;
}

bool PositionController::TogglePreview()
{
    if (previewing_) {
        StopPreview();
        return true;
    }
    if (playing_)
        StopPlaying();
    if (!context_.loaded || !context_.trackSelected) {
        user_.ShowMessage(LoadString(StringId::SelectItemFirst), MessageIcon::Warning,
                          MessageButtons::Ok);
        return false;
    }
    if (!CanPlay())
        return false;
    const auto [start, end] = context_.effectiveRange;
    selectedRange_ = {start, end};
    const TimeMs length = end - std::min(start, end);
    const auto into = static_cast<TimeMs>(static_cast<double>(trackSlider_) / kSliderMaximum *
                                          static_cast<double>(length));
    if (into >= length)
        return false;
    TakeStream();
    stream_.Seek(start + into);
    stream_.Play();
    previewing_ = true;
    return true;
}

// The position the controller keeps is exact: typed, moved by keys, or the
// time of the slider's value when the slider moved it last. Reading it back
// from the slider instead would lose up to half a slider step (27 ms in an
// hour) and, in a source shorter than 65 s, move it lower at every press.
void PositionController::PlayAround(bool before)
{
    if (playingAround_ || !CanPlay())
        return;
    if (playing_)
        StopPlaying();
    if (previewing_)
        StopPreview();
    const TimeMs total = context_.total;
    const TimeMs from = before ? (position_ > kAroundMs ? position_ - kAroundMs : 0) : position_;
    const TimeMs until =
        before ? position_ : (total - position_ > kAroundMs ? position_ + kAroundMs : total);
    if (from >= until)
        return;
    const int turn = TakeStream();
    playingAround_ = true;
    aroundTurn_ = turn;
    aroundUntil_ = until;
    stream_.Seek(from);
    stream_.Play();
    // Events handled while waiting may take the stream (play, preview, a
    // split run, unloading): then it is theirs and is left alone.
    while (turn == streamTurn_ && stream_.IsActive() && stream_.Position() < until) {
        user_.PumpEvents();
        if (turn != streamTurn_)
            break;
        clock_.Wait(kTickMs);
    }
    if (turn == streamTurn_)
        stream_.Stop();
    playingAround_ = false;
}

std::uint32_t PositionController::Frequency() const
{
    const double rate = context_.sampleRate;
    return static_cast<std::uint32_t>(rate * fastForward_ * 0.5 + rate);
}

void PositionController::CycleFastForward()
{
    if (!IsEnabled(PositionControl::FastForward))
        return;
    fastForward_ = fastForward_ == 2 ? 0 : fastForward_ + 1;
    stream_.SetFrequency(Frequency());
}

void PositionController::ApplyFrequency()
{
    if (context_.sampleRate != 0)
        stream_.SetFrequency(Frequency());
}

void PositionController::Tick()
{
    if (playing_ && !paused_)
        TickPlayback();
    if (previewing_)
        TickPreview();
    if (playingAround_)
        TickAround();
}

// Stops the two seconds where PlayAround's own wait would, when that wait is
// held up; the wait then finds the stream stopped and ends.
void PositionController::TickAround()
{
    if (aroundTurn_ == streamTurn_ && stream_.IsActive() && stream_.Position() >= aroundUntil_)
        stream_.Stop();
}

void PositionController::TickPlayback()
{
    const TimeMs p = stream_.Position();
    const TimeMs total = context_.total;
    position_ = std::min(p, total);
    if (p <= total)
        positionSlider_ = SliderValue(p, total);
    fieldTime_ = position_;
    if (!stream_.IsActive())
        StopPlaying();
}

void PositionController::TickPreview()
{
    const TimeMs p = stream_.Position();
    const auto [start, end] = selectedRange_;
    if (start < p && start < end) {
        const double fraction = static_cast<double>(p - start) / (end - start);
        trackSlider_ = std::min(static_cast<int>(fraction * kSliderMaximum), kSliderMaximum);
        trackTime_ = p;
    }
    if (p >= end || !stream_.IsActive())
        StopPreview();
}

} // namespace keldro
