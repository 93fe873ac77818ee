#pragma once
// What the image says about the radio itself: serial number, the two firmware versions, the
// frequency band, and the date text of the radio-information dialog. The dialog and the
// command-line tool show these through the same functions.
#include <array>
#include <cstdint>
#include <string>

struct Codeplug;

namespace radio_info {

// The fixed model name the dialog shows.
inline constexpr const char* kModelName = "ZR-740NV";

// The band list in its order: index 0 is 400-480MHz, index 1 is 350-400MHz.
inline constexpr std::array<const char*, 2> kBandTexts = {"400-480MHz", "350-400MHz"};

// 8-bit texts of the image, each ending at its first zero byte or at the end of its field.
std::string SerialNumber(const Codeplug& codeplug);
std::string McuVersion(const Codeplug& codeplug);
std::string DspVersion(const Codeplug& codeplug);

// 1 when the band byte is 5, otherwise 0.
int BandIndex(const Codeplug& codeplug);
std::string BandText(const Codeplug& codeplug);
// Stores 5 for index 1 and 4 for any other index.
void SetBand(Codeplug& codeplug, int index);

// "%d-%d-%d": year, month, day without leading zeros.
std::string DateText(int year, int month, int day);
// Today's local date in that form.
std::string TodayText();

}  // namespace radio_info
