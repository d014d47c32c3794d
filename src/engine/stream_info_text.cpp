#include "engine/stream_info_text.h"

#include "string_table.h"

namespace keldro {

double DisplayBitrate(const CMP3Info& info)
{
    return info.HasVbrHeader() ? info.AverageBitrate() : info.Header().bitrate;
}

std::string StreamInfoText(const CMP3Info& info)
{
    return StreamInfoText(info, info.DurationMs(), info.Header().sampleRate, DisplayBitrate(info));
}

std::string StreamInfoText(const CMP3Info& info, TimeMs durationMs, std::int32_t sampleRate,
                           double bitrate)
{
    const std::string duration = FormatTime(durationMs, TimeStyle::Display);
    const std::string version(CMP3Info::VersionName(info.Header().version));
    const std::string mode(CMP3Info::ChannelModeName(info.Header().channelMode));
    // The figure is rounded as a float first, so the text never shows more
    // precision than a float holds.
    const double shown = static_cast<float>(bitrate);
    if (info.HasVbrHeader()) {
        const StringId label = info.VbrType() == VbrHeaderType::Vbri ? StringId::StreamLabelVbri
                                                                     : StringId::StreamLabelVbr;
        const std::string labelText(LoadString(label));
        return FormatString(StringId::StreamInfoVbr, duration.c_str(), version.c_str(),
                            info.Header().layer, shown, labelText.c_str(), sampleRate,
                            mode.c_str());
    }
    return FormatString(StringId::StreamInfoCbr, duration.c_str(), version.c_str(),
                        info.Header().layer, shown, sampleRate, mode.c_str());
}

} // namespace keldro

namespace keldro {

std::string LoadFailureMessage(const CMP3Info& info, const std::string& path)
{
    const StringId id = info.LastError() == AnalyseError::TooLarge ? StringId::FileTooLarge
                                                                   : StringId::LoadMp3Failed;
    return FormatString(id, path.c_str());
}

} // namespace keldro
