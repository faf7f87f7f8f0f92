#include "cdxpagefile.h"

#include "engine_error.h"
#include "write_faults.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace postavo::engine {

namespace {

[[noreturn]] void ioError(const std::string& path, const char* what)
{
    throw EngineError(EngineError::Kind::Io, path, std::string(what) + ": " + std::strerror(errno));
}

constexpr uint32_t kFreeHeadOffset = 4;

bool noneMark(uint32_t v) { return v == PageFile::kNone || v == 0; }

} // namespace

std::unique_ptr<PageFile> PageFile::open(const std::string& path, bool readOnly)
{
    std::unique_ptr<PageFile> f(new PageFile);
    f->path_ = path;
    f->readOnly_ = readOnly;
    f->fd_ = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (f->fd_ < 0)
        ioError(path, "cannot open the index");
    struct stat st {};
    if (::fstat(f->fd_, &st) != 0)
        ioError(path, "cannot read the index size");
    if (st.st_size < 2 * static_cast<off_t>(kPageSize))
        f->corrupt("the index file is truncated (" + std::to_string(st.st_size) + " bytes)");
    if (st.st_size % kPageSize != 0)
        f->corrupt("the index size " + std::to_string(st.st_size) + " is not a multiple of 512");
    if (st.st_size > static_cast<off_t>(0xFFFFFE00u))
        f->corrupt("the index file is too large");
    f->onDisk_ = static_cast<uint32_t>(st.st_size / kPageSize);
    f->pages_.resize(f->onDisk_);
    return f;
}

std::unique_ptr<PageFile> PageFile::create(const std::string& path)
{
    std::unique_ptr<PageFile> f(new PageFile);
    f->path_ = path;
    f->fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (f->fd_ < 0)
        ioError(path, "cannot create the index");
    return f;
}

PageFile::~PageFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void PageFile::corrupt(const std::string& what) const
{
    throw EngineError(EngineError::Kind::Corrupt, path_, "damaged index: " + what);
}

void PageFile::requireWritable() const
{
    if (readOnly_)
        throw EngineError(EngineError::Kind::Usage, path_, "the index is open read-only");
}

PageFile::Page& PageFile::load(uint32_t index)
{
    auto& slot = pages_[index];
    if (slot)
        return *slot;
    if (index >= onDisk_) {
        slot = std::make_unique<Page>();
        ++cached_;
        std::memset(slot->data, 0, kPageSize);
        return *slot;
    }
    // One read brings in the 64 KB around the page, which costs the OS little more than the page
    // alone: its neighbours are often wanted next (a bulk-built tree's levels lie side by side,
    // and random seeks in one tag soon need most of its pages).
    constexpr uint32_t kBlockPages = 128;
    const uint32_t first = index & ~(kBlockPages - 1);
    const uint32_t end = std::min(first + kBlockPages, onDisk_);
    uint8_t block[kBlockPages * kPageSize];
    const size_t want = static_cast<size_t>(end - first) * kPageSize;
    const off_t pos = static_cast<off_t>(first) * kPageSize;
    size_t got = 0;
    while (got < want) {
        ssize_t n = ::pread(fd_, block + got, want - got, pos + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ioError(path_, "cannot read the index");
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    if (got < static_cast<size_t>(index - first + 1) * kPageSize)
        corrupt("the file ended inside a page");
    for (uint32_t k = first; k < end && static_cast<size_t>(k - first + 1) * kPageSize <= got; ++k) {
        if (pages_[k])
            continue;   // held already, perhaps changed
        pages_[k] = std::make_unique<Page>();
        ++cached_;
        std::memcpy(pages_[k]->data, block + static_cast<size_t>(k - first) * kPageSize, kPageSize);
    }
    return *slot;
}

const uint8_t* PageFile::pageSlow(uint32_t offset, const char* what)
{
    if (!validPage(offset))
        corrupt(std::string(what) + " " + std::to_string(offset) + " is outside the file");
    return load(offset / kPageSize).data;
}

uint8_t* PageFile::writable(uint32_t offset, const char* what)
{
    requireWritable();
    if (!validPage(offset))
        corrupt(std::string(what) + " " + std::to_string(offset) + " is outside the file");
    Page& p = load(offset / kPageSize);
    p.dirty = true;
    return p.data;
}

uint32_t PageFile::appendPages(uint32_t count)
{
    requireWritable();
    if (pages_.size() + count > 0x7FFFFFu)
        throw EngineError(EngineError::Kind::Io, path_, "the index file would exceed 4 GB");
    uint32_t first = static_cast<uint32_t>(pages_.size());
    for (uint32_t i = 0; i < count; ++i) {
        auto p = std::make_unique<Page>();
        std::memset(p->data, 0, kPageSize);
        p->dirty = true;
        pages_.push_back(std::move(p));
        ++cached_;
    }
    return first * kPageSize;
}

uint32_t PageFile::allocate()
{
    requireWritable();
    if (pages_.size() >= 2) {
        uint32_t head = getLE32(page(0) + kFreeHeadOffset);
        if (!noneMark(head)) {
            if (!validPage(head) || head < 2 * kPageSize)
                corrupt("free page pointer " + std::to_string(head) + " is outside the file");
            uint8_t* p = writable(head);
            uint32_t next = getLE32(p);
            if (!noneMark(next) && (!validPage(next) || next < 2 * kPageSize || next == head))
                corrupt("free page pointer " + std::to_string(next) + " is outside the file");
            putLE32(writable(0) + kFreeHeadOffset, noneMark(next) ? kNone : next);
            std::memset(p, 0, kPageSize);
            return head;
        }
    }
    return appendPages(1);
}

void PageFile::release(uint32_t offset)
{
    requireWritable();
    uint8_t* p = writable(offset);
    uint32_t head = getLE32(page(0) + kFreeHeadOffset);
    std::memset(p, 0, kPageSize);
    putLE32(p, noneMark(head) ? kNone : head);
    putLE32(writable(0) + kFreeHeadOffset, offset);
}

std::vector<uint32_t> PageFile::freePages()
{
    std::vector<uint32_t> out;
    std::unordered_set<uint32_t> seen;
    uint32_t cur = getLE32(page(0) + kFreeHeadOffset);
    while (!noneMark(cur)) {
        if (!validPage(cur) || cur < 2 * kPageSize)
            corrupt("free page pointer " + std::to_string(cur) + " is outside the file");
        if (!seen.insert(cur).second)
            corrupt("the free page list loops at " + std::to_string(cur));
        out.push_back(cur);
        cur = getLE32(page(cur));
    }
    return out;
}

void PageFile::flush()
{
    if (readOnly_ || fd_ < 0)
        return;
    if (countChanges_ && !pages_.empty()
        && std::any_of(pages_.begin(), pages_.end(), [](const auto& p) { return p && p->dirty; })) {
        uint8_t* head = writable(0);
        putLE32(head + kChangeCounterOffset, getLE32(head + kChangeCounterOffset) + 1);
    }
    // Runs of consecutive changed pages go out in one write each.
    std::vector<uint8_t> buf;
    size_t i = 0;
    while (i < pages_.size()) {
        if (!pages_[i] || !pages_[i]->dirty) {
            ++i;
            continue;
        }
        size_t j = i;
        buf.clear();
        while (j < pages_.size() && pages_[j] && pages_[j]->dirty && j - i < 2048) {
            buf.insert(buf.end(), pages_[j]->data, pages_[j]->data + kPageSize);
            ++j;
        }
        off_t pos = static_cast<off_t>(i) * kPageSize;
        if (const int fault = injectedWriteFault(path_, static_cast<uint64_t>(pos), buf.size())) {
            errno = fault;
            ioError(path_, "cannot write the index");
        }
        size_t done = 0;
        while (done < buf.size()) {
            ssize_t n = ::pwrite(fd_, buf.data() + done, buf.size() - done, pos + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ioError(path_, "cannot write the index");
            done += static_cast<size_t>(n);
        }
        for (size_t k = i; k < j; ++k)
            pages_[k]->dirty = false;
        if (j > onDisk_)
            onDisk_ = static_cast<uint32_t>(j);
        i = j;
    }
    // Pages on disk can be read again: past the limit, forget the unchanged ones (the two
    // header pages stay, they are read all the time).
    if (cached_ > cacheLimit_) {
        for (size_t k = 2; k < pages_.size(); ++k) {
            if (pages_[k] && !pages_[k]->dirty && k < onDisk_) {
                pages_[k].reset();
                --cached_;
            }
        }
    }
}

uint32_t PageFile::changeCounter() { return getLE32(page(0) + kChangeCounterOffset); }

void PageFile::sync()
{
    flush();
    if (!readOnly_ && fd_ >= 0 && ::fdatasync(fd_) != 0)
        ioError(path_, "cannot sync the index");
}

} // namespace postavo::engine
