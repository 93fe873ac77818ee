#include "forms/CodeplugDiff.h"

#include <algorithm>
#include <cctype>

#include "forms/Sections.h"

namespace {

// "Receive frequency" -> "receive frequency"; "VOX", "K1 short press", "DSP ..." stay as they are.
std::string InSentence(std::string_view label)
{
    std::string out(label);
    if (out.size() > 1 && std::isupper(static_cast<unsigned char>(out[0])) &&
        std::islower(static_cast<unsigned char>(out[1])))
        out[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[0])));
    return out;
}

std::string Shown(const FieldDef& f, const FieldValue& v)
{
    std::string text = v.is_string() ? "\"" + v.get<std::string>() + "\"" : ValueText(v);
    if (v.is_array())
        text = "[" + text + "]";
    if (f.codec == Codec::Frequency || f.codec == Codec::Choice || f.codec == Codec::Band)
        text = ValueText(v);
    return text;
}

std::string Offsets(std::size_t first, std::size_t last)
{
    return first == last ? "file offset " + std::to_string(first)
                         : "file offsets " + std::to_string(first) + "-" + std::to_string(last);
}

// Runs of differing bits, outside the owned ones, as file offsets.
void ByteRuns(std::vector<CodeplugChange>& out, const CodeplugChange& at, const std::string& where,
              std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, const std::vector<std::uint8_t>* owned,
              std::size_t fileOffset)
{
    for (std::size_t i = 0; i < a.size();) {
        const auto differs = [&](std::size_t j) {
            return ((a[j] ^ b[j]) & (owned ? static_cast<std::uint8_t>(~(*owned)[j]) : 0xFF)) != 0;
        };
        if (!differs(i)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < a.size() && differs(i))
            ++i;
        CodeplugChange change = at;
        change.text = where + ": bytes outside the named fields differ at " + Offsets(fileOffset + start, fileOffset + i - 1);
        out.push_back(std::move(change));
    }
}

}  // namespace

std::vector<CodeplugChange> DiffCodeplugChanges(const Codeplug& a, const Codeplug& b)
{
    using Kind = CodeplugChange::Kind;
    std::vector<CodeplugChange> out;
    const std::vector<Section> sa = Sections(a);
    const std::vector<Section> sb = Sections(b);
    const auto* base = reinterpret_cast<const std::uint8_t*>(&a);
    for (std::size_t k = 0; k < sa.size(); ++k) {
        const Section& x = sa[k];
        const Section& y = sb[k];
        const std::size_t fileOffset = static_cast<std::size_t>(x.bytes.data() - base);
        const std::vector<std::uint8_t> owned = OwnedBits(*x.schema);
        if (x.storedCount() != y.storedCount())
            out.push_back({Kind::Count, x.id, x.used(), nullptr,
                           std::string(x.label) + ": count " + std::to_string(x.storedCount()) + " → " +
                               std::to_string(y.storedCount())});
        const std::size_t shared = std::min(x.used(), y.used());
        for (std::size_t i = 0; i < std::max(x.used(), y.used()); ++i) {
            const std::string where = x.recordLabel(i);
            if (i >= shared) {
                const Section& has = i < x.used() ? x : y;
                const FieldDef* name = has.schema->fields.empty() ? nullptr : &has.schema->fields.front();
                std::string line = where + (i < x.used() ? ": removed" : ": added");
                if (name != nullptr && (name->codec == Codec::Alias || name->codec == Codec::ContactName))
                    line += " (" + ValueText(ReadField(*name, has.record(i))) + ")";
                out.push_back({i < x.used() ? Kind::Removed : Kind::Added, x.id, i, nullptr, line});
                continue;
            }
            const auto ra = x.record(i);
            const auto rb = y.record(i);
            if (std::equal(ra.begin(), ra.end(), rb.begin()))
                continue;
            for (const FieldDef& f : x.schema->fields) {
                const FieldValue va = ReadField(f, ra);
                const FieldValue vb = ReadField(f, rb);
                if (va == vb)
                    continue;
                std::string line = where + ": " + InSentence(f.label) + " " + Shown(f, va) + " → " + Shown(f, vb);
                if (!f.unit.empty())
                    line += " " + std::string(f.unit);
                out.push_back({Kind::Field, x.id, i, &f, line});
            }
            ByteRuns(out, {Kind::Bytes, x.id, i, nullptr, {}}, where, ra, rb, &owned, fileOffset + i * x.schema->bytes);
        }
        // Records past both counts hold nothing the radio uses; they are compared as bytes.
        const std::size_t rest = std::max(x.used(), y.used());
        if (rest < x.capacity)
            ByteRuns(out, {Kind::Bytes, x.id, rest, nullptr, {}}, std::string(x.label) + " past the count", x.bytes.subspan(rest * x.schema->bytes),
                     y.bytes.subspan(rest * x.schema->bytes), nullptr, fileOffset + rest * x.schema->bytes);
    }
    return out;
}

std::vector<std::string> DiffCodeplugs(const Codeplug& a, const Codeplug& b)
{
    std::vector<std::string> lines;
    for (CodeplugChange& change : DiffCodeplugChanges(a, b))
        lines.push_back(std::move(change.text));
    return lines;
}
