#pragma once
// Little-endian field access inside Codeplug blocks. Every access is bounds-checked
// against the span it is given, so a bad offset throws instead of reaching past a block.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

inline void RequireRange(std::size_t size, std::size_t offset, std::size_t width)
{
    if (offset > size || width > size - offset)
        throw std::out_of_range("field outside its block");
}

inline std::uint16_t GetLE16(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    RequireRange(bytes.size(), offset, 2);
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline void PutLE16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value)
{
    RequireRange(bytes.size(), offset, 2);
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint32_t GetLE32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    RequireRange(bytes.size(), offset, 4);
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

inline void PutLE32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value)
{
    RequireRange(bytes.size(), offset, 4);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
