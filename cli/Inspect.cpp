// zr740 info / zr740 dump: a codeplug file as text or JSON.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Verbs.h"
#include "forms/Describe.h"
#include "forms/DescribeFormat.h"

namespace cli {
namespace {

struct InspectOptions {
    bool json = false;
    bool force = false;
    std::string path;
};

std::optional<InspectOptions> ParseOptions(std::string_view verb, Args args)
{
    InspectOptions options;
    bool pathGiven = false;
    bool optionsEnded = false;
    for (const std::string_view arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--json") {
            options.json = true;
        } else if (!optionsEnded && arg == "--force") {
            options.force = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            PrintError(verb, "unknown option " + std::string(arg));
            return std::nullopt;
        } else if (pathGiven) {
            PrintError(verb, "only one file can be given");
            return std::nullopt;
        } else {
            options.path = arg;
            pathGiven = true;
        }
    }
    if (!pathGiven) {
        PrintError(verb, "no file given (zr740 --help shows the usage)");
        return std::nullopt;
    }
    return options;
}

int Inspect(std::string_view verb, Args args, DescNode (*describe)(const Codeplug&))
{
    const auto options = ParseOptions(verb, args);
    if (!options)
        return kExitUsage;
    Codeplug codeplug;
    const int loaded = LoadCodeplugForVerb(verb, options->path, codeplug, options->force);
    if (loaded != kExitOk)
        return loaded;
    const DescNode tree = describe(codeplug);
    const std::string out = options->json ? FormatJson(tree) : FormatText(tree);
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        PrintError(verb, "cannot write the output");
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunInfo(Args args) { return Inspect("info", args, DescribeSummary); }

int RunDump(Args args) { return Inspect("dump", args, DescribeCodeplug); }

}  // namespace cli
