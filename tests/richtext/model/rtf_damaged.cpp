// Damaged and hostile RTF: the reader keeps what it can read, says what it skipped, and never
// crashes, hangs or takes memory in proportion to numbers written in the file.

#include "support_richtext.h"

#include "pagedrawing.h"
#include "richdocument.h"

#include <QImage>
#include <QPainter>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace postavo::richtext;

namespace {

RtfReadReport load(RichDocument& doc, const QByteArray& rtf)
{
    const RtfReadReport report = doc.loadRtf(rtf);
    // Whatever was read can be written and drawn.
    RichDocument again;
    again.loadRtf(doc.saveRtf());
    QImage page(200, 260, QImage::Format_RGB32);
    QPainter painter(&page);
    drawSheet(&painter, again, QRectF(0, 0, 200, 260), 0);
    return report;
}

} // namespace

TEST(RtfDamaged, TruncatedDocumentKeepsItsText)
{
    const QByteArray whole = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs24 First paragraph\par {\b Second} paragraph\par Third)";
    for (int cut : {10, 30, 45, 60, int(whole.size())}) {
        RichDocument doc;
        const RtfReadReport report = load(doc, whole.left(cut));
        EXPECT_TRUE(report.damaged) << cut;
        EXPECT_TRUE(report.text().contains("ends before")) << report.text().toStdString();
    }
    RichDocument doc;
    load(doc, whole);
    EXPECT_EQ(doc.plainText(), "First paragraph\nSecond paragraph\nThird");
}

TEST(RtfDamaged, UnbalancedBraces)
{
    RichDocument doc;
    const RtfReadReport report = load(doc, R"({\rtf1 One}} Two\par})");
    // The document's own group ends at its closing brace; text after it is not part of it.
    EXPECT_EQ(doc.plainText(), "One");
    EXPECT_FALSE(report.damaged);

    RichDocument opened;
    const RtfReadReport open = load(opened, R"({\rtf1 {{{\b One\par {\i Two\par)");
    EXPECT_TRUE(open.damaged);
    EXPECT_EQ(opened.plainText(), "One\nTwo");
}

TEST(RtfDamaged, HundredThousandNestedGroups)
{
    QByteArray rtf = "{\\rtf1 Start ";
    rtf += QByteArray(100000, '{');
    rtf += "\\b deep";
    rtf += QByteArray(100000, '}');
    rtf += " end\\par}";
    RichDocument doc;
    const RtfReadReport report = load(doc, rtf);
    EXPECT_EQ(doc.plainText(), "Start deep end");
    EXPECT_TRUE(report.text().contains("nested")) << report.text().toStdString();
    EXPECT_FALSE(report.damaged);

    // Never closed: still read, and reported.
    QByteArray open = "{\\rtf1 x";
    open += QByteArray(100000, '{');
    open += "y";
    RichDocument doc2;
    EXPECT_TRUE(load(doc2, open).damaged);
    EXPECT_EQ(doc2.plainText(), "xy");
}

TEST(RtfDamaged, HugeFontTable)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < 10000; ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fswiss Font " + QByteArray::number(i) + ";}";
    rtf += "}\\f9999 Last font\\par\\f123456 Unknown font\\par}";
    RichDocument doc;
    const RtfReadReport report = load(doc, rtf);
    EXPECT_FALSE(report.damaged);
    const QTextBlock first = doc.document()->begin();
    EXPECT_EQ(first.begin().fragment().charFormat().fontFamilies().toStringList(), QStringList{"Font 9999"});
    // A font number the table does not have falls back to the default font.
    EXPECT_EQ(first.next().begin().fragment().charFormat().fontFamilies().toStringList(), QStringList{"Font 0"});
    // Only the fonts in use are written back.
    EXPECT_LT(doc.saveRtf().size(), 2000);
}

TEST(RtfDamaged, BinaryLengthsBeyondTheData)
{
    RichDocument doc;
    const RtfReadReport report = load(doc, "{\\rtf1 Before{\\pict\\pngblip\\bin2147483647 abc");
    EXPECT_TRUE(report.damaged);
    EXPECT_TRUE(report.text().contains("Binary data")) << report.text().toStdString();
    EXPECT_EQ(doc.plainText().remove(QChar::ObjectReplacementCharacter), "Before");

    // Negative and overflowing lengths, and \bin outside a picture.
    RichDocument doc2;
    load(doc2, "{\\rtf1 A\\bin-5 B{\\*\\x\\bin99999999999999999999 }C\\bin3 xyzD\\par}");
    EXPECT_EQ(doc2.plainText(), "AB");
    RichDocument doc3;
    load(doc3, "{\\rtf1 A\\bin3 xyzD\\par}");
    EXPECT_EQ(doc3.plainText(), "AD");
}

TEST(RtfDamaged, PicturesThatDoNotDecode)
{
    RichDocument doc;
    const RtfReadReport report =
        load(doc, "{\\rtf1 a{\\pict\\pngblip\\picwgoal1440\\pichgoal1440 89504e470d0a1a0a0000}b"
                  "{\\pict\\jpegblip zz}c{\\pict\\macpict 0102}d{\\pict\\dibitmap0 ffffffff}e\\par}");
    EXPECT_EQ(doc.plainText().remove(QChar::ObjectReplacementCharacter), "abcde");
    EXPECT_TRUE(report.text().contains("empty frames")) << report.text().toStdString();
    EXPECT_TRUE(report.text().contains("kind that cannot be shown"));
    EXPECT_TRUE(report.text().contains("without data"));
}

TEST(RtfDamaged, OddTablesAndNumbers)
{
    // Cells without rows, rows without definitions, cell edges going backwards, far too many
    // cells, huge and negative numbers everywhere.
    QByteArray many = "{\\rtf1\\trowd";
    for (int i = 1; i <= 300; ++i)
        many += "\\cellx" + QByteArray::number(i * 30);
    many += "\\pard\\intbl";
    for (int i = 1; i <= 300; ++i)
        many += "c" + QByteArray::number(i) + "\\cell ";
    many += "\\row}";
    const QByteArray cases[] = {
        "{\\rtf1 text\\cell more\\cell\\row after\\par}",
        "{\\rtf1\\trowd\\cellx5000\\cellx100\\cellx-4000\\pard\\intbl a\\cell b\\cell c\\cell d\\cell\\row}",
        "{\\rtf1\\trowd\\clvmrg\\cellx100\\pard\\intbl x\\cell\\row\\trowd\\clvmgf\\cellx100\\row}",
        "{\\rtf1\\fs-5\\fs999999999 big\\li-99999999\\sl-2147483648\\tx-5\\tx99999999 t\\tab\\par"
        "\\paperw-5\\paperh0\\margl99999999 \\u-99999 \\uc-3\\u70000 \\'zz\\'\\ \\par}",
        many,
        "{\\rtf1{\\colortbl\\red999\\green-3;}{\\fonttbl{\\f0\\fcharset128;}{\\f1 noterminator}}\\cf9999\\f0 \\'82\\par}",
        "{\\rtf1\\itap3\\intbl a\\nestcell b\\nestrow\\cell\\row}",
        "\\rtf1 not in a group",
        QByteArray("{\\rtf1 nul\0byte\\par}", 20),
    };
    for (const QByteArray& rtf : cases) {
        RichDocument doc;
        load(doc, rtf);
        EXPECT_TRUE(doc.pageLayout().isUsable());
    }
    RichDocument table;
    load(table, many);
    QTextTable* t = nullptr;
    for (auto it = table.document()->rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* found = qobject_cast<QTextTable*>(it.currentFrame()))
            t = found;
    ASSERT_NE(t, nullptr);
    EXPECT_LE(t->columns(), 63);
    EXPECT_TRUE(table.plainText().contains("c300"));
}

TEST(RtfDamaged, PlainTextIsReadAsText)
{
    RichDocument doc;
    const RtfReadReport report = doc.loadRtf("Dear [First],\r\nplain text letter");
    EXPECT_TRUE(report.notRtf);
    EXPECT_EQ(doc.plainText(), "Dear [First],\nplain text letter");
}

TEST(RtfDamaged, TallerThanCanBeLaidOut)
{
    // Qt's layout never returns from a document taller than about 5 800 inches: such a
    // document loses its end, and says so, instead.
    QByteArray rtf = "{\\rtf1\\fs999\\sl31680 ";
    for (int i = 0; i < 600; ++i)
        rtf += "line " + QByteArray::number(i) + "\\par ";
    rtf += "}";
    RichDocument doc;
    const RtfReadReport report = load(doc, rtf);
    EXPECT_TRUE(report.text().contains("longer than can be laid out")) << report.text().toStdString();
    EXPECT_TRUE(doc.plainText().startsWith("line 0\nline 1\n"));
    EXPECT_LT(doc.document()->blockCount(), 600);
    EXPECT_GT(doc.document()->blockCount(), 10);
    EXPECT_LT(doc.document()->documentLayout()->documentSize().height(), 8388607);

    // Inserted into a document that is already long, only what fits goes in.
    QTextCursor c(doc.document());
    c.movePosition(QTextCursor::End);
    const RtfReadReport inserted = doc.insertRtf(rtf, c);
    EXPECT_TRUE(inserted.text().contains("longer than can be laid out"));
    EXPECT_LT(doc.document()->documentLayout()->documentSize().height(), 8388607);

    // A long letter of ordinary text is read whole.
    QByteArray ordinary = "{\\rtf1 ";
    for (int i = 0; i < 3000; ++i)
        ordinary += "An ordinary paragraph of a long document, a line or two of text each time.\\par ";
    ordinary += "}";
    RichDocument whole;
    EXPECT_TRUE(load(whole, ordinary).clean());
    EXPECT_EQ(whole.document()->blockCount(), 3000);
}
