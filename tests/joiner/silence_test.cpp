#include "base/output_file.h"
#include "base/settings.h"
#include "common/setting_keys.h"
#include "engine/mp3_info.h"
#include "joiner/silence.h"
#include "mp3_builder.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Bytes;
using test::HeaderFields;

TEST(SilenceFrameCount, OneMoreThanTheWholeFramesInTheSeconds)
{
    EXPECT_EQ(SilenceFrameCount(128, 417, 1), 39u);  // 1 + floor(128000 / 3336)
    EXPECT_EQ(SilenceFrameCount(128, 417, 5), 192u); // 1 + floor(640000 / 3336)
    EXPECT_EQ(SilenceFrameCount(64, 208, 2), 77u);   // 1 + floor(128000 / 1664)
    EXPECT_EQ(SilenceFrameCount(128, 417, 0), 0u);
    EXPECT_EQ(SilenceFrameCount(128, 0, 3), 0u);
}

TEST(SilenceText, SecondsOrNone)
{
    EXPECT_EQ(SilenceText(3), "3");
    EXPECT_EQ(SilenceText(0), "<无>");
    EXPECT_EQ(SilenceText(-2), "<无>");
    MemorySettings settings;
    settings.SetSettingInt(setting::kSilenceLength, 4);
    EXPECT_EQ(AutomaticSilenceText(settings), "<无>"); // not automatic
    settings.SetSettingInt(setting::kAutoApplySilence, 1);
    EXPECT_EQ(AutomaticSilenceText(settings), "4");
    settings.SetSettingInt(setting::kSilenceLength, 0);
    EXPECT_EQ(AutomaticSilenceText(settings), "<无>");
}

class AppendSilenceTest : public ::testing::Test
{
protected:
    // A source of a few frames, analysed; silence appended to an empty output.
    Bytes SilenceAfter(const Bytes& source, int seconds, std::uint32_t* frames = nullptr)
    {
        test::WriteFile(dir_.File("source.mp3"), source);
        CMP3Info info;
        EXPECT_TRUE(info.Analyse(dir_.File("source.mp3")));
        OutputFile out(dir_.File("silence.mp3"));
        const SilenceResult result = AppendSilence(out, info, seconds);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.bytes, out.Size());
        EXPECT_EQ(out.Commit(true), OutputFile::CommitResult::Done);
        if (frames)
            *frames = result.frames;
        return test::ReadFile(dir_.File("silence.mp3"));
    }

    // Every frame of the silence: the expected header, then zeros.
    static void ExpectSilentFrames(const Bytes& bytes, std::uint32_t header, std::size_t length,
                                   std::size_t count)
    {
        ASSERT_EQ(bytes.size(), length * count);
        for (std::size_t at = 0; at < bytes.size(); at += length) {
            const std::uint32_t word = (std::uint32_t{bytes[at]} << 24) |
                                       (std::uint32_t{bytes[at + 1]} << 16) |
                                       (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
            ASSERT_EQ(word, header) << "frame at " << at;
            for (std::size_t k = at + 4; k < at + length; ++k)
                ASSERT_EQ(bytes[k], 0) << "byte " << k;
        }
    }

    test::TempDir dir_;
};

TEST_F(AppendSilenceTest, OneSecondAt128kbpsIs39FramesOf417Bytes)
{
    const HeaderFields fields; // 128 kbit/s, 44100 Hz, no CRC
    std::uint32_t frames = 0;
    const Bytes silence = SilenceAfter(test::Frames(fields, 10), 1, &frames);
    EXPECT_EQ(frames, 39u);
    ExpectSilentFrames(silence, test::MakeHeader(fields), 417, 39);
    EXPECT_EQ(silence.size(), 16'263u);
}

TEST_F(AppendSilenceTest, AfterAVbrHeaderTheFramesAreWholeToo)
{
    const HeaderFields fields;
    Bytes source = test::XingFrame(fields, 10, 4170);
    test::Append(source, test::Frames(fields, 10));
    std::uint32_t frames = 0;
    const Bytes silence = SilenceAfter(source, 5, &frames);
    EXPECT_EQ(frames, 192u);
    ExpectSilentFrames(silence, test::MakeHeader(fields), 417, 192);
}

TEST_F(AppendSilenceTest, CrcIsSwitchedOffAndPaddingKept)
{
    HeaderFields withCrc;
    withCrc.protectionBit = 0;
    withCrc.padding = 1;
    HeaderFields expected = withCrc;
    expected.protectionBit = 1;
    const Bytes silence = SilenceAfter(test::Frames(withCrc, 10), 1);
    ExpectSilentFrames(silence, test::MakeHeader(expected), 418, 39);
    // The frames decode as a stream of the source's format.
    EXPECT_EQ(test::WalkFrames(silence, 0, silence.size()).frames, 39);
}

TEST_F(AppendSilenceTest, EachFileGetsSilenceInItsOwnFormat)
{
    HeaderFields half; // MPEG 2, 22050 Hz, 64 kbit/s, mono
    half.versionBits = 2;
    half.bitrateIndex = 8;
    half.channelMode = 3;
    std::uint32_t frames = 0;
    const Bytes silence = SilenceAfter(test::Frames(half, 10), 2, &frames);
    const std::size_t length = static_cast<std::size_t>(test::FrameLengthOf(half));
    EXPECT_EQ(length, 208u);
    EXPECT_EQ(frames, 77u);
    ExpectSilentFrames(silence, test::MakeHeader(half), length, 77);
}

TEST(InsertSilence, PresetsLengthCheckAndSave)
{
    MemorySettings settings;
    settings.SetSettingInt(setting::kSilenceLength, 3);
    EXPECT_EQ(InsertSilence::Prepare(settings, 0, false).lengthText, "3");
    InsertSilence dialog = InsertSilence::Prepare(settings, 5, false);
    EXPECT_EQ(dialog.lengthText, "5"); // the first selected row's silence wins
    EXPECT_FALSE(dialog.automatic);
    EXPECT_TRUE(InsertSilence::Prepare(settings, 0, true).noSelection);

    for (const char* bad : {"", "abc", "3s", "1.5", "99999999999"}) {
        dialog.lengthText = bad;
        EXPECT_FALSE(dialog.Length()) << bad;
        EXPECT_FALSE(dialog.Save(settings)) << bad;
    }
    EXPECT_EQ(settings.GetSettingInt(setting::kSilenceLength, 0), 3);
    dialog.lengthText = "-2";
    EXPECT_EQ(dialog.Length(), -2);
    dialog.lengthText = "7";
    dialog.automatic = true;
    EXPECT_TRUE(dialog.Save(settings));
    EXPECT_EQ(settings.GetSettingInt(setting::kSilenceLength, 0), 7);
    EXPECT_EQ(settings.GetSettingInt(setting::kAutoApplySilence, 0), 1);
}

} // namespace
} // namespace keldro
