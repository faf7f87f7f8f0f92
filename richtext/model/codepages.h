#pragma once
// Windows code pages as RTF uses them: the document's \ansicpg, a font's \fcharset or \cpg.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <map>

namespace postavo::richtext {

inline constexpr int kDefaultCodePage = 1252;
// The symbol character set: its bytes above ASCII are shown through the private-use area
// (U+F000 + byte), as Windows does for symbol fonts.
inline constexpr int kSymbolCodePage = 42;

// The code page of an RTF font character set (\fcharset). 0 (ANSI) and 1 (default) follow the
// document's code page.
int codePageForCharset(int charset, int documentCodePage);

// Turns bytes of a code page into text. Unknown code pages read as Windows-1252; bytes a code
// page does not define come out as U+FFFD.
class CodePageDecoder {
public:
    QString decode(const QByteArray& bytes, int codePage);

private:
    QStringDecoder* decoderFor(int codePage);
    std::map<int, QStringDecoder> decoders_;
};

// The Windows-1252 byte of a character, or -1 when the code page has none.
int windows1252Byte(char16_t c);

} // namespace postavo::richtext
