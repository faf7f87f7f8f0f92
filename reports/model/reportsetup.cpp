#include "reportsetup.h"

#include "builtinreports.h"

#include <algorithm>

namespace postavo::reports {

ReportSetupState ReportSetupState::opening(bool filterSet)
{
    ReportSetupState s;
    s.filterAvailable = filterSet;
    s.selection.which = filterSet ? RecordChoice::Filter : RecordChoice::All;
    return s;
}

void ReportSetupState::chooseReport(int n)
{
    report = std::clamp(n, 1, 4);
    title = defaultReportTitle(report);
}

ReportButtons ReportSetupState::buttons() const
{
    ReportButtons b;
    const bool builtIn = tab == ReportTab::BuiltIn;
    const bool canRun = builtIn || catalogueHasCurrent;
    b.print = b.preview = b.whatToPrint = canRun;
    b.oneRecordPerPageVisible = !builtIn;
    b.modify = b.remove = b.clone = b.list = catalogueHasCurrent;
    b.newReport = true;
    return b;
}

} // namespace postavo::reports
