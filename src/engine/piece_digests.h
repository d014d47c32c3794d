// What the writers learn of a piece's audio (where its frames lie, its CRC),
// worked out from a walk over the source's frames instead of a second read:
// the walk checksums every byte it passes, and a piece's CRC follows from the
// running CRCs at its two ends. Cut positions are decided some way behind the
// walk, so the frames it passed are kept until no piece can begin before them.
#pragma once

#include "engine/frame_copy.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>

namespace keldro {

class PieceDigests
{
public:
    // origin: where the walk starts, with a running CRC of 0 there.
    // headerFrameSize: the bytes written in front of each piece's audio.
    // lag: how far behind the walk a piece may begin or end.
    PieceDigests(std::uint32_t origin, std::uint64_t headerFrameSize, std::uint64_t lag);

    // The walk passed the frame [offset, end); crc covers the bytes from the
    // origin to end. Frames come in order.
    void FramePassed(std::uint32_t offset, std::uint32_t end, std::uint16_t crc);
    // A piece begins at a frame boundary the walk passed; false when that
    // boundary is unknown (long passed, or not a frame's end).
    bool Begin(std::uint32_t start);
    // The piece that began at start ends at end: its audio, when its frames
    // run from start exactly to end.
    std::optional<WrittenAudio> End(std::uint32_t start, std::uint32_t end);

private:
    struct Passed
    {
        std::uint32_t offset;
        std::uint32_t end;
        std::uint16_t crc; // up to end
    };
    struct Piece
    {
        std::uint16_t crcAtStart = 0;
        FramePositions positions;
        std::uint32_t framesEnd = 0;
    };

    std::optional<std::uint16_t> CrcAt(std::uint32_t boundary) const;
    void Add(Piece& piece, std::uint32_t start, const Passed& frame) const;

    std::uint32_t origin_;
    std::uint64_t headerFrameSize_;
    std::uint64_t lag_;
    std::deque<Passed> recent_;
    bool forgotten_ = false;                   // frames after the origin were let go
    std::multimap<std::uint32_t, Piece> open_; // by start
};

} // namespace keldro
