// Imports of the desktop program: what the file holds is judged before anything changes, and no
// file, however damaged, throws or changes the codeplug unless it imports whole.
#include "tests/core/TestFiles.h"

#include "app/TextExchange.h"
#include "forms/CodeplugJson.h"

using Status = ImportOutcome::Status;
using testfiles::DefaultCodeplug;

TEST(ImportText, TheBytesAreJudgedBeforeTheTable)
{
    const struct { const char* name; std::string bytes; ExchangeKind kind; Status status; } cases[] = {
        {"nothing", "", ExchangeKind::ContactsCsv, Status::Empty},
        {"bom and blanks", "\xEF\xBB\xBF \r\n\t", ExchangeKind::WholeJson, Status::Empty},
        {"nul", std::string("No.\0", 4), ExchangeKind::AnalogCsv, Status::Binary},
        {"gbk", "No.,\xC3\xFB\xB3\xC6\r\n", ExchangeKind::ContactsCsv, Status::NotUtf8},
        {"cut utf-8", "No.,\xE5\x90", ExchangeKind::ContactsCsv, Status::NotUtf8},
        {"overlong", "No.,\xC0\xAF", ExchangeKind::ContactsCsv, Status::NotUtf8},
        {"surrogate", "No.,\xED\xA0\x80", ExchangeKind::ContactsCsv, Status::NotUtf8},
        {"chinese", "No.,名称\r\n", ExchangeKind::ContactsCsv, Status::Refused},
        {"json cut", "{\"format\": \"zr740 codeplug\",", ExchangeKind::WholeJson, Status::NotJson},
        {"json of another kind", "[1, 2]", ExchangeKind::WholeJson, Status::Refused},
        {"format a number", "{\"format\": 1}", ExchangeKind::WholeJson, Status::Refused},
        // Nesting is measured before the parser runs: 64 levels are read, 65 and more refused.
        {"nested 64 deep", std::string(64, '[') + std::string(64, ']'), ExchangeKind::WholeJson, Status::Refused},
        {"nested 65 deep", std::string(65, '[') + std::string(65, ']'), ExchangeKind::WholeJson, Status::NotJson},
        {"nested 50000 deep", "{\"a\":" + std::string(50000, '[') + std::string(50000, ']') + "}",
         ExchangeKind::WholeJson, Status::NotJson},
        {"brackets in a string", "{\"a\": \"\\\"" + std::string(100, '[') + "\"}", ExchangeKind::WholeJson,
         Status::Refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = DefaultCodeplug();
        const auto before = CodeplugToBytes(*image);
        const ImportOutcome outcome = ImportText(c.bytes, c.kind, *image);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.problems.empty(), c.status != Status::Refused);
        EXPECT_EQ(CodeplugToBytes(*image), before);
    }
    auto image = DefaultCodeplug();
    const ImportOutcome cut = ImportText("{\n\"a\": ", ExchangeKind::WholeJson, *image);
    EXPECT_NE(cut.detail.find("line 2"), std::string::npos) << cut.detail;
}

TEST(ImportText, ExportsComeBackAndDamagedDocumentsNeverThrow)
{
    auto image = DefaultCodeplug();
    const auto before = CodeplugToBytes(*image);
    for (const ExchangeKind kind : kExchangeKinds) {
        if (PreviewsImport(kind))
            continue;  // other programs' formats: their own tests
        ASSERT_TRUE(ImportText(ExportText(*image, kind), kind, *image).imported()) << ExchangeSuffix(kind);
        ASSERT_EQ(CodeplugToBytes(*image), before) << ExchangeSuffix(kind);
    }

    // Every leaf of the document replaced, one at a time at random, by a value of another type.
    const JsonDocument document = ExportJson(*image);
    const JsonDocument flat = document.flatten();
    std::vector<std::string> leaves;
    for (const auto& [pointer, value] : flat.items())
        leaves.push_back(pointer);
    const JsonDocument replacements[] = {nullptr, -1, 4294967296.5, "", "0x", JsonDocument::array({1, "a"}),
                                         JsonDocument::object({{"x", 1}}), true};
    std::mt19937 rng(2026);
    for (int round = 0; round < 80; ++round) {
        JsonDocument damaged = document;
        for (int n = 0; n < 3; ++n)
            damaged[JsonDocument::json_pointer(leaves[rng() % leaves.size()])] = replacements[rng() % std::size(replacements)];
        const std::string text = damaged.dump();
        auto target = DefaultCodeplug();
        ImportOutcome outcome;
        ASSERT_NO_THROW(outcome = ImportText(text, ExchangeKind::WholeJson, *target)) << text.substr(0, 200);
        if (!outcome.imported()) {
            ASSERT_EQ(CodeplugToBytes(*target), before);
        }
    }
}
