#include "cdx.h"

#include "cdxheader.h"
#include "cdxpagefile.h"
#include "cdxtree.h"
#include "engine_error.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace postavo::engine {

namespace {

constexpr uint16_t kDirectoryKeyLength = 10;

std::string upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

} // namespace

// ---------------------------------------------------------------- cursor

IndexCursor::IndexCursor(IndexTree* tree, bool descending)
    : tree_(tree), descending_(descending), leaf_(std::make_unique<IndexLeaf>())
{
}

IndexCursor::~IndexCursor() = default;

void IndexCursor::remember()
{
    const size_t kl = tree_->keyLength();
    curKey_.assign(reinterpret_cast<const char*>(leaf_->key(index_, kl)), kl);
    curRec_ = leaf_->recs[index_];
    version_ = tree_->version();
    valid_ = true;
}

bool IndexCursor::stale() const { return version_ != tree_->version(); }

void IndexCursor::materialize()
{
    if (lazy_) {
        tree_->decodeLeaf(lazyPage_, *leaf_);
        lazy_ = false;
    }
}

// From a (leaf, index) that may lie past either end of its leaf to the entry wanted: forward,
// the entry at the index (or the first of the next non-empty leaf); backward, the entry before
// the index (or the last of the previous non-empty leaf).
bool IndexCursor::settle(bool forward)
{
    if (forward ? index_ >= leaf_->size() : index_ == 0) {
        if (!(forward ? tree_->nextLeaf(*leaf_) : tree_->prevLeaf(*leaf_))) {
            valid_ = false;
            return false;
        }
        index_ = forward ? 0 : leaf_->size();
    }
    if (!forward)
        --index_;
    remember();
    return true;
}

// One entry on in stored (ascending) order, or one back.
bool IndexCursor::step(bool forward)
{
    if (!valid_)
        return false;
    if (stale()) {
        // The tree changed: find the entry again. The upper bound lands just past it, the
        // lower on it (or on what now follows it): either way one step from the entry wanted.
        lazy_ = false;
        size_t i;
        tree_->find(reinterpret_cast<const uint8_t*>(curKey_.data()), curKey_.size(), curRec_, true,
                    forward ? IndexTree::Bound::Upper : IndexTree::Bound::Lower, *leaf_, i);
        index_ = i;
    } else {
        materialize();
        if (forward)
            ++index_;
    }
    return settle(forward);
}

// The first (or last) entry in stored order.
bool IndexCursor::storedEdge(bool last)
{
    lazy_ = false;
    if (last)
        tree_->lastLeaf(*leaf_);
    else
        tree_->firstLeaf(*leaf_);
    index_ = last ? leaf_->size() : 0;
    return settle(!last);
}

bool IndexCursor::first() { return storedEdge(descending_); }
bool IndexCursor::last() { return storedEdge(!descending_); }
bool IndexCursor::next() { return step(!descending_); }
bool IndexCursor::prev() { return step(descending_); }

bool IndexCursor::seek(std::string_view key)
{
    const size_t kl = tree_->keyLength();
    const size_t len = std::min(key.size(), kl);
    const auto* k = reinterpret_cast<const uint8_t*>(key.data());
    size_t i;
    lazy_ = false;
    if (!descending_) {
        // Most seeks read one entry and go: the leaf is decoded only if the cursor moves on.
        uint32_t page;
        if (tree_->findInLeaf(k, len, IndexTree::Bound::Lower, page, i, curKey_, curRec_)) {
            lazy_ = true;
            lazyPage_ = page;
            index_ = i;
            version_ = tree_->version();
            valid_ = true;
        } else {
            tree_->decodeLeaf(page, *leaf_);
            index_ = leaf_->size();
            if (!settle(true))
                return false;
        }
    } else {
        // The first entry in descending order with this prefix is the last one stored.
        tree_->find(k, len, 0, false, IndexTree::Bound::Upper, *leaf_, i);
        index_ = i;
        if (!settle(false))
            return false;
    }
    return std::memcmp(curKey_.data(), key.data(), len) == 0;
}

bool IndexCursor::seekStoredFrom(std::string_view key)
{
    const size_t len = std::min(key.size(), size_t(tree_->keyLength()));
    size_t i;
    lazy_ = false;
    tree_->find(reinterpret_cast<const uint8_t*>(key.data()), len, 0, false, IndexTree::Bound::Lower, *leaf_, i);
    index_ = i;
    return settle(true);
}

bool IndexCursor::seekEntry(std::string_view key, uint32_t recno)
{
    const size_t kl = tree_->keyLength();
    std::string full(key.substr(0, kl));
    full.resize(kl, static_cast<char>(tree_->pad()));
    size_t i;
    lazy_ = false;
    tree_->find(reinterpret_cast<const uint8_t*>(full.data()), kl, recno, true, IndexTree::Bound::Lower,
                *leaf_, i);
    index_ = i;
    if (!settle(true))
        return false;
    return curRec_ == recno && curKey_ == full;
}

std::string_view IndexCursor::key() const { return valid_ ? std::string_view(curKey_) : std::string_view(); }
uint32_t IndexCursor::recno() const { return valid_ ? curRec_ : 0; }

// ---------------------------------------------------------------- compound index

CompoundIndex::CompoundIndex() = default;

CompoundIndex::~CompoundIndex()
{
    try {
        if (file_ && !file_->readOnly())
            flush();
    } catch (...) {
    }
}

const std::string& CompoundIndex::path() const { return file_->path(); }

std::unique_ptr<CompoundIndex> CompoundIndex::create(const std::string& path)
{
    std::unique_ptr<CompoundIndex> ix(new CompoundIndex);
    ix->file_ = PageFile::create(path);
    ix->file_->appendPages(2);
    TagInfo dir;
    dir.keyLength = kDirectoryKeyLength;
    writeIndexHeader(*ix->file_, 0, dir, indexopt::kCompact | indexopt::kCompound | indexopt::kStructural, 0);
    ix->directory_ = std::make_unique<IndexTree>(*ix->file_, 0, kDirectoryKeyLength, ' ');
    ix->directory_->initEmpty();
    ix->file_->flush();
    return ix;
}

std::unique_ptr<CompoundIndex> CompoundIndex::open(const std::string& path, bool readOnly,
                                                   const KeyTypeResolver& keyTypes)
{
    std::unique_ptr<CompoundIndex> ix(new CompoundIndex);
    ix->file_ = PageFile::open(path, readOnly);
    const uint8_t* h = ix->file_->page(0);
    if (!(h[14] & indexopt::kCompact) || !(h[14] & indexopt::kCompound))
        throw EngineError(EngineError::Kind::Unsupported, path, "not a compact compound index");
    if (getLE16(h + 12) != kDirectoryKeyLength)
        ix->file_->corrupt("the tag directory key length is " + std::to_string(getLE16(h + 12)) + ", not 10");
    ix->file_->freePages();   // throws on a damaged free list
    ix->directory_ = std::make_unique<IndexTree>(*ix->file_, 0, kDirectoryKeyLength, ' ');
    ix->readDirectory(keyTypes);
    return ix;
}

void CompoundIndex::readDirectory(const KeyTypeResolver& keyTypes)
{
    std::vector<std::pair<uint32_t, std::string>> found;
    IndexLeaf leaf;
    directory_->firstLeaf(leaf);
    do {
        for (size_t i = 0; i < leaf.size(); ++i) {
            std::string name(reinterpret_cast<const char*>(leaf.key(i, kDirectoryKeyLength)), kDirectoryKeyLength);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\0'))
                name.pop_back();
            uint32_t off = leaf.recs[i];
            if (name.empty())
                file_->corrupt("the tag directory holds an empty tag name");
            if (off < 2 * PageFile::kPageSize || off % PageFile::kPageSize
                || !file_->validPage(off + PageFile::kPageSize))
                file_->corrupt("tag " + name + " has its header outside the file");
            found.emplace_back(off, name);
        }
    } while (directory_->nextLeaf(leaf));
    // Tag numbers follow the header positions: tags are written in creation order.
    std::sort(found.begin(), found.end());
    for (size_t i = 1; i < found.size(); ++i)
        if (found[i].first == found[i - 1].first)
            file_->corrupt("tags " + found[i - 1].second + " and " + found[i].second + " share a header");
    for (auto& [off, name] : found) {
        uint8_t options;
        TagInfo t = readIndexHeader(*file_, off, options);
        t.name = upper(name);
        t.keyType = keyTypes ? keyTypes(t) : guessKeyType(t);
        trees_.push_back(std::make_unique<IndexTree>(*file_, off, t.keyLength, padFor(t.keyType)));
        headers_.push_back(off);
        tags_.push_back(std::move(t));
    }
}

std::size_t CompoundIndex::checkedTag(std::size_t tag) const
{
    if (tag >= tags_.size())
        throw EngineError(EngineError::Kind::Usage, file_->path(), "no tag number " + std::to_string(tag + 1));
    return tag;
}

const TagInfo& CompoundIndex::tag(std::size_t i) const { return tags_[checkedTag(i)]; }

int CompoundIndex::findTag(std::string_view name) const
{
    std::string u = upper(name);
    while (!u.empty() && u.back() == ' ')
        u.pop_back();
    for (size_t i = 0; i < tags_.size(); ++i)
        if (tags_[i].name == u)
            return static_cast<int>(i);
    return -1;
}

void CompoundIndex::setKeyType(std::size_t tag, KeyType type)
{
    checkedTag(tag);
    tags_[tag].keyType = type;
    trees_[tag]->setPad(padFor(type));
}

namespace {

using SortItem = SortedKey;

void loadPrefix(SortItem& it, const uint8_t* src, size_t keyLen, size_t offset)
{
    const uint8_t* k = src + static_cast<size_t>(it.position()) * keyLen;
    uint64_t p0 = 0, p1 = 0;
    for (size_t b = offset; b < offset + 8; ++b)
        p0 = (p0 << 8) | (b < keyLen ? k[b] : 0);
    for (size_t b = offset + 8; b < offset + 16; ++b)
        p1 = (p1 << 8) | (b < keyLen ? k[b] : 0);
    it.p0 = p0;
    it.p1 = p1;
    if (offset > 0)   // the numbers no longer hold the key's head
        it.index &= ~SortedKey::kWholeInHead;
}

bool allPad(const uint8_t* p, size_t n, uint8_t pad)
{
    const uint64_t word = 0x0101010101010101ull * pad;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w != word)
            return false;
    }
    for (; i < n; ++i)
        if (p[i] != pad)
            return false;
    return true;
}

// Sorts items that agree on their first `offset` key bytes by (key, record). They are sorted on
// the sixteen bytes they carry and the record number; a run that agrees on those is then sorted
// again on its next sixteen bytes, unless its keys agree to the end (as the many keys of a blank
// field do), when record order already is the order.
void sortRange(SortItem* first, SortItem* last, const uint8_t* src, size_t keyLen, size_t offset)
{
    auto less = [](const SortItem& a, const SortItem& b) {
        if (a.p0 != b.p0)
            return a.p0 < b.p0;
        if (a.p1 != b.p1)
            return a.p1 < b.p1;
        return a.rec < b.rec;
    };
    if (!std::is_sorted(first, last, less))   // keys arrive in record order: often sorted already
        std::sort(first, last, less);
    const size_t next = offset + 16;
    if (next >= keyLen)
        return;
    for (SortItem* run = first; run != last;) {
        SortItem* end = run + 1;
        while (end != last && end->p0 == run->p0 && end->p1 == run->p1)
            ++end;
        if (end - run > 1) {
            const uint8_t* head = src + static_cast<size_t>(run->position()) * keyLen + next;
            bool same = true;
            for (SortItem* it = run + 1; it != end && same; ++it)
                same = std::memcmp(src + static_cast<size_t>(it->position()) * keyLen + next, head, keyLen - next) == 0;
            if (!same) {
                for (SortItem* it = run; it != end; ++it)
                    loadPrefix(*it, src, keyLen, next);
                sortRange(run, end, src, keyLen, next);
            }
        }
        run = end;
    }
}

} // namespace

namespace {

void reserveLarge(std::vector<SortedKey>& v, size_t n)
{
    if (v.capacity() < n) {
        std::vector<SortedKey>().swap(v);
        v.reserve(n);
    }
    v.resize(n);
}

inline unsigned headByte(const SortItem& it, size_t b)
{
    return static_cast<unsigned>((b < 8 ? it.p0 >> (56 - 8 * b) : it.p1 >> (56 - 8 * (b - 8))) & 0xFF);
}

// Deals a run of items that agree on their first `byte` head bytes out by the next byte (in
// record order within each share, through `spare`), down to runs small enough for sortRange.
void radixRange(SortItem* first, SortItem* last, SortItem* spare, const uint8_t* src, size_t keyLen, size_t byte)
{
    const size_t n = static_cast<size_t>(last - first);
    if (n < 2)
        return;
    if (n <= 48 || byte >= 16) {
        sortRange(first, last, src, keyLen, 0);
        return;
    }
    uint32_t count[257] = {};
    for (SortItem* it = first; it != last; ++it)
        ++count[headByte(*it, byte) + 1];
    for (unsigned v = 0; v < 256; ++v)
        if (count[v + 1] == n) {   // all alike here: look at the next byte
            radixRange(first, last, spare, src, keyLen, byte + 1);
            return;
        }
    for (unsigned v = 0; v < 256; ++v)
        count[v + 1] += count[v];
    uint32_t at[256];
    std::memcpy(at, count, sizeof at);
    for (SortItem* it = first; it != last; ++it)
        spare[at[headByte(*it, byte)]++] = *it;
    std::memcpy(first, spare, n * sizeof(SortItem));
    for (unsigned v = 0; v < 256; ++v)
        radixRange(first + count[v], first + count[v + 1], spare, src, keyLen, byte + 1);
}

} // namespace

void KeySorter::sortInto(const KeyBlock& block, std::size_t keyLen, uint8_t pad, std::vector<SortedKey>& items,
                         std::vector<SortedKey>& spare)
{
    const size_t n = block.recnos.size();
    const auto* keys = reinterpret_cast<const uint8_t*>(block.keys.data());
    reserveLarge(spare, n);
    // The entries are first dealt out by their first two key bytes (keeping record order inside
    // each share), so that the comparison sort works on many short runs instead of one long one.
    constexpr size_t kBuckets = 1 << 16;
    std::vector<uint32_t> start(kBuckets + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        SortedKey& it = spare[i];
        it.rec = block.recnos[i];
        it.index = static_cast<uint32_t>(i);
        loadPrefix(it, keys, keyLen, 0);
        if (keyLen <= 16 || allPad(keys + i * keyLen + 16, keyLen - 16, pad))
            it.index |= SortedKey::kWholeInHead;
        ++start[(it.p0 >> 48) + 1];
    }
    for (size_t b = 0; b < kBuckets; ++b)
        start[b + 1] += start[b];
    reserveLarge(items, n);
    {
        std::vector<uint32_t> at(start.begin(), start.end() - 1);
        for (size_t i = 0; i < n; ++i)
            items[at[spare[i].p0 >> 48]++] = spare[i];
    }
    for (size_t b = 0; b < kBuckets; ++b)
        if (start[b + 1] - start[b] > 1)
            radixRange(items.data() + start[b], items.data() + start[b + 1], spare.data(), keys, keyLen, 2);
}

void KeySorter::sort(KeyBlock& block, std::size_t keyLen, uint8_t pad)
{
    std::vector<SortedKey> spare;
    sortInto(block, keyLen, pad, block.sorted, spare);
    block.isSorted = true;
}

void KeySorter::prepare(KeyBlock& block, const TagInfo& tag)
{
    const uint8_t pad = padFor(tag.keyType);
    const SortedKey* sorted = block.sorted.data();
    size_t n = block.sorted.size();
    if (!block.isSorted) {
        sortInto(block, tag.keyLength, pad, items_, spare_);
        sorted = items_.data();
        n = items_.size();
    }
    LeafCodec(tag.keyLength, pad)
        .encodeLeaves(reinterpret_cast<const uint8_t*>(block.keys.data()), sorted, n, tag.unique, block.leaves);
    block.isEncoded = true;
}

const std::vector<SortedKey>& KeySorter::order(const KeyBlock& block, const TagInfo& tag)
{
    sortInto(block, tag.keyLength, padFor(tag.keyType), items_, spare_);
    return items_;
}

void CompoundIndex::addTag(const TagInfo& info, std::vector<KeyEntry> entries,
                           const std::function<void(int)>& progress)
{
    KeyBlock block;
    block.keys.reserve(entries.size() * info.keyLength);
    block.recnos.reserve(entries.size());
    for (const KeyEntry& e : entries) {
        if (e.key.size() != info.keyLength)
            throw EngineError(EngineError::Kind::Usage, file_->path(),
                              "a key for tag " + info.name + " is " + std::to_string(e.key.size())
                                  + " bytes, not " + std::to_string(info.keyLength));
        block.keys += e.key;
        block.recnos.push_back(e.recno);
    }
    std::vector<KeyEntry>().swap(entries);
    buildTag(info, block, progress);
}

std::unique_ptr<IndexTree> CompoundIndex::beginTag(TagInfo& t, uint32_t& header)
{
    if (file_->readOnly())
        throw EngineError(EngineError::Kind::Usage, file_->path(), "the index is open read-only");
    t.name = upper(t.name);
    validateNewTag(file_->path(), t, true);
    if (findTag(t.name) >= 0)
        throw EngineError(EngineError::Kind::Usage, file_->path(), "tag " + t.name + " exists already");
    // The header goes at the end of the file so header order stays creation order.
    header = file_->appendPages(2);
    uint8_t options = indexopt::kCompact | indexopt::kCompound;
    if (t.unique)
        options |= indexopt::kUnique;
    if (!t.forExpr.empty())
        options |= indexopt::kHasFor;
    writeIndexHeader(*file_, header, t, options, 0);
    return std::make_unique<IndexTree>(*file_, header, t.keyLength, padFor(t.keyType));
}

void CompoundIndex::endTag(TagInfo t, uint32_t header, std::unique_ptr<IndexTree> tree)
{
    std::string dirKey = t.name;
    dirKey.resize(kDirectoryKeyLength, ' ');
    directory_->insert(reinterpret_cast<const uint8_t*>(dirKey.data()), header);
    trees_.push_back(std::move(tree));
    headers_.push_back(header);
    tags_.push_back(std::move(t));
    file_->relieve();   // building many large tags in a row need not hold them all in memory
}

void CompoundIndex::buildTag(const TagInfo& info, KeyBlock& block, const std::function<void(int)>& progress)
{
    TagInfo t = info;
    if (block.keys.size() != block.recnos.size() * t.keyLength)
        throw EngineError(EngineError::Kind::Usage, file_->path(),
                          "the keys for tag " + upper(t.name) + " are not " + std::to_string(t.keyLength) + " bytes each");
    if (block.recnos.size() >= SortedKey::kWholeInHead)
        throw EngineError(EngineError::Kind::Usage, file_->path(), "too many keys for one tag");
    uint32_t header = 0;
    std::unique_ptr<IndexTree> tree = beginTag(t, header);
    if (progress)
        progress(0);
    if (!block.isSorted && !block.isEncoded)
        KeySorter::sort(block, t.keyLength, padFor(t.keyType));
    if (progress)
        progress(40);
    if (block.isEncoded)
        tree->adopt(block.leaves);
    else
        tree->build(reinterpret_cast<const uint8_t*>(block.keys.data()), block.sorted.data(), block.sorted.size(),
                    t.unique, progress);
    endTag(std::move(t), header, std::move(tree));
}

void CompoundIndex::buildTagStreamed(const TagInfo& info, const IndexTree::EntrySource& next)
{
    TagInfo t = info;
    uint32_t header = 0;
    std::unique_ptr<IndexTree> tree = beginTag(t, header);
    // Its pages go to the file as they fill rather than staying in memory: a few megabytes
    // whatever the size of the tag.
    const uint32_t limit = file_->cacheLimit();
    file_->setCacheLimit(8192);
    try {
        tree->buildStreamed(next, t.unique);
        file_->relieve();
    } catch (...) {
        file_->setCacheLimit(limit);
        throw;
    }
    file_->setCacheLimit(limit);
    endTag(std::move(t), header, std::move(tree));
}

void CompoundIndex::checkNewKey(std::size_t tag, std::string_view key) const
{
    checkedTag(tag);
    if (key.size() != tags_[tag].keyLength)
        throw EngineError(EngineError::Kind::Usage, file_->path(),
                          "a key for tag " + tags_[tag].name + " must be " + std::to_string(tags_[tag].keyLength)
                              + " bytes");
    if (file_->readOnly())
        throw EngineError(EngineError::Kind::Usage, file_->path(), "the index is open read-only");
}

bool CompoundIndex::insertKey(std::size_t tag, std::string_view key, uint32_t recno)
{
    checkNewKey(tag, key);
    const auto* k = reinterpret_cast<const uint8_t*>(key.data());
    if (tags_[tag].unique && trees_[tag]->containsKey(k))
        return false;
    return trees_[tag]->insert(k, recno);
}

void CompoundIndex::insertNewKey(std::size_t tag, std::string_view key, uint32_t recno)
{
    checkNewKey(tag, key);
    if (tags_[tag].unique) {
        insertKey(tag, key, recno);
        return;
    }
    trees_[tag]->insertLater(reinterpret_cast<const uint8_t*>(key.data()), recno);
}

bool CompoundIndex::deleteKey(std::size_t tag, std::string_view key, uint32_t recno)
{
    checkedTag(tag);
    if (key.size() != tags_[tag].keyLength)
        return false;
    if (file_->readOnly())
        throw EngineError(EngineError::Kind::Usage, file_->path(), "the index is open read-only");
    return trees_[tag]->erase(reinterpret_cast<const uint8_t*>(key.data()), recno);
}

std::unique_ptr<IndexCursor> CompoundIndex::cursor(std::size_t tag)
{
    checkedTag(tag);
    return std::make_unique<IndexCursor>(trees_[tag].get(), tags_[tag].descending);
}

std::size_t CompoundIndex::keyCount(std::size_t tag) { return trees_[checkedTag(tag)]->count(); }

void CompoundIndex::flush()
{
    for (auto& tree : trees_)
        tree->applyPending();
    file_->flush();
}
void CompoundIndex::setCacheLimit(uint32_t pages) { file_->setCacheLimit(pages); }
void CompoundIndex::setSharedWriter(bool on) { file_->setCountChanges(on); }
uint32_t CompoundIndex::changeCounter() { return file_->changeCounter(); }
void CompoundIndex::sync()
{
    flush();
    file_->sync();
}

std::vector<std::string> CompoundIndex::check()
{
    std::vector<std::string> problems;
    try {
        for (auto& tree : trees_)
            tree->applyPending();
    } catch (const std::exception& e) {
        problems.push_back(e.what());
        return problems;
    }
    std::unordered_map<uint32_t, std::string> used;
    auto mark = [&](uint32_t page, const std::string& owner) {
        auto [it, fresh] = used.emplace(page, owner);
        if (!fresh)
            problems.push_back(owner + ": page " + std::to_string(page) + " is also used by " + it->second);
    };
    mark(0, "file header");
    mark(512, "file header");
    try {
        for (uint32_t p : file_->freePages())
            mark(p, "free list");
    } catch (const std::exception& e) {
        problems.push_back(e.what());
    }
    directory_->check(problems, used, "tag directory");
    for (size_t i = 0; i < tags_.size(); ++i) {
        mark(headers_[i], "tag " + tags_[i].name + " header");
        mark(headers_[i] + 512, "tag " + tags_[i].name + " header");
        trees_[i]->check(problems, used, "tag " + tags_[i].name);
    }
    return problems;
}

} // namespace postavo::engine
