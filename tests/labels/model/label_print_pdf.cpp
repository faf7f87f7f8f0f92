// postavo-batch labels and presort: a real PDF of one 3 x 10 sheet read back with poppler (every
// name inside its label at the same place, every label's POSTNET bars decoded from a 600 dpi
// raster), and the runs that must write nothing: unknown layout, bad positions, no matching
// records, a missing layout file.
#include "composedtextobjects.h"
#include "labelplacement.h"
#include "pdfreading.h"
#include "postnet.h"
#include "postnetbarcode.h"
#include "support_runs.h"

#include <QFile>
#include <QProcess>
#include <cmath>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

constexpr int kDpi = 600;

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
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// 3 x 10 on letter, labels wide enough for an 11-digit POSTNET code.
LabelSheetDefinition barcodeSheet()
{
    LabelSheetDefinition d = avery5160();
    d.tplDescrip.clear();
    d.lblWidth = 2.83f;
    d.horizPitch = 2.83f;
    d.leftMarg = 0.01f;
    return d;
}

// The digits of POSTNET bars read left to right (frame bars included); empty when they do not
// make whole digits. Weights 7 4 2 1 0 with two tall bars per digit; 7 + 4 stands for 0.
QString decodePostnet(const std::vector<bool>& tall)
{
    if (tall.size() < 7 || (tall.size() - 2) % 5 != 0 || !tall.front() || !tall.back())
        return {};
    static const int weights[] = {7, 4, 2, 1, 0};
    QString digits;
    for (std::size_t i = 1; i + 1 < tall.size(); i += 5) {
        int sum = 0, count = 0;
        for (int k = 0; k < 5; ++k)
            if (tall[i + size_t(k)]) {
                sum += weights[k];
                ++count;
            }
        if (count != 2)
            return {};
        digits += QChar(u'0' + (sum == 11 ? 0 : sum));
    }
    return digits;
}

class LabelPdf : public LabelRunFixture {
protected:
    void makeBarcodeFolder(int n)
    {
        std::vector<QMap<QString, QString>> records;
        for (int i = 1; i <= n; ++i)
            records.push_back({{"LNAME", QString("Name%1").arg(i, 2, 10, QLatin1Char('0'))},
                               {"STREET", QString("%1 Elm Street").arg(100 + 7 * i)},
                               {"ZIP", QString("%1-%2").arg(10000 + 1111 * i).arg(1000 + 37 * i)}});
        makeFolder(barcodeSheet(), records);
        // The layout: the name, and the bars below it.
        LabelSurface surface;
        auto* name = new design::TGPDLabel;
        surface.placeObject(name, QRect(12, 8, 150, 18));
        name->DataFieldName = "LNAME";
        name->DataFieldDescript = fieldLabel(table, "LNAME");
        auto* bars = new design::TGPostNetBarCode;
        bars->ZipCodeField = "ZIP";
        bars->AddressField = "STREET";
        bars->BarCodeType = design::pnbc11Digit;
        surface.placeObject(bars, QRect(0, 60, 271, 16));
        QString error;
        ASSERT_TRUE(catalogue->save(layout, surface, &error)) << error.toStdString();
        // The tool opens the files itself.
        setup.reset();
        catalogue.reset();
        table.close();
    }
    QStringList runArgs(const QString& pdf)
    {
        return {"labels", "--folder", folder, "--layout", "Test labels", "--data", dataPath, "--pdf", pdf};
    }
};

TEST_F(LabelPdf, oneSheetMeasuredAndEveryBarcodeDecoded)
{
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils (pdftoppm, pdftotext) are not installed";
    makeBarcodeFolder(30);
    const LabelSheetDefinition d = barcodeSheet();
    const QString pdf = dir.path("sheet.pdf");
    const ToolRun r = batch(runArgs(pdf));
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("30 labels on 1 page")) << r.out.toStdString();

    // Every name inside its own label, at the same offset from the label's corner.
    const auto words = postavo::testing::pdfWords(pdf);
    QPointF offset;
    for (int i = 0; i < 30; ++i) {
        const auto* w = postavo::testing::findWord(words, QString("Name%1").arg(i + 1, 2, 10, QLatin1Char('0')));
        ASSERT_TRUE(w) << i;
        const QPointF at(w->xMin / 72.0, w->yMin / 72.0);
        const QRectF label = labelRect(d, i);
        EXPECT_TRUE(label.contains(at)) << i;
        if (i == 0)
            offset = at - label.topLeft();
        EXPECT_NEAR(at.x() - label.left(), offset.x(), 0.01) << i;
        EXPECT_NEAR(at.y() - label.top(), offset.y(), 0.01) << i;
    }

    // The bars of every label, read from the raster: tall or short by their height.
    const auto page = postavo::testing::renderPdfGray(pdf, 0, 0, int(8.5 * kDpi), int(11 * kDpi), dir.path(), kDpi);
    ASSERT_GT(page.w, 0);
    for (int i = 0; i < 30; ++i) {
        const QRectF label = labelRect(d, i);
        const int top = int(label.top() * kDpi), bottom = int(label.bottom() * kDpi);
        // The row crossing the most bars: along the bars' common foot.
        std::vector<postavo::testing::DarkRun> best;
        int bestY = 0;
        for (int y = top; y < bottom; ++y) {
            std::vector<postavo::testing::DarkRun> runs;
            for (const auto& run : postavo::testing::runsOnRow(page, y))
                if (run.left >= int(label.left() * kDpi) - 2 && run.right <= int(label.right() * kDpi) + 2)
                    runs.push_back(run);
            if (runs.size() > best.size()) {
                best = runs;
                bestY = y;
            }
        }
        ASSERT_EQ(best.size(), 62u) << "label " << i;
        int low = INT_MAX, high = 0;
        std::vector<int> heights;
        for (const auto& run : best) {
            heights.push_back(postavo::testing::columnHeight(page, (run.left + run.right) / 2, bestY));
            low = std::min(low, heights.back());
            high = std::max(high, heights.back());
        }
        ASSERT_GT(high, low + 10) << "label " << i;
        std::vector<bool> tall;
        for (int h : heights)
            tall.push_back(h > (low + high) / 2);
        const QString digits = decodePostnet(tall);
        const int n = i + 1;
        const QString zip = QString("%1%2").arg(10000 + 1111 * n).arg(1000 + 37 * n);
        EXPECT_EQ(digits, design::postnet::encodedDigits(QString("%1-%2").arg(10000 + 1111 * n).arg(1000 + 37 * n),
                                                         QString("%1 Elm Street").arg(100 + 7 * n),
                                                         design::postnet::Kind(design::pnbc11Digit)))
            << "label " << i;
        ASSERT_EQ(digits.size(), 12) << "label " << i;
        EXPECT_EQ(digits.left(9), zip) << "label " << i;
        int sum = 0;
        for (QChar c : digits)
            sum += c.digitValue();
        EXPECT_EQ(sum % 10, 0) << "label " << i;
    }
}

TEST_F(LabelPdf, runsThatCannotPrintWriteNothing)
{
    makeBarcodeFolder(3);
    const QString pdf = dir.path("out.pdf");
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier file");
    f.close();

    ToolRun r = batch({"labels", "--folder", folder, "--layout", "No such layout", "--data", dataPath, "--pdf", pdf});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.out.contains("No such layout")) << r.out.toStdString();

    r = batch(runArgs(pdf) << "--positions" << "0,4");
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.out.contains("positions 1 to 30")) << r.out.toStdString();

    r = batch(runArgs(pdf) << "--filter" << "RECNO()>10");
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.out.contains(QLatin1String(kNoRecords))) << r.out.toStdString();

    r = batch(runArgs(pdf) << "--record" << "2" << "--presort");
    EXPECT_NE(r.code, 0);

    LabelLayoutCatalogue again(folder + "sysdata/");
    QString error;
    ASSERT_TRUE(again.open(&error));
    QFile::remove(again.layoutPath(again.rows().at(0).binary));
    r = batch(runArgs(pdf));
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.out.contains(QLatin1String(kLayoutFileRemoved))) << r.out.toStdString();

    EXPECT_EQ(fileBytes(pdf), QByteArray("earlier file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.pdf"}));
}

TEST_F(LabelPdf, aFullDiskLeavesTheEarlierFileAndNoOther)
{
    makeBarcodeFolder(30);
    const QString pdf = dir.path("out.pdf");
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier file");
    f.close();
    // A file-size limit of a few kilobytes stands in for a disk that fills while the PDF is written.
    QStringList args = runArgs(pdf);
    for (QString& a : args)
        a = "'" + a + "'";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("/bin/sh", {"-c", "ulimit -f 8; exec '" POSTAVO_BIN_DIR "/postavo-batch' " + args.join(' ')});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString out = QString::fromUtf8(p.readAll());
    EXPECT_NE(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("could not be written")) << out.toStdString();
    EXPECT_EQ(fileBytes(pdf), QByteArray("earlier file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.pdf"}));
}

TEST_F(LabelPdf, presortCommandAndPresortedLabels)
{
    makeBarcodeFolder(4);
    const QString out = dir.path("PRESORT.PSL");
    ToolRun r = batch({"presort", "--data", dataPath, "--out", out});
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    // Four keys of one piece each: no package, every key under an ADC heading.
    std::vector<std::string> lines;
    ASSERT_TRUE(readPresortFile(out, &lines, nullptr));
    int keys = 0;
    for (const std::string& l : lines)
        keys += isHeadingLine(l) ? 0 : 1;
    EXPECT_EQ(keys, 4);
    EXPECT_TRUE(fileBytes(out).endsWith("\r\n"));

    const QString pdf = dir.path("presorted.pdf");
    r = batch(runArgs(pdf) << "--presort");
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QString("4 labels and %1 headings").arg(int(lines.size()) - keys))) << r.out.toStdString();
}

} // namespace
