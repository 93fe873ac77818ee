#include "forms/ChannelSheet.h"

#include <algorithm>
#include <span>

#include "codeplug/Bytes.h"
#include "codeplug/RadioInfo.h"
#include "codeplug/Records.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/channels/MemberRules.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/DmrRules.h"
#include "forms/dmr/RxGroupRules.h"

namespace {

// Keys of section "Sheet".
namespace Key {
constexpr int Title = 1, Alias = 2, RadioId = 3, PageNumbers = 4, SerialNumber = 5, Continued = 6;
constexpr int Analog = 10, Digital = 11, Zones = 12, ScanLists = 13, Contacts = 14, RxGroups = 15;
constexpr int Number = 20, Name = 21, Rx = 22, Tx = 23, RxTone = 24, TxTone = 25, ColourCode = 26, TimeSlot = 27,
              Contact = 28, GroupList = 29, Power = 30, Bandwidth = 31, Members = 32, CallType = 33, Id = 34;
constexpr int Low = 40, High = 41, Narrow = 42, Wide = 43, Slot1 = 44, Slot2 = 45, GroupCall = 46, PrivateCall = 47,
              AllCall = 48, None = 49;
}  // namespace Key

class Texts {
public:
    explicit Texts(const TextCatalogue& text) : text_(text) {}
    std::string operator()(int key) const { return text_.GetText("Sheet", key); }
    // A choice by its stored position, the number itself when the position names no text.
    std::string Choice(unsigned position, std::initializer_list<int> keys) const
    {
        return position < keys.size() ? (*this)(*(keys.begin() + position)) : std::to_string(position);
    }

private:
    const TextCatalogue& text_;
};

std::string ChannelName(std::span<const std::uint8_t> record)
{
    return DecodeAlias(record[1], record.subspan(2, AliasField::kBytes));
}

std::string Tone(const Texts& t, std::uint8_t type, std::uint8_t index)
{
    const auto tone = ToneText(type, index);
    return !tone ? "?" : tone->empty() ? t(Key::None) : *tone;
}

std::string ContactName(const Codeplug& c, std::size_t contact)
{
    if (contact >= contacts::Count(c))
        return "?";
    return std::to_string(contact + 1) + " " + contacts::Name(c, contact);
}

SheetTable AnalogTable(const Codeplug& c, const Texts& t)
{
    namespace A = AnalogChannelField;
    SheetTable table{t(Key::Analog),
                     {{t(Key::Number), 4}, {t(Key::Name), 13}, {t(Key::Rx), 9}, {t(Key::Tx), 9}, {t(Key::RxTone), 7},
                      {t(Key::TxTone), 7}, {t(Key::Power), 5}, {t(Key::Bandwidth), 7}},
                     {}};
    const std::size_t count = ChannelCount(c, ChannelKind::Analog);
    for (std::size_t i = 0; i < count; ++i) {
        const auto r = c.AnalogChannelTable.record(i);
        table.rows.push_back({std::to_string(i + 1), ChannelName(r), FrequencyToText(GetLE32(r, A::RxFrequency)),
                              FrequencyToText(GetLE32(r, A::TxFrequency)), Tone(t, r[A::RxToneType], r[A::RxToneIndex]),
                              Tone(t, r[A::TxToneType], r[A::TxToneIndex]), t.Choice(r[A::Power], {Key::Low, Key::High}),
                              t((r[A::Flags] & A::kFlagWideBand) != 0 ? Key::Wide : Key::Narrow)});
    }
    return table;
}

SheetTable DigitalTable(const Codeplug& c, const Texts& t)
{
    namespace D = DigitalChannelField;
    SheetTable table{t(Key::Digital),
                     {{t(Key::Number), 4}, {t(Key::Name), 13}, {t(Key::Rx), 9}, {t(Key::Tx), 9},
                      {t(Key::ColourCode), 5}, {t(Key::TimeSlot), 6}, {t(Key::Contact), 11}, {t(Key::GroupList), 11},
                      {t(Key::Power), 5}},
                     {}};
    const std::size_t count = ChannelCount(c, ChannelKind::Digital);
    for (std::size_t i = 0; i < count; ++i) {
        const auto r = c.DigitalChannelTable.record(i);
        const std::uint8_t rxCode = r[D::RxColourCode], txCode = r[D::TxColourCode];
        const std::string colour =
            rxCode == txCode ? std::to_string(rxCode) : std::to_string(rxCode) + " / " + std::to_string(txCode);
        const std::uint8_t list = r[D::RxGroupList];
        std::string group = t(Key::None);
        if (list != 0)
            group = list <= rxgroups::Count(c) ? std::to_string(list) + " " + rxgroups::Name(c, list - 1u) : "?";
        table.rows.push_back({std::to_string(i + 1), ChannelName(r), FrequencyToText(GetLE32(r, D::RxFrequency)),
                              FrequencyToText(GetLE32(r, D::TxFrequency)), colour,
                              t.Choice((r[D::Flags1] & D::kTimeSlotMask) >> D::kTimeSlotShift, {Key::Slot1, Key::Slot2}),
                              ContactName(c, r[D::TxContact]), group, t.Choice(r[D::Power], {Key::Low, Key::High})});
    }
    return table;
}

// "D1 Repeater, A3 Simplex": each member by its kind, number and name.
std::string ChannelMembers(const Codeplug& c, std::span<const std::uint8_t> record)
{
    std::string text;
    for (const ChannelMember& m : ReadMembers(record)) {
        if (!text.empty())
            text += ", ";
        const bool digital = m.kind == ChannelRef::kDigital;
        text += (digital ? "D" : m.kind == ChannelRef::kAnalog ? "A" : "?") + std::to_string(m.index + 1);
        if (ChannelExists(c, m))
            text += " " + ChannelName(digital ? std::span<const std::uint8_t>(c.DigitalChannelTable.record(m.index))
                                              : std::span<const std::uint8_t>(c.AnalogChannelTable.record(m.index)));
    }
    return text;
}

SheetTable MemberListTable(const Codeplug& c, const Texts& t, int title, std::size_t lists, bool zones)
{
    SheetTable table{t(title), {{t(Key::Number), 4}, {t(Key::Name), 13}, {t(Key::Members), 52}}, {}};
    for (std::size_t i = 0; i < lists; ++i) {
        const auto r = zones ? std::span<const std::uint8_t>(c.ZoneTable.record(i))
                             : std::span<const std::uint8_t>(c.ScanTable.record(i));
        table.rows.push_back({std::to_string(i + 1), ChannelName(r), ChannelMembers(c, r)});
    }
    return table;
}

SheetTable ContactTable(const Codeplug& c, const Texts& t)
{
    SheetTable table{t(Key::Contacts),
                     {{t(Key::Number), 4}, {t(Key::Name), 16}, {t(Key::CallType), 10}, {t(Key::Id), 10}},
                     {}};
    for (std::size_t i = 0; i < contacts::Count(c); ++i)
        table.rows.push_back({std::to_string(i + 1), contacts::Name(c, i),
                              t.Choice(contacts::CallType(c, i), {Key::GroupCall, Key::PrivateCall, Key::AllCall}),
                              contacts::IdText(c, i)});
    return table;
}

SheetTable RxGroupTable(const Codeplug& c, const Texts& t)
{
    namespace G = RxGroupField;
    SheetTable table{t(Key::RxGroups), {{t(Key::Number), 4}, {t(Key::Name), 13}, {t(Key::Members), 52}}, {}};
    for (std::size_t i = 0; i < rxgroups::Count(c); ++i) {
        const auto r = c.RxGroupTable.record(i);
        std::string members;
        const std::size_t count = std::min<std::size_t>(r[G::MemberCount], G::kMaxMembers);
        for (std::size_t m = 0; m < count; ++m)
            members += (members.empty() ? "" : ", ") + ContactName(c, r[G::Members + m]);
        table.rows.push_back({std::to_string(i + 1), rxgroups::Name(c, i), members});
    }
    return table;
}

}  // namespace

ChannelSheet BuildChannelSheet(const Codeplug& c, const TextCatalogue& text)
{
    const Texts t(text);
    ChannelSheet sheet;
    sheet.title = t(Key::Title);
    sheet.pageNumbers = t(Key::PageNumbers);
    sheet.continued = t(Key::Continued);
    const auto alias = std::span<const std::uint8_t>(c.RadioSettings).subspan(RadioSettingsField::RadioAlias, AliasField::kBytes);
    sheet.facts = {{t(Key::Alias), DecodeAlias(c.RadioSettings[RadioSettingsField::RadioAliasLength], alias)},
                   {t(Key::RadioId), dmr::RadioIdText(c)}};
    if (const std::string serial = radio_info::SerialNumber(c); !serial.empty())
        sheet.facts.emplace_back(t(Key::SerialNumber), serial);
    sheet.tables = {AnalogTable(c, t),
                    DigitalTable(c, t),
                    MemberListTable(c, t, Key::Zones, c.ZoneTable.kCapacity, true),
                    MemberListTable(c, t, Key::ScanLists, ScanListsInUse(c), false),
                    ContactTable(c, t),
                    RxGroupTable(c, t)};
    return sheet;
}
