// Fuzz target: the whole codeplug as JSON, as zr740 import and File › Import read it. Whatever the
// bytes, the import ends with the codeplug imported or refused with its problems: no crash, no
// hang, no read or write out of bounds. An import that succeeds must export and import again to
// the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/TextExchange.h"
#include "codeplug/CodeplugFile.h"
#include "forms/CodeplugJson.h"
#include "tests/fuzz/FuzzStart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto codeplug = std::make_unique<Codeplug>(StartCodeplug());
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!ImportText(text, ExchangeKind::WholeJson, *codeplug).imported())
        return 0;
    const std::string exported = ExportText(*codeplug, ExchangeKind::WholeJson);
    auto again = std::make_unique<Codeplug>(StartCodeplug());
    if (!ImportText(exported, ExchangeKind::WholeJson, *again).imported() ||
        CodeplugToBytes(*again) != CodeplugToBytes(*codeplug))
        std::abort();  // what was imported does not come back from its own export
    return 0;
}
