#include "engine/stream_info_text.h"
#include "mp3_builder.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Append;
using test::Bytes;
using test::HeaderFields;

CMP3Info AnalyseMemory(const Bytes& bytes)
{
    CMP3Info info;
    FileReader reader = FileReader::FromMemory(bytes);
    EXPECT_TRUE(info.AnalyseReader(reader, "memory.mp3"));
    return info;
}

TEST(StreamInfoText, ConstantBitrate)
{
    const CMP3Info info = AnalyseMemory(test::Frames(HeaderFields{}, 9593));
    EXPECT_EQ(StreamInfoText(info),
              "时间: 4:10.017\nMPEG 1.0，第 3 层，128kbps CBR\n44100Hz，联合立体声");
}

TEST(StreamInfoText, InfoHeaderFileIsShownAsConstantBitrate)
{
    HeaderFields mono;
    mono.channelMode = 3;
    mono.versionBits = 2;
    mono.bitrateIndex = 8;
    Bytes bytes = test::XingFrame(mono, 50, 50 * 208, "Info");
    Append(bytes, test::Frames(mono, 50));
    const CMP3Info info = AnalyseMemory(bytes);
    EXPECT_EQ(StreamInfoText(info),
              "时间: 0:01.300\nMPEG 2.0，第 3 层，64kbps CBR\n22050Hz，单声道");
}

TEST(StreamInfoText, XingAndVbriLabels)
{
    HeaderFields stereo;
    stereo.channelMode = 0;
    Bytes xing = test::XingFrame(stereo, 100, 0);
    Append(xing, test::Frames(stereo, 100));
    const CMP3Info withXing = AnalyseMemory(xing);
    // 101 frames of 417 bytes counted over 100 frames: 129 kbit/s on average.
    EXPECT_EQ(StreamInfoText(withXing),
              "时间: 0:02.586\nMPEG 1.0，第 3 层，129kbps VBR\n44100Hz，立体声");

    Bytes vbri = test::VbriFrame(stereo, 100, 0);
    Append(vbri, test::Frames(stereo, 100));
    EXPECT_EQ(StreamInfoText(AnalyseMemory(vbri)),
              "时间: 0:02.586\nMPEG 1.0，第 3 层，129kbps VBRI\n44100Hz，立体声");
}

TEST(StreamInfoText, MeasuredFiguresReplaceTheAnalysedOnes)
{
    const CMP3Info info = AnalyseMemory(test::Frames(HeaderFields{}, 100));
    EXPECT_EQ(StreamInfoText(info, 3'725'004, 48000, 191.5),
              "时间: 1:02:05.004\nMPEG 1.0，第 3 层，192kbps CBR\n48000Hz，联合立体声");
}

TEST(LoadFailureMessage, NamesThePath)
{
    CMP3Info info;
    EXPECT_FALSE(info.Analyse("/nowhere/x.mp3"));
    EXPECT_EQ(LoadFailureMessage(info, "/nowhere/x.mp3"), "未能载入 MP3 文件\n\n/nowhere/x.mp3!");
}

} // namespace
} // namespace keldro
