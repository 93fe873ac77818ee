// Fuzz target: a *.VNTX file, loaded as every program loads it, and then everything that reads a
// loaded codeplug: the JSON and CSV exports, the check, the description of zr740 info / dump and
// the comparison with the default file. The bytes are untrusted: counts beyond their tables,
// references to records that do not exist and texts of any bytes must never crash or overrun;
// whole files load, shorter ones never, and the description is valid JSON.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "codeplug/CodeplugFile.h"
#include "forms/CodeplugCheck.h"
#include "forms/CodeplugDiff.h"
#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"
#include "forms/Describe.h"
#include "forms/DescribeFormat.h"
#include "tests/fuzz/FuzzStart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path kFile =
        std::filesystem::temp_directory_path() / ("zr740-fuzz-" + std::to_string(getpid()) + ".VNTX");
    if (std::FILE* out = std::fopen(kFile.c_str(), "wb")) {  // the fuzzer's own scratch file
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    auto codeplug = std::make_unique<Codeplug>(StartCodeplug());
    const bool loaded = LoadCodeplugFile(*codeplug, kFile).loaded();
    if (loaded != (size >= 11279))  // whole codeplugs load, shorter files never
        __builtin_trap();
    if (!loaded)
        return 0;
    ExportJson(*codeplug).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    for (const CsvTable table :
         {CsvTable::AnalogChannels, CsvTable::DigitalChannels, CsvTable::Contacts, CsvTable::RxGroups})
        ExportCsv(*codeplug, table);
    CheckCodeplug(*codeplug);
    const DescNode description = DescribeCodeplug(*codeplug);
    FormatText(description);
    if (!nlohmann::json::accept(FormatJson(description)))
        __builtin_trap();
    FormatText(DescribeSummary(*codeplug));
    DiffCodeplugs(StartCodeplug(), *codeplug);
    return 0;
}
