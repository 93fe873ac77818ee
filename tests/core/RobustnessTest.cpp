// Random and damaged input must never crash, hang or read outside a table: files through the
// loader, the description and both printers; texts through the encodings.
#include "tests/core/TestFiles.h"

#include <nlohmann/json.hpp>

#include "forms/Describe.h"
#include "forms/DescribeFormat.h"
#include "forms/channels/Encodings.h"

TEST(Robustness, RandomTruncatedAndDamagedFilesLoadOrAreRefusedAndDescribeSafely)
{
    std::mt19937 rng(740);
    const auto defaultBytes = CodeplugToBytes(*testfiles::DefaultCodeplug());
    const testfiles::TempDir dir;
    const auto path = dir / "damaged.VNTX";
    for (int round = 0; round < 200; ++round) {
        const int kind = round % 4;  // random length, truncated, damaged, random at full length
        std::vector<std::uint8_t> bytes = defaultBytes;
        if (kind < 2)
            bytes.resize(rng() % (kind == 0 ? kCodeplugFileBytes + 2000 : kCodeplugFileBytes));
        for (auto& b : bytes)
            b = kind == 0 || kind == 3 ? static_cast<std::uint8_t>(rng()) : b;
        // A few damaged bytes keep most records meaningful, so references and counts are hit.
        for (int n = kind == 2 ? 1 + static_cast<int>(rng() % 40) : 0; n > 0; --n)
            bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0xFF : rng());
        testfiles::WriteText(path, std::string(bytes.begin(), bytes.end()));
        Codeplug cp;
        const FileResult result = LoadCodeplugFile(cp, path);
        ASSERT_EQ(result.loaded(), bytes.size() >= kCodeplugFileBytes) << round;
        if (!result.loaded())
            continue;
        for (const DescNode& tree : {DescribeCodeplug(cp), DescribeSummary(cp)}) {
            ASSERT_FALSE(FormatText(tree).empty());
            ASSERT_TRUE(nlohmann::json::accept(FormatJson(tree))) << round;
        }
    }
}

TEST(Robustness, EncodingsTakeAnyText)
{
    std::mt19937 rng(4242);
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 40, '\0');
        for (auto& c : text)
            c = static_cast<char>(round % 2 == 0 ? rng() : "0123456789. 中"[rng() % 15]);
        const std::uint32_t hz = TextToFrequency(NormaliseFrequencyText(text, static_cast<std::uint8_t>(rng() % 8)));
        ASSERT_TRUE(hz == 0 || (hz >= 350000000 && hz <= 480000000)) << text;
        TextToFrequency(text);
        ToneFromText(text, true);

        std::array<std::uint8_t, 36> field{};
        const std::uint8_t length = EncodeAlias(text, field);
        ASSERT_TRUE(nlohmann::json::accept(JsonQuote(DecodeAlias(length, field))));
        for (auto& b : field)
            b = static_cast<std::uint8_t>(rng());
        const std::size_t width = rng() % 37;
        ASSERT_TRUE(nlohmann::json::accept(JsonQuote(DecodeAlias(static_cast<std::uint8_t>(rng()), std::span(field).first(width)))));
        DecodeContactName(field);
    }
}
