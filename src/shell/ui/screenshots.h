// For `make screenshots`: pictures of the main window on each page, of the
// split page with a source loaded, and of the dialogs, taken from the running
// program, which then quits.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QWidget>

namespace keldro {

class MainWindow;
class MergePageWindow;
class SettingsStore;
class SplitPageWindow;
class UserInteraction;

struct ScreenshotScene
{
    MainWindow& window;
    SplitPageWindow& split;
    MergePageWindow& merge;
    SettingsStore& settings;
    UserInteraction& ui;
};

// With KELDRO_SCREENSHOT_SOURCE naming an MP3, the split page shows it cut into
// four rows, and the split page's dialogs are taken too. With
// KELDRO_SCREENSHOT_MERGE naming MP3 files (separated by ':'), the merge page
// lists them, the second with silence after it, sorted by name and then by
// duration.
void TakeScreenshots(const ScreenshotScene& scene, const QString& folder);

// Saves what the widget shows now as folder/name.
void SaveScreenshot(QWidget& widget, const QString& folder, const char* name);

template <typename Dialog, typename... Args>
void SaveDialogScreenshot(const QString& folder, const char* name, Args&&... args)
{
    Dialog dialog(std::forward<Args>(args)...);
    dialog.show();
    SaveScreenshot(dialog, folder, name);
    dialog.close();
}

// The merge page's part of the pictures (screenshots_merge.cpp).
void FillMergePage(MergePageWindow& window, const std::vector<std::string>& files);
void SaveMergeDialogs(MergePageWindow& merge, SettingsStore& settings, UserInteraction& ui,
                      const QString& folder);
void SaveSortedMergePage(MainWindow& window, MergePageWindow& merge, const QString& folder);

} // namespace keldro
