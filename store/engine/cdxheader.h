#pragma once
// The 1024-byte header that starts a compact index (.IDX), a compound index (.CDX) and each
// of its tags: root pointer, free list, key length, options, order and the expression pool.

#include "cdx.h"

#include <cstdint>

namespace postavo::engine {

class PageFile;

namespace indexopt {
constexpr uint8_t kUnique = 0x01;
constexpr uint8_t kHasFor = 0x08;
constexpr uint8_t kCompact = 0x20;
constexpr uint8_t kCompound = 0x40;
// Marks the tag directory's header (offset 0 of a compound file). Other engines tell the
// directory from an ordinary tag by this bit; on a tag header it would be wrong.
constexpr uint8_t kStructural = 0x80;
} // namespace indexopt

// Writes the two header pages at `offset` with FoxPro's documented values (free list -1).
void writeIndexHeader(PageFile& file, uint32_t offset, const TagInfo& info, uint8_t options,
                      uint32_t root);
// Reads name-less tag information; throws Corrupt for impossible values.
TagInfo readIndexHeader(PageFile& file, uint32_t offset, uint8_t& options);
// The key type a tag probably has when the table does not say.
KeyType guessKeyType(const TagInfo& info);
inline uint8_t padFor(KeyType t) { return t == KeyType::Character ? ' ' : 0; }
// Checks a tag description a caller wants to create; throws Usage.
void validateNewTag(const std::string& file, const TagInfo& info, bool needName);

} // namespace postavo::engine
