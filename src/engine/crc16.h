// CRC-16/ARC (polynomial 0x8005 reflected, initial value 0), the checksum of
// both CRC fields of a LAME tag. The writers run it over every byte they copy,
// so it must keep up with a copy from the page cache.
#pragma once

#include <cstdint>
#include <span>

namespace keldro {

// Pass the previous result as crc to continue a checksum over bytes that come
// in pieces.
std::uint16_t Crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

// The same with tables alone, eight bytes a step: what Crc16 uses for short
// inputs and on processors without carry-less multiplication.
std::uint16_t Crc16Table(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

// The CRC of A followed by B, from the CRCs of A and of B and B's length:
// also gives B's CRC from those of A and of A followed by B.
std::uint16_t Crc16Combine(std::uint16_t crcA, std::uint16_t crcB, std::uint64_t lengthB);

} // namespace keldro
