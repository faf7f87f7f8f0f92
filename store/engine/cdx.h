#pragma once
// Compound index files (.CDX): a tag directory plus one B-tree per tag, in 512-byte pages with
// compressed leaf keys, as FoxPro 2.x writes them. Keys arrive already encoded (keycodec.h) at
// the tag's fixed key length; equal keys are ordered by ascending record number.

#include "keycodec.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace postavo::engine {

class PageFile;
class IndexTree;
struct IndexLeaf;

struct TagInfo {
    std::string name;        // upper case, up to 10 chars
    std::string keyExpr;     // as stored
    std::string forExpr;     // empty when none
    uint16_t keyLength = 0;
    KeyType keyType = KeyType::Character;  // 'C' pads with blanks, others with 0x00
    bool descending = false;
    bool unique = false;
};

struct KeyEntry {
    std::string key;
    uint32_t recno = 0;
};

// Many keys in one block (keys[i * keyLength ...] belongs to recnos[i]): the cheap way to
// hand a whole table's keys to a bulk build.
struct KeyBlock {
    std::string keys;
    std::vector<uint32_t> recnos;
    bool sorted = false;   // by (key, record), without repeats: set by KeySorter
};

// Sorts key blocks in place by (key, record), dropping repeated pairs (and, for a unique tag,
// all but the first record of each key). It needs no index file, so blocks may be sorted on
// another thread while an index writes others; one sorter reuses its work space block to block.
class KeySorter {
public:
    void sort(KeyBlock& block, std::size_t keyLength, bool unique);

    struct Item {   // sixteen key bytes as two numbers, so most comparisons skip the block
        uint64_t p0, p1;
        uint32_t rec;
        uint32_t index;
    };

private:
    std::vector<Item> items_;
};

// The stored file does not say which type a tag's keys have, yet the padding byte of the
// compressed leaves depends on it. The table knows (it compiles the key expression); when it
// passes no resolver a guess is made from the key length and expression text.
using KeyTypeResolver = std::function<KeyType(const TagInfo&)>;

// Walks one tag in its logical order (a DESCENDING tag backwards). Valid while its index is
// open; stays usable across inserts and deletes (it finds its entry again).
class IndexCursor {
public:
    IndexCursor(IndexTree* tree, bool descending);
    ~IndexCursor();
    bool first();
    bool last();
    bool next();
    bool prev();
    // Positions on the first entry whose key starts with `key` (a prefix compare for a key
    // shorter than the tag key; a longer key is cut). Returns found. When not found, the cursor
    // stands on the next entry in the tag's order (soft seek), or is invalid past the end.
    bool seek(std::string_view key);
    bool seekEntry(std::string_view key, uint32_t recno);  // exact (key, recno)
    bool valid() const { return valid_; }
    std::string_view key() const;
    uint32_t recno() const;

private:
    bool storedFirst();
    bool storedLast();
    bool stepForward();    // in stored (ascending) order
    bool stepBackward();
    bool settleForward();  // from a (leaf, index) that may lie past the leaf's end
    void remember();
    bool stale() const;

    IndexTree* tree_;
    bool descending_;
    bool valid_ = false;
    uint64_t version_ = 0;
    std::unique_ptr<IndexLeaf> leaf_;
    std::size_t index_ = 0;
    std::string curKey_;
    uint32_t curRec_ = 0;
};

class CompoundIndex {
public:
    static std::unique_ptr<CompoundIndex> open(const std::string& path, bool readOnly,
                                               const KeyTypeResolver& keyTypes = {});
    static std::unique_ptr<CompoundIndex> create(const std::string& path);  // empty, no tags
    ~CompoundIndex();  // writes changed pages (errors are lost: call flush() first)

    const std::string& path() const;
    std::size_t tagCount() const { return tags_.size(); }
    const TagInfo& tag(std::size_t i) const;           // creation order
    int findTag(std::string_view name) const;          // case-insensitive, -1 when absent
    void setKeyType(std::size_t tag, KeyType type);    // see KeyTypeResolver

    // Bulk build of a new tag from unsorted entries (sorts them; a UNIQUE tag keeps the lowest
    // record number per key). progress(percent) may be empty.
    void addTag(const TagInfo& info, std::vector<KeyEntry> entries,
                const std::function<void(int)>& progress = {});
    // The same from one block of keys (no string per key).
    void buildTag(const TagInfo& info, KeyBlock keys, const std::function<void(int)>& progress = {});
    // A UNIQUE tag ignores a key it already holds. Both return whether the tag changed.
    bool insertKey(std::size_t tag, std::string_view key, uint32_t recno);
    bool deleteKey(std::size_t tag, std::string_view key, uint32_t recno);

    std::unique_ptr<IndexCursor> cursor(std::size_t tag);
    std::size_t keyCount(std::size_t tag);

    void flush();   // writes changed pages (called at commit/close)
    void sync();    // flush and ask the OS to put them on disk
    std::vector<std::string> check();   // structural problems, empty when sound
    // Unchanged pages beyond this many are dropped from memory at flush (default 64 MB worth).
    void setCacheLimit(uint32_t pages);

private:
    CompoundIndex();
    void readDirectory(const KeyTypeResolver& keyTypes);
    std::size_t checkedTag(std::size_t tag) const;

    std::unique_ptr<PageFile> file_;
    std::unique_ptr<IndexTree> directory_;
    std::vector<TagInfo> tags_;
    std::vector<uint32_t> headers_;
    std::vector<std::unique_ptr<IndexTree>> trees_;
};

} // namespace postavo::engine
