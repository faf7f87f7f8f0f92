#pragma once
// Shared by the index fuzz targets: the input becomes an index file, which is then opened,
// walked both ways, sought, checked, changed and flushed. Only EngineError may come out.

#include "cdx.h"
#include "engine_error.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace fuzzindex {

inline std::string tempPath(const char* ext)
{
    return "/tmp/postavo-fuzz-" + std::to_string(::getpid()) + ext;
}

inline bool writeInput(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    return ok;
}

inline void walk(postavo::engine::IndexCursor& c)
{
    size_t n = 0;
    for (bool ok = c.first(); ok && n < 2000000; ok = c.next())
        ++n;
    if (n >= 2000000)
        __builtin_trap();   // a walk that does not end
    n = 0;
    for (bool ok = c.last(); ok && n < 2000000; ok = c.prev())
        ++n;
    if (n >= 2000000)
        __builtin_trap();
    c.seek("M");
    c.seek(std::string("\x80\x00", 2));
    if (c.valid())
        c.next();
}

} // namespace fuzzindex
