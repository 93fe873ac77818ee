#include "forms/Sections.h"

#include "codeplug/Records.h"

std::uint32_t Section::storedCount() const
{
    if (count.empty())
        return static_cast<std::uint32_t>(capacity);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < count.size(); ++i)
        v |= static_cast<std::uint32_t>(count[i]) << (8 * i);
    return v;
}

void Section::setCount(std::uint32_t value) const
{
    for (std::size_t i = 0; i < count.size(); ++i)
        count[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::size_t Section::used() const
{
    const std::uint32_t stored = storedCount();
    return stored < capacity ? stored : capacity;
}

std::string Section::recordLabel(std::size_t i) const
{
    return table ? std::string(schema->label) + " " + std::to_string(i + 1) : std::string(schema->label);
}

std::vector<Section> Sections(Codeplug& c)
{
    const auto block = [](std::string_view id, const RecordSchema& schema, std::span<std::uint8_t> bytes) {
        return Section{id, schema.label, &schema, false, bytes, 1, {}};
    };
    const auto table = [](std::string_view id, std::string_view label, const RecordSchema& schema, auto& t,
                          std::span<std::uint8_t> count) {
        return Section{id, label, &schema, true, std::span<std::uint8_t>(t.bytes), t.kCapacity, count};
    };
    return {
        block("radioSettings", RadioSettingsSchema(), c.RadioSettings),
        block("dmrSettings", DmrSettingsSchema(), c.DmrSettings),
        table("contacts", "Contacts", ContactSchema(), c.ContactTable, c.ContactCount),
        table("rxGroupLists", "Receive group lists", RxGroupSchema(), c.RxGroupTable, c.RxGroupCount),
        table("scanLists", "Scan lists", ScanListSchema(), c.ScanTable, c.ScanListCount),
        table("zones", "Zones", ZoneSchema(), c.ZoneTable, {}),
        table("analogChannels", "Analog channels", AnalogChannelSchema(), c.AnalogChannelTable, c.AnalogChannelCount),
        table("digitalChannels", "Digital channels", DigitalChannelSchema(), c.DigitalChannelTable, c.DigitalChannelCount),
        table("messages", "Text messages", MessageSchema(), c.MessageTable, c.MessageCount),
        block("identity", IdentitySchema(), c.IdentityBlock),
        block("recordE2", RecordE2Schema(), c.RecordE2Block),
        block("radioInfo", RadioInfoSchema(), c.RadioInfoBlock),
        block("password", PasswordSchema(), c.PasswordBlock),
        block("functionExtra", FunctionExtraSchema(), c.FunctionExtra),
        block("fileMarker", FileMarkerSchema(), c.FileMarker),
    };
}

std::vector<Section> Sections(const Codeplug& c) { return Sections(const_cast<Codeplug&>(c)); }

FieldContext ContextOf(const Codeplug& c) { return {c.RadioSettings[RadioSettingsField::FrequencyRange], &c}; }
