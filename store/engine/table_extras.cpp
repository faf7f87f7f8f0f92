// Grids read records without moving; editors post without waiting for the disk.
#include "recordengine.h"

#include <algorithm>
#include <cstring>

namespace postavo::engine {

namespace {
constexpr std::size_t kVisibleScanBytes = 1024 * 1024;
constexpr int kScanShareOfWalk = 70;  // per cent of the progress the pass in record order takes
} // namespace

bool Table::readRecord(std::uint32_t recno, std::string& out) const
{
    if (!file_.isOpen() || recno < 1)
        return false;
    out.resize(header_.recordLength);
    if (recno == recno_ && !eof_ && (dirty_ || pendingAppend_)) {
        std::memcpy(out.data(), record_.data(), out.size());
        return true;
    }
    return readRaw(recno, reinterpret_cast<unsigned char*>(out.data()));
}

bool Table::readMemo(std::uint32_t recno, std::string_view name, std::string& out) const
{
    out.clear();
    const DbfField& f = field(name);
    if (f.type != 'M' && f.type != 'G' && f.type != 'P')
        throw EngineError(EngineError::Kind::Usage, path_, "field " + f.name + " is not a memo");
    std::string rec;
    if (!readRecord(recno, rec))
        return false;
    const std::uint32_t block = memoBlock(f, reinterpret_cast<const unsigned char*>(rec.data()));
    if (block != 0 && memo_)
        out = memo_->read(block);
    return true;
}

std::vector<std::uint32_t> Table::visibleRecordNumbers(const std::function<bool(int)>& progress, bool* complete)
{
    post();
    if (complete)
        *complete = false;
    std::vector<std::uint32_t> out;
    const std::uint32_t n = refreshCount();
    const bool ordered = usingCursor();
    const int scanShare = ordered ? kScanShareOfWalk : 100;
    const std::size_t len = header_.recordLength;
    const std::uint32_t per = std::uint32_t(std::max<std::size_t>(1, kVisibleScanBytes / len));
    std::vector<unsigned char> buf(std::size_t(std::min(per, std::max<std::uint32_t>(n, 1))) * len);
    std::vector<bool> shown(ordered ? std::size_t(n) + 1 : 0, false);
    std::uint32_t shownCount = 0;
    for (std::uint32_t r = 1; r <= n; r += per) {
        const std::uint32_t count = std::min(per, n - r + 1);
        file_.readExact(header_.recordOffset(r), buf.data(), std::size_t(count) * len);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!visible(r + i, &buf[std::size_t(i) * len]))
                continue;
            ++shownCount;
            if (ordered)
                shown[r + i] = true;
            else
                out.push_back(r + i);
        }
        if (progress && !progress(int(std::uint64_t(r + count - 1) * std::uint64_t(scanShare) / n)))
            return out;
    }
    if (ordered) {
        out.reserve(shownCount);
        IndexCursor* c = activeCursor();
        const std::string& start = scopeStart();
        bool more = scoped_ && !start.empty() ? (c->seek(start), c->valid()) : c->first();
        std::uint32_t steps = 0;
        for (; more && c->valid(); more = c->next()) {
            const std::string_view key = c->key();
            if (pastScopeEnd(key))
                break;
            const std::uint32_t r = c->recno();
            if (r >= 1 && r <= n && shown[r] && !beforeScopeStart(key))
                out.push_back(r);
            if (progress && (++steps & 0xFFFF) == 0
                && !progress(scanShare + int(std::uint64_t(out.size()) * std::uint64_t(100 - scanShare)
                                             / std::max<std::uint32_t>(shownCount, 1)))) {
                cursor_.reset();
                return out;
            }
        }
        // The walk moved the order's cursor: the next move finds the current record again.
        cursor_.reset();
    }
    if (complete)
        *complete = true;
    return out;
}

void Table::postRecord()
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
}

} // namespace postavo::engine
