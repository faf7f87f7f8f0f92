#pragma once
// The table opens files by name, so each input is written to a private scratch folder first.
#include "recordengine.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzzdbf {

inline std::string scratch()
{
    static const std::string dir = [] {
        // A memory file system where there is one: the tables are synced to disk many times
        // per input, which on a real disk would leave the fuzzer a run or two a second.
        struct stat st {};
        const std::string base = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        std::string d = base + "/postavo-fuzz-dbf-" + std::to_string(::getpid());
        ::mkdir(d.c_str(), 0700);
        return d;
    }();
    return dir;
}

inline void writeFile(const std::string& path, const unsigned char* data, std::size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

// Reads every field of every record (a bounded number) the ways callers do.
inline void readAll(postavo::engine::Table& t)
{
    int budget = 2000;
    for (t.goTop(); !t.eof() && budget-- > 0; t.skip()) {
        for (const auto& f : t.fields()) {
            try {
                (void)t.getString(f.name);
                (void)t.getTrimString(f.name);
                (void)t.isEmpty(f.name);
                (void)t.getLogical(f.name);
                (void)t.getDateString(f.name);
                (void)t.getNumber(f.name);
                if (f.type == 'M')
                    (void)t.getMemo(f.name);
            } catch (const postavo::engine::EngineError&) {
            }
        }
        (void)t.isDeleted();
    }
    for (t.goBottom(); !t.bof() && budget-- > 0; t.skip(-1)) {
    }
}

} // namespace fuzzdbf
