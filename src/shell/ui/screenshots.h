// For `make screenshots`: pictures of the main window on each page and of the
// other-settings dialog, taken from the running program, which then quits.
#pragma once

#include <QString>

namespace keldro {

class MainWindow;
class SettingsStore;
class UserInteraction;

void TakeScreenshots(MainWindow& window, SettingsStore& settings, UserInteraction& ui,
                     const QString& folder);

} // namespace keldro
