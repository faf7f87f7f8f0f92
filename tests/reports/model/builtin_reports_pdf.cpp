// The four built-in list reports in real PDF files: every column, heading, title and page number
// where the report's layout puts it, pages that fill and overflow, the memo and codes lines, and
// the records each choice prints.
#include "support_reports.h"

#include "addressfile.h"
#include "devices.h"
#include "printcanvas.h"
#include "reportjobs.h"
#include "testsupport.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::reports;
using namespace postavo::testing::rpt;
using postavo::testing::PdfWord;
using postavo::testing::scratchDir;

namespace {

const QDate kToday(2024, 3, 5);

Row person(const QString& last, const QString& first, const QString& middle = {})
{
    return {{"LNAME", last}, {"FNAME", first}, {"MIDDLE", middle}};
}

Row smith()
{
    return {{"LNAME", "Smith"},   {"FNAME", "John"},     {"MIDDLE", "Q"},         {"STREET", "12 Elm"},
            {"CITY", "Boston"},   {"STATE", "MA"},       {"ZIP", "02134"},        {"PHONE", "555-1234"},
            {"ORG", "Acme"},      {"FAX", "555-9999"},   {"TITLE", "Director"},   {"COUNTRY", "USA"},
            {"EMAIL", "js@x.org"}, {"DATE", "19991231"}, {"PREFIX", "Mr."},       {"CODES", "VIP"}};
}

BuiltInReportOptions options(int report, bool memo = false, bool codes = false)
{
    BuiltInReportOptions o;
    o.report = report;
    o.title = defaultReportTitle(report);
    o.printMemo = memo;
    o.printCodes = codes;
    o.today = kToday;
    o.dateFormat = QStringLiteral("MM/dd/yyyy");
    return o;
}

// Prints a built-in report of the table to `pdf`; the number of pages, -1 on failure.
int printReport(AddressTable& table, const BuiltInReportOptions& o, const QString& pdf,
                RecordSelection selection = {RecordChoice::All, false}, QStringList* messages = nullptr)
{
    BuiltInReportJob job(table, o, selection);
    if (!job.prepare([messages](const QString& m) {
            if (messages)
                *messages << m;
        }))
        return -1;
    bool stop = false;
    int pages = 0;
    if (!printToPdf(pdf, [&](printing::TPrintCanvas& c) { job.body(c, stop); }, &pages))
        return -1;
    return pages;
}

// The texts of a recorded run, page by page.
std::vector<QStringList> recordedTexts(AddressTable& table, const BuiltInReportOptions& o, RecordSelection selection,
                                       QStringList* messages = nullptr)
{
    BuiltInReportJob job(table, o, selection);
    job.prepare([messages](const QString& m) {
        if (messages)
            *messages << m;
    });
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    c.execute({}, [&](printing::TPrintCanvas& canvas) { job.body(canvas, stop); });
    std::vector<QStringList> pages;
    for (int p = 0; p < doc.pageCount(); ++p) {
        QStringList texts;
        for (const auto& op : doc.page(p))
            if (const auto* t = std::get_if<printing::TextOp>(&op))
                texts << t->text;
        pages.push_back(texts);
    }
    return pages;
}

class BuiltInReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = scratchDir(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    }
    QString open(const std::vector<Row>& rows)
    {
        const QString path = makeRecords(dir, QStringLiteral("LIST.DBF"), rows);
        EXPECT_FALSE(path.isEmpty());
        EXPECT_TRUE(table.open(path));
        table.setFilter(QStringLiteral("!ISDEL"));
        table.setOrder(QStringLiteral("LNAME"));
        table.first();
        return path;
    }
    QString dir;
    AddressTable table;
};

const printing::CanvasFont kBody = font(QStringLiteral("Arial"), 9);
const printing::CanvasFont kHeading = font(QStringLiteral("Arial"), 9, true);
const printing::CanvasFont kTitle = font(QStringLiteral("Times New Roman"), 14, true);

} // namespace

TEST_F(BuiltInReports, ColumnsOfReportsOneToThreeStartAtTheirStops)
{
    open({smith()});
    struct Expect {
        int report;
        QString heading[4];
        QString value[4];
        double x[4];
    };
    const Expect cases[] = {
        {1, {"Name", "Address", "City/St/Zip", "Phone"}, {"Smith,", "12", "Boston,", "555-1234"}, {1.0, 2.75, 4.90, 6.90}},
        {2, {"Name", "Organization", "Phone", "Fax"}, {"Smith,", "Acme", "555-1234", "555-9999"}, {1.0, 3.0, 5.5, 7.0}},
        {3, {"Organization", "Name", "Phone", "Fax"}, {"Acme", "Smith,", "555-1234", "555-9999"}, {1.0, 3.5, 5.5, 7.0}},
    };
    for (const Expect& e : cases) {
        const QString pdf = dir + QStringLiteral("/report%1.pdf").arg(e.report);
        ASSERT_EQ(printReport(table, options(e.report), pdf), 1);
        const auto pages = pdfPages(pdf);
        ASSERT_EQ(pages.size(), 1u);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(QStringLiteral("report %1 column %2").arg(e.report).arg(i + 1).toStdString());
            const PdfWord* h = firstNamed(pages[0], e.heading[i]);
            const PdfWord* v = firstNamed(pages[0], e.value[i]);
            ASSERT_TRUE(h && v);
            // Each text starts the stop's inner margin (2 hundredths) inside its cell.
            EXPECT_NEAR(leftInches(*h), e.x[i] + 0.02, 0.01);
            EXPECT_NEAR(leftInches(*v), e.x[i] + 0.02, 0.01);
            // Headings on the line after y = top margin + 0.8; the record on the body's first line.
            EXPECT_NEAR(baselineInches(*h, kHeading), 0.5 + 0.8 + 0.15, 0.01);
            EXPECT_NEAR(baselineInches(*v, kBody), 1.5 + 0.15 - printing::FontMeasure(kBody).descent(), 0.01);
        }
    }
}

TEST_F(BuiltInReports, ReportFourPlacesThreeLinesPerRecord)
{
    open({smith()});
    const QString pdf = dir + QStringLiteral("/report4.pdf");
    ASSERT_EQ(printReport(table, options(4), pdf), 1);
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const double first = 1.5 + 0.15 - printing::FontMeasure(kBody).descent();
    struct Cell {
        QString word;
        double x;
        int line;
    };
    // Full name at stop 1, title and organization at stop 3; street, city line and country at
    // stops 2-4 on line 2; phone and fax, e-mail and the stored date on line 3.
    for (const Cell& c : {Cell{"Smith,", 1.00, 0}, Cell{"Director,", 3.75, 0}, Cell{"12", 1.50, 1},
                          Cell{"Boston,", 3.75, 1}, Cell{"USA", 6.75, 1}, Cell{"Ph:", 1.50, 2},
                          Cell{"js@x.org", 3.75, 2}, Cell{"19991231", 6.75, 2}}) {
        SCOPED_TRACE(c.word.toStdString());
        const PdfWord* w = firstNamed(pages[0], c.word);
        ASSERT_TRUE(w);
        EXPECT_NEAR(leftInches(*w), c.x + 0.02, 0.01);
        EXPECT_NEAR(baselineInches(*w, kBody), first + c.line * 0.15, 0.01);
    }
    // The headings on three lines from top margin + 0.5.
    for (const Cell& c : {Cell{"Name", 1.00, 0}, Cell{"Title", 3.75, 0}, Cell{"Street", 1.50, 1},
                          Cell{"City/State/Zip", 3.75, 1}, Cell{"Country", 6.75, 1}, Cell{"Phone,Fax", 1.50, 2},
                          Cell{"Email", 3.75, 2}, Cell{"Date", 6.75, 2}}) {
        SCOPED_TRACE(c.word.toStdString());
        const PdfWord* w = firstNamed(pages[0], c.word);
        ASSERT_TRUE(w);
        EXPECT_NEAR(leftInches(*w), c.x + 0.02, 0.01);
        EXPECT_NEAR(baselineInches(*w, kHeading), 0.5 + 0.5 + 0.15 * (c.line + 1), 0.01);
    }
}

TEST_F(BuiltInReports, HeaderCarriesTitlePageNumberAndDateOnEveryPage)
{
    std::vector<Row> rows;
    for (int i = 0; i < 130; ++i)
        rows.push_back(person(QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Ann")));
    open(rows);
    const QString pdf = dir + QStringLiteral("/pages.pdf");
    BuiltInReportOptions o = options(1);
    o.title = QStringLiteral("Members");
    ASSERT_EQ(printReport(table, o, pdf), 3);
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 3u);
    const double descent = printing::FontMeasure(kTitle).descent();
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        const PdfWord* title = firstNamed(pages[std::size_t(p)], QStringLiteral("Members"));
        const PdfWord* number = firstNamed(pages[std::size_t(p)], QString::number(p + 1));
        const PdfWord* date = firstNamed(pages[std::size_t(p)], QStringLiteral("03/05/2024"));
        ASSERT_TRUE(title && number && date);
        EXPECT_NEAR(leftInches(*title), 1.0, 0.01);
        EXPECT_NEAR(baselineInches(*title, kTitle), 0.5 + 14 / 60.0 - descent, 0.01);
        // "Page n" and the date end at the right margin, the date a line lower.
        EXPECT_NEAR(rightInches(*number), 8.0, 0.01);
        EXPECT_NEAR(baselineInches(*number, kTitle), baselineInches(*title, kTitle), 0.01);
        EXPECT_NEAR(rightInches(*date), 8.0, 0.01);
        EXPECT_NEAR(baselineInches(*date, kTitle) - baselineInches(*title, kTitle), 14 / 60.0, 0.01);
        EXPECT_TRUE(firstNamed(pages[std::size_t(p)], QStringLiteral("City/St/Zip")));
    }
}

TEST_F(BuiltInReports, PagesFillFromTheBodyTopToItsBottomAndOverflow)
{
    std::vector<Row> rows;
    for (int i = 0; i < 130; ++i)
        rows.push_back(person(QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Ann")));
    open(rows);
    const QString pdf = dir + QStringLiteral("/overflow.pdf");
    ASSERT_EQ(printReport(table, options(1), pdf), 3);
    const auto pages = pdfPages(pdf);
    // The body runs from 1.5 to 10.0 inches: 56 lines of 0.15 inch, the last ending above 10.0.
    const double descent = printing::FontMeasure(kBody).descent();
    const int expected[3] = {56, 56, 18};
    int next = 0;
    for (int p = 0; p < 3; ++p) {
        std::vector<const PdfWord*> names;
        for (const PdfWord& w : pages[std::size_t(p)])
            if (w.text.startsWith(QLatin1String("Name")) && w.text.endsWith(QLatin1Char(',')))
                names.push_back(&w);
        std::sort(names.begin(), names.end(), [](auto* a, auto* b) { return a->yMin < b->yMin; });
        ASSERT_EQ(int(names.size()), expected[p]) << "page " << p + 1;
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(names[i]->text, QStringLiteral("Name%1,").arg(next++, 3, 10, QLatin1Char('0')));
            EXPECT_NEAR(baselineInches(*names[i], kBody), 1.65 - descent + 0.15 * double(i), 0.01);
        }
        EXPECT_LE(baselineInches(*names.back(), kBody) + descent, 10.0 + 1e-6);
    }
}

TEST_F(BuiltInReports, MemoContinuesOnTheNextPageAfterItsHeader)
{
    QStringList memo;
    for (int i = 1; i <= 100; ++i)
        memo << QStringLiteral("Memo line %1").arg(i);
    Row withMemo = person(QStringLiteral("Adams"), QStringLiteral("Ann"));
    withMemo["MEMO"] = memo.join(QStringLiteral("\r\n"));
    open({withMemo, person(QStringLiteral("Baker"), QStringLiteral("Bob"))});
    const QString pdf = dir + QStringLiteral("/memo.pdf");
    ASSERT_EQ(printReport(table, options(1, true), pdf), 2);
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    const double descent = printing::FontMeasure(kBody).descent();
    // Page 1: the record, then 55 memo lines; page 2: its header, the other 45, then Baker.
    std::vector<double> lines[2];
    for (int p = 0; p < 2; ++p) {
        for (const PdfWord& w : pages[std::size_t(p)])
            if (w.text == QLatin1String("Memo"))
                lines[p].push_back(baselineInches(w, kBody));
        std::sort(lines[p].begin(), lines[p].end());
    }
    ASSERT_EQ(lines[0].size(), 55u);
    ASSERT_EQ(lines[1].size(), 45u);
    EXPECT_NEAR(lines[0].front(), 1.65 - descent + 0.15, 0.01);
    EXPECT_LE(lines[0].back() + descent, 10.0 + 1e-6);
    EXPECT_NEAR(lines[1].front(), 1.65 - descent, 0.01);
    EXPECT_TRUE(firstNamed(pages[1], QStringLiteral("Report")));
    EXPECT_TRUE(firstNamed(pages[1], QStringLiteral("2")));
    // Memo lines start at the left margin plus the cell's margin.
    const PdfWord* first = firstNamed(pages[1], QStringLiteral("Memo"));
    ASSERT_TRUE(first);
    EXPECT_NEAR(leftInches(*first), 1.02, 0.01);
    const PdfWord* baker = firstNamed(pages[1], QStringLiteral("Baker,"));
    ASSERT_TRUE(baker);
    EXPECT_NEAR(baselineInches(*baker, kBody), lines[1].back() + 0.15, 0.01);
}

TEST_F(BuiltInReports, MemoAndCodesLinesKeepTheirShadeAcrossPages)
{
    QStringList memo;
    for (int i = 1; i <= 70; ++i)
        memo << QStringLiteral("line %1").arg(i);
    Row r = smith();
    r["MEMO"] = memo.join(QStringLiteral("\n"));
    open({r});
    BuiltInReportJob job(table, options(1, true, true), {RecordChoice::All, false});
    ASSERT_TRUE(job.prepare({}));
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    ASSERT_TRUE(c.execute({}, [&](printing::TPrintCanvas& canvas) { job.body(canvas, stop); }));
    ASSERT_EQ(doc.pageCount(), 2);
    auto fills = [&](int page, int grey) {
        int n = 0;
        for (const auto& op : doc.page(page))
            if (const auto* s = std::get_if<printing::ShapeOp>(&op))
                n += s->brush.style == printing::BrushStyle::Solid && s->brush.color == QColor(grey, grey, grey)
                     && std::abs(s->rect.left() - 1.0) < 1e-6 && std::abs(s->rect.right() - 8.0) < 1e-6;
        return n;
    };
    const int five = printing::shadeToGrey(5), ten = printing::shadeToGrey(10);
    EXPECT_EQ(fills(0, five), 1);               // "Codes: VIP" once, across the body
    EXPECT_EQ(fills(0, ten) + fills(1, ten), 70); // one grey cell per memo line, on both pages
    EXPECT_GT(fills(1, ten), 0);
    bool codes = false;
    for (const auto& op : doc.page(0))
        if (const auto* t = std::get_if<printing::TextOp>(&op))
            codes = codes || t->text == QLatin1String("Codes: ");
    EXPECT_TRUE(codes);
}

TEST_F(BuiltInReports, ChoicesDecideWhichRecordsPrint)
{
    Row gone = person(QStringLiteral("Gone"), QStringLiteral("Gus"));
    gone["PREFIX"] = QStringLiteral("deleted");
    Row flagged = person(QStringLiteral("Flagged"), QStringLiteral("Flo"));
    flagged["ISDEL"] = QStringLiteral("T");
    Row noName = person(QString(), QStringLiteral("Nobody"));
    noName["ORG"] = QStringLiteral("Orgless");
    Row blankOrg = person(QStringLiteral("Zed"), QStringLiteral("Zoe"));
    open({smith(), gone, flagged, noName, blankOrg});
    auto names = [](const std::vector<QStringList>& pages) {
        QStringList out;
        for (const QStringList& p : pages)
            for (const QString& t : p)
                for (const char* n : {"Flagged", "Gone", "Smith", "Zed"})
                    if (t.startsWith(QLatin1String(n) + QLatin1String(", ")))
                        out << QLatin1String(n);
        return out;
    };
    // All records: deleted-flagged records print, a prefix reading DELETED does not; report 1
    // skips the empty last name.
    EXPECT_EQ(names(recordedTexts(table, options(1), {RecordChoice::All, false})),
              QStringList({"Flagged", "Smith", "Zed"}));
    // Records matching the filter: the query in force (!ISDEL) stays.
    EXPECT_EQ(names(recordedTexts(table, options(2), {RecordChoice::Filter, false})),
              QStringList({"Gone", "Smith", "Zed"}));
    // Report 3 orders by organization and leaves out the record without one; report 4 keeps all.
    const auto orgs = recordedTexts(table, options(3), {RecordChoice::All, false});
    EXPECT_TRUE(orgs[0].contains(QStringLiteral("Acme")));
    EXPECT_TRUE(orgs[0].contains(QStringLiteral("Orgless")));
    EXPECT_FALSE(names(orgs).contains(QStringLiteral("Zed")));
    const auto all4 = recordedTexts(table, options(4), {RecordChoice::All, false});
    EXPECT_EQ(names(all4), QStringList({"Flagged", "Smith", "Zed"}));
    EXPECT_TRUE(all4[0].contains(QStringLiteral("Orgless"))); // the nameless record prints too
}

TEST_F(BuiltInReports, CurrentRecordAndStartFromCurrent)
{
    Row noName = person(QString(), QStringLiteral("Nobody"));
    open({smith(), noName, person(QStringLiteral("Young"), QStringLiteral("Yan"))});
    // Only the current record, whose last name is empty: the header and no record line.
    table.setOrder(QString());
    table.goTo(2);
    const auto only = recordedTexts(table, options(1), {RecordChoice::Current, false});
    ASSERT_EQ(only.size(), 1u);
    EXPECT_TRUE(only[0].contains(QStringLiteral("Report 1")));
    EXPECT_FALSE(only[0].contains(QStringLiteral("Smith, John Q.")));
    EXPECT_FALSE(only[0].contains(QStringLiteral(", Nobody ")));
    // The table comes back as it was.
    EXPECT_EQ(table.recNo(), 2u);
    EXPECT_EQ(table.order(), QString());
    EXPECT_EQ(table.filter(), QStringLiteral("!ISDEL"));

    // Starting from a record outside the choice: the message, then from the first record.
    table.setFilter(QStringLiteral("LNAME<>\"Young\" .and. !ISDEL"));
    table.goTo(3);
    QStringList messages;
    const auto all = recordedTexts(table, options(1), {RecordChoice::Filter, true}, &messages);
    EXPECT_EQ(messages, QStringList({QString::fromLatin1(kOutOfRangeMessage)}));
    EXPECT_TRUE(all[0].contains(QStringLiteral("Smith, John Q.")));
    // Starting from a record inside it: from there on only.
    table.setFilter(QStringLiteral("!ISDEL"));
    table.goTo(3);
    messages.clear();
    const auto from = recordedTexts(table, options(1), {RecordChoice::All, true}, &messages);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(from[0].contains(QStringLiteral("Smith, John Q.")));
    EXPECT_TRUE(from[0].contains(QStringLiteral("Young, Yan ")));
}

TEST_F(BuiltInReports, LongValuesAreCutAtTheirCellsClip)
{
    Row r = smith();
    r["STREET"] = QStringLiteral("1234567890 Very Long Boulevard Name That Never Ends Here");
    open({r});
    BuiltInReportJob job(table, options(1), {RecordChoice::All, false});
    ASSERT_TRUE(job.prepare({}));
    printing::RecordingDevice doc;
    printing::TPrintCanvas c;
    c.setDevice(&doc);
    bool stop = false;
    ASSERT_TRUE(c.execute({}, [&](printing::TPrintCanvas& canvas) { job.body(canvas, stop); }));
    bool found = false;
    for (const auto& op : doc.page(0))
        if (const auto* t = std::get_if<printing::TextOp>(&op); t && t->text.startsWith(QLatin1String("1234567890"))) {
            found = true;
            ASSERT_TRUE(t->clipped);
            // The clip ends 0.2 inch short of the 2.15 inch column, from where the text starts.
            EXPECT_NEAR(t->clip.right(), 2.77 + 2.15 - 0.2, 1.0 / 300);
            EXPECT_NEAR(t->clip.left(), 2.77, 1.0 / 300);
        } else if (t && t->text == QLatin1String("Smith, John Q.")) {
            EXPECT_FALSE(t->clipped); // a value that fits prints as it is
        }
    EXPECT_TRUE(found);
}
