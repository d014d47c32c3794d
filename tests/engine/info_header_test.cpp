// Information headers at their byte positions: where each kind's tag sits in
// the frame, where its counts are read from and written to, and what is too
// short to be one.
#include "engine/info_header.h"
#include "mp3_builder.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::Bytes;
using test::HeaderFields;

std::uint32_t WordAt(const Bytes& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

FrameHeaderInfo InfoOf(const HeaderFields& fields)
{
    return DecodeFrameHeader(test::MakeHeader(fields));
}

HeaderFields Fields(int versionBits, int channelMode)
{
    HeaderFields fields;
    fields.versionBits = versionBits;
    fields.channelMode = channelMode;
    fields.bitrateIndex = versionBits == 3 ? 9 : 8; // 128 and 64 kbit/s
    return fields;
}

TEST(InfoHeader, XingTagFollowsTheSideInformation)
{
    struct Case
    {
        int versionBits;
        int channelMode;
        std::uint32_t tagOffset;
    };
    // 4 header bytes, then 32 or 17 (MPEG 1), 17 or 9 (MPEG 2 and 2.5).
    for (const Case c : {Case{3, 1, 36}, Case{3, 3, 21}, Case{2, 0, 21}, Case{2, 3, 13},
                         Case{0, 2, 21}, Case{0, 3, 13}}) {
        SCOPED_TRACE(testing::Message() << c.versionBits << " " << c.channelMode);
        const HeaderFields fields = Fields(c.versionBits, c.channelMode);
        EXPECT_EQ(InfoHeader::XingTagOffset(InfoOf(fields)), c.tagOffset);
        const Bytes frame = test::XingFrame(fields, 1234, 99'999);
        const InfoHeader header = InfoHeader::Read(frame, InfoOf(fields));
        EXPECT_EQ(header.kind, VbrHeaderType::Xing);
        EXPECT_EQ(header.tagOffset, c.tagOffset);
        EXPECT_EQ(header.frames, 1234u);
    }
}

TEST(InfoHeader, InfoAndVbriTagsAndTheirCounts)
{
    const HeaderFields fields = Fields(3, 1);
    const InfoHeader info =
        InfoHeader::Read(test::XingFrame(fields, 77, 5, "Info"), InfoOf(fields));
    EXPECT_EQ(info.kind, VbrHeaderType::Info);
    EXPECT_EQ(info.tagOffset, 36u);
    EXPECT_EQ(info.frames, 77u);

    // VBRI is at 36 whatever the mode; its frames follow its bytes.
    const HeaderFields mono = Fields(2, 3);
    const InfoHeader vbri = InfoHeader::Read(test::VbriFrame(mono, 0x01020304, 7), InfoOf(mono));
    EXPECT_EQ(vbri.kind, VbrHeaderType::Vbri);
    EXPECT_EQ(vbri.tagOffset, 36u);
    EXPECT_EQ(vbri.frames, 0x01020304u);
}

TEST(InfoHeader, OtherLettersOrTooFewBytesAreNoHeader)
{
    const HeaderFields fields = Fields(3, 1);
    Bytes frame = test::XingFrame(fields, 10, 20, "LAME");
    EXPECT_FALSE(InfoHeader::Read(frame, InfoOf(fields)).IsPresent());
    EXPECT_FALSE(InfoHeader::Read(test::Frame(fields), InfoOf(fields)).IsPresent());

    // A tag needs all 18 bytes from its first letter: 36 + 18 = 54.
    frame = test::XingFrame(fields, 10, 20);
    EXPECT_TRUE(InfoHeader::Read(std::span(frame).first(54), InfoOf(fields)).IsPresent());
    EXPECT_FALSE(InfoHeader::Read(std::span(frame).first(53), InfoOf(fields)).IsPresent());
    frame = test::VbriFrame(fields, 10, 20);
    EXPECT_TRUE(InfoHeader::Read(std::span(frame).first(54), InfoOf(fields)).IsPresent());
    EXPECT_FALSE(InfoHeader::Read(std::span(frame).first(53), InfoOf(fields)).IsPresent());
    EXPECT_FALSE(InfoHeader::Read({}, InfoOf(fields)).IsPresent());
}

TEST(InfoHeader, XingIsLookedForBeforeVbri)
{
    // A mono MPEG 2 frame can carry both: Xing at 13, VBRI at 36.
    const HeaderFields fields = Fields(2, 3);
    Bytes frame = test::VbriFrame(fields, 500, 0);
    const Bytes xing = test::XingFrame(fields, 600, 0);
    std::copy(xing.begin() + 13, xing.begin() + 13 + 16, frame.begin() + 13);
    const InfoHeader header = InfoHeader::Read(frame, InfoOf(fields));
    EXPECT_EQ(header.kind, VbrHeaderType::Xing);
    EXPECT_EQ(header.frames, 600u);
}

TEST(InfoHeader, FindReadsTheFrameAtItsOffsetInAFile)
{
    const HeaderFields fields = Fields(3, 3);
    Bytes bytes = test::Garbage(1000);
    test::Append(bytes, test::XingFrame(fields, 4321, 0));
    FileReader reader = FileReader::FromMemory(bytes);
    const InfoHeader header = InfoHeader::Find(reader, 1000, InfoOf(fields));
    EXPECT_EQ(header.kind, VbrHeaderType::Xing);
    EXPECT_EQ(header.tagOffset, 21u);
    EXPECT_EQ(header.frames, 4321u);
    EXPECT_FALSE(InfoHeader::Find(reader, 999, InfoOf(fields)).IsPresent());

    // The file ends 18 bytes after a VBRI tag's first letter: just enough.
    Bytes tail = test::Garbage(500);
    const Bytes vbri = test::VbriFrame(fields, 9, 8);
    tail.insert(tail.end(), vbri.begin(), vbri.begin() + 54);
    FileReader shortReader = FileReader::FromMemory(tail);
    EXPECT_EQ(InfoHeader::Find(shortReader, 500, InfoOf(fields)).frames, 9u);
    FileReader shorterReader = FileReader::FromMemory(std::span(tail).first(tail.size() - 1));
    EXPECT_FALSE(InfoHeader::Find(shorterReader, 500, InfoOf(fields)).IsPresent());
}

TEST(InfoHeader, PatchWritesTheCountsAtTheirPlacesOnly)
{
    const HeaderFields fields = Fields(3, 1);
    Bytes frame = test::XingFrame(fields, 1, 2);
    const Bytes before = frame;
    const InfoHeader xing = InfoHeader::Read(frame, InfoOf(fields));
    xing.Patch(frame, 0x11223344, 0x55667788);
    // Tag at 36: frames at 36 + 8, bytes at 36 + 12.
    EXPECT_EQ(WordAt(frame, 44), 0x11223344u);
    EXPECT_EQ(WordAt(frame, 48), 0x55667788u);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        if (i < 44 || i >= 52) {
            EXPECT_EQ(frame[i], before[i]) << i;
        }
    }
    EXPECT_EQ(InfoHeader::Read(frame, InfoOf(fields)).frames, 0x11223344u);

    frame = test::VbriFrame(fields, 1, 2);
    const InfoHeader vbri = InfoHeader::Read(frame, InfoOf(fields));
    vbri.Patch(frame, 0x0A0B0C0D, 0x01020304);
    // Tag at 36: bytes at 36 + 10, frames at 36 + 14.
    EXPECT_EQ(WordAt(frame, 46), 0x01020304u);
    EXPECT_EQ(WordAt(frame, 50), 0x0A0B0C0Du);
    EXPECT_EQ(frame[41], 1); // the version stays

    // Too few bytes, or no header, change nothing.
    Bytes cut(before.begin(), before.begin() + 51);
    xing.Patch(cut, 5, 6);
    EXPECT_EQ(cut, Bytes(before.begin(), before.begin() + 51));
    Bytes plain = before;
    InfoHeader{}.Patch(plain, 5, 6);
    EXPECT_EQ(plain, before);
    Bytes empty;
    xing.Patch(empty, 5, 6);
    EXPECT_TRUE(empty.empty());
}

TEST(InfoHeader, PatchTagCountsFromTheFirstLetter)
{
    Bytes info(16, 0);
    InfoHeader::PatchTag(info, VbrHeaderType::Info, 3, 4);
    EXPECT_EQ(WordAt(info, 8), 3u);
    EXPECT_EQ(WordAt(info, 12), 4u);
    Bytes vbri(18, 0);
    InfoHeader::PatchTag(vbri, VbrHeaderType::Vbri, 3, 4);
    EXPECT_EQ(WordAt(vbri, 10), 4u);
    EXPECT_EQ(WordAt(vbri, 14), 3u);
    Bytes shortVbri(17, 0);
    InfoHeader::PatchTag(shortVbri, VbrHeaderType::Vbri, 3, 4);
    EXPECT_EQ(shortVbri, Bytes(17, 0));
}

} // namespace
} // namespace keldro
