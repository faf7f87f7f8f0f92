#include "cdxtree.h"

#include "cdxpagefile.h"

#include <algorithm>
#include <stdexcept>

namespace postavo::engine {

namespace {

constexpr uint32_t kNone = PageFile::kNone;
constexpr size_t kLeafSpace = 488;      // 512 minus the 24-byte leaf header
constexpr uint16_t kAttrRoot = 1;
constexpr uint16_t kAttrLeaf = 2;

uint64_t maskOf(unsigned bits) { return bits >= 64 ? ~0ull : ((1ull << bits) - 1); }

std::string pageName(uint32_t page) { return "page " + std::to_string(page); }

// How many leading bytes (at most `limit`) two keys share: eight at a time, then byte by byte.
size_t commonPrefix(const uint8_t* a, const uint8_t* b, size_t limit)
{
    size_t n = 0;
    while (n + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y)
            break;
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

} // namespace

LeafCodec::LeafCodec(uint16_t keyLength, uint8_t pad) : keyLen_(keyLength), pad_(pad), bits_(0)
{
    for (unsigned v = keyLength; v; v >>= 1)
        ++bits_;
}

IndexTree::IndexTree(PageFile& file, uint32_t header, uint16_t keyLength, uint8_t pad)
    : LeafCodec(keyLength, pad), file_(file), header_(header)
{
    if (keyLength == 0 || keyLength > kMaxKeyLength)
        file_.corrupt("key length " + std::to_string(keyLength) + " is out of range");
}

uint32_t IndexTree::root() { return getLE32(file_.page(header_, "index header")); }

void IndexTree::setRoot(uint32_t page) { putLE32(file_.writable(header_), page); }

// ---------------------------------------------------------------- leaf codec

size_t LeafCodec::trailOf(const uint8_t* key) const
{
    // Eight bytes at a time first: a blank field's key is padding from end to end.
    const uint64_t padWord = 0x0101010101010101ull * pad_;
    size_t t = 0;
    while (t + 8 <= keyLen_) {
        uint64_t w;
        std::memcpy(&w, key + keyLen_ - t - 8, 8);
        if (w != padWord)
            break;
        t += 8;
    }
    while (t < keyLen_ && key[keyLen_ - 1 - t] == pad_)
        ++t;
    return t;
}

unsigned LeafCodec::recordBytes(uint32_t maxRec) const
{
    unsigned bytes = 3;
    unsigned recBits = 24 - 2 * bits_;
    while (recBits < 32 && (static_cast<uint64_t>(maxRec) >> recBits) != 0) {
        ++bytes;
        recBits += 8;
    }
    return bytes;
}

size_t LeafCodec::leafBytes(const uint8_t* keys, const uint32_t* recs, size_t n) const
{
    uint32_t maxRec = 0;
    size_t stored = 0, prevTrail = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* k = keys + i * keyLen_;
        maxRec = std::max(maxRec, recs[i]);
        size_t trail = trailOf(k);
        size_t dup = 0;
        if (i > 0) {
            dup = commonPrefix(k - keyLen_, k, std::min(keyLen_ - trail, keyLen_ - prevTrail));
        }
        stored += keyLen_ - dup - trail;
        prevTrail = trail;
    }
    return n * recordBytes(maxRec) + stored;
}

bool LeafCodec::encodeLeaf(const uint8_t* keys, const uint32_t* recs, size_t n, uint16_t attr,
                           uint32_t left, uint32_t right, uint8_t* out, size_t* totalOut) const
{
    constexpr size_t kMaxKeys = kLeafSpace / 3;
    if (n > kMaxKeys)
        return false;
    uint8_t dups[kMaxKeys], trails[kMaxKeys];
    size_t prevTrail = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* k = keys + i * keyLen_;
        size_t trail = trailOf(k);
        size_t dup = 0;
        if (i > 0) {
            dup = commonPrefix(k - keyLen_, k, std::min(keyLen_ - trail, keyLen_ - prevTrail));
        }
        dups[i] = static_cast<uint8_t>(dup);
        trails[i] = static_cast<uint8_t>(trail);
        prevTrail = trail;
    }
    return encodeCounted(keys, recs, dups, trails, n, attr, left, right, out, totalOut);
}

bool LeafCodec::encodeCounted(const uint8_t* keys, const uint32_t* recs, const uint8_t* dups,
                              const uint8_t* trails, size_t n, uint16_t attr, uint32_t left, uint32_t right,
                              uint8_t* out, size_t* totalOut) const
{
    constexpr size_t kMaxKeys = kLeafSpace / 3;
    if (n > kMaxKeys)
        return false;
    uint32_t maxRec = 0;
    size_t stored = 0;
    for (size_t i = 0; i < n; ++i) {
        maxRec = std::max(maxRec, recs[i]);
        stored += keyLen_ - (i ? dups[i] : 0) - trails[i];
    }
    const unsigned kb = recordBytes(maxRec);
    const size_t total = n * kb + stored;
    if (total > kLeafSpace)
        return false;
    if (totalOut)
        *totalOut = total;
    if (!out)
        return true;
    const unsigned recBits = 8 * kb - 2 * bits_;
    std::memset(out, 0, PageFile::kPageSize);
    putLE16(out, attr);
    putLE16(out + 2, static_cast<uint16_t>(n));
    putLE32(out + 4, left);
    putLE32(out + 8, right);
    putLE16(out + 12, static_cast<uint16_t>(kLeafSpace - total));
    putLE32(out + 14, static_cast<uint32_t>(maskOf(std::min(recBits, 32u))));
    out[18] = static_cast<uint8_t>(maskOf(bits_));
    out[19] = static_cast<uint8_t>(maskOf(bits_));
    out[20] = static_cast<uint8_t>(recBits);
    out[21] = static_cast<uint8_t>(bits_);
    out[22] = static_cast<uint8_t>(bits_);
    out[23] = static_cast<uint8_t>(kb);
    size_t end = PageFile::kPageSize;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* k = keys + i * keyLen_;
        size_t dup = i ? dups[i] : 0, trail = trails[i];
        uint64_t v = recs[i] | (static_cast<uint64_t>(dup) << recBits)
                     | (static_cast<uint64_t>(trail) << (recBits + bits_));
        uint8_t* e = out + 24 + i * kb;
        for (unsigned b = 0; b < kb; ++b)
            e[b] = static_cast<uint8_t>(v >> (8 * b));
        size_t len = keyLen_ - dup - trail;
        end -= len;
        std::memcpy(out + end, k + dup, len);
    }
    return true;
}

// Reads a leaf's compressed entries in order, checking every count against the page, and
// keeps the key of the entry read last whole in `key`.
class IndexTree::LeafReader {
public:
    LeafReader(IndexTree& tree, uint32_t page) : tree_(tree), page_(page), p_(tree.file_.page(page))
    {
        attr = getLE16(p_);
        if (attr > 3 || !(attr & kAttrLeaf))
            corrupt(" is not a leaf page");
        count = getLE16(p_ + 2);
        recBits_ = p_[20];
        dupBits_ = p_[21];
        const unsigned trlBits = p_[22];
        kb_ = p_[23];
        if (kb_ < 1 || kb_ > 8 || recBits_ + dupBits_ + trlBits > 8 * kb_ || recBits_ == 0)
            corrupt(" has impossible key packing widths");
        if (24 + count * kb_ > PageFile::kPageSize)
            corrupt(" holds more keys (" + std::to_string(count) + ") than fit a page");
        recMask_ = maskOf(recBits_);
        dupMask_ = maskOf(dupBits_);
        trlMask_ = maskOf(trlBits);
        minEnd_ = 24 + count * kb_;
    }
    uint32_t left() const { return getLE32(p_ + 4); }
    uint32_t right() const { return getLE32(p_ + 8); }

    // Entry `i` (read in order from 0): its record; its key is then in `key`.
    uint32_t next(size_t i, uint8_t* key)
    {
        const uint8_t* e = p_ + 24 + i * kb_;
        uint64_t v = 0;
        for (unsigned b = 0; b < kb_; ++b)
            v |= static_cast<uint64_t>(e[b]) << (8 * b);
        const size_t dup = recBits_ >= 64 ? 0 : static_cast<size_t>((v >> recBits_) & dupMask_);
        const size_t trail = recBits_ + dupBits_ >= 64 ? 0 : static_cast<size_t>((v >> (recBits_ + dupBits_)) & trlMask_);
        const size_t kl = tree_.keyLen_;
        if (dup + trail > kl || (i == 0 && dup > 0))
            corrupt(" has a key with impossible compression counts");
        const size_t stored = kl - dup - trail;
        if (end_ < minEnd_ + stored)
            corrupt(": its keys overflow the page");
        end_ -= stored;
        std::memcpy(key + dup, p_ + end_, stored);
        std::memset(key + dup + stored, tree_.pad_, trail);
        return static_cast<uint32_t>(v & recMask_);
    }

    uint16_t attr = 0;
    size_t count = 0;

private:
    [[noreturn]] void corrupt(const std::string& what) const { tree_.file_.corrupt(pageName(page_) + what); }

    IndexTree& tree_;
    uint32_t page_;
    const uint8_t* p_;
    unsigned recBits_, dupBits_, kb_;
    uint64_t recMask_, dupMask_, trlMask_;
    size_t minEnd_, end_ = PageFile::kPageSize;
};

void IndexTree::decodeLeaf(uint32_t page, Leaf& out)
{
    LeafReader reader(*this, page);
    const size_t n = reader.count;
    out.page = page;
    out.attr = reader.attr;
    out.left = reader.left();
    out.right = reader.right();
    out.keys.resize(n * keyLen_);
    out.recs.resize(n);
    for (size_t i = 0; i < n; ++i) {
        uint8_t* dst = out.keys.data() + i * keyLen_;
        if (i > 0)   // the shared head comes from the key before
            std::memcpy(dst, dst - keyLen_, keyLen_);
        out.recs[i] = reader.next(i, dst);
        // Entries out of order would let a walk go round the leaf chain for ever.
        if (i > 0 && compareEntry(dst - keyLen_, out.recs[i - 1], dst, out.recs[i], keyLen_) >= 0)
            file_.corrupt(pageName(page) + " holds its entries out of order");
    }
}

// ---------------------------------------------------------------- navigation

const uint8_t* IndexTree::interior(uint32_t page, uint16_t& count)
{
    const uint8_t* p = file_.page(page);
    uint16_t attr = getLE16(p);
    if (attr > 3 || (attr & kAttrLeaf))
        file_.corrupt(pageName(page) + " is not an interior page");
    count = getLE16(p + 2);
    if (count == 0)
        file_.corrupt("interior " + pageName(page) + " has no keys");
    if (12 + count * entrySize() > PageFile::kPageSize)
        file_.corrupt("interior " + pageName(page) + " holds more keys than fit a page");
    return p + 12;
}

uint32_t IndexTree::descend(const uint8_t* key, size_t len, uint32_t rec, bool useRec,
                            Bound bound, std::vector<PathStep>* path)
{
    uint32_t page = root();
    const size_t es = entrySize();
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const uint8_t* p = file_.page(page);
        uint16_t attr = getLE16(p);
        if (attr > 3)
            file_.corrupt(pageName(page) + " has unknown attributes " + std::to_string(attr));
        if (attr & kAttrLeaf)
            return page;
        const uint16_t n = getLE16(p + 2);
        if (n == 0 || 12 + n * es > PageFile::kPageSize) {
            uint16_t count;
            interior(page, count);   // names the damage
        }
        const uint8_t* ents = p + 12;
        size_t lo = 0, hi = n;
        while (lo < hi) {
            size_t mid = (lo + hi) / 2;
            const uint8_t* e = ents + mid * es;
            int c = useRec ? compareEntry(e, getBE32(e + keyLen_), key, rec, keyLen_)
                           : std::memcmp(e, key, len);
            bool after = bound == Bound::Lower ? c >= 0 : c > 0;
            if (after)
                hi = mid;
            else
                lo = mid + 1;
        }
        size_t i = lo == n ? n - 1 : lo;
        if (path)
            path->push_back({page, static_cast<int>(i)});
        page = getBE32(ents + i * es + keyLen_ + 4);
    }
    file_.corrupt("the tree is more than 64 levels deep (its pages loop)");
}

void IndexTree::find(const uint8_t* key, size_t len, uint32_t rec, bool useRec, Bound bound,
                     Leaf& leaf, size_t& index)
{
    applyPending();
    if (len > keyLen_)
        len = keyLen_;
    decodeLeaf(descend(key, len, rec, useRec, bound, nullptr), leaf);
    size_t lo = 0, hi = leaf.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        const uint8_t* e = leaf.key(mid, keyLen_);
        int c = useRec ? compareEntry(e, leaf.recs[mid], key, rec, keyLen_) : std::memcmp(e, key, len);
        bool after = bound == Bound::Lower ? c >= 0 : c > 0;
        if (after)
            hi = mid;
        else
            lo = mid + 1;
    }
    index = lo;
}

bool IndexTree::findInLeaf(const uint8_t* key, size_t len, Bound bound, uint32_t& page, size_t& index,
                           std::string& keyOut, uint32_t& recOut)
{
    applyPending();
    if (len > keyLen_)
        len = keyLen_;
    page = descend(key, len, 0, false, bound, nullptr);
    LeafReader reader(*this, page);
    uint8_t cur[kMaxKeyLength];   // each entry's key is built over the one before
    for (size_t i = 0; i < reader.count; ++i) {
        const uint32_t rec = reader.next(i, cur);
        const int c = std::memcmp(cur, key, len);
        if (bound == Bound::Lower ? c >= 0 : c > 0) {
            index = i;
            keyOut.assign(reinterpret_cast<const char*>(cur), keyLen_);
            recOut = rec;
            return true;
        }
    }
    index = reader.count;
    return false;
}

void IndexTree::firstLeaf(Leaf& leaf) { edgeLeaf(leaf, false); }
void IndexTree::lastLeaf(Leaf& leaf) { edgeLeaf(leaf, true); }

// Follows each level's first (or last) child down to a leaf.
void IndexTree::edgeLeaf(Leaf& leaf, bool last)
{
    applyPending();
    uint32_t page = root();
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const uint8_t* p = file_.page(page);
        if (getLE16(p) & kAttrLeaf) {
            decodeLeaf(page, leaf);
            return;
        }
        uint16_t n;
        const uint8_t* ents = interior(page, n);
        page = getBE32(ents + (last ? n - 1 : 0) * entrySize() + keyLen_ + 4);
    }
    file_.corrupt("the tree is more than 64 levels deep (its pages loop)");
}

bool IndexTree::nextLeaf(Leaf& leaf) { return stepLeaf(leaf, true); }
bool IndexTree::prevLeaf(Leaf& leaf) { return stepLeaf(leaf, false); }

// Moves to the next (or previous) non-empty leaf of the chain. The chain must go strictly on in
// key order, which also rules out loops (except through empty leaves, which are counted).
bool IndexTree::stepLeaf(Leaf& leaf, bool forward)
{
    // The entry the new leaf must follow (or precede): this leaf's last (or first).
    std::vector<uint8_t> edgeKey;
    uint32_t edgeRec = 0;
    const bool haveEdge = leaf.size() > 0;
    if (haveEdge) {
        const size_t at = forward ? leaf.size() - 1 : 0;
        edgeKey.assign(leaf.key(at, keyLen_), leaf.key(at, keyLen_) + keyLen_);
        edgeRec = leaf.recs[at];
    }
    uint32_t hops = 0;
    while (true) {
        const uint32_t to = forward ? leaf.right : leaf.left;
        if (to == kNone)
            return false;
        if (++hops > file_.pageCount())
            file_.corrupt("the leaf chain loops at " + pageName(to));
        const uint32_t from = leaf.page;
        decodeLeaf(to, leaf);
        if (leaf.size() == 0)
            continue;
        if (haveEdge) {
            const size_t near = forward ? 0 : leaf.size() - 1;
            const int order = compareEntry(edgeKey.data(), edgeRec, leaf.key(near, keyLen_), leaf.recs[near], keyLen_);
            if (forward ? order >= 0 : order <= 0)
                file_.corrupt("the leaf " + std::string(forward ? "after " : "before ") + pageName(from)
                              + " does not continue the key order");
        }
        return true;
    }
}

bool IndexTree::containsKey(const uint8_t* key)
{
    Leaf leaf;
    size_t i;
    find(key, keyLen_, 0, false, Bound::Lower, leaf, i);
    if (i == leaf.size()) {
        if (!nextLeaf(leaf))
            return false;
        i = 0;
    }
    return std::memcmp(leaf.key(i, keyLen_), key, keyLen_) == 0;
}

size_t IndexTree::count()
{
    applyPending();
    Leaf leaf;
    firstLeaf(leaf);
    size_t n = leaf.size();
    // Counting needs no decoding beyond the chain; the hop limit keeps a looping chain finite.
    uint32_t page = leaf.right;
    uint32_t hops = 0;
    while (page != kNone) {
        if (++hops > file_.pageCount())
            file_.corrupt("the leaf chain loops at " + pageName(page));
        const uint8_t* p = file_.page(page);
        if (!(getLE16(p) & kAttrLeaf) || getLE16(p) > 3)
            file_.corrupt(pageName(page) + " is not a leaf page");
        n += getLE16(p + 2);
        page = getLE32(p + 8);
    }
    return n;
}

// ---------------------------------------------------------------- building

void LeafCodec::appendEntry(std::vector<uint8_t>& out, const uint8_t* key, uint32_t rec, uint32_t child) const
{
    size_t at = out.size();
    out.resize(at + entrySize());
    std::memcpy(out.data() + at, key, keyLen_);
    putBE32(out.data() + at + keyLen_, rec);
    putBE32(out.data() + at + keyLen_ + 4, child);
}

void IndexTree::writeInterior(uint32_t page, uint16_t attr, uint32_t left, uint32_t right,
                              const uint8_t* entries, size_t n)
{
    uint8_t* p = file_.writable(page);
    std::memset(p, 0, PageFile::kPageSize);
    putLE16(p, attr);
    putLE16(p + 2, static_cast<uint16_t>(n));
    putLE32(p + 4, left);
    putLE32(p + 8, right);
    std::memcpy(p + 12, entries, n * entrySize());
}

void IndexTree::initEmpty()
{
    pendingKeys_.clear();
    pendingRecs_.clear();
    uint32_t page = file_.allocate();
    encodeLeaf(nullptr, nullptr, 0, kAttrRoot | kAttrLeaf, kNone, kNone, file_.writable(page));
    setRoot(page);
    ++version_;
}

// Splits sorted keys into leaves, each filled as far as it goes; returns where each starts.
std::vector<size_t> IndexTree::packLeaves(const uint8_t* keys, const uint32_t* recs, size_t n) const
{
    std::vector<size_t> starts;
    size_t used = 0, count = 0, prevTrail = 0;
    uint32_t maxRec = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* k = keys + i * keyLen_;
        size_t trail = trailOf(k);
        size_t dup = 0;
        if (count > 0) {
            dup = commonPrefix(k - keyLen_, k, std::min(keyLen_ - trail, keyLen_ - prevTrail));
        }
        uint32_t m = std::max(maxRec, recs[i]);
        size_t need = (count + 1) * recordBytes(m) + used + keyLen_ - dup - trail;
        if (count == 0 || need > kLeafSpace) {
            if (count > 0) {
                // Start a new leaf with this key, uncompressed against its predecessor.
                dup = 0;
            }
            starts.push_back(i);
            count = 0;
            used = 0;
            m = recs[i];
        }
        used += keyLen_ - dup - trail;
        ++count;
        maxRec = m;
        prevTrail = trail;
    }
    return starts;
}

LeafPacker::LeafPacker(uint16_t keyLength, uint8_t pad, bool unique, Sink sink)
    : LeafCodec(keyLength, pad), sink_(std::move(sink)), unique_(unique)
{
    constexpr size_t kMaxKeys = kLeafSpace / 3;
    buf_.resize((kMaxKeys + 1) * keyLength);
    dups_.resize(kMaxKeys + 1);
    trails_.resize(kMaxKeys + 1);
    recs_.resize(kMaxKeys + 1);
    page_.resize(PageFile::kPageSize);
}

void LeafPacker::add(uint32_t rec)
{
    const size_t kl = keyLen_;
    uint8_t* k = buf_.data() + count_ * kl;
    if (count_ > 0 && (unique_ || recs_[count_ - 1] == rec) && std::memcmp(k - kl, k, kl) == 0)
        return;
    const size_t trail = trailOf(k);
    size_t dup = count_ > 0 ? commonPrefix(k - kl, k, std::min(kl - trail, kl - prevTrail_)) : 0;
    uint32_t m = std::max(maxRec_, rec);
    if (count_ > 0 && (count_ + 1) * recordBytes(m) + used_ + kl - dup - trail > kLeafSpace) {
        // Start a new leaf with this key, uncompressed against its predecessor.
        giveLeaf();
        std::memcpy(buf_.data(), k, kl);
        count_ = 0;
        used_ = 0;
        dup = 0;
        m = rec;
    }
    recs_[count_] = rec;
    dups_[count_] = static_cast<uint8_t>(dup);
    trails_[count_] = static_cast<uint8_t>(trail);
    used_ += kl - dup - trail;
    ++count_;
    maxRec_ = m;
    prevTrail_ = trail;
}

void LeafPacker::giveLeaf()
{
    if (!encodeCounted(buf_.data(), recs_.data(), dups_.data(), trails_.data(), count_, kAttrLeaf, kNone, kNone,
                       page_.data()))
        throw std::logic_error("index leaf packing miscounted");
    sink_(page_.data(), buf_.data() + (count_ - 1) * keyLen_, recs_[count_ - 1]);
}

void LeafPacker::finish()
{
    if (count_ > 0)
        giveLeaf();
    count_ = 0;
}

void LeafCodec::encodeLeaves(const uint8_t* keys, const SortedKey* items, size_t n, bool unique,
                             EncodedLeaves& out, const std::function<void(int)>& progress) const
{
    out.clear();
    if (n == 0)
        return;
    out.pages.reserve(n / 32 * PageFile::kPageSize);
    // One leaf's keys at a time, gathered in sorted order: the block itself is never reordered.
    LeafPacker packer(keyLen_, pad_, unique, [&](const uint8_t* page, const uint8_t* lastKey, uint32_t lastRec) {
        out.pages.insert(out.pages.end(), page, page + PageFile::kPageSize);
        appendEntry(out.upper, lastKey, lastRec, static_cast<uint32_t>(out.count));
        ++out.count;
    });
    for (size_t i = 0; i < n; ++i) {
        writeSortedKey(items[i], keys, keyLen_, pad_, packer.nextKey());
        packer.add(items[i].rec);
        if (progress && (i & 0x3FFF) == 0)
            progress(static_cast<int>(40 + 50 * i / n));
    }
    packer.finish();
}

void IndexTree::build(const uint8_t* keys, const SortedKey* items, size_t n, bool unique,
                      const std::function<void(int)>& progress)
{
    EncodedLeaves leaves;
    encodeLeaves(keys, items, n, unique, leaves, progress);
    if (progress)
        progress(90);
    adopt(leaves);
    if (progress)
        progress(100);
}

void IndexTree::adopt(EncodedLeaves& leaves)
{
    const size_t count = leaves.count;
    if (count == 0) {
        initEmpty();
        return;
    }
    const uint32_t base = file_.appendPages(static_cast<uint32_t>(count));
    const size_t es = entrySize();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t page = base + static_cast<uint32_t>(i) * PageFile::kPageSize;
        uint8_t* p = file_.writable(page);
        std::memcpy(p, leaves.pages.data() + i * PageFile::kPageSize, PageFile::kPageSize);
        putLE32(p + 4, i ? page - PageFile::kPageSize : kNone);
        putLE32(p + 8, i + 1 < count ? page + PageFile::kPageSize : kNone);
        if (count == 1)
            putLE16(p, kAttrRoot | kAttrLeaf);
        putBE32(leaves.upper.data() + i * es + keyLen_ + 4, page);
    }
    buildInterior(std::move(leaves.upper), count, base);
    leaves.clear();
}

void IndexTree::buildStreamed(const EntrySource& next, bool unique)
{
    // Each leaf is held until the next one comes, so that its right-hand link is known when it
    // goes to the file; the leaves take consecutive pages, as adopt() gives them.
    std::vector<uint8_t> held(PageFile::kPageSize), upper;
    size_t count = 0, placed = 0;
    uint32_t first = kNone, previous = kNone;
    const size_t es = entrySize();
    auto place = [&](bool last) {
        const uint32_t page = file_.appendPages(1);
        uint8_t* p = file_.writable(page);
        std::memcpy(p, held.data(), PageFile::kPageSize);
        putLE32(p + 4, previous);
        putLE32(p + 8, last ? kNone : page + PageFile::kPageSize);
        if (last && count == 1)
            putLE16(p, kAttrRoot | kAttrLeaf);
        putBE32(upper.data() + placed * es + keyLen_ + 4, page);
        if (first == kNone)
            first = page;
        previous = page;
        if (++placed % 4096 == 0)
            file_.relieve();
    };
    LeafPacker packer(keyLen_, pad_, unique, [&](const uint8_t* page, const uint8_t* lastKey, uint32_t lastRec) {
        if (count > placed)
            place(false);
        std::memcpy(held.data(), page, PageFile::kPageSize);
        appendEntry(upper, lastKey, lastRec, 0);
        ++count;
    });
    uint32_t rec = 0;
    while (next(packer.nextKey(), rec))
        packer.add(rec);
    packer.finish();
    if (count == 0) {
        initEmpty();
        return;
    }
    place(true);
    buildInterior(std::move(upper), count, first);
}

// Puts interior levels over `count` pages whose entries are `upper`, until one page holds
// them all, and makes that page the root.
void IndexTree::buildInterior(std::vector<uint8_t> upper, size_t count, uint32_t firstPage)
{
    const size_t per = maxInterior();
    const size_t es = entrySize();
    uint32_t top = firstPage;
    while (count > 1) {
        size_t nodes = (count + per - 1) / per;
        std::vector<size_t> sizes(nodes, per);
        sizes.back() = count - per * (nodes - 1);
        if (nodes > 1 && sizes.back() < per / 2) {   // even out the last two
            size_t both = sizes[nodes - 2] + sizes.back();
            sizes[nodes - 2] = both - both / 2;
            sizes.back() = both / 2;
        }
        std::vector<uint32_t> np(nodes);
        for (auto& p : np)
            p = file_.allocate();
        std::vector<uint8_t> next;
        size_t at = 0;
        for (size_t i = 0; i < nodes; ++i) {
            writeInterior(np[i], nodes == 1 ? kAttrRoot : 0, i ? np[i - 1] : kNone,
                          i + 1 < nodes ? np[i + 1] : kNone, upper.data() + at * es, sizes[i]);
            const uint8_t* lastE = upper.data() + (at + sizes[i] - 1) * es;
            appendEntry(next, lastE, getBE32(lastE + keyLen_), np[i]);
            at += sizes[i];
        }
        upper.swap(next);
        count = nodes;
        top = np[0];
    }
    setRoot(top);
    ++version_;
}

// ---------------------------------------------------------------- changing

void IndexTree::linkAfter(uint32_t page, uint32_t newPage)
{
    uint8_t* p = file_.writable(page);
    uint32_t right = getLE32(p + 8);
    putLE32(p + 8, newPage);
    uint8_t* q = file_.writable(newPage);
    putLE32(q + 4, page);
    putLE32(q + 8, right);
    if (right != kNone)
        putLE32(file_.writable(right) + 4, newPage);
}

void IndexTree::unlink(uint32_t page)
{
    const uint8_t* p = file_.page(page);
    uint32_t left = getLE32(p + 4), right = getLE32(p + 8);
    if (left != kNone)
        putLE32(file_.writable(left) + 8, right);
    if (right != kNone)
        putLE32(file_.writable(right) + 4, left);
}

// Writes a changed (non-empty, or root) leaf back: as it is, split in two, or merged with a
// neighbour under the same parent when it has become small. Returns what the parent must do.
IndexTree::Change IndexTree::leafChanged(std::vector<PathStep>& path, Leaf& leaf)
{
    Change ch;
    const bool isRoot = path.empty();
    const size_t n = leaf.size();
    if (!isRoot)
        ch.at = path.back().index;
    if (n == 0 && !isRoot) {
        unlink(leaf.page);
        file_.release(leaf.page);
        return ch;   // parent drops the entry
    }
    const uint16_t attr = isRoot ? (kAttrRoot | kAttrLeaf) : kAttrLeaf;
    size_t bytes = 0;
    if (encodeLeaf(leaf.keys.data(), leaf.recs.data(), n, attr, leaf.left, leaf.right,
                   file_.writable(leaf.page), &bytes)) {
        // Small after a delete: try to merge with a neighbour of the same parent.
        if (!isRoot && bytes < kLeafSpace / 3) {
            uint16_t pn;
            const uint8_t* pe = interior(path.back().page, pn);
            int idx = path.back().index;
            for (int side : {+1, -1}) {
                int other = idx + side;
                if (other < 0 || other >= pn)
                    continue;
                Leaf nb;
                decodeLeaf(getBE32(pe + other * entrySize() + keyLen_ + 4), nb);
                Leaf& l = side > 0 ? leaf : nb;
                Leaf& r = side > 0 ? nb : leaf;
                std::vector<uint8_t> keys(l.keys);
                keys.insert(keys.end(), r.keys.begin(), r.keys.end());
                std::vector<uint32_t> recs(l.recs);
                recs.insert(recs.end(), r.recs.begin(), r.recs.end());
                if (leafBytes(keys.data(), recs.data(), recs.size()) > kLeafSpace)
                    continue;
                uint32_t rightOfR = r.right;
                encodeLeaf(keys.data(), recs.data(), recs.size(), kAttrLeaf, l.left, rightOfR,
                           file_.writable(l.page));
                if (rightOfR != kNone)
                    putLE32(file_.writable(rightOfR) + 4, l.page);
                file_.release(r.page);
                ch.at = std::min(idx, other);
                ch.span = 2;
                appendEntry(ch.entries, keys.data() + (recs.size() - 1) * keyLen_, recs.back(), l.page);
                return ch;
            }
        }
        if (n > 0)
            appendEntry(ch.entries, leaf.key(n - 1, keyLen_), leaf.recs[n - 1], leaf.page);
        return ch;
    }
    // Split where the two halves come closest to equal size.
    std::vector<size_t> prefix(n + 1, 0);
    {
        size_t prevTrail = 0;
        for (size_t i = 0; i < n; ++i) {
            const uint8_t* k = leaf.key(i, keyLen_);
            size_t trail = trailOf(k), dup = 0;
            if (i > 0) {
                dup = commonPrefix(k - keyLen_, k, std::min(keyLen_ - trail, keyLen_ - prevTrail));
            }
            prefix[i + 1] = prefix[i] + keyLen_ - dup - trail + 6;
            prevTrail = trail;
        }
    }
    size_t best = n / 2, bestCost = SIZE_MAX;
    for (size_t s = 1; s < n; ++s) {
        size_t l = prefix[s], r = prefix[n] - prefix[s] + (keyLen_ - trailOf(leaf.key(s, keyLen_)));
        size_t cost = std::max(l, r);
        if (cost < bestCost) {
            bestCost = cost;
            best = s;
        }
    }
    // The estimate above may be off by the record-number width: settle on a split that fits.
    size_t s = best;
    auto fits = [&](size_t at) {
        return at > 0 && at < n && leafBytes(leaf.keys.data(), leaf.recs.data(), at) <= kLeafSpace
               && leafBytes(leaf.key(at, keyLen_), leaf.recs.data() + at, n - at) <= kLeafSpace;
    };
    std::vector<size_t> starts;
    if (leafBytes(leaf.keys.data(), leaf.recs.data(), n) > 2 * kLeafSpace) {
        starts = packLeaves(leaf.keys.data(), leaf.recs.data(), n);   // many keys taken in at once
    } else if (!fits(s)) {
        for (size_t d = 1; d < n && starts.empty(); ++d) {
            if (s >= d && fits(s - d))
                starts = {0, s - d};
            else if (fits(s + d))
                starts = {0, s + d};
        }
        if (starts.empty())   // long keys with wide record numbers: more than two pages
            starts = packLeaves(leaf.keys.data(), leaf.recs.data(), n);
    } else {
        starts = {0, s};
    }
    starts.push_back(n);
    std::vector<uint32_t> pages{leaf.page};
    for (size_t i = 2; i < starts.size(); ++i) {
        pages.push_back(file_.allocate());
        linkAfter(pages[i - 2], pages.back());
    }
    uint32_t rightmost = getLE32(file_.page(pages.back()) + 8);
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        size_t a = starts[i], b = starts[i + 1];
        if (!encodeLeaf(leaf.key(a, keyLen_), leaf.recs.data() + a, b - a, kAttrLeaf,
                        i ? pages[i - 1] : leaf.left, i + 2 < starts.size() ? pages[i + 1] : rightmost,
                        file_.writable(pages[i])))
            throw std::logic_error("index leaf packing miscounted");
        appendEntry(ch.entries, leaf.key(b - 1, keyLen_), leaf.recs[b - 1], pages[i]);
    }
    return ch;
}

void IndexTree::applyChange(std::vector<PathStep>& path, Change ch)
{
    const size_t es = entrySize();
    const size_t per = maxInterior();
    while (!path.empty()) {
        PathStep step = path.back();
        path.pop_back();
        const bool isRoot = path.empty();
        uint16_t n;
        const uint8_t* raw = interior(step.page, n);
        // The usual case: the child's last key did not change, so nothing above changes.
        if (ch.span == 1 && ch.entries.size() == es && ch.at < n
            && std::memcmp(raw + ch.at * es, ch.entries.data(), es) == 0)
            return;
        const uint8_t* hdr = raw - 12;
        uint32_t left = getLE32(hdr + 4), right = getLE32(hdr + 8);
        std::vector<uint8_t> ents(raw, raw + n * es);
        ents.erase(ents.begin() + ch.at * es, ents.begin() + (ch.at + ch.span) * es);
        ents.insert(ents.begin() + ch.at * es, ch.entries.begin(), ch.entries.end());
        size_t m = ents.size() / es;
        Change up;
        up.at = isRoot ? 0 : path.back().index;
        if (m == 0) {
            if (isRoot) {
                encodeLeaf(nullptr, nullptr, 0, kAttrRoot | kAttrLeaf, kNone, kNone, file_.writable(step.page));
                return;
            }
            unlink(step.page);
            file_.release(step.page);
            ch = std::move(up);
            continue;
        }
        if (m <= per) {
            bool merged = false;
            if (!isRoot && m < per / 3) {
                uint16_t pn;
                const uint8_t* pe = interior(path.back().page, pn);
                int idx = path.back().index;
                for (int side : {+1, -1}) {
                    int other = idx + side;
                    if (other < 0 || other >= pn)
                        continue;
                    uint32_t otherPage = getBE32(pe + other * es + keyLen_ + 4);
                    uint16_t on;
                    const uint8_t* oe = interior(otherPage, on);
                    if (m + on > per)
                        continue;
                    std::vector<uint8_t> all;
                    if (side > 0) {
                        all = ents;
                        all.insert(all.end(), oe, oe + on * es);
                    } else {
                        all.assign(oe, oe + on * es);
                        all.insert(all.end(), ents.begin(), ents.end());
                    }
                    uint32_t lp = side > 0 ? step.page : otherPage;
                    uint32_t rp = side > 0 ? otherPage : step.page;
                    const uint8_t* lh = file_.page(lp);
                    uint32_t ll = getLE32(lh + 4);
                    uint32_t rr = getLE32(file_.page(rp) + 8);
                    writeInterior(lp, 0, ll, rr, all.data(), all.size() / es);
                    if (rr != kNone)
                        putLE32(file_.writable(rr) + 4, lp);
                    file_.release(rp);
                    up.at = std::min(idx, other);
                    up.span = 2;
                    const uint8_t* lastE = all.data() + all.size() - es;
                    appendEntry(up.entries, lastE, getBE32(lastE + keyLen_), lp);
                    merged = true;
                    break;
                }
            }
            if (!merged) {
                writeInterior(step.page, isRoot ? kAttrRoot : 0, left, right, ents.data(), m);
                const uint8_t* lastE = ents.data() + (m - 1) * es;
                appendEntry(up.entries, lastE, getBE32(lastE + keyLen_), step.page);
            }
        } else {
            // Too many entries: spread them evenly over as few pages as hold them.
            size_t nodes = (m + per - 1) / per;
            std::vector<uint32_t> pages{step.page};
            for (size_t i = 1; i < nodes; ++i) {
                pages.push_back(file_.allocate());
                linkAfter(pages[i - 1], pages[i]);
            }
            uint32_t rightmost = getLE32(file_.page(pages.back()) + 8);
            size_t at = 0;
            for (size_t i = 0; i < nodes; ++i) {
                size_t cnt = m / nodes + (i < m % nodes ? 1 : 0);
                writeInterior(pages[i], 0, i ? pages[i - 1] : left, i + 1 < nodes ? pages[i + 1] : rightmost,
                              ents.data() + at * es, cnt);
                const uint8_t* lastE = ents.data() + (at + cnt - 1) * es;
                appendEntry(up.entries, lastE, getBE32(lastE + keyLen_), pages[i]);
                at += cnt;
            }
        }
        ch = std::move(up);
    }
    // The root itself changed: it split (two entries) or may have one child left.
    if (ch.entries.size() / es >= 2)
        growRoot(std::move(ch.entries));
    // An interior root with a single child hands the root over to it.
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        uint32_t r = root();
        const uint8_t* p = file_.page(r);
        uint16_t attr = getLE16(p);
        if (attr & kAttrLeaf)
            break;
        uint16_t n;
        const uint8_t* ents = interior(r, n);
        if (n != 1)
            break;
        uint32_t child = getBE32(ents + keyLen_ + 4);
        uint8_t* c = file_.writable(child);
        putLE16(c, static_cast<uint16_t>(getLE16(c) | kAttrRoot));
        putLE32(c + 4, kNone);
        putLE32(c + 8, kNone);
        setRoot(child);
        file_.release(r);
    }
}

// The old root split into the pages named by `entries`: put new levels above them.
void IndexTree::growRoot(std::vector<uint8_t> entries)
{
    const size_t es = entrySize(), per = maxInterior();
    while (true) {
        size_t m = entries.size() / es;
        if (m <= per) {
            uint32_t page = file_.allocate();
            writeInterior(page, kAttrRoot, kNone, kNone, entries.data(), m);
            setRoot(page);
            return;
        }
        size_t nodes = (m + per - 1) / per;
        std::vector<uint32_t> pages(nodes);
        for (auto& p : pages)
            p = file_.allocate();
        std::vector<uint8_t> next;
        size_t at = 0;
        for (size_t i = 0; i < nodes; ++i) {
            size_t cnt = m / nodes + (i < m % nodes ? 1 : 0);
            writeInterior(pages[i], 0, i ? pages[i - 1] : kNone, i + 1 < nodes ? pages[i + 1] : kNone,
                          entries.data() + at * es, cnt);
            const uint8_t* lastE = entries.data() + (at + cnt - 1) * es;
            appendEntry(next, lastE, getBE32(lastE + keyLen_), pages[i]);
            at += cnt;
        }
        entries.swap(next);
    }
}

// Decodes the leaf where (key, rec) belongs into work_, with the path to it in path_, and
// returns the position of the first entry not below (key, rec).
size_t IndexTree::locateInLeaf(const uint8_t* key, uint32_t rec)
{
    path_.clear();
    const uint32_t page = descend(key, keyLen_, rec, true, Bound::Lower, &path_);
    decodeLeaf(page, work_);
    size_t lo = 0, hi = work_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (compareEntry(work_.key(mid, keyLen_), work_.recs[mid], key, rec, keyLen_) >= 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

bool IndexTree::insert(const uint8_t* key, uint32_t rec)
{
    applyPending();
    std::vector<PathStep>& path = path_;
    Leaf& leaf = work_;
    const size_t lo = locateInLeaf(key, rec);
    if (lo < leaf.size() && compareEntry(leaf.key(lo, keyLen_), leaf.recs[lo], key, rec, keyLen_) == 0)
        return false;
    leaf.keys.insert(leaf.keys.begin() + lo * keyLen_, key, key + keyLen_);
    leaf.recs.insert(leaf.recs.begin() + lo, rec);
    ++version_;
    Change ch = leafChanged(path, leaf);
    if (path.empty()) {
        if (ch.entries.size() / entrySize() >= 2)
            growRoot(std::move(ch.entries));
        return true;
    }
    applyChange(path, std::move(ch));
    return true;
}

void IndexTree::insertLater(const uint8_t* key, uint32_t rec)
{
    // Past a bound the queue is taken in at once, so it never holds much memory.
    if (pendingRecs_.size() >= 65536)
        applyPending();
    pendingKeys_.insert(pendingKeys_.end(), key, key + keyLen_);
    pendingRecs_.push_back(rec);
    ++version_;   // cursors find their place again, taking the queue in
}

void IndexTree::applyPending()
{
    if (pendingRecs_.empty())
        return;
    const size_t kl = keyLen_;
    std::vector<uint8_t> qKeys;
    std::vector<uint32_t> qRecs;
    qKeys.swap(pendingKeys_);
    qRecs.swap(pendingRecs_);
    const size_t n = qRecs.size();
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<uint32_t>(i);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return compareEntry(qKeys.data() + a * kl, qRecs[a], qKeys.data() + b * kl, qRecs[b], kl) < 0;
    });
    std::vector<uint8_t> keys(n * kl);
    std::vector<uint32_t> recs(n);
    for (size_t i = 0; i < n; ++i) {
        std::memcpy(keys.data() + i * kl, qKeys.data() + order[i] * kl, kl);
        recs[i] = qRecs[order[i]];
    }
    std::vector<uint8_t> mergedKeys;
    std::vector<uint32_t> mergedRecs;
    for (size_t i = 0; i < n;) {
        // The leaf where the next queued pair belongs takes every queued pair up to its own
        // last one (the rightmost leaf takes all that are left).
        locateInLeaf(keys.data() + i * kl, recs[i]);
        Leaf& leaf = work_;
        size_t j = n;
        if (leaf.right != kNone && leaf.size() > 0) {
            const uint8_t* lastKey = leaf.key(leaf.size() - 1, kl);
            const uint32_t lastRec = leaf.recs.back();
            j = i + 1;
            while (j < n && compareEntry(keys.data() + j * kl, recs[j], lastKey, lastRec, kl) <= 0)
                ++j;
        }
        mergedKeys.clear();
        mergedRecs.clear();
        size_t a = 0, b = i;
        const size_t m = leaf.size();
        while (a < m || b < j) {
            int c = a == m ? 1 : b == j ? -1
                                        : compareEntry(leaf.key(a, kl), leaf.recs[a], keys.data() + b * kl, recs[b], kl);
            if (c <= 0) {
                mergedKeys.insert(mergedKeys.end(), leaf.key(a, kl), leaf.key(a, kl) + kl);
                mergedRecs.push_back(leaf.recs[a]);
                ++a;
                if (c == 0)
                    ++b;   // already present
            } else {
                const uint8_t* k = keys.data() + b * kl;
                if (!(b > i && recs[b] == recs[b - 1] && std::memcmp(k, k - kl, kl) == 0)) {   // queued twice
                    mergedKeys.insert(mergedKeys.end(), k, k + kl);
                    mergedRecs.push_back(recs[b]);
                }
                ++b;
            }
        }
        leaf.keys.swap(mergedKeys);
        leaf.recs.swap(mergedRecs);
        ++version_;
        Change ch = leafChanged(path_, leaf);
        if (path_.empty()) {
            if (ch.entries.size() / entrySize() >= 2)
                growRoot(std::move(ch.entries));
        } else {
            applyChange(path_, std::move(ch));
        }
        i = j;
    }
}

bool IndexTree::erase(const uint8_t* key, uint32_t rec)
{
    applyPending();
    std::vector<PathStep>& path = path_;
    Leaf& leaf = work_;
    const size_t lo = locateInLeaf(key, rec);
    if (lo >= leaf.size() || compareEntry(leaf.key(lo, keyLen_), leaf.recs[lo], key, rec, keyLen_) != 0)
        return false;
    leaf.keys.erase(leaf.keys.begin() + lo * keyLen_, leaf.keys.begin() + (lo + 1) * keyLen_);
    leaf.recs.erase(leaf.recs.begin() + lo);
    ++version_;
    Change ch = leafChanged(path, leaf);
    if (!path.empty())
        applyChange(path, std::move(ch));
    return true;
}

// ---------------------------------------------------------------- checking

void IndexTree::check(std::vector<std::string>& problems, std::unordered_map<uint32_t, std::string>& used,
                      const std::string& owner)
{
    try {
        applyPending();
    } catch (const std::exception& e) {
        problems.push_back(owner + ": " + e.what());
        return;
    }
    struct Level {
        std::vector<std::pair<uint32_t, std::pair<uint32_t, uint32_t>>> pages;   // page, (left, right)
    };
    std::vector<Level> levels;
    std::vector<uint8_t> prevKey;
    uint32_t prevRec = 0;
    bool havePrev = false, orderReported = false;
    std::vector<int> leafDepths;
    const size_t es = entrySize();
    auto problem = [&](const std::string& s) { problems.push_back(owner + ": " + s); };

    // Returns false when the subtree could not be read; fills its last entry.
    std::function<bool(uint32_t, int, bool, std::vector<uint8_t>&, uint32_t&, bool&)> walk =
        [&](uint32_t page, int depth, bool isRoot, std::vector<uint8_t>& lastKey, uint32_t& lastRec,
            bool& haveLast) -> bool {
        haveLast = false;
        if (depth >= kMaxDepth) {
            problem("the tree is more than 64 levels deep");
            return false;
        }
        if (!file_.validPage(page) || page < 2 * PageFile::kPageSize) {
            problem("page pointer " + std::to_string(page) + " is invalid");
            return false;
        }
        auto [it, fresh] = used.emplace(page, owner);
        if (!fresh) {
            problem(pageName(page) + " is also used by " + it->second);
            return false;
        }
        const uint8_t* p = file_.page(page);
        uint16_t attr = getLE16(p);
        if (attr > 3) {
            problem(pageName(page) + " has unknown attributes " + std::to_string(attr));
            return false;
        }
        if (isRoot != bool(attr & kAttrRoot))
            problem(pageName(page) + (isRoot ? " is the root but lacks the root mark" : " is marked root but is not"));
        if (levels.size() <= static_cast<size_t>(depth))
            levels.resize(depth + 1);
        levels[depth].pages.push_back({page, {getLE32(p + 4), getLE32(p + 8)}});
        if (attr & kAttrLeaf) {
            leafDepths.push_back(depth);
            Leaf leaf;
            decodeLeaf(page, leaf);
            size_t n = leaf.size();
            unsigned recBits = p[20], dupBits = p[21], trlBits = p[22], kb = p[23];
            if (recBits + dupBits + trlBits != 8 * kb)
                problem(pageName(page) + " bit widths do not fill the entry bytes");
            if (getLE32(p + 14) != maskOf(std::min(recBits, 32u)) || p[18] != maskOf(dupBits)
                || p[19] != maskOf(trlBits))
                problem(pageName(page) + " masks disagree with its bit widths");
            {
                // Recompute the free space from the counts.
                size_t stored = 0;
                for (size_t i = 0; i < n; ++i) {
                    uint64_t v = 0;
                    for (unsigned b = 0; b < kb; ++b)
                        v |= static_cast<uint64_t>(p[24 + i * kb + b]) << (8 * b);
                    size_t dup = (v >> recBits) & maskOf(dupBits);
                    size_t trl = (v >> (recBits + dupBits)) & maskOf(trlBits);
                    stored += keyLen_ - dup - trl;
                }
                size_t expFree = kLeafSpace - n * kb - stored;
                if (getLE16(p + 12) != expFree)
                    problem(pageName(page) + " free space " + std::to_string(getLE16(p + 12)) + ", computed "
                            + std::to_string(expFree));
            }
            for (size_t i = 0; i < n; ++i) {
                if (havePrev && !orderReported
                    && compareEntry(prevKey.data(), prevRec, leaf.key(i, keyLen_), leaf.recs[i], keyLen_) >= 0) {
                    problem("keys out of order at record " + std::to_string(leaf.recs[i]) + " in " + pageName(page));
                    orderReported = true;
                }
                prevKey.assign(leaf.key(i, keyLen_), leaf.key(i, keyLen_) + keyLen_);
                prevRec = leaf.recs[i];
                havePrev = true;
            }
            if (n) {
                lastKey.assign(leaf.key(n - 1, keyLen_), leaf.key(n - 1, keyLen_) + keyLen_);
                lastRec = leaf.recs[n - 1];
                haveLast = true;
            } else if (!isRoot) {
                problem("leaf " + pageName(page) + " is empty");
            }
            return true;
        }
        uint16_t n = getLE16(p + 2);
        if (n == 0 || 12 + n * es > PageFile::kPageSize) {
            problem("interior " + pageName(page) + " has an impossible key count " + std::to_string(n));
            return false;
        }
        std::vector<uint8_t> ents(p + 12, p + 12 + n * es);   // the page may move in the cache
        for (uint16_t i = 0; i < n; ++i) {
            const uint8_t* e = ents.data() + i * es;
            std::vector<uint8_t> childKey;
            uint32_t childRec = 0;
            bool childHas = false;
            if (!walk(getBE32(e + keyLen_ + 4), depth + 1, false, childKey, childRec, childHas))
                continue;
            if (childHas && (std::memcmp(childKey.data(), e, keyLen_) != 0 || childRec != getBE32(e + keyLen_)))
                problem("interior " + pageName(page) + " entry " + std::to_string(i)
                        + " is not the last key of its child " + pageName(getBE32(e + keyLen_ + 4)));
        }
        const uint8_t* lastE = ents.data() + (n - 1) * es;
        lastKey.assign(lastE, lastE + keyLen_);
        lastRec = getBE32(lastE + keyLen_);
        haveLast = true;
        return true;
    };
    try {
        std::vector<uint8_t> k;
        uint32_t r;
        bool h;
        walk(root(), 0, true, k, r, h);
    } catch (const std::exception& e) {
        problem(e.what());
        return;
    }
    std::sort(leafDepths.begin(), leafDepths.end());
    if (!leafDepths.empty() && leafDepths.front() != leafDepths.back())
        problem("leaves lie at different depths");
    for (auto& lv : levels) {
        for (size_t i = 0; i < lv.pages.size(); ++i) {
            uint32_t expL = i ? lv.pages[i - 1].first : kNone;
            uint32_t expR = i + 1 < lv.pages.size() ? lv.pages[i + 1].first : kNone;
            if (lv.pages[i].second.first != expL || lv.pages[i].second.second != expR)
                problem(pageName(lv.pages[i].first) + " sibling links are wrong");
        }
    }
}

} // namespace postavo::engine
