// The seek table of a header frame (the Xing/Info table of contents, the VBRI
// table) rebuilt from where the frames of a written stream actually lie, and
// the check that a file's table fits its stream.
#pragma once

#include "engine/info_header.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace keldro {

// The positions of the audio frames of a stream, fed in order as they are
// written: each is the frame's byte offset from the header frame's first byte,
// so the first audio frame's position is the header frame's length. The header
// frame itself is not fed, and Count() is the frame count its tag carries.
//
// Memory stays bounded: every stride-th position is kept, and when kMaxKept
// positions are held every second one is dropped and the stride doubles.
class FramePositions
{
public:
    static constexpr std::size_t kMaxKept = 4096;

    void Add(std::uint32_t position);
    void Clear();

    std::uint32_t Count() const { return count_; }
    // The position of that frame when it was kept, else of the nearest kept
    // frame before it (frames past the last give the last kept); 0 when empty.
    std::uint32_t PositionOf(std::uint32_t frameIndex) const;
    std::size_t KeptCount() const { return kept_.size(); }
    std::uint32_t Stride() const { return stride_; }

private:
    std::vector<std::uint32_t> kept_;
    std::uint32_t stride_ = 1;
    std::uint32_t count_ = 0;
};

// The table of contents as lame (and libavformat) build it: entry 0 is 0 and
// entry i is 256 × the audio bytes up to the end of the frame at about i % of
// the frames ÷ all the audio bytes, truncated, at most 255; the frame is the
// one lame picks from its sampled record. Audio bytes leave out the header
// frame; byteCount is the Xing byte count, header frame included.
std::array<std::uint8_t, 100> XingToc(const FramePositions& positions, std::uint32_t byteCount);

// Rebuilds the seek table in a copy of the header frame (bytes from its first
// byte, no further than its end): a Xing/Info table of contents when its flags
// announce one; a VBRI table with its entry count, entry size and scale kept,
// and frames per entry set to cover every frame. Anything else, or a frame too
// short for its table, is left unchanged.
void PatchSeekTable(std::span<std::uint8_t> frame, const InfoHeader& header,
                    const FramePositions& positions, std::uint32_t byteCount);

// Whether the frame's table fits the stream: every Xing entry within 1 of the
// rebuilt one, every VBRI entry within 1 scale unit (by the frames per entry
// the frame gives). Nothing when the frame has no seek table.
std::optional<bool> SeekTableMatches(std::span<const std::uint8_t> frame, const InfoHeader& header,
                                     const FramePositions& positions, std::uint32_t byteCount);

} // namespace keldro
