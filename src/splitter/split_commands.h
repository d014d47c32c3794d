// Which of the split page's commands can run in the page's current state. The
// context menu, the buttons and the keys all ask the same table.
#pragma once

namespace keldro {

enum class SplitCommand
{
    ChooseSource,
    UnloadSource,
    EqualParts,
    Overlaps,
    SpecialSplit, // the button that offers equal parts and overlaps
    PreviewTrack,
    UpdateTrack, // set start, set end, set length
    EditTags,
    RemoveTrack,
    ClearList,
    SaveList,
    OtherSettings,
    AddCutPoint,
    EditNamingRule,
    SwitchMode,
    ChooseDestination,
    StartOrStopRun,
};

struct SplitPageState
{
    bool loaded = false;
    bool running = false;
    bool trackSelected = false;
    bool audioAvailable = false;
    bool streamOpen = false;
    bool hasDecodedLength = false;
};

// A run reads the list to its end, so every command that changes the list,
// its tags or the source waits until it is over; saving the list as a sheet,
// the settings and the destination stay open.
bool IsCommandEnabled(SplitCommand command, const SplitPageState& state);

} // namespace keldro
