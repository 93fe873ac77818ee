#include "forms/CodeplugJson.h"

#include <algorithm>
#include <charconv>

#include "forms/CodeplugRules.h"
#include "forms/Sections.h"

namespace {

using Bytes = std::span<const std::uint8_t>;
constexpr const char* kFormat = "zr740 codeplug";
constexpr int kVersion = 1;

JsonDocument RecordJson(const RecordSchema& schema, Bytes r, const FieldContext& ctx)
{
    JsonDocument out = JsonDocument::object();
    JsonDocument exact = JsonDocument::object();
    for (const FieldDef& f : schema.fields) {
        out[std::string(f.id)] = ReadField(f, r);
        if (!FieldRoundTrips(f, r, ctx)) {
            std::vector<std::uint8_t> owned;
            for (const auto& [at, bits] : Footprint(f))
                owned.push_back(r[at] & bits);
            exact[std::string(f.id)] = HexText(owned);
        }
    }
    const std::vector<std::uint8_t> owned = OwnedBits(schema);
    JsonDocument kept = JsonDocument::object();
    for (std::size_t i = 0; i < r.size();) {
        if ((r[i] & ~owned[i]) == 0) {
            ++i;
            continue;
        }
        std::vector<std::uint8_t> run;
        const std::size_t start = i;
        for (; i < r.size() && (r[i] & ~owned[i]) != 0; ++i)
            run.push_back(static_cast<std::uint8_t>(r[i] & ~owned[i]));
        kept[std::to_string(start)] = HexText(run);
    }
    if (!kept.empty())
        out["kept"] = std::move(kept);
    if (!exact.empty())
        out["exact"] = std::move(exact);
    return out;
}

class Importer {
public:
    std::vector<JsonProblem> problems;

    void Problem(const std::string& path, std::string reason) { problems.push_back({path, std::move(reason)}); }

    // Fills one record from its object; the record starts all zero.
    void Record(const RecordSchema& schema, std::span<std::uint8_t> r, const JsonDocument& obj, const std::string& path,
                const FieldContext& ctx)
    {
        if (!obj.is_object()) {
            Problem(path, "expected an object");
            return;
        }
        const std::vector<std::uint8_t> owned = OwnedBits(schema);
        for (const auto& [key, value] : obj.items()) {
            if (key != "kept" && key != "exact" && FindField(schema, key) == nullptr)
                Problem(path + "/" + key, "no field of this name in a " + std::string(schema.label) + " record");
        }
        if (const auto kept = obj.find("kept"); kept != obj.end())
            Kept(*kept, r, owned, path + "/kept");
        const JsonDocument* exact = nullptr;
        if (const auto e = obj.find("exact"); e != obj.end()) {
            if (e->is_object())
                exact = &*e;
            else
                Problem(path + "/exact", "expected an object of field names and hex bytes");
        }
        for (const FieldDef& f : schema.fields) {
            const std::string id(f.id);
            const auto value = obj.find(id);
            const bool exactGiven = exact != nullptr && exact->contains(id);
            if (value == obj.end()) {
                // Never a silent 0: a record names every field.
                Problem(path + "/" + id, "missing");
                continue;
            }
            if (exactGiven && Exact(f, r, *value, exact->at(id), path + "/exact/" + id))
                continue;
            const std::string error = WriteField(f, r, *value, ctx);
            if (!error.empty())
                Problem(path + "/" + id, error);
        }
    }

private:
    void Kept(const JsonDocument& kept, std::span<std::uint8_t> r, const std::vector<std::uint8_t>& owned,
              const std::string& path)
    {
        if (!kept.is_object()) {
            Problem(path, "expected an object of offsets and hex bytes");
            return;
        }
        for (const auto& [key, value] : kept.items()) {
            std::size_t offset = 0;
            std::vector<std::uint8_t> bytes;
            const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), offset);
            if (ec != std::errc() || end != key.data() + key.size() || key.empty()) {
                Problem(path + "/" + key, "the key must be a byte offset");
                continue;
            }
            if (!value.is_string() || !ParseHex(value.get<std::string>(), bytes)) {
                Problem(path + "/" + key, "expected hex bytes");
                continue;
            }
            if (offset > r.size() || bytes.size() > r.size() - offset) {
                Problem(path + "/" + key, "runs past the record's " + std::to_string(r.size()) + " bytes");
                continue;
            }
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if ((bytes[i] & owned[offset + i]) != 0) {
                    Problem(path + "/" + key, "byte " + std::to_string(offset + i) + " belongs to a named field");
                    break;
                }
                r[offset + i] |= bytes[i];
            }
        }
    }

    // Uses the kept exact bytes when they still read as the field's value; false when the value
    // was edited (the value is then written normally).
    bool Exact(const FieldDef& f, std::span<std::uint8_t> r, const JsonDocument& value, const JsonDocument& hex,
               const std::string& path)
    {
        std::vector<std::uint8_t> bytes;
        const auto footprint = Footprint(f);
        if (!hex.is_string() || !ParseHex(hex.get<std::string>(), bytes) || bytes.size() != footprint.size()) {
            Problem(path, "expected " + std::to_string(footprint.size()) + " hex bytes");
            return true;
        }
        std::vector<std::uint8_t> scratch(r.begin(), r.end());
        for (std::size_t i = 0; i < footprint.size(); ++i) {
            const auto [at, bits] = footprint[i];
            scratch[at] = static_cast<std::uint8_t>((scratch[at] & ~bits) | (bytes[i] & bits));
        }
        if (ReadField(f, scratch) != value)
            return false;
        std::copy(scratch.begin(), scratch.end(), r.begin());
        return true;
    }
};

}  // namespace

std::string HexText(Bytes bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

bool ParseHex(std::string_view text, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    int high = -1;
    for (const char c : text) {
        if (c == ' ')
            continue;
        int v = -1;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        if (v < 0)
            return false;
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    return high < 0;
}

JsonDocument ExportJson(const Codeplug& codeplug)
{
    const FieldContext ctx = ContextOf(codeplug);
    JsonDocument doc = JsonDocument::object();
    doc["format"] = kFormat;
    doc["version"] = kVersion;
    for (const Section& s : Sections(codeplug)) {
        if (!s.table) {
            doc[std::string(s.id)] = RecordJson(*s.schema, s.bytes, ctx);
            continue;
        }
        JsonDocument table = JsonDocument::object();
        if (!s.count.empty())
            table["count"] = s.storedCount();
        JsonDocument records = JsonDocument::array();
        for (std::size_t i = 0; i < s.used(); ++i)
            records.push_back(RecordJson(*s.schema, s.record(i), ctx));
        table["records"] = std::move(records);
        JsonDocument unused = JsonDocument::object();
        for (std::size_t i = s.used(); i < s.capacity; ++i) {
            const auto r = s.record(i);
            const auto last = std::find_if(r.rbegin(), r.rend(), [](std::uint8_t b) { return b != 0; });
            if (last != r.rend())
                unused[std::to_string(i + 1)] = HexText(r.first(static_cast<std::size_t>(r.rend() - last)));
        }
        if (!unused.empty())
            table["unused"] = std::move(unused);
        doc[std::string(s.id)] = std::move(table);
    }
    return doc;
}

std::vector<JsonProblem> ImportJson(const JsonDocument& doc, Codeplug& target)
{
    Importer in;
    if (!doc.is_object())
        return {{"", "expected a JSON object"}};
    // Any JSON may arrive here: a "format" that is no text is a problem, never an exception.
    if (const auto format = doc.find("format"); format == doc.end() || !format->is_string() || *format != kFormat)
        in.Problem("/format", std::string("expected \"") + kFormat + "\"");
    if (!doc.contains("version") || doc["version"] != kVersion)
        in.Problem("/version", "expected " + std::to_string(kVersion));

    auto built = std::make_unique<Codeplug>();
    const std::vector<Section> sections = Sections(*built);
    for (const auto& item : doc.items()) {
        const std::string& key = item.key();  // a name, not a binding: clang 14 cannot capture one
        const bool known = key == "format" || key == "version" ||
                           std::any_of(sections.begin(), sections.end(), [&](const Section& s) { return s.id == key; });
        if (!known)
            in.Problem("/" + key, "not a part of a codeplug");
    }
    for (const Section& s : sections) {
        const std::string path = "/" + std::string(s.id);
        const auto found = doc.find(std::string(s.id));
        if (found == doc.end()) {
            in.Problem(path, "missing");
            continue;
        }
        // The radio settings come first; references are judged once the whole image is built.
        const FieldContext ctx{ContextOf(*built).frequencyRange};
        if (!s.table) {
            in.Record(*s.schema, s.bytes, *found, path, ctx);
            continue;
        }
        const JsonDocument& t = *found;
        if (!t.is_object()) {
            in.Problem(path, "expected an object with the records");
            continue;
        }
        for (const auto& [key, value] : t.items()) {
            if (key != "count" && key != "records" && key != "unused")
                in.Problem(path + "/" + key, "expected count, records or unused");
        }
        if (!s.count.empty()) {
            const auto count = t.find("count");
            if (count == t.end() || !count->is_number_integer() || count->get<std::int64_t>() < 0 ||
                count->get<std::uint64_t>() > s.capacity) {
                in.Problem(path + "/count", "expected a count from 0 to the " + std::to_string(s.capacity) +
                                                " records of the table");
                continue;
            }
            s.setCount(static_cast<std::uint32_t>(count->get<std::uint64_t>()));
        }
        const auto records = t.find("records");
        if (records == t.end() || !records->is_array()) {
            in.Problem(path + "/records", "expected a list of records");
            continue;
        }
        if (records->size() != s.used()) {
            in.Problem(path + "/records", std::to_string(records->size()) + " records listed, but the count says " +
                                              std::to_string(s.used()) +
                                              (s.count.empty() ? "" : " (change count with the records)"));
            continue;
        }
        for (std::size_t i = 0; i < records->size(); ++i)
            in.Record(*s.schema, s.record(i), (*records)[i], path + "/records/" + std::to_string(i), ctx);
        if (const auto unused = t.find("unused"); unused != t.end()) {
            if (!unused->is_object()) {
                in.Problem(path + "/unused", "expected an object of record numbers and hex bytes");
                continue;
            }
            for (const auto& [key, value] : unused->items()) {
                std::size_t number = 0;
                std::vector<std::uint8_t> bytes;
                const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), number);
                if (ec != std::errc() || end != key.data() + key.size() || number <= s.used() || number > s.capacity) {
                    in.Problem(path + "/unused/" + key, "not a record past the count");
                    continue;
                }
                if (!value.is_string() || !ParseHex(value.get<std::string>(), bytes) || bytes.size() > s.schema->bytes) {
                    in.Problem(path + "/unused/" + key,
                               "expected at most " + std::to_string(s.schema->bytes) + " hex bytes");
                    continue;
                }
                std::copy(bytes.begin(), bytes.end(), s.record(number - 1).begin());
            }
        }
    }
    if (!in.problems.empty())
        return in.problems;
    // The whole image is there: the fields that follow others are set as the forms set them, and
    // what the rules call an error is refused where it stands.
    NormaliseCodeplug(*built);
    for (const RuleFinding& f : FindRuleProblems(*built)) {
        if (!f.error)
            continue;
        std::string path = "/" + std::string(f.section);
        const bool table = std::any_of(sections.begin(), sections.end(), [&](const Section& s) { return s.id == f.section && s.table; });
        if (f.record == RuleFinding::kWholeTable)
            path += "/count";
        else if (table)
            path += "/records/" + std::to_string(f.record);
        if (!f.field.empty())
            path += "/" + std::string(f.field);
        in.Problem(path, f.what);
    }
    if (in.problems.empty())
        target = *built;
    return in.problems;
}
