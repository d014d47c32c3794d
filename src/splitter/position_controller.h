// The split page's position and what plays it: the current time and its two
// sliders, step and page moves, playback with pause and fast-forward, the two
// seconds around the position, the preview of the selected track, what each
// 50 ms tick does, which of these controls are enabled, and the page's keys.
#pragma once

#include "timecue/time_format.h"

#include <cstdint>
#include <string>
#include <utility>

namespace keldro {

class UserInteraction;

// The source's stream as the position controls use it. Every call is safe
// without a stream or once the playback library is gone: it then does nothing
// (Position 0, IsActive false).
class PlaybackStream
{
public:
    virtual ~PlaybackStream() = default;
    // Audio can be heard: a sound device and a stream of the source.
    virtual bool CanPlay() const = 0;
    virtual void Play() = 0; // from where it is; no restart
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Seek(TimeMs time) = 0;
    virtual TimeMs Position() const = 0;
    virtual bool IsActive() const = 0;
    virtual void SetFrequency(std::uint32_t hertz) = 0;
};

// Waits between the checks of a blocking play; tests advance a fake clock.
class WaitClock
{
public:
    virtual ~WaitClock() = default;
    virtual void Wait(int milliseconds) = 0;
};

inline constexpr int kSliderMaximum = 32767;
inline constexpr int kSliderPage = 1310;
inline constexpr int kTickMs = 50;
inline constexpr TimeMs kDefaultStepMs = 100;
inline constexpr TimeMs kDefaultPageMs = 1000;
inline constexpr TimeMs kAroundMs = 2000;

// Slider value of a time: time / total × 32767 + 0.5, truncated; 0 without a total.
int SliderValue(TimeMs time, TimeMs total);
// Time of a slider value: value / 32767 × total, truncated.
TimeMs SliderTime(int value, TimeMs total);

enum class PositionMove
{
    StepForward,
    StepBack,
    PageForward,
    PageBack,
    Start,
    End
};

// The controls whose enabling this class decides.
enum class PositionControl
{
    TimeField, // with its spin buttons and the position slider
    Play,
    FastForward,
    Pause,
    Before,  // two seconds before the position
    After,   // two seconds after it
    Preview, // with the track slider
    GoToStart,
    GoToEnd,
};

// What the rest of the page tells the controller about itself.
struct PositionContext
{
    bool loaded = false;
    bool trackSelected = false;
    bool hasDecodedLength = false;
    TimeMs total = 0;
    std::pair<TimeMs, TimeMs> rawRange;       // the selected track, without overlaps
    std::pair<TimeMs, TimeMs> effectiveRange; // with them
    std::uint32_t sampleRate = 0;
    // A split run reads file positions by seeking this same stream: nothing
    // may play or seek it meanwhile.
    bool running = false;
};

class PositionController
{
public:
    PositionController(PlaybackStream& stream, WaitClock& clock, UserInteraction& ui);

    // Read once when the page is built; the step dialog changes them.
    void SetSizes(TimeMs step, TimeMs page);
    TimeMs StepSize() const { return step_; }
    TimeMs PageSize() const { return page_; }

    // Called after every change of the source, the list or the selection.
    void SetContext(const PositionContext& context);
    const PositionContext& Context() const { return context_; }
    // A split run or anything else that needs the stream: nothing plays any
    // more, and a blocking play that waits returns without touching it again.
    void StopAll();
    // A source loaded, reopened or unloaded: everything stops, and the
    // position, the time field, both sliders and the selected range go back
    // to 0. The fast-forward level stays.
    void Reset();
    // A new stream of the source takes the current fast-forward level.
    void ApplyFrequency();

    TimeMs Position() const { return position_; }
    // The time field shows this; it differs from Position while playing.
    TimeMs FieldTime() const { return fieldTime_; }
    int PositionSlider() const { return positionSlider_; }
    int TrackSlider() const { return trackSlider_; }
    TimeMs TrackPositionTime() const { return trackTime_; }
    // The range the position slider highlights: raw after a selection
    // change, effective once a preview starts.
    std::pair<TimeMs, TimeMs> SelectedRange() const { return selectedRange_; }
    bool IsPlaying() const { return playing_; }
    bool IsPaused() const { return paused_; }
    bool IsPreviewing() const { return previewing_; }
    int FastForwardLevel() const { return fastForward_; }
    // The fast-forward button's text: the level, or nothing at level 0.
    std::string FastForwardText() const;
    bool IsEnabled(PositionControl control) const;

    // The time field's value as typed: sets the position unless playing and
    // not paused. The field echoing a time the controller set changes nothing,
    // so the slider keeps the value the user dragged it to.
    void TimeTyped(TimeMs time);
    // Returns the time the field shows afterwards.
    TimeMs MovePosition(PositionMove move);
    void PositionSliderMoved(int value);
    void TrackSliderMoved(int value);
    // Track slider back to 0, raw range selected; a preview of the track
    // that was selected stops.
    void SelectionChanged();
    void GoToTrackStart();
    void GoToTrackEnd();

    void TogglePlay();
    void TogglePause();
    // False when no preview starts: with a message when no track is
    // selected; silently without a playable stream or with the track slider
    // at the end.
    bool TogglePreview();
    // Blocks until the two seconds have played, pumping events every 50 ms.
    // A second call while one waits does nothing; play, preview or StopAll
    // during the wait end it at once and keep the stream.
    void PlayAround(bool before);
    // True while PlayAround waits.
    bool IsPlayingAround() const { return playingAround_; }
    void CycleFastForward();
    // Every 50 ms while playing, previewing or playing two seconds. A dialog
    // opened from an event handled during PlayAround's wait holds the wait
    // until it closes; the ticks still end the two seconds in time.
    void Tick();

private:
    void SetPosition(TimeMs time);
    void MoveTo(TimeMs time);
    void StopPlaying();
    void StopPreview();
    void TickPlayback();
    void TickPreview();
    void TickAround();
    bool CanPlay() const;
    // Play, preview, two seconds around and StopAll each take the stream
    // over from whatever had it.
    int TakeStream() { return ++streamTurn_; }
    std::uint32_t Frequency() const;

    PlaybackStream& stream_;
    WaitClock& clock_;
    UserInteraction& user_;
    PositionContext context_;
    TimeMs step_ = kDefaultStepMs;
    TimeMs page_ = kDefaultPageMs;
    TimeMs position_ = 0;
    TimeMs fieldTime_ = 0;
    int positionSlider_ = 0;
    int trackSlider_ = 0;
    TimeMs trackTime_ = 0;
    std::pair<TimeMs, TimeMs> selectedRange_;
    bool playing_ = false;
    bool paused_ = false;
    bool previewing_ = false;
    bool playingAround_ = false;
    int aroundTurn_ = 0;
    TimeMs aroundUntil_ = 0;
    int streamTurn_ = 0;
    int fastForward_ = 0;
};

} // namespace keldro
