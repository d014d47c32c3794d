#include "engine/piece_digests.h"

#include "engine/crc16.h"

#include <algorithm>

namespace keldro {

PieceDigests::PieceDigests(std::uint32_t origin, std::uint64_t headerFrameSize, std::uint64_t lag)
    : origin_(origin), headerFrameSize_(headerFrameSize), lag_(lag)
{}

void PieceDigests::FramePassed(std::uint32_t offset, std::uint32_t end, std::uint16_t crc)
{
    recent_.push_back({offset, end, crc});
    // A frame this far behind belongs to the pieces already open, and to no
    // piece that begins later.
    while (recent_.front().end + lag_ < end) {
        const Passed& frame = recent_.front();
        for (auto piece = open_.begin(); piece != open_.end() && piece->first <= frame.offset;
             ++piece)
            Add(piece->second, piece->first, frame);
        recent_.pop_front();
        forgotten_ = true;
    }
}

bool PieceDigests::Begin(std::uint32_t start)
{
    const std::optional<std::uint16_t> crc = CrcAt(start);
    if (!crc)
        return false;
    Piece piece;
    piece.crcAtStart = *crc;
    piece.framesEnd = start;
    open_.emplace(start, std::move(piece));
    return true;
}

std::optional<WrittenAudio> PieceDigests::End(std::uint32_t start, std::uint32_t end)
{
    const auto found = open_.find(start);
    if (found == open_.end())
        return std::nullopt;
    Piece piece = std::move(found->second);
    open_.erase(found);
    for (const Passed& frame : recent_) {
        if (frame.end > end)
            break;
        if (frame.offset >= start)
            Add(piece, start, frame);
    }
    const std::optional<std::uint16_t> crcAtEnd = CrcAt(end);
    // Frames that do not end exactly at the cut are not what a copy of the
    // range would count: the writer counts them itself.
    if (!crcAtEnd || piece.framesEnd != end || end < start)
        return std::nullopt;
    const std::uint16_t crc = Crc16Combine(piece.crcAtStart, *crcAtEnd, end - start);
    return WrittenAudio::Known(headerFrameSize_, std::move(piece.positions), end - start, crc);
}

// The running CRC at a frame boundary the walk still remembers.
std::optional<std::uint16_t> PieceDigests::CrcAt(std::uint32_t boundary) const
{
    if (boundary == origin_)
        return forgotten_ ? std::nullopt : std::optional<std::uint16_t>(0);
    const auto frame = std::lower_bound(
        recent_.begin(), recent_.end(), boundary,
        [](const Passed& passed, std::uint32_t offset) { return passed.end < offset; });
    if (frame == recent_.end() || frame->end != boundary)
        return std::nullopt;
    return frame->crc;
}

void PieceDigests::Add(Piece& piece, std::uint32_t start, const Passed& frame) const
{
    const std::uint64_t at = headerFrameSize_ + (frame.offset - start);
    piece.positions.Add(static_cast<std::uint32_t>(std::min<std::uint64_t>(at, 0xFFFFFFFFu)));
    piece.framesEnd = frame.end;
}

} // namespace keldro
