#pragma once
// Bytes written in a test as hex pairs separated by blanks: Hex("84 A9 61").
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> Hex(const std::string& text)
{
    std::vector<std::uint8_t> out;
    std::istringstream in(text);
    for (std::string byte; in >> byte;)
        out.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    return out;
}
