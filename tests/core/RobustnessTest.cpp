// Random and damaged input must never crash, hang or read outside a table: files through the
// loader, images through the description and both printers, texts through the encodings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "codeplug/CodeplugFile.h"
#include "codeplug/Describe.h"
#include "codeplug/DescribeFormat.h"
#include "data/DefaultCodeplug.h"
#include "forms/channels/Encodings.h"
#include "JsonCheck.h"

namespace fs = std::filesystem;

namespace {

void DescribeEverything(const Codeplug& cp)
{
    for (const DescNode& tree : {DescribeCodeplug(cp), DescribeSummary(cp)}) {
        const std::string text = FormatText(tree);
        ASSERT_FALSE(text.empty());
        ASSERT_TRUE(JsonCheck::Valid(FormatJson(tree)));
    }
}

}  // namespace

TEST(Robustness, RandomAndTruncatedFilesLoadOrAreRefused)
{
    std::mt19937 rng(740);
    Codeplug good;
    BuildDefaultCodeplug(good);
    const auto defaultBytes = CodeplugToBytes(good);
    const fs::path path = fs::temp_directory_path() / ("zr740-fuzz-" + std::to_string(std::random_device{}()) + ".VNTX");
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes;
        if (round % 2 == 0) {
            bytes.resize(rng() % (kCodeplugFileBytes + 2000));
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(rng());
        } else {
            bytes.assign(defaultBytes.begin(), defaultBytes.begin() + static_cast<std::ptrdiff_t>(rng() % (kCodeplugFileBytes + 1)));
        }
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        Codeplug cp;
        const FileResult result = LoadCodeplugFile(cp, path);
        ASSERT_EQ(result.loaded(), bytes.size() >= kCodeplugFileBytes) << round;
        if (result.loaded())
            DescribeEverything(cp);
    }
    fs::remove(path);
}

TEST(Robustness, RandomAndMutatedImagesDescribeSafely)
{
    std::mt19937 rng(11279);
    Codeplug base;
    BuildDefaultCodeplug(base);
    const auto defaultBytes = CodeplugToBytes(base);
    for (int round = 0; round < 150; ++round) {
        std::vector<std::uint8_t> bytes = defaultBytes;
        if (round % 3 == 0) {
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(rng());
        } else {
            // A few damaged bytes keep most records meaningful, so references and counts are hit.
            for (int n = 1 + static_cast<int>(rng() % 40); n > 0; --n)
                bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0xFF : rng());
        }
        Codeplug cp;
        CodeplugFromBytes(cp, bytes);
        DescribeEverything(cp);
    }
}

TEST(Robustness, EncodingsTakeAnyText)
{
    std::mt19937 rng(4242);
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 40, '\0');
        for (auto& c : text)
            c = static_cast<char>(round % 2 == 0 ? rng() : "0123456789. 中"[rng() % 15]);
        const std::string normal = NormaliseFrequencyText(text, static_cast<std::uint8_t>(rng() % 8));
        const std::uint32_t hz = TextToFrequency(normal);
        ASSERT_TRUE(hz == 0 || (hz >= 350000000 && hz <= 480000000)) << normal;
        TextToFrequency(text);

        std::array<std::uint8_t, 36> field{};
        const std::uint8_t length = EncodeAlias(text, field);
        ASSERT_TRUE(JsonCheck::Valid(JsonQuote(DecodeAlias(length, field))));
        for (auto& b : field)
            b = static_cast<std::uint8_t>(rng());
        const std::size_t width = rng() % 37;
        ASSERT_TRUE(JsonCheck::Valid(JsonQuote(DecodeAlias(static_cast<std::uint8_t>(rng()), std::span(field).first(width)))));
        DecodeContactName(field);
        ToneFromText(text, true);
    }
}
