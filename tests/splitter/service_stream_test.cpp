// The split page's stream over the real playback library, on SDL's dummy
// output: seeks to the decoded byte position of a time, reports the position
// in milliseconds, plays, pauses, stops and changes speed; without a device,
// without a stream or once the library is unloaded it does nothing.
#include "common/playback_service.h"
#include "lame_corpus.h"
#include "playback_files.h"
#include "splitter/service_stream.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace keldro {
namespace {

class ServiceStreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(
            playback_.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), DefaultTempFolder()));
        ASSERT_TRUE(playback_.InitOutputDevice(nullptr));
        const std::string path = test::CorpusFile("vbr_v2"); // 5 s, 44.1 kHz stereo
        handle_ = Api().BASS_StreamCreateFile(0, path.c_str(), 0, 0, BASS_STREAM_PRESCAN);
        ASSERT_NE(handle_, 0u);
        length_ = Api().BASS_ChannelGetLength(handle_);
        total_ = SecondsToMs(Api().BASS_ChannelBytes2Seconds(handle_, length_));
        stream_.SetAudioDevice(true);
        stream_.SetStream(handle_, length_, total_);
    }
    void TearDown() override
    {
        if (playback_.IsAudioAvailable())
            Api().BASS_Free();
    }
    const BassEntryPoints& Api() const { return playback_.Api(); }

    PlaybackService playback_;
    ServicePlaybackStream stream_{&playback_};
    HSTREAM handle_ = 0;
    QWORD length_ = 0;
    TimeMs total_ = 0;
};

TEST_F(ServiceStreamTest, SeeksToTheDecodedBytePositionOfATime)
{
    EXPECT_TRUE(stream_.CanPlay());
    stream_.Seek(2'000);
    EXPECT_EQ(Api().BASS_ChannelGetPosition(handle_), StreamBytePosition(2'000, total_, length_));
    EXPECT_NEAR(stream_.Position(), 2'000, 1);
    stream_.Seek(0);
    EXPECT_EQ(stream_.Position(), 0u);
    stream_.Seek(total_ + 500);
    EXPECT_EQ(Api().BASS_ChannelGetPosition(handle_), length_);
}

TEST_F(ServiceStreamTest, PlaysPausesAndStops)
{
    EXPECT_FALSE(stream_.IsActive());
    stream_.Play();
    EXPECT_EQ(Api().BASS_ChannelIsActive(handle_), BASS_ACTIVE_PLAYING);
    EXPECT_TRUE(stream_.IsActive());
    stream_.Pause();
    EXPECT_EQ(Api().BASS_ChannelIsActive(handle_), BASS_ACTIVE_PAUSED);
    EXPECT_TRUE(stream_.IsActive()) << "a paused stream has not ended";
    stream_.Stop();
    EXPECT_FALSE(stream_.IsActive());
}

TEST_F(ServiceStreamTest, SetsOnlyTheFrequency)
{
    ASSERT_TRUE(Api().BASS_ChannelSetAttributes(handle_, BASS_KEEP_FREQUENCY, 40, 25));
    stream_.SetFrequency(66'150);
    DWORD frequency = 0;
    DWORD volume = 0;
    int pan = 0;
    ASSERT_TRUE(Api().BASS_ChannelGetAttributes(handle_, &frequency, &volume, &pan));
    EXPECT_EQ(frequency, 66'150u);
    EXPECT_EQ(volume, 40u);
    EXPECT_EQ(pan, 25);
}

TEST_F(ServiceStreamTest, NothingPlaysWithoutADeviceOrAStream)
{
    stream_.SetAudioDevice(false);
    EXPECT_FALSE(stream_.CanPlay());
    stream_.SetAudioDevice(true);
    stream_.SetStream(0, 0, 0);
    EXPECT_FALSE(stream_.CanPlay());
    stream_.Play();
    EXPECT_FALSE(stream_.IsActive());
    EXPECT_EQ(stream_.Position(), 0u);
    EXPECT_EQ(Api().BASS_ChannelIsActive(handle_), BASS_ACTIVE_STOPPED);

    ServicePlaybackStream without(nullptr);
    without.SetAudioDevice(true);
    without.SetStream(handle_, length_, total_);
    without.Play();
    without.Seek(1'000);
    without.SetFrequency(1);
    EXPECT_FALSE(without.CanPlay());
    EXPECT_FALSE(without.IsActive());
    EXPECT_EQ(without.Position(), 0u);
}

// Once unloaded, the library's entry points are gone: every call must ask
// the service first instead of calling through them.
TEST_F(ServiceStreamTest, AnUnloadedLibraryIsNotCalled)
{
    stream_.Seek(1'000);
    stream_.Play();
    playback_.UnloadPlaybackLibrary();
    EXPECT_FALSE(stream_.CanPlay());
    EXPECT_FALSE(stream_.IsActive());
    EXPECT_EQ(stream_.Position(), 0u);
    stream_.Play();
    stream_.Pause();
    stream_.Seek(2'000);
    stream_.SetFrequency(44'100);
    stream_.Stop();
}

} // namespace
} // namespace keldro
