// postavo-batch label-sheet: real PDF files measured with poppler. Every label's edges lie within
// 0.005 inch of the makers' figures and every position number sits in its label, for Avery 5160
// (3 x 10 on letter), Avery L7163 (2 x 7 on A4) and round labels on a landscape sheet; bad
// layouts write nothing.
#include "engine/recordengine.h"
#include "labellayoutcatalogue.h"
#include "labelplacement.h"
#include "pdfreading.h"
#include "support_labels.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cmath>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

constexpr int kDpi = 300;
constexpr double kTolerance = 0.005;

struct ToolRun {
    QString out;
    int code = -1;
};

ToolRun batch(const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(POSTAVO_BIN_DIR "/postavo-batch"), args);
    ToolRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.out = QString::fromUtf8(p.readAll());
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

bool havePoppler()
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-v")});
    return p.waitForFinished(10000);
}

// The centres of the dark runs down one column of the page, in dots.
std::vector<double> runCentresDown(const postavo::testing::PdfGray& g, int x)
{
    std::vector<double> out;
    for (int y = g.y0; y < g.y0 + g.h; ++y) {
        if (!g.dark(x, y))
            continue;
        int e = y;
        while (g.dark(x, e))
            ++e;
        out.push_back((y + e) / 2.0);
        y = e;
    }
    return out;
}

std::vector<double> runCentresAcross(const postavo::testing::PdfGray& g, int y)
{
    std::vector<double> out;
    for (const auto& r : postavo::testing::runsOnRow(g, y))
        out.push_back((r.left + r.right) / 2.0);
    return out;
}

// The drawn edge nearest to where it should be, in inches; NaN when there is none near.
double nearestEdge(const std::vector<double>& centresDots, double expectedInches)
{
    double best = NAN;
    for (double c : centresDots) {
        const double inches = c / kDpi;
        if (std::isnan(best) || std::fabs(inches - expectedInches) < std::fabs(best - expectedInches))
            best = inches;
    }
    return best;
}

class LabelSheetPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!havePoppler())
            GTEST_SKIP() << "poppler's pdftoppm is not installed";
        QDir().mkpath(dir.path("sysdata"));
        catalogue = std::make_unique<LabelLayoutCatalogue>(dir.path("sysdata"));
        QString message;
        ASSERT_TRUE(catalogue->open(&message)) << message.toStdString();
    }
    void addLayout(const QString& description, const LabelSheetDefinition& d)
    {
        LabelLayoutRow row = catalogue->newLayout(d);
        row.description = description;
        LabelSurface empty;
        QString error;
        ASSERT_TRUE(catalogue->save(row, empty, &error)) << error.toStdString();
    }
    // Runs the command and measures every label of the sheet against the placement rule.
    void measure(const QString& layout, const LabelSheetDefinition& d, const char* pageSize)
    {
        catalogue->close();
        const QString pdf = dir.path(layout + ".pdf");
        const ToolRun r = batch({"label-sheet", "--folder", dir.path(), "--layout", layout, "--pdf", pdf});
        ASSERT_EQ(r.code, 0) << r.out.toStdString();
        // POSTAVO_KEEP_PDF=folder keeps a copy to look at.
        if (const QString keep = qEnvironmentVariable("POSTAVO_KEEP_PDF"); !keep.isEmpty())
            QFile::copy(pdf, keep + "/" + layout + ".pdf");
        EXPECT_TRUE(postavo::testing::pdfInfo(pdf).contains(QLatin1String(pageSize))) << postavo::testing::pdfInfo(pdf).toStdString();
        const auto g = postavo::testing::renderPdfGray(pdf, 0, 0, int(d.sheetWidth * kDpi), int(d.sheetDepth * kDpi),
                                                       dir.path(), kDpi);
        ASSERT_GT(g.w, 0);
        const auto words = postavo::testing::pdfWords(pdf);
        for (int i = 0; i < d.positionCount(); ++i) {
            const QRectF want = labelRect(d, i);
            const int midX = int(want.center().x() * kDpi), midY = int(want.center().y() * kDpi);
            const auto across = runCentresAcross(g, midY);
            const auto down = runCentresDown(g, midX);
            const double left = nearestEdge(across, want.left()), right = nearestEdge(across, want.right());
            const double top = nearestEdge(down, want.top()), bottom = nearestEdge(down, want.bottom());
            EXPECT_NEAR(left, want.left(), kTolerance) << layout.toStdString() << " label " << i + 1;
            EXPECT_NEAR(right, want.right(), kTolerance) << layout.toStdString() << " label " << i + 1;
            EXPECT_NEAR(top, want.top(), kTolerance) << layout.toStdString() << " label " << i + 1;
            EXPECT_NEAR(bottom, want.bottom(), kTolerance) << layout.toStdString() << " label " << i + 1;
            // The number sits in the middle of its label (pdftotext measures in points).
            const auto* w = postavo::testing::findWord(words, QString::number(i + 1));
            ASSERT_NE(w, nullptr) << "number " << i + 1;
            EXPECT_NEAR((w->xMin + w->xMax) / 2 / 72, want.center().x(), 0.03) << "number " << i + 1;
            EXPECT_NEAR((w->yMin + w->yMax) / 2 / 72, want.center().y(), 0.05) << "number " << i + 1;
        }
        EXPECT_EQ(int(words.size()), d.positionCount());
    }
    ScratchDir dir;
    std::unique_ptr<LabelLayoutCatalogue> catalogue;
};

} // namespace

TEST_F(LabelSheetPdf, Avery5160OnLetter)
{
    addLayout("Christmas cards", avery5160());
    measure("christmas CARDS", avery5160(), "612 x 792 pts (letter)");
}

TEST_F(LabelSheetPdf, AveryL7163OnA4)
{
    addLayout("Club members", averyL7163());
    measure("Club members", averyL7163(), "(A4)");
}

TEST_F(LabelSheetPdf, RoundLabelsOnALandscapeSheetWithMiddleGaps)
{
    LabelSheetDefinition d = asUserDefined(avery5160());
    d.lblShape = "EL";
    d.lblWidth = 1.5f;
    d.lblHeight = 1.5f;
    d.nbrAcross = 6;
    d.nbrDown = 4;
    d.horizPitch = 1.7f;
    d.vertPitch = 1.8f;
    d.leftMarg = 0.3f;
    d.topMarg = 0.5f;
    d.midExtraX = 0.25;
    d.midExtraY = 0.2;
    d.paperSize = "LTRL";
    d.sheetWidth = 11;
    d.sheetDepth = 8.5;
    addLayout("Seals", d);
    measure("Seals", d, "792 x 612 pts");
}

TEST_F(LabelSheetPdf, BadLayoutsWriteNothing)
{
    addLayout("Good", avery5160());
    // Rows another program wrote: a sheet too large for its paper, and one with no height.
    LabelSheetDefinition tooWide = avery5160();
    tooWide.horizPitch = 3.2f;
    LabelSheetDefinition flat = avery5160();
    flat.lblHeight = 0;
    for (auto [name, d] : {std::pair<const char*, LabelSheetDefinition>{"Too wide", tooWide}, {"Flat", flat}}) {
        engine::Table* t = catalogue->table();
        t->appendBlank();
        t->replace("DESCRIPT", name);
        writeLayoutRow(*t, d);
        t->replace("BINARY", "BIN00099.L");
        t->commit();
    }
    catalogue->close();
    const QString pdf = dir.path("out.pdf");
    struct Case {
        QStringList args;
        int code;
        const char* says;
    };
    const QString folder = dir.path();
    const Case cases[] = {
        {{"--folder", folder, "--layout", "Too wide", "--pdf", pdf}, 1, "do not fit across the page"},
        {{"--folder", folder, "--layout", "Flat", "--pdf", pdf}, 1, "Label Height must be at least .3 inches"},
        {{"--folder", folder, "--layout", "Nothing", "--pdf", pdf}, 1, "There is no label layout \"Nothing\""},
        {{"--folder", dir.path("nowhere"), "--layout", "Good", "--pdf", pdf}, 1, "There is no folder"},
        {{"--folder", folder, "--layout", "Good"}, 2, "usage: postavo-batch label-sheet"},
    };
    for (const Case& c : cases) {
        const ToolRun r = batch(QStringList{"label-sheet"} + c.args);
        EXPECT_EQ(r.code, c.code) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QLatin1String(c.says))) << r.out.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_FALSE(QFile::exists(pdf + ".part"));
    }
    // A folder without a catalogue gets none.
    ScratchDir empty;
    QDir().mkpath(empty.path("sysdata"));
    const ToolRun r = batch({"label-sheet", "--folder", empty.path(), "--layout", "Good", "--pdf", pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(QDir(empty.path("sysdata")).isEmpty());
}
