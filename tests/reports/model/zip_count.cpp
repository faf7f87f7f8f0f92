// The zip code count: keys and their kinds, the report lines, the reading pass over an address
// file against a count made here independently, and the four-column report in a real PDF.
#include "support_reports.h"

#include "addressfile.h"
#include "devices.h"
#include "printcanvas.h"
#include "testsupport.h"
#include "zipcount.h"
#include "zipreport.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <map>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rpt;
using postavo::testing::PdfWord;
using postavo::testing::scratchDir;

namespace {

QStringList linesFor(const QStringList& zips)
{
    ZipCount count;
    for (const QString& z : zips)
        count.addZip(z.toStdString());
    return count.reportLines(QLocale::c());
}

// The zips of a generated file: five-digit ones in clusters, long and short ones, letters, blanks.
QString zipOf(int i)
{
    switch (i % 13) {
    case 0: return {};
    case 1: return QStringLiteral("K1A %1B1").arg(i % 3);
    case 2: return QStringLiteral("%1").arg(1000 + i % 7);
    case 3: return QStringLiteral("%1-%2").arg(10000 + i % 40).arg(1000 + i % 9);
    default: return QStringLiteral("%1").arg(i % 11 == 0 ? 90000 + i % 5 : 10000 + i % 40, 5, 10, QLatin1Char('0'));
    }
}

} // namespace

TEST(ZipKeys, KeysAndTheirKinds)
{
    EXPECT_EQ(zipKey("12345-6789"), "12345");
    EXPECT_EQ(zipKey("1234      "), "1234");
    EXPECT_EQ(zipKey(""), "");
    // The range both counts share: a four-character key passes it, the zip count's lists want five.
    EXPECT_TRUE(zipKeyInRange("1234"));
    EXPECT_FALSE(isFiveDigitZipKey("1234"));
    EXPECT_TRUE(isFiveDigitZipKey("00000"));
    EXPECT_TRUE(isFiveDigitZipKey("99999"));
    EXPECT_FALSE(zipKeyInRange("A1234"));
    EXPECT_FALSE(zipKeyInRange("K1A0B"));
    EXPECT_FALSE(zipKeyInRange("0/123")); // '/' sorts below '0'
    EXPECT_FALSE(zipKeyInRange("9:123")); // ':' sorts above '9'
    EXPECT_FALSE(zipKeyInRange(" 1234"));

    ZipTallyLists lists;
    for (const char* k : {"60601", "60601", "60602", "10001"})
        lists.add(k);
    lists.add("X1234"); // not a digit: not counted
    EXPECT_EQ(lists.keyCount(), 3u);
    EXPECT_EQ(lists.total(), 4);
    const auto six = lists.sorted(6);
    ASSERT_EQ(six.size(), 2u);
    EXPECT_EQ(six[0].first, "60601");
    EXPECT_EQ(six[0].second.count, 2);

    // Five digits are counted by number, other keys by name: the list is still in byte order.
    for (const char* k : {"19999", "1-234", "1A234", "10000", "12345", "1A234", "00000"})
        lists.add(k);
    std::vector<std::string> ones;
    for (const auto& [key, tally] : lists.sorted(1))
        ones.push_back(key + "=" + std::to_string(tally.count));
    EXPECT_EQ(ones, (std::vector<std::string>{"1-234=1", "10000=1", "10001=1", "12345=1", "19999=1", "1A234=2"}));
    EXPECT_EQ(lists.sorted(0).front().first, "00000");
    EXPECT_EQ(lists.keyCount(), 9u);
    EXPECT_EQ(lists.total(), 11);
}

TEST(ZipKeys, ReportLinesComeInTheirOrder)
{
    const QStringList lines =
        linesFor({"12345", "12345", "12345", "12345-6789", "1234", "", "K1A0B1", "00501", "99999", "  "});
    EXPECT_EQ(lines, QStringList({"00501     1", "12345     4", "99999     1", "", "", "1234      1",
                                  "K1A0B     1", "BLANK     2"}));
    QStringList thousand;
    for (int i = 0; i < 1000; ++i)
        thousand << QStringLiteral("02134");
    EXPECT_EQ(linesFor(thousand).first(), QStringLiteral("02134     1,000"));
    EXPECT_EQ(ZipCount::groupedNumber(1234567, QLocale::c()), QStringLiteral("1,234,567"));
    EXPECT_EQ(ZipCount::groupedNumber(999, QLocale::c()), QStringLiteral("999"));
    EXPECT_EQ(ZipCount::groupedNumber(1000, QLocale(QLocale::German)), QStringLiteral("1.000"));
    // Nothing counted still gives the two separator lines.
    EXPECT_EQ(linesFor({}), QStringList({"", ""}));
}

TEST(ZipCountPass, CountsMatchAnIndependentCountAndTheTableComesBack)
{
    const QString dir = scratchDir("zip-pass");
    std::vector<Row> rows;
    for (int i = 0; i < 420; ++i)
        rows.push_back({{"LNAME", QStringLiteral("N%1").arg(i)}, {"ZIP", zipOf(i)}, {"ISDEL", i % 17 == 0 ? "T" : "F"}});
    const QString path = makeRecords(dir, QStringLiteral("ZIPS.DBF"), rows);
    ASSERT_FALSE(path.isEmpty());
    AddressTable table;
    ASSERT_TRUE(table.open(path));
    table.setFilter(QStringLiteral("!ISDEL"));
    table.setOrder(QStringLiteral("LNAME"));
    table.goTo(77);

    // The count made here: the first five characters of every visible record's zip.
    std::map<QString, int> valid, other;
    int blank = 0;
    for (int i = 0; i < 420; ++i) {
        if (i % 17 == 0)
            continue;
        const QString key = zipOf(i).trimmed().left(5);
        if (key.isEmpty())
            ++blank;
        else if (key.size() == 5 && key.at(0).isDigit() && key >= QLatin1String("00000"))
            ++valid[key];
        else
            ++other[key];
    }
    QStringList statuses;
    ZipCountProgress progress;
    progress.status = [&](const QString& s) { statuses << s; };
    int steps = 0;
    progress.keepGoing = [&] { return ++steps > 0; };
    ZipCount count;
    ASSERT_EQ(countZipCodes(table, &count, progress), CountOutcome::Completed);
    EXPECT_EQ(steps, 420 - 25);
    EXPECT_EQ(statuses.first(), QStringLiteral("Reading database records..."));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Reading record 100")));
    EXPECT_EQ(statuses.last(), QStringLiteral("Sorting Zip Codes..."));
    EXPECT_EQ(table.recNo(), 77u);
    EXPECT_EQ(table.order(), QStringLiteral("LNAME"));

    QStringList expected;
    for (const auto& [key, n] : valid)
        expected << key.leftJustified(10, QLatin1Char(' ')) + QString::number(n);
    expected << QString() << QString();
    for (const auto& [key, n] : other)
        expected << key.leftJustified(10, QLatin1Char(' ')) + QString::number(n);
    expected << QStringLiteral("BLANK     ") + QString::number(blank);
    EXPECT_EQ(count.reportLines(QLocale::c()), expected);
    EXPECT_EQ(count.total(), 420 - 25);

    // Cancelled after ten records: the count stops there, the table still comes back.
    ZipCount partial;
    int n = 0;
    ZipCountProgress cancel;
    cancel.keepGoing = [&] { return ++n < 10; };
    EXPECT_EQ(countZipCodes(table, &partial, cancel), CountOutcome::Cancelled);
    EXPECT_EQ(partial.total(), 10);
    EXPECT_EQ(table.recNo(), 77u);
}

TEST(ZipReportPdf, FourColumnsPerPageWithCountsRightAligned)
{
    const QString dir = scratchDir("zip-report");
    ZipCount count;
    std::map<QString, int> made;
    for (int i = 0; i < 300; ++i) {
        const QString zip = QStringLiteral("%1").arg(10000 + i * 7, 5, 10, QLatin1Char('0'));
        for (int k = 0; k <= i % 3; ++k) {
            count.addZip(zip.toStdString());
            ++made[zip];
        }
    }
    const QStringList lines = count.reportLines(QLocale::c());
    const QString pdf = dir + "/zips.pdf";
    bool stop = false;
    int pages = 0;
    ASSERT_TRUE(printToPdf(pdf, [&](printing::TPrintCanvas& c) { printZipReport(c, lines, stop); }, &pages));
    // 302 lines, 54 rows per column, 216 per page.
    EXPECT_EQ(pages, 2);
    const auto all = pdfPages(pdf);
    ASSERT_EQ(all.size(), 2u);
    const printing::CanvasFont f = font(QStringLiteral("Arial"), 10);
    const double descent = printing::FontMeasure(f).descent();
    std::map<QString, int> printed;
    for (int p = 0; p < 2; ++p) {
        const auto& words = all[std::size_t(p)];
        const PdfWord* title = firstNamed(words, QStringLiteral("Zip"));
        ASSERT_TRUE(title);
        EXPECT_NEAR(leftInches(*title), 0.5, 0.01);
        EXPECT_NEAR(baselineInches(*title, font(QStringLiteral("Arial"), 10, true)), 0.75 + 1 / 6.0, 0.01);
        const PdfWord* number = firstNamed(words, QStringLiteral("Page"));
        ASSERT_TRUE(number);
        EXPECT_NEAR(baselineInches(*number, f), 10.0 + 1 / 6.0, 0.01);
        // Keys and counts in pairs: the key at its column's left + 0.05, the count ending at the
        // column's left + 1.25 - 0.05, on the same row.
        for (std::size_t i = 0; i < words.size(); ++i) {
            const PdfWord& w = words[i];
            if (w.text.size() != 5 || !w.text.at(0).isDigit() || w.yMin / 72.0 < 1.0 || w.yMin / 72.0 > 10.0)
                continue;
            const double left = leftInches(w);
            const int k = int((left - 0.5) / 1.875);
            EXPECT_NEAR(left, 0.5 + k * 1.875 + 0.05, 0.01) << w.text.toStdString();
            const PdfWord* count = nullptr;
            for (const PdfWord& o : words)
                if (&o != &w && std::abs(o.yMax - w.yMax) < 1 && leftInches(o) > left + 0.3
                    && leftInches(o) < 0.5 + k * 1.875 + 1.25)
                    count = &o;
            ASSERT_TRUE(count) << w.text.toStdString();
            const PdfWord& n = *count;
            EXPECT_NEAR(rightInches(n), 0.5 + k * 1.875 + 1.25 - 0.05, 0.01) << w.text.toStdString();
            EXPECT_NEAR(n.yMax, w.yMax, 0.5);
            const double row = (baselineInches(w, f) + descent - 1.0) * 6.0;
            EXPECT_NEAR(row, std::round(row), 0.06) << "rows are 1/6 inch apart from the body's top";
            printed[w.text] += n.text.toInt();
        }
    }
    EXPECT_EQ(printed, made);
}

TEST(ZipReportPdf, OddRowsOfEveryColumnAreShaded)
{
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << ZipCount::reportLine(QStringLiteral("%1").arg(10000 + i), 1, QLocale::c());
    lines << QString() << QString();
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    ASSERT_TRUE(c.execute({}, [&](printing::TPrintCanvas& canvas) { printZipReport(canvas, lines, stop); }));
    // Shaded cells per column, by the column's left edge: rows 1, 3, 5 ... of each, three cells a row.
    std::map<int, int> shadedCells;
    const int grey = printing::shadeToGrey(5);
    for (const auto& op : doc.page(0))
        if (const auto* s = std::get_if<printing::ShapeOp>(&op); s && s->brush.color == QColor(grey, grey, grey))
            ++shadedCells[int(std::floor((s->rect.left() - 0.5) / 1.875 + 1e-6))];
    // 62 lines: column 1 has 54 rows (27 shaded), column 2 has 8 (the two empty ones included: 4).
    EXPECT_EQ(shadedCells[0], 27 * 3);
    EXPECT_EQ(shadedCells[1], 4 * 3);
}
