#include "app/TextExchange.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"
#include "forms/JsonText.h"
#include "forms/foreign/ChirpCsv.h"
#include "forms/foreign/DmrUserCsv.h"
#include "forms/foreign/QdmrYaml.h"

namespace {

CsvTable TableOf(ExchangeKind kind)
{
    switch (kind) {
    case ExchangeKind::AnalogCsv: return CsvTable::AnalogChannels;
    case ExchangeKind::DigitalCsv: return CsvTable::DigitalChannels;
    case ExchangeKind::ContactsCsv: return CsvTable::Contacts;
    case ExchangeKind::RxGroupsCsv: return CsvTable::RxGroups;
    case ExchangeKind::WholeJson:
    case ExchangeKind::ChirpCsv:
    case ExchangeKind::QdmrYaml:
    case ExchangeKind::DmrUsersCsv: break;
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

std::string_view ExchangeSuffix(ExchangeKind kind)
{
    return kind == ExchangeKind::WholeJson ? "json" : kind == ExchangeKind::QdmrYaml ? "yaml" : "csv";
}

bool CanExport(ExchangeKind kind) { return kind != ExchangeKind::DmrUsersCsv; }

bool PreviewsImport(ExchangeKind kind)
{
    return kind == ExchangeKind::ChirpCsv || kind == ExchangeKind::QdmrYaml || kind == ExchangeKind::DmrUsersCsv;
}

ImportMode DefaultImportMode(ExchangeKind kind)
{
    return kind == ExchangeKind::QdmrYaml ? ImportMode::Replace : ImportMode::Append;
}

std::string ExportText(const Codeplug& codeplug, ExchangeKind kind)
{
    if (kind == ExchangeKind::WholeJson)
        return ExportJson(codeplug).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    if (kind == ExchangeKind::ChirpCsv)
        return ExportChirpCsv(codeplug).text;
    if (kind == ExchangeKind::QdmrYaml)
        return ExportQdmrYaml(codeplug).text;
    return ExportCsv(codeplug, TableOf(kind));
}

FileResult WriteExport(const Codeplug& codeplug, ExchangeKind kind, const std::filesystem::path& path)
{
    const std::string text = ExportText(codeplug, kind);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return ReplaceFileContents(path, std::span<const std::uint8_t>(bytes, text.size()));
}

namespace {

// Whether the bytes can be a text file at all; Imported when they can.
ImportOutcome JudgeText(std::string_view bytes)
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
    return {};
}

ImportPlan PlanOf(std::string_view text, ExchangeKind kind)
{
    if (kind == ExchangeKind::ChirpCsv)
        return ReadChirpCsv(text);
    if (kind == ExchangeKind::QdmrYaml)
        return ReadQdmrYaml(text);
    return ReadDmrUserCsv(text);
}

ImportOutcome Refused(const std::string& problem)
{
    return {ImportOutcome::Status::Refused, {}, {{0, 0, {}, {}, problem}}};
}

// A text table is small; anything past a few megabytes is not one of ours. User lists of the
// whole world are larger.
std::size_t LargestFile(ExchangeKind kind) { return (kind == ExchangeKind::DmrUsersCsv ? 64u : 8u) << 20; }

ImportOutcome ReadFileText(const std::filesystem::path& path, ExchangeKind kind, std::string& text)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return {ImportOutcome::Status::Unreadable, std::generic_category().message(EISDIR), {}};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {ImportOutcome::Status::Unreadable, std::generic_category().message(errno), {}};
    char chunk[1 << 16];
    while (text.size() <= LargestFile(kind) && in.read(chunk, sizeof chunk).gcount() > 0)
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return {ImportOutcome::Status::Unreadable, std::generic_category().message(EIO), {}};
    if (text.size() > LargestFile(kind))
        return {ImportOutcome::Status::TooLarge, {}, {}};
    return {};
}

}  // namespace

ImportOutcome ImportText(std::string_view bytes, ExchangeKind kind, Codeplug& codeplug)
{
    using Status = ImportOutcome::Status;
    // Other programs' files are not always UTF-8 (a CHIRP list in Latin-1): names then show '?'.
    const ImportOutcome judged = JudgeText(bytes);
    if (!judged.imported() && !(PreviewsImport(kind) && judged.status == Status::NotUtf8))
        return judged;
    if (PreviewsImport(kind)) {
        const ImportPlan plan = PlanOf(bytes, kind);
        if (!plan.error.empty())
            return Refused(plan.error);
        const ImportMode mode = DefaultImportMode(kind);
        const ImportResult result = ApplyPlan(plan, FittingRows(plan, mode, codeplug), mode, codeplug);
        ImportOutcome outcome;
        for (const std::string& problem : result.problems)
            outcome.problems.push_back({0, 0, {}, {}, problem});
        outcome.status = outcome.problems.empty() ? Status::Imported : Status::Refused;
        return outcome;
    }
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);

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
    std::string text;
    if (ImportOutcome read = ReadFileText(path, kind, text); !read.imported())
        return read;
    return ImportText(text, kind, codeplug);
}

ImportOutcome ReadImportPlan(const std::filesystem::path& path, ExchangeKind kind, ImportPlan& plan)
{
    std::string text;
    if (ImportOutcome read = ReadFileText(path, kind, text); !read.imported())
        return read;
    if (ImportOutcome judged = JudgeText(text); !judged.imported() && judged.status != ImportOutcome::Status::NotUtf8)
        return judged;
    plan = PlanOf(text, kind);
    return plan.error.empty() ? ImportOutcome{} : Refused(plan.error);
}
