// The split page's keys: which key, with which modifiers, in which focus, runs
// which command. The page looks at a key here before the focused widget does;
// a key that maps to nothing gets the widget's own handling.
#pragma once

namespace keldro {

enum class PageKey
{
    Enter,
    Escape,
    Space,
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    Delete,
    L,
    D,
    O,
    F2,
    F3,
    F4,
    F5,
};

struct PageModifiers
{
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// Where the keyboard focus is.
enum class PageFocus
{
    TimeField,
    Spin,
    PositionSlider,
    List,
    NamingRule,
    TextField, // title, artist, destination
    Other,
};

// The states some keys depend on: the matching control is enabled.
struct PageKeyStates
{
    bool pause = false;
    bool play = false;
    bool preview = false;
    bool before = false;
    bool after = false;
    bool fastForward = false;
};

enum class PageCommand
{
    None, // not the page's: the widget handles the key
    Swallow,
    AddCutPoint,
    EditTags,
    StartOrStopRun,
    TogglePause,
    PageForward,
    PageBack,
    StepForward,
    StepBack,
    PositionStart,
    PositionEnd,
    SetTrackStart,
    SetTrackEnd,
    GoToTrackStart,
    GoToTrackEnd,
    RemoveTrack,
    ClearList,
    UnloadSource,
    EditTrackLength,
    TogglePreview,
    TogglePlay,
    PlayBefore,
    PlayAfter,
    CycleFastForward,
    ChooseDestination,
    ChooseSource,
};

// A key the map names without a modifier also acts with Ctrl or Shift held,
// not with Alt. Home and End take Ctrl before Shift, Delete Shift before Ctrl.
// A key whose control is disabled maps to None.
PageCommand MapPageKey(PageKey key, PageModifiers modifiers, PageFocus focus,
                       const PageKeyStates& states);

} // namespace keldro
