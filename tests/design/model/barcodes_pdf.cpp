// A label layout with an address block, a POSTNET code and a FIM printed by
// "postavo-batch layout render" into a real PDF, rasterised at 1200 dots per inch: bar widths,
// pitch and heights within 0.002 inch, and the address lines where they belong.
#include "addressdata.h"
#include "fimbarcode.h"
#include "fimmark.h"
#include "layoutdocument.h"
#include "multilineobjects.h"
#include "pdfreading.h"
#include "postnet.h"
#include "postnetbarcode.h"
#include "testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::testing::columnHeight;
using postavo::testing::PdfGray;
using postavo::testing::renderPdfGray;
using postavo::testing::runTool;
using postavo::testing::runsOnRow;
using postavo::testing::scratchDir;

namespace {

constexpr double kDpi = 1200.0;
constexpr double kTolerance = 0.002 * kDpi; // 2.4 dots

struct Fixture {
    QString dir, layout, data, pdf;
};

Fixture renderLabel()
{
    Fixture f;
    f.dir = scratchDir("objects-barcodes");
    f.data = f.dir + "/add0001.DBF";
    f.layout = f.dir + "/BIN00001.L";
    f.pdf = f.dir + "/label.pdf";
    if (!postavo::testing::makeAddressRecords(
            f.data, {{{"FNAME", "Ann"}, {"LNAME", "Other"}, {"ZIP", "00000"}},
                     {{"PREFIX", "Mr."}, {"FNAME", "John"}, {"MIDDLE", "Q"}, {"LNAME", "Smith"},
                      {"STREET", "123 Main St"}, {"CITY", "Springfield"}, {"STATE", "IL"}, {"ZIP", "12345-6789"}}}))
        return {};
    LayoutDocument doc;
    ObjectList& s = *doc.bands[0];
    auto* address = new TGDMultiLineAddressLabel;
    address->setObjectName("Special1");
    address->setBounds(10, 10, 300, 80);
    s.insertObject(address);
    auto* bars = new TGPostNetBarCode;
    bars->setObjectName("Special2");
    bars->ZipCodeField = "ZIP";
    bars->AddressField = "STREET";
    bars->setBounds(96, 144, 270, 16);   // 1 inch, 1.5 inch
    s.insertObject(bars);
    auto* mark = new TGFIMBarCode;
    mark->setObjectName("Special3");
    mark->FIMType = fimTypeC;
    mark->setBounds(96, 240, 60, 54);    // 1 inch, 2.5 inch
    s.insertObject(mark);
    QString error;
    if (!writeLayoutDocument(doc, f.layout, &error))
        return {};
    return f;
}

} // namespace

TEST(BarcodesPdf, PostnetAndFimMeasureTrueAt1200Dpi)
{
    const Fixture f = renderLabel();
    ASSERT_FALSE(f.dir.isEmpty());
    int rc = 0;
    const QString out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                                {"layout", "render", f.layout, "--data", f.data, "--record", "2", "--label-size",
                                 "4x3", "--pdf", f.pdf},
                                &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();

    // POSTNET: 12345-6789 at 123 Main St is 12345678923 and check digit 0: 62 bars.
    const QString digits = postnet::encodedDigits("12345-6789", "123 Main St", postnet::Kind::ElevenDigit);
    const auto pattern = postnet::barPattern(digits);
    ASSERT_EQ(pattern.size(), 62u);
    const PdfGray g = renderPdfGray(f.pdf, 1150, 1750, 3500, 250, f.dir);
    ASSERT_GT(g.w, 0);
    const int baselineRow = int(1.62 * kDpi), tallRow = int(1.51 * kDpi);
    const auto all = runsOnRow(g, baselineRow);
    ASSERT_EQ(all.size(), 62u);
    const auto tall = runsOnRow(g, tallRow);
    EXPECT_EQ(tall.size(), size_t(std::count(pattern.begin(), pattern.end(), true)));
    EXPECT_NEAR(all.front().left, 1.0 * kDpi, kTolerance);
    EXPECT_NEAR(all.back().right - all.front().left, 2.821 * kDpi, kTolerance);
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_NEAR(all[i].right - all[i].left, 0.015 * kDpi, kTolerance) << "bar " << i;
        if (i > 0) {
            EXPECT_NEAR(all[i].left - all[i - 1].left, 0.046 * kDpi, kTolerance) << "bar " << i;
        }
        const int mid = (all[i].left + all[i].right) / 2;
        const int h = columnHeight(g, mid, baselineRow);
        EXPECT_NEAR(h, (pattern[i] ? 0.125 : 0.055) * kDpi, kTolerance) << "bar " << i;
        // Every bar stands on the same baseline.
        int bottom = baselineRow;
        while (g.dark(mid, bottom))
            ++bottom;
        EXPECT_NEAR(bottom, 1.625 * kDpi, kTolerance) << "bar " << i;
    }

    // FIM C: bars at positions 1, 3, 7, 11, 15, 17, 1/32 inch wide and 9/16 inch high.
    const PdfGray m = renderPdfGray(f.pdf, 1150, 2950, 800, 800, f.dir);
    ASSERT_GT(m.w, 0);
    const auto fimBars = runsOnRow(m, int(2.8 * kDpi));
    const auto positions = fim::positions(fim::Type::C);
    ASSERT_EQ(fimBars.size(), positions.size());
    for (size_t i = 0; i < fimBars.size(); ++i) {
        EXPECT_NEAR(fimBars[i].left, (1.0 + (positions[i] - 1) / 32.0) * kDpi, kTolerance) << "FIM bar " << i;
        EXPECT_NEAR(fimBars[i].right - fimBars[i].left, kDpi / 32.0, kTolerance) << "FIM bar " << i;
        EXPECT_NEAR(columnHeight(m, (fimBars[i].left + fimBars[i].right) / 2, int(2.8 * kDpi)), 0.5625 * kDpi,
                    kTolerance);
    }

    // The address block of record 2, line under line from the label's corner.
    const QString text = runTool("pdftotext", {"-layout", f.pdf, "-"}, &rc);
    EXPECT_TRUE(text.contains("Mr. John Q. Smith")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Springfield\\s+IL 12345-6789")));
    EXPECT_LT(text.indexOf("Mr. John"), text.indexOf("123 Main St"));
}

TEST(BarcodesPdf, RenderRefusesBadArguments)
{
    const Fixture f = renderLabel();
    ASSERT_FALSE(f.dir.isEmpty());
    int rc = 0;
    QString out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                          {"layout", "render", f.layout, "--data", f.data, "--record", "9", "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 1) << out.toStdString();
    EXPECT_FALSE(QFile::exists(f.pdf));
    out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                  {"layout", "render", f.layout, "--data", f.data, "--label-size", "wide", "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 2);
    out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                  {"layout", "render", f.dir + "/missing.L", "--data", f.data, "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 1);
}
