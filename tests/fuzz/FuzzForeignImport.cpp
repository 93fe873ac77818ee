// Fuzz target: files of other programs (the first byte chooses: 0 CHIRP CSV, 1 qdmr YAML, 2 DMR
// user list), read into a plan and applied. Whatever the bytes: no crash, an import refused
// leaves the codeplug exactly as it was, and one stored passes the check.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "codeplug/CodeplugFile.h"
#include "forms/CodeplugCheck.h"
#include "forms/foreign/ChirpCsv.h"
#include "forms/foreign/DmrUserCsv.h"
#include "forms/foreign/ImportPlan.h"
#include "forms/foreign/QdmrYaml.h"
#include "tests/fuzz/FuzzStart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const ImportPlan plan = data[0] % 3 == 0   ? ReadChirpCsv(text)
                            : data[0] % 3 == 1 ? ReadQdmrYaml(text)
                                               : ReadDmrUserCsv(text);
    if (!plan.error.empty())
        return 0;
    for (const ImportMode mode : {ImportMode::Append, ImportMode::Replace}) {
        auto codeplug = std::make_unique<Codeplug>(StartCodeplug());
        // Every row chosen when appending (rows that do not fit are listed), the fitting ones else.
        const std::vector<bool> rows =
            mode == ImportMode::Append ? std::vector<bool>(plan.rows.size(), true) : FittingRows(plan, mode, *codeplug);
        const ImportResult result = ApplyPlan(plan, rows, mode, *codeplug);
        if (!result.problems.empty() && CodeplugToBytes(*codeplug) != CodeplugToBytes(StartCodeplug()))
            std::abort();  // a refused import changed the codeplug
        if (result.problems.empty() && CountErrors(CheckCodeplug(*codeplug)) != 0)
            std::abort();  // an import stored what the check calls wrong
    }
    return 0;
}
