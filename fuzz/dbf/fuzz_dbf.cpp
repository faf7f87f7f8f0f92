// DBF header and records (and a memo file beside them): opening, reading, checking and a
// few writes never crash or read out of bounds, whatever the bytes.
// Input: 2 bytes little-endian length of the DBF part, the DBF bytes, then the memo file.
#include "fuzz_support.h"

#include <cstdint>
#include <sys/stat.h>

using namespace postavo::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    std::size_t dbfLength = std::size_t(data[0] | (data[1] << 8));
    data += 2;
    size -= 2;
    if (dbfLength > size)
        dbfLength = size;
    const std::string dir = fuzzdbf::scratch();
    const std::string dbf = dir + "/t.dbf", fpt = dir + "/t.fpt", dbt = dir + "/t.dbt";
    fuzzdbf::writeFile(dbf, data, dbfLength);
    fuzzdbf::writeFile(fpt, data + dbfLength, size - dbfLength);
    fuzzdbf::writeFile(dbt, data + dbfLength, size - dbfLength);
    ::unlink((dir + "/t.cdx").c_str());
    try {
        auto t = Table::open(dbf, OpenMode::ReadOnly);
        fuzzdbf::readAll(*t);
        (void)t->check();
    } catch (const EngineError&) {
    }
    auto lay = [&] {
        fuzzdbf::writeFile(dbf, data, dbfLength);
        fuzzdbf::writeFile(fpt, data + dbfLength, size - dbfLength);
        fuzzdbf::writeFile(dbt, data + dbfLength, size - dbfLength);
        ::unlink((dir + "/t.cdx").c_str());
    };
    // Every operation that rewrites a table or builds its index, each on the damaged files.
    for (int step = 0; step < 3; ++step) {
        if (step > 0)
            lay();
        try {
            auto t = Table::open(dbf, OpenMode::Exclusive);
            t->setDeletedHidden(true);
            fuzzdbf::readAll(*t);
            if (t->recCount() > 200)
                continue;
            if (step == 0) {
                if (t->recCount() > 0) {
                    t->go(1);
                    t->deleteRecord();
                }
                t->pack();
            } else if (step == 1) {
                const auto& f = t->fields();
                if (!f.empty())
                    t->indexTag({"FIRST", f.front().name});
                t->reindex();
            } else {
                t->zap();
            }
            fuzzdbf::readAll(*t);
            t->close();
        } catch (const EngineError&) {
        }
    }
    return 0;
}
