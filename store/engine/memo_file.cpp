#include "memo_file.h"

#include "engine_error.h"

#include <algorithm>
#include <vector>

namespace postavo::engine {

namespace {

std::uint32_t be32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
void putBe32(unsigned char* p, std::uint32_t v)
{
    p[0] = v >> 24; p[1] = (v >> 16) & 0xFF; p[2] = (v >> 8) & 0xFF; p[3] = v & 0xFF;
}
std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

} // namespace

// ---------------------------------------------------------------- FPT

std::unique_ptr<FptMemo> FptMemo::open(const std::string& path, bool readOnly, DataFile::Lock lock)
{
    auto m = std::unique_ptr<FptMemo>(new FptMemo);
    m->file_ = DataFile::open(path, readOnly ? DataFile::Access::ReadOnly : DataFile::Access::ReadWrite, lock);
    m->readOnly_ = readOnly;
    m->size_ = m->file_.size();
    unsigned char h[8];
    if (m->size_ < 8)
        throw EngineError(EngineError::Kind::Corrupt, path, "memo file too short for its header");
    m->file_.readExact(0, h, 8);
    m->nextFree_ = be32(h);
    m->blockSize_ = std::uint32_t(h[6] << 8 | h[7]);
    if (m->blockSize_ == 0)
        m->blockSize_ = be32(h + 4);
    if (m->blockSize_ == 0 || m->blockSize_ > 65536)
        throw EngineError(EngineError::Kind::Corrupt, path, "memo file has a bad block size");
    const std::uint64_t firstBlock = (kHeaderSize + m->blockSize_ - 1) / m->blockSize_;
    const std::uint64_t endBlock = (m->size_ + m->blockSize_ - 1) / m->blockSize_;
    if (m->nextFree_ < firstBlock)
        m->nextFree_ = std::uint32_t(firstBlock);
    // A next-free pointer behind the end of the data would make us overwrite memos.
    if (m->nextFree_ < endBlock)
        m->nextFree_ = std::uint32_t(std::min<std::uint64_t>(endBlock, 0xFFFFFFFFu));
    // One far past the end would put the next memo behind a hole of any size (gigabytes from a
    // damaged header): new memos go right after the data instead.
    if (m->nextFree_ > std::max(endBlock, firstBlock))
        m->nextFree_ = std::uint32_t(std::min<std::uint64_t>(std::max(endBlock, firstBlock), 0xFFFFFFFFu));
    return m;
}

std::unique_ptr<FptMemo> FptMemo::create(const std::string& path, std::uint32_t blockSize)
{
    auto m = std::unique_ptr<FptMemo>(new FptMemo);
    m->file_ = DataFile::create(path);
    m->blockSize_ = blockSize;
    m->nextFree_ = (kHeaderSize + blockSize - 1) / blockSize;
    m->writeHeader();
    m->size_ = kHeaderSize;
    return m;
}

void FptMemo::writeHeader()
{
    std::vector<unsigned char> h(kHeaderSize, 0);
    putBe32(&h[0], nextFree_);
    h[6] = (blockSize_ >> 8) & 0xFF;
    h[7] = blockSize_ & 0xFF;
    file_.write(0, h.data(), h.size());
}

std::string FptMemo::checkPointer(std::uint32_t block) const
{
    if (block == 0)
        return {};
    const std::uint64_t pos = std::uint64_t(block) * blockSize_;
    if (pos < kHeaderSize || pos + 8 > size_ || block >= nextFree_)
        return "memo block " + std::to_string(block) + " lies outside the memo file";
    unsigned char h[8];
    if (file_.readSome(pos, h, 8) != 8)
        return "memo block " + std::to_string(block) + " lies outside the memo file";
    if (pos + 8 + be32(h + 4) > size_)
        return "memo block " + std::to_string(block) + " runs past the end of the memo file";
    return {};
}

std::string FptMemo::read(std::uint32_t block) const
{
    std::uint32_t type;
    return readBlock(block, type);
}

std::string FptMemo::readBlock(std::uint32_t block, std::uint32_t& type) const
{
    type = 1;
    if (block == 0)
        return {};
    const std::uint64_t pos = std::uint64_t(block) * blockSize_;
    if (pos < kHeaderSize || pos + 8 > size_)
        throw EngineError(EngineError::Kind::Corrupt, path(),
                          "memo block " + std::to_string(block) + " lies outside the memo file");
    unsigned char h[8];
    file_.readExact(pos, h, 8);
    type = be32(h);
    const std::uint32_t length = be32(h + 4);
    if (pos + 8 + length > size_)
        throw EngineError(EngineError::Kind::Corrupt, path(),
                          "memo block " + std::to_string(block) + " runs past the end of the memo file");
    std::string text(length, '\0');
    file_.readExact(pos + 8, text.data(), length);
    return text;
}

std::uint32_t FptMemo::copyFrom(const FptMemo& source, std::uint32_t block)
{
    if (block == 0)
        return 0;
    std::uint32_t type;
    const std::string data = source.readBlock(block, type);
    return store(type, data);
}

std::uint32_t FptMemo::write(std::string_view text) { return store(1, text); }

std::uint32_t FptMemo::store(std::uint32_t type, std::string_view text)
{
    if (readOnly_)
        throw EngineError(EngineError::Kind::Usage, path(), "memo file is open read-only");
    if (text.empty())
        return 0;
    const std::uint64_t need = 8 + text.size();
    const std::uint64_t blocks = (need + blockSize_ - 1) / blockSize_;
    if (std::uint64_t(nextFree_) + blocks > 0xFFFFFFFFull / 2)
        throw EngineError(EngineError::Kind::Io, path(), "memo file is full");
    const std::uint32_t block = nextFree_;
    std::vector<unsigned char> buf(need);
    putBe32(&buf[0], type);
    putBe32(&buf[4], std::uint32_t(text.size()));
    std::copy(text.begin(), text.end(), buf.begin() + 8);
    const std::uint64_t pos = std::uint64_t(block) * blockSize_;
    file_.write(pos, buf.data(), buf.size());
    // The text is in place before the header hands its blocks out as used.
    nextFree_ = std::uint32_t(block + blocks);
    unsigned char nf[4];
    putBe32(nf, nextFree_);
    file_.write(0, nf, 4);
    size_ = std::max<std::uint64_t>(size_, pos + need);
    return block;
}

void FptMemo::rollback(const Savepoint& point)
{
    if (readOnly_ || point.size == 0)
        return;
    // Shrinking and rewriting the header in place need no new space, so they work on a full
    // disk too.
    if (file_.size() > point.size)
        file_.truncate(point.size);
    size_ = point.size;
    if (nextFree_ != point.nextFree) {
        nextFree_ = point.nextFree;
        unsigned char nf[4];
        putBe32(nf, nextFree_);
        file_.write(0, nf, 4);
    }
}

void FptMemo::clear()
{
    nextFree_ = (kHeaderSize + blockSize_ - 1) / blockSize_;
    writeHeader();
    file_.truncate(kHeaderSize);
    size_ = kHeaderSize;
}

// ---------------------------------------------------------------- DBT

std::unique_ptr<DbtMemo> DbtMemo::open(const std::string& path, bool dBaseIV, DataFile::Lock lock)
{
    auto m = std::unique_ptr<DbtMemo>(new DbtMemo);
    m->file_ = DataFile::open(path, DataFile::Access::ReadOnly, lock);
    m->size_ = m->file_.size();
    m->dBaseIV_ = dBaseIV;
    if (m->size_ < 512)
        throw EngineError(EngineError::Kind::Corrupt, path, "memo file too short for its header");
    if (dBaseIV) {
        unsigned char h[24];
        m->file_.readExact(0, h, 24);
        const std::uint32_t bs = std::uint32_t(h[20] | (h[21] << 8));
        if (bs >= 64 && bs % 64 == 0)
            m->blockSize_ = bs;
    }
    return m;
}

std::string DbtMemo::checkPointer(std::uint32_t block) const
{
    if (block == 0)
        return {};
    if (std::uint64_t(block) * blockSize_ >= size_)
        return "memo block " + std::to_string(block) + " lies outside the memo file";
    return {};
}

std::string DbtMemo::read(std::uint32_t block) const
{
    if (block == 0)
        return {};
    const std::uint64_t pos = std::uint64_t(block) * blockSize_;
    if (pos >= size_)
        throw EngineError(EngineError::Kind::Corrupt, path(),
                          "memo block " + std::to_string(block) + " lies outside the memo file");
    unsigned char h[8];
    const std::size_t got = file_.readSome(pos, h, 8);
    if (dBaseIV_ && got == 8 && h[0] == 0xFF && h[1] == 0xFF && h[2] == 0x08 && h[3] == 0x00) {
        const std::uint32_t length = le32(h + 4);
        if (length < 8 || pos + length > size_)
            throw EngineError(EngineError::Kind::Corrupt, path(),
                              "memo block " + std::to_string(block) + " runs past the end of the memo file");
        std::string text(length - 8, '\0');
        file_.readExact(pos + 8, text.data(), text.size());
        return text;
    }
    // dBASE III: the text runs to the first end-of-file mark (or the end of the file).
    std::string text;
    std::vector<char> chunk(4096);
    std::uint64_t at = pos;
    while (at < size_) {
        const std::size_t n = file_.readSome(at, chunk.data(), chunk.size());
        if (n == 0)
            break;
        const auto end = std::find(chunk.begin(), chunk.begin() + std::ptrdiff_t(n), '\x1A');
        text.append(chunk.begin(), end);
        if (end != chunk.begin() + std::ptrdiff_t(n))
            break;
        at += n;
    }
    return text;
}

std::uint32_t DbtMemo::write(std::string_view)
{
    throw EngineError(EngineError::Kind::Unsupported, path(), "dBASE memo files are read only");
}

void DbtMemo::clear()
{
    throw EngineError(EngineError::Kind::Unsupported, path(), "dBASE memo files are read only");
}

} // namespace postavo::engine
