#pragma once
// What every display-free test starts from: GoogleTest, scratch folders, whole files and the
// default codeplug.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "data/DefaultCodeplug.h"

namespace testfiles {

namespace fs = std::filesystem;

inline const fs::path kDefaultFile = fs::path(ZR740_SOURCE_DIR) / "data" / "Default.VNTX";

// A folder of its own under the temporary folder, removed with the object.
struct TempDir {
    fs::path path = fs::temp_directory_path() / ("zr740-test-" + std::to_string(std::random_device{}()));
    TempDir() { fs::create_directories(path); }
    ~TempDir()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path operator/(const fs::path& name) const { return path / name; }
};

inline std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteText(const fs::path& path, std::string_view text) { std::ofstream(path, std::ios::binary) << text; }

inline std::unique_ptr<Codeplug> DefaultCodeplug()
{
    auto c = std::make_unique<Codeplug>();
    BuildDefaultCodeplug(*c);
    return c;
}

}  // namespace testfiles
