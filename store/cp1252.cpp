#include "cp1252.h"

#include <array>

namespace postavo {

namespace {
// 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}

QString fromCp1252(std::string_view bytes)
{
    QString out;
    out.resize(qsizetype(bytes.size()));
    QChar* d = out.data();
    for (unsigned char c : bytes) {
        char16_t u = c;
        if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0)
            u = kHigh[c - 0x80];
        *d++ = QChar(u);
    }
    return out;
}

namespace {
bool fits(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] == 0))
        return true;
    for (char16_t h : kHigh)
        if (h == u)
            return true;
    return false;
}
} // namespace

QStringList charactersOutsideCp1252(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        QString ch(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ch += text.at(++i);
        else if (fits(c.unicode()))
            continue;
        if (!out.contains(ch))
            out << ch;
    }
    return out;
}

QString describeCharacters(const QStringList& characters)
{
    QStringList parts;
    for (const QString& ch : characters) {
        const char32_t code = ch.size() == 2 ? QChar::surrogateToUcs4(ch.at(0), ch.at(1)) : ch.at(0).unicode();
        parts << QStringLiteral("%1 (U+%2)").arg(ch, QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    return parts.join(QStringLiteral(", "));
}

std::string toCp1252(const QString& text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] == 0)) {
            out.push_back(char(u));
            continue;
        }
        char c = '?';
        for (size_t i = 0; i < kHigh.size(); ++i)
            if (kHigh[i] == u) { c = char(0x80 + i); break; }
        out.push_back(c);
    }
    return out;
}

} // namespace postavo
