// CMP3JoinerPage's merge run: one run's state, shared by the run and its copying.
#pragma once

#include "base/output_file.h"
#include "engine/frame_copy.h"
#include "engine/header_frame_copy.h"
#include "engine/mp3_info.h"
#include "joiner/merge_page.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace keldro {

struct MergePage::Run
{
    std::string target;
    std::unique_ptr<OutputFile> out;
    bool mayReplace = false; // the user allowed replacing a file at the target
    int rows = 0;            // fixed when the run starts
    bool aborted = false;
    std::uint64_t frameTotal = 0;
    std::uint64_t byteTotal = 0;
    // The first file's header frame, kept in front and patched at the end, and
    // what it is patched from: where the frames landed, the audio's CRC.
    std::optional<HeaderFrameCopy> header;
    std::optional<WrittenAudio> written;
    // The last file's padding, unless silence follows it: the output's padding.
    std::uint32_t endPadding = 0;
};

} // namespace keldro
