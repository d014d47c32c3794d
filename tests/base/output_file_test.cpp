// Outputs that appear whole or not at all: the temporary file, committing with
// and without leave to replace, permissions, splicing, failures and their reasons.
#include "base/interruption.h"
#include "base/output_file.h"
#include "mp3_builder.h"
#include "temp_dir.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace keldro {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test
{
protected:
    std::vector<std::string> Names() const { return dir_.Names(); }

    test::TempDir dir_;
};

bool WriteText(OutputFile& out, const std::string& text)
{
    return out.Write(text.data(), text.size());
}

std::string ReadText(const std::string& path)
{
    const test::Bytes bytes = test::ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

fs::perms Permissions(const std::string& path)
{
    return fs::status(path).permissions();
}

TEST_F(OutputFileTest, WrittenUnderAShortHiddenNameThenRenamed)
{
    const std::string target = dir_.File("song.mp3");
    {
        OutputFile out(target);
        ASSERT_TRUE(out.IsOpen());
        ASSERT_TRUE(WriteText(out, "audio"));
        const std::vector<std::string> names = Names();
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(names[0].rfind(".keldro-", 0), 0u);
        EXPECT_EQ(names[0].size(), 14u);
        EXPECT_EQ(out.Commit(false), OutputFile::CommitResult::Done);
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"song.mp3"});
    EXPECT_EQ(ReadText(target), "audio");
}

TEST_F(OutputFileTest, TheLongestNameTheFileSystemAllowsCanBeWritten)
{
    // 85 three-byte characters: 255 bytes, the limit of a name.
    std::string name;
    for (int i = 0; i < 83; ++i)
        name += "曲";
    name += "1.mp3";
    ASSERT_EQ(name.size(), 254u);
    const std::string target = dir_.File(name + "3");
    OutputFile out(target);
    ASSERT_TRUE(out.IsOpen());
    ASSERT_TRUE(WriteText(out, "x"));
    EXPECT_EQ(out.Commit(false), OutputFile::CommitResult::Done);
    EXPECT_TRUE(fs::exists(target));
}

TEST_F(OutputFileTest, UnfinishedOrFailedOutputsLeaveNothing)
{
    const std::string target = dir_.File("a.mp3");
    {
        OutputFile out(target);
        ASSERT_TRUE(WriteText(out, "half"));
    }
    EXPECT_TRUE(Names().empty());
    OutputFile missing(dir_.File("no/such/folder/a.mp3"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Error(), ENOENT);
    EXPECT_FALSE(WriteText(missing, "x"));
    EXPECT_EQ(missing.Commit(true), OutputFile::CommitResult::Failed);
}

TEST_F(OutputFileTest, AFileThatAppearedMeanwhileIsNotReplacedWithoutLeave)
{
    const std::string target = dir_.File("a.mp3");
    OutputFile out(target);
    ASSERT_TRUE(WriteText(out, "new"));
    test::WriteFile(target, {'m', 'i', 'n', 'e'});
    EXPECT_EQ(out.Commit(false), OutputFile::CommitResult::TargetExists);
    EXPECT_EQ(ReadText(target), "mine");
    EXPECT_EQ(out.Error(), 0);
    // The finished file waits for the answer; with leave it replaces.
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(out.Commit(true), OutputFile::CommitResult::Done);
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_EQ(Names(), std::vector<std::string>{"a.mp3"});
}

TEST_F(OutputFileTest, ASymbolicLinkAtTheTargetIsNotReplacedWithoutLeave)
{
    const std::string target = dir_.File("link.mp3");
    fs::create_symlink(dir_.File("nowhere.mp3"), target);
    OutputFile out(target);
    ASSERT_TRUE(WriteText(out, "new"));
    EXPECT_EQ(out.Commit(false), OutputFile::CommitResult::TargetExists);
    EXPECT_TRUE(fs::is_symlink(target));
}

TEST_F(OutputFileTest, PermissionsOfNewAndReplacedFiles)
{
    const mode_t previous = ::umask(022);
    const std::string fresh = dir_.File("fresh.mp3");
    OutputFile first(fresh);
    ASSERT_TRUE(WriteText(first, "x"));
    ASSERT_EQ(first.Commit(false), OutputFile::CommitResult::Done);
    ::umask(previous);
    EXPECT_EQ(Permissions(fresh), fs::perms::owner_read | fs::perms::owner_write |
                                      fs::perms::group_read | fs::perms::others_read);

    // A private file stays private when it is replaced.
    const std::string secret = dir_.File("secret.mp3");
    test::WriteFile(secret, {'o', 'l', 'd'});
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
    OutputFile second(secret);
    ASSERT_TRUE(WriteText(second, "new"));
    ASSERT_EQ(second.Commit(true), OutputFile::CommitResult::Done);
    EXPECT_EQ(ReadText(secret), "new");
    EXPECT_EQ(Permissions(secret), fs::perms::owner_read | fs::perms::owner_write);
}

// A rename the system refuses (here: a folder with files in it where the
// output was to go) fails the commit with its reason and leaves the folder.
TEST_F(OutputFileTest, ARefusedRenameRemovesTheFinishedFileAndSaysWhy)
{
    const std::string target = dir_.File("album.mp3");
    fs::create_directory(target);
    test::WriteFile(target + "/kept.mp3", {'k'});
    OutputFile out(target);
    ASSERT_TRUE(WriteText(out, "new"));
    EXPECT_EQ(out.Commit(true), OutputFile::CommitResult::Failed);
    EXPECT_EQ(out.Error(), EISDIR);
    EXPECT_EQ(Names(), std::vector<std::string>{"album.mp3"});
    EXPECT_EQ(ReadText(target + "/kept.mp3"), "k");
}

// The finished file kept for a second commit may be gone by then (someone
// cleaned the folder): the commit fails and the file at the target stays.
TEST_F(OutputFileTest, AKeptFileThatWasRemovedFailsTheSecondCommit)
{
    const std::string target = dir_.File("a.mp3");
    OutputFile out(target);
    ASSERT_TRUE(WriteText(out, "new"));
    test::WriteFile(target, {'o', 'l', 'd'});
    ASSERT_EQ(out.Commit(false), OutputFile::CommitResult::TargetExists);
    for (const std::string& name : Names()) {
        if (name != "a.mp3")
            fs::remove(dir_.File(name));
    }
    EXPECT_EQ(out.Commit(true), OutputFile::CommitResult::Failed);
    EXPECT_EQ(out.Error(), ENOENT);
    EXPECT_EQ(ReadText(target), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"a.mp3"});
}

// Spliced bytes follow what was written; a source that ends before the count
// is a failure of its own kind, which the writers tell apart from a full disk.
TEST_F(OutputFileTest, SplicedBytesFollowTheWrittenOnesAndAShortSourceFails)
{
    const std::string source = dir_.File("source.bin");
    test::Bytes bytes(300'000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    test::WriteFile(source, bytes);
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);

    OutputFile whole(dir_.File("whole.bin"));
    ASSERT_TRUE(WriteText(whole, "head"));
    const OutputFile::CopyResult copied = whole.SpliceFrom(fd, 1000, 200'000);
    if (copied == OutputFile::CopyResult::Unsupported) {
        ::close(fd);
        GTEST_SKIP() << "this file system cannot splice";
    }
    ASSERT_EQ(copied, OutputFile::CopyResult::Done);
    EXPECT_EQ(whole.Size(), 200'004u);
    ASSERT_EQ(whole.Commit(false), OutputFile::CommitResult::Done);
    test::Bytes expected{'h', 'e', 'a', 'd'};
    expected.insert(expected.end(), bytes.begin() + 1000, bytes.begin() + 201'000);
    EXPECT_EQ(test::ReadFile(dir_.File("whole.bin")), expected);

    OutputFile cut(dir_.File("cut.bin"));
    EXPECT_EQ(cut.SpliceFrom(fd, 250'000, 100'000), OutputFile::CopyResult::Failed);
    ::close(fd);
    EXPECT_EQ(cut.Error(), ENODATA);
    EXPECT_EQ(cut.Commit(false), OutputFile::CommitResult::Failed);
    EXPECT_EQ(Names(), (std::vector<std::string>{"source.bin", "whole.bin"}));
}

TEST_F(OutputFileTest, AFileSizeLimitIsAFailedWriteWithItsReason)
{
    const std::string target = dir_.File("big.mp3");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // As the command line does: the limit shows as an error, not a signal.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        OutputFile out(target);
        const std::string block(3000, 'x');
        const bool first = WriteText(out, block);
        const bool second = WriteText(out, block);
        const bool committed = out.Commit(false) == OutputFile::CommitResult::Done;
        ::_exit(first && !second && !committed && out.Error() == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(Names().empty());
}

TEST_F(OutputFileTest, SignalHandlersCanRemoveUnfinishedOutputs)
{
    OutputFile out(dir_.File("a.mp3"));
    ASSERT_TRUE(WriteText(out, "half"));
    ASSERT_EQ(Names().size(), 1u);
    RemoveUnfinishedOutputs();
    EXPECT_TRUE(Names().empty());
    // A finished output is no longer listed.
    OutputFile done(dir_.File("b.mp3"));
    ASSERT_TRUE(WriteText(done, "whole"));
    ASSERT_EQ(done.Commit(false), OutputFile::CommitResult::Done);
    RemoveUnfinishedOutputs();
    EXPECT_EQ(Names(), std::vector<std::string>{"b.mp3"});
}

TEST_F(OutputFileTest, AnInterruptedSpliceStops)
{
    const std::string source = dir_.File("source.bin");
    test::WriteFile(source, test::Bytes(100'000, 1));
    const int fd = ::open(source.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    OutputFile out(dir_.File("copy.bin"));
    NoteInterruption(SIGINT);
    const OutputFile::CopyResult result = out.SpliceFrom(fd, 0, 100'000);
    ClearInterruption();
    ::close(fd);
    EXPECT_EQ(result, OutputFile::CopyResult::Interrupted);
}

} // namespace
} // namespace keldro
