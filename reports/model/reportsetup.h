#pragma once
// The state of the report window ("Print Report") apart from the window: the tab, the built-in
// report and its title and switches, the record choice both tabs share, and which buttons are
// available (SetReportButtons).

#include "reportrecords.h"

#include <QString>

namespace postavo::reports {

enum class ReportTab { BuiltIn = 0, Designer = 1 };

struct ReportButtons {
    bool print = false, preview = false, whatToPrint = false;
    bool oneRecordPerPageVisible = false;
    bool modify = false, remove = false, clone = false, list = false;
    bool newReport = true;
};

struct ReportSetupState {
    ReportTab tab = ReportTab::BuiltIn;
    int report = 1;                       // 1 to 4
    QString title = QStringLiteral("Report 1");
    bool printMemo = false, printCodes = false;
    RecordSelection selection;
    bool filterAvailable = true;          // "Records matching filter" can be chosen
    bool oneRecordPerPage = false;
    bool catalogueHasCurrent = false;     // the report list has a current report

    // The window as it opens: report 1, "Report 1", records matching the filter, or all records
    // (the filter choice disabled) when no filter is set.
    static ReportSetupState opening(bool filterSet);
    // Clicking list entry n: that report, titled "Report " + n.
    void chooseReport(int n);
    ReportButtons buttons() const;
};

} // namespace postavo::reports
