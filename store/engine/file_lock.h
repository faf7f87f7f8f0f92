#pragma once
// A data file opened by the engine: positioned reads and writes that either complete or throw,
// whole-file locks that keep other processes out, and byte-range record locks.

#include <cstdint>
#include <string>

namespace postavo::engine {

class DataFile {
public:
    enum class Access { ReadOnly, ReadWrite };
    enum class Lock { None, Shared, Exclusive };

    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;

    // Opens an existing file. A lock that another process (or another open of the same file)
    // holds in a conflicting way gives EngineError::Locked instead of waiting.
    static DataFile open(const std::string& path, Access access, Lock lock);
    // Creates (or truncates) a file for writing, holding an exclusive lock.
    static DataFile create(const std::string& path);

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    void close();

    std::uint64_t size() const;
    // Reads exactly `length` bytes at `offset`; a short file is Corrupt ("file is truncated").
    void readExact(std::uint64_t offset, void* buffer, std::size_t length) const;
    // Reads up to `length` bytes; returns how many were there.
    std::size_t readSome(std::uint64_t offset, void* buffer, std::size_t length) const;
    void write(std::uint64_t offset, const void* buffer, std::size_t length);
    void truncate(std::uint64_t length);
    void sync();

    // Turns the whole-file lock into an exclusive one; false (keeping the shared lock) when
    // another open of the file exists.
    bool tryUpgradeToExclusive();

    // Advisory byte-range lock for one record in shared mode; false when another process has it.
    bool lockRange(std::uint64_t offset, std::uint64_t length);
    void unlockRange(std::uint64_t offset, std::uint64_t length);

private:
    int fd_ = -1;
    std::string path_;
};

// Replaces `target` by `source` atomically (rename), then makes the folder entry durable.
void replaceFile(const std::string& source, const std::string& target);
void removeFileIfExists(const std::string& path);
bool fileExists(const std::string& path);

} // namespace postavo::engine
