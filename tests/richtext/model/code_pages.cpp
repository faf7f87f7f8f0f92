// Bytes of a letter in the code page its fonts and document name: the character sets RTF
// fonts give, Windows-1252 with its holes, other code pages, and the symbol character set.

#include "support_richtext.h"

#include "codepages.h"
#include "richdocument.h"

#include <gtest/gtest.h>

using namespace postavo::richtext;

TEST(CodePages, FontCharacterSetsNameTheirCodePages)
{
    // ANSI and default follow the document; the rest name their own.
    EXPECT_EQ(codePageForCharset(0, 1250), 1250);
    EXPECT_EQ(codePageForCharset(1, 1252), 1252);
    EXPECT_EQ(codePageForCharset(2, 1252), kSymbolCodePage);
    EXPECT_EQ(codePageForCharset(204, 1252), 1251);
    EXPECT_EQ(codePageForCharset(238, 1252), 1250);
    EXPECT_EQ(codePageForCharset(161, 1252), 1253);
    EXPECT_EQ(codePageForCharset(128, 1252), 932);
    EXPECT_EQ(codePageForCharset(77, 1252), 10000);
    // A character set nobody knows reads as the document's.
    EXPECT_EQ(codePageForCharset(99, 1257), 1257);
}

TEST(CodePages, BytesDecodeInTheirCodePage)
{
    CodePageDecoder decoder;
    // Windows-1252: the high block has its own characters, and its five holes are marked.
    EXPECT_EQ(decoder.decode("\x80\x93\xe9\x9f", 1252), QStringLiteral(u"\u20AC\u201C\u00E9\u0178"));
    EXPECT_EQ(decoder.decode("\x81\x8d\x8f\x90\x9d", 1252), QString(5, QChar(0xFFFD)));
    EXPECT_EQ(decoder.decode("\xc0\xc1", 1251), QStringLiteral(u"\u0410\u0411"));
    EXPECT_EQ(decoder.decode("\xe0", 1253), QStringLiteral(u"\u03B0"));
    EXPECT_EQ(decoder.decode("\x82\xa0", 932), QStringLiteral(u"\u3042"));
    // A code page with no decoder reads as Windows-1252 rather than losing the text.
    EXPECT_EQ(decoder.decode("caf\xe9", 12345), QStringLiteral(u"caf\u00E9"));
    // Symbol fonts: ASCII stays ASCII, the rest goes to the private-use area.
    EXPECT_EQ(decoder.decode("a\xb7", kSymbolCodePage), QStringLiteral(u"a\uF0B7"));
    // No state is kept between calls: a lead byte left at the end of one call (damaged text)
    // does not swallow the next call's first byte.
    decoder.decode("\x82", 932);
    EXPECT_EQ(decoder.decode("A", 932), QStringLiteral("A"));

    EXPECT_EQ(windows1252Byte(u'\u20AC'), 0x80);
    EXPECT_EQ(windows1252Byte(u'\u00E9'), 0xE9);
    EXPECT_EQ(windows1252Byte(u'A'), 'A');
    EXPECT_EQ(windows1252Byte(u'\u0416'), -1);
    EXPECT_EQ(windows1252Byte(u'\u0081'), -1);
}

TEST(CodePages, DocumentCodePageAndFontCharsetsInOneLetter)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;}{\f2\fcharset0 Arial;}}
\f0 \'8a\'e8 {\f1 \'c4\'e0} {\f2 \'9a}\par})");
    EXPECT_EQ(doc.plainText(), QStringLiteral(u"\u0160\u010D \u0414\u0430 \u0161"));
}
