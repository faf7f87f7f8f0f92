#include "addressschema.h"

#include <cctype>

namespace postavo {

const std::array<AddressFieldDef, kAddressFieldCount>& addressFields()
{
    static const std::array<AddressFieldDef, kAddressFieldCount> fields = {{
        {"LNAME", 'C', 30, true, "Last Name"},
        {"FNAME", 'C', 30, true, "First Name"},
        {"MIDDLE", 'C', 1, false, "Middle"},
        {"PREFIX", 'C', 12, true, "Prefix"},
        {"TITLE", 'C', 30, true, "Title"},
        {"ORG", 'C', 30, true, "Organization"},
        {"STREET", 'C', 40, true, "Address 1"},
        {"STREET2", 'C', 40, true, "Address 2"},
        {"CITY", 'C', 30, true, "City"},
        {"STATE", 'C', 20, true, "State"},
        {"ZIP", 'C', 10, true, "Zip/Postal Code"},
        {"COUNTRY", 'C', 30, true, "Country"},
        {"DATE", 'C', 15, false, "Actual Date"},
        {"PHONE", 'C', 30, true, "Phone 1"},
        {"PHONE2", 'C', 30, true, "Phone 2"},
        {"FAX", 'C', 40, true, "Fax"},
        {"EMAIL", 'C', 40, true, "Email"},
        {"CODES", 'C', 30, true, "Codes"},
        {"USER1", 'C', 40, true, "Comment 1"},
        {"USER2", 'C', 40, true, "Comment 2"},
        {"ISDEL", 'L', 1, false, "Deleted"},
        {"TAG", 'C', 8, false, ""},
        {"MEMO", 'M', 10, false, ""},
    }};
    return fields;
}

namespace {
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

const AddressFieldDef* findAddressField(std::string_view name)
{
    for (const auto& f : addressFields())
        if (sameName(name, f.name))
            return &f;
    return nullptr;
}

const std::array<AddressTagDef, kAddressTagCount>& addressTags()
{
    static const std::array<AddressTagDef, kAddressTagCount> tags = {{
        {"NAME", "UPPER(LNAME-FNAME)"},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"},
        {"FNAME", "UPPER(FNAME)"},
        {"TITLE", "UPPER(TITLE)"},
        {"ORG", "UPPER(ORG)"},
        {"STREET", "UPPER(STREET)"},
        {"STREET2", "UPPER(STREET2)"},
        {"CITY", "UPPER(CITY+STATE)"},
        {"STATE", "UPPER(STATE)"},
        {"ZIP", "UPPER(ZIP)"},
        {"COUNTRY", "UPPER(COUNTRY)"},
        {"PHONE", "UPPER(PHONE)"},
        {"PHONE2", "UPPER(PHONE2)"},
        {"EMAIL", "UPPER(EMAIL)"},
        {"FAX", "UPPER(FAX)"},
        {"USER1", "UPPER(USER1)"},
        {"USER2", "UPPER(USER2)"},
        {"DATE", "UPPER(DATE)"},
        {"TAG", "UPPER(TAG)"},
        {"CODES", "UPPER(CODES)"},
        {"PREFIX", "UPPER(PREFIX)"},
        {"MIDDLE", "UPPER(MIDDLE)"},
        {"DELETED", "DELETED()"},
        {"STATEZIP", "UPPER(STATE-ZIP)"},
        {"ISDEL", "ISDEL"},
        {"NOTISDEL", "!ISDEL"},
    }};
    return tags;
}

const std::array<const char*, kAddressTagCount>& validIndexLookupOrder()
{
    static const std::array<const char*, kAddressTagCount> order = {
        "NAME", "LNAME", "FNAME", "TITLE", "ORG", "STREET", "STREET2", "CITY", "STATE",
        "ZIP", "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX", "DATE", "CODES", "PREFIX",
        "MIDDLE", "USER1", "USER2", "DELETED", "STATEZIP", "ISDEL", "NOTISDEL", "TAG"};
    return order;
}

std::vector<engine::FieldSpec> addressFieldSpecs(const std::function<int(const AddressFieldDef&)>& width)
{
    std::vector<engine::FieldSpec> specs;
    for (const auto& f : addressFields())
        specs.push_back({f.name, f.type, f.adjustable && width ? width(f) : f.defaultWidth, 0});
    return specs;
}

std::vector<engine::TagSpec> addressTagSpecs()
{
    std::vector<engine::TagSpec> specs;
    for (const auto& t : addressTags())
        specs.push_back({t.name, t.key});
    return specs;
}

bool hasAddressFields(const std::vector<engine::DbfField>& fields)
{
    for (const auto& def : addressFields()) {
        bool found = false;
        for (const auto& f : fields)
            found = found || sameName(f.name, def.name);
        if (!found)
            return false;
    }
    return true;
}

} // namespace postavo
