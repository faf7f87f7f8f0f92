#include "cdxheader.h"

#include "cdxpagefile.h"
#include "cdxtree.h"
#include "engine_error.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace postavo::engine {

void writeIndexHeader(PageFile& file, uint32_t offset, const TagInfo& info, uint8_t options,
                      uint32_t root)
{
    uint8_t* p = file.writable(offset);
    std::memset(p, 0, PageFile::kPageSize);
    putLE32(p, root);
    putLE32(p + 4, PageFile::kNone);
    putLE16(p + 12, info.keyLength);
    p[14] = options;
    p[15] = 1;
    putLE16(p + 502, info.descending ? 1 : 0);
    // 504 holds where the FOR text starts in the pool (right after the key text and its NUL).
    putLE16(p + 504, static_cast<uint16_t>(info.keyExpr.size() + 1));
    putLE16(p + 506, static_cast<uint16_t>(info.forExpr.size() + 1));
    putLE16(p + 508, 0);
    putLE16(p + 510, static_cast<uint16_t>(info.keyExpr.size() + 1));
    uint8_t* pool = file.writable(offset + PageFile::kPageSize);
    std::memset(pool, 0, PageFile::kPageSize);
    std::memcpy(pool, info.keyExpr.data(), info.keyExpr.size());
    std::memcpy(pool + info.keyExpr.size() + 1, info.forExpr.data(), info.forExpr.size());
}

TagInfo readIndexHeader(PageFile& file, uint32_t offset, uint8_t& options)
{
    if (!file.validPage(offset) || !file.validPage(offset + PageFile::kPageSize))
        file.corrupt("index header at " + std::to_string(offset) + " lies outside the file");
    const uint8_t* p = file.page(offset);
    TagInfo t;
    t.keyLength = getLE16(p + 12);
    if (t.keyLength == 0 || t.keyLength > IndexTree::kMaxKeyLength)
        file.corrupt("key length " + std::to_string(t.keyLength) + " at " + std::to_string(offset)
                     + " is out of range");
    options = p[14];
    t.unique = options & indexopt::kUnique;
    t.descending = getLE16(p + 502) != 0;
    uint16_t keyPoolLen = getLE16(p + 510), forPoolLen = getLE16(p + 506);
    if (keyPoolLen > PageFile::kPageSize || forPoolLen > PageFile::kPageSize
        || keyPoolLen + forPoolLen > PageFile::kPageSize)
        file.corrupt("the expressions of the index at " + std::to_string(offset) + " are longer than their page");
    const uint8_t* pool = file.page(offset + PageFile::kPageSize);
    const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(pool, 0, PageFile::kPageSize));
    if (!nul)
        file.corrupt("the key expression at " + std::to_string(offset) + " is longer than its page");
    t.keyExpr.assign(reinterpret_cast<const char*>(pool), nul - pool);
    if (t.keyExpr.empty())
        file.corrupt("the index at " + std::to_string(offset) + " has no key expression");
    size_t forStart = t.keyExpr.size() + 1;
    if ((options & indexopt::kHasFor) || forPoolLen > 1) {
        if (forStart < PageFile::kPageSize) {
            const uint8_t* f = pool + forStart;
            const uint8_t* fnul = static_cast<const uint8_t*>(std::memchr(f, 0, PageFile::kPageSize - forStart));
            if (!fnul)
                file.corrupt("the FOR expression at " + std::to_string(offset) + " is longer than its page");
            t.forExpr.assign(reinterpret_cast<const char*>(f), fnul - f);
        }
    }
    return t;
}

KeyType guessKeyType(const TagInfo& info)
{
    if (info.keyLength != 8)
        return KeyType::Character;
    std::string e;
    for (char c : info.keyExpr)
        if (c != ' ')
            e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const textFunctions[] = {"UPPER(", "LOWER(", "DTOS(", "LEFT(", "RIGHT(", "SUBSTR(",
                                                "TRIM(", "RTRIM(", "LTRIM(", "ALLTRIM(", "STR(", "PADR(",
                                                "PADL(", "CHR("};
    for (const char* f : textFunctions)
        if (e.rfind(f, 0) == 0)
            return KeyType::Character;
    if (e.find('"') != std::string::npos || e.find('\'') != std::string::npos)
        return KeyType::Character;
    return KeyType::Numeric;
}

void validateNewTag(const std::string& file, const TagInfo& info, bool needName)
{
    auto usage = [&](const std::string& m) { throw EngineError(EngineError::Kind::Usage, file, m); };
    if (needName) {
        if (info.name.empty() || info.name.size() > 10)
            usage("a tag name has 1 to 10 characters: \"" + info.name + "\"");
        for (char c : info.name)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
                usage("a tag name holds letters, digits and _ only: \"" + info.name + "\"");
        if (std::isdigit(static_cast<unsigned char>(info.name[0])))
            usage("a tag name starts with a letter: \"" + info.name + "\"");
    }
    if (info.keyLength == 0 || info.keyLength > IndexTree::kMaxKeyLength)
        usage("key length " + std::to_string(info.keyLength) + " is outside 1..240");
    if (info.keyExpr.empty())
        usage("the key expression is empty");
    if (info.keyExpr.find('\0') != std::string::npos || info.forExpr.find('\0') != std::string::npos)
        usage("an index expression holds a NUL byte");
    if (info.keyExpr.size() + 1 + info.forExpr.size() + 1 > PageFile::kPageSize)
        usage("the index expressions are longer than 510 characters");
}

} // namespace postavo::engine
