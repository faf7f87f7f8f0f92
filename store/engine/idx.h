#pragma once
// Compact single-tag index files (.IDX): one B-tree laid out like a compound-index tag, with
// its header at the start of the file. The program uses them as temporary subset indexes:
// created empty, keys added one by one, walked as the active order.

#include "cdx.h"

namespace postavo::engine {

class SingleIndex {
public:
    // An empty index (replaces an existing file). The tag name is the file's base name.
    static std::unique_ptr<SingleIndex> create(const std::string& path, const TagInfo& info);
    static std::unique_ptr<SingleIndex> open(const std::string& path, bool readOnly,
                                             const KeyTypeResolver& keyTypes = {});
    ~SingleIndex();  // writes changed pages (errors are lost: call flush() first)

    const std::string& path() const;
    const TagInfo& tag() const { return info_; }
    void setKeyType(KeyType type);
    // A UNIQUE index ignores a key it already holds. Both return whether the index changed.
    bool insertKey(std::string_view key, uint32_t recno);
    bool deleteKey(std::string_view key, uint32_t recno);
    std::unique_ptr<IndexCursor> cursor();
    std::size_t keyCount();
    void flush();
    std::vector<std::string> check();   // structural problems, empty when sound

private:
    SingleIndex();
    std::unique_ptr<PageFile> file_;
    std::unique_ptr<IndexTree> tree_;
    TagInfo info_;
};

} // namespace postavo::engine
