#include "engine/crc16.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KELDRO_CRC_FOLDING 1
#endif

namespace keldro {
namespace {

using CrcTables = std::array<std::array<std::uint16_t, 256>, 8>;

// Table k gives a byte's effect on the CRC after k more zero bytes have
// followed it, so eight bytes are folded in at once (slicing by 8).
constexpr CrcTables MakeCrcTables()
{
    CrcTables tables{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xA001 : crc >> 1;
        tables[0][byte] = static_cast<std::uint16_t>(crc);
    }
    for (std::size_t k = 1; k < tables.size(); ++k) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            const std::uint16_t previous = tables[k - 1][byte];
            tables[k][byte] =
                static_cast<std::uint16_t>((previous >> 8) ^ tables[0][previous & 0xFF]);
        }
    }
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

#ifdef KELDRO_CRC_FOLDING

// Folding with carry-less multiplication: the bytes are taken 16 at a time as
// polynomials (the first byte's lowest bit the highest term, as the reflected
// CRC reads them), and the running remainder is carried forward by multiplying
// its halves with x^n mod P instead of dividing. What is left in the end is a
// 16-byte message with the same CRC as everything folded, which the tables
// finish. Four lanes 64 bytes apart keep the multiplier busy.
constexpr std::uint32_t kPolynomial = 0x18005; // x^16 + x^15 + x^2 + 1

// x^n mod P, as the 64-bit lane of a reflected operand holds it (bit 63 - d
// for the term x^d). The exponent is one less than the distance folded:
// multiplying reflected operands shifts the product by one bit.
constexpr std::uint64_t FoldConstant(int distance)
{
    std::uint32_t remainder = 1;
    for (int i = 0; i < distance - 1; ++i) {
        remainder <<= 1;
        if ((remainder & 0x10000) != 0)
            remainder ^= kPolynomial;
    }
    std::uint64_t lane = 0;
    for (int degree = 0; degree < 16; ++degree) {
        if ((remainder >> degree & 1) != 0)
            lane |= std::uint64_t{1} << (63 - degree);
    }
    return lane;
}

// The low lane holds the higher terms: it travels distance + 64 bits, the high
// lane distance bits.
struct FoldConstants
{
    std::uint64_t low;
    std::uint64_t high;
};
constexpr FoldConstants kFold128{FoldConstant(128 + 64), FoldConstant(128)};
constexpr FoldConstants kFold512{FoldConstant(512 + 64), FoldConstant(512)};

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i value, __m128i constants,
                                                           __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(value, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(value, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__attribute__((target("pclmul,sse2"))) std::uint16_t
FoldedCrc16(const std::uint8_t* p, std::size_t size, std::uint16_t crc)
{
    const auto load = [](const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    const __m128i by512 =
        _mm_set_epi64x(static_cast<long long>(kFold512.high), static_cast<long long>(kFold512.low));
    const __m128i by128 =
        _mm_set_epi64x(static_cast<long long>(kFold128.high), static_cast<long long>(kFold128.low));
    // A running CRC enters as the first two bytes it would have been XORed into.
    __m128i lanes[4] = {_mm_xor_si128(load(p), _mm_cvtsi32_si128(crc)), load(p + 16), load(p + 32),
                        load(p + 48)};
    std::size_t at = 64;
    for (; at + 64 <= size; at += 64) {
        for (int lane = 0; lane < 4; ++lane)
            lanes[lane] = Fold(lanes[lane], by512, load(p + at + 16 * lane));
    }
    __m128i folded = lanes[0];
    for (int lane = 1; lane < 4; ++lane)
        folded = Fold(folded, by128, lanes[lane]);
    for (; at + 16 <= size; at += 16)
        folded = Fold(folded, by128, load(p + at));
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), folded);
    return Crc16Table({p + at, size - at}, Crc16Table(rest));
}

bool HasCarrylessMultiply()
{
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
    return has;
}

#endif

} // namespace

std::uint16_t Crc16Table(std::span<const std::uint8_t> bytes, std::uint16_t crc)
{
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    std::uint32_t value = crc;
    for (; left >= 8; left -= 8, p += 8) {
        value ^= std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
        value = kCrcTables[7][value & 0xFF] ^ kCrcTables[6][value >> 8] ^ kCrcTables[5][p[2]] ^
                kCrcTables[4][p[3]] ^ kCrcTables[3][p[4]] ^ kCrcTables[2][p[5]] ^
                kCrcTables[1][p[6]] ^ kCrcTables[0][p[7]];
    }
    for (; left > 0; --left, ++p)
        value = (value >> 8) ^ kCrcTables[0][(value ^ *p) & 0xFF];
    return static_cast<std::uint16_t>(value);
}

std::uint16_t Crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc)
{
#ifdef KELDRO_CRC_FOLDING
    if (bytes.size() >= 256 && HasCarrylessMultiply())
        return FoldedCrc16(bytes.data(), bytes.size(), crc);
#endif
    return Crc16Table(bytes, crc);
}

namespace {

// A linear map of 16-bit CRC states, one column per bit.
using CrcOperator = std::array<std::uint16_t, 16>;

std::uint16_t Apply(const CrcOperator& op, std::uint16_t crc)
{
    std::uint16_t result = 0;
    for (std::size_t bit = 0; crc != 0; ++bit, crc >>= 1) {
        if ((crc & 1) != 0)
            result ^= op[bit];
    }
    return result;
}

CrcOperator Squared(const CrcOperator& op)
{
    CrcOperator square{};
    for (std::size_t bit = 0; bit < square.size(); ++bit)
        square[bit] = Apply(op, op[bit]);
    return square;
}

} // namespace

// With an initial value of 0 the CRC is linear: the CRC of A then B is A's CRC
// carried through |B| zero bytes, plus B's own.
std::uint16_t Crc16Combine(std::uint16_t crcA, std::uint16_t crcB, std::uint64_t lengthB)
{
    CrcOperator zeros{}; // one zero byte
    for (std::size_t bit = 0; bit < zeros.size(); ++bit) {
        const auto crc = static_cast<std::uint16_t>(1u << bit);
        zeros[bit] = static_cast<std::uint16_t>((crc >> 8) ^ kCrcTables[0][crc & 0xFF]);
    }
    for (; lengthB != 0 && crcA != 0; lengthB >>= 1) {
        if ((lengthB & 1) != 0)
            crcA = Apply(zeros, crcA);
        zeros = Squared(zeros);
    }
    return crcA ^ crcB;
}

} // namespace keldro
