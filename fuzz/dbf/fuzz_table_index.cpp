// A table with a damaged production index: opening it, reading it in every order, and the
// operations that rebuild the index (reindex, pack, zap, adding a tag) never crash, and leave
// either a sound index or none.
// Input: 1 byte of switches (bit 0: the table's header says index changes were left unfinished;
// bit 1: the header announces an index), then the index file. The table itself is fixed: the
// fields of the keys sample with ten records.
#include "fuzz_support.h"

#include <cstdint>
#include <functional>
#include <vector>

using namespace postavo::engine;

namespace {

const std::string& templateDir()
{
    static const std::string dir = [] {
        const std::string d = fuzzdbf::scratch() + "/template";
        ::mkdir(d.c_str(), 0700);
        Table::create(d + "/t.dbf", {{"DESCRIPT", 'C', 30, 0}, {"PRICE", 'N', 6, 3}, {"QTY", 'N', 5, 0},
                                     {"ACTIVE", 'L', 1, 0}, {"SOLD", 'D', 8, 0}, {"NOTES", 'M', 10, 0}});
        auto t = Table::open(d + "/t.dbf", OpenMode::Exclusive);
        for (int i = 0; i < 10; ++i) {
            t->appendBlank();
            t->replace("DESCRIPT", std::string(1, char('A' + (i * 7) % 10)) + "item " + std::to_string(i));
            t->replaceNumber("PRICE", i * 1.5 - 3);
            t->replaceNumber("QTY", i % 4);
            t->replaceLogical("ACTIVE", i % 3 != 0);
            t->replace("SOLD", i % 5 ? "2024010" + std::to_string(i % 9 + 1) : "");
            if (i % 4 == 0)
                t->replace("NOTES", "memo " + std::to_string(i));
            if (i == 6)
                t->deleteRecord();
        }
        t->close();
        return d;
    }();
    return dir;
}

std::vector<unsigned char> slurp(const std::string& path)
{
    std::vector<unsigned char> b;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            b.insert(b.end(), buf, buf + n);
        std::fclose(f);
    }
    return b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 256 * 1024)
        return 0;
    static const std::vector<unsigned char> dbfBytes = slurp(templateDir() + "/t.dbf");
    static const std::vector<unsigned char> fptBytes = slurp(templateDir() + "/t.fpt");
    const std::string dir = fuzzdbf::scratch();
    const std::string dbf = dir + "/x.dbf";
    auto lay = [&] {
        std::vector<unsigned char> table = dbfBytes;
        table[14] = data[0] & 1;
        table[28] = (data[0] & 2) ? 0x01 : 0x00;
        fuzzdbf::writeFile(dbf, table.data(), table.size());
        fuzzdbf::writeFile(dir + "/x.fpt", fptBytes.data(), fptBytes.size());
        fuzzdbf::writeFile(dir + "/x.cdx", data + 1, size - 1);
        ::unlink((dir + "/x.cdx.tmp").c_str());
    };
    // Each operation with whether it rebuilds every tag (and so must leave a sound index).
    const std::vector<std::pair<std::function<void(Table&)>, bool>> rebuilds = {
        {[](Table& t) { t.reindex(); }, true},
        {[](Table& t) { t.pack(); }, true},
        {[](Table& t) { t.zap(); }, true},
        {[](Table& t) { t.indexTag({"FUZZ", "UPPER(DESCRIPT)+STR(QTY)"}); }, false},
    };
    for (const auto& [rebuild, wholeIndex] : rebuilds) {
        lay();
        try {
            auto t = Table::open(dbf, OpenMode::Exclusive);
            t->setDeletedHidden(true);
            for (std::size_t order = 0; order <= t->tagCount() && order < 12; ++order) {
                try {
                    t->setOrder(int(order));
                    fuzzdbf::readAll(*t);
                } catch (const EngineError&) {
                }
            }
            rebuild(*t);
            fuzzdbf::readAll(*t);
            if (wholeIndex && !t->check().empty())
                __builtin_trap();   // a rebuilt index must be sound
            t->close();
        } catch (const EngineError&) {
        }
    }
    return 0;
}
