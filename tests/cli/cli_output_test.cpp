// What every command owes a script: a report that could not be written to
// standard output is a failure, and paths that are not UTF-8 come with their
// bytes.
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace keldro {
namespace {

class CliOutputTest : public ::testing::Test
{
protected:
    // Runs keldro-cli with its standard output going to target.
    test::ProcessResult CliInto(const std::string& target, std::vector<std::string> args)
    {
        std::vector<std::string> argv{"/bin/sh", "-c", "exec \"$0\" \"$@\" > " + target,
                                      test::KeldroCliPath()};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::RunProcess(argv, dir_.File("stderr.txt"));
    }

    // Runs keldro-cli writing into a pipe whose reader is gone; its exit code.
    static int IntoClosedPipe(std::vector<std::string> args)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return -1;
        ::close(fds[0]);
        args.insert(args.begin(), test::KeldroCliPath());
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        return spawned == 0 ? test::WaitProcess(pid) : -1;
    }

    test::TempDir dir_;
};

TEST_F(CliOutputTest, AFullDiskOrAClosedPipeOnStandardOutputIsAFailure)
{
    const std::string mp3 = test::CorpusFile("cbr128");
    const std::string sheet = dir_.File("a.cue");
    const std::string text = "FILE \"" + mp3 + "\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    test::WriteFile(sheet, test::Bytes(text.begin(), text.end()));
    const std::vector<std::vector<std::string>> commands{
        {"info", "--json", mp3},
        {"info", mp3},
        {"offset", mp3, "1000"},
        {"cue", "--json", sheet},
        {"split", "--json", "--dry-run", "--parts", "2", mp3},
        {"merge", "--json", "-o", dir_.File("merged.mp3"), mp3},
    };
    for (const auto& command : commands) {
        const test::ProcessResult full = CliInto("/dev/full", command);
        EXPECT_EQ(full.exitCode, 1) << command[0] << ": " << full.errors;
        EXPECT_NE(full.errors.find("cannot write to standard output"), std::string::npos);
        std::filesystem::remove(dir_.File("merged.mp3"));
        EXPECT_EQ(IntoClosedPipe(command), 1) << command[0];
        std::filesystem::remove(dir_.File("merged.mp3"));
        const test::ProcessResult fine = CliInto("/dev/null", command);
        EXPECT_EQ(fine.exitCode, 0) << command[0] << ": " << fine.errors;
        std::filesystem::remove(dir_.File("merged.mp3"));
    }
}

TEST_F(CliOutputTest, PathsThatAreNotUtf8ComeWithTheirBytes)
{
    const std::string file = dir_.File("\xB2\xE2.mp3");
    std::filesystem::copy_file(test::CorpusFile("cbr128"), file);
    const test::ProcessResult result = test::RunKeldroCli({"info", "--json", file}, dir_.File("e"));
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const nlohmann::json info = nlohmann::json::parse(result.output);
    EXPECT_EQ(info["path"], dir_.File("测.mp3"));
    const std::string hex = info["path_bytes"];
    EXPECT_EQ(hex.substr(hex.size() - 12), "b2e22e6d7033");
    const test::ProcessResult plain =
        test::RunKeldroCli({"info", "--json", test::CorpusFile("cbr128")}, dir_.File("e"));
    EXPECT_FALSE(nlohmann::json::parse(plain.output).contains("path_bytes"));
}

} // namespace
} // namespace keldro
