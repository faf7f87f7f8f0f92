#pragma once
// Inside of a compiled expression: a tree of typed nodes kept in one vector, evaluated
// recursively. Shared by the compiler and the evaluator only.

#include "expression.h"

#include <cstdint>
#include <string>
#include <vector>

namespace postavo::engine::expr_detail {

// In groups, in this order: evaluation finds an operation's group by its number (evalNode).
enum class Op : uint8_t {
    LitStr, LitNum, LitDate, LitBool,
    FieldC, FieldN, FieldI, FieldY, FieldB, FieldD, FieldT, FieldL, FieldM,
    Deleted, Recno,
    Not, And, Or,
    Neg,
    AddN, SubN, Mul, Div, Mod, Pow,
    AddDN, AddND, SubDN, SubDD,
    Concat, ConcatMove,
    Contains,
    CmpC, CmpN, CmpD, CmpL,
    Upper, Lower, Empty, Left, Right, Substr, Trim, LTrim, AllTrim,
    Dtos, Dtoc, Ctod, Str, Val, Len, At, Iif,
    Int, Round, Abs, Year, Month, Day, Chr, Asc, Space, PadL, PadR,
};

enum class Rel : uint8_t { Eq, ExactEq, Ne, Lt, Le, Gt, Ge };

struct Node {
    Op op = Op::LitBool;
    ValueType type = ValueType::Logical;
    Rel rel = Rel::Eq;
    uint8_t nargs = 0;
    int32_t arg[3] = {-1, -1, -1};
    uint32_t offset = 0;      // fields
    uint16_t length = 0;      // fields
    double num = 0;           // numeric/date literal (dates as Julian day), logical literal
    std::string str;          // string literal
    std::size_t maxLen = 0;   // longest text this node may produce (reserve for its buffer)
    bool ownsBuffer = false;  // writes its result into its own work buffer
    std::size_t pos = 1;      // 1-based position in the text, for messages
};

// Widest text SPACE(), PADL() and PADR() build.
constexpr std::size_t kMaxPad = 1024;

struct Program {
    std::string text;
    std::vector<Node> nodes;
    int root = -1;
    ValueType type = ValueType::Logical;
    std::size_t keyLength = 0;

    void makeScratch(std::vector<std::string>& scratch) const;
};

// A value during evaluation. Text is a view into the record, a literal or a work buffer.
struct Val {
    const char* s = nullptr;
    std::size_t n = 0;
    double d = 0;   // numbers, and dates as Julian day (0 = empty date)
    bool b = false;
};

struct EvalContext {
    const Program& prog;
    std::string* scratch;
    const RecordRef& rec;
    bool exact;
};

Val evalNode(const EvalContext& cx, int index);

// Shared helpers (expression_text.cpp).
double parseNumber(const char* s, std::size_t n);   // ASCII number, blanks and junk = 0
int compareText(const char* a, std::size_t an, const char* b, std::size_t bn, Rel rel, bool exact);
bool textRelation(const char* a, std::size_t an, const char* b, std::size_t bn, Rel rel, bool exact);
bool isEmptyText(const char* s, std::size_t n);
// FoxPro STR(): right-aligned in `width`, `decimals` places, '*' when it cannot fit.
void formatStr(double value, int width, int decimals, std::string& out);
void formatDtos(long jd, std::string& out);
void formatDtoc(long jd, std::string& out);
long parseCtod(const char* s, std::size_t n);
std::string displayNumber(double v);

} // namespace postavo::engine::expr_detail
