// The Intelligent Mail barcode: the standard's published example codes (USPS-B-3200, the four
// examples of its reference encoder), the fields a mailer types, the routing code a record
// gives, the object in layout files, and the 65 bars read back from a 600 dpi raster of a PDF
// that "postavo-batch layout render" wrote.
#include "addressdata.h"
#include "classregistry.h"
#include "intelligentmail.h"
#include "intelligentmailbarcode.h"
#include "labelobjectfiler.h"
#include "layoutdocument.h"
#include "pdfreading.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::testing::PdfGray;
using postavo::testing::renderPdfGray;
using postavo::testing::runTool;
using postavo::testing::scratchDir;

namespace {

struct Example {
    const char* routing;
    const char* bars;
};

// Tracking code 01 234 567094 987654321 with no routing code, a 5-digit zip, ZIP+4 and a
// delivery point.
const Example kExamples[] = {
    {"", "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
    {"01234", "DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
    {"012345678", "ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
    {"01234567891", "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
};

const imb::Fields kExampleFields{"01", "234", "567094", "987654321"};

} // namespace

TEST(IntelligentMail, PublishedExamplesEncodeToTheirBars)
{
    const QString tracking = imb::trackingCode(kExampleFields);
    ASSERT_EQ(tracking, "01234567094987654321");
    for (const Example& e : kExamples) {
        QString error;
        EXPECT_EQ(imb::encodeBars(tracking, e.routing, &error), QString(e.bars)) << e.routing << " " << error.toStdString();
    }
    QString error;
    EXPECT_TRUE(imb::encodeBars(tracking, "1234", &error).isEmpty()) << "a routing code of 4 digits";
    EXPECT_FALSE(error.isEmpty());
}

TEST(IntelligentMail, FieldsAreCheckedAsTheMailerTypesThem)
{
    EXPECT_TRUE(imb::fieldsProblem(kExampleFields).isEmpty());
    EXPECT_TRUE(imb::fieldsProblem({"00", "700", "912345678", "123456"}).isEmpty()) << "9-digit mailer id";
    struct Bad {
        imb::Fields f;
        const char* says;
    };
    const Bad bad[] = {
        {{"0", "234", "567094", "987654321"}, "barcode identifier must be 2 digits"},
        {{"05", "234", "567094", "987654321"}, "second digit of the barcode identifier must be 0 to 4"},
        {{"01", "23", "567094", "987654321"}, "service type must be 3 digits"},
        {{"01", "234", "56709", "987654321"}, "mailer identifier must be 6 or 9 digits"},
        {{"01", "234", "567094", "98765432"}, "serial number must be 9 digits"},
        {{"01", "234", "567094123", "987654"}, "9-digit mailer identifier begins with 9"},
        {{"01", "234", "967094", "987654321"}, "6-digit mailer identifier does not begin with 9"},
        {{"01", "2x4", "567094", "987654321"}, "service type must be 3 digits"},
    };
    for (const Bad& b : bad) {
        const QString problem = imb::fieldsProblem(b.f);
        EXPECT_TRUE(problem.contains(b.says)) << problem.toStdString();
        EXPECT_TRUE(imb::trackingCode(b.f).isEmpty());
    }
}

TEST(IntelligentMail, RoutingCodeComesFromTheRecordsZipAndStreet)
{
    using imb::Routing;
    EXPECT_EQ(imb::routingCode("12345-6789", "123 Main St", Routing::Zip11), "12345678923");
    EXPECT_EQ(imb::routingCode("12345-6789", "123 Main St", Routing::Zip9), "123456789");
    EXPECT_EQ(imb::routingCode("12345-6789", "123 Main St", Routing::Zip5), "12345");
    EXPECT_EQ(imb::routingCode("12345-6789", "123 Main St", Routing::None), "");
    EXPECT_EQ(imb::routingCode("12345", "123 Main St", Routing::Zip11), "12345") << "no ZIP+4, no delivery point";
    EXPECT_EQ(imb::routingCode("12345-6789", "PO Box 7", Routing::Zip11), "12345678907");
    EXPECT_EQ(imb::routingCode("K1A 0B1", "", Routing::Zip5), "") << "not a US zip code";
    EXPECT_EQ(imb::routingCode("1234", "", Routing::Zip5), "");
}

TEST(IntelligentMail, ObjectPrintsNothingWithoutSoundFieldsOrRoutingCode)
{
    TGIntelligentMailBarCode o;
    o.zipText = "01234-5678";
    o.addressText = "91 Main St";
    EXPECT_TRUE(o.printedBars().isEmpty()) << "no service type, mailer or serial yet";
    EXPECT_EQ(o.screenBars(), QString(kExamples[3].bars)) << "the designer shows the standard's example";
    o.setSettings({kExampleFields, imbZip11, "ZIP", "STREET"});
    o.zipText = "01234-5678"; // (taking settings reads the record again; here there is none)
    o.addressText = "91 Main St";
    EXPECT_EQ(o.printedBars(), QString(kExamples[3].bars));
    o.zipText = "K1A 0B1";
    EXPECT_TRUE(o.printedBars().isEmpty()) << "a routing code was asked for and the zip cannot give it";
    o.RoutingCode = imbNoRouting;
    EXPECT_EQ(o.printedBars(), QString(kExamples[0].bars));
    EXPECT_NEAR(imb::codeLength(), 64 / 22.0 + 0.020, 1e-12);
}

TEST(IntelligentMail, LayoutFilesCarryTheObjectOnlyWhenUsed)
{
    registerStandardDesignClasses();
    ASSERT_NE(findDesignClass("tgintelligentmailbarcode"), nullptr);
    const QString dir = scratchDir("imb-layout");
    LayoutDocument doc;
    auto* o = new TGIntelligentMailBarCode;
    o->setObjectName("Special1");
    o->setSettings({kExampleFields, imbZip9, "ZIP", "STREET2"});
    o->setBounds(96, 96, 282, 14);
    doc.bands[0]->insertObject(o);
    QString error;
    ASSERT_TRUE(writeLayoutDocument(doc, dir + "/imb.E", &error)) << error.toStdString();
    const QByteArray bytes = postavo::testing::readBytes(dir + "/imb.E");
    EXPECT_TRUE(bytes.contains("TGIntelligentMailBarCode"));
    EXPECT_TRUE(bytes.contains("\x0bRoutingCode\x07\x07imbZip9"));

    LayoutDocument back;
    ASSERT_TRUE(readLayoutDocument(dir + "/imb.E", &back, &error)) << error.toStdString();
    ASSERT_EQ(back.objectCount(), 1);
    const auto* r = qobject_cast<TGIntelligentMailBarCode*>(back.bands[0]->designObjects().front());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->settings(), o->settings());
    EXPECT_EQ(r->boundsRect(), QRect(96, 96, 282, 14));
    EXPECT_TRUE(r->menuBuilt());
    // (Files without the object are unchanged byte for byte: the layout format's golden tests.)
}

TEST(IntelligentMail, BarsReadBackFromA600DpiRasterOfThePdf)
{
    constexpr double kDpi = 600;
    const QString dir = scratchDir("imb-pdf");
    const QString data = dir + "/add0001.DBF", layout = dir + "/BIN00001.E", pdf = dir + "/imb.pdf";
    ASSERT_TRUE(postavo::testing::makeAddressRecords(
        data, {{{"LNAME", "Example"}, {"STREET", "91 Main St"}, {"ZIP", "01234-5678"}},
               {{"LNAME", "Five"}, {"STREET", "9 Elm"}, {"ZIP", "01234"}}}));
    for (int record : {1, 2}) {
        LayoutDocument doc;
        auto* o = new TGIntelligentMailBarCode;
        o->setObjectName("Special1");
        o->setSettings({kExampleFields, imbZip11, "ZIP", "STREET"});
        o->setBounds(96, 96, 282, 14); // at 1 inch, 1 inch
        doc.bands[0]->insertObject(o);
        QString error;
        ASSERT_TRUE(writeLayoutDocument(doc, layout, &error));
        int rc = 0;
        const QString out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                                    {"layout", "render", layout, "--data", data, "--record", QString::number(record),
                                     "--label-size", "5x3", "--pdf", pdf},
                                    &rc);
        ASSERT_EQ(rc, 0) << out.toStdString();
        const PdfGray g = renderPdfGray(pdf, 500, 500, 2000, 200, dir, int(kDpi));
        ASSERT_GT(g.w, 0);
        // Each bar in the middle of its column; the ascender, tracker and descender rows.
        const int top = int((1 + imb::kExtenderHeight / 2) * kDpi);
        const int middle = int((1 + imb::kExtenderHeight + imb::kTrackerHeight / 2) * kDpi);
        const int bottom = int((1 + imb::kExtenderHeight + imb::kTrackerHeight + imb::kExtenderHeight / 2) * kDpi);
        QString read;
        for (int i = 0; i < imb::kBarCount; ++i) {
            const int x = int((1 + i * imb::kBarPitch + imb::kBarWidth / 2) * kDpi);
            EXPECT_TRUE(g.dark(x, middle)) << "bar " << i << " has its tracker";
            const bool up = g.dark(x, top), down = g.dark(x, bottom);
            read += up && down ? 'F' : up ? 'A' : down ? 'D' : 'T';
        }
        EXPECT_EQ(read, QString(record == 1 ? kExamples[3].bars : kExamples[1].bars));
        // The geometry: 65 bars 0.020 inch wide at 22 to the inch, full bars 0.145 inch high.
        const auto bars = postavo::testing::runsOnRow(g, middle);
        ASSERT_EQ(bars.size(), 65u);
        EXPECT_NEAR(bars.front().left / kDpi, 1.0, 0.004);
        EXPECT_NEAR((bars.back().right - bars.front().left) / kDpi, imb::codeLength(), 0.004);
        for (size_t i = 0; i < bars.size(); ++i)
            EXPECT_NEAR((bars[i].right - bars[i].left) / kDpi, imb::kBarWidth, 0.004) << "bar " << i;
        const int full = int(read.indexOf('F'));
        ASSERT_GE(full, 0);
        const int fx = int((1 + full * imb::kBarPitch + imb::kBarWidth / 2) * kDpi);
        EXPECT_NEAR(postavo::testing::columnHeight(g, fx, middle) / kDpi, imb::kFullHeight, 0.004);
        const int tracker = int(read.indexOf('T'));
        ASSERT_GE(tracker, 0);
        const int tx = int((1 + tracker * imb::kBarPitch + imb::kBarWidth / 2) * kDpi);
        EXPECT_NEAR(postavo::testing::columnHeight(g, tx, middle) / kDpi, imb::kTrackerHeight, 0.004);
    }
}
