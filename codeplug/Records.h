#pragma once
// Byte offsets of the fields inside each Codeplug record. Multi-byte values are little-endian
// in the image; the link reverses them on the wire (see link/WireOrder).
#include <cstddef>
#include <cstdint>

namespace FunctionExtraField {
constexpr std::size_t DigitalMicGain = 3;  // unsigned 16-bit, bytes 3-4
constexpr std::uint16_t kDigitalMicGainMin = 298;
constexpr std::uint16_t kDigitalMicGainMax = 4000;
constexpr std::uint16_t kDigitalMicGainRepaired = 2048;
}  // namespace FunctionExtraField
