// Cutting synthesised sources: layout of the output, the copied header's
// counts, and that nothing is lost or half-written.
#include "engine/segment_writer.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "temp_dir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;
namespace fs = std::filesystem;

std::uint32_t WordAt(const Bytes& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to)
{
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to));
}

class SegmentWriterTest : public ::testing::Test
{
protected:
    void Analyse(const Bytes& bytes)
    {
        source_ = bytes;
        sourcePath_ = dir_.File("source.mp3");
        test::WriteFile(sourcePath_, bytes);
        ASSERT_TRUE(info_.Analyse(sourcePath_));
        ASSERT_TRUE(info_.HasStream());
    }

    std::vector<std::string> FolderContents() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir_;
    Bytes source_;
    std::string sourcePath_;
    CMP3Info info_;
};

// The source of the worked example: a 417-byte Xing frame announcing 9000
// frames, 3,753,000 bytes of audio, and a frame starting at 958,320.
Bytes WorkedExampleSource()
{
    Bytes bytes = test::XingFrame(HeaderFields{}, 9000, 0);
    HeaderFields plain;
    HeaderFields padded;
    padded.padding = 1;
    Append(bytes, test::Frames(plain, 2243));
    Append(bytes, test::Frames(padded, 54));
    Append(bytes, test::Frames(padded, 363));
    Append(bytes, test::Frames(plain, 6702 - 363));
    return bytes;
}

TEST_F(SegmentWriterTest, WorkedExampleFirstMinuteInFastHandling)
{
    Analyse(WorkedExampleSource());
    ASSERT_EQ(source_.size(), 3'753'417u);
    ASSERT_NEAR(info_.AverageBitrate(), 127.7204, 1e-4);
    EXPECT_EQ(info_.TimeToOffset(60'000, 0, true), 958'320u);

    const std::string out = dir_.File("minute.mp3");
    const SegmentResult result = WriteSegmentByTime(info_, out, 0, 60'000, 0, true, {});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.startOffset, 417u);
    EXPECT_EQ(result.endOffset, 958'320u);
    EXPECT_EQ(result.frames, 2297u);
    const Bytes written = test::ReadFile(out);
    ASSERT_EQ(written.size(), 417u + 957'903u);
    EXPECT_EQ(result.bytesWritten, written.size());
    EXPECT_EQ(WordAt(written, 36 + 8), 2297u);     // frame count
    EXPECT_EQ(WordAt(written, 36 + 12), 958'320u); // byte count
    // Apart from the two counts the header frame is the source's.
    Bytes header = Slice(written, 0, 417);
    Bytes sourceHeader = Slice(source_, 0, 417);
    std::fill(header.begin() + 44, header.begin() + 52, 0);
    std::fill(sourceHeader.begin() + 44, sourceHeader.begin() + 52, 0);
    EXPECT_EQ(header, sourceHeader);
    EXPECT_EQ(Slice(written, 417, written.size()), Slice(source_, 417, 958'320));
}

TEST_F(SegmentWriterTest, PlanGivesTheOffsetsAWriteUses)
{
    Analyse(WorkedExampleSource());
    for (const auto& [start, end] :
         {std::pair<TimeMs, TimeMs>{0, 60'000}, {12'345, 54'321}, {100'000, info_.DurationMs()}}) {
        const SegmentPlan plan = PlanSegmentByTime(info_, start, end, 0, true);
        const SegmentResult written = WriteSegmentByTime(
            info_, dir_.File("plan" + std::to_string(start) + ".mp3"), start, end, 0, true, {});
        ASSERT_TRUE(plan.ok && written.ok);
        EXPECT_EQ(plan.startOffset, written.startOffset);
        EXPECT_EQ(plan.endOffset, written.endOffset);
    }
    EXPECT_FALSE(PlanSegmentByTime(info_, 5, 4, 0, true).ok);
}

TEST_F(SegmentWriterTest, FrameCountIsWhatWasCopied)
{
    Analyse(WorkedExampleSource());
    // The announced 9000 frames over 3,753,000 bytes would estimate 6 frames here.
    const SegmentResult result =
        WriteSegment(info_, dir_.File("seven.mp3"), 417 + 5 * 417, 417 + 12 * 417, {});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.frames, 7u);
    EXPECT_EQ(WordAt(test::ReadFile(dir_.File("seven.mp3")), 36 + 8), 7u);
}

TEST_F(SegmentWriterTest, FramesAreCountedAcrossCopyChunks)
{
    // Over 10 MB: frames straddle the boundaries of the copy buffer.
    Bytes bytes = test::XingFrame(HeaderFields{}, 24'000, 0);
    Append(bytes, test::Frames(HeaderFields{}, 24'000, true));
    Analyse(bytes);
    const SegmentResult result =
        WriteSegmentByTime(info_, dir_.File("whole.mp3"), 0, info_.DurationMs(), 0, true, {});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.frames, 24'000u);
    const Bytes written = test::ReadFile(dir_.File("whole.mp3"));
    EXPECT_EQ(WordAt(written, 44), 24'000u);
    EXPECT_EQ(Slice(written, 417, written.size()), Slice(source_, 417, source_.size()));
}

TEST_F(SegmentWriterTest, VbriCountsLandAtTheirOwnPlaces)
{
    HeaderFields mpeg2;
    mpeg2.versionBits = 2;
    mpeg2.bitrateIndex = 8;
    Bytes bytes = test::VbriFrame(mpeg2, 500, 12345);
    // A table of 4 two-byte entries in bytes, 125 frames each.
    bytes[36 + 19] = 4;
    bytes[36 + 21] = 1;
    bytes[36 + 23] = 2;
    bytes[36 + 25] = 125;
    Append(bytes, test::Frames(mpeg2, 500));
    Analyse(bytes);
    const std::string out = dir_.File("vbri.mp3");
    const SegmentResult result = WriteSegment(info_, out, 208 + 10 * 208, 208 + 30 * 208, {});
    ASSERT_TRUE(result.ok);
    const Bytes written = test::ReadFile(out);
    ASSERT_EQ(written.size(), 208u + 20 * 208);
    EXPECT_EQ(WordAt(written, 36 + 10), 208u + 20 * 208);        // bytes
    EXPECT_EQ(WordAt(written, 36 + 14), 20u);                    // frames
    EXPECT_EQ(WordAt(written, 36 + 4), WordAt(source_, 36 + 4)); // version, delay kept
    // The table is the piece's: 4 entries of 5 frames of 208 bytes.
    EXPECT_EQ(written[36 + 25], 5);
    for (int entry = 0; entry < 4; ++entry)
        EXPECT_EQ(written[36 + 26 + 2 * entry] << 8 | written[36 + 27 + 2 * entry], 5 * 208)
            << entry;
}

TEST_F(SegmentWriterTest, InfoHeaderFrameIsCopiedAndPatchedLikeXing)
{
    Bytes bytes = test::XingFrame(HeaderFields{}, 100, 100 * 417, "Info");
    Append(bytes, test::Frames(HeaderFields{}, 100));
    Analyse(bytes);
    const std::string out = dir_.File("info.mp3");
    ASSERT_TRUE(WriteSegment(info_, out, 417, 417 + 30 * 417, {}).ok);
    const Bytes written = test::ReadFile(out);
    ASSERT_EQ(written.size(), 31u * 417);
    EXPECT_EQ(WordAt(written, 36), WordAt(source_, 36)); // still "Info"
    EXPECT_EQ(WordAt(written, 44), 30u);
    EXPECT_EQ(WordAt(written, 48), 31u * 417);
}

TEST_F(SegmentWriterTest, HeaderAndTagAreOptional)
{
    Bytes bytes = test::Frames(HeaderFields{}, 50);
    Append(bytes, test::Id3v1Tag("source tag", "", "", "", "", 0, 1));
    Analyse(bytes);
    const Id3v1Block tag = BuildID3v1Tag("Track", "Artist", "", "", "", 3, 17);
    SegmentOptions options;
    options.tag = tag;
    const std::string out = dir_.File("tagged.mp3");
    // A header asked for where the source has none: just the audio and the tag.
    ASSERT_TRUE(WriteSegment(info_, out, 0, 50 * 417, options).ok);
    const Bytes written = test::ReadFile(out);
    ASSERT_EQ(written.size(), 50u * 417 + 128);
    EXPECT_EQ(Slice(written, 0, 50 * 417), Slice(source_, 0, 50 * 417));
    EXPECT_EQ(Slice(written, 50 * 417, written.size()), Bytes(tag.begin(), tag.end()));

    Analyse(WorkedExampleSource());
    options = SegmentOptions{};
    options.writeVbrHeader = false;
    options.mayReplace = true;
    ASSERT_TRUE(WriteSegment(info_, out, 417, 834, options).ok);
    EXPECT_EQ(test::ReadFile(out), Slice(source_, 417, 834));
}

TEST_F(SegmentWriterTest, EqualOffsetsWriteOnlyHeaderFrameAndTag)
{
    Analyse(WorkedExampleSource());
    SegmentOptions options;
    options.tag = BuildID3v1Tag("x", "", "", "", "", 0, 255);
    const std::string out = dir_.File("empty.mp3");
    const SegmentResult result = WriteSegment(info_, out, 5000, 5000, options);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.frames, 0u);
    const Bytes written = test::ReadFile(out);
    ASSERT_EQ(written.size(), 417u + 128);
    EXPECT_EQ(WordAt(written, 44), 0u);
    EXPECT_EQ(WordAt(written, 48), 417u);
}

TEST_F(SegmentWriterTest, SegmentFromZeroToTheEndLeavesOutEveryTag)
{
    Bytes bytes = test::Id3v2Tag(3, 200);
    Append(bytes, test::XingFrame(HeaderFields{}, 80, 0));
    Append(bytes, test::Frames(HeaderFields{}, 80, true));
    Append(bytes, test::Id3v1Tag("source", "", "", "", "", 0, 255));
    Analyse(bytes);
    SegmentOptions options;
    options.writeVbrHeader = false;
    const std::string out = dir_.File("all.mp3");
    const SegmentResult result =
        WriteSegmentByTime(info_, out, 0, info_.DurationMs(), 0, true, options);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.frames, 80u);
    EXPECT_EQ(test::ReadFile(out), Slice(source_, 210 + 417, source_.size() - 128));
}

TEST_F(SegmentWriterTest, ExistingOutputIsReplacedWholeOnlyWhenAllowed)
{
    Analyse(test::Frames(HeaderFields{}, 20));
    const std::string out = dir_.File("old.mp3");
    test::WriteFile(out, Bytes(100'000, 7));
    const SegmentResult refused = WriteSegment(info_, out, 0, 417, {});
    EXPECT_EQ(refused.error, SegmentError::TargetExists);
    EXPECT_EQ(test::ReadFile(out), Bytes(100'000, 7));
    SegmentOptions options;
    options.mayReplace = true;
    ASSERT_TRUE(WriteSegment(info_, out, 0, 417, options).ok);
    EXPECT_EQ(test::ReadFile(out), Slice(source_, 0, 417));
    EXPECT_EQ(FolderContents(), (std::vector<std::string>{"old.mp3", "source.mp3"}));
}

TEST_F(SegmentWriterTest, OutputGetsTheUsualPermissions)
{
    Analyse(test::Frames(HeaderFields{}, 20));
    const mode_t previous = ::umask(027);
    const bool ok = WriteSegment(info_, dir_.File("perm.mp3"), 0, 417, {}).ok;
    ::umask(previous);
    ASSERT_TRUE(ok);
    EXPECT_EQ(fs::status(dir_.File("perm.mp3")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SegmentWriterTest, BadRangesCreateNothing)
{
    Analyse(test::Frames(HeaderFields{}, 20));
    const std::string out = dir_.File("bad.mp3");
    EXPECT_EQ(WriteSegment(info_, out, 0, 20 * 417 + 1, {}).error, SegmentError::BadRange);
    EXPECT_EQ(WriteSegment(info_, out, 900, 800, {}).error, SegmentError::BadRange);
    EXPECT_EQ(WriteSegmentByTime(info_, out, 300, 200, 0, true, {}).error, SegmentError::BadRange);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(WriteSegment(info_, dir_.File("no/such/folder.mp3"), 0, 417, {}).error,
              SegmentError::CannotCreate);
}

TEST_F(SegmentWriterTest, SourceIsNeverTheTarget)
{
    Analyse(test::Frames(HeaderFields{}, 20));
    fs::create_symlink(sourcePath_, dir_.File("link.mp3"));
    fs::create_hard_link(sourcePath_, dir_.File("hard.mp3"));
    fs::create_directory(dir_.File("sub"));
    for (const std::string& target : {sourcePath_, dir_.File("link.mp3"), dir_.File("hard.mp3"),
                                      dir_.File("sub/../source.mp3")}) {
        EXPECT_EQ(WriteSegment(info_, target, 0, 417, {}).error, SegmentError::TargetIsSource)
            << target;
    }
    EXPECT_EQ(test::ReadFile(sourcePath_), source_);
}

TEST_F(SegmentWriterTest, ChangedSourceIsRefused)
{
    Analyse(test::Frames(HeaderFields{}, 20));
    test::WriteFile(sourcePath_, test::Frames(HeaderFields{}, 19));
    EXPECT_EQ(WriteSegment(info_, dir_.File("out.mp3"), 0, 417, {}).error,
              SegmentError::SourceChanged);
    fs::remove(sourcePath_);
    EXPECT_EQ(WriteSegment(info_, dir_.File("out.mp3"), 0, 417, {}).error,
              SegmentError::SourceChanged);
    EXPECT_FALSE(fs::exists(dir_.File("out.mp3")));
}

TEST_F(SegmentWriterTest, WithAFrameTableTheSameBytesAreMovedByTheKernel)
{
    Bytes bytes = test::XingFrame(HeaderFields{}, 12'000, 0);
    HeaderFields loud;
    loud.bitrateIndex = 13;
    for (int i = 0; i < 300; ++i)
        Append(bytes, test::Frames(i % 3 ? HeaderFields{} : loud, 40, true));
    Analyse(bytes);
    const std::uint32_t from = info_.TimeToOffset(61'000, 0, true);
    const std::uint32_t to = info_.TimeToOffset(250'000, 0, true);
    const SegmentResult counted = WriteSegment(info_, dir_.File("counted.mp3"), from, to, {});
    test::ScriptedInteraction ui;
    ASSERT_TRUE(info_.LoadFrameTable(ui));
    ASSERT_FALSE(info_.FrameTable().empty());
    const SegmentResult moved = WriteSegment(info_, dir_.File("moved.mp3"), from, to, {});
    ASSERT_TRUE(counted.ok && moved.ok);
    EXPECT_EQ(moved.frames, counted.frames);
    EXPECT_EQ(moved.startOffset, counted.startOffset);
    EXPECT_EQ(test::ReadFile(dir_.File("moved.mp3")), test::ReadFile(dir_.File("counted.mp3")));
}

// A write that fails half-way (here: a file size limit, as a full disk would)
// is a failure, leaves no partial file and keeps the file it was to replace;
// whether the audio passes through memory or is moved by the kernel.
TEST_F(SegmentWriterTest, FailedWriteLeavesNothingBehind)
{
    Bytes bytes = test::XingFrame(HeaderFields{}, 6000, 0);
    Append(bytes, test::Frames(HeaderFields{}, 6000));
    Analyse(bytes);
    const std::string out = dir_.File("full.mp3");
    test::WriteFile(out, Bytes(10, 1));
    test::ScriptedInteraction ui;
    for (const bool withTable : {false, true}) {
        if (withTable) {
            ASSERT_TRUE(info_.LoadFrameTable(ui));
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{100'000, 100'000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const SegmentResult result = WriteSegment(info_, out, 417, 6001 * 417, {});
            ::_exit(!result.ok && result.error == SegmentError::WriteFailed ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << withTable;
        EXPECT_EQ(test::ReadFile(out), Bytes(10, 1));
        EXPECT_EQ(FolderContents(), (std::vector<std::string>{"full.mp3", "source.mp3"}));
    }
}

TEST(PatchVbrHeader, WritesOnlyWhereThereIsRoom)
{
    Bytes xing(16, 0);
    PatchVbrHeader(xing, 0x01020304, 0x0A0B0C0D, VbrHeaderType::Xing);
    EXPECT_EQ(WordAt(xing, 8), 0x01020304u);
    EXPECT_EQ(WordAt(xing, 12), 0x0A0B0C0Du);
    Bytes shortTag(15, 0);
    PatchVbrHeader(shortTag, 1, 2, VbrHeaderType::Xing);
    EXPECT_EQ(shortTag, Bytes(15, 0));
    Bytes vbri(18, 0);
    PatchVbrHeader(vbri, 5, 6, VbrHeaderType::Vbri);
    EXPECT_EQ(WordAt(vbri, 14), 5u);
    EXPECT_EQ(WordAt(vbri, 10), 6u);
    Bytes none(18, 0);
    PatchVbrHeader(none, 5, 6, VbrHeaderType::None);
    EXPECT_EQ(none, Bytes(18, 0));
}

} // namespace
} // namespace keldro
