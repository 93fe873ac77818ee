#pragma once
// The field schema: per record kind, a declarative table of every field the forms, `zr740 dump`,
// export, import, diff and check know — its name, where it sits, and the codec that turns its
// bytes into the value a user reads (MHz text, tone text, UTF-8 name, decimal ID, list text,
// flag, number in its unit) and back. A field's offset and encoding are written here once.
//
// Values are JSON values: strings for texts and list choices, numbers for numbers and IDs,
// booleans for flags, arrays for member lists. Reading never fails: bytes that no valid value
// describes read as a text starting with "invalid". Writing checks the value and returns a reason
// when it is refused, leaving the record untouched.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

using FieldValue = nlohmann::ordered_json;

enum class Codec {
    Alias,           // length byte at `aux` + `width` bytes of name, at most `max` characters
    ContactName,     // name stored as typed; length byte at `aux`
    Text8,           // zero-ended 8-bit text filling at most `width` bytes
    Frequency,       // unsigned 32-bit hertz, "435.012500" MHz, within the band
    RxTone,          // tone type at `offset` (bits of `mask`), index at `aux`
    TxTone,          // the same, the transmit side's type form
    Tail,            // tail-elimination bits of the receive tone type: "Off" / "On"
    BcdId,           // unsigned 32-bit packed decimal, shown in decimal
    ContactId,       // a contact's ID: 16777215 when the call type byte (`aux`) is an all call
    Choice,          // list position in the bits of `mask`, shown as choices[position]
    Bit,             // one flag: the bits of `mask`
    Number,          // little-endian value of `width` bytes (or the bits of `mask`), shown * scale + bias
    ListRef,         // 0 "Off", n = list n (1 ... max) of the lists `aux` names (kScanLists, kRxGroupLists)
    ContactRef,      // 0-based contact, shown 1-based; 0xFF "None"
    ChannelMembers,  // count byte at `aux`, up to 16 entries of kind + index: "D3", "A12"
    ContactMembers,  // count byte at `aux`, up to 16 contact bytes, shown 1-based
    OneTouch,        // kind byte and contact byte: "None" or the contact's number
    KeyCode,         // a key function code, "0x0B"
    Band,            // the band byte: "400-480MHz" or "350-400MHz"
};

// What a ListRef field refers to.
inline constexpr std::size_t kScanLists = 0;
inline constexpr std::size_t kRxGroupLists = 1;

struct FieldDef {
    std::string_view id;     // JSON key (camelCase)
    std::string_view label;  // the field in words; the CSV header
    Codec codec = Codec::Number;
    std::size_t offset = 0;
    std::size_t width = 1;
    std::uint8_t mask = 0xFF;  // one-byte fields: the bits the field owns
    std::size_t aux = 0;
    std::span<const std::string_view> choices{};
    std::span<const std::string_view> formerChoices{};  // earlier texts of the same choices, still read
    std::int64_t scale = 1;
    std::int64_t bias = 0;
    std::int64_t min = 0;
    std::int64_t max = 255;
    std::int64_t step = 1;
    std::string_view unit{};  // shown after the value in diff and dump ("MHz", "ms", "s")
};

struct RecordSchema {
    std::string_view id;
    std::string_view label;  // "Analog channel"
    std::size_t bytes;
    std::vector<FieldDef> fields;
};

// One record kind per block or table.
const RecordSchema& RadioSettingsSchema();
const RecordSchema& DmrSettingsSchema();
const RecordSchema& ContactSchema();
const RecordSchema& RxGroupSchema();
const RecordSchema& ScanListSchema();
const RecordSchema& ZoneSchema();
const RecordSchema& AnalogChannelSchema();
const RecordSchema& DigitalChannelSchema();
const RecordSchema& MessageSchema();
const RecordSchema& IdentitySchema();
const RecordSchema& RecordE2Schema();
const RecordSchema& RadioInfoSchema();
const RecordSchema& PasswordSchema();
const RecordSchema& FunctionExtraSchema();
const RecordSchema& FileMarkerSchema();

const FieldDef* FindField(const RecordSchema& schema, std::string_view id);

// The bytes (offset, bits) a field owns inside its record.
std::vector<std::pair<std::size_t, std::uint8_t>> Footprint(const FieldDef& field);
// Per byte of the record, the bits that some field owns.
std::vector<std::uint8_t> OwnedBits(const RecordSchema& schema);

FieldValue ReadField(const FieldDef& field, std::span<const std::uint8_t> record);

struct Codeplug;

// What judging a value needs beyond its record: the band byte of the radio settings and, for
// references to other records (lists, contacts, channels), the codeplug they must exist in. With
// no codeplug, references are judged by their range only.
struct FieldContext {
    std::uint8_t frequencyRange = 4;
    const Codeplug* codeplug = nullptr;
};

// The valid values of a field, the one rule the forms, the imports and the check share: "" when
// the bytes the field owns hold a value a form could store, otherwise why not (a list position
// past its list, a number outside its range, a name that does not fit, a reference to a record
// that does not exist or may not be named there, a member named twice).
std::string FieldProblem(const FieldDef& field, std::span<const std::uint8_t> record, const FieldContext& context);

// Why contact `contact` (0-based) may not be a member of a receive group list: it must be a
// contact in use and a group call. "" when it may.
std::string GroupMemberProblem(const Codeplug& codeplug, std::size_t contact);

// Writes the value; "" on success, else the reason it was refused (the record is then unchanged).
// A value is refused when it cannot be read or when the bytes it gives have a FieldProblem.
std::string WriteField(const FieldDef& field, std::span<std::uint8_t> record, const FieldValue& value,
                       const FieldContext& context);

// True when writing the value read gives back exactly the bytes the field owns.
bool FieldRoundTrips(const FieldDef& field, std::span<const std::uint8_t> record, const FieldContext& context);

// A value as one line of text ("On"/"Off" for flags, members joined by ", ").
std::string ValueText(const FieldValue& value);
// A cell of text as the value the field takes (flags from On/Off/Yes/No/true/false/1/0, numbers
// from digits, member lists split at commas); anything else stays a string for WriteField to judge.
FieldValue ValueFromText(const FieldDef& field, std::string_view text);
