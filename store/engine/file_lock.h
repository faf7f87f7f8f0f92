#pragma once
// A data file opened by the engine: positioned reads and writes that either complete or throw,
// whole-file locks that keep other processes out, and byte-range record locks.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// ---- the files that belong to a table: its memo (.fpt, .dbt), index (.cdx) and the like
// Other xBase programs on Linux look for them under the table's base name with a lower-case
// extension, whatever the case of the table's own name; that is the name we create. Existing
// files are found whatever the case of their extension, so older tables keep working.

// `path` with its extension replaced by `ext` in lower case ("ADD0001.DBF", "fpt" -> "ADD0001.fpt").
std::string siblingPath(const std::string& path, std::string_view ext);
// Every existing file of the table's base name whose extension is `ext` in any letter case,
// the lower-case name first.
std::vector<std::string> siblingsAnyCase(const std::string& path, std::string_view ext);
// The existing sibling (the lower-case name when there are several), else the lower-case name.
std::string existingSibling(const std::string& path, std::string_view ext);
// Before a file is replaced: an existing sibling of another letter case is renamed to the
// lower-case name (one rename, so there is never a second file beside the table, and the
// file stays whole if what follows fails). Returns the lower-case name.
std::string adoptLowerCaseSibling(const std::string& path, std::string_view ext);
// Removes the siblings other than the lower-case one, or all of them.
void removeOtherCaseSiblings(const std::string& path, std::string_view ext);
void removeSiblings(const std::string& path, std::string_view ext);

} // namespace postavo::engine
