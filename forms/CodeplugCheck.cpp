#include "forms/CodeplugCheck.h"

#include <map>

#include "codeplug/Records.h"
#include "forms/Sections.h"
#include "forms/channels/Encodings.h"

namespace {

class Checker {
public:
    explicit Checker(const Codeplug& c) : c_(c), sections_(Sections(c)) {}

    std::vector<CheckFinding> Run()
    {
        for (const Section& s : sections_) {
            if (s.table && s.storedCount() > s.capacity)
                Error(std::string(s.label), "count " + std::to_string(s.storedCount()) + " is above the table of " +
                                                std::to_string(s.capacity));
            for (std::size_t i = 0; i < s.used(); ++i)
                Record(s, i);
        }
        for (const char* id : {"analogChannels", "digitalChannels"}) {
            if (Find(id).storedCount() == 0)
                Error(std::string(Find(id).label), "no channel in use");
        }
        Contacts();
        const auto& settings = c_.RadioSettings;
        if (settings[RadioSettingsField::PowerOnZone] >= c_.ZoneTable.kCapacity)
            Error("Radio settings", "the power-on zone " + std::to_string(settings[RadioSettingsField::PowerOnZone] + 1) +
                                        " does not exist");
        return std::move(findings_);
    }

private:
    const Codeplug& c_;
    std::vector<Section> sections_;
    std::vector<CheckFinding> findings_;

    void Error(std::string where, std::string what) { findings_.push_back({true, std::move(where), std::move(what)}); }
    void Warning(std::string where, std::string what) { findings_.push_back({false, std::move(where), std::move(what)}); }

    const Section& Find(std::string_view id) const
    {
        for (const Section& s : sections_) {
            if (s.id == id)
                return s;
        }
        throw std::logic_error("no section " + std::string(id));
    }

    void Record(const Section& s, std::size_t i)
    {
        const auto r = s.record(i);
        const std::string where = s.recordLabel(i);
        const FieldContext ctx = ContextOf(c_);
        for (const FieldDef& f : s.schema->fields) {
            const FieldValue v = ReadField(f, r);
            const std::string label(f.label);
            if (v.is_string() && v.get<std::string>().rfind("invalid (", 0) == 0) {
                Error(where, label + " is " + v.get<std::string>());
                continue;
            }
            switch (f.codec) {
            case Codec::Alias:
            case Codec::ContactName: {
                const std::string text = v.get<std::string>();
                if (r[f.aux] > f.width)
                    Error(where, label + ": the length byte says " + std::to_string(r[f.aux]) + ", the field holds " +
                                     std::to_string(f.width) + " bytes");
                else if (CountChars(text) > static_cast<std::size_t>(f.max))
                    Error(where, label + " \"" + text + "\" is longer than the " + std::to_string(f.max) +
                                     " characters the radio shows");
                else if (text.find("\xEF\xBF\xBD") != std::string::npos)
                    Warning(where, label + " holds bytes that are not text");
                break;
            }
            case Codec::Frequency: Frequency(where, label, r, f, ctx); break;
            case Codec::ListRef: {
                const bool group = f.max > 3;
                const Section& lists = Find(group ? "rxGroupLists" : "scanLists");
                if (r[f.offset] != 0 && r[f.offset] > lists.used())
                    Error(where, label + " " + std::to_string(r[f.offset]) + " does not exist (" +
                                     std::to_string(lists.used()) + " in use)");
                break;
            }
            case Codec::ContactRef:
                if (r[f.offset] != 0xFF)
                    Contact(where, label, r[f.offset]);
                break;
            case Codec::OneTouch:
                if (r[f.offset] == RadioSettingsField::kOneTouchCall)
                    Contact(where, label, r[f.offset + 1]);
                break;
            case Codec::ContactMembers:
            case Codec::ChannelMembers: Members(where, r, f); break;
            default: break;
            }
        }
    }

    void Frequency(const std::string& where, const std::string& label, std::span<const std::uint8_t> r,
                   const FieldDef& f, const FieldContext& ctx)
    {
        const std::uint32_t hertz = GetLE32(r, f.offset);
        const FrequencyBand band = BandForRange(ctx.frequencyRange);
        if (hertz == 0) {
            Warning(where, label + " is not set");
            return;
        }
        if (hertz < band.lower || hertz > band.upper)
            Error(where, label + " " + FrequencyToText(hertz) + " MHz is outside the band " +
                             FrequencyToText(band.lower) + "-" + FrequencyToText(band.upper) + " MHz");
    }

    void Contact(const std::string& where, const std::string& label, std::size_t index)
    {
        const std::size_t used = Find("contacts").used();
        if (index >= used)
            Error(where, label + " names contact " + std::to_string(index + 1) + ", which does not exist (" +
                             std::to_string(used) + " in use)");
    }

    void Members(const std::string& where, std::span<const std::uint8_t> r, const FieldDef& f)
    {
        const std::size_t count = r[f.aux];
        if (count > static_cast<std::size_t>(f.max)) {
            Error(where, "member count " + std::to_string(count) + " is above the " + std::to_string(f.max) + " places");
            return;
        }
        for (std::size_t m = 0; m < count; ++m) {
            const std::string member = "member " + std::to_string(m + 1);
            if (f.codec == Codec::ContactMembers) {
                Contact(where, member, r[f.offset + m]);
                continue;
            }
            const std::size_t at = f.offset + ChannelRef::kBytes * m;
            const std::uint8_t kind = r[at + ChannelRef::Kind];
            const std::uint16_t index = GetLE16(r, at + ChannelRef::Index);
            if (kind != ChannelRef::kAnalog && kind != ChannelRef::kDigital) {
                Error(where, member + " has the unknown channel kind " + std::to_string(kind));
                continue;
            }
            const Section& channels = Find(kind == ChannelRef::kAnalog ? "analogChannels" : "digitalChannels");
            if (index >= channels.used())
                Error(where, member + " names " + (kind == ChannelRef::kAnalog ? "analog" : "digital") + " channel " +
                                 std::to_string(index + 1) + ", which does not exist (" +
                                 std::to_string(channels.used()) + " in use)");
        }
    }

    void Contacts()
    {
        const Section& contacts = Find("contacts");
        std::map<std::pair<std::uint8_t, std::uint32_t>, std::size_t> seen;
        std::vector<std::size_t> allCalls;
        for (std::size_t i = 0; i < contacts.used(); ++i) {
            const auto r = contacts.record(i);
            const std::uint8_t type = r[ContactField::CallType];
            if (type == ContactField::kAllCall) {
                allCalls.push_back(i + 1);
                continue;
            }
            const std::uint32_t id = GetLE32(r, ContactField::Id);
            const auto [it, fresh] = seen.emplace(std::make_pair(type, id), i + 1);
            if (!fresh)
                Error("Contacts", "contacts " + std::to_string(it->second) + " and " + std::to_string(i + 1) +
                                      " have the same ID " + ValueText(ReadField(*FindField(ContactSchema(), "id"), r)));
        }
        if (allCalls.size() > 1) {
            std::string list;
            for (const std::size_t n : allCalls)
                list += (list.empty() ? "" : ", ") + std::to_string(n);
            Error("Contacts", "more than one all call (contacts " + list + ")");
        }
    }
};

}  // namespace

std::vector<CheckFinding> CheckCodeplug(const Codeplug& codeplug) { return Checker(codeplug).Run(); }
