#pragma once
// One compact-index B-tree inside a page file: the tree of a .CDX tag, of the .CDX tag
// directory, or of a whole .IDX file. Its header (1024 bytes at `header`) holds the root
// pointer in its first four bytes. Interior pages hold (key, record, child) entries, each the
// greatest entry of its child; leaves hold compressed keys and are chained both ways.

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace postavo::engine {

class PageFile;

// A leaf page, decoded.
struct IndexLeaf {
    uint32_t page = 0, left = 0, right = 0;
    uint16_t attr = 0;
    std::vector<uint8_t> keys;
    std::vector<uint32_t> recs;
    size_t size() const { return recs.size(); }
    const uint8_t* key(size_t i, size_t len) const { return keys.data() + i * len; }
};

// One entry of a bulk build, in sorted order: the key's first sixteen bytes as two big-endian
// numbers (zero past a shorter key), its record, and where the whole key lies in the key block.
// With kWholeInHead set in `index` every key byte past the sixteenth is padding, so the two
// numbers hold the key whole and the block need not be read (sorted keys are read at random).
struct SortedKey {
    static constexpr uint32_t kWholeInHead = 0x80000000u;
    uint64_t p0, p1;
    uint32_t rec;
    uint32_t index;
    uint32_t position() const { return index & ~kWholeInHead; }
};

// Writes the whole key of a sorted entry (keyLength bytes) to `out`, from its head or the block.
inline void writeSortedKey(const SortedKey& item, const uint8_t* keys, size_t keyLength, uint8_t pad, uint8_t* out)
{
    if (item.index & SortedKey::kWholeInHead) {
        for (size_t b = 0; b < keyLength && b < 16; ++b)
            out[b] = static_cast<uint8_t>((b < 8 ? item.p0 : item.p1) >> (56 - 8 * (b & 7)));
        if (keyLength > 16)
            std::memset(out + 16, pad, keyLength - 16);
    } else {
        std::memcpy(out, keys + static_cast<size_t>(item.position()) * keyLength, keyLength);
    }
}

// Ordering of (key, record) pairs: key bytes first, then the record number.
inline int compareEntry(const uint8_t* a, uint32_t ra, const uint8_t* b, uint32_t rb, size_t len)
{
    int c = std::memcmp(a, b, len);
    if (c != 0)
        return c;
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

// A bulk build's leaves, encoded away from the index file (on any thread): `count` pages whose
// sibling links are not yet set, and one interior entry per leaf whose child is the leaf's
// ordinal. IndexTree::adopt() places them in the file.
struct EncodedLeaves {
    std::vector<uint8_t> pages;
    std::vector<uint8_t> upper;
    size_t count = 0;
    void clear()
    {
        pages.clear();
        upper.clear();
        count = 0;
    }
};

// The compressed leaf format for one key length and padding byte.
class LeafCodec {
public:
    LeafCodec(uint16_t keyLength, uint8_t pad);

    // Encodes entries sorted by (key, record) into leaves, each filled as far as it goes. `keys`
    // holds the keys of keyLength bytes that `items` point into. A pair met twice is kept
    // once; with `unique`, only the first record of each key is kept.
    void encodeLeaves(const uint8_t* keys, const SortedKey* items, size_t n, bool unique, EncodedLeaves& out,
                      const std::function<void(int)>& progress = {}) const;

protected:
    // Leaf encoding. Returns false when the keys do not fit one page.
    bool encodeLeaf(const uint8_t* keys, const uint32_t* recs, size_t n, uint16_t attr,
                    uint32_t left, uint32_t right, uint8_t* out, size_t* total = nullptr) const;
    // The same with each key's shared-head and padding counts given (the first key's shared
    // count is taken as zero).
    bool encodeCounted(const uint8_t* keys, const uint32_t* recs, const uint8_t* dups, const uint8_t* trails,
                       size_t n, uint16_t attr, uint32_t left, uint32_t right, uint8_t* out,
                       size_t* total = nullptr) const;
    size_t leafBytes(const uint8_t* keys, const uint32_t* recs, size_t n) const;
    size_t trailOf(const uint8_t* key) const;
    unsigned recordBytes(uint32_t maxRec) const;
    size_t entrySize() const { return keyLen_ + 8u; }
    void appendEntry(std::vector<uint8_t>& out, const uint8_t* key, uint32_t rec, uint32_t child) const;

    uint16_t keyLen_;
    uint8_t pad_;
    unsigned bits_;   // bits of the duplicate and trailing counts
};

// Packs entries handed over in (key, record) order into leaves, each filled as far as it
// goes, and gives each full leaf page (sibling links not set) with its last entry to `sink`.
// A pair met twice is kept once; with `unique`, only the first record of each key is kept.
class LeafPacker : private LeafCodec {
public:
    using Sink = std::function<void(const uint8_t* page, const uint8_t* lastKey, uint32_t lastRec)>;
    LeafPacker(uint16_t keyLength, uint8_t pad, bool unique, Sink sink);
    // Where the next entry's key is to be put (keyLength bytes); add() then takes it.
    uint8_t* nextKey() { return buf_.data() + count_ * keyLen_; }
    void add(uint32_t rec);
    void finish();   // gives the last leaf, if any entry was added

private:
    void giveLeaf();
    Sink sink_;
    bool unique_;
    std::vector<uint8_t> buf_, dups_, trails_, page_;
    std::vector<uint32_t> recs_;
    size_t count_ = 0, used_ = 0, prevTrail_ = 0;
    uint32_t maxRec_ = 0;
};

class IndexTree : private LeafCodec {
public:
    static constexpr int kMaxDepth = 64;
    static constexpr uint16_t kMaxKeyLength = 240;

    IndexTree(PageFile& file, uint32_t header, uint16_t keyLength, uint8_t pad);

    PageFile& file() { return file_; }
    uint32_t header() const { return header_; }
    uint16_t keyLength() const { return keyLen_; }
    uint8_t pad() const { return pad_; }
    void setPad(uint8_t pad) { pad_ = pad; ++version_; }
    uint64_t version() const { return version_; }
    uint32_t root();

    // Replaces whatever the tree held by an empty root leaf (no page of the old tree is freed).
    void initEmpty();
    // Fills the (empty) tree from entries sorted by (key, record): leaves left to right, each
    // filled as far as it goes, then each interior level. `keys` holds the keys of keyLength()
    // bytes that `items` point into. A pair met twice is kept once; with `unique`, only the
    // first record of each key is kept.
    void build(const uint8_t* keys, const SortedKey* items, size_t n, bool unique,
               const std::function<void(int)>& progress = {});
    // The same from leaves encoded beforehand (consumes them).
    void adopt(EncodedLeaves& leaves);
    // The same from entries handed over one at a time by `next` (which writes the key and sets
    // the record, false at the end), each leaf written as it fills: any number of entries in
    // a few pages of memory.
    using EntrySource = std::function<bool(uint8_t* key, uint32_t& rec)>;
    void buildStreamed(const EntrySource& next, bool unique);
    bool insert(const uint8_t* key, uint32_t rec);   // false when already present
    // Queues the insert of a pair that is new to the tree (a new record's key). Queued pairs
    // are taken in together, each leaf changed once for all of its new keys, before the tree is
    // next read or changed in any other way; applyPending() does it at once.
    void insertLater(const uint8_t* key, uint32_t rec);
    void applyPending();
    bool erase(const uint8_t* key, uint32_t rec);    // false when absent
    bool containsKey(const uint8_t* key);            // any record

    using Leaf = IndexLeaf;
    void decodeLeaf(uint32_t page, Leaf& out);

    enum class Bound { Lower, Upper };  // first entry >= target, first entry > target
    // The leaf holding the bound and the index inside it (== size when it lies past the leaf).
    // With useRec false only the first `len` key bytes count.
    void find(const uint8_t* key, size_t len, uint32_t rec, bool useRec, Bound bound, Leaf& leaf,
              size_t& index);
    // Like find() without a record number, but reads the leaf only as far as the bound and
    // decodes no other key: true with the entry's place, key and record when the bound lies in
    // the leaf; false (index == the leaf's key count) when it lies past it.
    bool findInLeaf(const uint8_t* key, size_t len, Bound bound, uint32_t& page, size_t& index, std::string& keyOut,
                    uint32_t& recOut);
    void firstLeaf(Leaf& leaf);
    void lastLeaf(Leaf& leaf);
    // Moves to the sibling leaf; false at the end of the chain. Checks the chain goes forward.
    bool nextLeaf(Leaf& leaf);
    bool prevLeaf(Leaf& leaf);

    size_t count();
    // Walks the whole tree; notes each page in `used` (reporting pages used twice).
    void check(std::vector<std::string>& problems, std::unordered_map<uint32_t, std::string>& used,
               const std::string& owner);

private:
    class LeafReader;
    void edgeLeaf(Leaf& leaf, bool last);
    bool stepLeaf(Leaf& leaf, bool forward);
    size_t locateInLeaf(const uint8_t* key, uint32_t rec);
    struct PathStep {
        uint32_t page;
        int index;
    };
    // Entries replacing [at, at + span) of a parent after a child changed.
    struct Change {
        int at = 0;
        int span = 1;
        std::vector<uint8_t> entries;
    };

    size_t maxInterior() const { return 500 / entrySize(); }
    void setRoot(uint32_t page);
    const uint8_t* interior(uint32_t page, uint16_t& count);
    uint32_t descend(const uint8_t* key, size_t len, uint32_t rec, bool useRec, Bound bound,
                     std::vector<PathStep>* path);
    void writeInterior(uint32_t page, uint16_t attr, uint32_t left, uint32_t right,
                       const uint8_t* entries, size_t n);
    void linkAfter(uint32_t page, uint32_t newPage);   // newPage goes right of page
    void unlink(uint32_t page);
    void applyChange(std::vector<PathStep>& path, Change change);
    void growRoot(std::vector<uint8_t> entries);
    std::vector<size_t> packLeaves(const uint8_t* keys, const uint32_t* recs, size_t n) const;
    void buildInterior(std::vector<uint8_t> upper, size_t count, uint32_t firstPage);
    Change leafChanged(std::vector<PathStep>& path, Leaf& leaf);

    PageFile& file_;
    uint32_t header_;
    uint64_t version_ = 1;
    Leaf work_;                   // scratch for insert and erase
    std::vector<PathStep> path_;
    std::vector<uint8_t> pendingKeys_;   // queued by insertLater
    std::vector<uint32_t> pendingRecs_;
};

} // namespace postavo::engine
