// zr740 import --from chirp|qdmr|dmr-users and zr740 export --to chirp|qdmr: the formats of other
// programs. Called by the import and export verbs when those options are given.
#include <cstdio>
#include <fstream>
#include <memory>

#include "cli/Verbs.h"
#include "codeplug/CodeplugFile.h"
#include "forms/foreign/ChirpCsv.h"
#include "forms/foreign/DmrUserCsv.h"
#include "forms/foreign/QdmrYaml.h"

namespace cli {
namespace {

// Far more than any channel list or user list; the reader never sees more.
constexpr std::size_t kLargestFile = 64u << 20;

struct ForeignOptions {
    std::string format;  // --from / --to
    std::vector<std::string> files;
    std::string output;  // -o
    std::string into;    // --into
    std::string rows;    // --rows
    std::optional<ImportMode> mode;
    bool force = false;
};

std::optional<ForeignOptions> Parse(std::string_view verb, Args args)
{
    ForeignOptions o;
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
        bool ok = true;
        if (arg == "--from" || arg == "--to")
            ok = value(o.format);
        else if (arg == "-o" || arg == "--output")
            ok = value(o.output);
        else if (verb == "import" && arg == "--into")
            ok = value(o.into);
        else if (verb == "import" && arg == "--rows")
            ok = value(o.rows);
        else if (verb == "import" && (arg == "--append" || arg == "--replace")) {
            const ImportMode mode = arg == "--append" ? ImportMode::Append : ImportMode::Replace;
            if (o.mode && *o.mode != mode) {
                PrintError(verb, "give --append or --replace, not both");
                return std::nullopt;
            }
            o.mode = mode;
        } else if (arg == "--force")
            o.force = true;
        else if (arg.size() > 1 && arg.front() == '-') {
            PrintError(verb, "unknown option " + std::string(arg));
            return std::nullopt;
        } else
            o.files.emplace_back(arg);
        if (!ok)
            return std::nullopt;
    }
    return o;
}

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    char chunk[1 << 16];
    while (text.size() <= kLargestFile && in.read(chunk, sizeof chunk).gcount() > 0)
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

}  // namespace

int RunImportFrom(Args args)
{
    const auto o = Parse("import", args);
    if (!o)
        return kExitUsage;
    const std::string& format = o->format;
    if (format != "chirp" && format != "qdmr" && format != "dmr-users") {
        PrintError("import", "--from takes chirp, qdmr or dmr-users");
        return kExitUsage;
    }
    if (o->files.size() != 1 || o->into.empty() || o->output.empty()) {
        PrintError("import", "give one file, --into FILE.VNTX and -o NEW.VNTX (zr740 import --help shows the usage)");
        return kExitUsage;
    }
    const std::string& file = o->files.front();
    std::optional<RowNumbers> numbers;
    std::string error;
    if (!o->rows.empty() && !(numbers = ParseRowNumbers(o->rows, error))) {
        PrintError("import", "--rows: " + error);
        return kExitUsage;
    }
    std::string text;
    if (!ReadFile(file, text)) {
        PrintError("import", "cannot open " + file);
        return kExitOpenFailed;
    }
    if (text.size() > kLargestFile) {
        PrintError("import", file + " is larger than any channel or user list; nothing written");
        return kExitFailure;
    }
    const ImportPlan plan = format == "chirp" ? ReadChirpCsv(text) : format == "qdmr" ? ReadQdmrYaml(text) : ReadDmrUserCsv(text);
    if (!plan.error.empty()) {
        PrintError("import", file + ": " + plan.error + "; nothing written");
        return kExitFailure;
    }
    auto codeplug = std::make_unique<Codeplug>();
    if (const int loaded = LoadCodeplugForVerb("import", o->into, *codeplug, o->force); loaded != kExitOk)
        return loaded;

    std::vector<bool> chosen(plan.rows.size(), true);
    if (numbers) {
        chosen = ChooseRows(plan, *numbers);
        for (const auto& [from, to] : numbers->ranges) {
            bool named = false;
            for (std::size_t n = 0; n < plan.rows.size() && !named; ++n)
                named = plan.rows[n].number >= from && plan.rows[n].number <= to;
            if (!named) {
                PrintError("import", "--rows: " + file + " has no row " + std::to_string(from) +
                                         (to == from ? "" : "-" + std::to_string(to)) + "; nothing written");
                return kExitFailure;
            }
        }
    }
    const ImportMode mode = o->mode.value_or(format == "qdmr" ? ImportMode::Replace : ImportMode::Append);
    const ImportResult result = ApplyPlan(plan, chosen, mode, *codeplug);

    std::string report;
    const std::vector<std::string> lines = ReportLines(plan, result.fates, chosen);
    std::size_t unchosen = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (chosen[n])
            report += lines[n] + "\n";
        else
            ++unchosen;
    }
    for (const std::string& note : result.notes)
        report += "note: " + note + "\n";
    if (unchosen != 0)
        report += std::to_string(unchosen) + " rows not chosen by --rows\n";
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    if (!result.problems.empty()) {
        for (const std::string& problem : result.problems)
            PrintError("import", problem);
        PrintError("import", "nothing written");
        return kExitFailure;
    }
    const FileResult saved = WriteCodeplugFile(*codeplug, o->output);
    if (!saved.ok()) {
        PrintError("import", "cannot write " + o->output + ": " + saved.detail);
        return kExitFailure;
    }
    std::printf("%zu of %zu rows stored in %s\n", result.Stored(), plan.rows.size(), o->output.c_str());
    return kExitOk;
}

int RunExportTo(Args args)
{
    const auto o = Parse("export", args);
    if (!o)
        return kExitUsage;
    if (o->format != "chirp" && o->format != "qdmr") {
        PrintError("export", "--to takes chirp or qdmr");
        return kExitUsage;
    }
    if (o->files.size() != 1) {
        PrintError("export", "give one codeplug file (zr740 export --help shows the usage)");
        return kExitUsage;
    }
    auto codeplug = std::make_unique<Codeplug>();
    if (const int loaded = LoadCodeplugForVerb("export", o->files.front(), *codeplug, true); loaded != kExitOk)
        return loaded;
    const ForeignExport exported = o->format == "chirp" ? ExportChirpCsv(*codeplug) : ExportQdmrYaml(*codeplug);
    for (const std::string& note : exported.notes)
        PrintError("export", "note: " + note);
    if (o->output.empty() || o->output == "-") {
        const bool ok = std::fwrite(exported.text.data(), 1, exported.text.size(), stdout) == exported.text.size() &&
                        std::fflush(stdout) == 0;
        return ok ? kExitOk : kExitFailure;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(exported.text.data());
    const FileResult written = ReplaceFileContents(o->output, std::span<const std::uint8_t>(bytes, exported.text.size()));
    if (!written.ok()) {
        PrintError("export", "cannot write " + o->output + ": " + written.detail);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace cli
