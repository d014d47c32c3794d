#include "shell/ui/screenshots.h"

#include "shell/ui/main_window.h"
#include "shell/ui/splitter_settings_dialog.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace keldro {
namespace {

void Save(QWidget& widget, const QString& path)
{
    QCoreApplication::processEvents();
    if (!widget.grab().save(path))
        qWarning("cannot save %s", qUtf8Printable(path));
}

} // namespace

void TakeScreenshots(MainWindow& window, SettingsStore& settings, UserInteraction& ui,
                     const QString& folder)
{
    QDir().mkpath(folder);
    // Once the window is on the screen and painted.
    QTimer::singleShot(500, &window, [&window, &settings, &ui, folder] {
        const char* names[] = {"split-page.png", "merge-page.png", "settings-page.png"};
        for (const PageIndex page : kPageIndices) {
            window.ShowPage(page);
            const char* name = names[static_cast<std::size_t>(page)];
            Save(window, QDir(folder).filePath(QString::fromLatin1(name)));
        }
        SplitterSettingsDialog dialog(settings, ui, &window);
        dialog.show();
        Save(dialog, QDir(folder).filePath(QStringLiteral("settings-dialog.png")));
        dialog.close();
        window.close();
    });
}

} // namespace keldro
