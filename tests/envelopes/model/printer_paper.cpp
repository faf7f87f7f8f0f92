// The printer side of an envelope job: the envelope's own paper from "PDF file", a printer that
// has no such paper (it keeps its own and says so), paper lists matched by size, and the
// "Envelope Printer" settings written and read back.
#include "envelopeprinter.h"
#include "printers.h"
#include "settings.h"
#include "testsupport.h"

#include <QPrinterInfo>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::envelopes;
using printing::TPrinters;

TEST(EnvelopePaper, PdfFileAlwaysHasTheEnvelopesOwnPaperTurnedAsTheFeedGoes)
{
    TPrinters p(QStringList{}, QString());
    ASSERT_TRUE(p.isPdfPrinter());
    FeedMethod feed; // landscape
    PaperChoice c = chooseEnvelopePaper(p, 20, feed);
    EXPECT_TRUE(c.envelopePaper);
    EXPECT_TRUE(c.note.isEmpty());
    EXPECT_DOUBLE_EQ(p.pageWidth(), 9.5);
    EXPECT_DOUBLE_EQ(p.pageHeight(), 4.125);
    feed.orientation = feedPortrait;
    chooseEnvelopePaper(p, 37, feed);
    EXPECT_DOUBLE_EQ(p.pageWidth(), 3.875);
    EXPECT_DOUBLE_EQ(p.pageHeight(), 7.5);
    // A code outside the table keeps the paper and says so.
    c = chooseEnvelopePaper(p, 99, feed);
    EXPECT_FALSE(c.envelopePaper);
    EXPECT_TRUE(c.note.contains("has no paper of its own")) << c.note.toStdString();
}

TEST(EnvelopePaper, APrinterWithoutEnvelopeSizesKeepsItsPaperAndSaysSo)
{
    TPrinters p(QStringList{"Plain Laser"}, "Plain Laser");
    ASSERT_FALSE(p.isPdfPrinter());
    const QString before = p.paperName();
    const PaperChoice c = chooseEnvelopePaper(p, 20, FeedMethod{});
    EXPECT_FALSE(c.envelopePaper);
    EXPECT_EQ(c.note, QStringLiteral("The printer \"Plain Laser\" does not offer the paper Envelope #10 4 1/8 x 9 1/2 "
                                     "inches. The envelope is placed on its %1 paper as the paper feed method says.")
                          .arg(before));
    EXPECT_EQ(p.paperName(), before);
    EXPECT_EQ(p.orientation(), QPageLayout::Landscape);
}

TEST(EnvelopePaper, PaperListsMatchByIdOrBySizeEitherWayRound)
{
    const QPageSize ten(QPageSize::Envelope10);
    QPageSize match;
    EXPECT_TRUE(pageSizeOffered({QPageSize(QPageSize::Letter), QPageSize(QPageSize::Envelope10)}, ten, &match));
    EXPECT_EQ(match.id(), QPageSize::Envelope10);
    const QPageSize driverOwn(QSizeF(684, 297), QPageSize::Point, "Com-10 Envelope", QPageSize::ExactMatch);
    EXPECT_TRUE(pageSizeOffered({driverOwn}, ten, &match)) << "a driver's own name, turned";
    EXPECT_EQ(match.name(), "Com-10 Envelope");
    EXPECT_FALSE(pageSizeOffered({QPageSize(QPageSize::Letter), QPageSize(QPageSize::A4)}, ten));
    EXPECT_FALSE(pageSizeOffered({}, ten));
}

TEST(EnvelopePaper, TheQueueOfThisMachineWhenThereIsOne)
{
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    if (queues.isEmpty())
        GTEST_SKIP() << "no printer queue on this machine (scripts/services starts one)";
    TPrinters p;
    ASSERT_TRUE(p.selectPrinter(queues.first()));
    const PaperChoice c = chooseEnvelopePaper(p, 20, FeedMethod{});
    const bool offered = pageSizeOffered(QPrinterInfo::printerInfo(queues.first()).supportedPageSizes(),
                                         QPageSize(QPageSize::Envelope10));
    EXPECT_EQ(c.envelopePaper, offered);
    if (offered) {
        EXPECT_NEAR(p.pageWidth(), 9.5, 0.02);
        EXPECT_NEAR(p.pageHeight(), 4.125, 0.02);
    } else {
        EXPECT_TRUE(c.note.contains("does not offer"));
    }
}

TEST(EnvelopePrinterSettings, WrittenAndReadBack)
{
    const QString dir = postavo::testing::scratchDir("envelope-printer");
    Settings s(dir + "/postav.ini");
    TPrinters first(QStringList{"Office", "Lab"}, "Office");
    first.selectPrinter("Lab");
    first.setOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(saveEnvelopePrinter(s, first, FeedMethod{feedPortrait, facingUp, positionLeft, true}));
    EXPECT_EQ(s.readString("Envelope Printer", "Printer"), "Lab");
    EXPECT_EQ(s.readString("Envelope Printer", "Orientation"), "1");
    EXPECT_EQ(readFeedMethod(s), (FeedMethod{feedPortrait, facingUp, positionLeft, true}));

    // Read by another window: the printer found by its name cut before " on ", any letter case.
    s.writeString("Envelope Printer", "Printer", "LAB on print-server");
    TPrinters second(QStringList{"Office", "Lab"}, "Office");
    loadEnvelopePrinter(second, s);
    EXPECT_EQ(second.printerName(), "Lab");
    EXPECT_EQ(second.orientation(), QPageLayout::Landscape);
    // A printer that is gone leaves the current one.
    s.writeString("Envelope Printer", "Printer", "Gone");
    TPrinters third(QStringList{"Office", "Lab"}, "Office");
    loadEnvelopePrinter(third, s);
    EXPECT_EQ(third.printerName(), "Office");
    // The paper of "PDF file" by its name.
    TPrinters pdf(QStringList{}, QString());
    pdf.setPaperCode(28);
    ASSERT_TRUE(saveEnvelopePrinter(s, pdf, FeedMethod{}));
    TPrinters again(QStringList{}, QString());
    loadEnvelopePrinter(again, s);
    EXPECT_EQ(again.paperCode(), 28);
}
