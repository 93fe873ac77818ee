#include "forms/Describe.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "codeplug/RadioInfo.h"
#include "codeplug/Records.h"
#include "forms/FieldSchema.h"
#include "forms/channels/Encodings.h"
#include "codeplug/BcdId.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string Printf(const char* format, long long value)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}


// An 8-bit text of the radio, ended by a zero byte or by the end of its field.

std::string HexBytes(Bytes bytes)
{
    std::string out;
    for (const std::uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += Printf("%02llX", b);
    }
    return out;
}

std::string ChannelNumber(std::size_t index) { return Printf("CH%02lld", static_cast<long long>(index + 1)); }

std::string Alias(Bytes record, std::size_t lengthOffset, std::size_t fieldOffset, std::size_t width)
{
    return DecodeAlias(record[lengthOffset], record.subspan(fieldOffset, width));
}

std::string ContactName(const Codeplug& c, std::size_t index)
{
    return DecodeContactName(c.ContactTable.record(index).subspan(ContactField::Name, AliasField::kBytes));
}


template <std::size_t N>
bool Stamped(Bytes record, const std::array<std::size_t, N>& offsets)
{
    for (std::size_t n = 0; n < N; ++n) {
        if (record[offsets[n]] != n)
            return false;
    }
    return true;
}

template <std::size_t RecordBytes, std::size_t Capacity, std::size_t N>
bool TableStamped(const RecordTable<RecordBytes, Capacity>& table, const std::array<std::size_t, N>& offsets)
{
    for (std::size_t i = 0; i < Capacity; ++i) {
        if (!Stamped(table.record(i), offsets))
            return false;
    }
    return true;
}

// The common head of a table: the count as stored, the table size and how many are listed.
template <std::size_t RecordBytes, std::size_t Capacity>
DescNode TableNode(std::string id, std::string label, std::uint32_t count, const RecordTable<RecordBytes, Capacity>& table)
{
    DescNode node = DescNode::Object(std::move(id), std::move(label));
    const std::size_t used = UsedRecords(count, table);
    node.AddNumber("count", "Count", count).HideLastInText();
    node.AddNumber("capacity", "Table size", Capacity).HideLastInText();
    node.AddNumber("listed", "Listed", static_cast<std::int64_t>(used)).HideLastInText();
    node.note = std::to_string(count) + " in use, table of " + std::to_string(Capacity);
    if (count > Capacity)
        node.AddText("warning", "Warning",
                     "count " + std::to_string(count) + " is above the table of " + std::to_string(Capacity) +
                         "; only the table's records are listed");
    return node;
}

std::string ChannelRefText(const Codeplug& c, std::uint8_t kind, std::uint16_t index)
{
    if (kind == ChannelRef::kDigital || kind == ChannelRef::kAnalog) {
        const bool digital = kind == ChannelRef::kDigital;
        const std::string head = std::string(digital ? "digital " : "analog ") + ChannelNumber(index);
        const std::size_t count = digital ? UsedRecords(GetCount(c.DigitalChannelCount), c.DigitalChannelTable)
                                          : UsedRecords(GetCount(c.AnalogChannelCount), c.AnalogChannelTable);
        if (index >= count)
            return head + " (not in use)";
        const std::string alias =
            digital ? Alias(c.DigitalChannelTable.record(index), DigitalChannelField::AliasLength,
                            DigitalChannelField::Alias, AliasField::kBytes)
                    : Alias(c.AnalogChannelTable.record(index), AnalogChannelField::AliasLength,
                            AnalogChannelField::Alias, AliasField::kBytes);
        return head + " " + alias;
    }
    return "kind " + std::to_string(kind) + " " + ChannelNumber(index) + " (unknown kind)";
}

std::string ContactRefText(const Codeplug& c, std::size_t index)
{
    const std::size_t used = UsedRecords(GetCount(c.ContactCount), c.ContactTable);
    const std::string head = "contact " + std::to_string(index + 1);
    if (index >= c.ContactTable.kCapacity)
        return head + " (outside the table)";
    if (index >= used)
        return head + " (not in use)";
    return head + " " + ContactName(c, index);
}

std::string ListRefText(std::uint8_t value, std::uint32_t count, std::size_t capacity, const char* what,
                        const std::string& name)
{
    if (value == 0)
        return "off";
    std::string text = std::string(what) + " " + std::to_string(value);
    if (value > std::min<std::size_t>(count, capacity))
        return text + " (not in use)";
    return name.empty() ? text : text + " " + name;
}

std::string ScanListRef(const Codeplug& c, std::uint8_t value)
{
    const std::uint32_t count = GetCount(c.ScanListCount);
    std::string name;
    if (value >= 1 && value <= std::min<std::size_t>(count, c.ScanTable.kCapacity))
        name = Alias(c.ScanTable.record(value - 1u), ScanListField::AliasLength, ScanListField::Alias, AliasField::kBytes);
    return ListRefText(value, count, c.ScanTable.kCapacity, "scan list", name);
}

std::string RxGroupRef(const Codeplug& c, std::uint8_t value)
{
    const std::uint32_t count = GetCount(c.RxGroupCount);
    std::string name;
    if (value >= 1 && value <= std::min<std::size_t>(count, c.RxGroupTable.kCapacity))
        name = Alias(c.RxGroupTable.record(value - 1u), RxGroupField::NameLength, RxGroupField::Name, AliasField::kBytes);
    return ListRefText(value, count, c.RxGroupTable.kCapacity, "group list", name);
}

// The fields of one record, read through the schema; references are shown with the names of
// the records they name.
void AddFields(DescNode& n, const Codeplug& c, const RecordSchema& schema, Bytes r)
{
    for (const FieldDef& f : schema.fields) {
        const FieldValue v = ReadField(f, r);
        const std::string id(f.id);
        const std::string label(f.label);
        switch (f.codec) {
        case Codec::Bit: n.AddFlag(id, label, v.get<bool>()); break;
        case Codec::ListRef:
            n.AddText(id, label, f.id == "rxGroupList" ? RxGroupRef(c, r[f.offset]) : ScanListRef(c, r[f.offset]));
            break;
        case Codec::ContactRef:
            n.AddText(id, label, r[f.offset] == 0xFF ? "none" : ContactRefText(c, r[f.offset]));
            break;
        case Codec::OneTouch:
            n.AddText(id, label, v.is_number() ? "DMR " + ContactRefText(c, r[f.offset + 1]) : ValueText(v));
            break;
        case Codec::ChannelMembers:
        case Codec::ContactMembers: {
            DescNode list = DescNode::Array(id, label);
            const std::size_t count = std::min<std::size_t>(r[f.aux], static_cast<std::size_t>(f.max));
            for (std::size_t m = 0; m < count; ++m) {
                std::string text;
                if (f.codec == Codec::ContactMembers) {
                    text = ContactRefText(c, r[f.offset + m]);
                } else {
                    const std::size_t at = f.offset + ChannelRef::kBytes * m;
                    text = ChannelRefText(c, r[at + ChannelRef::Kind], GetLE16(r, at + ChannelRef::Index));
                }
                list.AddText({}, std::to_string(m + 1), text);
            }
            n.AddNumber("memberCount", "Member count", r[f.aux]).Add(std::move(list));
            break;
        }
        case Codec::Number:
        case Codec::BcdId:
        case Codec::ContactId:
            if (v.is_number() && f.unit.empty())
                n.AddNumber(id, label, v.get<std::int64_t>());
            else
                n.AddText(id, label, ValueText(v) + (f.unit.empty() ? "" : " " + std::string(f.unit)));
            break;
        default: n.AddText(id, label, ValueText(v)); break;
        }
    }
}

DescNode DescribeRecord(const Codeplug& c, const RecordSchema& schema, Bytes r, std::string label)
{
    DescNode n = DescNode::Object({}, std::move(label));
    AddFields(n, c, schema, r);
    return n;
}

DescNode DescribeBlock(const Codeplug& c, const RecordSchema& schema, Bytes r)
{
    DescNode n = DescNode::Object(std::string(schema.id), std::string(schema.label));
    AddFields(n, c, schema, r);
    return n;
}

template <std::size_t RecordBytes, std::size_t Capacity, typename Describe>
DescNode DescribeTable(std::string id, std::string label, std::uint32_t count,
                       const RecordTable<RecordBytes, Capacity>& table, Describe describe)
{
    DescNode node = TableNode(std::move(id), std::move(label), count, table);
    DescNode records = DescNode::Array("records", "Records");
    records.flatInText = true;
    for (std::size_t i = 0; i < UsedRecords(count, table); ++i)
        records.Add(describe(i));
    node.Add(std::move(records));
    return node;
}

}  // namespace

// ---- DescNode ----

DescNode DescNode::Object(std::string id, std::string label)
{
    DescNode node;
    node.kind = Kind::Object;
    node.id = std::move(id);
    node.label = std::move(label);
    return node;
}

DescNode DescNode::Array(std::string id, std::string label)
{
    DescNode node = Object(std::move(id), std::move(label));
    node.kind = Kind::Array;
    return node;
}

DescNode& DescNode::AddText(std::string childId, std::string childLabel, std::string value)
{
    DescNode node = Object(std::move(childId), std::move(childLabel));
    node.kind = Kind::Text;
    node.text = std::move(value);
    return Add(std::move(node));
}

DescNode& DescNode::AddNumber(std::string childId, std::string childLabel, std::int64_t value)
{
    DescNode node = Object(std::move(childId), std::move(childLabel));
    node.kind = Kind::Number;
    node.text = std::to_string(value);
    return Add(std::move(node));
}

DescNode& DescNode::AddFlag(std::string childId, std::string childLabel, bool value)
{
    DescNode node = Object(std::move(childId), std::move(childLabel));
    node.kind = Kind::Flag;
    node.flag = value;
    return Add(std::move(node));
}

DescNode& DescNode::Add(DescNode child)
{
    children.push_back(std::move(child));
    return *this;
}

DescNode& DescNode::HideLastInText()
{
    if (!children.empty())
        children.back().hiddenInText = true;
    return *this;
}

const DescNode* DescNode::Find(std::string_view childId) const
{
    for (const DescNode& child : children) {
        if (child.id == childId)
            return &child;
    }
    return nullptr;
}

// ---- helpers ----

std::string BcdIdText(std::uint32_t value)
{
    const std::string digits = Printf("%llX", value);
    return IsValidBcdId(value) ? digits : digits + " (not a decimal ID)";
}


// ---- the accounts ----

DescNode DescribeCodeplug(const Codeplug& c)
{
    const auto marker = static_cast<std::int32_t>(GetLE32(c.FileMarker, 0));
    DescNode root = DescNode::Object("codeplug", "Codeplug");
    DescNode file = DescNode::Object("file", "File");
    file.AddNumber("marker", "Marker", marker).AddFlag("markerOk", "Marker is 740", marker == kFileMarkerValue).HideLastInText();
    root.Add(std::move(file));
    DescNode settings = DescribeBlock(c, RadioSettingsSchema(), c.RadioSettings);
    settings.AddFlag("fieldNumbersStamped", "Field numbers stamped", Stamped(c.RadioSettings, kRadioSettingsFieldNumberOffsets));
    root.Add(std::move(settings));
    root.Add(DescribeBlock(c, DmrSettingsSchema(), c.DmrSettings));

    // A table of records whose field numbers the write session stamps, with a flag saying whether they are.
    const auto stampedTable = [&](std::string id, std::string label, std::uint32_t count, const auto& table,
                                  const auto& offsets, const RecordSchema& schema, std::string itemLabel) {
        DescNode node = DescribeTable(std::move(id), std::move(label), count, table, [&](std::size_t i) {
            return DescribeRecord(c, schema, table.record(i), itemLabel + std::to_string(i + 1));
        });
        node.AddFlag("fieldNumbersStamped", "Field numbers stamped", TableStamped(table, offsets));
        root.Add(std::move(node));
    };
    const auto channel = [&](std::string id, std::string label, std::uint32_t count, const auto& table, const auto& offsets,
                             const RecordSchema& schema, const char* prefix) {
        DescNode node = DescribeTable(std::move(id), std::move(label), count, table, [&](std::size_t i) {
            return DescribeRecord(c, schema, table.record(i), prefix + ChannelNumber(i));
        });
        node.AddFlag("fieldNumbersStamped", "Field numbers stamped", TableStamped(table, offsets));
        root.Add(std::move(node));
    };
    channel("digitalChannels", "Digital channels", GetCount(c.DigitalChannelCount), c.DigitalChannelTable,
            kDigitalChannelFieldNumberOffsets, DigitalChannelSchema(), "Digital ");
    channel("analogChannels", "Analog channels", GetCount(c.AnalogChannelCount), c.AnalogChannelTable,
            kAnalogChannelFieldNumberOffsets, AnalogChannelSchema(), "Analog ");
    stampedTable("zones", "Zones", static_cast<std::uint32_t>(c.ZoneTable.kCapacity), c.ZoneTable,
                 kZoneFieldNumberOffsets, ZoneSchema(), "Zone ");
    stampedTable("scanLists", "Scan lists", GetCount(c.ScanListCount), c.ScanTable, kScanListFieldNumberOffsets,
                 ScanListSchema(), "Scan list ");
    stampedTable("contacts", "Contacts", GetCount(c.ContactCount), c.ContactTable, kContactFieldNumberOffsets,
                 ContactSchema(), "Contact ");
    stampedTable("rxGroupLists", "Receive group lists", GetCount(c.RxGroupCount), c.RxGroupTable,
                 kRxGroupFieldNumberOffsets, RxGroupSchema(), "Receive group list ");

    root.Add(DescribeTable("messages", "Text messages", GetCount(c.MessageCount), c.MessageTable, [&](std::size_t i) {
        return DescribeRecord(c, MessageSchema(), c.MessageTable.record(i), "Message " + std::to_string(i + 1));
    }));

    DescNode password = DescribeBlock(c, PasswordSchema(), c.PasswordBlock);
    const Bytes p = c.PasswordBlock;
    password.AddFlag("copyMatches", "Copy matches",
                     p[PasswordField::SwitchCopy] == p[PasswordField::Switch] &&
                         std::equal(p.begin() + PasswordField::Password,
                                    p.begin() + PasswordField::Password + PasswordField::kPasswordBytes,
                                    p.begin() + PasswordField::PasswordCopy));
    root.Add(std::move(password));
    root.Add(DescribeBlock(c, FunctionExtraSchema(), c.FunctionExtra));
    root.Add(DescribeBlock(c, RadioInfoSchema(), c.RadioInfoBlock));

    root.Add(DescribeBlock(c, IdentitySchema(), c.IdentityBlock));

    const Bytes e2 = c.RecordE2Block;
    const Bytes rest = e2.subspan(RecordE2Field::kRecordBytes);
    DescNode recordE2 = DescNode::Object("recordE2", "Record E2");
    recordE2.AddText("record", "Record bytes", HexBytes(e2.first(RecordE2Field::kRecordBytes)))
        .AddNumber("nonZeroAfterRecord", "Non-zero bytes after the record",
                   std::count_if(rest.begin(), rest.end(), [](std::uint8_t b) { return b != 0; }));
    root.Add(std::move(recordE2));
    return root;
}

DescNode DescribeSummary(const Codeplug& c)
{
    const auto marker = static_cast<std::int32_t>(GetLE32(c.FileMarker, 0));
    DescNode root = DescNode::Object("summary", "Codeplug");
    root.AddNumber("marker", "Marker", marker)
        .AddFlag("markerOk", "Marker is 740", marker == kFileMarkerValue)
        .HideLastInText()
        .AddText("radioId", "Radio ID", BcdIdText(GetLE32(c.DmrSettings, DmrSettingsField::RadioId)))
        .AddText("band", "Band", radio_info::BandText(c))
        .AddText("serialNumber", "Serial number", PrintableRadioText(radio_info::SerialNumber(c)))
        .AddText("mcuVersion", "MCU firmware version", PrintableRadioText(radio_info::McuVersion(c)))
        .AddText("dspVersion", "DSP firmware version", PrintableRadioText(radio_info::DspVersion(c)))
        .AddText("radioAlias", "Radio alias",
                 Alias(c.RadioSettings, RadioSettingsField::RadioAliasLength, RadioSettingsField::RadioAlias, AliasField::kBytes));

    auto names = [](std::string id, std::string label, std::uint32_t count, const auto& table, auto line) {
        DescNode node = TableNode(std::move(id), std::move(label), count, table);
        DescNode list = DescNode::Array("names", "Names");
        list.flatInText = true;
        for (std::size_t i = 0; i < UsedRecords(count, table); ++i)
            list.AddText({}, std::to_string(i + 1), line(i));
        node.Add(std::move(list));
        return node;
    };
    root.Add(names("digitalChannels", "Digital channels", GetCount(c.DigitalChannelCount), c.DigitalChannelTable, [&](std::size_t i) {
        const Bytes r = c.DigitalChannelTable.record(i);
        return Alias(r, DigitalChannelField::AliasLength, DigitalChannelField::Alias, AliasField::kBytes) + "  " +
               FrequencyToText(GetLE32(r, DigitalChannelField::RxFrequency)) + " / " +
               FrequencyToText(GetLE32(r, DigitalChannelField::TxFrequency));
    }));
    root.Add(names("analogChannels", "Analog channels", GetCount(c.AnalogChannelCount), c.AnalogChannelTable, [&](std::size_t i) {
        const Bytes r = c.AnalogChannelTable.record(i);
        return Alias(r, AnalogChannelField::AliasLength, AnalogChannelField::Alias, AliasField::kBytes) + "  " +
               FrequencyToText(GetLE32(r, AnalogChannelField::RxFrequency)) + " / " +
               FrequencyToText(GetLE32(r, AnalogChannelField::TxFrequency));
    }));
    root.Add(names("zones", "Zones", static_cast<std::uint32_t>(c.ZoneTable.kCapacity), c.ZoneTable, [&](std::size_t i) {
        const Bytes r = c.ZoneTable.record(i);
        return Alias(r, ZoneField::AliasLength, ZoneField::Alias, AliasField::kBytes) + " (" +
               std::to_string(r[ZoneField::MemberCount]) + " members)";
    }));
    root.Add(names("scanLists", "Scan lists", GetCount(c.ScanListCount), c.ScanTable, [&](std::size_t i) {
        const Bytes r = c.ScanTable.record(i);
        return Alias(r, ScanListField::AliasLength, ScanListField::Alias, AliasField::kBytes) + " (" +
               std::to_string(r[ScanListField::MemberCount]) + " members)";
    }));
    root.Add(names("contacts", "Contacts", GetCount(c.ContactCount), c.ContactTable, [&](std::size_t i) {
        const Bytes r = c.ContactTable.record(i);
        const RecordSchema& schema = ContactSchema();
        return ContactName(c, i) + " (" + ValueText(ReadField(*FindField(schema, "callType"), r)) + " " +
               ValueText(ReadField(*FindField(schema, "id"), r)) + ")";
    }));
    root.Add(names("rxGroupLists", "Receive group lists", GetCount(c.RxGroupCount), c.RxGroupTable, [&](std::size_t i) {
        const Bytes r = c.RxGroupTable.record(i);
        return Alias(r, RxGroupField::NameLength, RxGroupField::Name, AliasField::kBytes) + " (" +
               std::to_string(r[RxGroupField::MemberCount]) + " members)";
    }));
    root.Add(names("messages", "Text messages", GetCount(c.MessageCount), c.MessageTable, [&](std::size_t i) {
        const Bytes r = c.MessageTable.record(i);
        return Alias(r, MessageField::TextLength, MessageField::Text, AliasField::kMessageBytes);
    }));
    return root;
}
