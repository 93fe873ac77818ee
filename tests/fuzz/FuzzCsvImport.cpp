// Fuzz target: the four CSV tables, as zr740 import --table reads them. The first byte chooses
// the table (0 analog, 1 digital, 2 contacts, 3 receive group lists), the rest is the file.
// Whatever the bytes, the import ends imported or refused; a refused import leaves the codeplug
// exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "codeplug/CodeplugFile.h"
#include "data/DefaultCodeplug.h"
#include "forms/CsvTables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const std::unique_ptr<Codeplug> kStart = [] {
        auto c = std::make_unique<Codeplug>();
        BuildDefaultCodeplug(*c);
        return c;
    }();
    static constexpr CsvTable kTables[] = {CsvTable::AnalogChannels, CsvTable::DigitalChannels, CsvTable::Contacts,
                                           CsvTable::RxGroups};
    const CsvTable table = kTables[data[0] % 4];
    auto codeplug = std::make_unique<Codeplug>(*kStart);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (!ImportCsv(text, table, *codeplug).empty() && CodeplugToBytes(*codeplug) != CodeplugToBytes(*kStart))
        std::abort();  // a refused import changed the codeplug
    return 0;
}
