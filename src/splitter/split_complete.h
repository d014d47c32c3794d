// CSplitCompleteDlg's state: the success dialog's options and the text it shows.
#pragma once

#include <string>

namespace keldro {

class SettingsStore;

struct SplitComplete
{
    std::string cuePath;
    std::string message;
    bool exportCue = false;
    bool openFolder = false;
    bool newSplit = false;
    bool dontShowAgain = false;

    // Reads the two options; a missing one is stored as 0.
    void Open(SettingsStore& settings);
    // The message, with the sheet it will write while the export box is ticked.
    std::string Text() const;
    // Closing with OK keeps the export choice and the don't-show-again box.
    void Close(SettingsStore& settings) const;
};

} // namespace keldro
