// Playing through SDL's dummy output, which takes audio in real time without
// a sound card: positions advance with the clock, faster at a higher
// frequency, stand still while paused, and the channel ends by itself.
// Without any output the library falls back to "no sound".
#include "lame_corpus.h"
#include "playback_files.h"
#include "shell/playback_service.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace keldro {
namespace {

using namespace std::chrono_literals;

class PlaybackRealtimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            playback_.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), DefaultTempFolder()));
        path_ = test::CorpusFile("vbr_v2"); // 5 s, 44.1 kHz stereo
    }
    const BassEntryPoints& Api() const { return playback_.Api(); }
    double Seconds() const
    {
        return Api().BASS_ChannelBytes2Seconds(stream_, Api().BASS_ChannelGetPosition(stream_));
    }
    // Seconds of audio played per second of the clock at `frequency`.
    double Speed(DWORD frequency)
    {
        Api().BASS_ChannelSetAttributes(stream_, static_cast<int>(frequency), BASS_KEEP_VOLUME,
                                        BASS_KEEP_PAN);
        Api().BASS_ChannelSetPosition(stream_, 0);
        EXPECT_TRUE(Api().BASS_ChannelPlay(stream_, 0));
        const double from = Seconds();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(600ms);
        const double advance = Seconds() - from;
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        Api().BASS_ChannelStop(stream_);
        return advance / wall.count();
    }

    PlaybackService playback_;
    std::string path_;
    HSTREAM stream_ = 0;
};

TEST_F(PlaybackRealtimeTest, PlaysInRealTimeFasterAtAHigherFrequencyAndPauses)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(playback_.InitOutputDevice(nullptr));
    EXPECT_EQ(Api().BASS_GetDevice(), 1u);
    stream_ = Api().BASS_StreamCreateFile(0, path_.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    ASSERT_NE(stream_, 0u);

    // The output takes audio in blocks of 23 ms and shares two cores with
    // other tests: the bounds are wide, the ratios tighter.
    const double normal = Speed(44100);
    EXPECT_GT(normal, 0.6);
    EXPECT_LT(normal, 1.4);
    const double faster = Speed(66150) / normal;
    EXPECT_GT(faster, 1.2);
    EXPECT_LT(faster, 1.9);
    const double fastest = Speed(88200) / normal;
    EXPECT_GT(fastest, 1.6);
    EXPECT_LT(fastest, 2.5);

    Api().BASS_ChannelSetAttributes(stream_, 44100, BASS_KEEP_VOLUME, BASS_KEEP_PAN);
    ASSERT_TRUE(Api().BASS_ChannelPlay(stream_, 0));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(Api().BASS_ChannelPause(stream_));
    EXPECT_EQ(Api().BASS_ChannelIsActive(stream_), BASS_ACTIVE_PAUSED);
    const QWORD paused = Api().BASS_ChannelGetPosition(stream_);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Api().BASS_ChannelGetPosition(stream_), paused);
    ASSERT_TRUE(Api().BASS_ChannelPlay(stream_, 0));
    std::this_thread::sleep_for(200ms);
    EXPECT_GT(Api().BASS_ChannelGetPosition(stream_), paused);
    EXPECT_EQ(Api().BASS_ChannelIsActive(stream_), BASS_ACTIVE_PLAYING);
}

TEST_F(PlaybackRealtimeTest, AChannelPlayedToItsEndTurnsInactive)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(playback_.InitOutputDevice(nullptr));
    stream_ = Api().BASS_StreamCreateFile(0, path_.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    ASSERT_NE(stream_, 0u);
    const QWORD length = Api().BASS_ChannelGetLength(stream_);
    ASSERT_TRUE(Api().BASS_ChannelSetPosition(
        stream_, length - Api().BASS_ChannelSeconds2Bytes(stream_, 0.3f)));
    ASSERT_TRUE(Api().BASS_ChannelPlay(stream_, 0));
    EXPECT_EQ(Api().BASS_ChannelIsActive(stream_), BASS_ACTIVE_PLAYING);
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (Api().BASS_ChannelIsActive(stream_) != BASS_ACTIVE_STOPPED &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_EQ(Api().BASS_ChannelIsActive(stream_), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(Api().BASS_ChannelGetPosition(stream_), length);
}

TEST_F(PlaybackRealtimeTest, WithoutAnOutputDecodingStillWorks)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(playback_.InitOutputDevice(nullptr));
    EXPECT_EQ(Api().BASS_GetDevice(), 0u);
    stream_ = Api().BASS_StreamCreateFile(0, path_.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    ASSERT_NE(stream_, 0u);
    EXPECT_FALSE(Api().BASS_ChannelPlay(stream_, 0));
    EXPECT_EQ(Api().BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);
    EXPECT_GT(Api().BASS_ChannelGetLength(stream_), 0u);
    EXPECT_TRUE(Api().BASS_ChannelSetPosition(stream_, Api().BASS_ChannelGetLength(stream_) / 2));
    EXPECT_NE(Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_CURRENT), BASS_FILEPOS_ERROR);
}

} // namespace
} // namespace keldro
