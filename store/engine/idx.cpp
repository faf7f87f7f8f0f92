#include "idx.h"

#include "cdxheader.h"
#include "cdxpagefile.h"
#include "cdxtree.h"
#include "engine_error.h"

#include <cctype>
#include <filesystem>
#include <unordered_map>

namespace postavo::engine {

namespace {

std::string tagNameFor(const std::string& path)
{
    std::string stem = std::filesystem::path(path).stem().string();
    for (char& c : stem)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return stem;
}

} // namespace

SingleIndex::SingleIndex() = default;

SingleIndex::~SingleIndex()
{
    try {
        if (file_)
            file_->flush();
    } catch (...) {
    }
}

const std::string& SingleIndex::path() const { return file_->path(); }

std::unique_ptr<SingleIndex> SingleIndex::create(const std::string& path, const TagInfo& info)
{
    validateNewTag(path, info, false);
    std::unique_ptr<SingleIndex> ix(new SingleIndex);
    ix->info_ = info;
    ix->info_.name = tagNameFor(path);
    ix->file_ = PageFile::create(path);
    ix->file_->appendPages(2);
    uint8_t options = indexopt::kCompact;
    if (info.unique)
        options |= indexopt::kUnique;
    if (!info.forExpr.empty())
        options |= indexopt::kHasFor;
    writeIndexHeader(*ix->file_, 0, ix->info_, options, 0);
    ix->tree_ = std::make_unique<IndexTree>(*ix->file_, 0, info.keyLength, padFor(info.keyType));
    ix->tree_->initEmpty();
    ix->file_->flush();
    return ix;
}

std::unique_ptr<SingleIndex> SingleIndex::open(const std::string& path, bool readOnly,
                                               const KeyTypeResolver& keyTypes)
{
    std::unique_ptr<SingleIndex> ix(new SingleIndex);
    ix->file_ = PageFile::open(path, readOnly);
    uint8_t options = ix->file_->page(0)[14];
    if (!(options & indexopt::kCompact))
        throw EngineError(EngineError::Kind::Unsupported, path, "not a compact index");
    if (options & indexopt::kCompound)
        throw EngineError(EngineError::Kind::Unsupported, path, "a compound index, not a single index");
    TagInfo t = readIndexHeader(*ix->file_, 0, options);
    ix->file_->freePages();
    t.name = tagNameFor(path);
    t.keyType = keyTypes ? keyTypes(t) : guessKeyType(t);
    ix->tree_ = std::make_unique<IndexTree>(*ix->file_, 0, t.keyLength, padFor(t.keyType));
    ix->info_ = std::move(t);
    return ix;
}

void SingleIndex::setKeyType(KeyType type)
{
    info_.keyType = type;
    tree_->setPad(padFor(type));
}

bool SingleIndex::insertKey(std::string_view key, uint32_t recno)
{
    if (key.size() != info_.keyLength)
        throw EngineError(EngineError::Kind::Usage, file_->path(),
                          "a key for this index must be " + std::to_string(info_.keyLength) + " bytes");
    if (file_->readOnly())
        throw EngineError(EngineError::Kind::Usage, file_->path(), "the index is open read-only");
    const auto* k = reinterpret_cast<const uint8_t*>(key.data());
    if (info_.unique && tree_->containsKey(k))
        return false;
    return tree_->insert(k, recno);
}

bool SingleIndex::deleteKey(std::string_view key, uint32_t recno)
{
    if (key.size() != info_.keyLength)
        return false;
    if (file_->readOnly())
        throw EngineError(EngineError::Kind::Usage, file_->path(), "the index is open read-only");
    return tree_->erase(reinterpret_cast<const uint8_t*>(key.data()), recno);
}

std::unique_ptr<IndexCursor> SingleIndex::cursor()
{
    return std::make_unique<IndexCursor>(tree_.get(), info_.descending);
}

std::size_t SingleIndex::keyCount() { return tree_->count(); }

void SingleIndex::flush() { file_->flush(); }

std::vector<std::string> SingleIndex::check()
{
    std::vector<std::string> problems;
    std::unordered_map<uint32_t, std::string> used{{0, "header"}, {512, "header"}};
    try {
        for (uint32_t p : file_->freePages())
            if (!used.emplace(p, "free list").second)
                problems.push_back("free list: page " + std::to_string(p) + " is listed twice");
    } catch (const std::exception& e) {
        problems.push_back(e.what());
    }
    tree_->check(problems, used, "index");
    return problems;
}

} // namespace postavo::engine
