// FPT memo files: a sound table whose memo pointers and memo file come from the input.
// Input: 3 x 2 bytes of memo block numbers, then the memo file's bytes.
#include "fuzz_support.h"

#include <cstdint>
#include <cstring>
#include <vector>

using namespace postavo::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6)
        return 0;
    const std::string dir = fuzzdbf::scratch();
    const std::string dbf = dir + "/m.dbf", fpt = dir + "/m.fpt";
    static std::vector<unsigned char> base;
    if (base.empty()) {
        // The table's bytes: one C field and one memo field, three records.
        Table::create(dbf, {{"NAME", 'C', 4, 0}, {"NOTES", 'M', 10, 0}});
        {
            auto t = Table::open(dbf, OpenMode::Exclusive);
            for (int i = 0; i < 3; ++i) {
                t->appendBlank();
                t->replace("NAME", "abcd");
            }
        }
        FILE* f = std::fopen(dbf.c_str(), "rb");
        unsigned char buf[4096];
        std::size_t n = std::fread(buf, 1, sizeof buf, f);
        std::fclose(f);
        base.assign(buf, buf + n);
    }
    std::vector<unsigned char> table = base;
    const std::size_t hl = std::size_t(table[8] | (table[9] << 8));
    const std::size_t rl = std::size_t(table[10] | (table[11] << 8));
    for (int i = 0; i < 3; ++i) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%10u", unsigned(data[2 * i] | (data[2 * i + 1] << 8)));
        std::memcpy(&table[hl + std::size_t(i) * rl + 5], digits, 10);
    }
    fuzzdbf::writeFile(dbf, table.data(), table.size());
    fuzzdbf::writeFile(fpt, data + 6, size - 6);
    ::unlink((dir + "/m.cdx").c_str());
    try {
        auto t = Table::open(dbf, OpenMode::Exclusive);
        fuzzdbf::readAll(*t);
        (void)t->check();
        t->go(2);
        t->replace("NOTES", "a new memo that is written at the memo file's next free block");
        (void)t->getMemo("NOTES");
        t->close();
        // Pack copies every kept record's memo to a new memo file.
        t = Table::open(dbf, OpenMode::Exclusive);
        t->go(1);
        t->deleteRecord();
        t->pack();
        fuzzdbf::readAll(*t);
        t->close();
    } catch (const EngineError&) {
    }
    return 0;
}
