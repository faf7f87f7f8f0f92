#include "layoutstream.h"

#include <QtEndian>
#include <cmath>

namespace postavo::design {

void throwInvalidValue() { throw StreamError{QStringLiteral("Invalid property value")}; }
void throwReadError() { throw StreamError{QStringLiteral("Stream read error")}; }

void LayoutWriter::shortString(const QByteArray& s)
{
    const QByteArray cut = s.left(255);
    byte(quint8(cut.size()));
    out_.append(cut);
}

void LayoutWriter::integer(qint64 v)
{
    char buf[4];
    if (v >= -128 && v <= 127) {
        byte(vaInt8);
        byte(quint8(qint8(v)));
    } else if (v >= -32768 && v <= 32767) {
        byte(vaInt16);
        qToLittleEndian<qint16>(qint16(v), buf);
        out_.append(buf, 2);
    } else {
        byte(vaInt32);
        qToLittleEndian<qint32>(qint32(v), buf);
        out_.append(buf, 4);
    }
}

void LayoutWriter::string(const QByteArray& s)
{
    if (s.size() < 256) {
        byte(vaString);
        byte(quint8(s.size()));
    } else {
        byte(vaLString);
        char buf[4];
        qToLittleEndian<quint32>(quint32(s.size()), buf);
        out_.append(buf, 4);
    }
    out_.append(s);
}

void LayoutWriter::binary(const QByteArray& data)
{
    byte(vaBinary);
    char buf[4];
    qToLittleEndian<quint32>(quint32(data.size()), buf);
    out_.append(buf, 4);
    out_.append(data);
}

void LayoutWriter::set(const QList<QByteArray>& members)
{
    byte(vaSet);
    for (const auto& m : members)
        shortString(m);
    shortString({});
}

quint8 LayoutReader::peek() const
{
    if (pos_ >= data_.size())
        throwReadError();
    return quint8(data_.at(pos_));
}

quint8 LayoutReader::byte()
{
    const quint8 b = peek();
    ++pos_;
    return b;
}

QByteArray LayoutReader::bytes(int n)
{
    if (n < 0 || n > data_.size() - pos_)
        throwReadError();
    QByteArray b = data_.mid(pos_, n);
    pos_ += n;
    return b;
}

QByteArray LayoutReader::shortString() { return bytes(byte()); }

qint64 LayoutReader::integerAfter(quint8 tag)
{
    switch (tag) {
    case vaInt8:
        return qint8(byte());
    case vaInt16: {
        const QByteArray b = bytes(2);
        return qFromLittleEndian<qint16>(b.constData());
    }
    case vaInt32: {
        const QByteArray b = bytes(4);
        return qFromLittleEndian<qint32>(b.constData());
    }
    default:
        throwInvalidValue();
    }
}

QByteArray LayoutReader::stringAfter(quint8 tag)
{
    if (tag == vaString)
        return bytes(byte());
    if (tag == vaLString) {
        const QByteArray n = bytes(4);
        const quint32 len = qFromLittleEndian<quint32>(n.constData());
        if (len > quint32(data_.size() - pos_))
            throwReadError();
        return bytes(int(len));
    }
    throwInvalidValue();
}

double LayoutReader::realAfter(quint8 tag)
{
    if (tag == vaExtended) {
        const QByteArray b = bytes(10);
        return extendedToDouble(reinterpret_cast<const unsigned char*>(b.constData()));
    }
    return double(integerAfter(tag));
}

QList<QByteArray> LayoutReader::setAfter()
{
    QList<QByteArray> members;
    for (;;) {
        QByteArray m = shortString();
        if (m.isEmpty())
            return members;
        members << m;
    }
}

QByteArray LayoutReader::binaryAfter()
{
    const QByteArray n = bytes(4);
    const quint32 len = qFromLittleEndian<quint32>(n.constData());
    if (len > quint32(data_.size() - pos_))
        throwReadError();
    return bytes(int(len));
}

void LayoutReader::expectListBegin()
{
    if (byte() != vaList)
        throwInvalidValue();
}

void LayoutReader::expectListEnd()
{
    if (byte() != vaNull)
        throwInvalidValue();
}

double extendedToDouble(const unsigned char* b)
{
    quint64 mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | b[i];
    const int se = b[8] | (b[9] << 8);
    const bool negative = se & 0x8000;
    const int exponent = se & 0x7FFF;
    if (exponent == 0 && mantissa == 0)
        return negative ? -0.0 : 0.0;
    if (exponent == 0x7FFF)
        return mantissa << 1 ? std::nan("") : (negative ? -HUGE_VAL : HUGE_VAL);
    const double v = std::ldexp(double(mantissa), exponent - 16383 - 63);
    return negative ? -v : v;
}

} // namespace postavo::design
