#include "rtftokenizer.h"

#include <algorithm>
#include <limits>

namespace postavo::richtext {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfTokenizer::Token make(RtfTokenizer::Type type)
{
    RtfTokenizer::Token t;
    t.type = type;
    return t;
}

} // namespace

RtfTokenizer::Token RtfTokenizer::next()
{
    const qsizetype n = data_.size();
    while (pos_ < n) {
        const char c = data_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            return make(Type::GroupOpen);
        case '}':
            ++pos_;
            return make(Type::GroupClose);
        case '\\':
            ++pos_;
            return controlAfterBackslash();
        case '\r':
        case '\n':
        case '\0':
            ++pos_;
            continue;
        case '\t': {
            ++pos_;
            Token t = make(Type::ControlWord);
            t.word = QByteArrayView("tab");
            return t;
        }
        default: {
            const qsizetype start = pos_;
            while (pos_ < n) {
                const char d = data_[pos_];
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n' || d == '\t' || d == '\0')
                    break;
                ++pos_;
            }
            Token t = make(Type::Text);
            t.text = data_.sliced(start, pos_ - start);
            return t;
        }
        }
    }
    return make(Type::End);
}

RtfTokenizer::Token RtfTokenizer::controlAfterBackslash()
{
    const qsizetype n = data_.size();
    if (pos_ >= n)
        return make(Type::End);
    const char c = data_[pos_];
    if (isLetter(c)) {
        const qsizetype start = pos_;
        while (pos_ < n && isLetter(data_[pos_]))
            ++pos_;
        Token t = make(Type::ControlWord);
        t.word = data_.sliced(start, std::min<qsizetype>(pos_ - start, kMaxWordLength));
        if (pos_ < n && (data_[pos_] == '-' || isDigit(data_[pos_]))) {
            bool negative = false;
            if (data_[pos_] == '-') {
                negative = true;
                ++pos_;
            }
            qint64 value = 0;
            bool digits = false;
            while (pos_ < n && isDigit(data_[pos_])) {
                digits = true;
                if (value < (qint64(1) << 40))
                    value = value * 10 + (data_[pos_] - '0');
                ++pos_;
            }
            if (digits) {
                if (negative)
                    value = -value;
                value = std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max());
                t.hasParameter = true;
                t.parameter = int(value);
            }
        }
        if (pos_ < n && data_[pos_] == ' ')
            ++pos_;
        return t;
    }
    ++pos_;
    if (c == '\'') {
        if (pos_ + 1 < n) {
            const int hi = hexValue(data_[pos_]);
            const int lo = hexValue(data_[pos_ + 1]);
            if (hi >= 0 && lo >= 0) {
                pos_ += 2;
                Token t = make(Type::HexByte);
                t.byte = static_cast<unsigned char>(hi * 16 + lo);
                return t;
            }
        }
        Token t = make(Type::ControlSymbol);
        t.symbol = '\'';
        return t;
    }
    if (c == '\r' || c == '\n') {
        // A backslash before a line end is a paragraph mark.
        Token t = make(Type::ControlWord);
        t.word = QByteArrayView("par");
        return t;
    }
    Token t = make(Type::ControlSymbol);
    t.symbol = c;
    return t;
}

QByteArrayView RtfTokenizer::takeBinary(qint64 count, bool* truncated)
{
    const qint64 left = data_.size() - pos_;
    if (count < 0)
        count = 0;
    *truncated = count > left;
    const qint64 take = std::min(count, left);
    QByteArrayView bytes = data_.sliced(pos_, qsizetype(take));
    pos_ += qsizetype(take);
    return bytes;
}

} // namespace postavo::richtext
