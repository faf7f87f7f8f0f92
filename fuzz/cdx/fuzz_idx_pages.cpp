// Single (compact) index page walk on arbitrary bytes.
#include "fuzz_index_common.h"
#include "idx.h"

using namespace postavo::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 256 * 1024)
        return 0;
    static const std::string path = fuzzindex::tempPath(".idx");
    if (!fuzzindex::writeInput(path, data, size))
        return 0;
    try {
        auto ix = SingleIndex::open(path, false);
        auto c = ix->cursor();
        fuzzindex::walk(*c);
        ix->keyCount();
        ix->check();
        for (uint32_t r = 1; r <= 40; ++r) {
            std::string k(ix->tag().keyLength, static_cast<char>('A' + r % 26));
            ix->insertKey(k, r);
        }
        fuzzindex::walk(*c);
        for (uint32_t r = 1; r <= 40; r += 2)
            ix->deleteKey(std::string(ix->tag().keyLength, static_cast<char>('A' + r % 26)), r);
        fuzzindex::walk(*c);
        ix->flush();
    } catch (const EngineError&) {
    }
    return 0;
}
