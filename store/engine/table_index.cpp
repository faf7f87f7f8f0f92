// Table: the production index, the temporary index, orders, seek, scope, query and check.
#include "recordengine.h"

#include "cdxheader.h"
#include "cdxtree.h"
#include "file_lock.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <future>
#include <unistd.h>
#include <cstring>

namespace postavo::engine {

namespace {

constexpr std::size_t kScanBytes = 1024 * 1024;
// Fewer records than this per run would make the merge of the runs the slow part.
constexpr std::uint32_t kMinChunk = 4096;

KeyType keyTypeOf(ValueType t)
{
    switch (t) {
    case ValueType::Numeric: return KeyType::Numeric;
    case ValueType::Date: return KeyType::Date;
    case ValueType::Logical: return KeyType::Logical;
    default: return KeyType::Character;
    }
}

std::string upperAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return r;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

// ---------------------------------------------------------------- opening and flushing

std::string Table::memoText(std::uint32_t block) const { return memo_ ? memo_->read(block) : std::string(); }

Expression Table::compile(std::string_view expression) const
{
    return Expression::compile(expression, fieldDefs_);
}

Table::TagState Table::compileTag(const TagInfo& info) const
{
    TagState t;
    try {
        t.key = compile(info.keyExpr);
        if (!info.forExpr.empty()) {
            t.forCond = compile(info.forExpr);
            if (t.forCond.type() != ValueType::Logical)
                t.error = "tag " + info.name + ": FOR condition is not logical";
        }
    } catch (const EngineError& e) {
        t.error = "tag " + info.name + ": " + e.what();
    }
    if (t.error.empty())
        t.byBytes = t.key.recordBytes(t.bytes) && t.forCond.recordBytes(t.bytes);
    return t;
}

void Table::writeFlags()
{
    if (mode_ == OpenMode::ReadOnly)
        return;
    file_.write(28, &header_.flags, 1);
}

void Table::openIndex()
{
    const std::string path = indexPath();
    if (!fileExists(path)) {
        if ((header_.flags & DbfHeader::kHasStructuralIndex) && mode_ == OpenMode::Exclusive) {
            // The index was deleted (to be rebuilt): stop announcing one.
            header_.flags &= std::uint8_t(~DbfHeader::kHasStructuralIndex);
            writeFlags();
        }
        return;
    }
    KeyTypeResolver resolver = [this](const TagInfo& info) {
        try {
            return keyTypeOf(compile(info.keyExpr).type());
        } catch (const EngineError&) {
            return info.keyType;
        }
    };
    indexError_.clear();
    try {
        cdx_ = CompoundIndex::open(path, mode_ == OpenMode::ReadOnly, resolver);
        cdx_->setSharedWriter(mode_ == OpenMode::Shared);
    } catch (const EngineError& e) {
        // A damaged index must not keep the table shut: the caller sees no tags and rebuilds.
        indexError_ = e.what();
        cdx_.reset();
        return;
    }
    tags_.clear();
    for (std::size_t i = 0; i < cdx_->tagCount(); ++i)
        tags_.push_back(compileTag(cdx_->tag(i)));

    unsigned char marker = 0;
    file_.readSome(14, &marker, 1);
    indexDirty_ = marker != 0;
    if (indexDirty_ && mode_ == OpenMode::Exclusive) {
        // The last writer stopped before its index changes were complete: rebuild.
        bool compiled = std::all_of(tags_.begin(), tags_.end(), [](const TagState& t) { return t.error.empty(); });
        if (compiled)
            rebuildIndex(currentTagSpecs());
    }
}

void Table::markIndexDirty()
{
    if (indexDirty_ || mode_ == OpenMode::ReadOnly)
        return;
    const unsigned char one = 1;
    file_.write(14, &one, 1);
    indexDirty_ = true;
}

void Table::flushIndexes(bool sync)
{
    if (tempIndex_)
        tempIndex_->flush();
    if (!cdx_)
        return;
    if (sync)
        cdx_->sync();
    else
        cdx_->flush();
    if (indexDirty_ && mode_ != OpenMode::ReadOnly) {
        const unsigned char zero = 0;
        file_.write(14, &zero, 1);
        indexDirty_ = false;
    }
}

std::vector<TagSpec> Table::currentTagSpecs() const
{
    std::vector<TagSpec> specs;
    if (cdx_)
        for (std::size_t i = 0; i < cdx_->tagCount(); ++i) {
            const TagInfo& t = cdx_->tag(i);
            specs.push_back({t.name, t.keyExpr, t.forExpr, t.unique, t.descending});
        }
    return specs;
}

void Table::keyOf(const TagState& tag, const unsigned char* data, std::uint32_t recno, std::string& out) const
{
    tag.key.evalKey(ref(data, recno), out);
}

namespace {
bool sameBytes(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ranges, const unsigned char* a,
               const unsigned char* b)
{
    for (const auto& [offset, length] : ranges)
        if (std::memcmp(a + offset, b + offset, length) != 0)
            return false;
    return true;
}
} // namespace

void Table::updateKeys()
{
    const bool appended = pendingAppend_;
    keysDone_ = 0;
    if (cdx_) {
        for (std::size_t i = 0; i < tags_.size(); keysDone_ = ++i) {
            const TagState& t = tags_[i];
            if (!appended && t.byBytes && sameBytes(t.bytes, original_.data(), record_.data()))
                continue;  // same inputs, same key and condition: bulk edits touch few tags
            const bool newIn = t.forCond.empty() || t.forCond.evalLogical(ref(record_.data(), recno_));
            keyOf(t, record_.data(), recno_, keyB_);
            if (appended) {
                if (newIn) {
                    markIndexDirty();
                    cdx_->insertNewKey(i, keyB_, recno_);
                }
                continue;
            }
            const bool oldIn = t.forCond.empty() || t.forCond.evalLogical(ref(original_.data(), recno_));
            keyOf(t, original_.data(), recno_, keyA_);
            if (oldIn == newIn && (!oldIn || keyA_ == keyB_))
                continue;
            markIndexDirty();
            if (oldIn)
                cdx_->deleteKey(i, keyA_, recno_);
            if (newIn)
                cdx_->insertKey(i, keyB_, recno_);
        }
    }
    if (tempIndex_ && !appended) {
        // A record of the subset stays in it under its new key.
        keyOf(tempTag_, original_.data(), recno_, keyA_);
        keyOf(tempTag_, record_.data(), recno_, keyB_);
        if (keyA_ != keyB_ && tempIndex_->deleteKey(keyA_, recno_))
            tempIndex_->insertKey(keyB_, recno_);
    }
    if (cursor_ && !appended)
        cursor_.reset();  // the tree changed under it; it is re-found from the record
}

void Table::undoKeys(const unsigned char* before, const unsigned char* after, bool appended, std::size_t tagCount)
{
    if (!cdx_)
        return;
    for (std::size_t i = 0; i < tagCount && i < tags_.size(); ++i) {
        const TagState& t = tags_[i];
        const bool newIn = t.forCond.empty() || t.forCond.evalLogical(ref(after, recno_));
        keyOf(t, after, recno_, keyB_);
        if (appended) {
            if (newIn)
                cdx_->deleteKey(i, keyB_, recno_);
            continue;
        }
        const bool oldIn = t.forCond.empty() || t.forCond.evalLogical(ref(before, recno_));
        keyOf(t, before, recno_, keyA_);
        if (oldIn == newIn && (!oldIn || keyA_ == keyB_))
            continue;
        if (newIn)
            cdx_->deleteKey(i, keyB_, recno_);
        if (oldIn)
            cdx_->insertKey(i, keyA_, recno_);
    }
    cursor_.reset();
}

// ---------------------------------------------------------------- orders

std::size_t Table::tagCount() const { return cdx_ ? cdx_->tagCount() : 0; }

std::string Table::tagName(std::size_t order) const
{
    if (!cdx_ || order < 1 || order > cdx_->tagCount())
        return {};
    return cdx_->tag(order - 1).name;
}

const TagInfo& Table::tagInfo(std::size_t order) const
{
    if (!cdx_ || order < 1 || order > cdx_->tagCount())
        throw EngineError(EngineError::Kind::Usage, path_, "no order " + std::to_string(order));
    return cdx_->tag(order - 1);
}

int Table::orderNumber(std::string_view name) const
{
    if (!cdx_)
        return 0;
    return cdx_->findTag(name) + 1;
}

void Table::setOrder(int order)
{
    post();
    if (order == -1 && !tempIndex_)
        order = 0;
    if (order < -1 || order > int(tagCount()))
        throw EngineError(EngineError::Kind::Usage, path_, "no order " + std::to_string(order));
    if (order > 0 && !tags_[std::size_t(order - 1)].error.empty())
        throw EngineError(EngineError::Kind::Unsupported, path_, tags_[std::size_t(order - 1)].error);
    order_ = order;
    cursor_.reset();
    found_ = false;
}

void Table::setOrder(std::string_view name) { setOrder(orderNumber(name)); }

const Table::TagState& Table::activeTag() const
{
    return order_ == -1 ? tempTag_ : tags_[std::size_t(order_ - 1)];
}

IndexCursor* Table::activeCursor()
{
    if (!cursor_)
        makeCursor();
    return cursor_.get();
}

void Table::makeCursor()
{
    if (order_ == -1)
        cursor_ = tempIndex_->cursor();
    else
        cursor_ = cdx_->cursor(std::size_t(order_ - 1));
}

// ---------------------------------------------------------------- moving in an order

bool Table::aboveScope(std::string_view key) const
{
    return scoped_ && !scopeTop_.empty() && key.substr(0, scopeTop_.size()) < scopeTop_;
}

bool Table::belowScope(std::string_view key) const
{
    return scoped_ && !scopeBottom_.empty() && key.substr(0, scopeBottom_.size()) > scopeBottom_;
}

bool Table::acceptEntry(std::uint32_t recno)
{
    // An entry past the table's end (an index left behind by a crash) is not a record.
    if (recno < 1 || recno > header_.recordCount)
        return false;
    file_.readExact(header_.recordOffset(recno), scratch_.data(), scratch_.size());
    if (!visible(recno, scratch_.data()))
        return false;
    std::memcpy(record_.data(), scratch_.data(), record_.size());
    std::memcpy(original_.data(), scratch_.data(), record_.size());
    recno_ = recno;
    eof_ = bof_ = false;
    return true;
}

bool Table::descendingOrder() const
{
    return order_ > 0 && cdx_ && std::size_t(order_) <= cdx_->tagCount() && cdx_->tag(std::size_t(order_) - 1).descending;
}

// A scope is a range of key values whatever the direction of the order: walking a descending
// order forward, the keys fall, so the range starts at its upper bound and ends at its lower.
const std::string& Table::scopeStart() const { return descendingOrder() ? scopeBottom_ : scopeTop_; }

bool Table::beforeScopeStart(std::string_view key) const
{
    return descendingOrder() ? belowScope(key) : aboveScope(key);
}

bool Table::pastScopeEnd(std::string_view key) const
{
    return descendingOrder() ? aboveScope(key) : belowScope(key);
}

// From the cursor's entry on (or back) to the first entry that is in scope and visible; false
// when the scope or the order ends first.
bool Table::settleCursor(bool forward)
{
    IndexCursor* c = activeCursor();
    while (c->valid()) {
        const std::string_view key = c->key();
        if (forward ? pastScopeEnd(key) : beforeScopeStart(key))
            return false;
        if (!(forward ? beforeScopeStart(key) : pastScopeEnd(key)) && acceptEntry(c->recno()))
            return true;
        if (!(forward ? c->next() : c->prev()))
            break;
    }
    return false;
}

bool Table::syncCursor(bool& onGreater)
{
    IndexCursor* c = activeCursor();
    keyOf(activeTag(), record_.data(), recno_, keyA_);
    if (c->seekEntry(keyA_, recno_)) {
        onGreater = false;
        return true;
    }
    // The record is not in this order (a FOR tag, the temporary index): stand on what follows.
    onGreater = true;
    c->seek(keyA_);
    while (c->valid() && c->key() == keyA_ && c->recno() < recno_)
        c->next();
    return c->valid();
}

void Table::skipIndexed(long count)
{
    IndexCursor* c = activeCursor();
    if (eof_) {
        if (count > 0)
            return;
        if (!c->last() || !settleCursor(false)) {
            setPhantom();
            bof_ = true;
            return;
        }
        ++count;
    }
    bool onGreater = false;
    bool positioned = count != 0 ? syncCursor(onGreater) : true;
    while (count > 0) {
        if (!onGreater && positioned)
            c->next();
        onGreater = false;
        if (!positioned || !c->valid() || !settleCursor(true)) {
            setPhantom();
            bof_ = false;
            return;
        }
        positioned = true;
        --count;
    }
    while (count < 0) {
        const bool moved = positioned ? c->prev() : c->last();
        positioned = true;
        if (!moved || !c->valid() || !settleCursor(false)) {
            goTop();
            bof_ = true;
            return;
        }
        ++count;
    }
}

bool Table::seek(std::string_view key)
{
    post();
    if (!usingCursor())
        throw EngineError(EngineError::Kind::Usage, path_, "seek needs an index order");
    const TagState& tag = activeTag();
    std::string k(key);
    if (exact_ && tag.key.type() == ValueType::Character && k.size() < tag.key.keyLength())
        k.resize(tag.key.keyLength(), ' ');
    IndexCursor* c = activeCursor();
    c->seek(k);
    found_ = false;
    if (!c->valid() || !settleCursor(true)) {
        setPhantom();
        bof_ = false;
        return false;
    }
    found_ = startsWith(c->key(), k);
    if (!found_ && !softSeek_) {
        setPhantom();
        bof_ = false;
    }
    return found_;
}

void Table::setScope(std::string_view top, std::string_view bottom)
{
    scoped_ = true;
    scopeTop_ = top;
    scopeBottom_ = bottom;
}

void Table::clearScope()
{
    scoped_ = false;
    scopeTop_.clear();
    scopeBottom_.clear();
}

// ---------------------------------------------------------------- building

void Table::indexTag(const TagSpec& tag) { indexTags({tag}); }

void Table::indexTags(const std::vector<TagSpec>& specs)
{
    indexError_.clear();  // a damaged index file is replaced by the new one
    requireWritable();
    post();
    if (specs.empty())
        return;
    bool replaces = false;
    if (cdx_)
        for (const TagSpec& s : specs)
            replaces = replaces || cdx_->findTag(s.name) >= 0;
    if (replaces || !cdx_) {
        std::vector<TagSpec> all = currentTagSpecs();
        for (const TagSpec& s : specs) {
            auto same = std::find_if(all.begin(), all.end(),
                                     [&](const TagSpec& t) { return upperAscii(t.name) == upperAscii(s.name); });
            if (same != all.end())
                *same = s;
            else
                all.push_back(s);
        }
        rebuildIndex(all);
        return;
    }
    markIndexDirty();
    appendTags(specs);
    flushIndexes(true);
    reportProgress(100);
    cursor_.reset();
}

// Building tags in bulk. The keys of every tag are evaluated in one pass over the records on two
// threads, each taking a share of the tags. When they fit the memory allowed, each tag's keys
// are sorted and its leaves encoded at once; otherwise the records are taken a chunk at a time,
// each chunk's keys sorted into a run in a scratch file beside the table, and each tag is then
// built from a merge of its runs, its leaves written as they fill. Either way the index file is
// the same, byte for byte, and memory stays within the allowance however large the table.
struct Table::TagBuild {
    std::vector<TagInfo> infos;
    std::vector<TagState> states;
    std::vector<std::size_t> mine[2];               // tags evaluated by each thread
    std::vector<KeyBlock> blocks;                   // one per tag
    std::vector<Expression> keyCopies, forCopies;   // the second thread's own work buffers
    KeySorter sorters[2];
    std::atomic<bool> stop{false};
};

namespace {

// The sorted runs of one tag in a scratch file: entries of the key then the record number.
struct TagRuns {
    std::string path;
    DataFile file;
    std::uint64_t size = 0;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> runs;   // offset, entries
};

void discardRuns(TagRuns& r)
{
    r.file.close();
    if (!r.path.empty())
        ::unlink(r.path.c_str());
    r.path.clear();
}

struct RunFilesRemover {
    std::vector<TagRuns>& runs;
    ~RunFilesRemover()
    {
        for (TagRuns& r : runs)
            discardRuns(r);
    }
};

void writeRun(TagRuns& out, const KeyBlock& block, const std::vector<SortedKey>& items, const TagInfo& info,
              std::vector<unsigned char>& buf)
{
    const std::size_t kl = info.keyLength, es = kl + 4;
    const auto* keys = reinterpret_cast<const uint8_t*>(block.keys.data());
    const uint8_t pad = padFor(info.keyType);
    out.runs.push_back({out.size, items.size()});
    const std::size_t per = std::max<std::size_t>(1, kScanBytes / es);
    for (std::size_t i = 0; i < items.size(); i += per) {
        const std::size_t count = std::min(per, items.size() - i);
        buf.resize(count * es);
        for (std::size_t j = 0; j < count; ++j) {
            unsigned char* e = &buf[j * es];
            writeSortedKey(items[i + j], keys, kl, pad, e);
            std::memcpy(e + kl, &items[i + j].rec, 4);
        }
        out.file.write(out.size, buf.data(), buf.size());
        out.size += buf.size();
    }
}

// Reads one sorted run back a buffer at a time.
class RunReader {
public:
    RunReader(const DataFile& file, std::uint64_t offset, std::uint64_t entries, std::size_t entrySize)
        : file_(file), pos_(offset), left_(entries), es_(entrySize), per_(std::max<std::size_t>(1, 65536 / entrySize))
    {
        fill();
    }
    bool valid() const { return at_ < have_; }
    const unsigned char* entry() const { return &buf_[at_ * es_]; }
    void advance()
    {
        if (++at_ == have_)
            fill();
    }

private:
    void fill()
    {
        at_ = 0;
        have_ = std::size_t(std::min<std::uint64_t>(per_, left_));
        if (have_ == 0)
            return;
        buf_.resize(have_ * es_);
        file_.readExact(pos_, buf_.data(), buf_.size());
        pos_ += buf_.size();
        left_ -= have_;
    }
    const DataFile& file_;
    std::uint64_t pos_, left_;
    std::size_t es_, per_, at_ = 0, have_ = 0;
    std::vector<unsigned char> buf_;
};


// Hands over the entries of a tag's runs in (key, record) order. Runs hold records in ascending
// ranges, so among equal keys the earlier run holds the lower record.
class RunMerge {
public:
    RunMerge(const TagRuns& runs, std::size_t keyLength) : kl_(keyLength)
    {
        readers_.reserve(runs.runs.size());
        for (const auto& run : runs.runs)
            readers_.emplace_back(runs.file, run.first, run.second, keyLength + 4);
        for (std::size_t i = 0; i < readers_.size(); ++i)
            if (readers_[i].valid())
                heap_.push_back(i);
        std::make_heap(heap_.begin(), heap_.end(), Later{this});
    }
    bool next(uint8_t* key, uint32_t& rec)
    {
        if (heap_.empty())
            return false;
        std::pop_heap(heap_.begin(), heap_.end(), Later{this});
        RunReader& r = readers_[heap_.back()];
        std::memcpy(key, r.entry(), kl_);
        std::memcpy(&rec, r.entry() + kl_, 4);
        r.advance();
        if (r.valid())
            std::push_heap(heap_.begin(), heap_.end(), Later{this});
        else
            heap_.pop_back();
        return true;
    }

private:
    struct Later {
        const RunMerge* m;
        bool operator()(std::size_t x, std::size_t y) const
        {
            const int c = std::memcmp(m->readers_[x].entry(), m->readers_[y].entry(), m->kl_);
            return c != 0 ? c > 0 : x > y;
        }
    };
    std::size_t kl_;
    std::vector<RunReader> readers_;
    std::vector<std::size_t> heap_;
};

} // namespace

void Table::planTagBuild(const std::vector<TagSpec>& specs, TagBuild& b) const
{
    for (const TagSpec& s : specs) {
        TagInfo info;
        info.name = upperAscii(s.name);
        info.keyExpr = s.keyExpr;
        info.forExpr = s.forExpr;
        info.unique = s.unique;
        info.descending = s.descending;
        if (info.name.empty() || info.name.size() > 10)
            throw EngineError(EngineError::Kind::Usage, path_, "bad tag name \"" + s.name + "\"");
        TagState st = compileTag(info);
        if (!st.error.empty())
            throw EngineError(EngineError::Kind::Expression, path_, st.error);
        if (st.key.keyLength() == 0 || st.key.keyLength() > 240)
            throw EngineError(EngineError::Kind::Usage, path_, "tag " + info.name + ": key length must be 1 to 240");
        info.keyLength = std::uint16_t(st.key.keyLength());
        info.keyType = keyTypeOf(st.key.type());
        b.infos.push_back(info);
        b.states.push_back(std::move(st));
    }
    // The two threads take the tags longest keys first, each to the one with less work so far.
    // A small table is not worth a thread.
    std::vector<std::size_t> ranked(specs.size());
    for (std::size_t t = 0; t < ranked.size(); ++t)
        ranked[t] = t;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](std::size_t x, std::size_t y) { return b.infos[x].keyLength > b.infos[y].keyLength; });
    std::uint64_t load[2] = {0, 0};
    for (std::size_t t : ranked) {
        const int side = load[0] <= load[1] || header_.recordCount < 20000 ? 0 : 1;
        b.mine[side].push_back(t);
        load[side] += b.infos[t].keyLength + sizeof(std::uint32_t);
    }
    for (std::size_t t = 0; t < specs.size(); ++t) {
        b.keyCopies.push_back(b.states[t].key);
        b.forCopies.push_back(b.states[t].forCond);
    }
}

// Key blocks for `records` records of every tag, each given at once the most it will hold.
void Table::reserveKeyBlocks(TagBuild& b, std::uint32_t records) const
{
    b.blocks.resize(b.infos.size());
    for (std::size_t t = 0; t < b.blocks.size(); ++t) {
        b.blocks[t].keys.reserve(std::size_t(records) * b.infos[t].keyLength);
        b.blocks[t].recnos.reserve(records);
    }
}

// Evaluates the keys of the tags `mine` for records first..last into their blocks. The first
// thread reports its reading as progress from `from` to `to` over the whole table.
void Table::evaluateTags(TagBuild& b, const std::vector<std::size_t>& mine, bool second, std::uint32_t first,
                         std::uint32_t last, int from, int to)
{
    for (std::size_t t : mine)
        b.blocks[t].clear();
    if (mine.empty())
        return;
    const std::size_t len = header_.recordLength;
    const std::uint32_t n = header_.recordCount;
    const std::uint32_t per = std::uint32_t(std::max<std::size_t>(1, kScanBytes / len));
    std::vector<unsigned char> buf;
    std::string key;
    int shown = -1;
    for (std::uint64_t next = first; next <= last && !b.stop; next += per) {
        const std::uint32_t r = std::uint32_t(next);
        const std::uint32_t count = std::min(per, last - r + 1);
        buf.resize(std::size_t(count) * len);
        file_.readExact(header_.recordOffset(r), buf.data(), buf.size());
        for (std::size_t t : mine) {
            const Expression& keyExpr = second ? b.keyCopies[t] : b.states[t].key;
            const Expression& forExpr = second ? b.forCopies[t] : b.states[t].forCond;
            KeyBlock& block = b.blocks[t];
            for (std::uint32_t j = 0; j < count; ++j) {
                const unsigned char* rec = &buf[std::size_t(j) * len];
                if (!forExpr.empty() && !forExpr.evalLogical(ref(rec, r + j)))
                    continue;
                keyExpr.evalKey(ref(rec, r + j), key);
                block.keys.append(key);
                block.recnos.push_back(r + j);
            }
        }
        if (!second) {
            const int p = from + int(std::uint64_t(r + count - 1) * (to - from) / n);
            if (p != shown)
                reportProgress(shown = p);
        }
    }
}

// Runs `work` for each thread's share of the tags, the second share on another thread.
void Table::onBothThreads(TagBuild& b, const std::function<void(const std::vector<std::size_t>&, bool)>& work)
{
    std::future<void> other;
    if (!b.mine[1].empty())
        other = std::async(std::launch::async, [&] { work(b.mine[1], true); });
    try {
        work(b.mine[0], false);
    } catch (...) {
        b.stop = true;
        if (other.valid())
            other.wait();
        throw;
    }
    if (other.valid())
        other.get();
}

void Table::appendTags(const std::vector<TagSpec>& specs)
{
    TagBuild b;
    planTagBuild(specs, b);
    reportProgress(0);
    if (b.infos.empty())
        return;
    const std::uint32_t n = header_.recordCount;
    // Per record: every tag's key and record number, and the two sorters' work space.
    std::uint64_t perRecord = 4 * sizeof(SortedKey);
    for (const TagInfo& info : b.infos)
        perRecord += info.keyLength + sizeof(std::uint32_t);
    if (std::uint64_t(n) * perRecord > buildMemory_ && n > kMinChunk) {
        appendTagsInRuns(b, std::uint32_t(std::max<std::uint64_t>(kMinChunk, buildMemory_ / perRecord)));
        return;
    }
    reserveKeyBlocks(b, n);
    onBothThreads(b, [&](const std::vector<std::size_t>& mine, bool second) {
        evaluateTags(b, mine, second, 1, n, 0, 60);
        for (std::size_t t : mine)
            if (!b.stop)
                b.sorters[second].prepare(b.blocks[t], b.infos[t]);
    });
    // Then this thread writes the tags to the index in creation order.
    for (std::size_t t = 0; t < b.infos.size(); ++t) {
        const int from = 60 + int(t) * 40 / int(b.infos.size());
        auto hook = [&, from](int p) { reportProgress(from + p * 40 / (100 * int(b.infos.size()))); };
        cdx_->buildTag(b.infos[t], b.blocks[t], hook);
        b.blocks[t] = KeyBlock();   // done with: the memory goes back at once
        tags_.push_back(std::move(b.states[t]));
    }
}

void Table::appendTagsInRuns(TagBuild& b, std::uint32_t chunk)
{
    const std::uint32_t n = header_.recordCount;
    std::vector<TagRuns> runs(b.infos.size());
    RunFilesRemover remover{runs};
    for (std::size_t t = 0; t < runs.size(); ++t) {
        runs[t].path = path_ + ".sort" + std::to_string(t);
        runs[t].file = DataFile::create(runs[t].path);
    }
    reserveKeyBlocks(b, chunk);
    std::vector<unsigned char> bufs[2];
    for (std::uint64_t from = 1; from <= n; from += chunk) {
        const auto first = std::uint32_t(from), last = std::uint32_t(std::min<std::uint64_t>(n, from + chunk - 1));
        onBothThreads(b, [&](const std::vector<std::size_t>& mine, bool second) {
            evaluateTags(b, mine, second, first, last, 0, 50);
            for (std::size_t t : mine)
                if (!b.stop)
                    writeRun(runs[t], b.blocks[t], b.sorters[second].order(b.blocks[t], b.infos[t]), b.infos[t],
                             bufs[second]);
        });
    }
    b.blocks.clear();
    b.blocks.shrink_to_fit();
    b.sorters[0] = KeySorter();
    b.sorters[1] = KeySorter();
    // Then each tag from a merge of its runs, in creation order.
    std::uint64_t total = 0, done = 0;
    for (const TagRuns& r : runs)
        for (const auto& run : r.runs)
            total += run.second;
    for (std::size_t t = 0; t < b.infos.size(); ++t) {
        RunMerge merge(runs[t], b.infos[t].keyLength);
        int shown = -1;
        cdx_->buildTagStreamed(b.infos[t], [&](uint8_t* key, uint32_t& rec) {
            if (!merge.next(key, rec))
                return false;
            if ((++done & 0xFFFF) == 0) {
                const int p = 50 + int(done * 50 / std::max<std::uint64_t>(total, 1));
                if (p != shown)
                    reportProgress(shown = p);
            }
            return true;
        });
        discardRuns(runs[t]);
        tags_.push_back(std::move(b.states[t]));
    }
}

void Table::dropIndexFile()
{
    cursor_.reset();
    if (order_ > 0)
        order_ = 0;
    cdx_.reset();
    tags_.clear();
    removeSiblings(path_, "cdx");
    if (header_.flags & DbfHeader::kHasStructuralIndex) {
        header_.flags &= std::uint8_t(~DbfHeader::kHasStructuralIndex);
        writeFlags();
    }
    if (indexDirty_) {
        const unsigned char zero = 0;
        file_.write(14, &zero, 1);
        indexDirty_ = false;
    }
}

void Table::rebuildIndex(const std::vector<TagSpec>& specs)
{
    if (specs.empty()) {
        // Other engines refuse a compound index without tags: a table with none has no index.
        dropIndexFile();
        reportProgress(100);
        return;
    }
    // An index file of another letter case takes the lower-case name first (one rename, the
    // file still whole), so the new file replaces it there and only one is ever beside the table.
    const std::string path = mode_ == OpenMode::ReadOnly ? indexPath() : adoptLowerCaseSibling(path_, "cdx");
    const std::string temp = path + ".tmp";
    removeFileIfExists(temp);
    cursor_.reset();
    const int keepOrder = order_;
    if (order_ > 0)
        order_ = 0;
    std::unique_ptr<CompoundIndex> old = std::move(cdx_);
    std::vector<TagState> oldTags = std::move(tags_);
    tags_.clear();
    try {
        cdx_ = CompoundIndex::create(temp);
        appendTags(specs);
        cdx_->sync();
        cdx_.reset();
    } catch (...) {
        cdx_ = std::move(old);
        tags_ = std::move(oldTags);
        order_ = keepOrder;
        removeFileIfExists(temp);
        throw;
    }
    tags_.clear();
    old.reset();
    // The new file replaces the old one in one step: a crash leaves one or the other.
    replaceFile(temp, path);
    removeOtherCaseSiblings(path_, "cdx");
    if (!(header_.flags & DbfHeader::kHasStructuralIndex)) {
        header_.flags |= DbfHeader::kHasStructuralIndex;
        writeFlags();
    }
    if (indexDirty_) {
        const unsigned char zero = 0;
        file_.write(14, &zero, 1);
        indexDirty_ = false;
    }
    openIndex();
    reportProgress(100);
    if (keepOrder > 0 && keepOrder <= int(tagCount()))
        order_ = keepOrder;
}

void Table::reindex()
{
    requireWritable();
    post();
    if (cdx_)
        rebuildIndex(currentTagSpecs());
}

void Table::closeIndexes()
{
    indexError_.clear();
    post();
    flushIndexes(true);
    cursor_.reset();
    tempIndex_.reset();
    cdx_.reset();
    tags_.clear();
    order_ = 0;
}

// ---------------------------------------------------------------- the temporary index

std::string Table::createTempIndex(const std::string& path, const std::string& keyExpr)
{
    // Other programs look for a single index under a lower-case ".idx".
    std::string file = path;
    const auto dot = file.find_last_of('.');
    const auto slash = file.find_last_of('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash) && file.size() - dot == 4) {
        std::string ext = file.substr(dot);
        for (char& c : ext)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".idx")
            file = file.substr(0, dot) + ext;
    }
    post();
    TagInfo info;
    info.name = "TEMP";
    info.keyExpr = keyExpr;
    TagState st = compileTag(info);
    if (!st.error.empty())
        throw EngineError(EngineError::Kind::Expression, path_, st.error);
    info.keyLength = std::uint16_t(st.key.keyLength());
    info.keyType = keyTypeOf(st.key.type());
    cursor_.reset();
    tempIndex_.reset();
    tempIndex_ = SingleIndex::create(file, info);
    tempTag_ = std::move(st);
    order_ = -1;
    return file;
}

void Table::keyAdd()
{
    requireRecord();
    if (!tempIndex_)
        throw EngineError(EngineError::Kind::Usage, path_, "no temporary index is open");
    post();
    keyOf(tempTag_, record_.data(), recno_, keyA_);
    tempIndex_->insertKey(keyA_, recno_);
    if (order_ == -1)
        cursor_.reset();
}

void Table::closeTempIndex()
{
    post();
    if (tempIndex_)
        tempIndex_->flush();
    if (order_ == -1) {
        order_ = 0;
        cursor_.reset();
    }
    tempIndex_.reset();
    tempTag_ = TagState();
}

// ---------------------------------------------------------------- query

void Table::setQuery(std::string_view expression)
{
    post();
    std::string_view trimmed = expression;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    if (trimmed.empty()) {
        filter_ = Expression();
        return;
    }
    Expression e = compile(expression);
    if (e.type() != ValueType::Logical)
        throw EngineError(EngineError::Kind::Expression, path_,
                          "filter \"" + std::string(expression) + "\" is not a condition");
    filter_ = std::move(e);
}

std::uint32_t Table::queryRecCount()
{
    post();
    std::uint32_t visibleCount = 0;
    if (usingCursor() && (scoped_ || order_ == -1)) {
        IndexCursor* c = activeCursor();
        const std::string& start = scopeStart();
        bool more = scoped_ && !start.empty() ? (c->seek(start), c->valid()) : c->first();
        for (; more && c->valid(); more = c->next()) {
            const std::string_view key = c->key();
            if (pastScopeEnd(key))
                break;
            const std::uint32_t r = c->recno();
            if (beforeScopeStart(key) || r < 1 || r > header_.recordCount)
                continue;
            file_.readExact(header_.recordOffset(r), scratch_.data(), scratch_.size());
            if (visible(r, scratch_.data()))
                ++visibleCount;
        }
        cursor_.reset();
        return visibleCount;
    }
    const std::size_t len = header_.recordLength;
    const std::uint32_t n = refreshCount();
    const std::uint32_t per = std::uint32_t(std::max<std::size_t>(1, kScanBytes / len));
    std::vector<unsigned char> buf(std::size_t(std::min(per, std::max<std::uint32_t>(n, 1))) * len);
    for (std::uint32_t r = 1; r <= n; r += per) {
        const std::uint32_t count = std::min(per, n - r + 1);
        file_.readExact(header_.recordOffset(r), buf.data(), std::size_t(count) * len);
        for (std::uint32_t i = 0; i < count; ++i)
            if (visible(r + i, &buf[std::size_t(i) * len]))
                ++visibleCount;
    }
    return visibleCount;
}

namespace {

// Splits at top-level .AND. / AND, outside quotes and parentheses.
std::vector<std::string> conjuncts(const std::string& upper)
{
    std::vector<std::string> parts;
    int depth = 0;
    char quote = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const char c = upper[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        else if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (depth == 0) {
            std::size_t skip = 0;
            if (upper.compare(i, 5, ".AND.") == 0)
                skip = 5;
            else if (upper.compare(i, 5, " AND ") == 0)
                skip = 5;
            if (skip) {
                parts.push_back(upper.substr(start, i - start));
                start = i + skip;
                i += skip - 1;
            }
        }
    }
    parts.push_back(upper.substr(start));
    return parts;
}

std::string squeeze(std::string_view s)
{
    std::string r;
    char quote = 0;
    for (char c : s) {
        if (quote) {
            r += c;
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        if (c != ' ')
            r += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    return r;
}

bool wrappedInParens(const std::string& s)
{
    if (s.size() < 2 || s.front() != '(' || s.back() != ')')
        return false;
    int depth = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '(')
            ++depth;
        else if (s[i] == ')' && --depth == 0 && i + 1 != s.size())
            return false;
    }
    return true;
}

} // namespace

int Table::queryTest(std::string_view expression) const
{
    Expression e = compile(expression);  // a bad expression is an error, not "0"
    (void)e;
    std::vector<std::string> keys;
    for (std::size_t i = 0; cdx_ && i < cdx_->tagCount(); ++i)
        if (cdx_->tag(i).forExpr.empty())
            keys.push_back(squeeze(cdx_->tag(i).keyExpr));
    const std::string all = squeeze(expression);
    std::size_t usable = 0, total = 0;
    for (std::string c : conjuncts(all)) {
        while (wrappedInParens(c))
            c = c.substr(1, c.size() - 2);
        if (c.empty())
            continue;
        ++total;
        std::string body = c;
        if (body.front() == '!')
            body.erase(0, 1);
        else if (body.compare(0, 5, ".NOT.") == 0)
            body.erase(0, 5);
        bool ok = false;
        for (const std::string& k : keys) {
            if (body == k) { ok = true; break; }
            if (startsWith(c, k)) {
                const std::string_view rest = std::string_view(c).substr(k.size());
                for (const char* op : {"==", "=", "<>", "#", "<=", ">=", "<", ">"})
                    if (startsWith(rest, op)) { ok = true; break; }
            }
            if (ok)
                break;
        }
        usable += ok;
    }
    if (total == 0 || usable == 0)
        return 0;
    return usable == total ? 2 : 1;
}

bool Table::evalLogical(std::string_view expression)
{
    Expression e = compile(expression);
    if (e.type() != ValueType::Logical)
        throw EngineError(EngineError::Kind::Expression, path_,
                          "\"" + std::string(expression) + "\" is not a condition");
    return e.evalLogical(ref(record_.data(), recno_), {exact_});
}

std::string Table::evalString(std::string_view expression)
{
    return compile(expression).evalDisplay(ref(record_.data(), recno_), {exact_});
}

// ---------------------------------------------------------------- check

std::vector<std::string> Table::check()
{
    post();
    if (mode_ != OpenMode::ReadOnly)
        flushIndexes(false);
    std::vector<std::string> problems;
    const std::size_t len = header_.recordLength;
    const std::uint32_t n = header_.recordCount;
    const std::uint64_t size = file_.size();
    const std::uint64_t body = std::uint64_t(n) * len;
    if (!tail_.empty()) {
        if (tail_.wholeRecords)
            problems.push_back(path_ + ": " + std::to_string(tail_.wholeRecords)
                               + " whole records lie past the record count of the header (recover adopts them)");
        if (tail_.otherBytes)
            problems.push_back(path_ + ": " + std::to_string(tail_.otherBytes)
                               + " bytes of a partial record lie past the last record (recover drops them)");
    } else if (size != header_.headerLength + body && size != header_.headerLength + body + 1 && mode_ != OpenMode::Shared) {
        problems.push_back(path_ + ": file size " + std::to_string(size) + " does not match "
                           + std::to_string(n) + " records");
    }
    if (indexDirty_)
        problems.push_back(path_ + ": the index was not brought up to date by its last writer");
    if (!indexError_.empty())
        problems.push_back(indexError_);
    std::vector<std::vector<KeyEntry>> expected(tags_.size());
    const std::uint32_t per = std::uint32_t(std::max<std::size_t>(1, kScanBytes / len));
    std::vector<unsigned char> buf;
    std::size_t memoProblems = 0;
    for (std::uint32_t r = 1; r <= n; r += per) {
        const std::uint32_t count = std::min(per, n - r + 1);
        buf.resize(std::size_t(count) * len);
        file_.readExact(header_.recordOffset(r), buf.data(), buf.size());
        for (std::uint32_t i = 0; i < count; ++i) {
            const unsigned char* rec = &buf[std::size_t(i) * len];
            const std::uint32_t recno = r + i;
            if (rec[0] != ' ' && rec[0] != '*')
                problems.push_back(path_ + ": record " + std::to_string(recno) + " has a bad deletion flag");
            for (const DbfField& f : header_.fields) {
                if (f.type != 'M' || !memo_)
                    continue;
                std::string why;
                try {
                    why = memo_->checkPointer(memoBlock(f, rec));
                } catch (const EngineError& e) {
                    why = e.what();
                }
                if (!why.empty() && memoProblems++ < 20)
                    problems.push_back(memo_->path() + ": record " + std::to_string(recno) + " " + f.name + ": " + why);
            }
            for (std::size_t t = 0; t < tags_.size(); ++t) {
                const TagState& st = tags_[t];
                if (!st.error.empty())
                    continue;
                try {
                    if (!st.forCond.empty() && !st.forCond.evalLogical(ref(rec, recno)))
                        continue;
                    KeyEntry e;
                    st.key.evalKey(ref(rec, recno), e.key);
                    e.recno = recno;
                    expected[t].push_back(std::move(e));
                } catch (const EngineError& e) {
                    problems.push_back(path_ + ": record " + std::to_string(recno) + ": " + e.what());
                }
            }
        }
    }
    if (!cdx_)
        return problems;
    for (const std::string& p : cdx_->check())
        problems.push_back(cdx_->path() + ": " + p);
    for (std::size_t t = 0; t < tags_.size(); ++t) {
        const TagInfo& info = cdx_->tag(t);
        if (!tags_[t].error.empty()) {
            problems.push_back(cdx_->path() + ": " + tags_[t].error);
            continue;
        }
        auto& want = expected[t];
        std::sort(want.begin(), want.end(), [](const KeyEntry& a, const KeyEntry& b) {
            return a.key != b.key ? a.key < b.key : a.recno < b.recno;
        });
        if (info.unique) {
            std::vector<KeyEntry> firsts;
            for (auto& e : want)
                if (firsts.empty() || firsts.back().key != e.key)
                    firsts.push_back(std::move(e));
            want = std::move(firsts);
        }
        if (info.descending)
            std::reverse(want.begin(), want.end());
        auto c = cdx_->cursor(t);
        std::size_t i = 0;
        bool bad = false;
        for (bool more = c->first(); more && c->valid(); more = c->next(), ++i) {
            if (i >= want.size() || want[i].recno != c->recno() || want[i].key != c->key()) {
                problems.push_back(cdx_->path() + ": tag " + info.name + ": entry " + std::to_string(i + 1)
                                   + " is record " + std::to_string(c->recno()) + ", expected "
                                   + (i < want.size() ? "record " + std::to_string(want[i].recno) : "the end"));
                bad = true;
                break;
            }
        }
        if (!bad && i != want.size())
            problems.push_back(cdx_->path() + ": tag " + info.name + " holds " + std::to_string(i)
                               + " keys, expected " + std::to_string(want.size()));
    }
    return problems;
}

} // namespace postavo::engine
