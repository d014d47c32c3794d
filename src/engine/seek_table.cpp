#include "engine/seek_table.h"

#include "engine/big_endian.h"
#include "engine/lame_tag.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace keldro {
namespace {

// The VBRI fields after its tag, big-endian (the counts are InfoHeader's).
constexpr std::size_t kVbriEntriesField = 18; // 2 bytes
constexpr std::size_t kVbriScaleField = 20;   // 2 bytes
constexpr std::size_t kVbriEntrySizeField = 22;
constexpr std::size_t kVbriFramesPerEntryField = 24;
constexpr std::size_t kVbriTableField = 26;

// Where frame index starts; the end of the stream for the frames after the last.
std::uint32_t StartOf(const FramePositions& positions, std::uint64_t frame, std::uint32_t byteCount)
{
    return frame >= positions.Count() ? byteCount
                                      : positions.PositionOf(static_cast<std::uint32_t>(frame));
}

struct VbriTable
{
    std::size_t table = 0; // from the frame's first byte
    std::uint32_t entries = 0;
    std::uint32_t scale = 0;
    std::uint32_t entrySize = 0;
    std::uint32_t framesPerEntry = 0;

    // A table that can be read and rebuilt: entries of 1 to 4 bytes, a scale,
    // and all of it inside the frame.
    static std::optional<VbriTable> Of(std::span<const std::uint8_t> frame,
                                       const InfoHeader& header)
    {
        const std::size_t tag = header.tagOffset;
        if (header.kind != VbrHeaderType::Vbri || frame.size() < tag + kVbriTableField)
            return std::nullopt;
        VbriTable vbri{tag + kVbriTableField, BigEndian(frame, tag + kVbriEntriesField, 2),
                       BigEndian(frame, tag + kVbriScaleField, 2),
                       BigEndian(frame, tag + kVbriEntrySizeField, 2),
                       BigEndian(frame, tag + kVbriFramesPerEntryField, 2)};
        if (vbri.entries == 0 || vbri.scale == 0 || vbri.entrySize < 1 || vbri.entrySize > 4 ||
            frame.size() < vbri.table + std::size_t{vbri.entries} * vbri.entrySize)
            return std::nullopt;
        return vbri;
    }

    std::uint32_t MaxEntry() const
    {
        return entrySize == 4 ? 0xFFFFFFFFu : (1u << (8 * entrySize)) - 1;
    }

    // Entry j: the bytes of frames j·framesPerEntry up to the next entry's
    // first frame, the last entry up to the end of the stream, in scale units.
    std::uint32_t Entry(const FramePositions& positions, std::uint32_t byteCount,
                        std::uint32_t j) const
    {
        const std::uint64_t first = std::uint64_t{j} * framesPerEntry;
        const std::uint32_t from = StartOf(positions, first, byteCount);
        const std::uint32_t to =
            j + 1 == entries ? byteCount : StartOf(positions, first + framesPerEntry, byteCount);
        const std::uint32_t bytes = to > from ? to - from : 0;
        return std::min(bytes / scale, MaxEntry());
    }
};

} // namespace

void FramePositions::Add(std::uint32_t position)
{
    if (count_ % stride_ == 0) {
        if (kept_.size() == kMaxKept) {
            // Frames 0, 2·stride, 4·stride… stay: the even entries.
            for (std::size_t i = 0; i < kMaxKept / 2; ++i)
                kept_[i] = kept_[2 * i];
            kept_.resize(kMaxKept / 2);
            stride_ *= 2;
        }
        if (count_ % stride_ == 0)
            kept_.push_back(position);
    }
    ++count_;
}

void FramePositions::Clear()
{
    kept_.clear();
    stride_ = 1;
    count_ = 0;
}

std::uint32_t FramePositions::PositionOf(std::uint32_t frameIndex) const
{
    if (kept_.empty())
        return 0;
    return kept_[std::min<std::size_t>(frameIndex / stride_, kept_.size() - 1)];
}

// lame and libavformat record the end of every want-th frame, want doubling
// whenever 400 are held, and look up entry i at the recorded frame
// floor(i / 100 × recorded), that product taken in float. Kept positions are
// exact at multiples of want (the stride here never exceeds it), so the same
// steps give lame's very table.
std::array<std::uint8_t, 100> XingToc(const FramePositions& positions, std::uint32_t byteCount)
{
    constexpr std::uint32_t kRecorded = 400;
    std::array<std::uint8_t, 100> toc{};
    const std::uint32_t frames = positions.Count();
    const std::uint32_t audioStart = positions.PositionOf(0);
    if (frames == 0 || byteCount <= audioStart)
        return toc;
    std::uint64_t want = 1;
    while (frames >= kRecorded * want)
        want *= 2;
    const auto recorded = static_cast<std::uint32_t>(frames / want);
    const std::uint64_t audioBytes = byteCount - audioStart;
    for (std::uint32_t i = 1; i < toc.size(); ++i) {
        const float share = static_cast<float>(i) / 100.0f;
        const auto index =
            std::min(static_cast<std::uint32_t>(std::floor(share * static_cast<float>(recorded))),
                     recorded - 1);
        const std::uint64_t end = StartOf(positions, (index + 1) * want, byteCount) - audioStart;
        toc[i] = static_cast<std::uint8_t>(std::min<std::uint64_t>(256 * end / audioBytes, 255));
    }
    return toc;
}

void PatchSeekTable(std::span<std::uint8_t> frame, const InfoHeader& header,
                    const FramePositions& positions, std::uint32_t byteCount)
{
    if (const XingLayout xing = XingLayout::Of(frame, header); xing.valid && xing.toc != 0) {
        const std::array<std::uint8_t, 100> toc = XingToc(positions, byteCount);
        std::copy(toc.begin(), toc.end(), frame.begin() + static_cast<std::ptrdiff_t>(xing.toc));
        return;
    }
    std::optional<VbriTable> vbri = VbriTable::Of(frame, header);
    if (!vbri)
        return;
    const std::uint32_t framesPerEntry = (positions.Count() + vbri->entries - 1) / vbri->entries;
    // The field has 16 bits: a stream too long for this many entries keeps the old table.
    if (framesPerEntry > 0xFFFF)
        return;
    vbri->framesPerEntry = std::max<std::uint32_t>(framesPerEntry, 1);
    PutBigEndian(frame, header.tagOffset + kVbriFramesPerEntryField, 2, vbri->framesPerEntry);
    for (std::uint32_t j = 0; j < vbri->entries; ++j)
        PutBigEndian(frame, vbri->table + std::size_t{j} * vbri->entrySize, vbri->entrySize,
                     vbri->Entry(positions, byteCount, j));
}

std::optional<bool> SeekTableMatches(std::span<const std::uint8_t> frame, const InfoHeader& header,
                                     const FramePositions& positions, std::uint32_t byteCount)
{
    const auto near = [](std::uint32_t a, std::uint32_t b) { return (a > b ? a - b : b - a) <= 1; };
    if (const XingLayout xing = XingLayout::Of(frame, header); xing.valid && xing.toc != 0) {
        const std::array<std::uint8_t, 100> toc = XingToc(positions, byteCount);
        for (std::size_t i = 0; i < toc.size(); ++i) {
            if (!near(frame[xing.toc + i], toc[i]))
                return false;
        }
        return true;
    }
    const std::optional<VbriTable> vbri = VbriTable::Of(frame, header);
    if (!vbri)
        return std::nullopt;
    if (vbri->framesPerEntry == 0)
        return false;
    for (std::uint32_t j = 0; j < vbri->entries; ++j) {
        const std::uint32_t stored =
            BigEndian(frame, vbri->table + std::size_t{j} * vbri->entrySize, vbri->entrySize);
        if (!near(stored, vbri->Entry(positions, byteCount, j)))
            return false;
    }
    return true;
}

} // namespace keldro
