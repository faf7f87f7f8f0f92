// The main window's report commands: "Print Reports" (Ctrl+R and the "Reports" button), "Print
// Current Record" (Ctrl+P) and "Count Zip Codes".
#include "commands.h"

#include "currentrecordwindow.h"
#include "helptopics.h"
#include "mainwindow.h"
#include "reportsetupwindow.h"
#include "zipcountwindow.h"

namespace postavo {

namespace {

void registerReportHelp()
{
    registerHelpTopic({reports::TReportSetup::kHelpTopic, QStringLiteral("Printing reports"),
                       {QStringLiteral("report"), QStringLiteral("print"), QStringLiteral("list")},
                       QStringLiteral("<p>The <b>Print Report</b> window prints lists of your addresses. On the "
                                      "<i>Built In Reports</i> tab choose one of the four list reports, give it a "
                                      "title and tick <i>Print Memo</i> or <i>Print Codes</i> to add the memo and "
                                      "codes of each record. On the <i>Report Designer</i> tab choose one of your "
                                      "own reports, or make one with <i>New</i>.</p><p><i>What to Print</i> chooses "
                                      "all records, the records matching the filter or the current record only.</p>")});
    registerHelpTopic({1079, QStringLiteral("Designing a report"),
                       {QStringLiteral("report"), QStringLiteral("designer"), QStringLiteral("band")},
                       QStringLiteral("<p>A report is made of a <b>header</b> printed at the top of every page, a "
                                      "<b>detail</b> band printed once per record, the record's <b>memo</b> and a "
                                      "<b>footer</b> at the bottom of every page. Choose a tool and draw on a band; "
                                      "drag the grey strip under a band to make it higher or lower. Database fields "
                                      "belong in the detail band, dates and page numbers in the header or footer, "
                                      "pictures in the header.</p>")});
    registerHelpTopic({1078, QStringLiteral("Report layout"),
                       {QStringLiteral("report"), QStringLiteral("margins"), QStringLiteral("border"),
                        QStringLiteral("shade")},
                       QStringLiteral("<p>Choose the paper, its orientation and margins on the <i>Page</i> tab, and "
                                      "each band's borders and shade on its own tab. <i>Defaults</i> sets Letter, "
                                      "portrait, half-inch margins and plain bands.</p>")});
    registerHelpTopic({reports::TCountZipCodes::kHelpTopic, QStringLiteral("Counting zip codes"),
                       {QStringLiteral("zip"), QStringLiteral("count")},
                       QStringLiteral("<p>Counts how many records carry each zip code (its first five characters) "
                                      "and prints the counts in four columns: five-digit zip codes first, then the "
                                      "other codes, then the records without a zip code as BLANK.</p>")});
}

} // namespace

void installReportCommands(TAddressMain& main)
{
    registerReportHelp();
    main.setCommandHandler(Command::PrintReports, [&main] {
        main.runWorkWindow(TAddressMain::WorkKind::Print, [&main] {
            AddressBookController& c = main.controller();
            reports::TReportSetup window(c.table(), c.filterSet(), &main);
            if (window.openCatalogue())
                window.exec();
        });
    });
    main.setCommandHandler(Command::PrintCurrent, [&main] {
        main.runWorkWindow(TAddressMain::WorkKind::Print, [&main] {
            reports::TPrintCurrentRecord window(main.controller().table(), &main);
            window.exec();
        });
    });
    main.setCommandHandler(Command::CountZip, [&main] {
        main.runWorkWindow(TAddressMain::WorkKind::Utility, [&main] {
            reports::TCountZipCodes window(main.controller().table(), &main);
            window.exec();
        });
    });
}

} // namespace postavo
