#include "splitter/service_stream.h"

#include "common/playback_service.h"

#include <chrono>
#include <thread>

namespace keldro {

void ServicePlaybackStream::SetStream(HSTREAM stream, std::uint64_t decodedLength, TimeMs total)
{
    stream_ = stream;
    decodedLength_ = decodedLength;
    total_ = total;
}

bool ServicePlaybackStream::Usable() const
{
    return stream_ != 0 && playback_ && playback_->IsAudioAvailable();
}

bool ServicePlaybackStream::CanPlay() const
{
    return audioDevice_ && Usable();
}

void ServicePlaybackStream::Play()
{
    if (Usable() && playback_->Api().BASS_ChannelPlay)
        playback_->Api().BASS_ChannelPlay(stream_, 0);
}

void ServicePlaybackStream::Pause()
{
    if (Usable() && playback_->Api().BASS_ChannelPause)
        playback_->Api().BASS_ChannelPause(stream_);
}

void ServicePlaybackStream::Stop()
{
    if (Usable() && playback_->Api().BASS_ChannelStop)
        playback_->Api().BASS_ChannelStop(stream_);
}

void ServicePlaybackStream::Seek(TimeMs time)
{
    if (Usable() && playback_->Api().BASS_ChannelSetPosition)
        playback_->Api().BASS_ChannelSetPosition(stream_,
                                                 StreamBytePosition(time, total_, decodedLength_));
}

TimeMs ServicePlaybackStream::Position() const
{
    if (!Usable())
        return 0;
    const BassEntryPoints& api = playback_->Api();
    if (!api.BASS_ChannelGetPosition || !api.BASS_ChannelBytes2Seconds)
        return 0;
    const QWORD bytes = api.BASS_ChannelGetPosition(stream_);
    if (bytes == ~QWORD{0}) // no such channel
        return 0;
    return SecondsToMs(api.BASS_ChannelBytes2Seconds(stream_, bytes));
}

bool ServicePlaybackStream::IsActive() const
{
    return Usable() && playback_->Api().BASS_ChannelIsActive &&
           playback_->Api().BASS_ChannelIsActive(stream_) != BASS_ACTIVE_STOPPED;
}

void ServicePlaybackStream::SetFrequency(std::uint32_t hertz)
{
    if (Usable() && playback_->Api().BASS_ChannelSetAttributes)
        playback_->Api().BASS_ChannelSetAttributes(stream_, static_cast<int>(hertz),
                                                   BASS_KEEP_VOLUME, BASS_KEEP_PAN);
}

void SleepingWaitClock::Wait(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace keldro
