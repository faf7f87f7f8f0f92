#pragma once
// The DBF file header: 32 bytes, one 32-byte descriptor per field, the 0x0D terminator
// (and the 263-byte backlink of Visual FoxPro tables). Parsing checks every count against the
// file so that a damaged header is reported instead of trusted.

#include <cstdint>
#include <string>
#include <vector>

namespace postavo::engine {

struct DbfField {
    std::string name;       // upper case, at most 10 characters
    char type = 'C';        // C N F L D M, read also I Y T B G and Visual FoxPro's others
    std::uint16_t length = 0;
    std::uint8_t decimals = 0;
    std::uint32_t offset = 0;  // in the record buffer; byte 0 is the deletion flag
};

enum class MemoKind { None, Fpt, DbtIII, DbtIV };

struct DbfHeader {
    std::uint8_t version = 0x03;
    std::uint8_t year = 0, month = 1, day = 1;  // year % 100
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 1;
    std::uint8_t flags = 0;       // 0x01 structural index, 0x02 memo (Visual FoxPro)
    std::uint8_t codePage = 0;
    std::vector<DbfField> fields;

    static constexpr std::uint8_t kFoxBase = 0x03;
    static constexpr std::uint8_t kFoxProMemo = 0xF5;
    static constexpr std::uint8_t kCodePage1252 = 0x03;
    static constexpr std::uint8_t kHasStructuralIndex = 0x01;

    bool isVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
    bool hasMemoFields() const;
    MemoKind memoKind() const;
    int fieldIndex(std::string_view name) const;  // case-insensitive, -1 when missing

    // A new FoxPro 2.x header; throws EngineError(Usage) for a bad field list.
    static DbfHeader forNewTable(const std::vector<DbfField>& fields, const std::string& file);
    // Parses and validates the header bytes (at least headerLength bytes, or all there are).
    // fileSize is the DBF's size: a record count the file cannot hold is Corrupt.
    static DbfHeader parse(const unsigned char* data, std::size_t size, std::uint64_t fileSize,
                           const std::string& file);
    // Bytes 0..31 plus the field descriptors, terminator and padding up to headerLength.
    std::vector<unsigned char> serialize() const;

    void stampToday();
    std::uint64_t recordOffset(std::uint32_t recno) const
    {
        return headerLength + std::uint64_t(recno - 1) * recordLength;
    }
};

} // namespace postavo::engine
