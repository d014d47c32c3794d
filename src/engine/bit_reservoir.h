// Layer III frames borrow: a frame's audio data may begin up to 511 bytes
// before the frame, in the frames in front of it (the bit reservoir), and its
// first samples are completed by the frame before it. A piece that is to decode
// exactly from its first frame carries those frames in front of it.
#pragma once

#include "base/file_reader.h"

#include <cstdint>

namespace keldro {

class CMP3Info;

struct CarriedStart
{
    std::uint32_t offset = 0; // where the piece's bytes begin: the first carried frame
    int frames = 0;           // frames carried in front of the cut
    bool complete = true;     // false when the frames the cut needs were not all there
};

// The most frames a piece carries: the encoder delay of its LAME tag (12 bits)
// must cover them, less the decoder's own delay of 529 samples.
int MostCarriedFrames(int samplesPerFrame);

// What a piece beginning at `cut` (a frame boundary of the source's audio)
// carries so that a decoder rebuilds the cut frame's samples exactly: the
// frames whose bytes the cut frame's audio data and its predecessors' reach
// into. At the first audio frame nothing is carried. Reads a few frames'
// bytes before the cut; needs no frame table.
CarriedStart PlanCarriedStart(const CMP3Info& source, FileReader& file, std::uint32_t cut);

} // namespace keldro
