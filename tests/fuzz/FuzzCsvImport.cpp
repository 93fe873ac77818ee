// Fuzz target: the four CSV tables, as zr740 import --table and File › Import read them. The
// first byte chooses the table (0 analog, 1 digital, 2 contacts, 3 receive group lists), the
// rest is the file.
// Whatever the bytes, the import ends imported or refused; a refused import leaves the codeplug
// exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "codeplug/CodeplugFile.h"
#include "app/TextExchange.h"
#include "tests/fuzz/FuzzStart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const ExchangeKind kind = kExchangeKinds[1 + data[0] % 4];  // the four tables follow the JSON
    auto codeplug = std::make_unique<Codeplug>(StartCodeplug());
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (!ImportText(text, kind, *codeplug).imported() &&
        CodeplugToBytes(*codeplug) != CodeplugToBytes(StartCodeplug()))
        std::abort();  // a refused import changed the codeplug
    return 0;
}
