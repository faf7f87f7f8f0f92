#include "codepages.h"

namespace postavo::richtext {

namespace {

// 0x80 to 0x9F of Windows-1252; 0 where the code page leaves the byte undefined.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

const char* encodingName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    default: return nullptr;
    }
}

QString decode1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0)
            out += QChar(kHigh1252[b - 0x80] ? kHigh1252[b - 0x80] : char16_t(0xFFFD));
        else
            out += QChar(b);
    }
    return out;
}

} // namespace

int codePageForCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0:
    case 1: return documentCodePage;
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return documentCodePage;
    }
}

QStringDecoder* CodePageDecoder::decoderFor(int codePage)
{
    auto it = decoders_.find(codePage);
    if (it == decoders_.end()) {
        const char* name = encodingName(codePage);
        QStringDecoder d = name ? QStringDecoder(name, QStringConverter::Flag::Stateless)
                                : QStringDecoder();
        it = decoders_.emplace(codePage, std::move(d)).first;
    }
    return it->second.isValid() ? &it->second : nullptr;
}

QString CodePageDecoder::decode(const QByteArray& bytes, int codePage)
{
    if (codePage == kSymbolCodePage) {
        QString out;
        out.reserve(bytes.size());
        for (char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            // ASCII reads as itself (symbol fonts show their own glyphs for it either way).
            out += QChar(b < 0x80 ? char16_t(b) : char16_t(0xF000 + b));
        }
        return out;
    }
    if (codePage != kDefaultCodePage)
        if (QStringDecoder* d = decoderFor(codePage)) {
            d->resetState();
            return d->decode(bytes);
        }
    return decode1252(bytes);
}

int windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] && kHigh1252[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace postavo::richtext
