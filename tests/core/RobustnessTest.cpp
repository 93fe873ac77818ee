// Random text must never crash, hang or read outside a field in the encodings. (Random and
// damaged files go through the loader, the description and its printers in the fuzz targets.)
#include "tests/core/TestFiles.h"

#include <nlohmann/json.hpp>

#include "forms/DescribeFormat.h"
#include "forms/channels/Encodings.h"

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
