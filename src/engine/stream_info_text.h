// The text that describes a loaded source: duration, version, layer, bitrate,
// sample rate and channel mode, on three lines.
#pragma once

#include "engine/mp3_info.h"
#include "timecue/time_format.h"

#include <string>

namespace keldro {

// From the analysis alone.
std::string StreamInfoText(const CMP3Info& info);
// With figures measured elsewhere (the playback stream knows the exact length).
std::string StreamInfoText(const CMP3Info& info, TimeMs durationMs, std::int32_t sampleRate,
                           double bitrate);

// The bitrate the text shows: the average for a variable-bitrate file, else the
// first frame's.
double DisplayBitrate(const CMP3Info& info);

} // namespace keldro

namespace keldro {

// The message for a file that Analyse refused or found no stream in.
std::string LoadFailureMessage(const CMP3Info& info, const std::string& path);

} // namespace keldro
