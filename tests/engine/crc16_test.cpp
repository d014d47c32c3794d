// The CRC of LAME tags, short and long: the folding path for long inputs must
// give what the tables and a bit-by-bit loop give, from any running value.
#include "bitwise_crc.h"
#include "engine/crc16.h"
#include "mp3_builder.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

using test::BitwiseCrc16;

TEST(Crc16Test, KnownCheckValueAndAgreementWithABitwiseLoop)
{
    const std::string check = "123456789";
    EXPECT_EQ(Crc16({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0xBB3D);
    const test::Bytes noise = test::Garbage(1000, 7);
    for (std::size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 63, 190, 1000})
        EXPECT_EQ(Crc16({noise.data(), length}), BitwiseCrc16(noise.data(), length)) << length;
}

// Every length around the fold widths (16 and 64 bytes), with and without a
// running value, from unaligned starts.
TEST(Crc16Test, LongInputsFoldToTheSameValue)
{
    const test::Bytes noise = test::Garbage(6000, 11);
    for (std::size_t length = 240; length < 1300; ++length) {
        for (const std::size_t start : {0, 1, 13}) {
            for (const std::uint16_t running : {std::uint16_t{0}, std::uint16_t{0xBEEF}}) {
                const std::span<const std::uint8_t> bytes(noise.data() + start, length);
                ASSERT_EQ(Crc16(bytes, running),
                          BitwiseCrc16(noise.data() + start, length, running))
                    << length << " from " << start << " after " << running;
                ASSERT_EQ(Crc16(bytes, running), Crc16Table(bytes, running));
            }
        }
    }
}

TEST(Crc16Test, ContinuesOverPieces)
{
    test::Bytes noise = test::Garbage(5777, 3);
    noise[5] = 0xFF;
    const std::span<const std::uint8_t> all(noise);
    for (std::size_t split : {0, 3, 8, 100, 776, 777, 4000, 5777}) {
        const std::uint16_t first = Crc16(all.first(split));
        EXPECT_EQ(Crc16(all.subspan(split), first), Crc16(all)) << split;
    }
    EXPECT_EQ(Crc16(all), BitwiseCrc16(noise.data(), noise.size()));
}

// A piece's CRC from the running CRCs at its two ends, as a walk that checksums
// everything it passes gets it, and the other way round.
TEST(Crc16Test, CombinesAndSeparatesPieces)
{
    const test::Bytes noise = test::Garbage(70'000, 5);
    const std::span<const std::uint8_t> all(noise);
    for (const std::size_t from : {0, 1, 777, 4096, 65'535}) {
        for (const std::size_t to : {from, from + 1, from + 255, from + 256, std::size_t{70'000}}) {
            const std::uint16_t before = Crc16(all.first(from));
            const std::uint16_t piece = Crc16(all.subspan(from, to - from));
            const std::uint16_t upTo = Crc16(all.first(to));
            EXPECT_EQ(Crc16Combine(before, piece, to - from), upTo) << from << ".." << to;
            EXPECT_EQ(Crc16Combine(before, upTo, to - from), piece) << from << ".." << to;
        }
    }
    // Lengths past 4 GiB: the zeros of one block twice are those of both.
    const std::uint64_t block = 0x1'2345'6789;
    EXPECT_EQ(Crc16Combine(Crc16Combine(0xBEEF, 0, block), 0, block),
              Crc16Combine(0xBEEF, 0, 2 * block));
    EXPECT_NE(Crc16Combine(0xBEEF, 0, block), Crc16Combine(0xBEEF, 0, block + 1));
}

} // namespace
} // namespace keldro
