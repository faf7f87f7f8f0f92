#pragma once
// The tagged value stream of layout files: the writer appends typed values, the reader takes them
// back and throws StreamError with the message the filer reports.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace postavo::design {

enum ValueTag : quint8 {
    vaNull = 0x00, vaList = 0x01, vaInt8 = 0x02, vaInt16 = 0x03, vaInt32 = 0x04, vaExtended = 0x05,
    vaString = 0x06, vaIdent = 0x07, vaFalse = 0x08, vaTrue = 0x09, vaBinary = 0x0A, vaSet = 0x0B,
    vaLString = 0x0C, vaNil = 0x0D,
};

struct StreamError {
    QString message;
};

class LayoutWriter {
public:
    QByteArray& bytes() { return out_; }
    void byte(quint8 b) { out_.append(char(b)); }
    void shortString(const QByteArray& s);  // cut to 255 bytes
    void integer(qint64 v);                  // smallest integer tag
    void boolean(bool v) { byte(v ? vaTrue : vaFalse); }
    void ident(const QByteArray& s) { byte(vaIdent); shortString(s); }
    void string(const QByteArray& s);        // 0x06 below 256 bytes, 0x0C from 256
    void binary(const QByteArray& data);
    void set(const QList<QByteArray>& members);
    void listBegin() { byte(vaList); }
    void listEnd() { byte(vaNull); }

private:
    QByteArray out_;
};

class LayoutReader {
public:
    explicit LayoutReader(const QByteArray& data, int pos = 0) : data_(data), pos_(pos) {}
    int pos() const { return pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    quint8 peek() const;                     // "Stream read error" at the end
    quint8 byte();
    QByteArray bytes(int n);
    QByteArray shortString();
    // The next value's tag.
    quint8 valueTag() { return byte(); }
    // Values whose tag was already read.
    qint64 integerAfter(quint8 tag);         // any of the three integer tags
    QByteArray stringAfter(quint8 tag);      // 0x06 or 0x0C
    double realAfter(quint8 tag);            // 0x05 (and integers)
    QList<QByteArray> setAfter();
    QByteArray binaryAfter();
    void expectListBegin();
    void expectListEnd();
    bool endOfList() const { return peek() == vaNull; }

private:
    const QByteArray& data_;
    int pos_;
};

// The x87 extended real of 10 bytes as a double.
double extendedToDouble(const unsigned char* ten);

[[noreturn]] void throwInvalidValue();
[[noreturn]] void throwReadError();

} // namespace postavo::design
