// keldro-cli split and merge of a large file, sent SIGINT or SIGTERM at several
// moments: what is left in the folder is whole, an existing target is kept,
// and the exit status tells that the run was interrupted.
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

namespace keldro {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class InterruptTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder_ = new test::TempDir;
        // 100 MB of 128 kbit/s frames: long enough to be caught mid-run.
        test::WriteFile(Big(), test::Frames(test::HeaderFields{}, 240'000, true));
    }
    static void TearDownTestSuite()
    {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string Big() { return folder_->File("big.mp3"); }

    // Starts the command, sends signal after delay (again after another delay
    // when twice), and returns the exit status; -1 when the signal killed it.
    static int Interrupt(const std::vector<std::string>& args, int signal,
                         std::chrono::milliseconds delay, bool twice = false)
    {
        std::vector<std::string> argv{test::KeldroCliPath()};
        argv.insert(argv.end(), args.begin(), args.end());
        const int pid = test::StartProcess(argv);
        std::this_thread::sleep_for(delay);
        ::kill(pid, signal);
        if (twice) {
            std::this_thread::sleep_for(1ms);
            ::kill(pid, signal);
        }
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }

    std::vector<std::string> Names(const std::string& folder) const { return dir_.Names(folder); }

    static test::TempDir* folder_;
    test::TempDir dir_;
};

test::TempDir* InterruptTest::folder_ = nullptr;

int Expected(int signal)
{
    return 128 + signal;
}

// Killed before it began to handle signals (while it was still starting)
// is fine as long as nothing was written yet.
constexpr int kKilledAtStart = -1;

TEST_F(InterruptTest, SplitLeavesOnlyWholeFiles)
{
    const std::string reference = dir_.File("reference");
    ASSERT_EQ(
        test::RunKeldroCli({"split", "--parts", "20", "--out", reference, Big()}, "").exitCode, 0);
    const test::Bytes kept(1000, 9);
    int interrupted = 0;
    int round = 0;
    for (const auto delay : {0ms, 3ms, 10ms, 20ms, 40ms, 80ms}) {
        for (const int signal : {SIGINT, SIGTERM}) {
            const std::string out = dir_.File("run" + std::to_string(round++));
            fs::create_directory(out);
            test::WriteFile(out + "/big-020.mp3", kept);
            const int status = Interrupt(
                {"split", "--parts", "20", "--overwrite", "--out", out, Big()}, signal, delay);
            ASSERT_TRUE(status == 0 || status == Expected(signal) || status == kKilledAtStart)
                << status;
            // Killed before the handlers were set up, nothing is written; killed
            // on the way out after they are gone, everything is (checked below).
            if (status == kKilledAtStart && Names(out).size() == 1) {
                EXPECT_EQ(Names(out), std::vector<std::string>{"big-020.mp3"});
                EXPECT_TRUE(test::ReadFile(out + "/big-020.mp3") == kept);
                continue;
            }
            interrupted += status == Expected(signal) ? 1 : 0;
            if (status == kKilledAtStart) {
                EXPECT_EQ(Names(out).size(), 20u) << "a run killed on its way out had finished";
            }
            for (const std::string& name : Names(out)) {
                const test::Bytes written = test::ReadFile(out + "/" + name);
                if (name == "big-020.mp3" && written == kept && status != 0)
                    continue; // not reached: the old file is untouched
                ASSERT_TRUE(fs::exists(reference + "/" + name)) << name;
                EXPECT_TRUE(written == test::ReadFile(reference + "/" + name)) << name;
            }
        }
    }
    EXPECT_GT(interrupted, 0) << "no run was caught before its end";
}

TEST_F(InterruptTest, MergeKeepsTheExistingTarget)
{
    const std::string target = dir_.File("merged.mp3");
    const test::Bytes kept(1000, 9);
    int interrupted = 0;
    // A loaded machine (sanitizers, parallel builds) can take 50 ms to start
    // the program: the later delays still catch a three-file merge running.
    for (const auto delay : {0ms, 5ms, 20ms, 50ms, 100ms, 200ms}) {
        for (const int signal : {SIGINT, SIGTERM}) {
            test::WriteFile(target, kept);
            const int status = Interrupt(
                {"merge", "--overwrite", "-o", target, Big(), Big(), Big()}, signal, delay);
            ASSERT_TRUE(status == 0 || status == Expected(signal) || status == kKilledAtStart)
                << status;
            const bool whole = fs::file_size(target) == 3 * fs::file_size(Big());
            if (status == Expected(signal)) {
                ++interrupted;
                EXPECT_TRUE(test::ReadFile(target) == kept)
                    << "delay " << delay.count() << " ms, " << fs::file_size(target) << " bytes";
            } else if (status == kKilledAtStart) {
                // Before the handlers, or after the run once they are gone.
                EXPECT_TRUE(whole || test::ReadFile(target) == kept);
            } else {
                EXPECT_TRUE(whole);
            }
            EXPECT_EQ(Names(dir_.Path()).size(), 1u) << "no temporary file is left";
        }
    }
    EXPECT_GT(interrupted, 0) << "no run was caught before its end";
}

TEST_F(InterruptTest, ASecondSignalEndsAtOnceWithoutLeavingATemporaryFile)
{
    const std::string target = dir_.File("merged.mp3");
    const int status = Interrupt({"merge", "-o", target, Big(), Big(), Big()}, SIGINT, 20ms, true);
    EXPECT_TRUE(status == 0 || status == Expected(SIGINT) || status == kKilledAtStart) << status;
    if (status != 0) {
        EXPECT_TRUE(Names(dir_.Path()).empty());
    }
}

} // namespace
} // namespace keldro
