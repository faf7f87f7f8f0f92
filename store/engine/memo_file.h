#pragma once
// Memo files beside a table: FoxPro's FPT (read and write) and dBASE's DBT (read only).
// A memo field in the record holds a block number; 0 means no memo.

#include "file_lock.h"

#include <cstdint>
#include <memory>
#include <string>

namespace postavo::engine {

class MemoFile {
public:
    virtual ~MemoFile() = default;
    virtual const std::string& path() const = 0;
    // The memo stored at `block`; "" for block 0. A pointer outside the file is Corrupt.
    virtual std::string read(std::uint32_t block) const = 0;
    // Stores `text` as a new memo and returns its block (0 for empty text). The old memo stays
    // untouched, so a record that is not yet posted still points at intact text.
    virtual std::uint32_t write(std::string_view text) = 0;
    // Forgets every memo (zap).
    virtual void clear() = 0;
    // Where the file ends now; rollback() forgets every memo written since (a record that
    // could not be stored takes its new memos back with it).
    struct Savepoint {
        std::uint32_t nextFree = 0;
        std::uint64_t size = 0;
    };
    virtual Savepoint savepoint() const = 0;
    virtual void rollback(const Savepoint& point) = 0;
    virtual void sync() = 0;
    // Structural problems of one pointer, "" when sound (for the consistency check).
    virtual std::string checkPointer(std::uint32_t block) const = 0;
};

class FptMemo : public MemoFile {
public:
    static constexpr std::uint32_t kDefaultBlockSize = 64;
    static constexpr std::uint32_t kHeaderSize = 512;

    static std::unique_ptr<FptMemo> open(const std::string& path, bool readOnly, DataFile::Lock lock);
    static std::unique_ptr<FptMemo> create(const std::string& path, std::uint32_t blockSize = kDefaultBlockSize);

    const std::string& path() const override { return file_.path(); }
    std::string read(std::uint32_t block) const override;
    std::uint32_t write(std::string_view text) override;
    void clear() override;
    Savepoint savepoint() const override { return {nextFree_, file_.size()}; }
    void rollback(const Savepoint& point) override;
    void sync() override { file_.sync(); }
    std::string checkPointer(std::uint32_t block) const override;

    std::uint32_t blockSize() const { return blockSize_; }
    std::uint32_t nextFree() const { return nextFree_; }
    // Copies the memo at `block` of `source` (its type word kept) to new blocks here; returns
    // the new block (0 for block 0). A pointer outside `source` is Corrupt.
    std::uint32_t copyFrom(const FptMemo& source, std::uint32_t block);

private:
    void writeHeader();
    std::uint32_t store(std::uint32_t type, std::string_view data);
    std::string readBlock(std::uint32_t block, std::uint32_t& type) const;
    DataFile file_;
    std::uint32_t blockSize_ = kDefaultBlockSize;
    std::uint32_t nextFree_ = 0;
    std::uint64_t size_ = 0;
    bool readOnly_ = false;
};

class DbtMemo : public MemoFile {
public:
    static std::unique_ptr<DbtMemo> open(const std::string& path, bool dBaseIV, DataFile::Lock lock);
    const std::string& path() const override { return file_.path(); }
    std::string read(std::uint32_t block) const override;
    std::uint32_t write(std::string_view text) override;
    void clear() override;
    Savepoint savepoint() const override { return {}; }
    void rollback(const Savepoint&) override {}
    void sync() override {}
    std::string checkPointer(std::uint32_t block) const override;

private:
    DataFile file_;
    std::uint32_t blockSize_ = 512;
    std::uint64_t size_ = 0;
    bool dBaseIV_ = false;
};

} // namespace postavo::engine
