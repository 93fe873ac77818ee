#include "forms/functions/KeyRules.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "codeplug/Bytes.h"
#include "codeplug/Codeplug.h"
#include "forms/channels/Encodings.h"

namespace {

constexpr int kFunctionTextBase = 24;

std::size_t KeyOffset(std::size_t key)
{
    if (key >= kKeyFunctionOffsets.size())
        throw std::out_of_range("no such key");
    return kKeyFunctionOffsets[key];
}

std::size_t EntryKindOffset(std::size_t k)
{
    if (k >= kOneTouchCount)
        throw std::out_of_range("no such one-touch entry");
    return RadioSettingsField::OneTouchKind(k);
}

}  // namespace

int KeyFunctionPosition(std::uint8_t code)
{
    const auto it = std::find(kKeyFunctionCodes.begin(), kKeyFunctionCodes.end(), code);
    return it == kKeyFunctionCodes.end() ? 0 : static_cast<int>(it - kKeyFunctionCodes.begin());
}

std::uint8_t KeyFunctionCodeAt(int position)
{
    if (position < 0 || position >= static_cast<int>(kKeyFunctionCodes.size()))
        return kKeyFunctionCodes.front();
    return kKeyFunctionCodes[static_cast<std::size_t>(position)];
}

int KeyFunctionTextKey(int position) { return kFunctionTextBase + KeyFunctionCodeAt(position); }

int KeyFunctionPositionOf(const Codeplug& codeplug, std::size_t key)
{
    return KeyFunctionPosition(codeplug.RadioSettings[KeyOffset(key)]);
}

void SetKeyFunctionPosition(Codeplug& codeplug, std::size_t key, int position)
{
    codeplug.RadioSettings[KeyOffset(key)] = KeyFunctionCodeAt(position);
}

std::string LongPressText(int position)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", (kLongPressFirstMs + kLongPressStepMs * position) / 1000.0);
    return text;
}

std::optional<int> LongPressPosition(const Codeplug& codeplug)
{
    const int ms = GetLE16(codeplug.RadioSettings, RadioSettingsField::LongPressTime);
    const int position = (ms - kLongPressFirstMs) / kLongPressStepMs;  // truncates toward zero
    if (position < 0 || position >= kLongPressChoices)
        return std::nullopt;
    return position;
}

void SetLongPressPosition(Codeplug& codeplug, int position)
{
    if (position < 0 || position >= kLongPressChoices)
        return;
    PutLE16(codeplug.RadioSettings, RadioSettingsField::LongPressTime,
            static_cast<std::uint16_t>(kLongPressFirstMs + kLongPressStepMs * position));
}

OneTouchEntry OneTouchAt(const Codeplug& codeplug, std::size_t k)
{
    const std::size_t at = EntryKindOffset(k);
    return {codeplug.RadioSettings[at], codeplug.RadioSettings[RadioSettingsField::OneTouchContact(k)]};
}

void SetOneTouchKind(Codeplug& codeplug, std::size_t k, int kindPosition)
{
    codeplug.RadioSettings[EntryKindOffset(k)] =
        kindPosition == 1 ? RadioSettingsField::kOneTouchCall : RadioSettingsField::kOneTouchNone;
}

int OneTouchKindPosition(const Codeplug& codeplug, std::size_t k)
{
    return OneTouchAt(codeplug, k).kind != RadioSettingsField::kOneTouchNone ? 1 : 0;
}

bool OneTouchContactEditable(const Codeplug& codeplug, std::size_t k) { return OneTouchKindPosition(codeplug, k) == 1; }

std::optional<std::string> OneTouchContactName(const Codeplug& codeplug, std::size_t k)
{
    const OneTouchEntry entry = OneTouchAt(codeplug, k);
    if (entry.kind != RadioSettingsField::kOneTouchCall)
        return std::nullopt;
    if (entry.contact >= codeplug.ContactTable.kCapacity)
        return std::string();
    return DecodeContactName(codeplug.ContactTable.record(entry.contact).subspan<ContactField::Name, AliasField::kBytes>());
}

std::vector<ContactChoice> OneTouchContactChoices(const Codeplug& codeplug)
{
    std::vector<ContactChoice> choices;
    const std::size_t used = UsedRecords(GetCount(codeplug.ContactCount), codeplug.ContactTable);
    for (std::size_t n = 0; n < used; ++n) {
        const auto contact = codeplug.ContactTable.record(n);
        const std::uint8_t callType = contact[ContactField::CallType];
        if (callType != ContactField::kGroupCall && callType != ContactField::kPrivateCall)
            continue;
        choices.push_back({DecodeContactName(contact.subspan<ContactField::Name, AliasField::kBytes>()),
                           static_cast<std::uint8_t>(n)});
    }
    return choices;
}

void SetOneTouchContact(Codeplug& codeplug, std::size_t k, const std::vector<ContactChoice>& choices, int position)
{
    EntryKindOffset(k);
    if (position < 0 || position >= static_cast<int>(choices.size()))
        return;
    codeplug.RadioSettings[RadioSettingsField::OneTouchContact(k)] = choices[static_cast<std::size_t>(position)].index;
}

std::optional<int> OneTouchContactPosition(const Codeplug& codeplug, std::size_t k,
                                           const std::vector<ContactChoice>& choices)
{
    const std::uint8_t contact = OneTouchAt(codeplug, k).contact;
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].index == contact)
            return static_cast<int>(i);
    return std::nullopt;
}
