#pragma once
// The xBase expression dialect used for index keys, FOR conditions and filters.
//
// An expression is compiled once against a table's fields (syntax and types are checked then,
// with the position of the fault) and evaluated many times against raw record buffers. The
// evaluation reads fields straight from the record bytes and writes intermediate text into
// buffers sized at compile time, so a scan loop does not touch the heap (memo reads aside).
//
// The dialect, in any letter case (function names may be cut to four letters or more):
//   values     field names; "text", 'text', [text]; 12, 1.5, .5; .T. .F. (.Y. .N.)
//   arithmetic + - * / % ^ ** and unary - +; C+C joins, C-C joins moving the left part's
//              trailing blanks to the end; D+N, N+D, D-N give dates, D-D gives days
//   comparison = == <> # != < <= > >= on C, N, D, L of one type; $ (left text inside right,
//              the empty text is inside everything). On text, '=' and the orderings end the
//              comparison with the right operand unless EvalOptions::exact, which pads the
//              shorter side with blanks; '==' wants the very same bytes.
//   logic      ! .NOT. NOT, then .AND. AND, then .OR. OR (comparison binds tighter than NOT)
//   functions  UPPER LOWER DELETED() RECNO() EMPTY LEFT RIGHT SUBSTR TRIM RTRIM LTRIM ALLTRIM
//              DTOS DTOC CTOD (mm/dd/yyyy) STR(n[,width[,decimals]]) VAL LEN AT IIF INT ROUND
//              ABS YEAR MONTH DAY CHR ASC SPACE PADL PADR
// Field types: C; N and F (ASCII numbers, blank = 0); L (T/t/Y/y true); D (YYYYMMDD, blank =
// empty date); M/G/P memos (10 ASCII digits or 4-byte binary block number, read through
// MemoSource); Visual FoxPro I, Y, B (8-byte double) and T (read as its date); others as text.

#include "engine_error.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace postavo::engine {

struct FieldDef {            // one DBF field as the expression sees it
    std::string name;        // upper case
    char type = 'C';         // 'C','N','F','L','D','M','I','Y','T','B' (others read as text)
    uint32_t offset = 0;     // from the start of the record buffer; byte 0 is the deletion flag
    uint16_t length = 0;
    uint8_t decimals = 0;
};

class MemoSource {
public:
    virtual ~MemoSource() = default;
    virtual std::string memoText(uint32_t block) const = 0;   // for EMPTY(MEMO), $ on memos
};

struct RecordRef {
    const unsigned char* data = nullptr;   // whole record buffer, deletion flag first
    uint32_t recno = 0;
    const MemoSource* memo = nullptr;       // null: memo fields read as empty
};

enum class ValueType { Character, Numeric, Date, Logical };

struct EvalOptions {
    bool exact = false;   // SET EXACT: '=' on strings is a prefix test unless exact
};

// A compile error: Kind::Expression, with the 1-based position of the fault in the text.
class ExpressionError : public EngineError {
public:
    ExpressionError(std::size_t position, std::string expression, const std::string& detail);
    std::size_t position() const noexcept { return position_; }
    const std::string& expression() const noexcept { return expression_; }
    const std::string& detail() const noexcept { return detail_; }

private:
    std::size_t position_;
    std::string expression_;
    std::string detail_;
};

namespace expr_detail { struct Program; }

class Expression {
public:
    Expression();  // empty (no expression)
    // Throws ExpressionError (an EngineError of Kind::Expression) whose message holds the
    // 1-based position and the text. Unknown fields and functions are named in the message.
    static Expression compile(std::string_view text, const std::vector<FieldDef>& fields);

    bool empty() const;
    const std::string& text() const;
    ValueType type() const;
    // C: width of the result on an all-blank record; N/D: 8; L: 1; 0 when empty.
    std::size_t keyLength() const;

    // The type must be Logical (EngineError otherwise); an empty expression is true.
    bool evalLogical(const RecordRef&, const EvalOptions& = {}) const;
    // Index key bytes (keycodec): C padded/cut to keyLength, N/D 8-byte numbers, L 'T'/'F'.
    void evalKey(const RecordRef&, std::string& out) const;
    // The value as text, for tools: C as is, N plainly, D mm/dd/yyyy, L .T./.F.
    std::string evalDisplay(const RecordRef&, const EvalOptions& = {}) const;
    // Adds the record bytes (offset, length) the value is computed from; false when it also
    // depends on what the bytes do not show (a memo's text), so equal bytes prove nothing.
    bool recordBytes(std::vector<std::pair<std::uint32_t, std::uint32_t>>& out) const;

    // Copies share the immutable compiled program and get their own work buffers, so one
    // object must not be evaluated on two threads at once, but two copies may.
    Expression(const Expression&);
    Expression& operator=(const Expression&);
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;
    ~Expression();

private:
    std::shared_ptr<const expr_detail::Program> program_;
    mutable std::vector<std::string> scratch_;   // one work buffer per node that builds text
};

// The engine's letter-case mapping for Windows-1252 text (also used by UPPER/LOWER).
unsigned char upperChar(unsigned char c);
unsigned char lowerChar(unsigned char c);

} // namespace postavo::engine
