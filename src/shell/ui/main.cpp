// The desktop program. The main window with its three pages is still to come;
// for now the program loads its playback library, opens an empty window under
// its caption, and unloads the library when the window closes.
#include "shell/playback_service.h"
#include "shell/ui/playback_loader.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vantry"));
    QApplication::setApplicationName(QStringLiteral("Keldro"));
    keldro::PlaybackService playback;
    keldro::StartPlayback(playback, nullptr);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Keldro v3.0"));
    window.resize(640, 480);
    window.show();
    const int result = QApplication::exec();
    playback.UnloadPlaybackLibrary();
    return result;
}
