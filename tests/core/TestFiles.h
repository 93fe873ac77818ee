#pragma once
// What every display-free test starts from: GoogleTest, the codeplug and its file, bytes written
// in hex, scratch folders, whole files and the default codeplug.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/CodeplugFile.h"
#include "codeplug/Records.h"
#include "data/DefaultCodeplug.h"

// Bytes written as hex pairs separated by blanks: Hex("84 A9 61").
inline std::vector<std::uint8_t> Hex(const std::string& text)
{
    std::vector<std::uint8_t> out;
    std::istringstream in(text);
    for (std::string byte; in >> byte;)
        out.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    return out;
}

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

struct Ran { int exitCode = -1; std::string out; };

// A command run by /bin/sh to its end, with what it wrote to standard output.
inline Ran Shell(const std::string& command)
{
    Ran ran;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            ran.out.append(buffer, n);
        const int status = pclose(pipe);
        ran.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return ran;
}

// The zr740 tool run with the given arguments (quoted by the caller), its errors left out.
inline Ran Zr740(const std::string& args) { return Shell("'" ZR740_PROGRAM_DIR "/zr740' " + args + " 2>/dev/null"); }

inline std::unique_ptr<Codeplug> DefaultCodeplug()
{
    auto c = std::make_unique<Codeplug>();
    BuildDefaultCodeplug(*c);
    return c;
}

}  // namespace testfiles
