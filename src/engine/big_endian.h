// The fields of header frames and tags are big-endian, 1 to 4 bytes wide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldro {

inline std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at,
                               std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

inline void PutBigEndian(std::span<std::uint8_t> bytes, std::size_t at, std::size_t size,
                         std::uint32_t value)
{
    for (std::size_t i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
}

} // namespace keldro
