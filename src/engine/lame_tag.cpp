#include "engine/lame_tag.h"

#include "engine/big_endian.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace keldro {
namespace {

// Encoders name themselves in the first bytes ("LAME3.100", "Lavf", "Lavc"):
// anything else after the Xing fields is not an extension.
bool IsEncoderName(std::span<const std::uint8_t> name)
{
    return std::all_of(name.begin(), name.begin() + 4,
                       [](std::uint8_t c) { return c > 0x20 && c < 0x7F; });
}

} // namespace

XingLayout XingLayout::Of(std::span<const std::uint8_t> frame, const InfoHeader& header)
{
    if (header.kind != VbrHeaderType::Xing && header.kind != VbrHeaderType::Info)
        return {};
    std::size_t at = header.tagOffset + 4;
    if (frame.size() < at + 4)
        return {};
    XingLayout layout;
    layout.flags = BigEndian(frame, at, 4);
    at += 4;
    at += (layout.flags & kFramesFlag) != 0 ? 4 : 0;
    at += (layout.flags & kBytesFlag) != 0 ? 4 : 0;
    if ((layout.flags & kTocFlag) != 0) {
        layout.toc = at;
        at += kTocSize;
    }
    at += (layout.flags & kQualityFlag) != 0 ? 4 : 0;
    if (frame.size() < at)
        return {};
    layout.valid = true;
    layout.extension = at;
    return layout;
}

LameTag LameTag::Read(std::span<const std::uint8_t> frame, const InfoHeader& header)
{
    const XingLayout layout = XingLayout::Of(frame, header);
    if (!layout.valid || frame.size() < layout.extension + kSize ||
        !IsEncoderName(frame.subspan(layout.extension)))
        return {};
    LameTag tag;
    tag.present = true;
    tag.extension = layout.extension;
    const std::uint32_t delayPadding = BigEndian(frame, tag.DelayPaddingOffset(), 3);
    tag.delay = delayPadding >> 12;
    tag.padding = delayPadding & 0xFFF;
    tag.musicLength = BigEndian(frame, tag.MusicLengthOffset(), 4);
    tag.musicCrc = static_cast<std::uint16_t>(BigEndian(frame, tag.MusicCrcOffset(), 2));
    tag.tagCrc = static_cast<std::uint16_t>(BigEndian(frame, tag.TagCrcOffset(), 2));
    tag.tagCrcOk = Crc16(frame.first(tag.TagCrcOffset())) == tag.tagCrc;
    return tag;
}

void PatchLameTag(std::span<std::uint8_t> frame, const LameTag& tag, const LameFields& fields)
{
    if (!tag.present || frame.size() < tag.extension + LameTag::kSize)
        return;
    const std::uint32_t delay = std::min(fields.delay, LameTag::kMaxDelay);
    const std::uint32_t padding = std::min(fields.padding, LameTag::kMaxDelay);
    PutBigEndian(frame, tag.DelayPaddingOffset(), 3, delay << 12 | padding);
    PutBigEndian(frame, tag.MusicLengthOffset(), 4, fields.musicLength);
    PutBigEndian(frame, tag.MusicCrcOffset(), 2, fields.musicCrc);
    PutBigEndian(frame, tag.TagCrcOffset(), 2, Crc16(frame.first(tag.TagCrcOffset())));
}

} // namespace keldro
