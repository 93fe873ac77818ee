#include "codeplug/BcdId.h"

#include <cstdio>

#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"

// Every ID box of the program (the forms' and the write dialog's) reads and shows IDs here.
std::string BcdIdToText(std::uint32_t packed)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", packed);
    return hex;
}

std::uint32_t ParseBcdIdText(std::string_view text)
{
    std::uint64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > kMaxBcdId) {  // everything longer only grows; stop before overflowing
            value = kMaxBcdId;
            break;
        }
    }
    return value == 0 ? 1 : static_cast<std::uint32_t>(value);
}

std::uint32_t GetRadioId(const Codeplug& codeplug) { return GetLE32(codeplug.DmrSettings, DmrSettingsField::RadioId); }

void SetRadioId(Codeplug& codeplug, std::uint32_t packed) { PutLE32(codeplug.DmrSettings, DmrSettingsField::RadioId, packed); }

bool IsValidBcdId(std::uint32_t packed)
{
    for (unsigned shift = 0; shift < 32; shift += 4) {
        if (((packed >> shift) & 0xF) > 9)
            return false;
    }
    return true;
}

std::optional<std::uint32_t> PackBcdId(std::uint32_t decimal)
{
    if (decimal > 99999999u)
        return std::nullopt;
    std::uint32_t packed = 0;
    for (unsigned shift = 0; decimal != 0; shift += 4, decimal /= 10)
        packed |= (decimal % 10) << shift;
    return packed;
}

std::optional<std::uint32_t> UnpackBcdId(std::uint32_t packed)
{
    if (!IsValidBcdId(packed))
        return std::nullopt;
    std::uint32_t decimal = 0;
    for (int shift = 28; shift >= 0; shift -= 4)
        decimal = decimal * 10 + ((packed >> shift) & 0xF);
    return decimal;
}
