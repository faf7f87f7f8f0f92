// The printer layer: the built-in "PDF file" printer beside the system's, selection, paper and
// orientation, and a real job on the CUPS queue when the machine has one.
#include "devices.h"
#include "printcanvas.h"
#include "printers.h"
#include "testpage.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

using namespace postavo::printing;
using postavo::testing::runTool;
using postavo::testing::scratchDir;

TEST(Printers, PdfFileIsListedLastAndIsTheDefaultOnlyWithoutSystemPrinters)
{
    TPrinters none(QStringList{}, QString());
    EXPECT_EQ(none.printers(), QStringList{"PDF file"});
    EXPECT_TRUE(none.isPdfPrinter());
    EXPECT_FALSE(none.hasSystemPrinters());

    TPrinters two(QStringList{"Office", "Lab"}, "Lab");
    EXPECT_EQ(two.printers(), QStringList({"Office", "Lab", "PDF file"}));
    EXPECT_EQ(two.printerName(), "Lab");
    TPrinters noDefault(QStringList{"Office", "Lab"}, QString());
    EXPECT_EQ(noDefault.printerName(), "Office");

    EXPECT_TRUE(two.selectPrinter("pdf FILE"));
    EXPECT_EQ(two.printerIndex(), 2);
    EXPECT_EQ(two.driverName(), "PDF");
    EXPECT_TRUE(two.paperSources().isEmpty());
    EXPECT_FALSE(two.selectPrinter("Nowhere"));
    EXPECT_FALSE(two.selectPrinter(3));
    EXPECT_FALSE(two.selectPrinter(-1));
    EXPECT_EQ(two.printerIndex(), 2);
    EXPECT_TRUE(two.selectPrinter(0));
    EXPECT_EQ(two.printerName(), "Office");
}

TEST(Printers, PaperByCodeOrCustomSizeInTheCurrentOrientation)
{
    TPrinters p(QStringList{}, QString());
    ASSERT_TRUE(p.setPaperCode(20));
    EXPECT_DOUBLE_EQ(p.pageWidth(), 4.125);
    EXPECT_DOUBLE_EQ(p.pageHeight(), 9.5);
    EXPECT_EQ(p.paperCode(), 20);
    p.setOrientation(QPageLayout::Landscape);
    EXPECT_DOUBLE_EQ(p.pageWidth(), 9.5);
    EXPECT_DOUBLE_EQ(p.pageHeight(), 4.125);
    EXPECT_FALSE(p.setPaperCode(0));
    EXPECT_EQ(p.paperCode(), 20); // unchanged
    ASSERT_TRUE(p.setCustomPaper(1016, 1524));
    EXPECT_NEAR(p.pageWidth(), 6.0, 1e-9);
    EXPECT_NEAR(p.pageHeight(), 4.0, 1e-9);
    EXPECT_EQ(p.paperCode(), 0);
    p.setOrientation(QPageLayout::Portrait);
    ASSERT_TRUE(p.selectPaperName("A5"));
    EXPECT_EQ(p.paperCode(), 11);

    auto preview = p.createPreviewDocument();
    EXPECT_NEAR(preview->pageSize().width(), 148 / 25.4, 1e-9);
    EXPECT_EQ(preview->dpiX(), 1200);
}

TEST(Printers, PdfFilePrinterWritesTheJobToItsFile)
{
    const QString dir = scratchDir("pdf-printer");
    TPrinters p(QStringList{}, QString());
    p.setPdfFileChooser([] { return QString(); });
    QString error;
    EXPECT_EQ(p.createDevice(&error), nullptr);
    EXPECT_EQ(error, "No PDF file was chosen, aborting print job.");

    p.setPdfFileName(dir + "/envelope.pdf");
    p.setPaperCode(20);
    p.setOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(printTestPage(p, &error)) << error.toStdString();
    int rc = 0;
    const QString info = runTool("pdfinfo", {dir + "/envelope.pdf"}, &rc);
    EXPECT_TRUE(info.contains("684 x 297 pts")) << info.toStdString();
}

TEST(Printers, AbortedPdfJobLeavesNoFile)
{
    const QString dir = scratchDir("pdf-abort");
    PdfFileDevice device(dir + "/gone.pdf", QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, {}));
    TPrintCanvas c;
    c.setDevice(&device);
    EXPECT_FALSE(c.execute(nullptr, [](TPrintCanvas& c) {
        c.print("one");
        c.newPage();
        c.abort();
        c.print("after the abort");
    }));
    EXPECT_TRUE(c.aborted());
    EXPECT_FALSE(QFile::exists(dir + "/gone.pdf"));

    PdfFileDevice nowhere(dir + "/no/such/folder/x.pdf", QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, {}));
    c.setDevice(&nowhere);
    EXPECT_FALSE(c.execute(nullptr, [](TPrintCanvas& c) { c.print("x"); }));
    EXPECT_TRUE(c.lastError().startsWith("Unable to write the PDF file")) << c.lastError().toStdString();
}

// The system's default CUPS queue (a cups-pdf queue on the test machines): the job must reach it
// on the paper it asked for, although Qt opens every CUPS printer at A4.
TEST(CupsPrinter, TestPageReachesTheDefaultQueueOnLetter)
{
    int rc = 0;
    const QString def = runTool("lpstat", {"-d"}, &rc);
    if (rc != 0 || !def.contains("system default destination:"))
        GTEST_SKIP() << "no default CUPS printer";
    TPrinters printers;
    ASSERT_FALSE(printers.isPdfPrinter()) << "the CUPS default should be selected";
    const QString queue = printers.printerName();
    EXPECT_FALSE(printers.driverName().isEmpty());

    const QString outDir = QDir::homePath() + "/PDF";
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    const int before = runTool("lpstat", {"-W", "completed", "-o", queue}, &rc).count('\n');

    printers.setPaperCode(1);
    printers.setOrientation(QPageLayout::Portrait);
    QString error;
    ASSERT_TRUE(printTestPage(printers, &error)) << error.toStdString();

    // Wait (bounded) for the queue to finish the job.
    int after = before;
    for (int i = 0; i < 240 && after <= before; ++i) {
        QThread::msleep(250);
        after = runTool("lpstat", {"-W", "completed", "-o", queue}, &rc).count('\n');
    }
    EXPECT_GT(after, before) << "the job did not complete on " << queue.toStdString();

    // The command-line tool reaches the same queue by name.
    const QString tool = QStringLiteral(POSTAVO_BIN_DIR) + "/postavo-batch";
    const QString said = runTool(tool, {"test-page", "--printer", queue}, &rc);
    EXPECT_EQ(rc, 0) << said.toStdString();

    // A cups-pdf queue leaves its PDF in the user's PDF folder: it must be Letter, not A4.
    const QFileInfoList pdfs = QDir(outDir).entryInfoList({"*.pdf"}, QDir::Files, QDir::Time);
    if (pdfs.isEmpty() || pdfs.first().lastModified() < started)
        GTEST_SKIP() << "the queue's output is not where a cups-pdf queue puts it";
    const QString info = runTool("pdfinfo", {pdfs.first().absoluteFilePath()}, &rc);
    EXPECT_TRUE(info.contains("612 x 792 pts")) << info.toStdString();
}
