// zr740 export / import / diff / check: the codeplug as text.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "cli/Verbs.h"
#include "codeplug/CodeplugFile.h"
#include "forms/CodeplugCheck.h"
#include "forms/CodeplugDiff.h"
#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"
#include "forms/JsonText.h"

namespace cli {
namespace {

struct TextOptions {
    std::vector<std::string> files;
    std::string output;  // -o
    std::string table;   // --table
    std::string into;    // --into
    std::string format;  // --format: json, csv (with --table) or pdf
    std::string page;    // --page (pdf): a4 or letter
    std::string language;  // --lang (pdf): en or zh
    bool force = false;
};

std::optional<TextOptions> Parse(std::string_view verb, Args args, bool allowTable, bool allowInto)
{
    TextOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                PrintError(verb, std::string(arg) + " needs a value");
                return false;
            }
            into = args[++i];
            return true;
        };
        if (arg == "-o" || arg == "--output") {
            if (!value(o.output))
                return std::nullopt;
        } else if (allowTable && arg == "--table") {
            if (!value(o.table))
                return std::nullopt;
        } else if (allowInto && arg == "--into") {
            if (!value(o.into))
                return std::nullopt;
        } else if (allowTable && (arg == "--format" || arg == "--page" || arg == "--lang")) {
            if (!value(arg == "--format" ? o.format : arg == "--page" ? o.page : o.language))
                return std::nullopt;
        } else if (arg == "--force") {
            o.force = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            PrintError(verb, "unknown option " + std::string(arg));
            return std::nullopt;
        } else {
            o.files.emplace_back(arg);
        }
    }
    return o;
}

bool ReadText(std::string_view verb, const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        PrintError(verb, "cannot open " + path);
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

// Writes the text with the one safe save, or to stdout for "" and "-".
bool WriteText(std::string_view verb, const std::string& path, const std::string& text)
{
    if (path.empty() || path == "-") {
        const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
        if (!ok)
            PrintError(verb, "cannot write the output");
        return ok;
    }
    const FileResult saved =
        ReplaceFileContents(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!saved.ok())
        PrintError(verb, "cannot write " + path + ": " + saved.detail);
    return saved.ok();
}

bool SaveImage(std::string_view verb, Codeplug& codeplug, const std::string& path)
{
    const FileResult saved = WriteCodeplugFile(codeplug, path);
    if (!saved.ok())
        PrintError(verb, "cannot write " + path + ": " + saved.detail);
    return saved.ok();
}

std::optional<CsvTable> TableOption(std::string_view verb, const std::string& name)
{
    const auto table = CsvTableByName(name);
    if (!table)
        PrintError(verb, "unknown table '" + name + "' (analog, digital, contacts or rxgroups)");
    return table;
}

// Whether the arguments name another program's format (--from / --to).
bool NamesForeignFormat(Args args, std::string_view option)
{
    return std::find(args.begin(), args.end(), option) != args.end();
}

}  // namespace

int RunExport(Args args)
{
    if (NamesForeignFormat(args, "--to"))
        return RunExportTo(args);
    const auto o = Parse("export", args, true, false);
    if (!o)
        return kExitUsage;
    if (o->files.size() != 1) {
        PrintError("export", "give one codeplug file (zr740 export --help shows the usage)");
        return kExitUsage;
    }
    if (o->format == "pdf")
        return ExportSheetPdf(o->files.front(), o->output, o->page, o->language);
    if (!o->page.empty() || !o->language.empty() || !(o->format.empty() || o->format == "json" || o->format == "csv")) {
        PrintError("export", "--format is json, csv or pdf; --page and --lang go with --format pdf");
        return kExitUsage;
    }
    std::optional<CsvTable> table;
    if (!o->table.empty() && !(table = TableOption("export", o->table)))
        return kExitUsage;
    auto codeplug = std::make_unique<Codeplug>();
    // A file the loader accepts is exported whatever its marker; the marker travels with it.
    const int loaded = LoadCodeplugForVerb("export", o->files.front(), *codeplug, true);
    if (loaded != kExitOk)
        return loaded;
    const std::string text = table ? ExportCsv(*codeplug, *table) : ExportJson(*codeplug).dump(2) + "\n";
    return WriteText("export", o->output, text) ? kExitOk : kExitFailure;
}

int RunImport(Args args)
{
    if (NamesForeignFormat(args, "--from"))
        return RunImportFrom(args);
    const auto o = Parse("import", args, true, true);
    if (!o)
        return kExitUsage;
    if (o->files.size() != 1) {
        PrintError("import", "give one JSON or CSV file (zr740 import --help shows the usage)");
        return kExitUsage;
    }
    std::string text;
    if (!ReadText("import", o->files.front(), text))
        return kExitOpenFailed;
    auto codeplug = std::make_unique<Codeplug>();
    if (o->table.empty()) {
        if (o->output.empty()) {
            PrintError("import", "-o NEW.VNTX is needed");
            return kExitUsage;
        }
        std::string why;
        const std::optional<JsonDocument> doc = ParseJsonText(text, why);
        if (!doc) {
            PrintError("import", o->files.front() + ": " + why);
            return kExitFailure;
        }
        const auto problems = ImportJson(*doc, *codeplug);
        for (const JsonProblem& p : problems)
            PrintError("import", (p.path.empty() ? "/" : p.path) + ": " + p.reason);
        if (!problems.empty()) {
            PrintError("import", "nothing written");
            return kExitFailure;
        }
        return SaveImage("import", *codeplug, o->output) ? kExitOk : kExitFailure;
    }
    const auto table = TableOption("import", o->table);
    if (!table)
        return kExitUsage;
    if (o->into.empty()) {
        PrintError("import", "--into FILE.VNTX is needed with --table");
        return kExitUsage;
    }
    const int loaded = LoadCodeplugForVerb("import", o->into, *codeplug, o->force);
    if (loaded != kExitOk)
        return loaded;
    const auto problems = ImportCsv(text, *table, *codeplug);
    for (const CsvProblem& p : problems)
        PrintError("import", o->files.front() + ": " + p.Text());
    if (!problems.empty()) {
        PrintError("import", "nothing written");
        return kExitFailure;
    }
    return SaveImage("import", *codeplug, o->output.empty() ? o->into : o->output) ? kExitOk : kExitFailure;
}

int RunDiff(Args args)
{
    const auto o = Parse("diff", args, false, false);
    if (!o)
        return kExitUsage;
    if (o->files.size() != 2) {
        PrintError("diff", "give two codeplug files");
        return kExitUsage;
    }
    auto a = std::make_unique<Codeplug>();
    auto b = std::make_unique<Codeplug>();
    for (const auto& [path, image] : {std::pair{o->files[0], a.get()}, std::pair{o->files[1], b.get()}}) {
        const int loaded = LoadCodeplugForVerb("diff", path, *image, true);
        if (loaded != kExitOk)
            return loaded == kExitFailure ? kExitUsage : loaded;
    }
    std::string out;
    for (const std::string& line : DiffCodeplugs(*a, *b))
        out += line + "\n";
    if (!WriteText("diff", {}, out))
        return kExitUsage;
    return out.empty() ? kExitOk : kExitFailure;
}

int RunCheck(Args args)
{
    const auto o = Parse("check", args, false, false);
    if (!o)
        return kExitUsage;
    if (o->files.size() != 1) {
        PrintError("check", "give one codeplug file");
        return kExitUsage;
    }
    auto codeplug = std::make_unique<Codeplug>();
    const int loaded = LoadCodeplugForVerb("check", o->files.front(), *codeplug, o->force);
    if (loaded != kExitOk)
        return loaded;
    const auto findings = CheckCodeplug(*codeplug);
    std::string out;
    for (const CheckFinding& f : findings)
        out += f.Text() + "\n";
    const std::size_t errors = CountErrors(findings);
    out += std::to_string(errors) + " error(s), " + std::to_string(findings.size() - errors) + " warning(s)\n";
    if (!WriteText("check", {}, out))
        return kExitFailure;
    return errors == 0 ? kExitOk : kExitFailure;
}

}  // namespace cli
