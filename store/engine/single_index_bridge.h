#pragma once
// The temporary subset index uses the single-index files of idx.h. Until that piece is merged,
// a stand-in refuses to create one.
#include "cdx.h"
#include "engine_error.h"

#if __has_include("idx.h")
#include "idx.h"
#else
#include <memory>
namespace postavo::engine {
class SingleIndex {
public:
    static std::unique_ptr<SingleIndex> create(const std::string& path, const TagInfo&)
    {
        throw EngineError(EngineError::Kind::Unsupported, path, "single index files are not available yet");
    }
    const TagInfo& tag() const { return tag_; }
    void insertKey(std::string_view, uint32_t) {}
    void deleteKey(std::string_view, uint32_t) {}
    std::unique_ptr<IndexCursor> cursor() { return nullptr; }
    void flush() {}
private:
    TagInfo tag_;
};
} // namespace postavo::engine
#endif
