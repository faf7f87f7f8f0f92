#include "file_lock.h"

#include "engine_error.h"
#include "write_faults.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace postavo::engine {

namespace {

[[noreturn]] void ioError(const std::string& path, const char* what, int err)
{
    throw EngineError(EngineError::Kind::Io, path, std::string(what) + ": " + std::strerror(err));
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

DataFile::~DataFile() { close(); }

DataFile::DataFile(DataFile&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_))
{
    other.fd_ = -1;
}

DataFile& DataFile::operator=(DataFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

DataFile DataFile::open(const std::string& path, Access access, Lock lock)
{
    DataFile f;
    f.path_ = path;
    f.fd_ = ::open(path.c_str(), (access == Access::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (f.fd_ < 0)
        ioError(path, "cannot open", errno);
    struct stat st {};
    if (::fstat(f.fd_, &st) == 0 && !S_ISREG(st.st_mode))
        throw EngineError(EngineError::Kind::Io, path, "not a regular file");
    if (lock != Lock::None) {
        // flock locks belong to the open file description, so a second open in this very
        // process conflicts too, just as another process would.
        if (::flock(f.fd_, (lock == Lock::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                throw EngineError(EngineError::Kind::Locked, path, "the file is in use by another program");
            ioError(path, "cannot lock", errno);
        }
    }
    return f;
}

DataFile DataFile::create(const std::string& path)
{
    DataFile f;
    f.path_ = path;
    f.fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (f.fd_ < 0)
        ioError(path, "cannot create", errno);
    if (::flock(f.fd_, LOCK_EX | LOCK_NB) != 0)
        throw EngineError(EngineError::Kind::Locked, path, "the file is in use by another program");
    if (::ftruncate(f.fd_, 0) != 0)
        ioError(path, "cannot create", errno);
    return f;
}

void DataFile::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::uint64_t DataFile::size() const
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        ioError(path_, "cannot read size", errno);
    return std::uint64_t(st.st_size);
}

std::size_t DataFile::readSome(std::uint64_t offset, void* buffer, std::size_t length) const
{
    std::size_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < length) {
        const ssize_t n = ::pread(fd_, p + done, length - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ioError(path_, "cannot read", errno);
        }
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

void DataFile::readExact(std::uint64_t offset, void* buffer, std::size_t length) const
{
    if (readSome(offset, buffer, length) != length)
        throw EngineError(EngineError::Kind::Corrupt, path_, "file is truncated");
}

void DataFile::write(std::uint64_t offset, const void* buffer, std::size_t length)
{
    if (const int fault = injectedWriteFault(path_, offset, length))
        ioError(path_, "cannot write", fault);
    std::size_t done = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (done < length) {
        const ssize_t n = ::pwrite(fd_, p + done, length - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ioError(path_, "cannot write", errno);
        }
        done += std::size_t(n);
    }
}

void DataFile::truncate(std::uint64_t length)
{
    if (::ftruncate(fd_, off_t(length)) != 0)
        ioError(path_, "cannot truncate", errno);
}

void DataFile::sync()
{
    if (fd_ >= 0 && ::fdatasync(fd_) != 0)
        ioError(path_, "cannot write to disk", errno);
}

bool DataFile::tryUpgradeToExclusive()
{
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
        return true;
    // A failed conversion may have dropped the shared lock: take it again.
    ::flock(fd_, LOCK_SH | LOCK_NB);
    return false;
}

bool DataFile::lockRange(std::uint64_t offset, std::uint64_t length)
{
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    return ::fcntl(fd_, F_SETLK, &fl) == 0;
}

void DataFile::unlockRange(std::uint64_t offset, std::uint64_t length)
{
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    ::fcntl(fd_, F_SETLK, &fl);
}

void replaceFile(const std::string& source, const std::string& target)
{
    {
        // The new file's bytes must be on disk before its name replaces the old one.
        const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    if (::rename(source.c_str(), target.c_str()) != 0)
        ioError(target, "cannot replace", errno);
    const int dfd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void removeFileIfExists(const std::string& path)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        ioError(path, "cannot delete", errno);
}

bool fileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ---------------------------------------------------------------- a table's sibling files

namespace {

std::string lowerCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

// The base (folder and name without the extension) of a table's path.
std::string baseOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return path.substr(0, dot);
    return path;
}

} // namespace

std::string siblingPath(const std::string& path, std::string_view ext)
{
    return baseOf(path) + "." + lowerCase(ext);
}

std::vector<std::string> siblingsAnyCase(const std::string& path, std::string_view ext)
{
    std::vector<std::string> found;
    const std::string preferred = siblingPath(path, ext);
    if (fileExists(preferred))
        found.push_back(preferred);
    const std::string base = baseOf(path);
    const auto slash = base.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
    const std::string stem = slash == std::string::npos ? base : base.substr(slash + 1);
    const std::string wanted = lowerCase(ext);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return found;
    std::vector<std::string> others;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != stem.size() + 1 + wanted.size() || name.compare(0, stem.size(), stem) != 0
            || name[stem.size()] != '.')
            continue;
        const std::string_view e2 = std::string_view(name).substr(stem.size() + 1);
        if (lowerCase(e2) != wanted || e2 == wanted)
            continue;
        if (fileExists(folder + name))
            others.push_back(folder + name);
    }
    ::closedir(dir);
    std::sort(others.begin(), others.end());
    found.insert(found.end(), others.begin(), others.end());
    return found;
}

std::string existingSibling(const std::string& path, std::string_view ext)
{
    const std::string preferred = siblingPath(path, ext);
    if (fileExists(preferred))
        return preferred;
    const std::vector<std::string> all = siblingsAnyCase(path, ext);
    return all.empty() ? preferred : all.front();
}

std::string adoptLowerCaseSibling(const std::string& path, std::string_view ext)
{
    const std::string preferred = siblingPath(path, ext);
    if (fileExists(preferred))
        return preferred;
    const std::vector<std::string> all = siblingsAnyCase(path, ext);
    if (!all.empty()) {
        if (::rename(all.front().c_str(), preferred.c_str()) != 0)
            ioError(all.front(), "cannot rename", errno);
        const int dfd = ::open(folderOf(preferred).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            ::fsync(dfd);
            ::close(dfd);
        }
    }
    return preferred;
}

void removeOtherCaseSiblings(const std::string& path, std::string_view ext)
{
    const std::string preferred = siblingPath(path, ext);
    for (const std::string& p : siblingsAnyCase(path, ext))
        if (p != preferred)
            removeFileIfExists(p);
}

void removeSiblings(const std::string& path, std::string_view ext)
{
    for (const std::string& p : siblingsAnyCase(path, ext))
        removeFileIfExists(p);
}

} // namespace postavo::engine
