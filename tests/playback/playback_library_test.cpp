// Decode-only streams of real lame files through our playback library:
// exact decoded length, attributes, seconds and bytes, and the file offsets
// of the frame under a seek position.
#include "base/user_interaction.h"
#include "common/playback_service.h"
#include "engine/mp3_info.h"
#include "engine/segment_writer.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "playback_files.h"
#include "temp_dir.h"
#include "tools.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace keldro {
namespace {

class PlaybackLibraryTest : public ::testing::TestWithParam<std::string>
{
protected:
    static void SetUpTestSuite()
    {
        playback_ = new PlaybackService;
        ASSERT_TRUE(
            playback_->LoadPlaybackLibrary(test::PlaybackLibraryBytes(), DefaultTempFolder()));
    }
    static void TearDownTestSuite()
    {
        delete playback_;
        playback_ = nullptr;
    }
    void TearDown() override
    {
        if (stream_ != 0)
            Api().BASS_StreamFree(stream_);
    }

    static const BassEntryPoints& Api() { return playback_->Api(); }
    HSTREAM Open(const std::string& path, DWORD flags)
    {
        stream_ = Api().BASS_StreamCreateFile(0, path.c_str(), 0, 0, flags);
        return stream_;
    }
    // The file offset of the frame being decoded, as the split run adds it up.
    DWORD FileOffset() const
    {
        return Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_CURRENT) +
               Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_START);
    }

    static PlaybackService* playback_;
    HSTREAM stream_ = 0;
};

PlaybackService* PlaybackLibraryTest::playback_ = nullptr;

TEST_P(PlaybackLibraryTest, DecodedLengthIsWhatMpg123Decodes)
{
    const std::string path = test::CorpusFile(GetParam());
    ASSERT_NE(Open(path, BASS_STREAM_PRESCAN | BASS_STREAM_DECODE), 0u);
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path) && info.HasStream());
    const DWORD channels = info.Header().channelMode == 3 ? 1 : 2;
    test::TempDir scratch;
    const long frames = test::Mpg123SampleFrames(path, scratch.Path(), true);
    ASSERT_GT(frames, 0);
    EXPECT_EQ(Api().BASS_ChannelGetLength(stream_), static_cast<QWORD>(frames) * channels * 2);

    DWORD frequency = 0;
    DWORD volume = 0;
    int pan = 1;
    ASSERT_TRUE(Api().BASS_ChannelGetAttributes(stream_, &frequency, &volume, &pan));
    EXPECT_EQ(frequency, static_cast<DWORD>(info.Header().sampleRate));
    EXPECT_EQ(Api().BASS_ChannelSeconds2Bytes(stream_, 1.0f), frequency * channels * 2);
    const auto measured = MeasureDecodedDuration(*playback_, path);
    ASSERT_TRUE(measured);
    EXPECT_EQ(measured->sampleRate, frequency);
    // Seconds come back as a float: the truncated milliseconds may be one short.
    EXPECT_NEAR(measured->durationMs, frames * 1000.0 / frequency, 1.0);

    // Only the frequency changes; -1 and -101 keep volume and pan.
    ASSERT_TRUE(Api().BASS_ChannelSetAttributes(stream_, static_cast<int>(frequency * 2),
                                                BASS_KEEP_VOLUME, BASS_KEEP_PAN));
    DWORD after = 0;
    DWORD volumeAfter = 0;
    int panAfter = 1;
    ASSERT_TRUE(Api().BASS_ChannelGetAttributes(stream_, &after, &volumeAfter, &panAfter));
    EXPECT_EQ(after, frequency * 2);
    EXPECT_EQ(volumeAfter, volume);
    EXPECT_EQ(panAfter, pan);
}

// After a seek, the file position is the start of the frame that holds the
// time, within one frame of the offset the frame table gives for it; with or
// without the prescan.
TEST_P(PlaybackLibraryTest, SeekPositionsAreFrameStartsNearTheFrameTableOffsets)
{
    const std::string path = test::CorpusFile(GetParam());
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(path) && info.HasStream());
    SilentInteraction silent;
    ASSERT_TRUE(info.LoadFrameTable(silent));
    const test::Bytes bytes = test::ReadFile(path);
    std::vector<std::size_t> starts;
    for (const test::ListedFrame& frame :
         test::ListFrames(bytes, info.FirstFrameOffset(), info.AudioEnd()))
        starts.push_back(frame.start);
    starts.push_back(info.AudioEnd());
    const auto frameIndex = [&](std::size_t offset) {
        return std::find(starts.begin(), starts.end(), offset) - starts.begin();
    };

    for (const DWORD flags : {BASS_STREAM_PRESCAN | BASS_STREAM_DECODE, BASS_STREAM_DECODE}) {
        ASSERT_NE(Open(path, flags), 0u);
        EXPECT_EQ(Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_START),
                  info.FirstFrameOffset());
        EXPECT_EQ(Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_END) +
                      Api().BASS_StreamGetFilePosition(stream_, BASS_FILEPOS_START),
                  info.AudioEnd());
        const QWORD length = Api().BASS_ChannelGetLength(stream_);
        const TimeMs total = SecondsToMs(Api().BASS_ChannelBytes2Seconds(stream_, length));
        const QWORD block = info.Header().channelMode == 3 ? 2 : 4;
        for (const int percent : {3, 17, 50, 31, 72, 99, 0}) {
            const TimeMs time = total * percent / 100;
            ASSERT_TRUE(
                Api().BASS_ChannelSetPosition(stream_, StreamBytePosition(time, total, length)));
            const QWORD position = StreamBytePosition(time, total, length);
            EXPECT_EQ(Api().BASS_ChannelGetPosition(stream_), position - position % block);
            const DWORD offset = FileOffset();
            const long index = frameIndex(offset);
            ASSERT_LT(static_cast<std::size_t>(index), starts.size())
                << percent << "%: " << offset << " is no frame start";
            const long expected =
                frameIndex(PlanSegmentByTime(info, time, total, 0, false).startOffset);
            EXPECT_LE(std::abs(index - expected), 1) << percent << "% of " << GetParam();
        }
        Api().BASS_StreamFree(stream_);
        stream_ = 0;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, PlaybackLibraryTest,
                         ::testing::Values("cbr128", "cbr128_tagged", "vbr_v2",
                                           "vbr_v5_mono_tagged", "cbr_mono48", "mpeg2_22k",
                                           "mpeg25_8k_mono", "abr96"));

TEST_F(PlaybackLibraryTest, RefusesWhatItCannotDo)
{
    test::TempDir temp;
    test::WriteFile(temp.File("noise.mp3"), test::Garbage(20000));
    EXPECT_EQ(Open(temp.File("noise.mp3"), BASS_STREAM_DECODE), 0u);
    EXPECT_EQ(Api().BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    EXPECT_EQ(Open(temp.File("missing.mp3"), BASS_STREAM_DECODE), 0u);

    ASSERT_NE(Open(test::CorpusFile("cbr128"), BASS_STREAM_DECODE), 0u);
    EXPECT_FALSE(Api().BASS_ChannelPlay(stream_, 0));
    EXPECT_EQ(Api().BASS_ErrorGetCode(), BASS_ERROR_DECODE);
    EXPECT_FALSE(Api().BASS_ChannelSetPosition(stream_, Api().BASS_ChannelGetLength(stream_) + 4));
    EXPECT_EQ(Api().BASS_ChannelIsActive(stream_), BASS_ACTIVE_STOPPED);

    EXPECT_FALSE(Api().BASS_ChannelStop(stream_ + 1000));
    EXPECT_EQ(Api().BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    // Entry points the program never calls still answer.
    EXPECT_EQ(Api().BASS_StreamCreate(44100, 2, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(Api().BASS_StreamGetTags(stream_, 0), nullptr);
    EXPECT_EQ(Api().BASS_GetDSoundObject(0), nullptr);
    EXPECT_FALSE(Api().BASS_GetInfo(nullptr));
    EXPECT_EQ(Api().BASS_GetCPU(), 0.0f);
    EXPECT_STREQ(Api().BASS_GetDeviceDescription(0), "No sound");
    // Playing needs an initialised output; decoding does not.
    EXPECT_EQ(Api().BASS_StreamCreateFile(0, test::CorpusFile("cbr128").c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(Api().BASS_ErrorGetCode(), BASS_ERROR_INIT);
}

} // namespace
} // namespace keldro
