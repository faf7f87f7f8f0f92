// Reader -> writer -> reader keeps every property the engine knows, and the writer is
// deterministic: the same document gives the same bytes, all of them 7-bit.

#include "support_richtext.h"

#include "formatproperties.h"
#include "layoutunits.h"
#include "pagedrawing.h"
#include "pictures.h"
#include "richdocument.h"
#include "rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

using namespace postavo::richtext;
using postavo::testing::describeDocument;

namespace {

// Stands in for the program's metafile decoder.
class SolidMetafiles : public pictures::PictureDecoder {
public:
    QImage decode(pictures::Kind, const QByteArray&, QSize pixels, QString*) const override
    {
        QImage image(pixels.isEmpty() ? QSize(16, 16) : pixels, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        return image;
    }
};

QByteArray pngHex()
{
    QImage image(24, 12, QImage::Format_RGB32);
    image.fill(QColor(10, 80, 160));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// One of everything the reader keeps.
QByteArray everything()
{
    return QByteArray(R"({\rtf1\ansi\ansicpg1252\deff1\deftab540
{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f1\fswiss\fcharset0\fprq2 Arial;}{\f2\fmodern\fcharset204 Courier New Cyr;}{\f3\fnil\fcharset2 Symbol;}}
{\colortbl;\red0\green0\blue0;\red192\green0\blue0;\red255\green255\blue0;\red0\green128\blue255;}
\paperw11906\paperh16838\margl1000\margr1200\margt900\margb1100
\pard\qc\sb120\sa240\f1\fs32\b Heading\b0\par
\pard\qj\li720\ri360\fi-360\sl360\slmult1 {\f0\fs24 Times }{\i italic }{\ul under}{\uld dotted}{\uldash dash}{\ulwave wave} {\strike gone} {\cf2 red} {\highlight3 yellow} {\cb4 blue} {\super sup}{\sub sub} {\caps caps}{\scaps small} caf\'e9 \u8364? \u-10179?\u-8704? {\f2 \'c0\'c1} {\f3 \'b7}\line second line\tab tabbed\par
\pard\sl-320\slmult0\tx1440\tqr\tx8000\tqc\tx4000\tqdec\tx6000 fixed\tab a\tab b\tab c\par
\pard\sl300\slmult0\ri100 at least {\field{\*\fldinst PAGE}{\fldrslt 1}}\par
\pard\page After break \{braces\} and \\backslash\par
\trowd\trgaph108\trleft-108\trqc\clbrdrt\brdrs\brdrw15\brdrcf2\clbrdrb\brdrs\brdrw30\clvertalc\cellx3000\clcbpat3\clvmgf\cellx6000\cellx9000
\pard\intbl\ql Cell one\par second para\cell\pard\intbl\qr Cell two\cell\pard\intbl Cell three\cell\row
\trowd\trgaph108\trleft-108\trqc\cellx3000\clvmrg\cellx6000\cellx9000
\pard\intbl\qc Four\cell\pard\intbl\cell\pard\intbl Six\cell\row
\trowd\trgaph108\trleft-108\trqc\cellx6000\cellx9000
\pard\intbl Wide\cell\pard\intbl Narrow\cell\row
\pard Picture {\pict\pngblip\picw24\pich12\picwgoal720\pichgoal360 )")
           + pngHex() + R"(} and {\pict\wmetafile8\picw2540\pich2540\picwgoal1440\pichgoal1440 0100090000031100000000000400000000000300000000000000} end\par
\pard\pagebb Last page\par
})";
}

} // namespace

TEST(RtfRoundTrip, EveryPropertySurvivesWriterAndReader)
{
    static const SolidMetafiles metafiles;
    pictures::setPictureDecoder(&metafiles);
    RichDocument first;
    const RtfReadReport report = first.loadRtf(everything());
    ASSERT_FALSE(report.damaged) << report.text().toStdString();
    const QByteArray written = first.saveRtf();

    RichDocument second;
    const RtfReadReport again = second.loadRtf(written);
    EXPECT_TRUE(again.clean()) << again.text().toStdString();
    const QStringList a = describeDocument(*first.document()).split('\n');
    const QStringList b = describeDocument(*second.document()).split('\n');
    for (int i = 0; i < std::min(a.size(), b.size()); ++i)
        ASSERT_EQ(b[i], a[i]) << "line " << i;
    EXPECT_EQ(b.size(), a.size());
    EXPECT_EQ(second.pageLayout(), first.pageLayout());
    EXPECT_EQ(pageCount(second), 3);
    EXPECT_EQ(second.document()->defaultTextOption().tabStopDistance(),
              first.document()->defaultTextOption().tabStopDistance());
    // Written again, the same bytes.
    EXPECT_EQ(second.saveRtf(), written);
    // A sample of what must be in the first document for the comparison to mean something.
    const QString described = describeDocument(*first.document());
    EXPECT_TRUE(described.contains("TABLE 3x3")) << described.toStdString();
    EXPECT_TRUE(described.contains("span=2x1"));
    EXPECT_TRUE(described.contains("span=1x2"));
    EXPECT_TRUE(described.contains("IMG 48.00x24.00 kind=1"));
    EXPECT_TRUE(described.contains("IMG 96.00x96.00 kind=3"));
    EXPECT_TRUE(described.contains("font=Courier New Cyr cs=204"));
    EXPECT_TRUE(described.contains(QString::fromUtf8("\"АБ\"")));
}

TEST(RtfRoundTrip, WriterIsDeterministicAndSevenBit)
{
    RichDocument doc;
    doc.loadRtf(everything());
    const QByteArray a = doc.saveRtf();
    const QByteArray b = doc.saveRtf();
    EXPECT_EQ(a, b);
    for (char c : a)
        ASSERT_GE(static_cast<signed char>(c), 0) << "non-ASCII byte in the written RTF";
    EXPECT_TRUE(a.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    // Fonts are numbered by first use, after the default font.
    EXPECT_TRUE(a.contains("{\\f0\\fnil\\fcharset0 Arial;}") || a.contains("{\\f0\\fswiss\\fcharset0 Arial;}"))
        << a.left(400).toStdString();
}

TEST(RtfRoundTrip, DocumentEditedInPlaceSurvives)
{
    // Formats set the way the editing control sets them, not read from RTF.
    RichDocument doc;
    QTextCursor c(doc.document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    QTextCharFormat bold;
    bold.setFontFamilies(QStringList{"Liberation Serif"});
    bold.setFontPointSize(15.5);
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 128, 0));
    c.insertText("Green title", bold);
    QTextBlockFormat indented;
    indented.setLeftMargin(1440);
    indented.setTabPositions({QTextOption::Tab(twipsToScaled(2880), QTextOption::RightTab)});
    c.insertBlock(indented);
    c.insertText(QString::fromUtf8("Plain\ttext \u20ac \u0416 \U0001F600"));
    insertPageBreak(c);
    c.insertText("Second page");
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    doc.document()->addResource(QTextDocument::ImageResource, QUrl("pasted"), image);
    QTextImageFormat picture;
    picture.setName("pasted");
    picture.setWidth(twipsToScaled(900));
    picture.setHeight(twipsToScaled(600));
    c.insertImage(picture);

    RichDocument back;
    back.loadRtf(doc.saveRtf());
    EXPECT_EQ(back.plainText(true), doc.plainText(true));
    EXPECT_EQ(pageCount(back), 2);
    const QTextBlock title = back.document()->begin();
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat f = title.begin().fragment().charFormat();
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Liberation Serif"});
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 15.5);
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_EQ(f.foreground().color(), QColor(0, 128, 0));
    const QTextBlockFormat second = title.next().blockFormat();
    EXPECT_DOUBLE_EQ(second.leftMargin(), 1440);
    ASSERT_EQ(second.tabPositions().size(), 1);
    EXPECT_EQ(second.tabPositions()[0].type, QTextOption::RightTab);
    // The pasted picture went out as PNG and came back at its size.
    const QTextBlock last = back.document()->lastBlock();
    bool found = false;
    for (auto it = last.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat()) {
            const QTextImageFormat img = it.fragment().charFormat().toImageFormat();
            EXPECT_EQ(scaledToTwips(img.width()), 900);
            EXPECT_EQ(scaledToTwips(img.height()), 600);
            const QImage shown = back.document()->resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
            EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::magenta));
            found = true;
        }
    EXPECT_TRUE(found);
}

TEST(RtfRoundTrip, TableAtTheStartGainsNoEmptyParagraph)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}}\trowd\cellx2000\pard\intbl A\cell\row\pard B\par})");
    const QByteArray once = doc.saveRtf();
    EXPECT_FALSE(once.contains("\\par\r\n\\trowd")) << once.toStdString();
    RichDocument back;
    back.loadRtf(once);
    EXPECT_EQ(back.saveRtf(), once);
    EXPECT_EQ(describeDocument(*back.document()), describeDocument(*doc.document()));
}

TEST(RtfRoundTrip, PageBreakAfterATableStaysAfterIt)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}}\trowd\cellx2000\pard\intbl A\cell\row\page\pard After\par})");
    EXPECT_EQ(pageCount(doc), 2);
    EXPECT_EQ(pageOfPosition(doc, doc.document()->find("After").selectionStart()), 1);
    RichDocument back;
    back.loadRtf(doc.saveRtf());
    EXPECT_EQ(describeDocument(*back.document()), describeDocument(*doc.document()));
    EXPECT_EQ(back.saveRtf(), doc.saveRtf());
}
