#pragma once
// The address file's definition: its 23 fields and 26 index tags, in creation order. Plain
// C++ over the record engine, so the store, postavo-db, the benchmarks and the engine tests
// all build address files from this one place.

#include "recordengine.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

namespace postavo {

struct AddressFieldDef {
    const char* name;
    char type;          // 'C', 'L' or 'M'
    int defaultWidth;
    bool adjustable;    // width taken from the new-file field lengths
    const char* label;  // display label; empty where the field is never listed
};
inline constexpr int kAddressFieldCount = 23;
const std::array<AddressFieldDef, kAddressFieldCount>& addressFields();
const AddressFieldDef* findAddressField(std::string_view name);  // any letter case

struct AddressTagDef {
    const char* name;
    const char* key;
};
inline constexpr int kAddressTagCount = 26;
// In creation order: a tag's order number is its position + 1 (NAME is order 1).
const std::array<AddressTagDef, kAddressTagCount>& addressTags();
// The order in which a file's tags are looked up to decide whether its index is complete.
const std::array<const char*, kAddressTagCount>& validIndexLookupOrder();

// The fields to create, each adjustable one at width(field) (default: the field's default).
std::vector<engine::FieldSpec> addressFieldSpecs(const std::function<int(const AddressFieldDef&)>& width = {});
std::vector<engine::TagSpec> addressTagSpecs();
// Whether a table has every address field by name: the test of an address file.
bool hasAddressFields(const std::vector<engine::DbfField>& fields);

} // namespace postavo
