#pragma once
// Splits RTF bytes into groups, control words, control symbols, hex bytes and text. It never
// reads past the data, whatever the data holds.

#include <QByteArray>
#include <QByteArrayView>

namespace postavo::richtext {

class RtfTokenizer {
public:
    enum class Type { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text };
    struct Token {
        Type type = Type::End;
        QByteArrayView word;      // ControlWord: its letters (at most kMaxWordLength)
        bool hasParameter = false;
        int parameter = 0;        // clamped to the 32-bit range
        char symbol = 0;          // ControlSymbol
        unsigned char byte = 0;   // HexByte
        QByteArrayView text;      // Text: bytes without line ends and without tabs
    };

    static constexpr int kMaxWordLength = 32;

    explicit RtfTokenizer(const QByteArray& data) : data_(data) {}

    Token next();
    // The next `count` raw bytes (after \bin). Fewer when the data ends first; `truncated` says so.
    QByteArrayView takeBinary(qint64 count, bool* truncated);
    qsizetype position() const { return pos_; }
    qsizetype size() const { return data_.size(); }

private:
    Token controlAfterBackslash();

    QByteArrayView data_;
    qsizetype pos_ = 0;
};

} // namespace postavo::richtext
