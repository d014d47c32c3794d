// keldro-cli offset, end to end.
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "temp_dir.h"
#include "tools.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace keldro {
namespace {

class OffsetCommandTest : public ::testing::Test
{
protected:
    test::ProcessResult Cli(std::vector<std::string> args)
    {
        return test::RunKeldroCli(std::move(args), dir_.File("stderr.txt"));
    }

    static std::vector<long> Lines(const std::string& text)
    {
        std::vector<long> values;
        std::istringstream in(text);
        for (long value = 0; in >> value;)
            values.push_back(value);
        return values;
    }

    test::TempDir dir_;
};

// End of the frame during which the accumulated duration reaches t.
long ExpectedEnd(const std::vector<test::ListedFrame>& frames, long t)
{
    double time = 0;
    for (const auto& frame : frames) {
        time += frame.length * 8.0 / frame.bitrate;
        if (t <= time)
            return static_cast<long>(frame.start + frame.length);
    }
    return static_cast<long>(frames.back().start + frames.back().length);
}

TEST_F(OffsetCommandTest, FrameModeGivesExactFrameEndsOfAVariableBitrateFile)
{
    const std::string path = test::CorpusFile("vbr_v2");
    const nlohmann::json info = nlohmann::json::parse(Cli({"info", "--json", path}).output);
    const test::Bytes bytes = test::ReadFile(path);
    const auto frames = test::ListFrames(bytes, info["first_frame_offset"], bytes.size());
    const test::ProcessResult result =
        Cli({"offset", "--mode", "frame", path, "0", "500", "0:01.234", "2345", "0:04.000"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_TRUE(result.errors.empty()) << "no progress bar when stderr is not a terminal";
    const std::vector<long> offsets = Lines(result.output);
    ASSERT_EQ(offsets.size(), 5u);
    EXPECT_EQ(offsets[0], info["first_frame_offset"].get<long>());
    EXPECT_EQ(offsets[1], ExpectedEnd(frames, 500));
    EXPECT_EQ(offsets[2], ExpectedEnd(frames, 1234));
    EXPECT_EQ(offsets[3], ExpectedEnd(frames, 2345));
    EXPECT_EQ(offsets[4], ExpectedEnd(frames, 4000));
    // The fast estimate differs somewhere in between.
    EXPECT_NE(Lines(Cli({"offset", path, "2345"}).output).at(0), offsets[3]);
}

TEST_F(OffsetCommandTest, ConstantBitrateGivesTheSameOffsetsInBothModes)
{
    const std::string path = test::CorpusFile("cbr128");
    const std::vector<std::string> times{"1", "999", "1:00.000", "0:02.500", "3210"};
    std::vector<std::string> fast{"offset", path};
    std::vector<std::string> frame{"offset", "--mode", "frame", path};
    fast.insert(fast.end(), times.begin(), times.end());
    frame.insert(frame.end(), times.begin(), times.end());
    EXPECT_EQ(Cli(fast).output, Cli(frame).output);
    // 2.5 s at 128 kbit/s after the 417-byte Info frame.
    EXPECT_EQ(Lines(Cli(fast).output).at(3), 417 + 40'000);
}

TEST_F(OffsetCommandTest, JsonAndReference)
{
    const std::string path = test::CorpusFile("cbr128");
    const test::ProcessResult result =
        Cli({"offset", "--json", "--reference", "0:08.000", path, "2000", "0:08.000"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const nlohmann::json report = nlohmann::json::parse(result.output);
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0]["time_ms"], 2000);
    // Rescaled to the analysed duration, about half of 8 s.
    EXPECT_NEAR(report[0]["offset"].get<double>(), 417 + 16.0 * 1000, 200);
    EXPECT_EQ(report[1]["offset"], test::ReadFile(path).size());
}

TEST_F(OffsetCommandTest, UsageErrorsAndRefusals)
{
    const std::string path = test::CorpusFile("cbr128");
    EXPECT_EQ(Cli({"offset", path, "1:75.000"}).exitCode, 2);
    EXPECT_EQ(Cli({"offset", path, "abc"}).exitCode, 2);
    EXPECT_EQ(Cli({"offset", "--mode", "exact", path, "100"}).exitCode, 2);
    EXPECT_EQ(Cli({"offset", "--reference", "x", path, "100"}).exitCode, 2);
    EXPECT_EQ(Cli({"offset", path}).exitCode, 2);
    const test::ProcessResult missing = Cli({"offset", dir_.File("none.mp3"), "100"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.errors.find("未能载入 MP3 文件"), std::string::npos);
    EXPECT_EQ(Cli({"offset", path, "0:00.000", "0"}).exitCode, 0);
}

} // namespace
} // namespace keldro
