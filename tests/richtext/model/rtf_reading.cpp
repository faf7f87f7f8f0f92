// Reading RTF: character and paragraph formats, text in code pages and Unicode, destinations
// that are skipped, tables, pictures, the page layout and page breaks.

#include "support_richtext.h"

#include "formatproperties.h"
#include "layoutunits.h"
#include "pagedrawing.h"
#include "pictures.h"
#include "richdocument.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace postavo::richtext;

namespace {

struct Read {
    std::unique_ptr<RichDocument> doc = std::make_unique<RichDocument>();
    RtfReadReport report;
    QTextDocument& text() { return *doc->document(); }
};

Read read(const QByteArray& rtf, const RtfReadOptions& options = {})
{
    Read r;
    r.report = r.doc->loadRtf(rtf, options);
    return r;
}

// The format of the character at `position`.
QTextCharFormat formatAt(QTextDocument& doc, int position)
{
    QTextCursor c(&doc);
    c.setPosition(position + 1);
    return c.charFormat();
}

int positionOf(QTextDocument& doc, const QString& text)
{
    return doc.find(text).selectionStart();
}

QByteArray pngHex(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

} // namespace

TEST(RtfReading, CharacterFormatsFromFontAndColourTables)
{
    Read r = read(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman Times New Roman;}}
{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}
\pard\plain\f1\fs28 Serif {\b Bold} {\i Italic} {\ul Under} {\uld Dotted} {\strike Struck} 
{\cf1 Red} {\highlight2 Marked} {\cb2 Shaded} {\super up} {\sub down} {\caps caps} {\f0\fs17 Small}\par})");
    QTextDocument& d = r.text();
    EXPECT_TRUE(r.report.clean()) << r.report.text().toStdString();
    EXPECT_EQ(d.toPlainText(), "Serif Bold Italic Under Dotted Struck Red Marked Shaded up down caps Small");

    const QTextCharFormat serif = formatAt(d, 0);
    EXPECT_EQ(serif.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_DOUBLE_EQ(serif.fontPointSize(), 14.0);
    EXPECT_EQ(serif.fontWeight(), QFont::Normal);
    EXPECT_EQ(serif.stringProperty(props::FontFamilyClass), "roman");

    EXPECT_EQ(formatAt(d, positionOf(d, "Bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(d, positionOf(d, "Italic")).fontItalic());
    EXPECT_EQ(formatAt(d, positionOf(d, "Under")).underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatAt(d, positionOf(d, "Dotted")).underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_TRUE(formatAt(d, positionOf(d, "Struck")).fontStrikeOut());
    EXPECT_EQ(formatAt(d, positionOf(d, "Red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(d, positionOf(d, "Marked")).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(d, positionOf(d, "Shaded")).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(d, positionOf(d, "up")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(d, positionOf(d, "down")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatAt(d, positionOf(d, "caps")).fontCapitalization(), QFont::AllUppercase);
    const QTextCharFormat small = formatAt(d, positionOf(d, "Small"));
    EXPECT_EQ(small.fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_DOUBLE_EQ(small.fontPointSize(), 8.5);
    // Text outside any group of its own keeps the group's formatting after a group ends.
    EXPECT_FALSE(formatAt(d, positionOf(d, " Italic")).fontWeight() == QFont::Bold);
}

TEST(RtfReading, ParagraphFormats)
{
    Read r = read(R"({\rtf1\ansi
\pard\qc Centred\par
\pard\qr\li720\ri360\fi-360 Right\par
\pard\qj\sb240\sa120\sl360\slmult1 Justified\par
\pard\sl-300\slmult0 Exact\par
\pard\sl280 AtLeast\par
\pard\tx1440\tqr\tx5760\tqc\tx3000\tqdec\tx7000 A\tab B\line C\par
})");
    QTextDocument& d = r.text();
    ASSERT_EQ(d.blockCount(), 6);
    QTextBlock b = d.begin();
    EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    b = b.next();
    QTextBlockFormat f = b.blockFormat();
    EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(f.leftMargin(), 720);
    EXPECT_DOUBLE_EQ(f.rightMargin(), 360);
    EXPECT_DOUBLE_EQ(f.textIndent(), -360);
    b = b.next();
    f = b.blockFormat();
    EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(scaledToTwips(f.topMargin()), 240);
    EXPECT_EQ(scaledToTwips(f.bottomMargin()), 120);
    EXPECT_EQ(f.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(f.lineHeight(), 150.0);
    b = b.next();
    EXPECT_EQ(b.blockFormat().lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(scaledToTwips(b.blockFormat().lineHeight()), 300);
    b = b.next();
    EXPECT_EQ(b.blockFormat().lineHeightType(), QTextBlockFormat::MinimumHeight);
    EXPECT_EQ(scaledToTwips(b.blockFormat().lineHeight()), 280);
    b = b.next();
    const QList<QTextOption::Tab> tabs = b.blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(scaledToTwips(tabs[0].position), 1440);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_EQ(scaledToTwips(tabs[1].position), 5760);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
    EXPECT_EQ(tabs[2].type, QTextOption::CenterTab);
    EXPECT_EQ(tabs[3].type, QTextOption::DelimiterTab);
    EXPECT_EQ(b.text(), QString("A\tB") + QChar(QChar::LineSeparator) + "C");
}

TEST(RtfReading, CodePagesAndUnicode)
{
    // Windows-1252 by default, the document's code page, a font's character set, a double-byte
    // code page, Unicode escapes with one and two fallback characters, and surrogate pairs.
    Read r = read(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;}{\f2\fcharset128 MS Mincho;}}
\f0 caf\'e9 \'80 \u8364? \uc2\u8212\'97\'97 x \uc1\f1\'c0\'c1 \f2\'82\'a0 \f0\u-10179?\u-8704?\par})");
    const QString text = r.text().toPlainText();
    EXPECT_EQ(text, QString::fromUtf8("café € € — x АБ あ 😀"));

    Read cyrillic = read(R"({\rtf1\ansi\ansicpg1251 \'c0\'e1\par})");
    EXPECT_EQ(cyrillic.text().toPlainText(), QString::fromUtf8("Аб"));
}

TEST(RtfReading, SkippedDestinationsKeepTheTextAround)
{
    Read r = read(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\stylesheet{\s1 Heading 1;}}{\info{\title Secret}{\author Me}}
{\*\generator Writer;}{\*\unknowndest never shown}{\header Page head\par}
Before {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}} {\*\bkmkstart b}middle{\footnote note\par} after\par
{\v hidden}shown\par})");
    EXPECT_EQ(r.text().toPlainText(), "Before link middle after\nshown");
    EXPECT_TRUE(r.report.skipped.join('\n').contains("Headers and footers")) << r.report.text().toStdString();
    EXPECT_TRUE(r.report.skipped.join('\n').contains("Footnotes"));
    EXPECT_TRUE(r.report.skipped.join('\n').contains("Hidden text"));
    EXPECT_FALSE(r.report.damaged);
}

TEST(RtfReading, SimpleTables)
{
    Read r = read(R"({\rtf1\ansi
Letterhead\par
\trowd\trgaph108\trleft-108\clbrdrb\brdrs\brdrw15\cellx3000\clcbpat1\cellx9000
\pard\intbl Name\cell\qr Address\par Line 2\cell\row
\trowd\trgaph108\trleft-108\cellx9000
\pard\intbl Wide cell\cell\row
\pard After\par})");
    QTextDocument& d = r.text();
    QTextTable* table = nullptr;
    for (auto it = d.rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            table = t;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const QVector<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(scaledToTwips(widths[0].rawValue()), 3108);
    EXPECT_EQ(scaledToTwips(widths[1].rawValue()), 6000);
    EXPECT_EQ(table->cellAt(0, 0).firstCursorPosition().block().text(), "Name");
    const QTextTableCell address = table->cellAt(0, 1);
    EXPECT_EQ(address.firstCursorPosition().block().text(), "Address");
    EXPECT_EQ(address.firstCursorPosition().block().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(address.lastCursorPosition().block().text(), "Line 2");
    EXPECT_EQ(scaledToTwips(table->cellAt(0, 0).format().toTableCellFormat().bottomBorder()), 15);
    EXPECT_EQ(scaledToTwips(table->cellAt(0, 0).format().toTableCellFormat().leftPadding()), 108);
    EXPECT_EQ(table->cellAt(1, 0).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(1, 0).firstCursorPosition().block().text(), "Wide cell");
    EXPECT_TRUE(d.toPlainText().startsWith("Letterhead"));
    EXPECT_TRUE(d.toPlainText().endsWith("After"));
}

TEST(RtfReading, TableCellsMergedDownAColumn)
{
    Read r = read(R"({\rtf1\ansi
\trowd\clvmgf\cellx2000\cellx4000\pard\intbl Logo\cell A\cell\row
\trowd\clvmrg\cellx2000\cellx4000\pard\intbl\cell B\cell\row
})");
    QTextTable* table = nullptr;
    for (auto it = r.text().rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            table = t;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->cellAt(0, 0).rowSpan(), 2);
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), "B");
}

namespace {

// Stands in for the program's metafile decoder.
class FakeMetafiles : public pictures::PictureDecoder {
public:
    mutable int calls = 0;
    mutable QByteArray lastData;
    mutable QSize lastPixels;
    QImage decode(pictures::Kind kind, const QByteArray& data, QSize pixels, QString*) const override
    {
        ++calls;
        lastData = data;
        lastPixels = pixels;
        QImage image(pixels.isEmpty() ? QSize(10, 10) : pixels, QImage::Format_RGB32);
        image.fill(kind == pictures::Kind::WindowsMetafile ? Qt::green : Qt::blue);
        return image;
    }
};

} // namespace

TEST(RtfReading, PicturesOfEveryKind)
{
    const QByteArray png = pngHex(QSize(20, 10), Qt::red);
    QImage jpegImage(8, 8, QImage::Format_RGB32);
    jpegImage.fill(Qt::yellow);
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        jpegImage.save(&b, "JPG");
    }
    // A 2 x 1 bitmap of 24 bits a pixel: header, then one row padded to four bytes.
    QByteArray dib = QByteArray::fromHex("28000000020000000100000001001800000000000800000000000000000000000000000000000000"
                                         "0000ff00ff000000");
    const QByteArray rtf = "{\\rtf1\\ansi A{\\pict\\pngblip\\picw20\\pich10\\picwgoal1440\\pichgoal720 " + png
                           + "}B{\\*\\shppict{\\pict\\jpegblip\\picscalex50\\picscaley50\\picwgoal2880\\pichgoal2880 "
                           + jpeg.toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}C{\\pict\\dibitmap0\\picw2\\pich1 "
                           + dib.toHex() + "}D{\\pict\\wmetafile8\\picw2540\\pich1270\\bin4 WMF!}E\\par}";
    FakeMetafiles metafiles;
    pictures::StandardDecoder decoder(&metafiles);
    RtfReadOptions options;
    options.pictureDecoder = &decoder;
    Read r = read(rtf, options);
    QTextDocument& d = r.text();
    EXPECT_TRUE(r.report.clean()) << r.report.text().toStdString();

    QList<QTextImageFormat> images;
    for (auto it = d.begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            images << it.fragment().charFormat().toImageFormat();
    ASSERT_EQ(images.size(), 4);
    EXPECT_EQ(images[0].intProperty(props::PictureKind), int(pictures::Kind::Png));
    EXPECT_EQ(scaledToTwips(images[0].width()), 1440);
    EXPECT_EQ(scaledToTwips(images[0].height()), 720);
    const QImage shown = d.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    EXPECT_EQ(shown.size(), QSize(20, 10));
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::red));

    EXPECT_EQ(images[1].intProperty(props::PictureKind), int(pictures::Kind::Jpeg));
    EXPECT_EQ(scaledToTwips(images[1].width()), 1440) << "scaled to 50 %";

    EXPECT_EQ(images[2].intProperty(props::PictureKind), int(pictures::Kind::Dib));
    const QImage bitmap = d.resource(QTextDocument::ImageResource, QUrl(images[2].name())).value<QImage>();
    ASSERT_EQ(bitmap.size(), QSize(2, 1));
    EXPECT_EQ(bitmap.pixelColor(0, 0), QColor(255, 0, 0));

    // The metafile went through the program's decoder, at its shown size (1 x 0.5 inch).
    EXPECT_EQ(images[3].intProperty(props::PictureKind), int(pictures::Kind::WindowsMetafile));
    EXPECT_EQ(images[3].property(props::PictureData).toByteArray(), "WMF!");
    EXPECT_EQ(metafiles.calls, 1);
    EXPECT_EQ(metafiles.lastData, "WMF!");
    EXPECT_EQ(scaledToTwips(images[3].width()), 1440);
    EXPECT_EQ(metafiles.lastPixels, pictures::renderPixels(1440, 720));
    EXPECT_EQ(d.toPlainText().remove(QChar::ObjectReplacementCharacter), "ABCDE");
}

TEST(RtfReading, PictureThatCannotBeShownKeepsItsPlaceAndData)
{
    pictures::StandardDecoder noMetafiles;
    RtfReadOptions options;
    options.pictureDecoder = &noMetafiles;
    Read r = read("{\\rtf1 x{\\pict\\wmetafile8\\picwgoal720\\pichgoal720 0a0b0c}{\\pict\\pngblip 00112233}y\\par}", options);
    EXPECT_TRUE(r.report.text().contains("empty frames")) << r.report.text().toStdString();
    int images = 0;
    for (auto it = r.text().begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat()) {
            ++images;
            const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
            EXPECT_FALSE(f.property(props::PictureData).toByteArray().isEmpty());
            EXPECT_TRUE(r.text().resource(QTextDocument::ImageResource, QUrl(f.name())).isValid());
        }
    EXPECT_EQ(images, 2);
}

TEST(RtfReading, PageLayoutAndBreaks)
{
    Read r = read(R"({\rtf1\ansi\paperw11906\paperh16838\margl1134\margr1134\margt1418\margb1418
\sectd\margtsxn1000
One\par Two\page Three\par
\pard\pagebb Four\par
\sect\sectd\sbknone\pard Five\par
\sect\sectd Six\par})");
    EXPECT_EQ(r.doc->pageLayout().paperWidth, 11906);
    EXPECT_EQ(r.doc->pageLayout().paperHeight, 16838);
    EXPECT_EQ(r.doc->pageLayout().marginLeft, 1134);
    EXPECT_EQ(r.doc->pageLayout().marginTop, 1000) << "the first section's own margin";
    EXPECT_EQ(r.doc->pageLayout().marginBottom, 1418);
    // Pages: One Two | Three | Four Five | Six
    EXPECT_EQ(pageCount(*r.doc), 4);
    EXPECT_EQ(r.doc->plainText(true), "One\nTwo\n\fThree\n\fFour\nFive\n\fSix");

    Read defaults = read("{\\rtf1 text}");
    EXPECT_EQ(defaults.doc->pageLayout().paperWidth, 12240);
    EXPECT_EQ(defaults.doc->pageLayout().marginLeft, 1800);
    EXPECT_EQ(defaults.doc->pageLayout().marginTop, 1440);
    EXPECT_EQ(defaults.text().toPlainText(), "text");
}
