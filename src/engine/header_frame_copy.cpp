#include "engine/header_frame_copy.h"

#include "engine/frame_copy.h"
#include "engine/seek_table.h"

#include <algorithm>

namespace keldro {

HeaderFrameCopy::HeaderFrameCopy(std::vector<std::uint8_t> frame, const InfoHeader& info)
    : bytes(std::move(frame)), header(info), lame(LameTag::Read(bytes, info))
{}

bool HeaderFrameCopy::NeedsWrittenAudio() const
{
    return lame.present || header.kind == VbrHeaderType::Vbri ||
           XingLayout::Of(bytes, header).toc != 0;
}

void HeaderFrameCopy::Finish(std::uint32_t frames, const WrittenAudio& written, std::uint32_t delay,
                             std::uint32_t padding)
{
    const auto byteCount =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(written.framesEnd, 0xFFFFFFFFu));
    header.Patch(bytes, frames, byteCount);
    PatchSeekTable(bytes, header, written.positions, byteCount);
    if (lame.present)
        PatchLameTag(bytes, lame,
                     {.delay = delay,
                      .padding = padding,
                      .musicLength = byteCount,
                      .musicCrc = written.crc});
}

} // namespace keldro
