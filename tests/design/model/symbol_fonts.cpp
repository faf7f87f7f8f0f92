// Symbol fonts: a layout's WingDings or Symbol characters are drawn as what they picture, on
// screen and on paper, in an installed font that has those glyphs.
#include "composedtextobjects.h"
#include "designtypes.h"
#include "devices.h"
#include "printcanvas.h"
#include "symbolfonts.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::printing::RecordingDevice;
using postavo::printing::TextOp;
using postavo::printing::TPrintCanvas;

namespace {

QString u(char32_t c) { return QString::fromUcs4(&c, 1); }

// The inked part of an image, cut to its bounding box, in black and white.
QImage ink(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    if (box.isEmpty())
        return {};
    QImage out(box.size(), QImage::Format_Mono);
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            out.setPixel(x, y, qGray(image.pixel(box.x() + x, box.y() + y)) < 128 ? 1 : 0);
    return out;
}

// How much two inked shapes agree, each placed at its bounding box's corner: the smaller share
// of either's ink that has ink of the other within one pixel (1 = the same shape; anti-aliasing
// and a pixel's shift do not count).
double agreement(const QImage& a, const QImage& b)
{
    if (a.isNull() || b.isNull())
        return 0;
    auto inked = [](const QImage& i, int x, int y) { return i.valid(x, y) && i.pixelIndex(x, y) == 1; };
    auto share = [&](const QImage& from, const QImage& to) {
        int all = 0, near = 0;
        for (int y = 0; y < from.height(); ++y)
            for (int x = 0; x < from.width(); ++x) {
                if (!inked(from, x, y))
                    continue;
                ++all;
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = inked(to, x + dx, y + dy);
                near += found;
            }
        return all ? double(near) / all : 0.0;
    };
    return std::min(share(a, b), share(b, a));
}

QImage drawn(const QFont& font, const QString& text)
{
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPoint(40, 40 + QFontMetrics(font).ascent()), text);
    return img;
}

QImage painted(TGGraphicControl& o)
{
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(40, 40);
    o.paint(p);
    return img;
}

} // namespace

TEST(SymbolFonts, CodesBecomeWhatTheyPicture)
{
    EXPECT_EQ(symbolFontText("WingDings", "J"), u(0x263A));       // smiling face
    EXPECT_EQ(symbolFontText("wingdings", QLatin1String("\xFC")), u(0x2714));    // check mark (code 0xFC)
    EXPECT_EQ(symbolFontText("WINGDINGS", "("), u(0x260E));       // telephone
    EXPECT_EQ(symbolFontText("WingDings", "["), u(0x262F));       // a new symbol object's yin yang
    EXPECT_EQ(symbolFontText("Wingdings", "l"), u(0x25CF));       // black circle
    EXPECT_EQ(symbolFontText("Wingdings", "*"), u(0x2709));       // envelope
    // 0x80 as read from a Windows-1252 file is the euro sign; in WingDings it is a circled zero.
    EXPECT_EQ(symbolFontText("Wingdings", u(0x20AC)), u(0x24EA));
    // A code stored in the symbol fonts' private-use numbering.
    EXPECT_EQ(symbolFontText("Wingdings", u(0xF04A)), u(0x263A));
    EXPECT_EQ(symbolFontText("Symbol", "abpW"), QString(u(0x3B1)) + u(0x3B2) + u(0x3C0) + u(0x3A9));
    EXPECT_EQ(symbolFontText("Symbol", QLatin1String("\xA5\xD6")), u(0x221E) + u(0x221A));
    EXPECT_EQ(symbolFontText("Symbol", "1+2"), "1+2");
    // Text fonts keep their text; a code without an equivalent stays as it is.
    EXPECT_EQ(symbolFontText("Arial", "J"), "J");
    EXPECT_EQ(symbolFontText("Wingdings", QLatin1String("\x7F")), "\x7F");
    EXPECT_EQ(symbolFontOf(" Wingdings 3 "), SymbolFont::Wingdings3);
    EXPECT_EQ(symbolFontOf("Symbola"), SymbolFont::None);
    // No WingDings code is drawn as a plain letter.
    for (int code = 0x21; code <= 0xFF; ++code) {
        const char32_t c = symbolCodeToUnicode(SymbolFont::Wingdings, static_cast<unsigned char>(code));
        EXPECT_FALSE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << code;
    }
}

TEST(SymbolFonts, WingdingsTwoThreeAndWebdingsHaveTheirTables)
{
    // Wingdings 2: pens, ballot boxes, circled digits.
    EXPECT_EQ(symbolFontText("Wingdings 2", "!"), u(0x1F58A));     // lower left ballpoint pen
    EXPECT_EQ(symbolFontText("wingdings 2", "RTP"), u(0x2611) + u(0x2612) + u(0x1F5F8));
    EXPECT_EQ(symbolFontText("Wingdings 2", "j"), u(0x2460));     // circled digit one
    // Wingdings 3: arrows and triangles.
    EXPECT_EQ(symbolFontText("Wingdings 3", "!"), u(0x2B60));     // leftwards triangle-headed arrow
    EXPECT_EQ(symbolFontText("WINGDINGS 3", "pu"), u(0x25B2) + u(0x25B6));
    EXPECT_EQ(symbolCodeToUnicode(SymbolFont::Wingdings3, 0xF0), char32_t(0x1F897));
    // Webdings: spider, check mark, cat, globe.
    EXPECT_EQ(symbolFontText("Webdings", "!a"), u(0x1F577) + u(0x2714));
    EXPECT_EQ(symbolFontText("webdings", QLatin1String("\xF6\xFC")), u(0x1F408) + u(0x1F30D));
    // Codes past the end of a font's pictures stay as they are.
    EXPECT_EQ(symbolCodeToUnicode(SymbolFont::Wingdings3, 0xF1), char32_t(0));
    EXPECT_EQ(symbolCodeToUnicode(SymbolFont::Wingdings2, 0xFF), char32_t(0));
    // WingDings' white diagonal arrows: north-west before north-east.
    EXPECT_EQ(symbolFontText("Wingdings", QLatin1String("\xF5\xF6")), u(0x2B01) + u(0x2B00));
    // Every printable code of these fonts is a picture the glyph font draws, never a letter.
    const QFontMetrics fm{QFont(symbolGlyphFamily())};
    for (const SymbolFont font : {SymbolFont::Wingdings2, SymbolFont::Wingdings3, SymbolFont::Webdings})
        for (int code = 0x21; code <= 0xFF; ++code) {
            const char32_t c = symbolCodeToUnicode(font, static_cast<unsigned char>(code));
            EXPECT_FALSE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << code;
            if (c) {
                EXPECT_TRUE(fm.inFontUcs4(c)) << int(font) << " " << code << " " << std::hex << uint32_t(c);
            }
        }
    EXPECT_EQ(resolveFontFamily("Wingdings 2"), symbolGlyphFamily());
    EXPECT_EQ(resolveFontFamily("Wingdings 3"), symbolGlyphFamily());
    EXPECT_EQ(resolveFontFamily("Webdings"), symbolGlyphFamily());
}

TEST(SymbolFonts, TheInstalledFontHasTheGlyphs)
{
    const QFont font(symbolGlyphFamily());
    EXPECT_EQ(resolveFontFamily("WingDings"), symbolGlyphFamily());
    EXPECT_EQ(resolveFontFamily("Symbol"), symbolGlyphFamily());
    const QFontMetrics fm(font);
    for (const char32_t c : {char32_t(0x263A), char32_t(0x2714), char32_t(0x260E), char32_t(0x262F), char32_t(0x2709),
                             char32_t(0x3B1), char32_t(0x221E), char32_t(0x2460)})
        EXPECT_TRUE(fm.inFontUcs4(c)) << std::hex << uint32_t(c) << " missing in " << symbolGlyphFamily().toStdString();
}

TEST(SymbolFonts, SymbolObjectPaintsAndPrintsThePicturedGlyph)
{
    TGSymbolLabel o;
    o.Caption = QStringLiteral("J");
    o.setBounds(0, 0, 10, 10);  // follows its character
    o.Transparent = true;
    o.invalidate();
    const QFont font = screenFont(o.Font, 1.0f);
    EXPECT_EQ(font.family(), symbolGlyphFamily());
    // On screen: the same ink as the smiling face drawn in that font, not a "J".
    const QImage shown = ink(painted(o));
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(agreement(shown, ink(drawn(font, u(0x263A)))), 0.8);
    EXPECT_LT(agreement(shown, ink(drawn(font, "J"))), 0.5);
    QFont plain(QStringLiteral("DejaVu Sans"));
    plain.setPixelSize(font.pixelSize());
    EXPECT_LT(agreement(shown, ink(drawn(plain, "J"))), 0.5);
    // Its size follows the glyph, not the letter.
    EXPECT_EQ(o.width(), int(QFontMetrics(font).horizontalAdvance(u(0x263A)) * 1.1));

    // On paper: the glyph in the same family.
    RecordingDevice device(QSizeF(8.5, 11), 300);
    TPrintCanvas canvas;
    canvas.setDevice(&device);
    canvas.execute([](TPrintCanvas&) {}, [&](TPrintCanvas& c) { o.printObject(c, 0, 0); });
    std::vector<TextOp> texts;
    for (const auto& op : device.page(0))
        if (auto* t = std::get_if<TextOp>(&op))
            texts.push_back(*t);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u(0x263A));
    EXPECT_EQ(texts[0].font.face, symbolGlyphFamily());
}

TEST(SymbolFonts, SymbolObjectsInTheOtherFontsPaintTheirGlyphs)
{
    struct Case { const char* font; const char* caption; char32_t glyph; };
    for (const Case& c : {Case{"Wingdings 2", "T", 0x2612}, Case{"Wingdings 3", "p", 0x25B2},
                          Case{"Webdings", "!", 0x1F577}}) {
        TGSymbolLabel o;
        o.Font = LayoutFont::fromPoints(QString::fromLatin1(c.font), 24);
        o.Caption = QString::fromLatin1(c.caption);
        o.setBounds(0, 0, 10, 10);
        o.Transparent = true;
        o.invalidate();
        const QFont font = screenFont(o.Font, 1.0f);
        EXPECT_EQ(font.family(), symbolGlyphFamily()) << c.font;
        const QImage shown = ink(painted(o));
        ASSERT_FALSE(shown.isNull()) << c.font;
        EXPECT_GT(agreement(shown, ink(drawn(font, u(c.glyph)))), 0.8) << c.font;
        EXPECT_LT(agreement(shown, ink(drawn(font, QString::fromLatin1(c.caption)))), 0.5) << c.font;
    }
}
