// The banded print: header and footer on every page with its number, detail bands that overflow
// to new pages, bands taller than the page, memo lines across pages in their own boxes, one
// record per page, shades and borders where the report's layout puts them.
#include "bandedreportprint.h"
#include "composedtextobjects.h"
#include "designhost.h"
#include "devices.h"
#include "printcanvas.h"
#include "reportjobs.h"
#include "textobjects.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;
using namespace postavo::reports;
using printing::TPrintCanvas;

namespace {

struct Report {
    QObject owner;
    ObjectList header{&owner}, detail{&owner}, footer{&owner};
    ReportVars vars = ReportVars::defaults(96);
    Report()
    {
        vars.useFooter = true;
        text(header, "HEAD", 0);
        auto* page = new TGPageNumberLabel;
        page->setParent(&owner);
        header.insertObject(page);
        page->setBounds(400, 0, 60, 20);
        text(detail, "ROW", 0);
        text(footer, "FOOT", 0);
    }
    ~Report()
    {
        for (ObjectList* b : {&header, &detail, &footer})
            b->freeAllObjects();
    }
    void text(ObjectList& band, const char* caption, int top)
    {
        auto* t = new TGPLabel;
        t->setParent(&owner);
        band.insertObject(t);
        t->setBounds(0, top, 100, 20);
        t->setCaption(QString::fromLatin1(caption));
    }
    // Prints `records` (their memos) and returns the recording.
    std::unique_ptr<printing::RecordingDevice> print(std::vector<ReportRecord> records, bool onePerPage = false)
    {
        auto doc = std::make_unique<printing::RecordingDevice>(QSizeF(8.5, 11), 300);
        TPrintCanvas c;
        c.setDevice(doc.get());
        TUserDefinedReportPrint p(header, detail, footer, vars, 96);
        ListRecords source(std::move(records));
        bool stop = false;
        EXPECT_TRUE(c.execute({}, [&](TPrintCanvas& canvas) { p.print(canvas, source, {onePerPage}, stop); }));
        return doc;
    }
};

std::vector<ReportRecord> records(int n, const QString& memo = {})
{
    std::vector<ReportRecord> out(static_cast<std::size_t>(n));
    for (auto& r : out)
        r.memo = memo;
    return out;
}

// The baselines of the texts `text` on page `page`.
std::vector<double> textsAt(const printing::RecordingDevice& doc, int page, const QString& text)
{
    std::vector<double> ys;
    for (const auto& op : doc.page(page))
        if (const auto* t = std::get_if<printing::TextOp>(&op); t && t->text == text)
            ys.push_back(t->origin.y());
    return ys;
}

std::vector<printing::ShapeOp> fills(const printing::RecordingDevice& doc, int page, const QColor& colour)
{
    std::vector<printing::ShapeOp> out;
    for (const auto& op : doc.page(page))
        if (const auto* s = std::get_if<printing::ShapeOp>(&op);
            s && s->brush.style == printing::BrushStyle::Solid && s->brush.color == colour)
            out.push_back(*s);
    return out;
}

constexpr double kBand = 33 / 96.0; // a band 33 pixels high, in inches

} // namespace

TEST(BandedPrint, HeaderAndFooterOnEveryPageWithItsNumber)
{
    Report r;
    // Between the header (0.5 + 33 px) and the footer: 27 detail bands of 33 pixels.
    auto doc = r.print(records(60));
    ASSERT_EQ(doc->pageCount(), 3);
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_EQ(textsAt(*doc, p, "HEAD").size(), 1u);
        EXPECT_EQ(textsAt(*doc, p, "FOOT").size(), 1u);
        EXPECT_EQ(textsAt(*doc, p, QString::number(p + 1)).size(), 1u);
        const auto rows = textsAt(*doc, p, "ROW");
        EXPECT_EQ(rows.size(), p < 2 ? 27u : 6u);
        // Each band's objects start at its top; the detail bands follow each other without gaps.
        const double headTop = textsAt(*doc, p, "HEAD").front();
        const double footTop = textsAt(*doc, p, "FOOT").front();
        EXPECT_NEAR(footTop - headTop, 11 - 0.5 - kBand - 0.5, 1e-9);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_NEAR(rows[i] - headTop, kBand * double(i + 1), 1e-9);
        EXPECT_LE(rows.back() - headTop + kBand, footTop - headTop + 1e-9);
    }
    // The band objects start at the left margin plus an eighth of an inch.
    for (const auto& op : doc->page(0)) {
        if (const auto* t = std::get_if<printing::TextOp>(&op); t && t->text == QLatin1String("ROW")) {
            EXPECT_NEAR(t->origin.x(), 0.625, 1.0 / 96);
        }
    }
}

TEST(BandedPrint, DetailTallerThanThePagePrintsOncePerPageWithoutBlankPages)
{
    Report r;
    r.vars.detailHeight = 1200; // 12.5 inches
    auto doc = r.print(records(3));
    ASSERT_EQ(doc->pageCount(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(textsAt(*doc, p, "ROW").size(), 1u) << p;
    // A report whose header and footer leave no room is refused before it prints.
    r.vars.headerHeight = 500;
    r.vars.footerHeight = 500;
    EXPECT_FALSE(bandedReportProblem(r.vars, 96, 8.5, 11).isEmpty());
    EXPECT_TRUE(bandedReportProblem(ReportVars::defaults(96), 96, 8.5, 11).isEmpty());
}

TEST(BandedPrint, OneRecordPerPageLeavesNoBlankPageAtTheEnd)
{
    Report r;
    auto doc = r.print(records(4), true);
    ASSERT_EQ(doc->pageCount(), 4);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(textsAt(*doc, p, "ROW").size(), 1u);
    EXPECT_EQ(r.print(records(1), true)->pageCount(), 1);
    EXPECT_EQ(r.print(records(0), true)->pageCount(), 1); // the header and footer alone
}

TEST(BandedPrint, LongMemoContinuesInItsOwnBoxOnEveryPage)
{
    Report r;
    r.vars.useMemo = true;
    r.vars.bands[bandMemo].shadePercent = 20;
    r.vars.bands[bandMemo].shadeColor = 0;
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << QStringLiteral("m%1").arg(i);
    auto doc = r.print(records(2, lines.join(QStringLiteral("\n"))));
    const double lh = 10 / 60.0;
    const double bottom = 11 - 0.5 - kBand;
    int printed = 0;
    QStringList order;
    for (int p = 0; p < doc->pageCount(); ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_EQ(textsAt(*doc, p, "HEAD").size(), 1u);
        EXPECT_EQ(textsAt(*doc, p, "FOOT").size(), 1u);
        for (const auto& op : doc->page(p))
            if (const auto* t = std::get_if<printing::TextOp>(&op); t && t->text.startsWith(QLatin1Char('m'))) {
                ++printed;
                order << t->text;
                EXPECT_LE(t->origin.y(), bottom);
            }
        // One memo box per part on the page, each as high as its lines and a descent.
        const auto boxes = fills(*doc, p, shadeFill(0, 20));
        for (const auto& b : boxes) {
            const double h = b.rect.height() + 0.01;
            const double n = std::round((h - 0.03) / lh);
            EXPECT_NEAR(h - n * lh, printing::FontMeasure(printing::CanvasFont()).descent(), 0.01);
            // The box holds whole lines above the footer, and the last line's descent.
            EXPECT_LE(b.rect.bottom(), bottom + printing::FontMeasure(printing::CanvasFont()).descent() + 1e-9);
        }
        EXPECT_FALSE(boxes.empty());
    }
    EXPECT_EQ(printed, 240);
    EXPECT_EQ(order.mid(0, 120), lines);
    EXPECT_EQ(order.mid(120), lines);
    // 53 lines under the first detail band, 55 on a full page: five pages for both records.
    EXPECT_EQ(doc->pageCount(), 5);
}

TEST(BandedPrint, ShadeAndBordersOfABand)
{
    Report r;
    r.vars.bands[bandFooter] = {true, true, true, true, 2, 40, 0};
    auto doc = r.print(records(1));
    const double top = 11 - 0.5 - kBand, bottom = 11 - 0.5;
    // The fill: 153 grey, its left and top edges 0.01 inch inside the footer's box.
    const auto shade = fills(*doc, 0, QColor(153, 153, 153));
    ASSERT_EQ(shade.size(), 1u);
    EXPECT_EQ(shade[0].pen.style, printing::PenStyle::Clear);
    EXPECT_NEAR(shade[0].rect.left(), 0.51, 1e-9);
    EXPECT_NEAR(shade[0].rect.top(), top + 0.01, 1e-9);
    EXPECT_NEAR(shade[0].rect.right(), 8.0, 1e-9);
    EXPECT_NEAR(shade[0].rect.bottom(), bottom, 1e-9);
    // The borders: 2/100 inch (6 device pixels at 300), moved 2 device pixels inward, drawn top,
    // right, bottom, left.
    std::vector<printing::LineOp> lines;
    for (const auto& op : doc->page(0))
        if (const auto* l = std::get_if<printing::LineOp>(&op))
            lines.push_back(*l);
    ASSERT_EQ(lines.size(), 4u);
    const double d = 2 / 300.0;
    EXPECT_EQ(lines[0].pen.devicePixels, 6);
    EXPECT_NEAR(lines[0].from.y(), top + d, 1e-9);
    EXPECT_NEAR(lines[0].from.x(), 0.5 + d, 1e-9);
    EXPECT_NEAR(lines[0].to.x(), 8.0 - d, 1e-9);
    EXPECT_NEAR(lines[1].from.x(), 8.0 - d, 1e-9);
    EXPECT_NEAR(lines[2].from.y(), bottom - d, 1e-9);
    EXPECT_NEAR(lines[3].from.x(), 0.5 + d, 1e-9);
    // A line one wide stays on the box's edge.
    r.vars.bands[bandFooter] = {false, true, false, false, 1, 0, 0};
    doc = r.print(records(1));
    for (const auto& op : doc->page(0)) {
        if (const auto* l = std::get_if<printing::LineOp>(&op)) {
            EXPECT_NEAR(l->from.y(), top, 1e-9);
        }
    }
}

TEST(BandedPrint, MemoLinesFollowTheirAlignment)
{
    Report r;
    r.vars.useMemo = true;
    r.vars.useDetail = false;
    const QString text = QStringLiteral("short");
    double xs[3] = {};
    for (int a : {memoLeft, memoRight, memoCentred}) {
        r.vars.memoAlignment = a;
        auto doc = r.print(records(1, text));
        for (const auto& op : doc->page(0))
            if (const auto* t = std::get_if<printing::TextOp>(&op); t && t->text == text)
                xs[a] = t->origin.x();
    }
    const double w = printing::FontMeasure(printing::CanvasFont()).width(text);
    EXPECT_NEAR(xs[memoLeft], 0.625, 1e-9);
    EXPECT_NEAR(xs[memoRight], 8.0 - 0.125 - w, 1e-9);
    EXPECT_NEAR(xs[memoCentred], (0.625 + 7.875) / 2 - w / 2, 1e-9);
}

TEST(BandedPrint, NoRoomForAMemoLineStillEnds)
{
    // Paper left with less than a memo line between header and footer: one line a page, no loop.
    Report r;
    r.vars.useMemo = true;
    r.vars.useDetail = false;
    r.vars.headerHeight = 480;
    r.vars.footerHeight = 470;
    auto doc = r.print(records(1, QStringLiteral("a\nb\nc")));
    EXPECT_EQ(doc->pageCount(), 3);
}
