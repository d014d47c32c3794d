// The header frame in front of a written stream: a copy of a source's, given
// the counts of what was written, its seek table rebuilt from where the frames
// landed, and the LAME tag's delay, padding, length and CRCs for that stream.
#pragma once

#include "engine/info_header.h"
#include "engine/lame_tag.h"

#include <cstdint>
#include <vector>

namespace keldro {

struct WrittenAudio;

struct HeaderFrameCopy
{
    std::vector<std::uint8_t> bytes; // from the frame's first byte
    InfoHeader header;
    LameTag lame; // as the source wrote it

    HeaderFrameCopy() = default;
    HeaderFrameCopy(std::vector<std::uint8_t> frame, const InfoHeader& info);

    // Whether finishing needs the written frames' places and the audio's CRC.
    bool NeedsWrittenAudio() const;
    // The counts, the seek table and the LAME tag of the stream written behind
    // it; the tag's CRC last. A header without a LAME tag gets no LAME fields.
    void Finish(std::uint32_t frames, const WrittenAudio& written, std::uint32_t delay,
                std::uint32_t padding);
};

// The decoder's own delay: gapless decoders drop the encoder delay plus these
// samples at the start, and the padding less these at the end.
inline constexpr std::uint32_t kDecoderDelaySamples = 529;

} // namespace keldro
