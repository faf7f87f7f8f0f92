// The print of the current record in a real PDF: labels and values in their two columns, in
// their order, only the chosen ones, the header, and the memo under its rule across pages.
#include "support_reports.h"

#include "addressfields.h"
#include "addressfile.h"
#include "devices.h"
#include "printcanvas.h"
#include "reportjobs.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rpt;
using postavo::testing::PdfWord;
using postavo::testing::scratchDir;

namespace {

ReportRecord record()
{
    ReportRecord r;
    r.prefix = "Dr.";
    r.lname = "Quimby";
    r.fname = "Ada";
    r.middle = "L";
    r.title = "Chief";
    r.org = "Widgets";
    r.street = "Main-1";
    r.street2 = "Suite 5";
    r.city = "Salem";
    r.state = "OR";
    r.zip = "97301";
    r.country = "USA";
    r.phone = "555-0101";
    r.phone2 = "555-0102";
    r.fax = "555-0103";
    r.email = "ada@w.com";
    r.user1 = "First-comment";
    r.user2 = "Second-comment";
    r.codes = "ABC";
    r.date = "20240229";
    return r;
}

const printing::CanvasFont kLabel = font(QStringLiteral("Times"), 10, true);
const printing::CanvasFont kValue = font(QStringLiteral("Times"), 10);

} // namespace

TEST(SingleRecordPrint, LabelsAndValuesFormTwoColumnsInPrintOrder)
{
    const QString dir = scratchDir("single-columns");
    const QString pdf = dir + "/record.pdf";
    TSingleRecordPrint print(record(), SingleRecordChoice(), QDate(2024, 3, 5), QStringLiteral("MM/dd/yyyy"));
    bool stop = false;
    int pages = 0;
    ASSERT_TRUE(printToPdf(pdf, [&](printing::TPrintCanvas& c) { print.print(c, stop); }, &pages));
    EXPECT_EQ(pages, 1);
    const auto words = pdfPages(pdf).at(0);
    // Home on the section from 1.0, then one new line: the first item sits on the second line.
    const double first = 1.0 + 2 * 10 / 60.0 - printing::FontMeasure(kValue).descent();
    struct Item {
        QString label, value;
    };
    const Item items[] = {{"Prefix", "Dr."},     {"Last", "Quimby"},         {"First", "Ada"},
                          {"Middle", "L"},       {"Title", "Chief"},         {"Organization", "Widgets"},
                          {"Address", "Main-1"}, {"Address", "Suite"},       {"City", "Salem"},
                          {"State", "OR"},       {"Zip/Postal", "97301"},    {"Country", "USA"},
                          {"Phone", "555-0101"}, {"Phone", "555-0102"},      {"Fax", "555-0103"},
                          {"E-Mail", "ada@w.com"}, {"Comment", "First-comment"}, {"Comment", "Second-comment"},
                          {"Codes", "ABC"},      {"Date", displayDate(QStringLiteral("20240229")).split(QLatin1Char(' ')).first()}};
    std::map<QString, int> seen;
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(items[i].label.toStdString());
        const auto labels = wordsNamed(words, items[i].label);
        const int n = seen[items[i].label]++;
        ASSERT_GT(int(labels.size()), n);
        const PdfWord* value = firstNamed(words, items[i].value);
        ASSERT_TRUE(value);
        EXPECT_NEAR(leftInches(*labels[std::size_t(n)]), 1.0, 0.01);
        EXPECT_NEAR(baselineInches(*labels[std::size_t(n)], kLabel), first + i / 6.0, 0.01);
        EXPECT_NEAR(leftInches(*value), 2.25, 0.01);
        EXPECT_NEAR(baselineInches(*value, kValue), first + i / 6.0, 0.01);
    }
    // "Page 1" and the date end at the right margin, 7.5 inches, from a top margin of 0.5.
    const PdfWord* page = firstNamed(words, QStringLiteral("1"));
    const PdfWord* date = firstNamed(words, QStringLiteral("03/05/2024"));
    ASSERT_TRUE(page && date);
    EXPECT_NEAR(rightInches(*page), 7.5, 0.01);
    EXPECT_NEAR(baselineInches(*page, kValue), 0.5 + 10 / 60.0 - printing::FontMeasure(kValue).descent(), 0.01);
    EXPECT_NEAR(rightInches(*date), 7.5, 0.01);
}

TEST(SingleRecordPrint, OnlyChosenFieldsPrintAndTheAllSwitchSetsEvery)
{
    SingleRecordChoice choice;
    choice.setAll(false);
    choice.set(SingleField::Last, true);
    choice.set(SingleField::Zip, true);
    TSingleRecordPrint print(record(), choice, QDate(2024, 3, 5));
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    ASSERT_TRUE(c.execute({}, [&](printing::TPrintCanvas& canvas) { print.print(canvas, stop); }));
    QStringList texts;
    for (const auto& op : doc.page(0))
        if (const auto* t = std::get_if<printing::TextOp>(&op))
            texts << t->text;
    EXPECT_EQ(texts.mid(2), QStringList({"Last", "Quimby", "Zip/Postal", "97301"}));
    choice.setAll(true);
    for (int i = 0; i < kSingleFieldCount; ++i)
        EXPECT_TRUE(choice.on[std::size_t(i)]);
    // The field names the batch tool takes.
    SingleField f;
    EXPECT_TRUE(singleFieldByName(QStringLiteral("lname"), &f));
    EXPECT_EQ(f, SingleField::Last);
    EXPECT_TRUE(singleFieldByName(QStringLiteral("State/Province"), &f));
    EXPECT_EQ(f, SingleField::State);
    EXPECT_FALSE(singleFieldByName(QStringLiteral("NOPE"), &f));
}

TEST(SingleRecordPrint, MemoUnderItsRuleContinuesAfterANewHeader)
{
    ReportRecord r = record();
    QStringList memo;
    for (int i = 1; i <= 80; ++i)
        memo << QStringLiteral("Entry %1").arg(i);
    r.memo = memo.join(QStringLiteral("\r\n"));
    TSingleRecordPrint print(r, SingleRecordChoice(), QDate(2024, 3, 5));
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    ASSERT_TRUE(c.execute({}, [&](printing::TPrintCanvas& canvas) { print.print(canvas, stop); }));
    ASSERT_EQ(doc.pageCount(), 2);
    int entries = 0;
    double lowest = 0;
    for (int p = 0; p < 2; ++p) {
        bool pageNumber = false;
        for (const auto& op : doc.page(p))
            if (const auto* t = std::get_if<printing::TextOp>(&op)) {
                if (t->text.startsWith(QLatin1String("Entry "))) {
                    ++entries;
                    EXPECT_TRUE(t->font.italic);
                    lowest = std::max(lowest, t->origin.y());
                } else if (t->text == QStringLiteral("Page %1").arg(p + 1)) {
                    pageNumber = true;
                    EXPECT_FALSE(t->font.italic); // the header is drawn upright
                }
            }
        EXPECT_TRUE(pageNumber);
    }
    EXPECT_EQ(entries, 80);
    EXPECT_LE(lowest, 10.0);
    // The rule above the memo: one cell's bottom line across the section, on page 1 only.
    int rules = 0;
    for (const auto& op : doc.page(0))
        if (const auto* l = std::get_if<printing::LineOp>(&op))
            rules += std::abs(l->from.x() - 1.0) < 1e-6 && std::abs(l->to.x() - 7.5) < 1e-6
                     && l->from.y() > 1.5 && l->from.y() < 9.9;
    EXPECT_EQ(rules, 1);
}

TEST(SingleRecordPrint, ABlankMemoPrintsNothing)
{
    ReportRecord r = record();
    r.memo = QStringLiteral("    ");
    TSingleRecordPrint print(r, SingleRecordChoice(), QDate(2024, 3, 5));
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    ASSERT_TRUE(c.execute({}, [&](printing::TPrintCanvas& canvas) { print.print(canvas, stop); }));
    int lines = 0;
    for (const auto& op : doc.page(0))
        lines += std::holds_alternative<printing::LineOp>(op);
    EXPECT_EQ(lines, 2); // the section's top and bottom rules, no memo rule
}
