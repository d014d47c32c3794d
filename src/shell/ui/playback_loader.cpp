#include "shell/ui/playback_loader.h"

#include "shell/playback_service.h"
#include "string_table.h"

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
    const std::string_view text = LoadString(StringId::PlaybackLibraryFailed);
    QMessageBox::critical(parent, QApplication::applicationName(),
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return false;
}

} // namespace keldro
