// Fuzz target: files of other programs (the first byte chooses: 0 CHIRP CSV, 1 qdmr YAML, 2 DMR
// user list), read into a plan and applied with every row that fits. Whatever the bytes: no
// crash, and an import refused leaves the codeplug exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "codeplug/CodeplugFile.h"
#include "data/DefaultCodeplug.h"
#include "forms/foreign/ChirpCsv.h"
#include "forms/foreign/DmrUserCsv.h"
#include "forms/foreign/ImportPlan.h"
#include "forms/foreign/QdmrYaml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const std::unique_ptr<Codeplug> kStart = [] {
        auto c = std::make_unique<Codeplug>();
        BuildDefaultCodeplug(*c);
        return c;
    }();
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const ImportPlan plan = data[0] % 3 == 0   ? ReadChirpCsv(text)
                            : data[0] % 3 == 1 ? ReadQdmrYaml(text)
                                               : ReadDmrUserCsv(text);
    if (!plan.error.empty())
        return 0;
    for (const ImportMode mode : {ImportMode::Append, ImportMode::Replace}) {
        auto codeplug = std::make_unique<Codeplug>(*kStart);
        const ImportResult result = ApplyPlan(plan, FittingRows(plan, mode, *codeplug), mode, *codeplug);
        if (!result.problems.empty() && CodeplugToBytes(*codeplug) != CodeplugToBytes(*kStart))
            std::abort();  // a refused import changed the codeplug
    }
    return 0;
}
