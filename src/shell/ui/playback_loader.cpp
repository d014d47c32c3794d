#include "shell/ui/playback_loader.h"

#include "common/playback_service.h"
#include "string_table.h"
#include "widgets/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace keldro {

bool LoadEmbeddedPlaybackLibrary(PlaybackService& playback, const QString& resource)
{
    QByteArray bytes;
    QFile file(resource);
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    return playback.LoadPlaybackLibrary(std::string_view(bytes.constData(), bytes.size()),
                                        QDir::tempPath().toStdString());
}

bool StartPlayback(PlaybackService& playback, QWidget* parent, const QString& resource)
{
    if (LoadEmbeddedPlaybackLibrary(playback, resource))
        return true;
    QMessageBox::critical(parent, QApplication::applicationName(),
                          FromBytes(LoadString(StringId::PlaybackLibraryFailed)));
    return false;
}

} // namespace keldro
