// For `make screenshots`: pictures of the main window on each page, of the
// split page with a source loaded, and of the dialogs, taken from the running
// program, which then quits.
#pragma once

#include <QString>

namespace keldro {

class MainWindow;
class SettingsStore;
class SplitPageWindow;
class UserInteraction;

struct ScreenshotScene
{
    MainWindow& window;
    SplitPageWindow& split;
    SettingsStore& settings;
    UserInteraction& ui;
};

// With KELDRO_SCREENSHOT_SOURCE naming an MP3, the split page shows it cut into
// four rows, and the split page's dialogs are taken too.
void TakeScreenshots(const ScreenshotScene& scene, const QString& folder);

} // namespace keldro
