// The split page's playback stream of its source: its figures, and the file
// offsets it gives the split run.
#include "base/interruption.h"
#include "common/playback_service.h"
#include "splitter/split_page.h"

#include <vector>

namespace keldro {

void SplitPage::CreateStream(DWORD flags)
{
    if (!playback_ || !playback_->IsAudioAvailable())
        return;
    stream_ = playback_->Api().BASS_StreamCreateFile(0, SourcePath().c_str(), 0, 0, flags);
}

void SplitPage::FreeStream()
{
    if (stream_ != 0 && playback_ && playback_->IsAudioAvailable())
        playback_->Api().BASS_StreamFree(stream_);
    stream_ = 0;
    playbackStream_.SetStream(0, 0, 0);
}

// The total length, decoded length and sample rate of the loaded source; a new
// stream plays at the fast-forward level the user chose.
void SplitPage::TakeSourceFigures()
{
    SplitSourceInfo& source = list_.Source();
    if (stream_ == 0) {
        decodedLength_ = info_.FileSize() - info_.VbrFrameOffset();
        source.total = info_.DurationMs();
        sampleRate_ = static_cast<std::uint32_t>(info_.Header().sampleRate);
        return;
    }
    const BassEntryPoints& api = playback_->Api();
    decodedLength_ = api.BASS_ChannelGetLength(stream_);
    source.total = SecondsToMs(api.BASS_ChannelBytes2Seconds(stream_, decodedLength_));
    DWORD frequency = 0;
    sampleRate_ = api.BASS_ChannelGetAttributes(stream_, &frequency, nullptr, nullptr)
                      ? frequency
                      : static_cast<std::uint32_t>(info_.Header().sampleRate);
    RefreshPosition();
    position_.ApplyFrequency();
}

// The audio data's length over the decoded duration, in whole kbit/s.
double SplitPage::StreamBitrate() const
{
    const DWORD end = playback_->Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_END);
    const double seconds = Total() / 1000.0;
    if (end == BASS_FILEPOS_ERROR || seconds <= 0)
        return info_.AverageBitrate();
    return static_cast<double>(static_cast<std::int64_t>(end / (seconds * 125) + 0.5));
}

// Where the decoder stands in the audio data after a seek to `time`.
std::uint32_t SplitPage::FilePositionAt(TimeMs time)
{
    const BassEntryPoints& api = playback_->Api();
    api.BASS_ChannelSetPosition(stream_, StreamBytePosition(time, Total(), decodedLength_));
    return api.BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_CURRENT);
}

// The stream's file positions are used only when they grow with time at nine
// points across the source; a failed query counts as not growing.
bool SplitPage::ProbeStreamOffsets()
{
    const TimeMs step = Total() / 10;
    const TimeMs third = step / 3;
    for (TimeMs k = 1; k <= 9; ++k) {
        const std::uint32_t a = FilePositionAt(k * step);
        const std::uint32_t b = FilePositionAt(k * step + third);
        if (a == BASS_FILEPOS_ERROR || b == BASS_FILEPOS_ERROR || b < a)
            return false;
    }
    return true;
}

// The file offset the stream gives for a time: the first audio frame at 0,
// the end of the audio data at the total; none when a query fails.
std::optional<std::uint32_t> SplitPage::StreamFileOffset(TimeMs time)
{
    if (time == 0)
        return info_.FirstFrameOffset();
    const BassEntryPoints& api = playback_->Api();
    const DWORD dataStart = api.BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_START);
    const DWORD position = time == Total()
                               ? api.BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_END)
                               : FilePositionAt(time);
    if (dataStart == BASS_FILEPOS_ERROR || position == BASS_FILEPOS_ERROR ||
        position > BASS_FILEPOS_ERROR - dataStart)
        return std::nullopt;
    return dataStart + position;
}

// The cut times of the checked rows, located in one walk on its own thread:
// it reads the file only as far as the last cut inside the audio, and each
// piece is written once its cuts are decided. A source that cannot be read
// leaves the rows where a failed table load would, with estimated offsets.
void SplitPage::LocateCutsInOneWalk()
{
    cutWalk_.reset();
    if (!deferFrameTable_ || stream_ != 0 || !FrameAccurate() || !info_.HasVbrHeader() ||
        info_.IsFrameTableLoaded())
        return;
    std::vector<TimeMs> times;
    std::vector<CutPiece> pieces;
    for (int row = 0; row < list_.RowCount(); ++row) {
        if (!list_.Row(row).checked)
            continue;
        const auto [start, end] = list_.TrackRange(row, true);
        for (const TimeMs time : {start, end}) {
            if (time < info_.DurationMs())
                times.push_back(time);
        }
        if (start <= end && end < info_.DurationMs())
            pieces.push_back({start, end});
    }
    cutWalk_ = std::make_unique<CutWalk>(info_, std::move(times), std::move(pieces));
}

// What TimeToOffset gives for a time with the table loaded: the end of the
// audio at or beyond the duration, where its frames were not counted.
std::optional<SplitPage::WalkedCut> SplitPage::WalkedCutAt(TimeMs time)
{
    if (!cutWalk_)
        return std::nullopt;
    if (time >= info_.DurationMs())
        return WalkedCut{info_.AudioEnd(), std::nullopt};
    const std::optional<FramePosition> found = cutWalk_->At(time);
    if (!found)
        return std::nullopt;
    return WalkedCut{found->offset, found->frames};
}

SegmentResult SplitPage::WriteRange(const std::string& path, TimeMs start, TimeMs end, bool fast,
                                    bool streamOffsets, const SegmentOptions& options)
{
    const auto from = stream_ == 0 && start <= end ? WalkedCutAt(start) : std::nullopt;
    const auto to = from ? WalkedCutAt(end) : std::nullopt;
    // A walk cut short by a request to end leaves its times undecided: no
    // estimate is written in their place.
    if (cutWalk_ && (!from || !to) && PendingInterruption() != 0) {
        SegmentResult stopped;
        stopped.error = SegmentError::Stopped;
        return stopped;
    }
    if (from && to) {
        SegmentOptions counted = options;
        if (from->frames && to->frames && *to->frames >= *from->frames)
            counted.knownFrames = {from->offset, to->offset, *to->frames - *from->frames};
        if (auto audio = cutWalk_->AudioOf(from->offset, to->offset))
            counted.knownAudio = {from->offset, to->offset, std::move(*audio)};
        return WriteSegment(info_, path, from->offset, to->offset, counted);
    }
    if (stream_ == 0)
        return WriteSegmentByTime(info_, path, start, end, 0, fast, options);
    const auto startByte = streamOffsets ? StreamFileOffset(start) : std::nullopt;
    const auto endByte = streamOffsets ? StreamFileOffset(end) : std::nullopt;
    if (!startByte || !endByte)
        return WriteSegmentByTime(info_, path, start, end, Total(), fast, options);
    return WriteSegment(info_, path, *startByte, *endByte, options);
}

} // namespace keldro
