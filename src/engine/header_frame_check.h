// What a file's header frame says about gapless playback and seeking, checked
// against the file itself: its LAME fields and whether its seek table fits
// where the frames really are.
#pragma once

#include "base/file_reader.h"
#include "engine/lame_tag.h"
#include "engine/seek_table.h"

#include <optional>
#include <vector>

namespace keldro {

class CMP3Info;

struct HeaderFrameCheck
{
    LameTag lame;                  // present is false without a LAME extension
    std::optional<bool> tocOk;     // nothing without a seek table
    FramePositions positions;      // of the audio frames, from the header frame
    std::uint32_t streamBytes = 0; // from the header frame to the end of the last frame
};

// The bytes of the header frame of an analysed file (empty without one).
std::vector<std::uint8_t> ReadHeaderFrame(FileReader& file, const CMP3Info& info);
// Walks every frame of the stream: for reports, not for the writers, which
// collect the positions while they copy.
HeaderFrameCheck CheckHeaderFrame(FileReader& file, const CMP3Info& info);

} // namespace keldro
