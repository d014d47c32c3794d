#include "engine/info_header.h"

#include "engine/big_endian.h"

#include <array>
#include <cstring>

namespace keldro {
namespace {

using Tag = std::span<const std::uint8_t, InfoHeader::kTagSize>;

// Only these letters count at the Xing place: anything else there is audio.
InfoHeader AtXingPlace(Tag tag, std::uint32_t offset)
{
    const bool xing = std::memcmp(tag.data(), "Xing", 4) == 0;
    if (!xing && std::memcmp(tag.data(), "Info", 4) != 0)
        return {};
    return {xing ? VbrHeaderType::Xing : VbrHeaderType::Info, offset,
            BigEndian(tag, InfoHeader::kXingFramesField, 4)};
}

InfoHeader AtVbriPlace(Tag tag)
{
    if (std::memcmp(tag.data(), "VBRI", 4) != 0)
        return {};
    return {VbrHeaderType::Vbri, InfoHeader::kVbriTagOffset,
            BigEndian(tag, InfoHeader::kVbriFramesField, 4)};
}

} // namespace

std::uint32_t InfoHeader::XingTagOffset(const FrameHeaderInfo& info)
{
    return 4 + static_cast<std::uint32_t>(SideInfoSize(info));
}

InfoHeader InfoHeader::Read(std::span<const std::uint8_t> frame, const FrameHeaderInfo& info)
{
    const std::uint32_t xingAt = XingTagOffset(info);
    if (frame.size() >= xingAt + kTagSize) {
        if (const InfoHeader header = AtXingPlace(frame.subspan(xingAt).first<kTagSize>(), xingAt);
            header.IsPresent())
            return header;
    }
    if (frame.size() >= kVbriTagOffset + kTagSize)
        return AtVbriPlace(frame.subspan(kVbriTagOffset).first<kTagSize>());
    return {};
}

InfoHeader InfoHeader::Find(FileReader& file, std::uint64_t frame, const FrameHeaderInfo& info)
{
    // Each place is read on its own, as Read checks each against the bytes
    // there are: near the end of a file one may be whole and the other not. The
    // sums are 64-bit: a frame near the end of a 4 GiB file must not wrap to its start.
    std::array<std::uint8_t, kTagSize> tag{};
    const std::uint32_t xingAt = XingTagOffset(info);
    if (file.ReadAt(frame + xingAt, tag.data(), tag.size()) == tag.size()) {
        if (const InfoHeader header = AtXingPlace(tag, xingAt); header.IsPresent())
            return header;
    }
    if (file.ReadAt(frame + kVbriTagOffset, tag.data(), tag.size()) == tag.size())
        return AtVbriPlace(tag);
    return {};
}

void InfoHeader::Patch(std::span<std::uint8_t> frame, std::uint32_t frameCount,
                       std::uint32_t byteCount) const
{
    if (frame.size() > tagOffset)
        PatchTag(frame.subspan(tagOffset), kind, frameCount, byteCount);
}

void InfoHeader::PatchTag(std::span<std::uint8_t> tag, VbrHeaderType type, std::uint32_t frameCount,
                          std::uint32_t byteCount)
{
    if ((type == VbrHeaderType::Xing || type == VbrHeaderType::Info) &&
        tag.size() >= kXingBytesField + 4) {
        PutBigEndian(tag, kXingFramesField, 4, frameCount);
        PutBigEndian(tag, kXingBytesField, 4, byteCount);
    } else if (type == VbrHeaderType::Vbri && tag.size() >= kVbriFramesField + 4) {
        PutBigEndian(tag, kVbriBytesField, 4, byteCount);
        PutBigEndian(tag, kVbriFramesField, 4, frameCount);
    }
}

} // namespace keldro
