#include "app/TextExchange.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"
#include "forms/JsonText.h"

namespace {

CsvTable TableOf(ExchangeKind kind)
{
    switch (kind) {
    case ExchangeKind::AnalogCsv: return CsvTable::AnalogChannels;
    case ExchangeKind::DigitalCsv: return CsvTable::DigitalChannels;
    case ExchangeKind::ContactsCsv: return CsvTable::Contacts;
    case ExchangeKind::RxGroupsCsv: return CsvTable::RxGroups;
    case ExchangeKind::WholeJson: break;
    }
    return CsvTable::Contacts;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong or surrogate forms, nothing past
// U+10FFFF.
bool IsUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char b = *p;
        std::size_t extra = 0;
        std::uint32_t code = 0;
        if (b < 0x80) {
            ++p;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, code = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, code = b & 0x07;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) <= extra)
            return false;
        for (std::size_t i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

}  // namespace

std::string_view ExchangeSuffix(ExchangeKind kind) { return kind == ExchangeKind::WholeJson ? "json" : "csv"; }

std::string ExportText(const Codeplug& codeplug, ExchangeKind kind)
{
    if (kind == ExchangeKind::WholeJson)
        return ExportJson(codeplug).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    return ExportCsv(codeplug, TableOf(kind));
}

FileResult WriteExport(const Codeplug& codeplug, ExchangeKind kind, const std::filesystem::path& path)
{
    const std::string text = ExportText(codeplug, kind);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return ReplaceFileContents(path, std::span<const std::uint8_t>(bytes, text.size()));
}

ImportOutcome ImportText(std::string_view bytes, ExchangeKind kind, Codeplug& codeplug)
{
    using Status = ImportOutcome::Status;
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    if (std::all_of(body.begin(), body.end(), [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }))
        return {Status::Empty, {}, {}};
    if (body.find('\0') != std::string_view::npos)
        return {Status::Binary, {}, {}};
    if (!IsUtf8(body))
        return {Status::NotUtf8, {}, {}};

    ImportOutcome outcome;
    if (kind == ExchangeKind::WholeJson) {
        std::string why;
        const std::optional<JsonDocument> document = ParseJsonText(body, why);
        if (!document)
            return {Status::NotJson, why, {}};
        auto work = std::make_unique<Codeplug>(codeplug);
        for (const JsonProblem& p : ImportJson(*document, *work))
            outcome.problems.push_back({0, 0, {}, p.path.empty() ? "/" : p.path, p.reason});
        if (outcome.problems.empty())
            codeplug = *work;
    } else {
        // ImportCsv works on a copy of its own and changes the codeplug only when all is well.
        for (const CsvProblem& p : ImportCsv(bytes, TableOf(kind), codeplug))
            outcome.problems.push_back({p.row, p.column, p.header, {}, p.reason});
    }
    if (!outcome.problems.empty())
        outcome.status = Status::Refused;
    return outcome;
}

ImportOutcome ImportFile(const std::filesystem::path& path, ExchangeKind kind, Codeplug& codeplug)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return {ImportOutcome::Status::Unreadable, std::generic_category().message(EISDIR), {}};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {ImportOutcome::Status::Unreadable, std::generic_category().message(errno), {}};
    // A text table is small; anything past a few megabytes is not one of ours.
    constexpr std::size_t kLargest = 8u << 20;
    std::string text;
    text.resize(kLargest + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad())
        return {ImportOutcome::Status::Unreadable, std::generic_category().message(EIO), {}};
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kLargest)
        return {ImportOutcome::Status::TooLarge, {}, {}};
    return ImportText(text, kind, codeplug);
}
