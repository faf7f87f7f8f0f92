// Table: the DBF record layer (files, records, moving, writing, pack and zap).
#include "recordengine.h"

#include "keycodec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace postavo::engine {

namespace {

constexpr std::size_t kCacheBytes = 256 * 1024;
constexpr std::uint64_t kRecordLockBase = 1000000000ull;  // record locks live past any real data

std::string trimRight(std::string_view s)
{
    std::size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\0'))
        --n;
    return std::string(s.substr(0, n));
}

std::string_view trimBoth(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\0'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

std::int64_t le64(const unsigned char* p)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return std::int64_t(v);
}

std::int32_t le32s(const unsigned char* p)
{
    return std::int32_t(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
                        | (std::uint32_t(p[3]) << 24));
}

bool validYmd(int y, int m, int d)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > days[m - 1])
        return false;
    if (m == 2 && d == 29 && !((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return false;
    return true;
}

} // namespace

// ---------------------------------------------------------------- files

Table::~Table()
{
    try {
        close();
    } catch (...) {
        // A destructor cannot report; callers who care call close() themselves.
    }
}

std::string Table::memoPath() const
{
    return existingSibling(path_, header_.memoKind() == MemoKind::Fpt || header_.memoKind() == MemoKind::None ? "fpt" : "dbt");
}

std::string Table::indexPath() const { return existingSibling(path_, "cdx"); }

void Table::create(const std::string& path, const std::vector<FieldSpec>& specs)
{
    std::vector<DbfField> fields;
    for (const FieldSpec& s : specs) {
        DbfField f;
        f.name = s.name;
        f.type = s.type;
        f.length = std::uint16_t(std::clamp(s.length, 0, 65535));
        f.decimals = std::uint8_t(std::clamp(s.decimals, 0, 255));
        fields.push_back(std::move(f));
    }
    DbfHeader h = DbfHeader::forNewTable(fields, path);
    // Locks the name first: a table another program has open is neither replaced nor robbed
    // of its index.
    DataFile f = DataFile::create(path);
    // A stale index of an earlier table of this name must not attach itself to the new one.
    removeSiblings(path, "cdx");
    removeSiblings(path, "fpt");
    std::vector<unsigned char> bytes = h.serialize();
    bytes.push_back(0x1A);
    f.write(0, bytes.data(), bytes.size());
    if (h.hasMemoFields())
        FptMemo::create(siblingPath(path, "fpt"));
    f.sync();
}

std::unique_ptr<Table> Table::open(const std::string& path, OpenMode mode)
{
    std::unique_ptr<Table> t(new Table);
    t->openFiles(path, mode);
    t->goTop();
    return t;
}

void Table::openFiles(const std::string& path, OpenMode mode)
{
    if (fileExists(packJournalPath(path)) && !finishInterruptedPack(path))
        throw EngineError(EngineError::Kind::Locked, path,
                          "a pack of this table was interrupted; it is finished when one program alone "
                          "opens the table for writing");
    path_ = path;
    mode_ = mode;
    const bool readOnly = mode == OpenMode::ReadOnly;
    const auto lock = mode == OpenMode::Exclusive ? DataFile::Lock::Exclusive : DataFile::Lock::Shared;
    file_ = DataFile::open(path, readOnly ? DataFile::Access::ReadOnly : DataFile::Access::ReadWrite, lock);
    const std::uint64_t size = file_.size();
    unsigned char first[32];
    if (file_.readSome(0, first, 32) < 32)
        throw EngineError(EngineError::Kind::Corrupt, path, "file too short for a table header");
    const std::size_t hlen = std::size_t(first[8] | (first[9] << 8));
    std::vector<unsigned char> bytes(std::max<std::size_t>(hlen, 32));
    const std::size_t got = file_.readSome(0, bytes.data(), bytes.size());
    header_ = DbfHeader::parse(bytes.data(), got, size, path);

    (void)size;
    if (mode != OpenMode::Shared)   // a shared table's tail may be another program's append under way
        examineTail();

    const auto memoLock = DataFile::Lock::None;  // the table's own lock guards its memo file
    switch (header_.memoKind()) {
    case MemoKind::None:
        break;
    case MemoKind::Fpt: {
        const std::string mp = existingSibling(path, "fpt");
        if (!fileExists(mp))
            throw EngineError(EngineError::Kind::Io, mp, "memo file is missing");
        memo_ = FptMemo::open(mp, readOnly, memoLock);
        break;
    }
    case MemoKind::DbtIII:
    case MemoKind::DbtIV: {
        const std::string mp = existingSibling(path, "dbt");
        if (!fileExists(mp))
            throw EngineError(EngineError::Kind::Io, mp, "memo file is missing");
        memo_ = DbtMemo::open(mp, header_.memoKind() == MemoKind::DbtIV, memoLock);
        break;
    }
    }
    record_.assign(header_.recordLength, ' ');
    original_.assign(header_.recordLength, ' ');
    scratch_.assign(header_.recordLength, ' ');
    fieldDefs_.clear();
    for (const DbfField& f : header_.fields)
        fieldDefs_.push_back({f.name, f.type, f.offset, f.length, f.decimals});
    openIndex();
}

void Table::close()
{
    if (!file_.isOpen())
        return;
    std::exception_ptr failure;
    try {
        post();
        if (mode_ != OpenMode::ReadOnly) {
            if (memo_)
                memo_->sync();
            file_.sync();
            flushIndexes(true);
            clearAppendMark();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    cursor_.reset();
    tempIndex_.reset();
    cdx_.reset();
    tags_.clear();
    order_ = 0;
    soleWriter_ = false;
    appendMarked_ = false;
    memoSaved_ = false;
    lastPost_ = LastPost();
    dirty_ = pendingAppend_ = false;
    indexError_.clear();
    filter_ = Expression();
    memo_.reset();
    file_.close();
    cache_.clear();
    cacheCount_ = 0;
    if (failure)
        std::rethrow_exception(failure);
}

void Table::copyStructure(const std::string& path) const
{
    std::vector<FieldSpec> specs;
    for (const DbfField& f : header_.fields) {
        char type = f.type;
        int length = f.length;
        if (type == 'M')
            length = 10;
        specs.push_back({f.name, type, length, f.decimals});
    }
    create(path, specs);
}

void Table::requireWritable()
{
    if (!file_.isOpen())
        throw EngineError(EngineError::Kind::Usage, path_, "table is closed");
    if (mode_ == OpenMode::ReadOnly)
        throw EngineError(EngineError::Kind::Usage, path_, "table is open read-only");
    if (mode_ == OpenMode::Shared && !soleWriter_) {
        // Writers work alone: the index pages and counts each open keeps in memory would go
        // stale under another process's writes. A shared open may write once it is the only one.
        if (!file_.tryUpgradeToExclusive())
            throw EngineError(EngineError::Kind::Locked, path_, "the table is open in another program; it cannot be changed now");
        refreshCount();
        soleWriter_ = true;
        examineTail();
    }
    if (!tail_.empty())
        throw EngineError(EngineError::Kind::Corrupt, path_,
                          std::to_string(tail_.wholeRecords) + " whole records and " + std::to_string(tail_.otherBytes)
                              + " other bytes lie past the last record the header counts (a program stopped while "
                                "appending); the table is not changed, so that nothing is lost: recovering it "
                                "(postavo-db recover) adopts the whole records");
    if (!indexError_.empty())
        throw EngineError(EngineError::Kind::Corrupt, path_, "cannot keep the index current: " + indexError_);
    for (const TagState& t : tags_)
        if (!t.error.empty())
            throw EngineError(EngineError::Kind::Unsupported, path_,
                              "cannot keep the index current: " + t.error);
}

void Table::requireRecord() const
{
    if (!file_.isOpen())
        throw EngineError(EngineError::Kind::Usage, path_, "table is closed");
    if (eof_ && !pendingAppend_)
        throw EngineError(EngineError::Kind::Usage, path_, "no current record");
}

const DbfField& Table::field(std::string_view name) const
{
    const int i = header_.fieldIndex(name);
    if (i < 0)
        throw EngineError(EngineError::Kind::Usage, path_, "no field " + std::string(name));
    return header_.fields[std::size_t(i)];
}

// ---------------------------------------------------------------- records

std::uint32_t Table::refreshCount() const
{
    if (mode_ == OpenMode::Exclusive || soleWriter_ || !file_.isOpen())
        return header_.recordCount;
    // Others may append to a shared table.
    unsigned char c[4];
    if (file_.readSome(4, c, 4) == 4) {
        const std::uint32_t n = std::uint32_t(c[0] | (c[1] << 8) | (c[2] << 16) | (std::uint32_t(c[3]) << 24));
        const std::uint64_t room = (file_.size() - header_.headerLength) / header_.recordLength;
        auto* self = const_cast<Table*>(this);
        self->header_.recordCount = std::uint32_t(std::min<std::uint64_t>(n, room));
    }
    return header_.recordCount;
}

std::uint32_t Table::recCount() const
{
    if (!file_.isOpen())
        return 0;
    return pendingAppend_ ? recno_ : refreshCount();
}

bool Table::readRaw(std::uint32_t recno, unsigned char* out) const
{
    const std::size_t len = header_.recordLength;
    if (recno >= cacheFirst_ && recno < cacheFirst_ + cacheCount_) {
        std::memcpy(out, &cache_[std::size_t(recno - cacheFirst_) * len], len);
        return true;
    }
    if (recno < 1 || recno > header_.recordCount)
        return false;
    // Records read one after another come in chunks; a record reached by a jump (a seek, a
    // walk in index order) is read alone, keeping the chunk that may still serve a scan.
    const bool sequential = recno == lastRaw_ + 1;
    lastRaw_ = recno;
    if ((mode_ == OpenMode::Exclusive || soleWriter_ || turbo_) && sequential) {
        const std::uint32_t per = std::uint32_t(std::max<std::size_t>(1, kCacheBytes / len));
        const std::uint32_t count = std::min<std::uint32_t>(per, header_.recordCount - recno + 1);
        cache_.resize(std::size_t(count) * len);
        cacheCount_ = 0;
        file_.readExact(header_.recordOffset(recno), cache_.data(), cache_.size());
        cacheFirst_ = recno;
        cacheCount_ = count;
        std::memcpy(out, cache_.data(), len);
        return true;
    }
    file_.readExact(header_.recordOffset(recno), out, len);
    return true;
}

void Table::loadRecord(std::uint32_t recno)
{
    lastRaw_ = recno;
    if (recno >= cacheFirst_ && recno < cacheFirst_ + cacheCount_) {
        readRaw(recno, record_.data());
    } else {
        file_.readExact(header_.recordOffset(recno), record_.data(), record_.size());
    }
    std::memcpy(original_.data(), record_.data(), record_.size());
    recno_ = recno;
    eof_ = bof_ = false;
}

void Table::setPhantom()
{
    recno_ = header_.recordCount + 1;
    std::fill(record_.begin(), record_.end(), ' ');
    eof_ = true;
}

bool Table::visible(std::uint32_t recno, const unsigned char* data) const
{
    if (deletedHidden_ && data[0] == '*')
        return false;
    if (!filter_.empty() && !filter_.evalLogical(ref(data, recno), {exact_}))
        return false;
    return true;
}

void Table::goTop()
{
    post();
    const std::uint32_t n = refreshCount();
    if (usingCursor()) {
        IndexCursor* c = activeCursor();
        // A descending order starts at the scope's upper bound (its cursor's seek lands on the
        // greatest key up to it), an ascending one at the lower.
        const std::string& start = scopeStart();
        const bool ok = scoped_ && !start.empty() ? (c->seek(start), c->valid()) : c->first();
        if (!ok || !settleCursor(true)) {
            setPhantom();
            bof_ = true;
        }
        return;
    }
    std::vector<unsigned char> buf(header_.recordLength);
    for (std::uint32_t r = 1; r <= n; ++r) {
        readRaw(r, buf.data());
        if (visible(r, buf.data())) {
            loadRecord(r);
            return;
        }
    }
    setPhantom();
    bof_ = true;
}

void Table::goBottom()
{
    post();
    const std::uint32_t n = refreshCount();
    if (usingCursor()) {
        IndexCursor* c = activeCursor();
        bool ok;
        if (scoped_ && !scopeTop_.empty() && descendingOrder()) {
            ok = c->seekStoredFrom(scopeTop_);   // the smallest key in range ends a descending order
        } else if (scoped_ && !scopeBottom_.empty() && !descendingOrder()) {
            std::string past = scopeBottom_;
            past.append(std::max<std::size_t>(activeTag().key.keyLength(), past.size()) - past.size() + 1, '\xFF');
            c->seek(past);
            ok = c->valid() ? c->prev() : c->last();
        } else {
            ok = c->last();
        }
        if (!ok || !settleCursor(false)) {
            setPhantom();
            bof_ = true;
        }
        return;
    }
    std::vector<unsigned char> buf(header_.recordLength);
    for (std::uint32_t r = n; r >= 1; --r) {
        readRaw(r, buf.data());
        if (visible(r, buf.data())) {
            loadRecord(r);
            return;
        }
    }
    setPhantom();
    bof_ = true;
}

void Table::skip(long count)
{
    post();
    // A long pass forward (turbo read) looks at the shared count again only at the end of the
    // records it knows: two system calls a record otherwise.
    std::uint32_t n = turbo_ && count > 0 ? header_.recordCount : refreshCount();
    if (count == 0) {
        if (!eof_ && recno_ >= 1 && recno_ <= n)
            loadRecord(recno_);
        return;
    }
    if (usingCursor()) {
        skipIndexed(count);
        return;
    }
    thread_local std::vector<unsigned char> buf;
    buf.resize(header_.recordLength);
    while (count > 0) {
        if (eof_)
            return;
        std::uint32_t r = recno_ + 1;
        bool found = false;
        for (;;) {
            for (; r <= n; ++r) {
                readRaw(r, buf.data());
                if (visible(r, buf.data())) {
                    found = true;
                    break;
                }
            }
            const std::uint32_t known = n;
            if (found || !turbo_ || (n = refreshCount()) <= known)
                break;
        }
        if (!found) {
            setPhantom();
            bof_ = false;
            return;
        }
        loadRecord(r);
        --count;
    }
    while (count < 0) {
        std::uint32_t r = eof_ ? n : recno_ - 1;
        bool found = false;
        for (; r >= 1; --r) {
            readRaw(r, buf.data());
            if (visible(r, buf.data())) {
                found = true;
                break;
            }
        }
        if (!found) {
            // Before the first record: stand on the first one with bof set.
            goTop();
            bof_ = true;
            return;
        }
        loadRecord(r);
        ++count;
    }
}

void Table::go(std::uint32_t recno)
{
    post();
    const std::uint32_t n = refreshCount();
    if (recno < 1 || recno > n) {
        setPhantom();
        bof_ = false;
        return;
    }
    loadRecord(recno);
}

// ---------------------------------------------------------------- reading

std::string Table::getString(std::string_view name) const
{
    const DbfField& f = field(name);
    return std::string(reinterpret_cast<const char*>(&record_[f.offset]), f.length);
}

std::string Table::getTrimString(std::string_view name) const
{
    const DbfField& f = field(name);
    if (f.type == 'M')
        return trimRight(getMemo(name));
    return trimRight(std::string_view(reinterpret_cast<const char*>(&record_[f.offset]), f.length));
}

bool Table::getLogical(std::string_view name) const
{
    const DbfField& f = field(name);
    const char c = char(record_[f.offset]);
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string Table::getDateString(std::string_view name) const
{
    const DbfField& f = field(name);
    std::string_view s(reinterpret_cast<const char*>(&record_[f.offset]), f.length);
    if (f.type == 'T' && f.length == 8) {
        const long jd = le32s(&record_[f.offset]);
        s = {};
        if (jd > 0) {
            static thread_local std::string tmp;
            tmp = dtosFromJulian(jd);
            s = tmp;
        }
    }
    const bool digits = s.size() >= 8
        && std::all_of(s.begin(), s.begin() + 8, [](char c) { return c >= '0' && c <= '9'; });
    if (!digits)
        return century_ ? "  /  /    " : "  /  /  ";
    std::string r;
    r.append(s.substr(4, 2)).append("/").append(s.substr(6, 2)).append("/");
    r.append(century_ ? s.substr(0, 4) : s.substr(2, 2));
    return r;
}

namespace {

// A memo field holds its block as four binary bytes (Visual FoxPro) or ten digits, blank for none.
void putMemoPointer(const DbfField& f, unsigned char* p, std::uint32_t block)
{
    if (f.length == 4) {
        for (int i = 0; i < 4; ++i)
            p[i] = (block >> (8 * i)) & 0xFF;
    } else if (block == 0) {
        std::memset(p, ' ', f.length);
    } else {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%10u", block);
        std::memcpy(p, buf, 10);
    }
}

} // namespace

std::uint32_t Table::memoBlock(const DbfField& f, const unsigned char* data) const
{
    if (f.length == 4)
        return std::uint32_t(le32s(data + f.offset));
    std::string_view s = trimBoth(std::string_view(reinterpret_cast<const char*>(data + f.offset), f.length));
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            throw EngineError(EngineError::Kind::Corrupt, path_,
                              "record " + std::to_string(recno_) + ": bad memo pointer in " + f.name);
        v = v * 10 + std::uint64_t(c - '0');
        if (v > 0xFFFFFFFFu)
            throw EngineError(EngineError::Kind::Corrupt, path_,
                              "record " + std::to_string(recno_) + ": bad memo pointer in " + f.name);
    }
    return std::uint32_t(v);
}

std::string Table::getMemo(std::string_view name) const
{
    const DbfField& f = field(name);
    if (f.type != 'M' && f.type != 'G' && f.type != 'P')
        throw EngineError(EngineError::Kind::Usage, path_, "field " + f.name + " is not a memo");
    const std::uint32_t block = memoBlock(f, record_.data());
    if (block == 0 || !memo_)
        return {};
    return memo_->read(block);
}

double Table::getNumber(std::string_view name) const
{
    const DbfField& f = field(name);
    const unsigned char* p = &record_[f.offset];
    switch (f.type) {
    case 'I': return double(le32s(p));
    case 'Y': return double(le64(p)) / 10000.0;
    case 'B':
        if (f.length == 8) {
            double d;
            std::memcpy(&d, p, 8);
            return d;
        }
        [[fallthrough]];
    default: {
        char buf[64];
        const std::size_t n = std::min<std::size_t>(f.length, sizeof buf - 1);
        std::memcpy(buf, p, n);
        buf[n] = 0;
        return std::strtod(buf, nullptr);
    }
    }
}

bool Table::isEmpty(std::string_view name) const
{
    const DbfField& f = field(name);
    const unsigned char* p = &record_[f.offset];
    switch (f.type) {
    case 'M': case 'G': case 'P': return getMemo(name).find_first_not_of(" \r\n\t") == std::string::npos;
    case 'L': return p[0] != 'T' && p[0] != 't' && p[0] != 'Y' && p[0] != 'y';
    case 'N': case 'F': return getNumber(name) == 0.0;
    case 'I': case 'Y': case 'T': case 'B':
        return std::all_of(p, p + f.length, [](unsigned char c) { return c == 0; }) || getNumber(name) == 0.0;
    default:
        return std::all_of(p, p + f.length, [](unsigned char c) { return c == ' ' || c == 0; });
    }
}

bool Table::isDeleted() const { return record_[0] == '*'; }

std::string Table::getRecord() const { return std::string(record_.begin(), record_.end()); }

// ---------------------------------------------------------------- writing

void Table::appendBlank()
{
    requireWritable();
    post();
    const std::uint32_t n = refreshCount();
    appendFrom_ = eof_ ? 0 : recno_;
    recno_ = n + 1;
    std::fill(record_.begin(), record_.end(), ' ');
    pendingAppend_ = true;
    dirty_ = true;
    eof_ = bof_ = false;
}

void Table::writeNumber(const DbfField& f, double value)
{
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%*.*f", int(f.length), int(f.decimals), value);
    unsigned char* p = &record_[f.offset];
    if (n < 0 || n > int(f.length)) {
        std::memset(p, '*', f.length);  // does not fit, as xBase shows it
    } else {
        std::memcpy(p, buf, std::size_t(n));
    }
}

void Table::replace(std::string_view name, std::string_view value)
{
    requireWritable();
    requireRecord();
    const DbfField& f = field(name);
    unsigned char* p = &record_[f.offset];
    switch (f.type) {
    case 'C': {
        const std::size_t n = std::min<std::size_t>(value.size(), f.length);
        std::memcpy(p, value.data(), n);
        std::memset(p + n, ' ', f.length - n);
        break;
    }
    case 'N': case 'F': {
        std::string_view v = trimBoth(value);
        if (v.empty()) {
            std::memset(p, ' ', f.length);
            break;
        }
        std::string s(v);
        char* end = nullptr;
        const double d = std::strtod(s.c_str(), &end);
        if (end == s.c_str() || *end != 0)
            throw EngineError(EngineError::Kind::Usage, path_, "\"" + s + "\" is not a number for " + f.name);
        writeNumber(f, d);
        break;
    }
    case 'L': {
        std::string_view v = trimBoth(value);
        char c = v.empty() ? ' ' : v.front();
        if (c == 'T' || c == 't' || c == 'Y' || c == 'y' || c == '1')
            c = 'T';
        else if (c == 'F' || c == 'f' || c == 'N' || c == 'n' || c == '0')
            c = 'F';
        else if (c != ' ' && c != '?')
            throw EngineError(EngineError::Kind::Usage, path_, "\"" + std::string(value) + "\" is not a logical for " + f.name);
        p[0] = static_cast<unsigned char>(c);
        break;
    }
    case 'D': {
        std::string_view v = trimBoth(value);
        std::string out(8, ' ');
        if (!v.empty()) {
            int y = 0, m = 0, d = 0;
            bool ok = false;
            if (v.size() == 8 && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                y = std::atoi(std::string(v.substr(0, 4)).c_str());
                m = std::atoi(std::string(v.substr(4, 2)).c_str());
                d = std::atoi(std::string(v.substr(6, 2)).c_str());
                ok = true;
            } else if (v.size() == 10 && v[2] == '/' && v[5] == '/') {
                m = std::atoi(std::string(v.substr(0, 2)).c_str());
                d = std::atoi(std::string(v.substr(3, 2)).c_str());
                y = std::atoi(std::string(v.substr(6, 4)).c_str());
                ok = true;
            }
            if (!ok || !validYmd(y, m, d))
                throw EngineError(EngineError::Kind::Usage, path_, "\"" + std::string(value) + "\" is not a date for " + f.name);
            char buf[48];
            std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
            out.assign(buf, 8);
        }
        std::memcpy(p, out.data(), 8);
        break;
    }
    case 'M': {
        if (!memo_)
            throw EngineError(EngineError::Kind::Io, path_, "table has no memo file");
        if (!memoSaved_) {
            memoPoint_ = memo_->savepoint();
            memoSaved_ = true;
        }
        putMemoPointer(f, p, memo_->write(value));
        break;
    }
    default:
        throw EngineError(EngineError::Kind::Unsupported, path_, std::string("cannot write a field of type ") + f.type);
    }
    dirty_ = true;
}

void Table::replaceLogical(std::string_view name, bool value) { replace(name, value ? "T" : "F"); }

void Table::replaceNumber(std::string_view name, double value)
{
    requireWritable();
    requireRecord();
    const DbfField& f = field(name);
    if (f.type != 'N' && f.type != 'F')
        throw EngineError(EngineError::Kind::Usage, path_, "field " + f.name + " is not numeric");
    writeNumber(f, value);
    dirty_ = true;
}

void Table::putRecord(std::string_view rec)
{
    requireWritable();
    requireRecord();
    if (rec.size() != record_.size())
        throw EngineError(EngineError::Kind::Usage, path_, "record buffer has the wrong length");
    std::memcpy(record_.data(), rec.data(), rec.size());
    if (record_[0] != '*')
        record_[0] = ' ';
    dirty_ = true;
}

void Table::appendRecords(const unsigned char* records, std::size_t count)
{
    requireWritable();
    if (cdx_ || tempIndex_)
        throw EngineError(EngineError::Kind::Usage, path_, "records are appended in bulk only with the indexes closed");
    post();
    if (count == 0)
        return;
    const std::size_t len = header_.recordLength;
    for (std::size_t i = 0; i < count; ++i)
        if (records[i * len] != ' ' && records[i * len] != '*')
            throw EngineError(EngineError::Kind::Usage, path_, "a record's deletion flag must be a blank or *");
    const std::uint32_t oldCount = refreshCount();
    if (count > std::size_t(0xFFFFFFFFu - oldCount))
        throw EngineError(EngineError::Kind::Usage, path_, "too many records for one table");
    const std::uint64_t at = header_.recordOffset(oldCount + 1);
    const bool markedHere = !appendMarked_;
    markAppending();
    try {
        file_.write(at, records, count * len);
        const unsigned char eofMark = 0x1A;
        file_.write(at + count * len, &eofMark, 1);
        header_.recordCount = oldCount + std::uint32_t(count);
        writeCount();
    } catch (...) {
        try {
            restoreRecordBytes(true, oldCount);
            if (markedHere)
                clearAppendMark();
        } catch (...) {
        }
        throw;
    }
}

void Table::storeMemo(std::string_view name, unsigned char* record, std::string_view text)
{
    requireWritable();
    const DbfField& f = field(name);
    if (f.type != 'M')
        throw EngineError(EngineError::Kind::Usage, path_, "field " + f.name + " is not a memo");
    if (!memo_)
        throw EngineError(EngineError::Kind::Io, path_, "table has no memo file");
    putMemoPointer(f, record + f.offset, text.empty() ? 0 : memo_->write(text));
}

void Table::deleteRecord()
{
    requireWritable();
    requireRecord();
    record_[0] = '*';
    dirty_ = true;
}

void Table::recall()
{
    requireWritable();
    requireRecord();
    record_[0] = ' ';
    dirty_ = true;
}

void Table::writeCount()
{
    header_.stampToday();
    unsigned char b[7] = {header_.year, header_.month, header_.day,
                          static_cast<unsigned char>(header_.recordCount & 0xFF),
                          static_cast<unsigned char>((header_.recordCount >> 8) & 0xFF),
                          static_cast<unsigned char>((header_.recordCount >> 16) & 0xFF),
                          static_cast<unsigned char>((header_.recordCount >> 24) & 0xFF)};
    file_.write(1, b, sizeof b);
}

namespace {
// Header byte 12 (reserved in the format) says that an append of ours may have left record
// bytes past the count: it is set before the first record of a session's appends is written and
// cleared once a commit or close has the count on disk. A crash in between leaves at most one
// record (and its end-of-file mark) past the count, with the mark set: only that is ours to take
// back. Other programs write 0 there, so their leftovers are never mistaken for ours.
constexpr std::uint64_t kAppendMarkOffset = 12;
constexpr unsigned char kAppendMark = 0x01;
} // namespace

// What lies past the counted records. Our own interrupted append (the append mark set, at most
// one record and its end-of-file mark past the count) is taken back at an exclusive open or
// when a shared open becomes the only writer; anything else is left for recover() to judge.
void Table::examineTail()
{
    tail_ = Tail();
    const std::uint64_t size = file_.size();
    const std::uint64_t end = header_.headerLength + std::uint64_t(header_.recordCount) * header_.recordLength;
    if (size <= end)
        return;
    const std::uint64_t extra = size - end;
    const std::size_t len = header_.recordLength;
    unsigned char last = 0;
    file_.readExact(size - 1, &last, 1);
    std::uint64_t pos = end;
    unsigned char first = 0;
    while (size - pos >= len) {
        file_.readExact(pos, &first, 1);
        if (first != ' ' && first != '*')
            break;
        ++tail_.wholeRecords;
        pos += len;
    }
    tail_.otherBytes = size - pos;
    if (tail_.otherBytes == 1 && last == 0x1A)
        tail_.otherBytes = 0;   // the end-of-file mark
    if (tail_.empty())
        return;
    unsigned char mark = 0;
    file_.readSome(kAppendMarkOffset, &mark, 1);
    const bool ours = mark == kAppendMark && extra <= len + 1;
    if (!ours || (mode_ != OpenMode::Exclusive && !soleWriter_))
        return;
    file_.truncate(end + 1);
    const unsigned char eofMark = 0x1A;
    file_.write(end, &eofMark, 1);
    appendMarked_ = true;   // cleared with the next commit or close
    tail_ = Tail();
}

DbfHeader Table::readHeader(const std::string& path)
{
    DataFile f = DataFile::open(path, DataFile::Access::ReadOnly, DataFile::Lock::None);
    unsigned char first[32];
    if (f.readSome(0, first, 32) < 32)
        throw EngineError(EngineError::Kind::Corrupt, path, "file too short for a table header");
    const std::size_t hlen = std::size_t(first[8] | (first[9] << 8));
    std::vector<unsigned char> bytes(std::max<std::size_t>(hlen, 32));
    const std::size_t got = f.readSome(0, bytes.data(), bytes.size());
    return DbfHeader::parse(bytes.data(), got, f.size(), path);
}

Table::Tail Table::recover(const std::string& path)
{
    Tail found;
    {
        std::unique_ptr<Table> t(new Table);
        t->openFiles(path, OpenMode::ReadOnly);
        found = t->tail_;
    }
    if (found.empty())
        return found;
    {
        DataFile f = DataFile::open(path, DataFile::Access::ReadWrite, DataFile::Lock::Exclusive);
        DbfHeader h = readHeader(path);
        const std::uint64_t end = h.headerLength + std::uint64_t(h.recordCount + found.wholeRecords) * h.recordLength;
        // The whole records join the count, then whatever follows them goes.
        h.recordCount += found.wholeRecords;
        h.stampToday();
        unsigned char b[7] = {h.year, h.month, h.day, static_cast<unsigned char>(h.recordCount & 0xFF),
                              static_cast<unsigned char>((h.recordCount >> 8) & 0xFF),
                              static_cast<unsigned char>((h.recordCount >> 16) & 0xFF),
                              static_cast<unsigned char>((h.recordCount >> 24) & 0xFF)};
        f.write(1, b, sizeof b);
        const unsigned char zero = 0;
        f.write(kAppendMarkOffset, &zero, 1);
        if (f.size() > end) {
            f.truncate(end + 1);
            const unsigned char eofMark = 0x1A;
            f.write(end, &eofMark, 1);
        }
        f.sync();
    }
    // The index knows nothing of the adopted records.
    auto t = open(path, OpenMode::Exclusive);
    if (t->hasIndex())
        t->reindex();
    t->close();
    return found;
}

void Table::markAppending()
{
    if (appendMarked_)
        return;
    file_.write(kAppendMarkOffset, &kAppendMark, 1);
    appendMarked_ = true;
}

void Table::clearAppendMark()
{
    if (!appendMarked_ || !file_.isOpen() || mode_ == OpenMode::ReadOnly)
        return;
    const unsigned char zero = 0;
    file_.write(kAppendMarkOffset, &zero, 1);
    appendMarked_ = false;
}

// Writes record_ to the table file. On failure the file is put back as it was (shrinking and
// rewriting in place need no new space) and the error goes on.
void Table::storeRecordBytes(bool appended, std::uint32_t oldCount)
{
    if (!appended) {
        try {
            file_.write(header_.recordOffset(recno_), record_.data(), record_.size());
        } catch (...) {
            try {
                file_.write(header_.recordOffset(recno_), original_.data(), original_.size());
            } catch (...) {
            }
            throw;
        }
        return;
    }
    const bool markedHere = !appendMarked_;
    markAppending();
    // Record bytes first, the header's count after: a crash in between leaves the record
    // past the count with the append mark set, which the next exclusive open takes back.
    try {
        std::vector<unsigned char> out(record_);
        out.push_back(0x1A);
        file_.write(header_.recordOffset(recno_), out.data(), out.size());
        header_.recordCount = recno_;
        writeCount();
    } catch (...) {
        try {
            restoreRecordBytes(true, oldCount);
            if (markedHere)
                clearAppendMark();
        } catch (...) {
        }
        throw;
    }
}

void Table::restoreRecordBytes(bool appended, std::uint32_t oldCount)
{
    if (!appended) {
        file_.write(header_.recordOffset(recno_), lastPost_.before.data(), lastPost_.before.size());
        return;
    }
    const std::uint64_t end = header_.headerLength + std::uint64_t(oldCount) * header_.recordLength;
    if (header_.recordCount != oldCount) {
        header_.recordCount = oldCount;
        writeCount();
    }
    // The end-of-file mark goes back where it was, in place.
    const unsigned char eofMark = 0x1A;
    if (file_.size() > end) {
        file_.truncate(end + 1);
        file_.write(end, &eofMark, 1);
    }
    if (recno_ >= cacheFirst_ && recno_ < cacheFirst_ + cacheCount_)
        cacheCount_ = 0;
}

void Table::post()
{
    if (!dirty_ || !file_.isOpen())
        return;
    const bool appended = pendingAppend_;
    const std::uint32_t oldCount = header_.recordCount;
    storeRecordBytes(appended, oldCount);
    try {
        updateKeys();
    } catch (...) {
        try {
            undoKeys(original_.data(), record_.data(), appended, keysDone_);
            lastPost_.before = original_;
            restoreRecordBytes(appended, oldCount);
        } catch (...) {
        }
        throw;
    }
    if (recno_ >= cacheFirst_ && recno_ < cacheFirst_ + cacheCount_)
        std::memcpy(&cache_[std::size_t(recno_ - cacheFirst_) * record_.size()], record_.data(), record_.size());
    lastPost_.valid = true;
    lastPost_.appended = appended;
    lastPost_.oldCount = oldCount;
    lastPost_.appendFrom = appendFrom_;
    lastPost_.memoSaved = memoSaved_;
    lastPost_.memoPoint = memoPoint_;
    lastPost_.before = original_;
    lastPost_.keysDone = keysDone_;
    std::memcpy(original_.data(), record_.data(), record_.size());
    dirty_ = false;
    pendingAppend_ = false;
    memoSaved_ = false;
    eof_ = false;
}

// Takes the last post back out of the files and the index in memory, leaving record_ changed
// as it was before the post.
void Table::undoLastPost()
{
    if (!lastPost_.valid)
        return;
    lastPost_.valid = false;
    const bool appended = lastPost_.appended;
    undoKeys(lastPost_.before.data(), record_.data(), appended, lastPost_.keysDone);
    restoreRecordBytes(appended, lastPost_.oldCount);
    std::memcpy(original_.data(), lastPost_.before.data(), original_.size());
    dirty_ = true;
    pendingAppend_ = appended;
    appendFrom_ = lastPost_.appendFrom;
    memoSaved_ = lastPost_.memoSaved;
    memoPoint_ = lastPost_.memoPoint;
}

void Table::discardChanges()
{
    if (!file_.isOpen())
        return;
    if (memoSaved_ && memo_) {
        memo_->rollback(memoPoint_);
        memoSaved_ = false;
    }
    if (pendingAppend_) {
        pendingAppend_ = false;
        dirty_ = false;
        if (appendFrom_ >= 1 && appendFrom_ <= header_.recordCount)
            loadRecord(appendFrom_);
        else
            setPhantom();
        return;
    }
    if (dirty_) {
        std::memcpy(record_.data(), original_.data(), record_.size());
        dirty_ = false;
    }
}

void Table::commit()
{
    requireWritable();
    const bool changed = dirty_;
    post();
    try {
        flushIndexes(false);
    } catch (...) {
        if (changed)
            undoLastPost();
        throw;
    }
    if (memo_)
        memo_->sync();
    file_.sync();
    flushIndexes(true);
    clearAppendMark();
}

bool Table::rlock(std::uint32_t recno)
{
    if (mode_ != OpenMode::Shared)
        return true;
    if (recno == 0)
        recno = recno_;
    return file_.lockRange(kRecordLockBase + recno, 1);
}

void Table::unlock(std::uint32_t recno)
{
    if (mode_ != OpenMode::Shared)
        return;
    if (recno == 0)
        file_.unlockRange(kRecordLockBase, 0xFFFFFFFFull);
    else
        file_.unlockRange(kRecordLockBase + recno, 1);
}

void Table::setDeletedHidden(bool hidden) { deletedHidden_ = hidden; }

void Table::setTurboRead(bool on)
{
    turbo_ = on;
    if (!on && mode_ != OpenMode::Exclusive)
        cacheCount_ = 0;
}

void Table::reportProgress(int percent) const
{
    if (progress_)
        progress_(std::clamp(percent, 0, 100));
}

std::string Table::packJournalPath(const std::string& path) { return path + ".packing"; }

// A pack replaces two files, the table and its memo file, which no single rename can do. Once
// both new files are complete on disk a journal file says so; the renames follow, and the
// journal goes last. An open that finds the journal (the packing program having stopped in
// between) finishes the renames, so the table never pairs with the wrong memo file.
bool Table::finishInterruptedPack(const std::string& path)
{
    DataFile guard;
    try {
        // Only when no other program has the table open (one may be packing it right now).
        guard = DataFile::open(path, DataFile::Access::ReadWrite, DataFile::Lock::Exclusive);
    } catch (const EngineError&) {
        return false;
    }
    // The new files were staged under the lower-case names; the files they replace may have
    // had another letter case, and must not stay beside them.
    const std::string memoTemp = siblingPath(path, "fpt") + ".pack.tmp";
    const std::string tableTemp = path + ".pack.tmp";
    const std::string indexTemp = siblingPath(path, "cdx") + ".pack.tmp";
    if (fileExists(indexTemp)) {
        replaceFile(indexTemp, siblingPath(path, "cdx"));
        removeOtherCaseSiblings(path, "cdx");
    } else {
        removeSiblings(path, "cdx");   // it indexes the old records
    }
    if (fileExists(memoTemp))
        replaceFile(memoTemp, siblingPath(path, "fpt"));
    if (fileExists(siblingPath(path, "fpt")))
        removeOtherCaseSiblings(path, "fpt");
    if (fileExists(tableTemp))
        replaceFile(tableTemp, path);
    removeFileIfExists(packJournalPath(path));
    return true;
}

void Table::replaceTableFiles(const std::string& path, const std::string& newTable, const std::string& newMemo,
                              const std::string& newIndex)
{
    // Staged under the names an interrupted replacement is finished from, then announced by
    // the journal: before it exists nothing has changed, after it the next open completes the
    // renames.
    // The replaced files move to the lower-case names other programs look for: the old ones
    // are renamed first, so a stop at any point leaves one memo and one index file.
    if (!newMemo.empty())
        adoptLowerCaseSibling(path, "fpt");
    adoptLowerCaseSibling(path, "cdx");
    const std::string memoTemp = siblingPath(path, "fpt") + ".pack.tmp";
    const std::string tableTemp = path + ".pack.tmp";
    const std::string indexTemp = siblingPath(path, "cdx") + ".pack.tmp";
    removeFileIfExists(indexTemp);
    removeFileIfExists(memoTemp);
    if (!newIndex.empty())
        replaceFile(newIndex, indexTemp);
    if (!newMemo.empty())
        replaceFile(newMemo, memoTemp);
    replaceFile(newTable, tableTemp);
    DataFile journal = DataFile::create(packJournalPath(path));
    journal.sync();
    journal.close();
    if (!finishInterruptedPack(path))
        throw EngineError(EngineError::Kind::Locked, path,
                          "the new files are ready, but another program has the table open; they are put in "
                          "place when one program alone opens it for writing");
}

void Table::pack()
{
    requireWritable();
    post();
    if (mode_ != OpenMode::Exclusive && !soleWriter_)
        throw EngineError(EngineError::Kind::Usage, path_, "pack needs the table opened exclusively");
    closeTempIndex();
    const std::vector<TagSpec> specs = currentTagSpecs();
    const bool hadIndex = cdx_ != nullptr;
    const std::string temp = path_ + ".pack.tmp";
    // The memos of the records kept move to a new memo file, leaving behind those of removed
    // records and the old texts of changed memos. A memo file of another letter case takes the
    // lower-case name first (one rename), so that the new file replaces it under that name.
    if (dynamic_cast<FptMemo*>(memo_.get()) && memo_->path() != siblingPath(path_, "fpt")) {
        const std::string lower = adoptLowerCaseSibling(path_, "fpt");
        memo_ = FptMemo::open(lower, false, DataFile::Lock::None);
    }
    auto* fpt = dynamic_cast<FptMemo*>(memo_.get());
    const std::string memoTemp = fpt ? fpt->path() + ".pack.tmp" : std::string();
    std::vector<const DbfField*> memoFields;
    if (fpt)
        for (const DbfField& f : header_.fields)
            if (f.type == 'M' || f.type == 'G' || f.type == 'P')
                memoFields.push_back(&f);
    DataFile out = DataFile::create(temp);
    std::unique_ptr<FptMemo> newMemo;
    const std::uint32_t keepRecno = recno_;
    try {
        if (fpt)
            newMemo = FptMemo::create(memoTemp, fpt->blockSize());
        DbfHeader h = header_;
        h.recordCount = 0;
        std::vector<unsigned char> head = h.serialize();
        out.write(0, head.data(), head.size());
        const std::size_t len = header_.recordLength;
        const std::uint32_t n = header_.recordCount;
        const std::uint32_t per = std::uint32_t(std::max<std::size_t>(1, kCacheBytes / len));
        std::vector<unsigned char> in, kept;
        std::uint32_t written = 0;
        int lastPercent = -1;
        reportProgress(0);
        for (std::uint32_t r = 1; r <= n; r += per) {
            const std::uint32_t count = std::min<std::uint32_t>(per, n - r + 1);
            in.resize(std::size_t(count) * len);
            file_.readExact(header_.recordOffset(r), in.data(), in.size());
            kept.clear();
            for (std::uint32_t i = 0; i < count; ++i) {
                unsigned char* rec = &in[std::size_t(i) * len];
                if (rec[0] == '*')
                    continue;
                for (const DbfField* f : memoFields) {
                    recno_ = r + i;   // names the record if its pointer is bad
                    std::uint32_t block = 0;
                    try {
                        block = newMemo->copyFrom(*fpt, memoBlock(*f, rec));
                    } catch (const EngineError& e) {
                        if (e.kind() != EngineError::Kind::Corrupt || e.file() != fpt->path())
                            throw;
                        throw EngineError(e.kind(), path_,
                                          "record " + std::to_string(r + i) + ", field " + f->name + ": " + e.what());
                    }
                    putMemoPointer(*f, rec + f->offset, block);
                }
                kept.insert(kept.end(), rec, rec + len);
            }
            out.write(h.headerLength + std::uint64_t(written) * len, kept.data(), kept.size());
            written += std::uint32_t(kept.size() / len);
            const int percent = int(std::uint64_t(r + count - 1) * 100 / n);
            if (percent != lastPercent)
                reportProgress(lastPercent = percent);
        }
        const unsigned char eofMark = 0x1A;
        out.write(h.headerLength + std::uint64_t(written) * len, &eofMark, 1);
        h.recordCount = written;
        h.stampToday();
        head = h.serialize();
        out.write(0, head.data(), head.size());
        out.sync();
        if (newMemo) {
            newMemo->sync();
            DataFile journal = DataFile::create(packJournalPath(path_));
            journal.sync();
        }
        if (hadIndex) {
            // The old index goes first, so that no crash can pair it with the packed table;
            // a table without its index is rebuilt by the caller.
            cursor_.reset();
            cdx_.reset();
            tags_.clear();
            removeSiblings(path_, "cdx");
        }
        if (newMemo) {
            const std::string memoPathNow = fpt->path();
            memo_.reset();
            newMemo.reset();
            replaceFile(memoTemp, memoPathNow);
        }
        replaceFile(temp, path_);
        header_ = h;
        indexDirty_ = false;
        if (fpt) {
            removeOtherCaseSiblings(path_, "fpt");
            removeFileIfExists(packJournalPath(path_));
            memo_ = FptMemo::open(siblingPath(path_, "fpt"), false, DataFile::Lock::None);
        }
    } catch (...) {
        recno_ = keepRecno;
        if (fileExists(packJournalPath(path_))) {
            // Both new files are complete but the renames failed part way: this object no
            // longer matches the files, so it lets them go; the next open finishes the pack.
            out.close();
            newMemo.reset();
            cursor_.reset();
            cdx_.reset();
            tags_.clear();
            memo_.reset();
            file_.close();
        } else {
            out.close();
            removeFileIfExists(temp);
            newMemo.reset();
            if (!memoTemp.empty())
                removeFileIfExists(memoTemp);
        }
        throw;
    }
    // The new file already holds our exclusive lock (taken when it was created).
    file_ = std::move(out);
    cacheCount_ = 0;
    recno_ = keepRecno;
    reportProgress(100);
    if (hadIndex)
        rebuildIndex(specs);
    goTop();
}

void Table::zap()
{
    requireWritable();
    post();
    if (mode_ != OpenMode::Exclusive && !soleWriter_)
        throw EngineError(EngineError::Kind::Usage, path_, "zap needs the table opened exclusively");
    closeTempIndex();
    header_.recordCount = 0;
    writeCount();
    file_.truncate(header_.headerLength);
    const unsigned char eofMark = 0x1A;
    file_.write(header_.headerLength, &eofMark, 1);
    if (memo_)
        memo_->clear();
    cacheCount_ = 0;
    file_.sync();
    if (cdx_)
        rebuildIndex(currentTagSpecs());
    goTop();
}

} // namespace postavo::engine
