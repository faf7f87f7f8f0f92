// What an editor sets on a document besides its text: the page layout (taken back to a usable
// one when its values leave no text area), word wrap, and the default font that text without a
// font of its own is written and read back with.

#include "support_richtext.h"

#include "pagedrawing.h"
#include "pagelayout.h"
#include "richdocument.h"

#include <QPageSize>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace postavo::richtext;

TEST(DocumentSettings, PageLayoutsAreTakenBackToUsableOnes)
{
    const PageLayout letter;
    EXPECT_TRUE(letter.isUsable());
    EXPECT_EQ(letter.normalized(), letter);
    EXPECT_EQ(letter.textRect(), QRectF(1440, 1440, 9360, 12960));

    // Margins wider than the paper are cut in proportion, keeping a quarter inch of text.
    PageLayout wide;
    wide.paperWidth = 4000;
    wide.marginLeft = 3000;
    wide.marginRight = 1000;
    EXPECT_FALSE(wide.isUsable());
    PageLayout p = wide.normalized();
    EXPECT_TRUE(p.isUsable());
    EXPECT_EQ(p.textWidth(), PageLayout::kMinimumText);
    EXPECT_EQ(p.marginLeft, 2730);
    EXPECT_EQ(p.marginRight, 910);
    EXPECT_EQ(p.marginTop, 1440);
    EXPECT_EQ(p.marginBottom, 1440);

    // Negative margins become 0; paper of no size or beyond 200 inches is clamped.
    PageLayout odd;
    odd.paperWidth = 0;
    odd.paperHeight = 999999999;
    odd.marginTop = -50;
    p = odd.normalized();
    EXPECT_TRUE(p.isUsable());
    EXPECT_EQ(p.paperWidth, 2 * PageLayout::kMinimumText);
    EXPECT_EQ(p.paperHeight, PageLayout::kMaximumPaper);
    EXPECT_EQ(p.marginTop, 0);

    // A document never keeps an unusable layout: its text width stays positive.
    RichDocument doc;
    doc.setPageLayout(odd);
    EXPECT_TRUE(doc.pageLayout().isUsable());
    EXPECT_EQ(doc.document()->textWidth(), doc.pageLayout().textWidth());
}

TEST(DocumentSettings, PrinterPageInPointsAndOrientation)
{
    const QPageLayout upright = PageLayout().toQPageLayout();
    EXPECT_EQ(upright.orientation(), QPageLayout::Portrait);
    EXPECT_NEAR(upright.fullRect(QPageLayout::Point).width(), 612, 0.01);
    EXPECT_NEAR(upright.fullRect(QPageLayout::Point).height(), 792, 0.01);
    EXPECT_NEAR(upright.margins(QPageLayout::Point).left(), 72, 0.01);

    // Envelope-like paper wider than tall: the upright size turned, the same sheet.
    PageLayout envelope;
    envelope.paperWidth = 13680;  // 9.5 inches
    envelope.paperHeight = 5940;  // 4.125 inches
    envelope.marginLeft = 720;
    envelope.marginRight = 360;
    envelope.marginTop = 540;
    envelope.marginBottom = 180;
    const QPageLayout turned = envelope.toQPageLayout();
    EXPECT_EQ(turned.orientation(), QPageLayout::Landscape);
    const QRectF full = turned.fullRect(QPageLayout::Point);
    EXPECT_NEAR(full.width(), 684, 0.01);
    EXPECT_NEAR(full.height(), 297, 0.01);
    const QMarginsF m = turned.margins(QPageLayout::Point);
    EXPECT_NEAR(m.left(), 36, 0.01);
    EXPECT_NEAR(m.right(), 18, 0.01);
    EXPECT_NEAR(m.top(), 27, 0.01);
    EXPECT_NEAR(m.bottom(), 9, 0.01);
}

TEST(DocumentSettings, WordWrapChangesTheLinesButNotThePages)
{
    RichDocument doc;
    QString words;
    for (int i = 0; i < 80; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    doc.loadRtf(QStringLiteral("{\\rtf1 %1\\par\\page second\\par}").arg(words).toLatin1());
    const QList<int> starts = pageStarts(doc);
    ASSERT_EQ(starts.size(), 2);

    auto linesOfFirst = [&] {
        doc.document()->size();  // lays the text out
        return doc.document()->begin().layout()->lineCount();
    };
    EXPECT_TRUE(doc.wordWrap());
    EXPECT_GT(linesOfFirst(), 3);

    doc.setWordWrap(false);
    EXPECT_FALSE(doc.wordWrap());
    EXPECT_EQ(linesOfFirst(), 1);
    EXPECT_EQ(pageStarts(doc), starts);

    // Reading another letter keeps the switch where the editor put it.
    doc.loadRtf(QStringLiteral("{\\rtf1 %1\\par}").arg(words).toLatin1());
    EXPECT_FALSE(doc.wordWrap());
    EXPECT_EQ(linesOfFirst(), 1);
    doc.setWordWrap(true);
    EXPECT_GT(linesOfFirst(), 3);
}

TEST(DocumentSettings, DefaultFontIsWrittenAndReadBack)
{
    RichDocument doc;
    EXPECT_EQ(doc.defaultFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(doc.defaultFont().pointSize(), 10);

    QFont times(QStringLiteral("Times New Roman"));
    times.setPointSize(12);
    doc.setDefaultFont(times);
    QTextCursor c(doc.document());
    c.insertText(QStringLiteral("Typed with the default font"));

    RichDocument back;
    back.loadRtf(doc.saveRtf());
    QTextCursor r(back.document());
    r.setPosition(3);
    const QTextCharFormat f = r.charFormat();
    const QString family = f.fontFamilies().toStringList().value(0, back.defaultFont().family());
    EXPECT_EQ(family, QStringLiteral("Times New Roman"));
    const double points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                                    : back.defaultFont().pointSizeF();
    EXPECT_DOUBLE_EQ(points, 12.0);

    // Clearing keeps the default font; copying brings the other document's.
    doc.clear();
    EXPECT_EQ(doc.defaultFont().family(), QStringLiteral("Times New Roman"));
    RichDocument copy;
    copy.copyFrom(doc);
    EXPECT_EQ(copy.defaultFont().family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(copy.defaultFont().pointSize(), 12);
}

TEST(DocumentSettings, PlainTextAndLineBreaks)
{
    EXPECT_EQ(withLineBreaks(QStringLiteral("a\r\nb\rc\nd")),
              QStringLiteral("a") + QChar(QChar::LineSeparator) + QStringLiteral("b") + QChar(QChar::LineSeparator)
                  + QStringLiteral("c") + QChar(QChar::LineSeparator) + QStringLiteral("d"));
    EXPECT_TRUE(looksLikeRtf(" \r\n\t{\\rtf1 x}"));
    EXPECT_FALSE(looksLikeRtf("rtf1"));
    EXPECT_FALSE(looksLikeRtf(""));

    RichDocument doc;
    doc.loadRtf(R"({\rtf1 one\line two\par three\page four\par})");
    EXPECT_EQ(doc.plainText(), QStringLiteral("one\ntwo\nthree\nfour"));
    EXPECT_EQ(doc.plainText(true), QStringLiteral("one\ntwo\nthree\n\ffour"));
}
