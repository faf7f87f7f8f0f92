#include "dbf_header.h"

#include "engine_error.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace postavo::engine {

namespace {

std::uint16_t le16(const unsigned char* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}
void put16(unsigned char* p, std::uint32_t v) { p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; }
void put32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (v >> (8 * i)) & 0xFF;
}

bool knownVersion(std::uint8_t v)
{
    switch (v) {
    case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32:
    case 0x43: case 0x63: case 0x7B: case 0x83: case 0x8B: case 0xCB: case 0xE5: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void corrupt(const std::string& file, const std::string& what)
{
    throw EngineError(EngineError::Kind::Corrupt, file, what);
}

std::string upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return r;
}

} // namespace

bool DbfHeader::hasMemoFields() const
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const DbfField& f) { return f.type == 'M' || f.type == 'G' || f.type == 'P'; });
}

MemoKind DbfHeader::memoKind() const
{
    if (!hasMemoFields())
        return MemoKind::None;
    switch (version) {
    case 0x83: return MemoKind::DbtIII;
    case 0x7B: case 0x8B: case 0xCB: return MemoKind::DbtIV;
    default: return MemoKind::Fpt;
    }
}

int DbfHeader::fieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& n = fields[i].name;
        if (n.size() != name.size())
            continue;
        bool same = true;
        for (std::size_t k = 0; k < n.size() && same; ++k) {
            char c = name[k];
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
            same = (c == n[k]);
        }
        if (same)
            return int(i);
    }
    return -1;
}

DbfHeader DbfHeader::forNewTable(const std::vector<DbfField>& in, const std::string& file)
{
    if (in.empty() || in.size() > 255)
        throw EngineError(EngineError::Kind::Usage, file, "a table needs 1 to 255 fields");
    DbfHeader h;
    std::uint32_t offset = 1;
    for (const DbfField& src : in) {
        DbfField f = src;
        f.name = upper(f.name);
        if (f.name.empty() || f.name.size() > 10)
            throw EngineError(EngineError::Kind::Usage, file, "bad field name \"" + f.name + "\"");
        for (char c : f.name)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
                throw EngineError(EngineError::Kind::Usage, file, "bad field name \"" + f.name + "\"");
        if (h.fieldIndex(f.name) >= 0)
            throw EngineError(EngineError::Kind::Usage, file, "field " + f.name + " twice");
        f.type = char(std::toupper(static_cast<unsigned char>(f.type)));
        switch (f.type) {
        case 'C':
            if (f.length < 1 || f.length > 254) throw EngineError(EngineError::Kind::Usage, file, "field " + f.name + ": width must be 1 to 254");
            f.decimals = 0;
            break;
        case 'N': case 'F':
            if (f.length < 1 || f.length > 20 || (f.decimals && f.decimals + 2 > f.length))
                throw EngineError(EngineError::Kind::Usage, file, "field " + f.name + ": bad numeric width");
            break;
        case 'L': f.length = 1; f.decimals = 0; break;
        case 'D': f.length = 8; f.decimals = 0; break;
        case 'M': f.length = 10; f.decimals = 0; break;
        default:
            throw EngineError(EngineError::Kind::Usage, file, std::string("field ") + f.name + ": type " + f.type + " cannot be created");
        }
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(f);
    }
    if (offset > 65535)
        throw EngineError(EngineError::Kind::Usage, file, "record too long");
    h.version = h.hasMemoFields() ? kFoxProMemo : kFoxBase;
    h.codePage = kCodePage1252;
    h.recordLength = std::uint16_t(offset);
    h.headerLength = std::uint16_t(32 + 32 * h.fields.size() + 1);
    h.stampToday();
    return h;
}

DbfHeader DbfHeader::parse(const unsigned char* d, std::size_t size, std::uint64_t fileSize,
                           const std::string& file)
{
    if (size < 32)
        corrupt(file, "file too short for a table header");
    DbfHeader h;
    h.version = d[0];
    if (!knownVersion(h.version))
        throw EngineError(EngineError::Kind::Unsupported, file, "not a DBF table (unknown version byte)");
    h.year = d[1];
    h.month = d[2];
    h.day = d[3];
    h.recordCount = le32(d + 4);
    h.headerLength = le16(d + 8);
    h.recordLength = le16(d + 10);
    h.flags = d[28];
    h.codePage = d[29];
    if (h.headerLength < 32 + 1)
        corrupt(file, "header length too small");
    if (h.recordLength < 2)
        corrupt(file, "record length too small");
    const std::size_t limit = std::min<std::size_t>(size, h.headerLength);
    std::size_t pos = 32;
    std::uint32_t offset = 1;
    bool terminated = false;
    while (pos < limit) {
        if (d[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + 32 > limit)
            break;
        const unsigned char* fd = d + pos;
        DbfField f;
        std::size_t n = 0;
        while (n < 11 && fd[n] != 0)
            ++n;
        f.name = upper(std::string_view(reinterpret_cast<const char*>(fd), std::min<std::size_t>(n, 10)));
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        f.type = char(fd[11]);
        if (f.type >= 'a' && f.type <= 'z')
            f.type = char(f.type - 'a' + 'A');
        f.length = fd[16];
        f.decimals = fd[17];
        // Clipper/FoxPro: character fields wider than 255 keep the high byte in "decimals".
        if (f.type == 'C' && !h.isVisualFoxPro() && f.decimals) {
            f.length = std::uint16_t(fd[16] | (fd[17] << 8));
            f.decimals = 0;
        }
        if (f.name.empty())
            corrupt(file, "field " + std::to_string(h.fields.size() + 1) + " has no name");
        if (f.length == 0)
            corrupt(file, "field " + f.name + " has width 0");
        switch (f.type) {
        case 'C': case 'N': case 'F': case 'L': case 'D': case 'M': case 'G': case 'P':
        case 'I': case 'Y': case 'T': case 'B': case '0': case 'V': case 'Q': case 'W':
            break;
        default:
            corrupt(file, std::string("field ") + f.name + " has unknown type '" + f.type + "'");
        }
        if ((f.type == 'D' && f.length != 8) || (f.type == 'L' && f.length != 1)
            || (f.type == 'I' && f.length != 4) || ((f.type == 'Y' || f.type == 'T') && f.length != 8)
            || (f.type == 'B' && !h.isVisualFoxPro() && f.length != 10 && f.length != 8)
            || (f.type == 'M' && f.length != 10 && f.length != 4))
            corrupt(file, "field " + f.name + " has a width its type cannot have");
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(std::move(f));
        pos += 32;
    }
    if (!terminated)
        corrupt(file, "header has no field terminator");
    if (h.fields.empty())
        corrupt(file, "table has no fields");
    if (offset != h.recordLength)
        corrupt(file, "record length " + std::to_string(h.recordLength) + " does not match the fields ("
                          + std::to_string(offset) + ")");
    const std::size_t minHeader = pos + 1 + (h.isVisualFoxPro() ? 263 : 0);
    if (h.headerLength < minHeader && !(h.isVisualFoxPro() && h.headerLength >= pos + 1))
        corrupt(file, "header length too small for its fields");
    const std::uint64_t need = std::uint64_t(h.headerLength) + std::uint64_t(h.recordCount) * h.recordLength;
    if (need > fileSize)
        corrupt(file, "file is shorter than its " + std::to_string(h.recordCount) + " records");
    return h;
}

std::vector<unsigned char> DbfHeader::serialize() const
{
    std::vector<unsigned char> b(headerLength, 0);
    b[0] = version;
    b[1] = year;
    b[2] = month;
    b[3] = day;
    put32(&b[4], recordCount);
    put16(&b[8], headerLength);
    put16(&b[10], recordLength);
    b[28] = flags;
    b[29] = codePage;
    std::size_t pos = 32;
    for (const DbfField& f : fields) {
        std::memcpy(&b[pos], f.name.data(), std::min<std::size_t>(f.name.size(), 10));
        b[pos + 11] = static_cast<unsigned char>(f.type);
        put32(&b[pos + 12], f.offset);  // the field's displacement in the record, as FoxPro documents
        if (f.type == 'C' && f.length > 255) {
            b[pos + 16] = f.length & 0xFF;
            b[pos + 17] = f.length >> 8;
        } else {
            b[pos + 16] = static_cast<unsigned char>(f.length);
            b[pos + 17] = f.decimals;
        }
        pos += 32;
    }
    b[pos] = 0x0D;
    return b;
}

void DbfHeader::stampToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    localtime_r(&now, &tm);
    year = std::uint8_t(tm.tm_year % 100);
    month = std::uint8_t(tm.tm_mon + 1);
    day = std::uint8_t(tm.tm_mday);
}

} // namespace postavo::engine
