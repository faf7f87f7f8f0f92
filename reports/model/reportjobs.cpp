#include "reportjobs.h"

#include "addressfile.h"
#include "printcanvas.h"
#include "reportfile.h"

#include <QFileInfo>

namespace postavo::reports {

printing::ProgressTexts reportProgressTexts()
{
    printing::ProgressTexts t;
    t.cancelQuestion = QString::fromLatin1(kReportCancelQuestion);
    t.printCanceled = QStringLiteral("\rReport Print Canceled!");
    t.previewCanceled = QStringLiteral("\rReport Preview Canceled!");
    t.printCompleted = QStringLiteral("\rReport Print Completed!");
    t.previewReady = QStringLiteral("\rReport Preview Ready!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    return t;
}

// ---- BuiltInReportJob ----

BuiltInReportJob::BuiltInReportJob(AddressTable& table, BuiltInReportOptions options, RecordSelection selection)
    : table_(table), selection_(selection), scope_(table), print_(std::move(options))
{
}

bool BuiltInReportJob::prepare(const Inform& inform, QString* error)
{
    const int report = print_.options().report;
    prepared_ = scope_.select(selection_, builtInReportOrder(report), builtInReportSeeksFromZero(report), inform,
                              error);
    return prepared_;
}

void BuiltInReportJob::body(printing::TPrintCanvas& c, const bool& stop, const std::function<void()>& afterRecord)
{
    TableRecords records(table_, print_.options().printMemo);
    if (!prepared_) {
        ListRecords none({});
        print_.print(c, none, stop, afterRecord);
        return;
    }
    print_.print(c, records, stop, afterRecord);
}

// ---- BandedReportJob ----

BandedReportJob::BandedReportJob(AddressTable& table, RecordSelection selection, BandedPrintOptions options,
                                 double ppi)
    : table_(table), selection_(selection), options_(options), ppi_(ppi), vars_(ReportVars::defaults(ppi)),
      scope_(table)
{
    for (auto& b : bands_) {
        b = std::make_unique<design::ObjectList>(&owner_);
        b->setDataset(&table_);
        b->setDisplayDataValues(true);
    }
}

BandedReportJob::~BandedReportJob()
{
    for (auto& b : bands_)
        b->freeAllObjects();
}

design::DesignHost& BandedReportJob::band(int which) { return *bands_[std::clamp(which, 0, 2)]; }

void BandedReportJob::load(const QString& path, const Inform& inform)
{
    for (auto& b : bands_)
        b->freeAllObjects();
    vars_ = ReportVars::defaults(ppi_);
    const ReportFileRead read = readReportFile(path, *bands_[0], *bands_[1], *bands_[2], &vars_, ppi_);
    const QString message = read.message(QFileInfo(path).fileName());
    if (!message.isEmpty() && inform)
        inform(message);
}

bool BandedReportJob::prepare(const Inform& inform, QString* error)
{
    prepared_ = scope_.select(selection_, QString(), false, inform, error);
    return prepared_;
}

QString BandedReportJob::problem(double pageWidth, double pageHeight) const
{
    return bandedReportProblem(vars_, ppi_, pageWidth, pageHeight);
}

void BandedReportJob::body(printing::TPrintCanvas& c, const bool& stop, const std::function<void()>& afterRecord)
{
    TUserDefinedReportPrint print(*bands_[0], *bands_[1], *bands_[2], vars_, ppi_);
    TableRecords records(table_, vars_.useMemo);
    ListRecords none({});
    RecordSource& source = prepared_ ? static_cast<RecordSource&>(records) : static_cast<RecordSource&>(none);
    for (auto& b : bands_)
        b->setPrinting(true);
    print.print(c, source, options_, stop, afterRecord);
    for (auto& b : bands_)
        b->setPrinting(false);
}

// ---- SingleRecordJob ----

SingleRecordJob::SingleRecordJob(AddressTable& table, SingleRecordChoice choice)
    : print_(readCurrentRecord(table), choice)
{
}

void SingleRecordJob::body(printing::TPrintCanvas& c, const bool& stop) { print_.print(c, stop); }

} // namespace postavo::reports
