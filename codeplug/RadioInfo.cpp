#include "codeplug/RadioInfo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <span>

#include "codeplug/Codeplug.h"
#include "codeplug/Records.h"

namespace radio_info {
namespace {

std::string Text8(std::span<const std::uint8_t> field)
{
    return std::string(field.begin(), std::find(field.begin(), field.end(), std::uint8_t{0}));
}

}  // namespace

std::string SerialNumber(const Codeplug& c)
{
    return Text8(std::span(c.RadioInfoBlock).subspan(RadioInfoField::SerialNumber));
}

std::string McuVersion(const Codeplug& c)
{
    namespace F = RadioSettingsField;
    return Text8(std::span(c.RadioSettings).subspan(F::McuVersion, F::McuVersionEnd - F::McuVersion));
}

std::string DspVersion(const Codeplug& c)
{
    namespace F = RadioSettingsField;
    return Text8(std::span(c.RadioSettings).subspan(F::DspVersion, F::DspVersionEnd - F::DspVersion));
}

int BandIndex(const Codeplug& c)
{
    return c.RadioSettings[RadioSettingsField::FrequencyRange] == RadioSettingsField::kRange350To400 ? 1 : 0;
}

std::string BandText(const Codeplug& c) { return kBandTexts[static_cast<std::size_t>(BandIndex(c))]; }

void SetBand(Codeplug& c, int index)
{
    c.RadioSettings[RadioSettingsField::FrequencyRange] =
        index == 1 ? RadioSettingsField::kRange350To400 : RadioSettingsField::kRange400To480;
}

std::string DateText(int year, int month, int day)
{
    char text[40];
    std::snprintf(text, sizeof text, "%d-%d-%d", year, month, day);
    return text;
}

std::string TodayText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace radio_info
