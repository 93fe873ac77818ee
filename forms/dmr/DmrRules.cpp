#include "forms/dmr/DmrRules.h"

#include "codeplug/BcdId.h"
#include "codeplug/Bytes.h"
#include "codeplug/Records.h"

namespace dmr {

namespace {

namespace F = DmrSettingsField;

constexpr int kWaitEntries = 95;   // 300 ... 5000 ms
constexpr int kDelayEntries = 41;  // 0 ... 1600 ms

constexpr std::array<SettingList, 11> kLists = {{
    {F::GroupHangTime, 2, 256, 0, 1, 0, false},
    {F::PrivateHangTime, 3, 256, 0, 1, 0, false},
    {F::CallConfirmWait, 4, kWaitEntries, F::kCallConfirmWaitBase * F::kCallConfirmWaitStepMs,
     F::kCallConfirmWaitStepMs, F::kCallConfirmWaitBase, false},
    {F::CallConfirmRetries, 5, 255, 0, 1, 0, false},
    {F::MessageConfirmWait, 6, 255, 0, 1, 0, true},
    {F::MessageConfirmRetries, 7, 255, 0, 1, 0, true},
    {F::VoiceDelay, 8, kDelayEntries, 0, F::kVoiceDelayStepMs, 0, false},
    {F::FeatureId, 9, 256, 0, 1, 0, false},
    {F::VoiceHeaderFrames, 13, 256, 0, 1, 0, false},
    {F::ConfirmPreambleFrames, 12, 256, 0, 1, 0, false},
    {F::ResponsePreambleFrames, 11, 256, 0, 1, 0, false},
}};

}  // namespace

const std::array<SettingList, 11>& SettingLists() { return kLists; }

std::vector<std::string> ListTexts(const SettingList& list)
{
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list.entries));
    for (int p = 0; p < list.entries; ++p)
        texts.push_back(std::to_string(list.firstShown + p * list.step));
    return texts;
}

int PositionOfStored(const SettingList& list, std::uint8_t stored)
{
    const int position = static_cast<int>(stored) - list.storedBase;
    return position >= 0 && position < list.entries ? position : -1;
}

std::uint8_t StoredOfPosition(const SettingList& list, int position)
{
    return static_cast<std::uint8_t>(position + list.storedBase);
}

std::uint32_t RadioId(const Codeplug& codeplug) { return GetRadioId(codeplug); }

std::string RadioIdText(const Codeplug& codeplug) { return BcdIdToText(RadioId(codeplug)); }

std::uint32_t CommitRadioIdText(Codeplug& codeplug, std::string_view text)
{
    const std::uint32_t id = ParseBcdIdText(text);
    SetRadioId(codeplug, id);
    return id;
}

}  // namespace dmr
