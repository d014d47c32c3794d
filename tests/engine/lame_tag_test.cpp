// The LAME extension of a header frame: the CRC, reading the fields of real
// lame files (checked against lame's own decoder) and patching new values.
#include "bitwise_crc.h"
#include "engine/header_frame_check.h"
#include "engine/lame_tag.h"
#include "engine/mp3_info.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "tools.h"

#include <cstring>
#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::BitwiseCrc16;
using test::Bytes;

std::uint32_t BigEndianAt(const Bytes& bytes, std::size_t at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

// A header frame of a file of the corpus, and what lame's decoder says about it.
struct LameFile
{
    CMP3Info info;
    Bytes bytes;
    Bytes frame;
};

LameFile Load(const std::string& name)
{
    LameFile file;
    const std::string path = test::CorpusFile(name);
    EXPECT_TRUE(file.info.Analyse(path));
    file.bytes = test::ReadFile(path);
    FileReader reader = FileReader::Open(path);
    file.frame = ReadHeaderFrame(reader, file.info);
    return file;
}

class LameTagCorpusTest : public ::testing::TestWithParam<std::string>
{};

TEST_P(LameTagCorpusTest, DelayAndPaddingAreWhatLamesDecoderTrims)
{
    const LameFile file = Load(GetParam());
    const LameTag tag = LameTag::Read(file.frame, file.info.HeaderFrame());
    ASSERT_TRUE(tag.present);
    const test::GaplessTrim trim =
        test::LameDecoderTrim(test::CorpusFile(GetParam()), test::CorpusDir());
    EXPECT_EQ(tag.delay, trim.delay);
    EXPECT_EQ(tag.padding, trim.padding);
    EXPECT_EQ(
        std::string(file.frame.begin() + tag.extension, file.frame.begin() + tag.extension + 4),
        "LAME");
}

TEST_P(LameTagCorpusTest, BothCrcsAndTheMusicLengthDescribeTheFile)
{
    const LameFile file = Load(GetParam());
    const LameTag tag = LameTag::Read(file.frame, file.info.HeaderFrame());
    ASSERT_TRUE(tag.present);
    EXPECT_TRUE(tag.tagCrcOk);
    EXPECT_EQ(tag.tagCrc, BitwiseCrc16(file.frame.data(), tag.TagCrcOffset()));
    const std::size_t audio = file.info.FirstFrameOffset();
    const std::size_t end = file.info.AudioEnd();
    EXPECT_EQ(tag.musicCrc, BitwiseCrc16(file.bytes.data() + audio, end - audio));
    // From the header frame's first byte to the end of the audio: no ID3 tags.
    EXPECT_EQ(tag.musicLength, end - file.info.VbrFrameOffset());
    const std::size_t xingBytes = file.info.HeaderFrame().tagOffset + InfoHeader::kXingBytesField;
    EXPECT_EQ(tag.musicLength, BigEndianAt(file.frame, xingBytes, 4));
}

TEST_P(LameTagCorpusTest, PatchedFieldsReadBackUnderAFreshTagCrc)
{
    const LameFile file = Load(GetParam());
    const LameTag tag = LameTag::Read(file.frame, file.info.HeaderFrame());
    ASSERT_TRUE(tag.present);
    Bytes patched = file.frame;
    PatchLameTag(patched, tag, LameFields{0, 1234, 54321, 0xBEEF});
    const LameTag again = LameTag::Read(patched, file.info.HeaderFrame());
    EXPECT_EQ(again.delay, 0u);
    EXPECT_EQ(again.padding, 1234u);
    EXPECT_EQ(again.musicLength, 54321u);
    EXPECT_EQ(again.musicCrc, 0xBEEF);
    EXPECT_TRUE(again.tagCrcOk);
    EXPECT_EQ(again.tagCrc, BitwiseCrc16(patched.data(), tag.TagCrcOffset()));
    EXPECT_NE(again.tagCrc, tag.tagCrc);
    // Nothing else moves.
    for (std::size_t i = 0; i < patched.size(); ++i) {
        const bool field = (i >= tag.DelayPaddingOffset() && i < tag.DelayPaddingOffset() + 3) ||
                           (i >= tag.MusicLengthOffset() && i < tag.TagCrcOffset() + 2);
        if (!field) {
            EXPECT_EQ(patched[i], file.frame[i]) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LameFiles, LameTagCorpusTest,
                         ::testing::Values("cbr128", "cbr128_tagged", "vbr_v2",
                                           "vbr_v5_mono_tagged", "vbr_crc", "abr96", "mpeg2_22k",
                                           "mpeg2_16k_vbr", "mpeg25_12k_vbr_tagged"));

TEST(LameTagTest, AFileWithoutAHeaderFrameHasNoTag)
{
    const LameFile file = Load("cbr128_bare");
    EXPECT_TRUE(file.frame.empty());
    EXPECT_FALSE(LameTag::Read(file.frame, file.info.HeaderFrame()).present);
}

TEST(LameTagTest, AXingHeaderWithoutAnEncoderNameHasNoTag)
{
    const test::HeaderFields fields;
    const Bytes frame = test::XingFrame(fields, 10, 4170);
    const InfoHeader header = InfoHeader::Read(frame, DecodeFrameHeader(test::MakeHeader(fields)));
    ASSERT_EQ(header.kind, VbrHeaderType::Xing);
    EXPECT_FALSE(LameTag::Read(frame, header).present);
    const Bytes vbri = test::VbriFrame(fields, 10, 4170);
    EXPECT_FALSE(
        LameTag::Read(vbri, InfoHeader::Read(vbri, DecodeFrameHeader(test::MakeHeader(fields))))
            .present);
}

// Only the frames and bytes fields: the extension follows right after them.
TEST(LameTagTest, TheExtensionFollowsTheFieldsTheFlagsAnnounce)
{
    const test::HeaderFields fields;
    Bytes frame = test::XingFrame(fields, 10, 4170, "Info");
    const std::size_t extension = 36 + 16;
    std::memcpy(frame.data() + extension, "Lavc58.13", 9);
    frame[extension + 21] = 0x24; // delay 0x240 = 576, padding 0x4EC = 1260
    frame[extension + 22] = 0x04;
    frame[extension + 23] = 0xEC;
    const InfoHeader header = InfoHeader::Read(frame, DecodeFrameHeader(test::MakeHeader(fields)));
    const LameTag tag = LameTag::Read(frame, header);
    ASSERT_TRUE(tag.present);
    EXPECT_EQ(tag.extension, extension);
    EXPECT_EQ(tag.delay, 576u);
    EXPECT_EQ(tag.padding, 1260u);
    EXPECT_FALSE(tag.tagCrcOk);
    PatchLameTag(frame, tag, LameFields{576, 1260, 4170, 0});
    EXPECT_TRUE(LameTag::Read(frame, header).tagCrcOk);
    // A frame cut short before the tag CRC has no tag.
    EXPECT_FALSE(LameTag::Read(std::span(frame).first(extension + 35), header).present);
}

TEST(LameTagTest, DelayAndPaddingBeyondTwelveBitsAreStoredAsTheLargestValue)
{
    const LameFile file = Load("cbr128");
    const LameTag tag = LameTag::Read(file.frame, file.info.HeaderFrame());
    Bytes patched = file.frame;
    PatchLameTag(patched, tag, LameFields{5000, 4096, 1, 2});
    const LameTag again = LameTag::Read(patched, file.info.HeaderFrame());
    EXPECT_EQ(again.delay, 4095u);
    EXPECT_EQ(again.padding, 4095u);
    EXPECT_EQ(again.musicLength, 1u);
}

TEST(LameTagTest, PatchingAFrameTooShortOrWithoutATagChangesNothing)
{
    const LameFile file = Load("vbr_v2");
    const LameTag tag = LameTag::Read(file.frame, file.info.HeaderFrame());
    Bytes shortFrame(file.frame.begin(), file.frame.begin() + tag.TagCrcOffset() + 1);
    const Bytes before = shortFrame;
    PatchLameTag(shortFrame, tag, LameFields{1, 2, 3, 4});
    EXPECT_EQ(shortFrame, before);
    Bytes whole = file.frame;
    PatchLameTag(whole, LameTag{}, LameFields{1, 2, 3, 4});
    EXPECT_EQ(whole, file.frame);
}

} // namespace
} // namespace keldro
