// What a merge writes: the frames, the kept header frame and its counts, the
// silence and the tag; and what an interrupted merge leaves.
#include "base/interruption.h"
#include "engine/id3v1.h"
#include "merge_run_fixture.h"

#include <csignal>

namespace keldro {
namespace {

using test::Bytes;
using test::HeaderFields;

class MergeOutputTest : public test::MergeRunTest
{
protected:
    static std::uint32_t Size(const Bytes& bytes)
    {
        return static_cast<std::uint32_t>(bytes.size());
    }
};

TEST_F(MergeOutputTest, OneRowIsTheSourcesAudioWithItsHeaderFramePatched)
{
    const HeaderFields fields;
    const Bytes audio = VaryingFrames(20);
    Add({Source("a.mp3", test::XingFrame(fields, 999, 5), audio)});
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    const std::uint32_t headerLength = 417;
    Bytes expected = test::XingFrame(fields, 20, headerLength + Size(audio));
    test::Append(expected, audio);
    EXPECT_TRUE(test::ReadFile(dir_.File("out.mp3")) == expected);
    EXPECT_EQ(view_.summary->frameTotal, 20u);
    EXPECT_EQ(view_.summary->byteTotal, Size(expected));
    EXPECT_EQ(view_.summary->header, VbrHeaderType::Xing);
    EXPECT_FALSE(view_.summary->tag);
    ASSERT_EQ(view_.merged.size(), 1u);
    EXPECT_EQ(view_.merged[0].startOffset, 310u + headerLength);
    EXPECT_EQ(view_.merged[0].frames, 20u);
}

TEST_F(MergeOutputTest, InfoAndVbriHeaderFramesAreKeptAndPatchedToo)
{
    const HeaderFields fields;
    const Bytes audio = test::Frames(fields, 12);
    for (const bool vbri : {false, true}) {
        const Bytes header =
            vbri ? test::VbriFrame(fields, 7, 7) : test::XingFrame(fields, 7, 7, "Info");
        Add({Source("a.mp3", header, audio), Source("b.mp3", {}, audio)});
        ASSERT_TRUE(Merge(dir_.File(vbri ? "vbri.mp3" : "info.mp3")));
        const std::uint32_t bytes = Size(header) + 2 * Size(audio);
        Bytes expected =
            vbri ? test::VbriFrame(fields, 24, bytes) : test::XingFrame(fields, 24, bytes, "Info");
        test::Append(expected, audio);
        test::Append(expected, audio);
        EXPECT_TRUE(test::ReadFile(view_.summary->output) == expected) << vbri;
        EXPECT_EQ(view_.summary->header, vbri ? VbrHeaderType::Vbri : VbrHeaderType::Info);
        Page().ClearMergeList(false);
    }
}

TEST_F(MergeOutputTest, LaterHeaderFramesAreLeftOutAndAFirstFileWithoutOneGivesNone)
{
    const HeaderFields fields;
    const Bytes first = test::Frames(fields, 9, true);
    const Bytes second = VaryingFrames(11);
    Add({Source("cbr.mp3", {}, first), Source("vbr.mp3", test::XingFrame(fields, 11, 1), second)});
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    Bytes expected = first;
    test::Append(expected, second);
    EXPECT_TRUE(test::ReadFile(dir_.File("out.mp3")) == expected);
    EXPECT_EQ(view_.summary->header, VbrHeaderType::None);
    EXPECT_EQ(view_.summary->frameTotal, 20u);
}

TEST_F(MergeOutputTest, SilenceFollowsItsFileAndIsCountedInBothTotals)
{
    const HeaderFields fields;
    HeaderFields half; // MPEG 2, 22050 Hz, 64 kbit/s: its silence has its own frames
    half.versionBits = 2;
    half.bitrateIndex = 8;
    const Bytes vbr = VaryingFrames(10);
    const Bytes cbr = test::Frames(half, 6);
    Add({Source("vbr.mp3", test::XingFrame(fields, 10, 1), vbr), Source("cbr.mp3", {}, cbr),
         Source("last.mp3", {}, cbr)});
    SetSilence(1, 1);
    SetSilence(2, 2);
    Page().SetTags({.title = "Joined"});
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    const Bytes out = test::ReadFile(dir_.File("out.mp3"));
    const std::uint32_t silenceOne = 1 + 64'000 / (8 * 208);
    const std::uint32_t silenceTwo = 1 + 128'000 / (8 * 208);
    EXPECT_EQ(view_.summary->frameTotal, 10 + 6 + silenceOne + 6 + silenceTwo);
    EXPECT_EQ(view_.summary->byteTotal, Size(out) - 128); // everything but the tag
    // Silence after the second file comes before the third file's frames.
    const std::size_t silenceStart = 417 + vbr.size() + cbr.size();
    EXPECT_EQ(out[silenceStart + 4], 0);
    EXPECT_TRUE(std::equal(cbr.begin(), cbr.end(), out.begin() + silenceStart + silenceOne * 208));
    EXPECT_EQ(out[out.size() - 129], 0); // silence right before the tag
    EXPECT_EQ(test::WalkFrames(out, 417 + vbr.size(), out.size() - 128).end, out.size() - 128);
    EXPECT_EQ(view_.merged[1].silenceFrames, silenceOne);
}

TEST_F(MergeOutputTest, ASkippedFirstRowMeansNoHeaderFrame)
{
    const HeaderFields fields;
    const Bytes audio = VaryingFrames(8);
    const std::string gone = Source("gone.mp3", {}, audio);
    Add({gone, Source("vbr.mp3", test::XingFrame(fields, 8, 1), audio)});
    std::filesystem::remove(gone);
    ui_.answers = {MessageAnswer::Retry, MessageAnswer::Ignore};
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_TRUE(test::ReadFile(dir_.File("out.mp3")) == audio);
    EXPECT_EQ(view_.summary->header, VbrHeaderType::None);
    ASSERT_EQ(ui_.messages.size(), 2u); // asked again after Retry
    EXPECT_EQ(ui_.messages[0].buttons, MessageButtons::AbortRetryIgnore);
    EXPECT_EQ(ui_.messages[0].text, "未能载入 MP3 文件\n\n" + gone + "!");
}

TEST_F(MergeOutputTest, AnExactMultipleOfTheChunkIsCopiedOnce)
{
    HeaderFields padded;
    padded.padding = 1;
    Bytes audio = test::Frames(HeaderFields{}, 11'820); // 417 bytes each
    test::Append(audio, test::Frames(padded, 170));     // 418 bytes each
    ASSERT_EQ(audio.size(), 5'000'000u);
    Add({Source("big.mp3", {}, audio)});
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_TRUE(test::ReadFile(dir_.File("out.mp3")) == audio);
    EXPECT_EQ(ui_.pumps, 2); // one per chunk, one once the output is finished
    EXPECT_EQ(view_.summary->frameTotal, 11'990u);
}

TEST_F(MergeOutputTest, TagOnlyWhenAFieldIsSet)
{
    const Bytes audio = test::Frames(HeaderFields{}, 5);
    Add({Source("a.mp3", {}, audio)});
    ASSERT_TRUE(Merge(dir_.File("plain.mp3")));
    EXPECT_EQ(test::ReadFile(dir_.File("plain.mp3")).size(), audio.size());
    Page().SetTags({.genreSelection = 18}); // genre 17 alone
    ASSERT_TRUE(Merge(dir_.File("genre.mp3")));
    Bytes expected = audio;
    test::Append(expected, test::Id3v1Tag("", "", "", "", "", 0, 17));
    EXPECT_TRUE(test::ReadFile(dir_.File("genre.mp3")) == expected);
    Page().SetTags({.comment = "c", .track = 3});
    ASSERT_TRUE(Merge(dir_.File("track.mp3")));
    expected = audio;
    test::Append(expected, test::Id3v1Tag("", "", "", "", "c", 3, 255));
    EXPECT_TRUE(test::ReadFile(dir_.File("track.mp3")) == expected);
}

TEST_F(MergeOutputTest, AStoppedMergeLeavesNothingAndAnExistingTargetIntact)
{
    const Bytes audio = test::Frames(HeaderFields{}, 5);
    Add({Source("a.mp3", {}, audio), Source("b.mp3", {}, audio)});
    const std::string target = dir_.File("out.mp3");
    test::WriteFile(target, {1, 2, 3});
    const std::size_t files = FileCount();
    settings_.SetSettingInt(setting::kJoinerConfirmOverwrite, 0);
    // Start/Stop pressed again during the first file, then OK in the question.
    view_.onFileMerged = [this](const MergedFile&) { Page().RunMerge(); };
    ui_.answers = {MessageAnswer::Ok};
    EXPECT_FALSE(Merge(target));
    EXPECT_TRUE(test::ReadFile(target) == (Bytes{1, 2, 3}));
    EXPECT_EQ(FileCount(), files);
    EXPECT_EQ(view_.statuses.back(), "已中止");
    EXPECT_EQ(view_.progress.back().first, 0);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "你确定要中止吗?");
    EXPECT_FALSE(Page().IsBusy());
    // Closing the program stops without asking; Abort at a bad file does too.
    view_.onFileMerged = [this](const MergedFile&) { Page().RequestMergeStop(false); };
    EXPECT_FALSE(Merge(target));
    std::filesystem::remove(dir_.File("b.mp3"));
    view_.onFileMerged = {};
    ui_.answers = {MessageAnswer::Abort};
    EXPECT_FALSE(Merge(target));
    EXPECT_TRUE(test::ReadFile(target) == (Bytes{1, 2, 3}));
    EXPECT_EQ(FileCount(), files - 1);
}

TEST_F(MergeOutputTest, LongSilenceCanBeStopped)
{
    Add({Source("a.mp3", {}, test::Frames(HeaderFields{}, 5))});
    SetSilence(0, 3600); // 57.6 MB
    const std::size_t files = FileCount();
    ui_.onPump = [this] {
        if (ui_.pumps == 3)
            Page().RequestMergeStop(false);
    };
    EXPECT_FALSE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(ui_.pumps, 3);
    EXPECT_EQ(FileCount(), files);
    EXPECT_EQ(Page().LastRunOutcome(), RunOutcome::Aborted);
}

TEST_F(MergeOutputTest, AnEndingProcessStopsWithoutAsking)
{
    const Bytes audio = test::Frames(HeaderFields{}, 5);
    Add({Source("a.mp3", {}, audio), Source("b.mp3", {}, audio)});
    const std::size_t files = FileCount();
    view_.onFileMerged = [](const MergedFile&) { NoteInterruption(SIGTERM); };
    EXPECT_FALSE(Merge(dir_.File("out.mp3")));
    ClearInterruption();
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(view_.merged.size(), 1u);
    EXPECT_EQ(FileCount(), files);
    EXPECT_EQ(Page().LastRunOutcome(), RunOutcome::Aborted);
}

TEST_F(MergeOutputTest, CancellingTheStopQuestionGoesOn)
{
    const Bytes audio = test::Frames(HeaderFields{}, 5);
    Add({Source("a.mp3", {}, audio), Source("b.mp3", {}, audio)});
    view_.onFileMerged = [this](const MergedFile&) { Page().RunMerge(); };
    ui_.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    ASSERT_TRUE(Merge(dir_.File("out.mp3")));
    EXPECT_EQ(test::ReadFile(dir_.File("out.mp3")).size(), 2 * audio.size());
}

} // namespace
} // namespace keldro
