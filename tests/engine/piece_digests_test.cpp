// Pieces described from the frames a walk passed: the places of their frames
// behind the header frame, their CRC from the running CRCs at both ends, and
// nothing for boundaries the walk no longer remembers or frames that do not
// end at the cut.
#include "engine/crc16.h"
#include "engine/piece_digests.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

constexpr std::uint32_t kOrigin = 100;
constexpr std::uint64_t kHeaderFrame = 50;
constexpr std::uint32_t kFrame = 400;

// A running CRC that differs at every boundary.
std::uint16_t CrcUpTo(std::uint32_t end)
{
    return static_cast<std::uint16_t>(end * 2654435761u >> 16);
}

// Frames of 400 bytes from the origin, the last ending at `end`.
void PassFramesTo(PieceDigests& digests, std::uint32_t& at, std::uint32_t end)
{
    for (; at < end; at += kFrame)
        digests.FramePassed(at, at + kFrame, CrcUpTo(at + kFrame));
}

TEST(PieceDigestsTest, FramesAndCrcOfPiecesKeptAndOnesLetGo)
{
    PieceDigests digests(kOrigin, kHeaderFrame, 1'000);
    std::uint32_t at = kOrigin;
    PassFramesTo(digests, at, 1'300);
    EXPECT_TRUE(digests.Begin(kOrigin));
    EXPECT_TRUE(digests.Begin(500));
    EXPECT_TRUE(digests.Begin(900));
    EXPECT_FALSE(digests.Begin(300)); // inside a frame
    PassFramesTo(digests, at, 10'100);
    // Long behind the walk now: nobody may begin or end there any more.
    EXPECT_FALSE(digests.Begin(500));
    EXPECT_FALSE(digests.Begin(kOrigin));
    EXPECT_FALSE(digests.End(900, 1'700));

    const std::optional<WrittenAudio> piece = digests.End(500, 9'700);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->positions.Count(), 23u);
    EXPECT_EQ(piece->positions.PositionOf(0), kHeaderFrame);
    EXPECT_EQ(piece->positions.PositionOf(22), kHeaderFrame + 22 * kFrame);
    EXPECT_EQ(piece->end, kHeaderFrame + 9'200);
    EXPECT_EQ(piece->framesEnd, piece->end);
    EXPECT_EQ(piece->crc, Crc16Combine(CrcUpTo(500), CrcUpTo(9'700), 9'200));

    const std::optional<WrittenAudio> first = digests.End(kOrigin, 9'300);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->positions.Count(), 23u);
    EXPECT_EQ(first->positions.PositionOf(22), kHeaderFrame + 22 * kFrame);
    EXPECT_EQ(first->crc, CrcUpTo(9'300)); // from the origin, where the running CRC is 0
    EXPECT_FALSE(digests.End(kOrigin, 9'300)) << "a piece ends once";
}

TEST(PieceDigestsTest, EndsThatAreNoFrameBoundaryAndEmptyPieces)
{
    PieceDigests digests(kOrigin, kHeaderFrame, 1'000'000);
    std::uint32_t at = kOrigin;
    PassFramesTo(digests, at, 4'100);
    ASSERT_TRUE(digests.Begin(900));
    EXPECT_FALSE(digests.End(900, 1'500));   // the frame from 1300 runs past it
    EXPECT_FALSE(digests.End(1'300, 1'700)); // never begun

    ASSERT_TRUE(digests.Begin(1'300));
    const std::optional<WrittenAudio> empty = digests.End(1'300, 1'300);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->positions.Count(), 0u);
    EXPECT_EQ(empty->end, kHeaderFrame);
    EXPECT_EQ(empty->framesEnd, kHeaderFrame);
    EXPECT_EQ(empty->crc, 0);
}

} // namespace
} // namespace keldro
