#include "forms/foreign/QdmrYaml.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>

#include <yaml-cpp/yaml.h>

#include "codeplug/Records.h"
#include "forms/FieldSchema.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/Encodings.h"
#include "forms/channels/MemberRules.h"
#include "codeplug/BcdId.h"
#include "forms/dmr/ContactRules.h"
#include "forms/dmr/RxGroupRules.h"
#include "forms/foreign/ForeignValues.h"

namespace {

using YAML::Node;

// More entries than any codeplug of any radio has: the file is not one.
constexpr std::size_t kMostEntries = 100000;
// More members than any list of any radio has: the rest are left out with a note.
constexpr std::size_t kMostMembers = 1000;

// ---- reading values ----

bool IsDefaultTag(const Node& n) { return n.Tag().find("default") != std::string::npos; }

// A child of a mapping; a null node for anything else.
Node Child(const Node& n, const char* key)
{
    if (!n.IsMap())
        return Node();
    const Node child = n[key];
    return child.IsDefined() ? child : Node();
}

// A scalar's text; nullopt for a missing, null or !default value and for lists and mappings.
std::optional<std::string> Text(const Node& n)
{
    if (!n.IsDefined() || !n.IsScalar() || IsDefaultTag(n))
        return std::nullopt;
    return TrimBlanks(n.Scalar());
}

std::string TextOr(const Node& n, std::string fallback) { return Text(n).value_or(std::move(fallback)); }

std::optional<long long> Integer(const Node& n)
{
    const auto text = Text(n);
    long long value = 0;
    if (!text || text->empty())
        return std::nullopt;
    const char* begin = text->data() + (text->front() == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(begin, text->data() + text->size(), value);
    if (ec != std::errc() || end != text->data() + text->size())
        return std::nullopt;
    return value;
}

std::optional<bool> Flag(const Node& n)
{
    const std::string t = LooseKey(TextOr(n, ""));
    if (t == "true" || t == "yes" || t == "on" || t == "1")
        return true;
    if (t == "false" || t == "no" || t == "off" || t == "0")
        return false;
    return std::nullopt;
}

// The ids a list names, in order; notes for entries that are not ids.
std::vector<std::string> Ids(const Node& list, std::vector<std::string>& notes)
{
    std::vector<std::string> ids;
    if (!list.IsSequence())
        return ids;
    std::size_t others = 0;
    for (std::size_t i = 0; i < list.size() && i < kMostMembers; ++i) {
        if (const auto id = Text(list[i]); id && !id->empty())
            ids.push_back(*id);
        else
            ++others;
    }
    if (others != 0)
        notes.push_back(std::to_string(others) + " entries of a list are not ids: left out");
    if (list.size() > kMostMembers)
        notes.push_back("entries past the first " + std::to_string(kMostMembers) + " of a list are left out");
    return ids;
}

// The one key of `{kind: {...}}` and its body; "" when the item is not such a mapping.
std::pair<std::string, Node> Tagged(const Node& item)
{
    if (!item.IsMap() || item.size() != 1)
        return {"", Node()};
    const auto it = item.begin();
    return {TextOr(it->first, ""), it->second};
}

// A tone: ~ or missing is none, {ctcss: 67} a CTCSS tone, {dcs: 23} / {dcs: -23} a DCS code.
std::optional<std::string> ToneOf(const Node& n)
{
    if (!n.IsDefined() || n.IsNull() || IsDefaultTag(n) || (n.IsScalar() && TrimBlanks(n.Scalar()).empty()))
        return std::string("None");
    if (const auto ctcss = Text(Child(n, "ctcss")))
        return CtcssTone(*ctcss);
    if (const auto dcs = Integer(Child(n, "dcs")))
        return DcsTone(std::to_string(*dcs < 0 ? -*dcs : *dcs), *dcs < 0);
    return std::nullopt;
}

std::string Described(const Node& n)
{
    if (n.IsScalar())
        return n.Scalar();
    YAML::Emitter out;
    out << YAML::Flow << n;
    return out.c_str();
}

// ---- the reader ----

class Reader {
public:
    explicit Reader(ImportPlan& plan) : plan_(plan) {}

    void Run(const Node& root)
    {
        defaultId_ = TextOr(Child(Child(root, "settings"), "defaultID"), "");
        for (const auto& entry : root) {
            const std::string key = TextOr(entry.first, "");
            const Node& value = entry.second;
            if (key == "version" || key == "settings")
                continue;
            const auto section = Sections().find(key);
            if (section == Sections().end()) {
                plan_.notes.push_back(key + ": left out (the radio has no place for it)");
                continue;
            }
            if (value.IsNull())
                continue;
            if (!value.IsSequence()) {
                plan_.error = key + " is not a list";
                return;
            }
            if (value.size() > kMostEntries) {
                plan_.error = key + " has more than " + std::to_string(kMostEntries) + " entries";
                return;
            }
            for (std::size_t i = 0; i < value.size(); ++i)
                (this->*(section->second))(value[i]);
        }
        if (!defaultId_.empty() && !defaultFound_)
            plan_.notes.push_back("settings.defaultID names " + defaultId_ + ", which is not a radio ID of the file");
    }

private:
    using Section = void (Reader::*)(const Node&);
    static const std::map<std::string, Section>& Sections()
    {
        static const std::map<std::string, Section> sections = {
            {"radioIDs", &Reader::RadioId},   {"contacts", &Reader::Contact}, {"groupLists", &Reader::GroupList},
            {"channels", &Reader::Channel},   {"zones", &Reader::Zone},       {"scanLists", &Reader::ScanList},
        };
        return sections;
    }

    ImportPlan& plan_;
    std::string defaultId_;
    bool defaultFound_ = false;
    bool radioIdTaken_ = false;

    PlanRow& NewRow(PlanKind kind, const Node& body)
    {
        PlanRow row;
        row.number = plan_.rows.size() + 1;
        row.kind = kind;
        row.key = TextOr(Child(body, "id"), "");
        plan_.rows.push_back(std::move(row));
        return plan_.rows.back();
    }

    std::string Name(const Node& body, std::size_t maxChars, PlanRow& row)
    {
        row.name = FitName(TextOr(Child(body, "name"), ""), maxChars, row.notes);
        return row.name;
    }

    void RadioId(const Node& item)
    {
        const Node body = Child(item, "dmr").IsMap() ? Child(item, "dmr") : item;
        PlanRow& row = NewRow(PlanKind::RadioId, body);
        row.name = TextOr(Child(body, "name"), "");
        const auto number = Integer(Child(body, "number"));
        row.details = "ID " + TextOr(Child(body, "number"), "");
        const bool isDefault = defaultId_.empty() ? !radioIdTaken_ : row.key == defaultId_;
        defaultFound_ = defaultFound_ || (!defaultId_.empty() && row.key == defaultId_);
        if (!number || *number < 1 || *number > *UnpackBcdId(kMaxBcdId))
            row.problem = "DMR ID \"" + TextOr(Child(body, "number"), "") + "\" is not an ID from 1 to 16776415";
        else if (!isDefault)
            row.problem = "the radio holds one DMR ID: " + (defaultId_.empty() ? std::string("the first") : defaultId_) + " is used";
        else
            row.values["radioId"] = *number;
        radioIdTaken_ = radioIdTaken_ || isDefault;
    }

    void Contact(const Node& item)
    {
        const auto [kind, body] = Tagged(item);
        PlanRow& row = NewRow(PlanKind::Contact, body);
        Name(body, AliasField::kMaxContactChars, row);
        if (kind != "dmr") {
            row.problem = (kind.empty() ? std::string("an entry that is not a contact") : kind + " contact") +
                          ": the radio holds DMR contacts only";
            return;
        }
        const std::string type = TextOr(Child(body, "type"), "");
        const auto number = Integer(Child(body, "number"));
        row.details = type + " " + TextOr(Child(body, "number"), "");
        static const std::map<std::string, std::string> kTypes = {
            {"GroupCall", "Group call"}, {"PrivateCall", "Private call"}, {"AllCall", "All call"}};
        const auto found = kTypes.find(type);
        if (found == kTypes.end()) {
            row.problem = "type \"" + type + "\" is not GroupCall, PrivateCall or AllCall";
            return;
        }
        row.values["name"] = row.name;
        row.values["callType"] = found->second;
        if (type == "AllCall") {
            row.values["id"] = 16777215;
        } else if (number && *number >= 1 && *number <= *UnpackBcdId(kMaxBcdId)) {
            row.values["id"] = *number;
        } else {
            row.problem = "number \"" + TextOr(Child(body, "number"), "") + "\" is not a DMR ID from 1 to 16776415";
            row.values = FieldValue::object();
        }
    }

    void GroupList(const Node& item)
    {
        PlanRow& row = NewRow(PlanKind::RxGroup, item);
        Name(item, rxgroups::kNameChars, row);
        row.members = Ids(Child(item, "contacts"), row.notes);
        row.values["name"] = row.name;
        row.details = std::to_string(row.members.size()) + " contacts";
    }

    void Zone(const Node& item)
    {
        PlanRow& row = NewRow(PlanKind::Zone, item);
        Name(item, AliasField::kMaxChars, row);
        std::set<std::string> seen;
        for (const char* side : {"A", "B"}) {
            for (std::string& id : Ids(Child(item, side), row.notes)) {
                if (seen.insert(id).second)
                    row.members.push_back(std::move(id));
            }
        }
        row.values["alias"] = row.name;
        row.details = std::to_string(row.members.size()) + " channels";
    }

    void ScanList(const Node& item)
    {
        PlanRow& row = NewRow(PlanKind::ScanList, item);
        Name(item, AliasField::kMaxChars, row);
        row.members = Ids(Child(item, "channels"), row.notes);
        row.values["alias"] = row.name;
        row.details = std::to_string(row.members.size()) + " channels";
    }

    void Channel(const Node& item)
    {
        const auto [kind, body] = Tagged(item);
        const bool digital = kind == "dmr" || kind == "digital";
        PlanRow& row = NewRow(digital ? PlanKind::DigitalChannel : PlanKind::AnalogChannel, body);
        Name(body, AliasField::kMaxChars, row);
        if (!digital && kind != "fm" && kind != "analog") {
            row.problem = (kind.empty() ? std::string("an entry that is not a channel") : kind + " channel") +
                          ": the radio stores FM and DMR channels only";
            return;
        }
        const auto rx = ParseHertz(TextOr(Child(body, "rxFrequency"), ""));
        const auto tx = Text(Child(body, "txFrequency")) ? ParseHertz(*Text(Child(body, "txFrequency"))) : rx;
        row.details = TextOr(Child(body, "rxFrequency"), "") + " / " + TextOr(Child(body, "txFrequency"), "");
        if (!rx || !tx || *rx == 0) {
            row.problem = "rxFrequency \"" + TextOr(Child(body, "rxFrequency"), "") + "\" or txFrequency \"" +
                          TextOr(Child(body, "txFrequency"), "") + "\" is not a frequency";
            return;
        }
        FieldValue& v = row.values;
        v["alias"] = row.name;
        v["rxFrequency"] = MegahertzText(*rx);
        v["txFrequency"] = MegahertzText(*tx);
        row.details = MegahertzText(*rx) + " / " + MegahertzText(*tx) + " MHz";
        if (const auto rxOnly = Flag(Child(body, "rxOnly")))
            v["receiveOnly"] = *rxOnly;
        if (const auto power = Text(Child(body, "power"))) {
            if (const auto level = PowerLevel(*power))
                v["power"] = *level;
            else
                row.notes.push_back("power \"" + *power + "\" is not Min, Low, Mid, High or Max: left as it was");
        }
        row.scanList = TextOr(Child(body, "scanListRef"), TextOr(Child(body, "scanList"), ""));
        const std::string admit = TextOr(Child(body, "admit"), "");
        static const std::map<std::string, std::string> kAnalogAdmit = {
            {"Always", "Always"}, {"Free", "Channel free"}, {"Tone", "CTCSS/DCS match"}};
        static const std::map<std::string, std::string> kDigitalAdmit = {
            {"Always", "Always"}, {"Free", "Channel free"}, {"ColorCode", "Colour code free"}};
        const auto& admits = digital ? kDigitalAdmit : kAnalogAdmit;
        if (const auto found = admits.find(admit); found != admits.end())
            v["txPermission"] = found->second;
        else if (!admit.empty())
            row.notes.push_back("admit \"" + admit + "\" is not one the radio has: left as it was");
        if (digital)
            DigitalFields(body, row);
        else
            AnalogFields(body, row);
    }

    void AnalogFields(const Node& body, PlanRow& row)
    {
        FieldValue& v = row.values;
        const std::string bandwidth = TextOr(Child(body, "bandwidth"), "");
        if (bandwidth == "Narrow" || bandwidth == "Wide")
            v["bandwidth"] = bandwidth == "Wide" ? "25kHz" : "12.5kHz";
        else if (!bandwidth.empty())
            row.notes.push_back("bandwidth \"" + bandwidth + "\" is not Narrow or Wide: left as it was");
        const auto rxTone = ToneOf(Child(body, "rxTone"));
        const auto txTone = ToneOf(Child(body, "txTone"));
        if (!rxTone || !txTone) {
            row.problem = "tone " + Described(Child(body, rxTone ? "txTone" : "rxTone")) + " is not a tone the radio has";
            return;
        }
        v["rxTone"] = *rxTone;
        v["txTone"] = *txTone;
        row.details += ", " + *rxTone + " / " + *txTone;
        if (const auto squelch = Integer(Child(body, "squelch"))) {
            v["squelchLevel"] = std::clamp<long long>(*squelch, 0, 5);
            if (*squelch < 0 || *squelch > 5)
                row.notes.push_back("squelch " + std::to_string(*squelch) + " stored as " +
                                    std::to_string(v["squelchLevel"].get<long long>()) + " (the radio has 0-5)");
        }
    }

    void DigitalFields(const Node& body, PlanRow& row)
    {
        FieldValue& v = row.values;
        if (const auto cc = Integer(Child(body, "colorCode")); cc && *cc >= 0 && *cc <= 15) {
            v["rxColourCode"] = *cc;
            v["txColourCode"] = *cc;
        } else if (Text(Child(body, "colorCode"))) {
            row.problem = "colorCode \"" + TextOr(Child(body, "colorCode"), "") + "\" is not 0-15";
            return;
        }
        const std::string slot = TextOr(Child(body, "timeSlot"), "");
        if (slot == "TS1" || slot == "TS2")
            v["timeSlot"] = slot == "TS1" ? "Slot 1" : "Slot 2";
        else if (!slot.empty())
            row.notes.push_back("timeSlot \"" + slot + "\" is not TS1 or TS2: left as it was");
        row.contact = TextOr(Child(body, "contact"), "");
        row.rxGroupList = TextOr(Child(body, "groupList"), TextOr(Child(body, "groupListRef"), ""));
        row.details += ", CC " + TextOr(Child(body, "colorCode"), "?") + " " + slot;
    }
};

// ---- writing ----

std::string Field(const RecordSchema& schema, std::span<const std::uint8_t> record, const char* id)
{
    return ValueText(ReadField(*FindField(schema, id), record));
}

std::string MhzValue(std::span<const std::uint8_t> record, std::size_t at)
{
    return ShortMegahertzText(GetLE32(record, at)) + " MHz";
}

void WriteTone(YAML::Emitter& out, const std::string& tone)
{
    if (tone == "None" || tone.rfind("invalid", 0) == 0) {
        out << YAML::Null;
        return;
    }
    out << YAML::Flow << YAML::BeginMap;
    if (tone.size() == 5 && tone[0] == 'D') {
        const int code = std::stoi(tone.substr(1, 3));
        out << YAML::Key << "dcs" << YAML::Value << (tone[4] == 'I' ? -code : code);
    } else {
        out << YAML::Key << "ctcss" << YAML::Value << tone;
    }
    out << YAML::EndMap;
}

void WriteIds(YAML::Emitter& out, const std::vector<std::string>& ids)
{
    out << YAML::Flow << YAML::BeginSeq;
    for (const std::string& id : ids)
        out << id;
    out << YAML::EndSeq;
}

}  // namespace

ImportPlan ReadQdmrYaml(std::string_view text)
{
    ImportPlan plan;
    plan.format = "qdmr YAML";
    Node root;
    try {
        root = YAML::Load(std::string(text));
    } catch (const YAML::Exception& error) {
        plan.error = "not a YAML file: line " + std::to_string(error.mark.line + 1) + ": " + error.msg;
        return plan;
    }
    if (!root.IsMap()) {
        plan.error = "not a qdmr codeplug: the file is not a YAML mapping";
        return plan;
    }
    try {
        Reader(plan).Run(root);
    } catch (const YAML::Exception& error) {
        plan.error = "not a qdmr codeplug: " + error.msg;
    }
    if (!plan.error.empty())
        plan.rows.clear();
    return plan;
}

ForeignExport ExportQdmrYaml(const Codeplug& codeplug)
{
    ForeignExport result;
    const std::size_t digital = ChannelCount(codeplug, ChannelKind::Digital);
    const std::size_t analog = ChannelCount(codeplug, ChannelKind::Analog);
    const std::size_t contactCount = contacts::Count(codeplug);
    const std::size_t groupCount = rxgroups::Count(codeplug);
    const std::uint32_t scanCount = ScanListsInUse(codeplug);
    const auto channelId = [&](const ChannelMember& m) -> std::string {
        if (m.kind == ChannelRef::kDigital && m.index < digital)
            return "ch" + std::to_string(m.index + 1);
        if (m.kind == ChannelRef::kAnalog && m.index < analog)
            return "ch" + std::to_string(digital + m.index + 1);
        return {};
    };
    const auto listRef = [](std::uint8_t value, std::size_t inUse, const char* prefix) -> std::string {
        return value >= 1 && value <= inUse ? prefix + std::to_string(value) : std::string();
    };

    YAML::Emitter out;
    out << YAML::BeginMap;
    out << YAML::Key << "version" << YAML::Value << YAML::DoubleQuoted << "0.12.0";
    out << YAML::Key << "settings" << YAML::Value << YAML::BeginMap << YAML::Key << "defaultID" << YAML::Value << "id1"
        << YAML::EndMap;

    const auto radioId = ReadField(*FindField(DmrSettingsSchema(), "radioId"), codeplug.DmrSettings);
    out << YAML::Key << "radioIDs" << YAML::Value << YAML::BeginSeq << YAML::BeginMap << YAML::Key << "dmr"
        << YAML::Value << YAML::BeginMap << YAML::Key << "id" << YAML::Value << "id1" << YAML::Key << "name"
        << YAML::Value << Field(RadioSettingsSchema(), codeplug.RadioSettings, "radioAlias") << YAML::Key << "number"
        << YAML::Value << (radioId.is_number() ? radioId.get<long long>() : 1) << YAML::EndMap << YAML::EndMap
        << YAML::EndSeq;
    if (!radioId.is_number())
        result.notes.push_back("the radio ID is " + ValueText(radioId) + ": written as 1");

    static const char* const kCallTypes[] = {"GroupCall", "PrivateCall", "AllCall"};
    out << YAML::Key << "contacts" << YAML::Value << YAML::BeginSeq;
    for (std::size_t n = 0; n < contactCount; ++n) {
        const auto r = codeplug.ContactTable.record(n);
        const std::uint8_t type = std::min<std::uint8_t>(r[ContactField::CallType], 2);
        const auto id = ReadField(*FindField(ContactSchema(), "id"), r);
        out << YAML::BeginMap << YAML::Key << "dmr" << YAML::Value << YAML::BeginMap;
        out << YAML::Key << "id" << YAML::Value << "cont" + std::to_string(n + 1);
        out << YAML::Key << "name" << YAML::Value << contacts::Name(codeplug, n);
        out << YAML::Key << "type" << YAML::Value << kCallTypes[type];
        out << YAML::Key << "number" << YAML::Value << (id.is_number() ? id.get<long long>() : 1);
        out << YAML::Key << "ring" << YAML::Value << false;
        out << YAML::EndMap << YAML::EndMap;
        if (!id.is_number())
            result.notes.push_back("Contact " + std::to_string(n + 1) + ": ID " + ValueText(id) + " written as 1");
    }
    out << YAML::EndSeq;

    out << YAML::Key << "groupLists" << YAML::Value << YAML::BeginSeq;
    for (std::size_t g = 0; g < groupCount; ++g) {
        const auto r = codeplug.RxGroupTable.record(g);
        std::vector<std::string> members;
        for (std::size_t m = 0; m < std::min<std::size_t>(r[RxGroupField::MemberCount], rxgroups::kMaxMembers); ++m) {
            if (r[RxGroupField::Members + m] < contactCount)
                members.push_back("cont" + std::to_string(r[RxGroupField::Members + m] + 1));
        }
        out << YAML::BeginMap << YAML::Key << "id" << YAML::Value << "grp" + std::to_string(g + 1) << YAML::Key << "name"
            << YAML::Value << rxgroups::Name(codeplug, g) << YAML::Key << "contacts" << YAML::Value;
        WriteIds(out, members);
        out << YAML::EndMap;
    }
    out << YAML::EndSeq;

    out << YAML::Key << "channels" << YAML::Value << YAML::BeginSeq;
    for (const ChannelKind kind : {ChannelKind::Digital, ChannelKind::Analog}) {
        const bool isDigital = kind == ChannelKind::Digital;
        const RecordSchema& schema = isDigital ? DigitalChannelSchema() : AnalogChannelSchema();
        for (std::size_t i = 0; i < (isDigital ? digital : analog); ++i) {
            const auto r = isDigital ? std::span<const std::uint8_t>(codeplug.DigitalChannelTable.record(i))
                                     : std::span<const std::uint8_t>(codeplug.AnalogChannelTable.record(i));
            const std::string where = std::string(isDigital ? "Digital" : "Analog") + " channel " + std::to_string(i + 1);
            const auto at = [&](std::size_t analogAt, std::size_t digitalAt) { return isDigital ? digitalAt : analogAt; };
            out << YAML::BeginMap << YAML::Key << (isDigital ? "dmr" : "fm") << YAML::Value << YAML::BeginMap;
            out << YAML::Key << "id" << YAML::Value
                << channelId({isDigital ? ChannelRef::kDigital : ChannelRef::kAnalog, static_cast<std::uint16_t>(i)});
            out << YAML::Key << "name" << YAML::Value << Field(schema, r, "alias");
            out << YAML::Key << "rxFrequency" << YAML::Value
                << MhzValue(r, at(AnalogChannelField::RxFrequency, DigitalChannelField::RxFrequency));
            out << YAML::Key << "txFrequency" << YAML::Value
                << MhzValue(r, at(AnalogChannelField::TxFrequency, DigitalChannelField::TxFrequency));
            out << YAML::Key << "rxOnly" << YAML::Value << (Field(schema, r, "receiveOnly") == "On");
            out << YAML::Key << "power" << YAML::Value << (Field(schema, r, "power") == "High" ? "High" : "Low");
            const std::string permission = Field(schema, r, "txPermission");
            std::string admit = "Always";
            if (permission == "Channel free")
                admit = "Free";
            else if (permission == "CTCSS/DCS match")
                admit = "Tone";
            else if (permission == "Colour code free")
                admit = "ColorCode";
            else if (permission != "Always")
                result.notes.push_back(where + ": transmit admit \"" + permission + "\" has no qdmr form: written as Always");
            out << YAML::Key << "admit" << YAML::Value << admit;
            const std::string scan =
                listRef(r[at(AnalogChannelField::ScanList, DigitalChannelField::ScanList)], scanCount, "scan");
            if (!scan.empty())
                out << YAML::Key << "scanListRef" << YAML::Value << scan;
            if (isDigital) {
                const std::uint8_t cc = r[DigitalChannelField::RxColourCode];
                if (cc != r[DigitalChannelField::TxColourCode])
                    result.notes.push_back(where + ": the transmit colour code " +
                                           std::to_string(r[DigitalChannelField::TxColourCode]) +
                                           " differs from the receive one: written as " + std::to_string(cc));
                out << YAML::Key << "colorCode" << YAML::Value << static_cast<int>(std::min<std::uint8_t>(cc, 15));
                out << YAML::Key << "timeSlot" << YAML::Value << (Field(schema, r, "timeSlot") == "Slot 2" ? "TS2" : "TS1");
                const std::string group = listRef(r[DigitalChannelField::RxGroupList], groupCount, "grp");
                if (!group.empty())
                    out << YAML::Key << "groupList" << YAML::Value << group;
                if (r[DigitalChannelField::TxContact] < contactCount)
                    out << YAML::Key << "contact" << YAML::Value
                        << "cont" + std::to_string(r[DigitalChannelField::TxContact] + 1);
            } else {
                out << YAML::Key << "bandwidth" << YAML::Value << (Field(schema, r, "bandwidth") == "25kHz" ? "Wide" : "Narrow");
                out << YAML::Key << "squelch" << YAML::Value << static_cast<int>(r[AnalogChannelField::SquelchLevel]);
                out << YAML::Key << "rxTone" << YAML::Value;
                WriteTone(out, Field(schema, r, "rxTone"));
                out << YAML::Key << "txTone" << YAML::Value;
                WriteTone(out, Field(schema, r, "txTone"));
            }
            out << YAML::EndMap << YAML::EndMap;
        }
    }
    out << YAML::EndSeq;

    const auto lists = [&](const char* key, const char* prefix, std::size_t count, bool zone) {
        out << YAML::Key << key << YAML::Value << YAML::BeginSeq;
        for (std::size_t n = 0; n < count; ++n) {
            const auto r = zone ? std::span<const std::uint8_t>(codeplug.ZoneTable.record(n))
                                : std::span<const std::uint8_t>(codeplug.ScanTable.record(n));
            std::vector<std::string> ids;
            for (const ChannelMember& m : ReadMembers(r)) {
                if (std::string id = channelId(m); !id.empty())
                    ids.push_back(std::move(id));
            }
            out << YAML::BeginMap << YAML::Key << "id" << YAML::Value << prefix + std::to_string(n + 1);
            out << YAML::Key << "name" << YAML::Value << Field(zone ? ZoneSchema() : ScanListSchema(), r, "alias");
            out << YAML::Key << (zone ? "A" : "channels") << YAML::Value;
            WriteIds(out, ids);
            if (zone) {
                out << YAML::Key << "B" << YAML::Value;
                WriteIds(out, {});
            }
            out << YAML::EndMap;
        }
        out << YAML::EndSeq;
    };
    lists("zones", "zone", codeplug.ZoneTable.kCapacity, true);
    lists("scanLists", "scan", scanCount, false);
    out << YAML::EndMap;
    result.text = std::string(out.c_str()) + "\n";
    return result;
}
