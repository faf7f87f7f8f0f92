#pragma once
// TBuiltInReportPrint: the four fixed list reports drawn on the print canvas, page by page, with
// their header on every page, the optional codes line and memo lines after each record.

#include "reportrecords.h"

#include <QDate>
#include <QString>
#include <array>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::reports {

// The list "Select Report:" in order.
const std::array<QString, 4>& builtInReportNames();
// "Report " followed by the entry's number (1 to 4).
QString defaultReportTitle(int report);
// The index tag a built-in report orders its records by: LNAME, or ORG for report 3.
QString builtInReportOrder(int report);
// Reports 1 to 3 skip the records whose order key sorts below "0".
inline bool builtInReportSeeksFromZero(int report) { return report >= 1 && report <= 3; }

// What a column of reports 1 to 3 shows.
enum class ColumnValue { ListName, Street, CityLine, Phone, Organization, Fax };

struct BuiltInColumn {
    const char* heading;
    double width; // inches; the next column starts where this one ends
    ColumnValue value;
};

// The four columns of report 1, 2 or 3; the first starts at 1.00 inch.
const std::array<BuiltInColumn, 4>& builtInColumns(int report);
// Report 4's stops: 1.00 (0.50), 1.50 (2.25), 3.75 (3.00), 6.75 (1.50).
struct TabPlace {
    double x, width;
};
const std::array<TabPlace, 4>& report4Stops();
// The value a column shows for a record.
QString columnText(ColumnValue value, const ReportRecord& r);

// The page frame every built-in report shares (inches).
struct BuiltInFrame {
    static constexpr double kLeft = 1.0, kRight = 0.5, kTop = 0.5, kBottom = 0.5;
    static constexpr double kTabMargin = 2;       // hundredths of an inch
    static constexpr double kClipShort = 0.2;     // DoTextRect cuts a text this much short of its width
    static constexpr double kBodyFont = 9;
    static constexpr double kTitleFont = 14;
    // The body section of a page of `pageWidth` x `pageHeight`: Letter gives 1.0-8.0 across and
    // 1.5-10.0 down.
    static double bodyTop() { return kTop + 1.0; }
    static double bodyBottom(double pageHeight) { return pageHeight - kBottom - 0.5; }
    static double bodyRight(double pageWidth) { return pageWidth - 0.5; }
};

struct BuiltInReportOptions {
    int report = 1;                 // 1 to 4
    QString title = QStringLiteral("Report 1");
    bool printMemo = false;
    bool printCodes = false;
    QDate today = QDate::currentDate();
    QString dateFormat;             // empty: the program's short date format
};

class TBuiltInReportPrint {
public:
    explicit TBuiltInReportPrint(BuiltInReportOptions options);

    const BuiltInReportOptions& options() const { return options_; }

    // The body of a run: the header on the first page, then every record of `records` until
    // its end, Stop (`stop`) or an aborted job. `afterRecord` runs after each record (the
    // windows let pending events run there).
    void print(printing::TPrintCanvas& c, RecordSource& records, const bool& stop,
               const std::function<void()>& afterRecord = {});

    // ---- the pieces, for the tests ----
    void setUp(printing::TPrintCanvas& c);
    void headerFooter(printing::TPrintCanvas& c);
    void newPage(printing::TPrintCanvas& c);
    void printRecord(printing::TPrintCanvas& c, const ReportRecord& r);
    void handleCodesAndMemo(printing::TPrintCanvas& c, const ReportRecord& r);
    // Draws `text` in the current tab cell, cut off `kClipShort` short of `width` from where it
    // starts; nothing for an empty text.
    static void doTextRect(printing::TPrintCanvas& c, const QString& text, double width);
    // The width memos are wrapped to on a page `pageWidth` wide.
    static double memoWrapWidth(double pageWidth);

private:
    void setColumnStops(printing::TPrintCanvas& c);
    void setShadedStop(printing::TPrintCanvas& c, int shade);
    QString todayText() const;

    BuiltInReportOptions options_;
    double memoWidth_ = 0;
};

} // namespace postavo::reports
