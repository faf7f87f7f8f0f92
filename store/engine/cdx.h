#pragma once
// Compound index files (.CDX): a tag directory plus one B-tree per tag, in 512-byte pages with
// compressed leaf keys, as FoxPro 2.x writes them. Keys arrive already encoded (keycodec.h) at
// the tag's fixed key length; equal keys are ordered by ascending record number.

#include "cdxtree.h"
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
// hand a whole table's keys to a bulk build. clear() keeps the memory for the next block.
struct KeyBlock {
    std::string keys;
    std::vector<uint32_t> recnos;
    std::vector<SortedKey> sorted;   // every entry in (key, record) order: set by KeySorter
    bool isSorted = false;
    EncodedLeaves leaves;            // set by KeySorter::prepare
    bool isEncoded = false;
    void clear()
    {
        keys.clear();
        recnos.clear();
        sorted.clear();
        isSorted = false;
        leaves.clear();
        isEncoded = false;
    }
};

// Sorts a key block by (key, record) without moving its keys: the order goes to `sorted`.
// It needs no index file, so blocks may be sorted on other threads while an index writes
// others. `pad` is the tag's padding byte (keys made only of a short head and padding are
// then written from the sorted entries alone).
struct TagInfo;

class KeySorter {
public:
    static void sort(KeyBlock& block, std::size_t keyLength, uint8_t pad);
    // Sorts (in this sorter's own work space) and encodes the leaves of a tag, so that building
    // it is left little to do; the block's `sorted` stays empty.
    void prepare(KeyBlock& block, const TagInfo& tag);
    // Sorts a block in this sorter's work space and returns the entries in (key, record) order
    // (valid until the sorter is next used); writeSortedKey() gives each one's key.
    const std::vector<SortedKey>& order(const KeyBlock& block, const TagInfo& tag);

private:
    static void sortInto(const KeyBlock& block, std::size_t keyLength, uint8_t pad, std::vector<SortedKey>& items,
                         std::vector<SortedKey>& spare);
    std::vector<SortedKey> items_, spare_;
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
    // Positions on the smallest stored key that starts with or follows `key` (in a DESCENDING
    // tag, the last entry in the tag's order not below `key`); false when there is none.
    bool seekStoredFrom(std::string_view key);
    bool valid() const { return valid_; }
    std::string_view key() const;
    uint32_t recno() const;

private:
    bool storedEdge(bool last);
    bool step(bool forward);     // in stored (ascending) order
    bool settle(bool forward);   // from a (leaf, index) that may lie past an end of the leaf
    void remember();
    void materialize();    // decodes the leaf a seek left undecoded
    bool stale() const;

    IndexTree* tree_;
    bool descending_;
    bool valid_ = false;
    uint64_t version_ = 0;
    std::unique_ptr<IndexLeaf> leaf_;
    std::size_t index_ = 0;
    bool lazy_ = false;        // leaf_ not yet decoded from lazyPage_ (the entry is in curKey_)
    uint32_t lazyPage_ = 0;
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
    // The same from one block of keys (no string per key); sorts the block when it is not.
    void buildTag(const TagInfo& info, KeyBlock& keys, const std::function<void(int)>& progress = {});
    // The same from entries handed over in (key, record) order, as a merge of sorted runs gives
    // them, each leaf written as it fills: a tag of any size in a few pages of memory.
    void buildTagStreamed(const TagInfo& info, const IndexTree::EntrySource& next);
    // A UNIQUE tag ignores a key it already holds. Both return whether the tag changed.
    bool insertKey(std::size_t tag, std::string_view key, uint32_t recno);
    bool deleteKey(std::size_t tag, std::string_view key, uint32_t recno);
    // The key of a record new to the tag: queued, and taken in with the others before the tag
    // is next read or changed, or at flush (see IndexTree::insertLater). A UNIQUE tag takes it
    // in at once.
    void insertNewKey(std::size_t tag, std::string_view key, uint32_t recno);

    std::unique_ptr<IndexCursor> cursor(std::size_t tag);
    std::size_t keyCount(std::size_t tag);

    void flush();   // takes queued keys in and writes changed pages (called at commit/close)
    void sync();    // flush and ask the OS to put them on disk
    std::vector<std::string> check();   // structural problems, empty when sound
    // Unchanged pages beyond this many are dropped from memory at flush (default 256 MB worth).
    void setCacheLimit(uint32_t pages);
    // A file others may have open too: each flush that writes advances the header's change
    // counter, so their cached pages can be seen to be stale.
    void setSharedWriter(bool on);
    uint32_t changeCounter();

private:
    CompoundIndex();
    void readDirectory(const KeyTypeResolver& keyTypes);
    std::size_t checkedTag(std::size_t tag) const;
    void checkNewKey(std::size_t tag, std::string_view key) const;   // throws Usage
    // The checks, header and tree of a tag about to be built; endTag() lists it.
    std::unique_ptr<IndexTree> beginTag(TagInfo& info, uint32_t& header);
    void endTag(TagInfo info, uint32_t header, std::unique_ptr<IndexTree> tree);

    std::unique_ptr<PageFile> file_;
    std::unique_ptr<IndexTree> directory_;
    std::vector<TagInfo> tags_;
    std::vector<uint32_t> headers_;
    std::vector<std::unique_ptr<IndexTree>> trees_;
};

} // namespace postavo::engine
