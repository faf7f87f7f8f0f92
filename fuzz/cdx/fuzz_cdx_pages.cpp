// Compound index page walk on arbitrary bytes.
#include "fuzz_index_common.h"

using namespace postavo::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 256 * 1024)
        return 0;
    static const std::string path = fuzzindex::tempPath(".cdx");
    if (!fuzzindex::writeInput(path, data, size))
        return 0;
    try {
        auto ix = CompoundIndex::open(path, false);
        for (size_t t = 0; t < ix->tagCount(); ++t) {
            auto c = ix->cursor(t);
            fuzzindex::walk(*c);
            ix->keyCount(t);
        }
        ix->check();
        for (size_t t = 0; t < ix->tagCount(); ++t) {
            std::string k(ix->tag(t).keyLength, 'M');
            ix->insertKey(t, k, 5);
            auto c = ix->cursor(t);
            fuzzindex::walk(*c);
            ix->deleteKey(t, k, 5);
            // Queued keys are taken into a damaged tree on the next read.
            for (uint32_t r = 0; r < 40; ++r)
                ix->insertNewKey(t, std::string(ix->tag(t).keyLength, char('A' + r % 26)), 900 + r);
            fuzzindex::walk(*ix->cursor(t));
        }
        ix->addTag({"FUZZ", "X", "", 4, KeyType::Character}, {{"ABCD", 1}, {"ABCE", 2}});
        ix->flush();
    } catch (const EngineError&) {
    }
    return 0;
}
