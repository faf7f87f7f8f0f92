#pragma once
// Helpers shared by the index tests: scratch folders, the sample tag dumps, tiny DBF files.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace indextest {

inline std::filesystem::path scratchDir(const std::string& name)
{
    const char* base = std::getenv("POSTAVO_TEST_TMP");
    std::filesystem::path dir = std::filesystem::path(base ? base : "/tmp") / ("index-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::filesystem::path samplesDir()
{
    return std::filesystem::path(POSTAVO_SOURCE_DIR) / "tests" / "data" / "xbase";
}

struct DumpTag {
    int number = 0;
    std::string name, key, forExpr;
    char keyType = 'C';
    int keySize = 0;
    bool descending = false, unique = false;
    std::vector<uint32_t> all;
};

// The TAG blocks of a *.tagdump.txt file.
inline std::vector<DumpTag> readTagDump(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::vector<DumpTag> tags;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("TAG ", 0) == 0) {
            DumpTag t;
            std::istringstream s(line.substr(4));
            s >> t.number >> t.name;
            tags.push_back(t);
            continue;
        }
        if (tags.empty())
            continue;
        DumpTag& t = tags.back();
        std::string trimmed = line.substr(line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' '));
        if (trimmed.rfind("key=", 0) == 0)
            t.key = trimmed.substr(4);
        else if (trimmed.rfind("for=", 0) == 0)
            t.forExpr = trimmed.substr(4);
        else if (trimmed.rfind("keytype=", 0) == 0) {
            std::istringstream s(trimmed);
            std::string w;
            while (s >> w) {
                if (w.rfind("keytype=", 0) == 0)
                    t.keyType = w[8];
                else if (w.rfind("keysize=", 0) == 0)
                    t.keySize = std::stoi(w.substr(8));
                else if (w.rfind("descend=", 0) == 0)
                    t.descending = w[8] == 'Y';
                else if (w.rfind("unique=", 0) == 0)
                    t.unique = w[7] == 'Y';
            }
        } else if (trimmed.rfind("ALL", 0) == 0) {
            std::istringstream s(trimmed.substr(3));
            uint32_t r;
            while (s >> r)
                t.all.push_back(r);
        }
    }
    return tags;
}

inline std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A DBF read by hand: enough to fetch character fields for key checks.
struct HandDbf {
    std::string bytes;
    uint32_t records = 0;
    uint16_t headerLength = 0, recordLength = 0;
    struct Field {
        std::string name;
        char type;
        uint32_t offset;
        uint8_t length;
    };
    std::vector<Field> fields;

    explicit HandDbf(const std::filesystem::path& p) : bytes(readFile(p))
    {
        auto u8 = [&](size_t o) { return static_cast<uint8_t>(bytes[o]); };
        records = u8(4) | (u8(5) << 8) | (u8(6) << 16) | (static_cast<uint32_t>(u8(7)) << 24);
        headerLength = static_cast<uint16_t>(u8(8) | (u8(9) << 8));
        recordLength = static_cast<uint16_t>(u8(10) | (u8(11) << 8));
        uint32_t off = 1;
        for (size_t o = 32; o + 32 <= headerLength && u8(o) != 0x0D; o += 32) {
            Field f;
            f.name = std::string(bytes.data() + o, 11).c_str();
            f.type = bytes[o + 11];
            f.length = u8(o + 16);
            f.offset = off;
            off += f.length;
            fields.push_back(f);
        }
    }
    std::string field(uint32_t recno, const std::string& name) const
    {
        for (const Field& f : fields)
            if (f.name == name)
                return bytes.substr(headerLength + static_cast<size_t>(recno - 1) * recordLength + f.offset, f.length);
        return {};
    }
};

} // namespace indextest
