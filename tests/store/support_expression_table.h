#pragma once
// Field layouts and record buffers for the expression tests.

#include "expression.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace exprtest {

using postavo::engine::FieldDef;

class Layout {
public:
    Layout& add(const std::string& name, char type, uint16_t length, uint8_t decimals = 0)
    {
        FieldDef f;
        f.name = name;
        f.type = type;
        f.offset = size_;
        f.length = length;
        f.decimals = decimals;
        fields.push_back(f);
        size_ += length;
        return *this;
    }
    const FieldDef& field(const std::string& name) const
    {
        for (const FieldDef& f : fields)
            if (f.name == name)
                return f;
        throw std::logic_error("no field " + name);
    }
    std::vector<unsigned char> blank() const { return std::vector<unsigned char>(size_, ' '); }
    // Character fields are blank-padded, numbers right-aligned, raw bytes copied as given.
    void set(std::vector<unsigned char>& rec, const std::string& name, const std::string& value) const
    {
        const FieldDef& f = field(name);
        std::string v = value.substr(0, f.length);
        if (f.type == 'N' || f.type == 'F')
            v = std::string(f.length - v.size(), ' ') + v;
        else if (f.type == 'I' || f.type == 'Y' || f.type == 'B' || f.type == 'T')
            v.resize(f.length, '\0');
        else
            v.resize(f.length, ' ');
        std::memcpy(rec.data() + f.offset, v.data(), f.length);
    }
    std::vector<FieldDef> fields;

private:
    uint32_t size_ = 1;   // byte 0: deletion flag
};

// The address file's 23 fields at their default widths.
inline Layout addressLayout()
{
    Layout l;
    l.add("LNAME", 'C', 30).add("FNAME", 'C', 30).add("MIDDLE", 'C', 1).add("PREFIX", 'C', 12)
        .add("TITLE", 'C', 30).add("ORG", 'C', 30).add("STREET", 'C', 40).add("STREET2", 'C', 40)
        .add("CITY", 'C', 30).add("STATE", 'C', 20).add("ZIP", 'C', 10).add("COUNTRY", 'C', 30)
        .add("DATE", 'C', 15).add("PHONE", 'C', 30).add("PHONE2", 'C', 30).add("FAX", 'C', 40)
        .add("EMAIL", 'C', 40).add("CODES", 'C', 30).add("USER1", 'C', 40).add("USER2", 'C', 40)
        .add("ISDEL", 'L', 1).add("TAG", 'C', 8).add("MEMO", 'M', 10);
    return l;
}

} // namespace exprtest
