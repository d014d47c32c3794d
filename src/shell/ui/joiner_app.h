// CMP3JoinerApp: the program's start-up and the objects that live as long as
// it runs (settings store, start-up command, help file, playback library).
#pragma once

#include "common/playback_service.h"
#include "shell/startup.h"

#include <QString>

namespace keldro {

class MergePage;
class SettingsStore;
class SplitPage;

// The start-up action SPLIT loads its source into the split page; the page
// shown stays the stored one. True when a source was loaded.
bool LoadStartupSource(const StartupCommand& startup, SplitPage& page);
// The start-up action MERGE adds its file as the merge list's first row, with
// the totals it adds. True when it was added.
bool AddStartupMergeFile(const StartupCommand& startup, MergePage& page);

class JoinerApp
{
public:
    // Reads the command line; QApplication must exist.
    JoinerApp(SettingsStore& settings, int argc, const char* const* argv);

    // Loads the playback library, runs the main window and returns when it
    // has closed (or SIGTERM, SIGHUP or SIGINT closed it), with the library
    // unloaded.
    int Run();

    const StartupCommand& Startup() const { return startup_; }
    const QString& HelpFile() const { return helpFile_; }
    PlaybackService& Playback() { return playback_; }

private:
    SettingsStore& settings_;
    StartupCommand startup_;
    QString helpFile_;
    PlaybackService playback_;
};

} // namespace keldro
