#include "builtinreports.h"

#include "addressfields.h"
#include "printcanvas.h"

#include <algorithm>

namespace postavo::reports {

using printing::TabJustify;
using printing::TabStop;
using printing::TPrintCanvas;

const std::array<QString, 4>& builtInReportNames()
{
    static const std::array<QString, 4> names = {
        QStringLiteral("1. Name,Address,City,State,Zip,Phone"),
        QStringLiteral("2. Name,Organization,Phone,Fax"),
        QStringLiteral("3. Organization,Name,Phone,Fax "),
        QStringLiteral("4. All major fields (takes several lines)"),
    };
    return names;
}

QString defaultReportTitle(int report) { return QStringLiteral("Report ") + QString::number(report); }

QString builtInReportOrder(int report) { return report == 3 ? QStringLiteral("ORG") : QStringLiteral("LNAME"); }

const std::array<BuiltInColumn, 4>& builtInColumns(int report)
{
    static const std::array<BuiltInColumn, 4> columns[3] = {
        {{{"Name", 1.75, ColumnValue::ListName},
          {"Address", 2.15, ColumnValue::Street},
          {"City/St/Zip", 2.00, ColumnValue::CityLine},
          {"Phone", 1.50, ColumnValue::Phone}}},
        {{{"Name", 2.00, ColumnValue::ListName},
          {"Organization", 2.50, ColumnValue::Organization},
          {"Phone", 1.50, ColumnValue::Phone},
          {"Fax", 1.35, ColumnValue::Fax}}},
        {{{"Organization", 2.50, ColumnValue::Organization},
          {"Name", 2.00, ColumnValue::ListName},
          {"Phone", 1.50, ColumnValue::Phone},
          {"Fax", 1.35, ColumnValue::Fax}}},
    };
    return columns[std::clamp(report, 1, 3) - 1];
}

const std::array<TabPlace, 4>& report4Stops()
{
    static const std::array<TabPlace, 4> stops = {{{1.00, 0.50}, {1.50, 2.25}, {3.75, 3.00}, {6.75, 1.50}}};
    return stops;
}

QString columnText(ColumnValue value, const ReportRecord& r)
{
    switch (value) {
    case ColumnValue::ListName: return listName(r);
    case ColumnValue::Street: return r.street;
    case ColumnValue::CityLine: return cityLineReport1(r);
    case ColumnValue::Phone: return r.phone;
    case ColumnValue::Organization: return r.org;
    case ColumnValue::Fax: return r.fax;
    }
    return {};
}

TBuiltInReportPrint::TBuiltInReportPrint(BuiltInReportOptions options) : options_(std::move(options))
{
    options_.report = std::clamp(options_.report, 1, 4);
}

double TBuiltInReportPrint::memoWrapWidth(double pageWidth)
{
    // The section from the left margin to the page width less the left margin, less a quarter.
    return (pageWidth - BuiltInFrame::kLeft) - BuiltInFrame::kLeft - 0.25;
}

QString TBuiltInReportPrint::todayText() const
{
    const QString format = options_.dateFormat.isEmpty() ? displayDateFormat() : options_.dateFormat;
    return options_.today.toString(format);
}

void TBuiltInReportPrint::setColumnStops(TPrintCanvas& c)
{
    c.clearTabs();
    for (int i = 0; i < 4; ++i) {
        TabStop s;
        s.justify = TabJustify::Left;
        s.margin = int(BuiltInFrame::kTabMargin);
        if (options_.report == 4) {
            s.position = report4Stops()[std::size_t(i)].x;
            s.width = report4Stops()[std::size_t(i)].width;
        } else {
            const BuiltInColumn& col = builtInColumns(options_.report)[std::size_t(i)];
            s.position = BuiltInFrame::kLeft;
            s.afterPrevious = i > 0;
            s.width = col.width;
        }
        c.addTab(s);
    }
}

void TBuiltInReportPrint::setShadedStop(TPrintCanvas& c, int shade)
{
    const auto section = c.section();
    c.clearTabs();
    TabStop s;
    s.position = BuiltInFrame::kLeft;
    s.width = section.width();
    s.justify = TabJustify::Left;
    s.margin = int(BuiltInFrame::kTabMargin);
    s.shade = shade;
    c.addTab(s);
}

void TBuiltInReportPrint::setUp(TPrintCanvas& c)
{
    c.setMargins(BuiltInFrame::kLeft, BuiltInFrame::kTop, BuiltInFrame::kRight, BuiltInFrame::kBottom);
    c.resetSection();
    c.setPen(Qt::black);
    // Clipped cells keep the page as it is under them.
    c.setBrush(Qt::white, printing::BrushStyle::Clear);
    setColumnStops(c);
    c.setFont(QStringLiteral("Arial"), BuiltInFrame::kBodyFont);
    memoWidth_ = memoWrapWidth(c.pageWidth());
    headerFooter(c);
}

void TBuiltInReportPrint::headerFooter(TPrintCanvas& c)
{
    const double right = c.pageWidth() - c.marginRight();
    c.resetSection();
    c.setFont(QStringLiteral("Times New Roman"), BuiltInFrame::kTitleFont);
    c.setBold(true);
    c.home();
    c.print(options_.title);
    c.printRight(QStringLiteral("Page ") + QString::number(c.pageNumber()), right);
    c.newLine();
    c.printRight(todayText(), right);

    c.setFont(QStringLiteral("Arial"), BuiltInFrame::kBodyFont);
    c.setBold(true);
    c.gotoXY(BuiltInFrame::kLeft, c.marginTop() + (options_.report == 4 ? 0.5 : 0.8));
    c.newLine();
    auto heading = [&c](int steps, const char* text) {
        for (int i = 0; i < steps; ++i)
            c.tab();
        c.print(QString::fromLatin1(text));
    };
    if (options_.report == 4) {
        heading(1, "Name");
        heading(2, "Title and Organization");
        c.newLine();
        heading(2, "Street");
        heading(1, "City/State/Zip");
        heading(1, "Country");
        c.newLine();
        heading(2, "Phone,Fax");
        heading(1, "Email");
        heading(1, "Date");
    } else {
        for (const BuiltInColumn& col : builtInColumns(options_.report))
            heading(1, col.heading);
    }
    c.setBold(false);
    c.setItalic(false);

    c.setSection(c.marginLeft(), BuiltInFrame::bodyTop(), BuiltInFrame::bodyRight(c.pageWidth()),
                 BuiltInFrame::bodyBottom(c.pageHeight()));
    const auto s = c.section();
    c.setPen(Qt::black);
    c.moveTo(s.left, s.top);
    c.lineTo(s.right, s.top);
    c.moveTo(s.left, s.bottom);
    c.lineTo(s.right, s.bottom);
    c.home();
}

void TBuiltInReportPrint::newPage(TPrintCanvas& c)
{
    c.newPage();
    headerFooter(c);
}

void TBuiltInReportPrint::doTextRect(TPrintCanvas& c, const QString& text, double width)
{
    if (text.isEmpty())
        return;
    const double x = c.x();
    const double clipRight = std::max(x, x + width - BuiltInFrame::kClipShort);
    // Most values fit their cell: they print as they are, and only the long ones carry a clip
    // (which costs a printer or PDF file far more than the text itself).
    if (c.textWidth(text) <= clipRight - x) {
        c.print(text);
        return;
    }
    const double originX = c.xOrigin();
    const QRect clip = c.inchToDeviceRect(QRectF(QPointF(x + originX, c.lineTop()),
                                                 QPointF(clipRight + originX, c.lineBottom())));
    c.printClippedBaseline(clip, x, c.y(), text);
}

void TBuiltInReportPrint::printRecord(TPrintCanvas& c, const ReportRecord& r)
{
    if (options_.report == 4) {
        if (c.linesLeft() < 3)
            newPage(c);
        c.tab();
        if (!r.lname.isEmpty())
            doTextRect(c, fullNameReport4(r), 2.75);
        c.tab();
        c.tab();
        doTextRect(c, titleAndOrganization(r), 4.5);
        c.newLine();

        c.tab();
        c.tab();
        doTextRect(c, r.street, 2.25);
        c.tab();
        const QString city = cityLineReport4(r);
        if (!city.isEmpty())
            doTextRect(c, city, 3.0);
        c.tab();
        doTextRect(c, r.country, 1.5);
        c.newLine();

        c.tab();
        c.tab();
        doTextRect(c, phoneAndFax(r), 2.25);
        c.tab();
        if (!r.email.isEmpty())
            doTextRect(c, r.email, 3.0);
        c.tab();
        doTextRect(c, r.date, 1.5);
        c.newLine();

        handleCodesAndMemo(c, r);
        if (c.linesLeft() > 3) {
            const auto s = c.section();
            c.setPen(QColor(192, 192, 192), printing::PenStyle::Solid, 1);
            c.moveTo(s.left, c.y());
            c.lineTo(s.right, c.y());
            c.setPen(Qt::black);
            c.newLine();
        }
        return;
    }
    if (c.linesLeft() == 0)
        newPage(c);
    for (const BuiltInColumn& col : builtInColumns(options_.report)) {
        c.tab();
        doTextRect(c, columnText(col.value, r), col.width);
    }
    c.newLine();
    handleCodesAndMemo(c, r);
}

void TBuiltInReportPrint::handleCodesAndMemo(TPrintCanvas& c, const ReportRecord& r)
{
    if (options_.printCodes && !r.codes.isEmpty()) {
        if (c.linesLeft() == 0)
            newPage(c);
        c.saveTabs();
        setShadedStop(c, 5);
        c.tab();
        c.print(QStringLiteral("Codes: "));
        c.print(r.codes);
        c.newLine();
        c.restoreTabs();
    }
    if (!options_.printMemo)
        return;
    const QStringList lines =
        memoLines(r.memo, memoWidth_, [&c](const QString& s) { return c.textWidth(s); });
    if (lines.isEmpty())
        return;
    c.saveTabs();
    setShadedStop(c, 10);
    for (const QString& line : lines) {
        // Checked before every line, the first included: a record that filled the page's last
        // line does not push its first memo line below the body.
        if (c.linesLeft() == 0) {
            c.restoreTabs();
            newPage(c);
            c.saveTabs();
            setShadedStop(c, 10);
        }
        c.tab();
        c.print(line);
        c.newLine();
    }
    c.restoreTabs();
}

void TBuiltInReportPrint::print(TPrintCanvas& c, RecordSource& records, const bool& stop,
                                const std::function<void()>& afterRecord)
{
    setUp(c);
    while (!records.atEnd() && !stop && !c.aborted()) {
        printRecord(c, records.current());
        records.next();
        if (afterRecord)
            afterRecord();
    }
}

} // namespace postavo::reports
