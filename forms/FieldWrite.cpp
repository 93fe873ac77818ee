// Writing a field: one function per codec turns the value a user gives into the field's bytes,
// or says why it cannot; WriteField then judges the bytes by the field's valid values.
#include <array>
#include <charconv>
#include <vector>

#include "codeplug/BcdId.h"
#include "forms/FieldCodec.h"
#include "forms/functions/KeyRules.h"

using namespace fieldcodec;

namespace {

using Record = std::span<std::uint8_t>;

// Every codec writer: the field, its record (a scratch copy), the value, what judging needs.
using Writer = std::string (*)(const FieldDef&, Record, const FieldValue&, const FieldContext&);

std::string NeedText(const FieldValue& v) { return v.is_string() ? std::string() : "expected a text"; }

unsigned Shift(const FieldDef& f) { return static_cast<unsigned>(std::countr_zero(f.mask)); }

std::string WriteName(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (auto e = NeedText(v); !e.empty())
        return e;
    const std::string text = v.get<std::string>();
    if (auto e = NameError(f, text); !e.empty())
        return e;
    const auto field = r.subspan(f.offset, f.width);
    r[f.aux] = f.codec == Codec::Alias ? EncodeAlias(text, field) : EncodeContactName(text, field);
    return {};
}

std::string WriteText8(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (auto e = NeedText(v); !e.empty())
        return e;
    const std::string ansi = Utf8ToAnsi(v.get<std::string>());
    if (AnsiToUtf8(ansi) != v.get<std::string>() || ansi.find('\0') != std::string::npos)
        return "holds characters the radio cannot show";
    if (ansi.size() > f.width)
        return "longer than " + std::to_string(f.width) + " bytes";
    std::fill_n(r.begin() + static_cast<std::ptrdiff_t>(f.offset), f.width, std::uint8_t{0});
    std::copy(ansi.begin(), ansi.end(), r.begin() + static_cast<std::ptrdiff_t>(f.offset));
    return {};
}

std::string WriteFrequency(const FieldDef& f, Record r, const FieldValue& v, const FieldContext& ctx)
{
    if (!v.is_string())
        return "expected a frequency in MHz as text, e.g. \"438.500000\"";
    const std::string text = TrimBlanks(v.get<std::string>());
    if (!FrequencyTextWellFormed(text))
        return "\"" + text + "\" is not a frequency in MHz (three digits, a point and up to six decimals)";
    const std::uint32_t hertz = TextToFrequency(text);
    PutLE32(r, f.offset, hertz);
    if (hertz == 0)
        return {};
    if (const std::string problem = FieldProblem(f, r, ctx); !problem.empty())
        return problem;
    PutLE32(r, f.offset, TextToFrequency(NormaliseFrequencyText(text, ctx.frequencyRange)));
    return {};
}

std::string WriteTone(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (auto e = NeedText(v); !e.empty())
        return e;
    const auto code = ToneFromText(v.get<std::string>(), f.codec == Codec::TxTone);
    if (!code)
        return "\"" + v.get<std::string>() +
               "\" is not a tone (None, a CTCSS frequency such as 67.0, or a DCS code such as D023N)";
    PutBits(r[f.offset], f.mask, code->type);
    r[f.aux] = code->index;
    return {};
}

std::string WriteChoice(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    auto position = MatchChoice(f.choices, v);
    if (!position)
        position = MatchChoice(f.formerChoices, v);
    if (!position)
        return "expected one of " + ChoiceList(f.choices);
    if (f.codec == Codec::Tail)
        PutBits(r[f.offset], f.mask, *position == 1 ? ToneBits::kTailSecond : ToneBits::kTailFirst);
    else
        PutBits(r[f.offset], f.mask, static_cast<std::uint8_t>(*position << Shift(f)));
    return {};
}

std::string WriteBit(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (!v.is_boolean())
        return "expected true or false";
    PutBits(r[f.offset], f.mask, v.get<bool>() ? f.mask : 0);
    return {};
}

std::string WriteNumber(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    const auto n = Integer(v);
    if (!n)
        return "expected a whole number";
    if (*n < f.min || *n > f.max)
        return std::to_string(*n) + " is outside " + std::to_string(f.min) + "-" + std::to_string(f.max);
    if ((*n - f.min) % f.step != 0 || (*n - f.bias) % f.scale != 0)
        return std::to_string(*n) + " is not a step of " + std::to_string(std::max(f.step, f.scale));
    const std::int64_t stored = (*n - f.bias) / f.scale;
    if (f.width != 1) {
        PutLE(r, f.offset, f.width, static_cast<std::uint32_t>(stored));
        return {};
    }
    if (stored < 0 || (static_cast<std::uint64_t>(stored) << Shift(f)) > f.mask)
        return std::to_string(*n) + " does not fit its field";
    PutBits(r[f.offset], f.mask, static_cast<std::uint8_t>(stored << Shift(f)));
    return {};
}

std::string WriteId(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    const auto n = Integer(v);
    if (f.codec == Codec::ContactId && r[f.aux] == ContactField::kAllCall) {
        if (n != 16777215)
            return "an all call has the ID 16777215";
        PutLE32(r, f.offset, ContactField::kAllCallId);
        return {};
    }
    if (!n)
        return "expected an ID in decimal digits";
    if (*n < f.min || *n > f.max)
        return std::to_string(*n) + " is outside " + std::to_string(f.min) + "-" + std::to_string(f.max);
    PutLE32(r, f.offset, *PackBcdId(static_cast<std::uint32_t>(*n)));
    return {};
}

bool Says(const FieldValue& v, std::string_view word) { return v.is_string() && Lower(v.get<std::string>()) == word; }

std::string WriteListRef(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (Says(v, "off")) {
        r[f.offset] = 0;
        return {};
    }
    const auto n = Integer(v);
    if (!n || *n < 1 || *n > f.max)
        return "expected \"Off\" or a list number 1-" + std::to_string(f.max);
    r[f.offset] = static_cast<std::uint8_t>(*n);
    return {};
}

// A contact named by its 1-based number, as the contacts table shows it.
std::optional<std::uint8_t> ContactNumber(const FieldValue& v)
{
    const auto n = Integer(v);
    if (!n || *n < 1 || *n > 64)
        return std::nullopt;
    return static_cast<std::uint8_t>(*n - 1);
}

std::string WriteContactRef(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    const auto contact = Says(v, "none") ? std::optional<std::uint8_t>(0xFF) : ContactNumber(v);
    if (!contact)
        return "expected \"None\" or a contact number 1-64";
    r[f.offset] = *contact;
    return {};
}

std::string WriteOneTouch(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (Says(v, "none")) {
        r[f.offset] = RadioSettingsField::kOneTouchNone;
        r[f.offset + 1] = 0;
        return {};
    }
    const auto contact = ContactNumber(v);
    if (!contact)
        return "expected \"None\" or a contact number 1-64";
    r[f.offset] = RadioSettingsField::kOneTouchCall;
    r[f.offset + 1] = *contact;
    return {};
}

// "A12" or "D3": the kind and 0-based index of a channel member.
std::optional<std::pair<std::uint8_t, std::uint16_t>> ChannelMember(const FieldValue& item)
{
    const std::string text = item.is_string() ? Lower(item.get<std::string>()) : std::string();
    if (text.size() < 2 || (text[0] != 'a' && text[0] != 'd'))
        return std::nullopt;
    int number = 0;
    const auto [stop, ec] = std::from_chars(text.data() + 1, text.data() + text.size(), number);
    if (ec != std::errc() || stop != text.data() + text.size() || number < 1 || number > 16)
        return std::nullopt;
    return std::make_pair(text[0] == 'd' ? ChannelRef::kDigital : ChannelRef::kAnalog, static_cast<std::uint16_t>(number - 1));
}

std::string WriteMembers(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (!v.is_array())
        return "expected a list";
    if (v.size() > static_cast<std::size_t>(f.max))
        return "more than " + std::to_string(f.max) + " members";
    const bool channels = f.codec == Codec::ChannelMembers;
    const std::size_t slot = channels ? ChannelRef::kBytes : 1;
    std::vector<std::uint8_t> field(slot * static_cast<std::size_t>(f.max), 0);
    for (std::size_t m = 0; m < v.size(); ++m) {
        const std::string member = "member " + std::to_string(m + 1) + ": ";
        if (!channels) {
            const auto contact = ContactNumber(v[m]);
            if (!contact)
                return member + "expected a contact number 1-64";
            field[m] = *contact;
            continue;
        }
        const auto channel = ChannelMember(v[m]);
        if (!channel)
            return member + "expected A1-A16 (analog) or D1-D16 (digital)";
        field[slot * m + ChannelRef::Kind] = channel->first;
        PutLE16(field, slot * m + ChannelRef::Index, channel->second);
    }
    RequireRange(r.size(), f.offset, field.size());
    std::copy(field.begin(), field.end(), r.begin() + static_cast<std::ptrdiff_t>(f.offset));
    r[f.aux] = static_cast<std::uint8_t>(v.size());
    return {};
}

std::string WriteKeyCode(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    if (auto e = NeedText(v); !e.empty())
        return e;
    const std::string text = Lower(v.get<std::string>());
    unsigned code = 0;
    const bool parsed = text.size() > 2 && text.rfind("0x", 0) == 0 && [&] {
        const auto [stop, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), code, 16);
        return ec == std::errc() && stop == text.data() + text.size();
    }();
    if (!parsed || std::find(kKeyFunctionCodes.begin(), kKeyFunctionCodes.end(), code) == kKeyFunctionCodes.end())
        return "\"" + v.get<std::string>() + "\" is not a key function code";
    r[f.offset] = static_cast<std::uint8_t>(code);
    return {};
}

std::string WriteBand(const FieldDef& f, Record r, const FieldValue& v, const FieldContext&)
{
    static constexpr std::array<std::string_view, 2> kBands = {"400-480MHz", "350-400MHz"};
    const auto position = MatchChoice(kBands, v);
    if (!position)
        return "expected one of " + ChoiceList(kBands);
    r[f.offset] = *position == 1 ? RadioSettingsField::kRange350To400 : RadioSettingsField::kRange400To480;
    return {};
}

Writer WriterOf(Codec codec)
{
    switch (codec) {
    case Codec::Alias:
    case Codec::ContactName: return WriteName;
    case Codec::Text8: return WriteText8;
    case Codec::Frequency: return WriteFrequency;
    case Codec::RxTone:
    case Codec::TxTone: return WriteTone;
    case Codec::Tail:
    case Codec::Choice: return WriteChoice;
    case Codec::Bit: return WriteBit;
    case Codec::Number: return WriteNumber;
    case Codec::BcdId:
    case Codec::ContactId: return WriteId;
    case Codec::ListRef: return WriteListRef;
    case Codec::ContactRef: return WriteContactRef;
    case Codec::OneTouch: return WriteOneTouch;
    case Codec::ChannelMembers:
    case Codec::ContactMembers: return WriteMembers;
    case Codec::KeyCode: return WriteKeyCode;
    case Codec::Band: return WriteBand;
    }
    return nullptr;
}

std::string WriteInto(const FieldDef& f, Record r, const FieldValue& v, const FieldContext& ctx)
{
    RequireRange(r.size(), f.offset, f.width);
    const Writer write = WriterOf(f.codec);
    return write != nullptr ? write(f, r, v, ctx) : std::string("unknown field");
}

}  // namespace

std::string WriteField(const FieldDef& f, std::span<std::uint8_t> record, const FieldValue& value, const FieldContext& ctx)
{
    std::vector<std::uint8_t> scratch(record.begin(), record.end());
    std::string error = WriteInto(f, scratch, value, ctx);
    if (error.empty())
        error = FieldProblem(f, scratch, ctx);
    if (error.empty())
        std::copy(scratch.begin(), scratch.end(), record.begin());
    return error;
}

bool FieldRoundTrips(const FieldDef& f, Bytes record, const FieldContext& ctx)
{
    std::vector<std::uint8_t> scratch(record.begin(), record.end());
    if (!WriteInto(f, scratch, ReadField(f, record), ctx).empty())
        return false;
    for (const auto& [at, bits] : Footprint(f)) {
        if ((scratch[at] & bits) != (record[at] & bits))
            return false;
    }
    return true;
}
