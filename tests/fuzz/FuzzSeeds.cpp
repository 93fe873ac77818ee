// Writes seeds made from the default codeplug into the working corpus of each fuzz target: its
// JSON, its four CSV tables (each after the byte that chooses the table) and its file, whole,
// cut short and with counts far beyond the tables. tools/fuzz runs it before fuzzing.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codeplug/Bytes.h"
#include "codeplug/CodeplugFile.h"
#include "data/DefaultCodeplug.h"
#include "forms/CodeplugJson.h"
#include "forms/CsvTables.h"

namespace fs = std::filesystem;

namespace {
bool Put(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    const FileResult saved =
        ReplaceFileContents(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!saved.ok())
        std::fprintf(stderr, "FuzzSeeds: cannot write %s: %s\n", path.c_str(), saved.detail.c_str());
    return saved.ok();
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: FuzzSeeds CORPUS_ROOT (writes json/, csv/ and vntx/ under it)\n");
        return 2;
    }
    const fs::path root = argv[1];
    auto c = std::make_unique<Codeplug>();
    BuildDefaultCodeplug(*c);
    bool ok = Put(root / "json" / "default.json", ExportJson(*c).dump(2) + "\n");
    const CsvTable tables[] = {CsvTable::AnalogChannels, CsvTable::DigitalChannels, CsvTable::Contacts,
                               CsvTable::RxGroups};
    for (std::size_t i = 0; i < 4; ++i)
        ok = Put(root / "csv" / ("default-" + std::to_string(i) + ".csv"),
                 std::string(1, static_cast<char>('0' + i)) + ExportCsv(*c, tables[i])) && ok;
    const std::vector<std::uint8_t> bytes = CodeplugToBytes(*c);
    const std::string file(bytes.begin(), bytes.end());
    ok = Put(root / "vntx" / "default.VNTX", file) && ok;
    ok = Put(root / "vntx" / "short.VNTX", file.substr(0, 5000)) && ok;
    SetCount(c->ContactCount, 0xFFFFFFFF);
    SetCount(c->MessageCount, 200);
    c->DigitalChannelCount[0] = 0xFF;
    const std::vector<std::uint8_t> counted = CodeplugToBytes(*c);
    ok = Put(root / "vntx" / "counts.VNTX", std::string(counted.begin(), counted.end())) && ok;
    return ok ? 0 : 1;
}
