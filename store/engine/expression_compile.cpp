// Lexer, parser and type checker of the expression dialect. Produces the node tree that
// expression_eval.cpp walks; every fault is reported here, with its position.

#include "expression_program.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace postavo::engine {

using namespace expr_detail;

namespace {

enum class T {
    End, Ident, String, Number, True, False, And, Or, Not,
    LParen, RParen, Comma, Plus, Minus, Star, Slash, Percent, Pow, Dollar,
    Eq, EqEq, Ne, Lt, Le, Gt, Ge,
};

struct Token {
    T kind = T::End;
    std::size_t pos = 1;          // 1-based
    std::string text;             // identifier (upper case) or string contents
    double num = 0;
};

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string upperAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return r;
}

constexpr std::size_t kMaxText = 65535;   // longest expression text accepted
constexpr int kMaxDepth = 200;            // nesting limit, so hostile text cannot exhaust the stack
constexpr int kMaxHeight = 1000;          // operators in one chain
constexpr std::size_t kMaxResult = 1 << 20;   // longest text a node may build

class Compiler {
public:
    Compiler(std::string_view text, const std::vector<FieldDef>& fields)
        : text_(text), fields_(fields)
    {
    }

    std::shared_ptr<Program> run();

private:
    [[noreturn]] void fail(std::size_t pos, const std::string& detail) const
    {
        throw ExpressionError(pos, std::string(text_), detail);
    }

    // Lexer
    void lex();
    // Parser
    const Token& tok() const { return toks_[at_]; }
    bool accept(T k) { if (tok().kind == k) { ++at_; return true; } return false; }
    void expect(T k, const char* what)
    {
        if (!accept(k))
            failExpected(what);
    }
    [[noreturn]] void failExpected(const char* what) const
    {
        if (tok().kind == T::End)
            fail(tok().pos, std::string("unexpected end of expression, expected ") + what);
        fail(tok().pos, std::string("expected ") + what);
    }

    int parseOr();
    int parseAnd();
    int parseNot();
    int parseCmp();
    int parseAdd();
    int parseMul();
    int parsePow();
    int parseUnary();
    int parsePrimary();
    int parseCall(const Token& name);
    int fieldNode(const Token& name);

    int add(Node n)
    {
        // The evaluator recurses along the tree, so its height is bounded like nesting is.
        int h = 1;
        for (int a : n.arg)
            if (a >= 0)
                h = std::max(h, heights_[std::size_t(a)] + 1);
        if (h > kMaxHeight)
            fail(n.pos, "expression nested too deeply");
        if (n.maxLen > kMaxResult)
            fail(n.pos, "result longer than " + std::to_string(kMaxResult) + " characters");
        heights_.push_back(h);
        prog_->nodes.push_back(std::move(n));
        return int(prog_->nodes.size() - 1);
    }
    const Node& node(int i) const { return prog_->nodes[std::size_t(i)]; }
    ValueType typeOf(int i) const { return node(i).type; }
    std::size_t lenOf(int i) const { return node(i).maxLen; }
    static const char* typeName(ValueType t)
    {
        switch (t) {
        case ValueType::Character: return "Character";
        case ValueType::Numeric: return "Numeric";
        case ValueType::Date: return "Date";
        case ValueType::Logical: return "Logical";
        }
        return "?";
    }
    void requireType(int i, ValueType t, std::size_t pos, const std::string& what) const
    {
        if (typeOf(i) != t)
            fail(pos, what + " needs a " + typeName(t) + " value, not " + typeName(typeOf(i)));
    }
    int binary(Op op, ValueType type, int a, int b, std::size_t pos, std::size_t maxLen = 0,
               bool owns = false)
    {
        Node n;
        n.op = op;
        n.type = type;
        n.nargs = 2;
        n.arg[0] = a;
        n.arg[1] = b;
        n.pos = pos;
        n.maxLen = maxLen;
        n.ownsBuffer = owns;
        return add(std::move(n));
    }

    struct DepthGuard {
        Compiler& c;
        explicit DepthGuard(Compiler& cc, std::size_t pos) : c(cc)
        {
            if (++c.depth_ > kMaxDepth)
                c.fail(pos, "expression nested too deeply");
        }
        ~DepthGuard() { --c.depth_; }
    };

    std::string_view text_;
    const std::vector<FieldDef>& fields_;
    std::vector<Token> toks_;
    std::size_t at_ = 0;
    int depth_ = 0;
    std::vector<int> heights_;
    std::shared_ptr<Program> prog_;
};

void Compiler::lex()
{
    const std::size_t n = text_.size();
    std::size_t i = 0;
    auto push = [&](T k, std::size_t start) {
        Token t;
        t.kind = k;
        t.pos = start + 1;
        toks_.push_back(std::move(t));
    };
    while (i < n) {
        const char c = text_[i];
        const std::size_t start = i;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (isLetter(c)) {
            while (i < n && (isLetter(text_[i]) || isDigit(text_[i])))
                ++i;
            std::string word = upperAscii(text_.substr(start, i - start));
            if (word == "AND") push(T::And, start);
            else if (word == "OR") push(T::Or, start);
            else if (word == "NOT") push(T::Not, start);
            else {
                push(T::Ident, start);
                toks_.back().text = std::move(word);
            }
            continue;
        }
        if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(text_[i + 1]))) {
            while (i < n && isDigit(text_[i]))
                ++i;
            // A point belongs to the number unless it opens an operator such as .AND.
            if (i < n && text_[i] == '.' && !(i + 1 < n && isLetter(text_[i + 1]))) {
                ++i;
                while (i < n && isDigit(text_[i]))
                    ++i;
            }
            push(T::Number, start);
            toks_.back().num = parseNumber(text_.data() + start, i - start);
            continue;
        }
        if (c == '.') {
            std::size_t j = i + 1;
            while (j < n && isLetter(text_[j]))
                ++j;
            if (j < n && text_[j] == '.' && j > i + 1) {
                const std::string word = upperAscii(text_.substr(i + 1, j - i - 1));
                T k = T::End;
                if (word == "T" || word == "Y") k = T::True;
                else if (word == "F" || word == "N") k = T::False;
                else if (word == "AND") k = T::And;
                else if (word == "OR") k = T::Or;
                else if (word == "NOT") k = T::Not;
                if (k != T::End) {
                    push(k, start);
                    i = j + 1;
                    continue;
                }
            }
            fail(start + 1, "unexpected \".\"");
        }
        if (c == '"' || c == '\'' || c == '[') {
            const char close = c == '[' ? ']' : c;
            std::size_t j = i + 1;
            while (j < n && text_[j] != close)
                ++j;
            if (j >= n)
                fail(start + 1, "string not closed");
            push(T::String, start);
            toks_.back().text = std::string(text_.substr(i + 1, j - i - 1));
            i = j + 1;
            continue;
        }
        auto two = [&](char a, char b) { return c == a && i + 1 < n && text_[i + 1] == b; };
        T k;
        std::size_t len = 1;
        if (two('=', '=')) { k = T::EqEq; len = 2; }
        else if (two('<', '>')) { k = T::Ne; len = 2; }
        else if (two('!', '=')) { k = T::Ne; len = 2; }
        else if (two('<', '=')) { k = T::Le; len = 2; }
        else if (two('>', '=')) { k = T::Ge; len = 2; }
        else if (two('*', '*')) { k = T::Pow; len = 2; }
        else {
            switch (c) {
            case '(': k = T::LParen; break;
            case ')': k = T::RParen; break;
            case ',': k = T::Comma; break;
            case '+': k = T::Plus; break;
            case '-': k = T::Minus; break;
            case '*': k = T::Star; break;
            case '/': k = T::Slash; break;
            case '%': k = T::Percent; break;
            case '^': k = T::Pow; break;
            case '$': k = T::Dollar; break;
            case '=': k = T::Eq; break;
            case '#': k = T::Ne; break;
            case '<': k = T::Lt; break;
            case '>': k = T::Gt; break;
            case '!': k = T::Not; break;
            default: {
                const unsigned char u = static_cast<unsigned char>(c);
                char buf[48];
                if (u >= 0x20 && u < 0x7F)
                    std::snprintf(buf, sizeof buf, "unexpected character \"%c\"", c);
                else
                    std::snprintf(buf, sizeof buf, "unexpected character 0x%02X", unsigned(u));
                fail(start + 1, buf);
            }
            }
        }
        push(k, start);
        i += len;
    }
    push(T::End, n);
}

int Compiler::parseOr()
{
    int l = parseAnd();
    while (tok().kind == T::Or) {
        const std::size_t pos = tok().pos;
        ++at_;
        const int r = parseAnd();
        requireType(l, ValueType::Logical, pos, ".OR.");
        requireType(r, ValueType::Logical, pos, ".OR.");
        l = binary(Op::Or, ValueType::Logical, l, r, pos);
    }
    return l;
}

int Compiler::parseAnd()
{
    int l = parseNot();
    while (tok().kind == T::And) {
        const std::size_t pos = tok().pos;
        ++at_;
        const int r = parseNot();
        requireType(l, ValueType::Logical, pos, ".AND.");
        requireType(r, ValueType::Logical, pos, ".AND.");
        l = binary(Op::And, ValueType::Logical, l, r, pos);
    }
    return l;
}

int Compiler::parseNot()
{
    if (tok().kind == T::Not) {
        const std::size_t pos = tok().pos;
        DepthGuard g(*this, pos);
        ++at_;
        const int x = parseNot();
        requireType(x, ValueType::Logical, pos, ".NOT.");
        Node n;
        n.op = Op::Not;
        n.type = ValueType::Logical;
        n.nargs = 1;
        n.arg[0] = x;
        n.pos = pos;
        return add(std::move(n));
    }
    return parseCmp();
}

int Compiler::parseCmp()
{
    int l = parseAdd();
    for (;;) {
        Rel rel;
        bool contains = false;
        switch (tok().kind) {
        case T::Eq: rel = Rel::Eq; break;
        case T::EqEq: rel = Rel::ExactEq; break;
        case T::Ne: rel = Rel::Ne; break;
        case T::Lt: rel = Rel::Lt; break;
        case T::Le: rel = Rel::Le; break;
        case T::Gt: rel = Rel::Gt; break;
        case T::Ge: rel = Rel::Ge; break;
        case T::Dollar: rel = Rel::Eq; contains = true; break;
        default: return l;
        }
        const std::size_t pos = tok().pos;
        ++at_;
        const int r = parseAdd();
        if (contains) {
            requireType(l, ValueType::Character, pos, "$");
            requireType(r, ValueType::Character, pos, "$");
            l = binary(Op::Contains, ValueType::Logical, l, r, pos);
            continue;
        }
        if (typeOf(l) != typeOf(r))
            fail(pos, std::string("cannot compare ") + typeName(typeOf(l)) + " with " +
                          typeName(typeOf(r)));
        Op op = Op::CmpC;
        switch (typeOf(l)) {
        case ValueType::Character: op = Op::CmpC; break;
        case ValueType::Numeric: op = Op::CmpN; break;
        case ValueType::Date: op = Op::CmpD; break;
        case ValueType::Logical: op = Op::CmpL; break;
        }
        l = binary(op, ValueType::Logical, l, r, pos);
        prog_->nodes.back().rel = rel;
    }
}

int Compiler::parseAdd()
{
    int l = parseMul();
    for (;;) {
        const bool plus = tok().kind == T::Plus;
        if (!plus && tok().kind != T::Minus)
            return l;
        const std::size_t pos = tok().pos;
        ++at_;
        const int r = parseMul();
        const ValueType a = typeOf(l), b = typeOf(r);
        using V = ValueType;
        if (a == V::Character && b == V::Character)
            l = binary(plus ? Op::Concat : Op::ConcatMove, V::Character, l, r, pos,
                       lenOf(l) + lenOf(r), true);
        else if (a == V::Numeric && b == V::Numeric)
            l = binary(plus ? Op::AddN : Op::SubN, V::Numeric, l, r, pos);
        else if (a == V::Date && b == V::Numeric)
            l = binary(plus ? Op::AddDN : Op::SubDN, V::Date, l, r, pos);
        else if (plus && a == V::Numeric && b == V::Date)
            l = binary(Op::AddND, V::Date, l, r, pos);
        else if (!plus && a == V::Date && b == V::Date)
            l = binary(Op::SubDD, V::Numeric, l, r, pos);
        else
            fail(pos, std::string("operator ") + (plus ? "+" : "-") + " cannot combine " +
                          typeName(a) + " and " + typeName(b));
    }
}

int Compiler::parseMul()
{
    int l = parsePow();
    for (;;) {
        Op op;
        const char* name;
        switch (tok().kind) {
        case T::Star: op = Op::Mul; name = "*"; break;
        case T::Slash: op = Op::Div; name = "/"; break;
        case T::Percent: op = Op::Mod; name = "%"; break;
        default: return l;
        }
        const std::size_t pos = tok().pos;
        ++at_;
        const int r = parsePow();
        requireType(l, ValueType::Numeric, pos, std::string("operator ") + name);
        requireType(r, ValueType::Numeric, pos, std::string("operator ") + name);
        l = binary(op, ValueType::Numeric, l, r, pos);
    }
}

int Compiler::parsePow()
{
    int l = parseUnary();
    while (tok().kind == T::Pow) {
        const std::size_t pos = tok().pos;
        ++at_;
        const int r = parseUnary();
        requireType(l, ValueType::Numeric, pos, "operator ^");
        requireType(r, ValueType::Numeric, pos, "operator ^");
        l = binary(Op::Pow, ValueType::Numeric, l, r, pos);
    }
    return l;
}

int Compiler::parseUnary()
{
    const std::size_t pos = tok().pos;
    if (tok().kind == T::Minus || tok().kind == T::Plus) {
        DepthGuard g(*this, pos);
        const bool minus = tok().kind == T::Minus;
        ++at_;
        const int x = parseUnary();
        requireType(x, ValueType::Numeric, pos, minus ? "unary -" : "unary +");
        if (!minus)
            return x;
        Node n;
        n.op = Op::Neg;
        n.type = ValueType::Numeric;
        n.nargs = 1;
        n.arg[0] = x;
        n.pos = pos;
        return add(std::move(n));
    }
    if (tok().kind == T::Not)
        return parseNot();
    return parsePrimary();
}

int Compiler::parsePrimary()
{
    const Token t = tok();
    switch (t.kind) {
    case T::Number: {
        ++at_;
        Node n;
        n.op = Op::LitNum;
        n.type = ValueType::Numeric;
        n.num = t.num;
        n.pos = t.pos;
        return add(std::move(n));
    }
    case T::String: {
        ++at_;
        Node n;
        n.op = Op::LitStr;
        n.type = ValueType::Character;
        n.str = t.text;
        n.maxLen = t.text.size();
        n.pos = t.pos;
        return add(std::move(n));
    }
    case T::True:
    case T::False: {
        ++at_;
        Node n;
        n.op = Op::LitBool;
        n.type = ValueType::Logical;
        n.num = t.kind == T::True ? 1 : 0;
        n.pos = t.pos;
        return add(std::move(n));
    }
    case T::LParen: {
        DepthGuard g(*this, t.pos);
        ++at_;
        const int x = parseOr();
        expect(T::RParen, "\")\"");
        return x;
    }
    case T::Ident:
        ++at_;
        if (tok().kind == T::LParen)
            return parseCall(t);
        return fieldNode(t);
    case T::End:
        fail(t.pos, "unexpected end of expression, expected a value");
    default:
        fail(t.pos, "expected a value");
    }
}

int Compiler::fieldNode(const Token& name)
{
    const FieldDef* f = nullptr;
    for (const FieldDef& d : fields_)
        if (upperAscii(d.name) == name.text) {
            f = &d;
            break;
        }
    if (!f)
        fail(name.pos, "unknown field " + name.text);
    Node n;
    n.offset = f->offset;
    n.length = f->length;
    n.pos = name.pos;
    const char type = char(std::toupper(static_cast<unsigned char>(f->type)));
    switch (type) {
    case 'N':
    case 'F':
        n.op = Op::FieldN;
        n.type = ValueType::Numeric;
        break;
    case 'I':
        n.op = f->length >= 4 ? Op::FieldI : Op::FieldN;
        n.type = ValueType::Numeric;
        break;
    case 'Y':
        n.op = f->length >= 8 ? Op::FieldY : Op::FieldN;
        n.type = ValueType::Numeric;
        break;
    case 'B':
        // Visual FoxPro: an 8-byte double; dBASE: a binary memo with a 10-byte pointer.
        if (f->length == 8) {
            n.op = Op::FieldB;
            n.type = ValueType::Numeric;
        } else {
            n.op = Op::FieldM;
            n.type = ValueType::Character;
            n.ownsBuffer = true;
        }
        break;
    case 'D':
        n.op = Op::FieldD;
        n.type = ValueType::Date;
        break;
    case 'T':
        n.op = f->length >= 8 ? Op::FieldT : Op::FieldD;
        n.type = ValueType::Date;
        break;
    case 'L':
        n.op = f->length ? Op::FieldL : Op::LitBool;   // a zero-width logical holds nothing
        n.type = ValueType::Logical;
        break;
    case 'M':
    case 'G':
    case 'P':
        n.op = Op::FieldM;
        n.type = ValueType::Character;
        n.ownsBuffer = true;
        break;
    default:
        n.op = Op::FieldC;
        n.type = ValueType::Character;
        n.maxLen = f->length;
        break;
    }
    return add(std::move(n));
}

// Each function's signature: the types its arguments must have (Any: whatever), the type of
// its result, and how long a character result can be.
enum class Arg : uint8_t { Any, C, N, D, L };
enum class Length : uint8_t {
    None,         // not a character result
    Fixed,        // `length`
    OfFirst,      // as long as the first argument
    FromLiteral,  // the literal argument `widthArg` (clamped to `length`), else `length`
    OfResults,    // IIF: the longer of its two results
};

struct FunctionInfo {
    const char* name;
    Op op;
    int minArgs, maxArgs;
    std::array<Arg, 3> args;
    ValueType result;
    Length length = Length::None;
    std::size_t size = 0;
    int widthArg = -1;
    bool ownsBuffer = false;   // the result is built in the node's own buffer
};

using V = ValueType;
constexpr std::array<Arg, 3> kNone{Arg::Any, Arg::Any, Arg::Any};
constexpr std::array<Arg, 3> kC{Arg::C, Arg::Any, Arg::Any};
constexpr std::array<Arg, 3> kN{Arg::N, Arg::Any, Arg::Any};
constexpr std::array<Arg, 3> kD{Arg::D, Arg::Any, Arg::Any};
constexpr std::array<Arg, 3> kCN{Arg::C, Arg::N, Arg::Any};
constexpr std::array<Arg, 3> kCNN{Arg::C, Arg::N, Arg::N};
constexpr std::array<Arg, 3> kCNC{Arg::C, Arg::N, Arg::C};
constexpr std::array<Arg, 3> kNN{Arg::N, Arg::N, Arg::Any};
constexpr std::array<Arg, 3> kNNN{Arg::N, Arg::N, Arg::N};
constexpr std::array<Arg, 3> kCC{Arg::C, Arg::C, Arg::Any};
constexpr std::array<Arg, 3> kL{Arg::L, Arg::Any, Arg::Any};

constexpr FunctionInfo kFunctions[] = {
    {"UPPER", Op::Upper, 1, 1, kC, V::Character, Length::OfFirst, 0, -1, true},
    {"LOWER", Op::Lower, 1, 1, kC, V::Character, Length::OfFirst, 0, -1, true},
    {"DELETED", Op::Deleted, 0, 0, kNone, V::Logical},
    {"RECNO", Op::Recno, 0, 0, kNone, V::Numeric},
    {"EMPTY", Op::Empty, 1, 1, kNone, V::Logical},
    {"LEFT", Op::Left, 2, 2, kCN, V::Character, Length::OfFirst},
    {"RIGHT", Op::Right, 2, 2, kCN, V::Character, Length::OfFirst},
    {"SUBSTR", Op::Substr, 2, 3, kCNN, V::Character, Length::OfFirst},
    {"TRIM", Op::Trim, 1, 1, kC, V::Character, Length::OfFirst},
    {"RTRIM", Op::Trim, 1, 1, kC, V::Character, Length::OfFirst},
    {"LTRIM", Op::LTrim, 1, 1, kC, V::Character, Length::OfFirst},
    {"ALLTRIM", Op::AllTrim, 1, 1, kC, V::Character, Length::OfFirst},
    {"DTOS", Op::Dtos, 1, 1, kD, V::Character, Length::Fixed, 8, -1, true},
    {"DTOC", Op::Dtoc, 1, 1, kD, V::Character, Length::Fixed, 10, -1, true},
    {"CTOD", Op::Ctod, 1, 1, kC, V::Date},
    // STR(n) is ten wide; STR(n, width) as wide as a literal width says, else up to 255.
    {"STR", Op::Str, 1, 3, kNNN, V::Character, Length::FromLiteral, 255, 1, true},
    {"VAL", Op::Val, 1, 1, kC, V::Numeric},
    {"LEN", Op::Len, 1, 1, kC, V::Numeric},
    {"AT", Op::At, 2, 2, kCC, V::Numeric},
    {"IIF", Op::Iif, 3, 3, kL, V::Character, Length::OfResults},
    {"INT", Op::Int, 1, 1, kN, V::Numeric},
    {"ROUND", Op::Round, 2, 2, kNN, V::Numeric},
    {"ABS", Op::Abs, 1, 1, kN, V::Numeric},
    {"YEAR", Op::Year, 1, 1, kD, V::Numeric},
    {"MONTH", Op::Month, 1, 1, kD, V::Numeric},
    {"DAY", Op::Day, 1, 1, kD, V::Numeric},
    {"CHR", Op::Chr, 1, 1, kN, V::Character, Length::Fixed, 1, -1, true},
    {"ASC", Op::Asc, 1, 1, kC, V::Numeric},
    {"SPACE", Op::Space, 1, 1, kN, V::Character, Length::FromLiteral, kMaxPad, 0, true},
    {"PADL", Op::PadL, 2, 3, kCNC, V::Character, Length::FromLiteral, kMaxPad, 1, true},
    {"PADR", Op::PadR, 2, 3, kCNC, V::Character, Length::FromLiteral, kMaxPad, 1, true},
};

// xBase accepts a function name cut to its first four letters or more.
const FunctionInfo* findFunction(const std::string& name)
{
    for (const FunctionInfo& f : kFunctions)
        if (name == f.name)
            return &f;
    if (name.size() >= 4)
        for (const FunctionInfo& f : kFunctions)
            if (std::strncmp(f.name, name.c_str(), name.size()) == 0)
                return &f;
    return nullptr;
}

ValueType typeOfArg(Arg a)
{
    switch (a) {
    case Arg::N: return V::Numeric;
    case Arg::D: return V::Date;
    case Arg::L: return V::Logical;
    default: return V::Character;
    }
}

int Compiler::parseCall(const Token& name)
{
    DepthGuard g(*this, name.pos);
    const FunctionInfo* fn = findFunction(name.text);
    if (!fn)
        fail(name.pos, "unknown function " + name.text);
    expect(T::LParen, "\"(\"");
    std::vector<int> args;
    std::vector<std::size_t> argPos;
    if (tok().kind != T::RParen) {
        for (;;) {
            argPos.push_back(tok().pos);
            args.push_back(parseOr());
            if (!accept(T::Comma))
                break;
        }
    }
    expect(T::RParen, "\")\"");
    const std::string fname = fn->name;
    if (int(args.size()) < fn->minArgs || int(args.size()) > fn->maxArgs) {
        std::string want = std::to_string(fn->minArgs);
        if (fn->maxArgs != fn->minArgs)
            want += " to " + std::to_string(fn->maxArgs);
        fail(name.pos, fname + "() takes " + want + " argument" +
                           (fn->maxArgs == 1 && fn->minArgs == 1 ? "" : "s") + ", not " +
                           std::to_string(args.size()));
    }
    for (std::size_t i = 0; i < args.size(); ++i)
        if (fn->args[i] != Arg::Any)
            requireType(args[i], typeOfArg(fn->args[i]), argPos[i], fname + "() argument " + std::to_string(i + 1));
    Node n;
    n.op = fn->op;
    n.pos = name.pos;
    n.nargs = uint8_t(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        n.arg[i] = args[i];
    n.type = fn->result;
    n.ownsBuffer = fn->ownsBuffer;
    switch (fn->length) {
    case Length::None:
        break;
    case Length::Fixed:
        n.maxLen = fn->size;
        break;
    case Length::OfFirst:
        n.maxLen = lenOf(args[0]);
        break;
    case Length::FromLiteral: {
        const std::size_t w = std::size_t(fn->widthArg);
        n.maxLen = fn->size;
        if (w >= args.size())
            n.maxLen = 10;   // STR() without a width
        else if (node(args[w]).op == Op::LitNum)
            n.maxLen = std::size_t(std::clamp(node(args[w]).num, 0.0, double(fn->size)));
        break;
    }
    case Length::OfResults:
        if (typeOf(args[1]) != typeOf(args[2]))
            fail(argPos[2], "IIF() needs both results of one type, not " +
                                std::string(typeName(typeOf(args[1]))) + " and " +
                                typeName(typeOf(args[2])));
        n.type = typeOf(args[1]);
        n.maxLen = std::max(lenOf(args[1]), lenOf(args[2]));
        break;
    }
    return add(std::move(n));
}

std::shared_ptr<Program> Compiler::run()
{
    prog_ = std::make_shared<Program>();
    prog_->text = std::string(text_);
    if (text_.size() > kMaxText)
        fail(kMaxText + 1, "expression longer than " + std::to_string(kMaxText) + " characters");
    lex();
    if (toks_.front().kind == T::End)
        fail(1, "empty expression");
    prog_->root = parseOr();
    if (tok().kind != T::End) {
        if (tok().kind == T::RParen)
            fail(tok().pos, "unbalanced \")\"");
        fail(tok().pos, "expected an operator");
    }
    prog_->type = node(prog_->root).type;
    return prog_;
}

} // namespace

ExpressionError::ExpressionError(std::size_t position, std::string expression,
                                 const std::string& detail)
    : EngineError(Kind::Expression, std::string(),
                  "Expression error at position " + std::to_string(position) + ": " + detail +
                      " in \"" + expression + "\""),
      position_(position), expression_(std::move(expression)), detail_(detail)
{
}

Expression Expression::compile(std::string_view text, const std::vector<FieldDef>& fields)
{
    Compiler c(text, fields);
    std::shared_ptr<Program> prog = c.run();

    // Key length of character results: the width on an all-blank record, as xBase does.
    switch (prog->type) {
    case ValueType::Numeric:
    case ValueType::Date: prog->keyLength = 8; break;
    case ValueType::Logical: prog->keyLength = 1; break;
    case ValueType::Character: {
        std::size_t size = 1;
        for (const FieldDef& f : fields)
            size = std::max<std::size_t>(size, std::size_t(f.offset) + f.length);
        std::vector<unsigned char> blank(size, ' ');
        std::vector<std::string> scratch;
        prog->makeScratch(scratch);
        RecordRef rec;
        rec.data = blank.data();
        EvalContext cx{*prog, scratch.data(), rec, false};
        prog->keyLength = evalNode(cx, prog->root).n;
        break;
    }
    }

    Expression e;
    e.program_ = std::move(prog);
    e.program_->makeScratch(e.scratch_);
    return e;
}

} // namespace postavo::engine
