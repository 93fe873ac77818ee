#include <algorithm>
#include <charconv>
#include <vector>

#include "codeplug/BcdId.h"
#include "codeplug/Codeplug.h"
#include "forms/FieldCodec.h"
#include "forms/channels/ChannelRules.h"
#include "forms/channels/MemberRules.h"

using namespace fieldcodec;

// ---- reading ----

FieldValue ReadField(const FieldDef& f, Bytes r)
{
    RequireRange(r.size(), f.offset, f.width);
    const std::uint8_t byte = r[f.offset];
    const unsigned shift = static_cast<unsigned>(std::countr_zero(f.mask));
    switch (f.codec) {
    case Codec::Alias: return DecodeAlias(r[f.aux], r.subspan(f.offset, f.width));
    case Codec::ContactName: return DecodeContactName(r.subspan(f.offset, f.width));
    case Codec::Text8: {
        const Bytes field = r.subspan(f.offset, f.width);
        const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
        return AnsiToUtf8(std::string(field.begin(), end));
    }
    case Codec::Frequency: return FrequencyToText(GetLE32(r, f.offset));
    case Codec::RxTone:
    case Codec::TxTone: {
        const auto text = ToneText(byte, r[f.aux]);
        if (!text)
            return Invalid("type " + Hex2(byte & f.mask) + ", index " + std::to_string(r[f.aux]));
        return text->empty() ? std::string("None") : *text;
    }
    case Codec::Tail: return std::string(kOffOn[UsesSecondTail(byte) ? 1 : 0]);
    case Codec::BcdId: {
        const std::uint32_t v = GetLE32(r, f.offset);
        if (const auto n = UnpackBcdId(v))
            return *n;
        char b[16];
        std::snprintf(b, sizeof b, "%X", v);
        return Invalid(std::string(b) + " is not a decimal ID");
    }
    case Codec::ContactId: {
        if (r[f.aux] == ContactField::kAllCall)
            return 16777215;
        FieldDef plain = f;
        plain.codec = Codec::BcdId;
        return ReadField(plain, r);
    }
    case Codec::Choice: {
        const unsigned v = (byte & f.mask) >> shift;
        if (v < f.choices.size())
            return std::string(f.choices[v]);
        return Invalid(std::to_string(v));
    }
    case Codec::Bit: return (byte & f.mask) != 0;
    case Codec::Number: {
        const std::int64_t stored = f.width == 1 ? (byte & f.mask) >> shift : GetLE(r, f.offset, f.width);
        return stored * f.scale + f.bias;
    }
    case Codec::ListRef:
        if (byte == 0)
            return "Off";
        return byte;
    case Codec::ContactRef:
        if (byte == 0xFF)
            return "None";
        return byte + 1;
    case Codec::ChannelMembers: {
        FieldValue list = FieldValue::array();
        const std::size_t count = std::min<std::size_t>(r[f.aux], static_cast<std::size_t>(f.max));
        for (std::size_t m = 0; m < count; ++m) {
            const std::size_t at = f.offset + ChannelRef::kBytes * m;
            list.push_back(ChannelMemberText(r[at + ChannelRef::Kind], GetLE16(r, at + ChannelRef::Index)));
        }
        return list;
    }
    case Codec::ContactMembers: {
        FieldValue list = FieldValue::array();
        const std::size_t count = std::min<std::size_t>(r[f.aux], static_cast<std::size_t>(f.max));
        for (std::size_t m = 0; m < count; ++m)
            list.push_back(r[f.offset + m] + 1);
        return list;
    }
    case Codec::OneTouch:
        if (byte == RadioSettingsField::kOneTouchNone)
            return "None";
        if (byte == RadioSettingsField::kOneTouchCall)
            return r[f.offset + 1] + 1;
        return Invalid("kind " + std::to_string(byte));
    case Codec::KeyCode: return Hex2(byte);
    case Codec::Band:
        if (byte == RadioSettingsField::kRange350To400)
            return "350-400MHz";
        if (byte == RadioSettingsField::kRange400To480)
            return "400-480MHz";
        return Invalid(std::to_string(byte));
    }
    return nullptr;
}

// ---- valid values ----

namespace {

std::size_t ContactsInUse(const Codeplug& c) { return UsedRecords(GetCount(c.ContactCount), c.ContactTable); }

// The lists a channel may name: the tree never shows fewer than one.
std::size_t ListsInUse(const Codeplug& c, std::size_t lists)
{
    if (lists == kScanLists)
        return ScanListsInUse(c);
    return std::clamp<std::size_t>(GetCount(c.RxGroupCount), 1, c.RxGroupTable.kCapacity);
}

std::string ContactProblem(const Codeplug& c, std::size_t contact)
{
    const std::size_t used = ContactsInUse(c);
    if (contact >= used)
        return "contact " + std::to_string(contact + 1) + " does not exist (" + std::to_string(used) + " in use)";
    return {};
}

std::string MemberProblem(const FieldDef& f, Bytes r, const Codeplug* c)
{
    const std::size_t count = r[f.aux];
    if (count > static_cast<std::size_t>(f.max))
        return "member count " + std::to_string(count) + " is above the " + std::to_string(f.max) + " places";
    std::vector<std::uint32_t> seen;
    for (std::size_t m = 0; m < count; ++m) {
        const std::string member = "member " + std::to_string(m + 1) + ": ";
        std::uint32_t key = 0;
        if (f.codec == Codec::ContactMembers) {
            const std::uint8_t contact = r[f.offset + m];
            key = contact;
            if (c != nullptr) {
                if (auto e = GroupMemberProblem(*c, contact); !e.empty())
                    return member + e;
            }
        } else {
            const std::size_t at = f.offset + ChannelRef::kBytes * m;
            const ChannelMember channel{r[at + ChannelRef::Kind], GetLE16(r, at + ChannelRef::Index)};
            key = static_cast<std::uint32_t>(channel.kind) << 16 | channel.index;
            if (channel.kind != ChannelRef::kDigital && channel.kind != ChannelRef::kAnalog)
                return member + "unknown channel kind " + std::to_string(channel.kind);
            if (channel.index >= kMaxChannels || (c != nullptr && !ChannelExists(*c, channel)))
                return member + ChannelMemberText(channel.kind, channel.index) + " is not a channel in use";
        }
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            return member + "named twice";
        seen.push_back(key);
    }
    return {};
}

}  // namespace

std::string GroupMemberProblem(const Codeplug& c, std::size_t contact)
{
    if (auto e = ContactProblem(c, contact); !e.empty())
        return e;
    if (c.ContactTable.record(contact)[ContactField::CallType] != ContactField::kGroupCall)
        return "contact " + std::to_string(contact + 1) + " is not a group call; only group calls can be members";
    return {};
}

std::string FieldProblem(const FieldDef& f, Bytes r, const FieldContext& ctx)
{
    const FieldValue v = ReadField(f, r);
    if (v.is_string() && v.get<std::string>().rfind("invalid (", 0) == 0)
        return "holds " + v.get<std::string>();
    const Codeplug* c = ctx.codeplug;
    switch (f.codec) {
    case Codec::Alias:
    case Codec::ContactName:
        if (r[f.aux] > f.width)
            return "the length byte says " + std::to_string(r[f.aux]) + ", the field holds " + std::to_string(f.width) +
                   " bytes";
        return NameError(f, v.get<std::string>());
    case Codec::Number:
    case Codec::BcdId:
    case Codec::ContactId: {
        if (!v.is_number())
            return {};  // an all call's fixed ID
        const std::int64_t n = v.get<std::int64_t>();
        if (f.codec == Codec::ContactId && n == 16777215 && r[f.aux] == ContactField::kAllCall)
            return {};
        if (n < f.min || n > f.max)
            return std::to_string(n) + " is outside " + std::to_string(f.min) + "-" + std::to_string(f.max);
        if (f.codec == Codec::Number && (n - f.min) % f.step != 0)
            return std::to_string(n) + " is not a step of " + std::to_string(f.step);
        return {};
    }
    case Codec::Frequency: {
        const std::uint32_t hertz = GetLE32(r, f.offset);
        const FrequencyBand band = BandForRange(ctx.frequencyRange);
        if (hertz != 0 && (hertz < band.lower || hertz > band.upper))
            return FrequencyToText(hertz) + " MHz is outside the band " + FrequencyToText(band.lower) + "-" +
                   FrequencyToText(band.upper) + " MHz";
        return {};
    }
    case Codec::ListRef: {
        const std::uint8_t n = r[f.offset];
        if (n > f.max)
            return "list " + std::to_string(n) + " is outside 1-" + std::to_string(f.max);
        if (c != nullptr && n > ListsInUse(*c, f.aux))
            return "list " + std::to_string(n) + " does not exist (" + std::to_string(ListsInUse(*c, f.aux)) + " in use)";
        return {};
    }
    case Codec::ContactRef: {
        const std::uint8_t n = r[f.offset];
        if (c == nullptr)
            return {};
        // With contacts to choose from, the form always shows one; with none it stores "None".
        if (n == 0xFF)
            return ContactsInUse(*c) == 0 ? std::string() : "no contact is chosen";
        return ContactProblem(*c, n);
    }
    case Codec::OneTouch: {
        if (r[f.offset] != RadioSettingsField::kOneTouchCall || c == nullptr)
            return {};
        const std::uint8_t contact = r[f.offset + 1];
        if (auto e = ContactProblem(*c, contact); !e.empty())
            return e;
        if (c->ContactTable.record(contact)[ContactField::CallType] == ContactField::kAllCall)
            return "contact " + std::to_string(contact + 1) + " is an all call, which a one-touch call cannot name";
        return {};
    }
    case Codec::ChannelMembers:
    case Codec::ContactMembers: return MemberProblem(f, r, c);
    default: return {};
    }
}

// ---- text ----

std::string ValueText(const FieldValue& value)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "On" : "Off";
    if (value.is_array()) {
        std::string out;
        for (const FieldValue& item : value)
            out += (out.empty() ? "" : ", ") + ValueText(item);
        return out;
    }
    if (value.is_null())
        return {};
    return value.dump();
}

FieldValue ValueFromText(const FieldDef& f, std::string_view text)
{
    const std::string trimmed = TrimBlanks(text);
    const auto number = [&]() -> FieldValue {
        // A number too big for 64 bits stays text, which the field then refuses (never 0).
        std::int64_t n = 0;
        const char* end = trimmed.data() + trimmed.size();
        const auto [stop, ec] = std::from_chars(trimmed.data(), end, n);
        if (!trimmed.empty() && ec == std::errc() && stop == end)
            return n;
        return trimmed;
    };
    switch (f.codec) {
    case Codec::Bit: {
        const std::string t = Lower(trimmed);
        if (t == "on" || t == "yes" || t == "true" || t == "1")
            return true;
        if (t == "off" || t == "no" || t == "false" || t == "0")
            return false;
        return trimmed;
    }
    case Codec::Number:
    case Codec::BcdId:
    case Codec::ContactId:
    case Codec::ListRef:
    case Codec::ContactRef:
    case Codec::OneTouch: return number();
    case Codec::ChannelMembers:
    case Codec::ContactMembers: {
        FieldValue list = FieldValue::array();
        std::size_t start = 0;
        while (!trimmed.empty() && start <= trimmed.size()) {
            const std::size_t comma = std::min(trimmed.find(',', start), trimmed.size());
            FieldDef one = f;
            one.codec = f.codec == Codec::ContactMembers ? Codec::Number : Codec::Text8;
            list.push_back(ValueFromText(one, std::string_view(trimmed).substr(start, comma - start)));
            start = comma + 1;
        }
        return list;
    }
    case Codec::Alias:
    case Codec::ContactName:
    case Codec::Text8: return std::string(text);
    default: return trimmed;
    }
}
