#include "textencoding.h"

#include "cp1252.h"

#include <QFile>

#include <array>
#include <vector>

namespace postavo::transfer {

namespace {

// Windows-1252 0x80..0x9F; 0 marks the five bytes it leaves undefined (kept as C1 controls, as
// the store reads them).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kBad = 0xFFFFFFFF;

// One UTF-8 sequence at s[i..]: the character and its length, or kBad with length 1.
char32_t decodeOne(const unsigned char* s, std::size_t n, std::size_t i, std::size_t* len)
{
    const unsigned char c = s[i];
    *len = 1;
    if (c < 0x80)
        return c;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
        cp = c & 0x1F;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        cp = c & 0x0F;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        cp = c & 0x07;
        min = 0x10000;
    } else {
        return kBad;
    }
    if (i + std::size_t(extra) >= n)
        return kBad;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char d = s[i + std::size_t(k)];
        if ((d & 0xC0) != 0x80)
            return kBad;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kBad;
    *len = std::size_t(extra) + 1;
    return cp;
}

char32_t fromCp1252Byte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
        return kHigh[b - 0x80];
    return b;
}

void appendUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Incremental verdict over a file read in pieces.
struct Examiner {
    bool first = true;
    bool bom = false;
    bool utf16 = false;
    bool nul = false;
    bool invalid = false;
    bool multiByte = false;
    std::string carry;  // an incomplete UTF-8 sequence at the end of the last piece

    void feed(std::string_view piece)
    {
        std::string joined;
        if (!carry.empty()) {
            joined = carry + std::string(piece);
            piece = joined;
            carry.clear();
        }
        if (first) {
            first = false;
            if (piece.size() >= 3 && piece.compare(0, 3, "\xEF\xBB\xBF") == 0) {
                bom = true;
                piece.remove_prefix(3);
            } else if (piece.size() >= 2 && (piece.compare(0, 2, "\xFF\xFE") == 0 || piece.compare(0, 2, "\xFE\xFF") == 0)) {
                utf16 = true;
                return;
            }
        }
        if (utf16 || nul)
            return;
        const auto* s = reinterpret_cast<const unsigned char*>(piece.data());
        const std::size_t n = piece.size();
        for (std::size_t i = 0; i < n;) {
            const unsigned char c = s[i];
            if (c == 0) {
                nul = true;
                return;
            }
            if (c < 0x80) {
                ++i;
                continue;
            }
            if (invalid) {  // only NUL bytes can still change the verdict
                ++i;
                continue;
            }
            // A sequence cut by the end of the piece waits for the next one.
            const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (i + need > n) {
                carry.assign(piece.substr(i));
                return;
            }
            std::size_t len = 1;
            if (decodeOne(s, n, i, &len) == kBad)
                invalid = true;
            else
                multiByte = true;
            i += len;
        }
    }

    TextFileVerdict finish()
    {
        if (!carry.empty())
            invalid = true;  // the file ends inside a sequence
        TextFileVerdict v;
        v.byteOrderMark = bom;
        if (utf16) {
            v.refusal = QStringLiteral("The file is saved as UTF-16 (\"Unicode text\"). Save it again as CSV in UTF-8 "
                                       "or Windows-1252, then import it.");
            return v;
        }
        if (nul) {
            v.refusal = QStringLiteral("The file is not a text file: it holds binary bytes (such as NUL), as a "
                                       "program, a picture, a spreadsheet or a database file would.");
            return v;
        }
        v.encoding = bom || (multiByte && !invalid) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
        return v;
    }
};

} // namespace

QString encodingName(TextEncoding e)
{
    switch (e) {
    case TextEncoding::Utf8: return QStringLiteral("UTF-8");
    case TextEncoding::Windows1252: return QStringLiteral("Windows-1252");
    case TextEncoding::Detect: break;
    }
    return QStringLiteral("detected");
}

std::optional<TextEncoding> encodingFromName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("utf-8") || n == QLatin1String("utf8"))
        return TextEncoding::Utf8;
    if (n == QLatin1String("windows-1252") || n == QLatin1String("cp1252") || n == QLatin1String("windows1252"))
        return TextEncoding::Windows1252;
    if (n == QLatin1String("auto") || n == QLatin1String("detect"))
        return TextEncoding::Detect;
    return std::nullopt;
}

TextFileVerdict examineText(std::string_view bytes)
{
    Examiner e;
    e.feed(bytes);
    return e.finish();
}

TextFileVerdict examineTextFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return {};
    }
    Examiner e;
    std::vector<char> buf(1 << 20);
    for (;;) {
        const qint64 got = f.read(buf.data(), qint64(buf.size()));
        if (got < 0) {
            if (error)
                *error = f.errorString();
            return {};
        }
        if (got == 0)
            break;
        e.feed(std::string_view(buf.data(), std::size_t(got)));
        if (e.utf16 || e.nul)
            break;
    }
    return e.finish();
}

void UnstorableTally::add(char32_t c)
{
    ++count_;
    if (samples_.size() >= kMaxTallySamples)
        return;
    QString s;
    if (c >= 0x10000) {
        const char32_t v = c - 0x10000;
        s += QChar(char16_t(0xD800 + (v >> 10)));
        s += QChar(char16_t(0xDC00 + (v & 0x3FF)));
    } else {
        s = QChar(char16_t(c));
    }
    if (!samples_.contains(s))
        samples_ << s;
}

QString UnstorableTally::describe() const
{
    if (count_ == 0)
        return {};
    return QStringLiteral("%1 characters that Windows-1252 cannot hold were stored as \"?\": %2.")
        .arg(count_)
        .arg(describeCharacters(samples_));
}

void UnstorableTally::clear()
{
    count_ = 0;
    samples_.clear();
}

bool cp1252Byte(char32_t c, unsigned char* byte)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF) || (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] == 0)) {
        *byte = static_cast<unsigned char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c) {
            *byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::size_t utf8ToCp1252(std::string_view utf8, std::string& out, UnstorableTally* tally, std::size_t limit)
{
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t written = 0;
    std::size_t i = 0;
    while (i < n && written < limit) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out += char(c);
            ++i;
            ++written;
            continue;
        }
        std::size_t len = 1;
        const char32_t cp = decodeOne(s, n, i, &len);
        unsigned char b = 0;
        if (cp == kBad) {
            out += char(c);  // not UTF-8 here: the byte stands for itself
        } else if (cp1252Byte(cp, &b)) {
            out += char(b);
        } else {
            out += '?';
            if (tally)
                tally->add(cp);
        }
        i += len;
        ++written;
    }
    return i;
}

std::string toCp1252Counted(const QString& text, UnstorableTally* tally)
{
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        unsigned char b = 0;
        if (cp1252Byte(c, &b)) {
            out += char(b);
        } else {
            out += '?';
            if (tally)
                tally->add(c);
        }
    }
    return out;
}

void cp1252ToUtf8(std::string_view bytes, std::string& out)
{
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else
            appendUtf8(fromCp1252Byte(c), out);
    }
}

} // namespace postavo::transfer
