#include "engine/mp3_info.h"

#include "string_table.h"

#include <algorithm>
#include <limits>

namespace keldro {
namespace {

bool HasMp3Ending(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ending = path.substr(path.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return ending == ".mp3";
}

// Bytes of a frame per kbit/s of bitrate per kHz of sample rate: one byte for
// every eight samples (144 for Layers II and III, 72 for MPEG 2/2.5 Layer III,
// 48 for Layer I).
double FrameBytesFactor(const FrameHeaderInfo& info)
{
    return SamplesPerFrame(info) / 8.0;
}

} // namespace

void CMP3Info::Reset()
{
    path_.clear();
    status_ = 0;
    fileSize_ = 0;
    tag_ = TagRecord{};
    headerWord_ = 0;
    header_ = FrameHeaderInfo{};
    estimatedFrames_ = 0;
    durationMs_ = 0;
    averageBitrate_ = 0.0;
    vbrFrameOffset_ = 0;
    firstFrameOffset_ = 0;
    infoHeader_ = InfoHeader{};
    error_ = AnalyseError::None;
    frameTable_ = {};
    tableLoaded_ = false;
    tableDurationMs_ = 0.0;
    walked_.clear();
}

bool CMP3Info::FailAnalysis(AnalyseError error)
{
    Reset();
    error_ = error;
    return false;
}

bool CMP3Info::Analyse(const std::string& path)
{
    Reset();
    if (!HasMp3Ending(path))
        return FailAnalysis(AnalyseError::WrongEnding);
    FileReader file = FileReader::Open(path);
    if (!file.IsOpen())
        return FailAnalysis(AnalyseError::CannotOpen);
    return AnalyseReader(file, path);
}

bool CMP3Info::AnalyseReader(FileReader& file, const std::string& path)
{
    Reset();
    if (file.Size() > kMaxFileSize)
        return FailAnalysis(AnalyseError::TooLarge);
    fileSize_ = static_cast<std::uint32_t>(file.Size());

    const FrameHit first = FindFirstFrame(file, GetID3v2TagSize(file));
    ReadTrailingTag(file);
    // A header inside the ID3v1 tag is no audio: the audio would end before it began.
    if (first.found && first.offset < AudioEnd()) {
        status_ |= kStatusStream;
        headerWord_ = first.word;
        firstFrameOffset_ = first.offset;
        // Without a header frame the audio begins where the header frame would be.
        // A header announcing no frames says nothing: the file is read as one
        // without it, which also keeps the average bitrate finite.
        if (!HasHeaderFrame() || infoHeader_.frames == 0)
            ForgetHeaderFrame();
    } else {
        // No stream: leave no half-found values behind.
        header_ = FrameHeaderInfo{};
        ForgetHeaderFrame();
    }

    const double audioBytes = static_cast<double>(AudioEnd()) - firstFrameOffset_;
    DeriveTotals(audioBytes);
    if (file.HasFailed())
        return FailAnalysis(AnalyseError::ReadFailed);
    path_ = path;
    return true;
}

void CMP3Info::ReadTrailingTag(FileReader& file)
{
    Id3v1Block block{};
    if (fileSize_ < kId3v1Size ||
        file.ReadAt(fileSize_ - kId3v1Size, block.data(), block.size()) != block.size() ||
        !IsID3v1Tag(block))
        return;
    tag_ = ParseID3v1Tag(block);
    status_ |= kStatusId3v1;
}

void CMP3Info::DeriveTotals(double audioBytes)
{
    if (header_.frameLength != 0)
        estimatedFrames_ = TruncateToU32(audioBytes / header_.frameLength);
    if (HasVbrHeader()) {
        // The bytes take in the header frame and any ID3v1 tag; the frames do not.
        const double bytesPerFrame =
            static_cast<double>(fileSize_ - vbrFrameOffset_) / infoHeader_.frames;
        averageBitrate_ = bytesPerFrame * header_.sampleRate / (FrameBytesFactor(header_) * 1000.0);
    }
    const double rate = HasVbrHeader() ? averageBitrate_ : header_.bitrate;
    if (rate != 0.0)
        durationMs_ = TruncateToU32(audioBytes / rate * 8.0);
}

std::uint32_t CMP3Info::GetTotalFrames() const
{
    return HasHeaderFrame() ? infoHeader_.frames : estimatedFrames_;
}

std::string_view VbrHeaderTypeName(VbrHeaderType type)
{
    switch (type) {
    case VbrHeaderType::Xing:
        return "xing";
    case VbrHeaderType::Vbri:
        return "vbri";
    case VbrHeaderType::Info:
        return "info";
    case VbrHeaderType::None:
        break;
    }
    return "none";
}

std::string_view CMP3Info::VersionName(std::int32_t version)
{
    switch (version) {
    case 0:
        return "N/A";
    case 1:
        return "MPEG 2.5";
    case 2:
        return "MPEG 2.0";
    case 3:
        return "MPEG 1.0";
    default:
        return {};
    }
}

std::string_view CMP3Info::ChannelModeName(std::int32_t channelMode)
{
    if (channelMode < 0 || channelMode > 3)
        return {};
    switch (static_cast<ChannelMode>(channelMode)) {
    case ChannelMode::Stereo:
        return LoadString(StringId::ChannelStereo);
    case ChannelMode::JointStereo:
        return LoadString(StringId::ChannelJointStereo);
    case ChannelMode::DualChannel:
        return LoadString(StringId::ChannelDual);
    case ChannelMode::SingleChannel:
        break;
    }
    return LoadString(StringId::ChannelMono);
}

} // namespace keldro
