#include "forms/dmr/BcdId.h"

#include "link/SessionRules.h"

// The write dialog's radio-ID box follows the same rules as the forms' ID boxes, so both share
// the session's parser and text.
std::string BcdIdToText(std::uint32_t packed) { return session::RadioIdFieldText(packed, false); }

std::uint32_t ParseBcdIdText(std::string_view text) { return session::ParseRadioIdText(text); }

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
