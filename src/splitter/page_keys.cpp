// The split page's key map as a table. Rows are looked at in order; the first
// row whose key, modifiers and focus match decides: its command when its
// control is enabled, else nothing (the widget's own handling).
#include "splitter/page_keys.h"

#include <array>

namespace keldro {
namespace {

// Which modifiers a row takes. Keys the map names without a modifier are
// plain key-downs on the system the page was made for, where Alt turns a key
// into a system key; they take Ctrl and Shift but not Alt.
enum class Mods
{
    Any,
    NoAlt,
    Plain,
    Ctrl,   // Ctrl, without Alt
    Shift,  // Shift, without Alt
    NoCtrl, // neither Ctrl nor Alt
    Alt,    // Alt, without Ctrl
};

bool Matches(Mods mods, PageModifiers m)
{
    switch (mods) {
    case Mods::Any:
        return true;
    case Mods::NoAlt:
        return !m.alt;
    case Mods::Plain:
        return !m.ctrl && !m.shift && !m.alt;
    case Mods::Ctrl:
        return m.ctrl && !m.alt;
    case Mods::Shift:
        return m.shift && !m.alt;
    case Mods::NoCtrl:
        return !m.ctrl && !m.alt;
    case Mods::Alt:
        return m.alt && !m.ctrl;
    }
    return false;
}

// A set of focus places.
using FocusSet = unsigned;

constexpr FocusSet In(PageFocus focus)
{
    return 1u << static_cast<unsigned>(focus);
}

constexpr FocusSet kAnywhere = ~0u;
constexpr FocusSet kTimeControls =
    In(PageFocus::TimeField) | In(PageFocus::PositionSlider) | In(PageFocus::Spin);
// A space typed into a text is part of the text, not a pause.
constexpr FocusSet kOutsideTexts =
    kAnywhere & ~(In(PageFocus::NamingRule) | In(PageFocus::TextField));

// The control that must be enabled for the key to act.
enum class Needs
{
    Nothing,
    Pause,
    Play,
    Preview,
    Before,
    After,
    FastForward,
};

bool Holds(Needs needs, const PageKeyStates& s)
{
    switch (needs) {
    case Needs::Nothing:
        return true;
    case Needs::Pause:
        return s.pause;
    case Needs::Play:
        return s.play;
    case Needs::Preview:
        return s.preview;
    case Needs::Before:
        return s.before;
    case Needs::After:
        return s.after;
    case Needs::FastForward:
        return s.fastForward;
    }
    return false;
}

struct KeyRow
{
    PageKey key;
    Mods mods;
    FocusSet focus;
    Needs needs;
    PageCommand command;
};

using K = PageKey;
using C = PageCommand;

constexpr std::array kKeyRows{
    KeyRow{K::Enter, Mods::NoAlt, In(PageFocus::TimeField), Needs::Nothing, C::AddCutPoint},
    KeyRow{K::Enter, Mods::NoAlt, In(PageFocus::List), Needs::Nothing, C::EditTags},
    KeyRow{K::Enter, Mods::NoAlt, kAnywhere, Needs::Nothing, C::StartOrStopRun},
    KeyRow{K::Escape, Mods::Any, kAnywhere, Needs::Nothing, C::Swallow},
    KeyRow{K::Space, Mods::NoAlt, kOutsideTexts, Needs::Pause, C::TogglePause},
    KeyRow{K::PageUp, Mods::NoAlt, kTimeControls, Needs::Nothing, C::PageForward},
    KeyRow{K::PageDown, Mods::NoAlt, kTimeControls, Needs::Nothing, C::PageBack},
    KeyRow{K::Up, Mods::NoAlt, kTimeControls, Needs::Nothing, C::StepForward},
    KeyRow{K::Down, Mods::NoAlt, kTimeControls, Needs::Nothing, C::StepBack},
    KeyRow{K::Right, Mods::NoAlt, In(PageFocus::PositionSlider), Needs::Nothing, C::StepForward},
    KeyRow{K::Left, Mods::NoAlt, In(PageFocus::PositionSlider), Needs::Nothing, C::StepBack},
    KeyRow{K::Home, Mods::Ctrl, kAnywhere, Needs::Nothing, C::SetTrackStart},
    KeyRow{K::Home, Mods::Shift, kAnywhere, Needs::Nothing, C::GoToTrackStart},
    KeyRow{K::Home, Mods::Plain, In(PageFocus::PositionSlider), Needs::Nothing, C::PositionStart},
    KeyRow{K::End, Mods::Ctrl, kAnywhere, Needs::Nothing, C::SetTrackEnd},
    KeyRow{K::End, Mods::Shift, kAnywhere, Needs::Nothing, C::GoToTrackEnd},
    KeyRow{K::End, Mods::Plain, In(PageFocus::PositionSlider), Needs::Nothing, C::PositionEnd},
    KeyRow{K::Delete, Mods::Shift, In(PageFocus::List), Needs::Nothing, C::ClearList},
    KeyRow{K::Delete, Mods::Ctrl, In(PageFocus::List), Needs::Nothing, C::UnloadSource},
    KeyRow{K::Delete, Mods::Plain, In(PageFocus::List), Needs::Nothing, C::RemoveTrack},
    KeyRow{K::L, Mods::Ctrl, kAnywhere, Needs::Nothing, C::EditTrackLength},
    KeyRow{K::F2, Mods::Ctrl, kAnywhere, Needs::Preview, C::TogglePreview},
    KeyRow{K::F2, Mods::NoCtrl, kAnywhere, Needs::Play, C::TogglePlay},
    KeyRow{K::F3, Mods::NoAlt, kAnywhere, Needs::Before, C::PlayBefore},
    KeyRow{K::F4, Mods::NoAlt, kAnywhere, Needs::After, C::PlayAfter},
    KeyRow{K::F5, Mods::NoAlt, kAnywhere, Needs::FastForward, C::CycleFastForward},
    KeyRow{K::D, Mods::Alt, kAnywhere, Needs::Nothing, C::ChooseDestination},
    KeyRow{K::O, Mods::Alt, kAnywhere, Needs::Nothing, C::ChooseSource},
};

} // namespace

PageCommand MapPageKey(PageKey key, PageModifiers modifiers, PageFocus focus,
                       const PageKeyStates& states)
{
    for (const KeyRow& row : kKeyRows) {
        if (row.key == key && Matches(row.mods, modifiers) && (row.focus & In(focus)) != 0)
            return Holds(row.needs, states) ? row.command : PageCommand::None;
    }
    return PageCommand::None;
}

} // namespace keldro
