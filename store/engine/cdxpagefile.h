#pragma once
// A file of 512-byte pages as compact (.IDX) and compound (.CDX) indexes use them. Pages are
// read on first use and stay in memory while the file is open; changed pages go back to the
// file at flush(). The file header's free-page list (offset 4 of page 0, chained through the
// first four bytes of each free page, -1 at the end) is kept here too.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace postavo::engine {

class PageFile {
public:
    static constexpr uint32_t kPageSize = 512;
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    // Opens an existing file (throws EngineError Io / Corrupt), or creates an empty one.
    static std::unique_ptr<PageFile> open(const std::string& path, bool readOnly);
    static std::unique_ptr<PageFile> create(const std::string& path);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    uint32_t sizeBytes() const { return static_cast<uint32_t>(pages_.size()) * kPageSize; }
    uint32_t pageCount() const { return static_cast<uint32_t>(pages_.size()); }
    bool validPage(uint32_t offset) const
    {
        return offset % kPageSize == 0 && offset / kPageSize < pages_.size();
    }

    // The bytes of the page at `offset`; throws Corrupt (naming `what`) when the offset is
    // not a page of this file.
    const uint8_t* page(uint32_t offset, const char* what = "page pointer")
    {
        const uint32_t index = offset / kPageSize;
        if (offset % kPageSize == 0 && index < pages_.size() && pages_[index])
            return pages_[index]->data;   // the usual case: held in memory
        return pageSlow(offset, what);
    }
    uint8_t* writable(uint32_t offset, const char* what = "page pointer");

    // A zeroed page: the head of the free list, or a new one at the end.
    uint32_t allocate();
    // `count` consecutive zeroed pages at the end of the file (tag headers need two).
    uint32_t appendPages(uint32_t count);
    // Puts a page on the free list.
    void release(uint32_t offset);
    // Walks the free list once (bounded), throwing Corrupt on a bad pointer or a loop.
    std::vector<uint32_t> freePages();

    void flush();   // writes changed pages; drops unchanged ones when many are held
    // Every flush that writes changes then also advances the counter at bytes 8..11 of the
    // file header, which other programs sharing the file watch to notice the change.
    void setCountChanges(bool on) { countChanges_ = on; }
    uint32_t changeCounter();
    static constexpr uint32_t kChangeCounterOffset = 8;
    void setCacheLimit(uint32_t pages) { cacheLimit_ = pages; }
    uint32_t cacheLimit() const { return cacheLimit_; }
    uint32_t cachedPages() const { return cached_; }
    void relieve() { if (cached_ > cacheLimit_) flush(); }   // between operations only
    void sync();    // flush, then ask the OS to put the file on disk

    [[noreturn]] void corrupt(const std::string& what) const;

private:
    PageFile() = default;
    struct Page {
        uint8_t data[kPageSize];
        bool dirty = false;
    };
    Page& load(uint32_t index);
    const uint8_t* pageSlow(uint32_t offset, const char* what);
    void requireWritable() const;

    std::string path_;
    int fd_ = -1;
    bool readOnly_ = false;
    bool countChanges_ = false;
    uint32_t onDisk_ = 0;   // pages present in the file itself
    uint32_t cached_ = 0;   // pages held in memory
    uint32_t cacheLimit_ = 1u << 19;   // 256 MB: a million-record table's tags stay in memory
    std::vector<std::unique_ptr<Page>> pages_;
};

// Little- and big-endian fields inside pages.
inline uint16_t getLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t getLE32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t getBE32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
inline void putLE16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void putLE32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void putBE32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

} // namespace postavo::engine
