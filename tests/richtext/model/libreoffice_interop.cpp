// LibreOffice as an independent word processor: documents it writes as RTF read with the right
// text, fonts, sizes, alignment and page, and the RTF we write opens in it with the same text
// and the same pages. The documents are made from sources kept with the tests; without
// LibreOffice these tests are skipped.

#include "support_richtext.h"

#include "formatproperties.h"
#include "layoutunits.h"
#include "pagedrawing.h"
#include "richdocument.h"

#include <QDir>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace postavo::richtext;
using namespace postavo::testing;

namespace {

QTextCharFormat firstFormat(const QTextBlock& block)
{
    return block.begin().fragment().charFormat();
}

QTextBlock blockStarting(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.text().startsWith(text))
            return b;
    ADD_FAILURE() << "no paragraph starting with " << text.toStdString();
    return {};
}

QStringList words(QString text)
{
    text.remove(QChar(0xFEFF));
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

class LibreOfficeInterop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (sofficePath().isEmpty())
            return;
        dir_ = new QString(scratchDir("libreoffice"));
        // Few converter runs: each starts LibreOffice.
        QString log;
        formats_ = new QString(sofficeConvert(dataPath("libreoffice/formats.fodt"), "rtf", *dir_, &log));
        if (formats_->isEmpty())
            qWarning("%s", qPrintable(log));
        letterhead_ = new QString(sofficeConvert(dataPath("libreoffice/letterhead.html"), "rtf", *dir_, &log,
                                                 {"--infilter=HTML (StarWriter)"}));
        if (letterhead_->isEmpty())
            qWarning("%s", qPrintable(log));
    }
    void SetUp() override
    {
        if (sofficePath().isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-writer-nogui";
    }
    static QString* dir_;
    static QString* formats_;
    static QString* letterhead_;
};

QString* LibreOfficeInterop::dir_ = nullptr;
QString* LibreOfficeInterop::formats_ = nullptr;
QString* LibreOfficeInterop::letterhead_ = nullptr;

} // namespace

TEST_F(LibreOfficeInterop, WrittenByLibreOfficeReadsRight)
{
    ASSERT_FALSE(formats_->isEmpty()) << "the converter made no RTF";
    RichDocument doc;
    const RtfReadReport report = doc.loadRtf(readBytes(*formats_));
    EXPECT_FALSE(report.damaged) << report.text().toStdString();
    const QTextDocument& d = *doc.document();

    const QTextBlock title = blockStarting(d, "Membership Renewal");
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(firstFormat(title).fontFamilies().toStringList(), QStringList{"Liberation Sans"});
    EXPECT_DOUBLE_EQ(firstFormat(title).fontPointSize(), 16);
    EXPECT_EQ(firstFormat(title).fontWeight(), QFont::Bold);

    const QTextBlock place = blockStarting(d, "Portland, Maine");
    EXPECT_EQ(place.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(firstFormat(place).fontFamilies().toStringList(), QStringList{"Liberation Mono"});
    EXPECT_DOUBLE_EQ(firstFormat(place).fontPointSize(), 10);
    EXPECT_TRUE(firstFormat(place).fontItalic());

    const QTextBlock body = blockStarting(d, "Dear [Full Name]");
    const QTextBlockFormat bf = body.blockFormat();
    EXPECT_EQ(bf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(bf.leftMargin(), 720);
    EXPECT_DOUBLE_EQ(bf.rightMargin(), 360);
    EXPECT_DOUBLE_EQ(bf.textIndent(), 360);
    EXPECT_EQ(scaledToTwips(bf.topMargin()), 144);
    EXPECT_EQ(scaledToTwips(bf.bottomMargin()), 288);
    EXPECT_DOUBLE_EQ(firstFormat(body).fontPointSize(), 11);
    EXPECT_EQ(firstFormat(body).fontFamilies().toStringList(), QStringList{"Liberation Serif"});
    bool red = false;
    for (auto it = body.begin(); !it.atEnd(); ++it)
        if (it.fragment().text() == "red underlined words") {
            red = true;
            EXPECT_EQ(it.fragment().charFormat().foreground().color(), QColor("#c00000"));
            EXPECT_EQ(it.fragment().charFormat().underlineStyle(), QTextCharFormat::SingleUnderline);
        }
    EXPECT_TRUE(red);

    EXPECT_EQ(doc.pageLayout().paperWidth, 12240);
    EXPECT_EQ(doc.pageLayout().paperHeight, 15840);
    EXPECT_EQ(doc.pageLayout().marginLeft, 1800);
    EXPECT_EQ(doc.pageLayout().marginRight, 1440);
    EXPECT_EQ(doc.pageLayout().marginTop, 1080);
    EXPECT_EQ(doc.pageLayout().marginBottom, 720);
    EXPECT_EQ(pageCount(doc), 2);
    EXPECT_EQ(pageOfPosition(doc, blockStarting(d, "Second page").position()), 1);
}

TEST_F(LibreOfficeInterop, TableWrittenByLibreOfficeReadsRight)
{
    ASSERT_FALSE(letterhead_->isEmpty()) << "the converter made no RTF";
    RichDocument doc;
    doc.loadRtf(readBytes(*letterhead_));
    const QTextDocument& d = *doc.document();
    QTextTable* table = nullptr;
    for (auto it = d.rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            table = t;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), 2);
    const QTextBlock name = table->cellAt(0, 0).firstCursorPosition().block();
    EXPECT_EQ(name.text(), "Harbor View Books");
    EXPECT_EQ(firstFormat(name).fontWeight(), QFont::Bold);
    EXPECT_EQ(firstFormat(name).fontFamilies().toStringList(), QStringList{"Liberation Sans"});
    const QTextBlock address = table->cellAt(0, 1).firstCursorPosition().block();
    EXPECT_TRUE(address.text().startsWith("120 Water Street")) << address.text().toStdString();
    EXPECT_EQ(address.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    const QTextBlock since = blockStarting(d, "Since 1987");
    EXPECT_EQ(since.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(firstFormat(since).fontItalic());
    EXPECT_TRUE(doc.plainText().contains(QString::fromUtf8("Dear [First], café € — plain text after the table.")));
}

TEST_F(LibreOfficeInterop, OurRtfOpensWithTheSameTextAndPages)
{
    RichDocument letter;
    letter.loadRtf(readBytes(dataPath("letter.rtf")));
    const QString ours = *dir_ + "/ours.rtf";
    writeBytes(ours, letter.saveRtf());

    QString log;
    const QString txt = sofficeConvert(ours, "txt:Text (encoded):UTF8", *dir_, &log);
    ASSERT_FALSE(txt.isEmpty()) << log.toStdString();
    EXPECT_EQ(words(QString::fromUtf8(readBytes(txt))), words(letter.plainText()));

    const QString pdf = sofficeConvert(ours, "pdf", *dir_, &log);
    ASSERT_FALSE(pdf.isEmpty()) << log.toStdString();
    EXPECT_EQ(pdfPageCount(pdf), pageCount(letter));
    int code = 0;
    const QString info = runTool("pdfinfo", {pdf}, &code);
    EXPECT_TRUE(info.contains("612 x 792 pts")) << info.toStdString();
    // LibreOffice puts the text at our margins too: the date's left edge at 1 inch.
    for (const PdfWord& w : pdfWords(pdf))
        if (w.text == "[Long") {
            EXPECT_NEAR(w.xMin, 72.0, 0.72);
            break;
        }
}
