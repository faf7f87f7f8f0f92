#pragma once
// Scratch folders and small helpers shared by the engine tests.

#include "recordengine.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace enginetest {

namespace fs = std::filesystem;

// A fresh folder under POSTAVO_TEST_TMP (or /tmp), unique per test program and process.
inline std::string scratchDir(const std::string& name)
{
    const char* base = std::getenv("POSTAVO_TEST_TMP");
    fs::path dir = fs::path(base && *base ? base : "/tmp") / ("engine-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

inline std::vector<unsigned char> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Copies a sample table (dbf, fpt, cdx) of tests/data/xbase into `dir`; returns the new .dbf path.
inline std::string copySample(const std::string& name, const std::string& dir)
{
    const fs::path src = fs::path(POSTAVO_SOURCE_DIR) / "tests" / "data" / "xbase";
    for (const char* ext : {".dbf", ".fpt", ".cdx"}) {
        const fs::path from = src / (name + ext);
        if (fs::exists(from)) {
            fs::copy_file(from, fs::path(dir) / (name + ext), fs::copy_options::overwrite_existing);
            fs::permissions(fs::path(dir) / (name + ext), fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::add);
        }
    }
    return (fs::path(dir) / (name + ".dbf")).string();
}

// Runs a shell command; returns its exit status and fills `output` with its stdout.
inline int run(const std::string& command, std::string* output = nullptr)
{
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = ::pclose(p);
    if (output)
        *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::vector<postavo::engine::FieldSpec> addressLikeFields()
{
    return {{"NAME", 'C', 20, 0}, {"PRICE", 'N', 8, 2}, {"ACTIVE", 'L', 1, 0},
            {"SOLD", 'D', 8, 0},  {"NOTES", 'M', 10, 0}};
}

} // namespace enginetest
