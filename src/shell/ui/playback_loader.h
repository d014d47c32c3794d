// The playback library embedded in the program: read from its resource and
// handed to the playback service, with the start-up message on failure.
#pragma once

#include <QString>

class QWidget;

namespace keldro {

class PlaybackService;

inline const QString kPlaybackResource = QStringLiteral(":/WAVE/200");

// Loads the library in `resource`; a resource that is missing, empty or
// unreadable fails like a library that does not load.
bool LoadEmbeddedPlaybackLibrary(PlaybackService& playback,
                                 const QString& resource = kPlaybackResource);

// As above; on failure tells the user that playback is off for this run.
bool StartPlayback(PlaybackService& playback, QWidget* parent,
                   const QString& resource = kPlaybackResource);

} // namespace keldro
