// Playing through SDL's dummy output, which takes audio in real time without
// a sound card: positions advance with the clock, faster at a higher
// frequency, stand still while paused, and the channel ends by itself.
// Without any output the library falls back to "no sound". Pausing and
// starting the output while it plays never locks up, and opening it leaves the
// program's signal handling alone.
#include "common/playback_service.h"
#include "lame_corpus.h"
#include "playback_files.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace keldro {
namespace {

using namespace std::chrono_literals;

// Runs `work` in a child process and waits up to `limit` for it to exit with
// its result; a child that is still there then (locked up) is killed: -1.
template <typename Work>
int ExitCodeWithin(std::chrono::milliseconds limit, Work work)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(work());
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(10ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool SameDisposition(const struct sigaction& a, const struct sigaction& b)
{
    return a.sa_handler == b.sa_handler && a.sa_flags == b.sa_flags;
}

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

// The audio thread mixes under the library's lock inside SDL's device lock;
// pausing and starting the output take SDL's device lock from the other side.
TEST_F(PlaybackRealtimeTest, PausingAndStartingTheOutputWhilePlayingNeverLocksUp)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const int code = ExitCodeWithin(10s, [this] {
        if (!playback_.InitOutputDevice(nullptr))
            return 2;
        stream_ = Api().BASS_StreamCreateFile(0, path_.c_str(), 0, 0, BASS_STREAM_PRESCAN);
        if (stream_ == 0 || !Api().BASS_ChannelPlay(stream_, 0))
            return 3;
        const auto end = std::chrono::steady_clock::now() + 1500ms;
        while (std::chrono::steady_clock::now() < end) {
            if (!Api().BASS_Pause() || !Api().BASS_Start())
                return 4;
        }
        const bool stopped = Api().BASS_ChannelStop(stream_) && Api().BASS_StreamFree(stream_);
        return stopped && Api().BASS_Free() ? 0 : 5;
    });
    EXPECT_EQ(code, 0) << "-1: locked up";
}

// SDL's event subsystem, which its audio starts, would otherwise put its own
// handlers on SIGINT and SIGTERM, and the program would no longer end on them.
TEST_F(PlaybackRealtimeTest, OpeningTheOutputLeavesTheSignalHandlersAlone)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    struct sigaction before[2]{};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &before[0]), 0);
    ASSERT_EQ(::sigaction(SIGINT, nullptr, &before[1]), 0);
    ASSERT_TRUE(playback_.InitOutputDevice(nullptr));
    struct sigaction after[2]{};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &after[0]), 0);
    ASSERT_EQ(::sigaction(SIGINT, nullptr, &after[1]), 0);
    EXPECT_TRUE(SameDisposition(after[0], before[0]));
    EXPECT_TRUE(SameDisposition(after[1], before[1]));
    // Closed and opened again (SDL forgets its settings in between).
    ASSERT_TRUE(Api().BASS_Free());
    ASSERT_TRUE(playback_.InitOutputDevice(nullptr));
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &after[0]), 0);
    EXPECT_TRUE(SameDisposition(after[0], before[0]));
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
