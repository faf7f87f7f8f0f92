#pragma once
// One report run from set-up to clean-up, the same for the windows and the batch tool: the
// records are chosen (order, query, start) when the job is prepared, the body draws on whatever
// canvas the caller executes, and the table's order, query and record come back when the job
// object goes away.

#include "bandedreportprint.h"
#include "builtinreports.h"
#include "designhost.h"
#include "progressframe.h"
#include "reportrecords.h"
#include "singlerecordprint.h"

#include <QObject>
#include <memory>

namespace postavo {
class AddressTable;
}

namespace postavo::reports {

// The progress window texts of the report runs (built-in, banded, single record).
printing::ProgressTexts reportProgressTexts();
inline constexpr const char* kReportCancelQuestion = "Cancel Report Printing?";
inline constexpr const char* kReportPreviewCaption = "Preview Report";

// A message for the user (the out-of-range start, a report file read in part).
using Inform = std::function<void(const QString&)>;

class BuiltInReportJob {
public:
    BuiltInReportJob(AddressTable& table, BuiltInReportOptions options, RecordSelection selection);
    // DoPrintBuiltIns steps 1 to 4. False with `error` when the records cannot be chosen.
    bool prepare(const Inform& inform, QString* error = nullptr);
    // The run's body (PrintReport1 to 4).
    void body(printing::TPrintCanvas& c, const bool& stop, const std::function<void()>& afterRecord = {});
    const BuiltInReportOptions& options() const { return print_.options(); }

private:
    AddressTable& table_;
    RecordSelection selection_;
    ReportRecordScope scope_;
    TBuiltInReportPrint print_;
    bool prepared_ = false;
};

class BandedReportJob {
public:
    BandedReportJob(AddressTable& table, RecordSelection selection, BandedPrintOptions options,
                    double ppi);
    ~BandedReportJob();
    // LoadReport into the job's three bands from a report file. A file that cannot be read
    // whole still loads what it can; `inform` tells what went wrong.
    void load(const QString& path, const Inform& inform);
    // Bands and settings given directly (the designer's, tests).
    void setVars(const ReportVars& vars) { vars_ = vars; }
    design::DesignHost& band(int which); // 0 header, 1 detail, 2 footer
    const ReportVars& vars() const { return vars_; }
    // The paper the print is set to (SetPaperSizeFromReportVars).
    ReportPaper paper() const { return vars_.paper(ppi_); }
    // The records (no order change, no seek). False with `error`.
    bool prepare(const Inform& inform, QString* error = nullptr);
    // Why the report cannot print on a page of this size; empty when it can.
    QString problem(double pageWidth, double pageHeight) const;
    void body(printing::TPrintCanvas& c, const bool& stop, const std::function<void()>& afterRecord = {});

private:
    AddressTable& table_;
    RecordSelection selection_;
    BandedPrintOptions options_;
    double ppi_;
    QObject owner_; // the bands' objects are named within it
    std::unique_ptr<design::ObjectList> bands_[3];
    ReportVars vars_;
    ReportRecordScope scope_;
    bool prepared_ = false;
};

// The current record's print (TPrintCurrentRecord's DoPrint).
class SingleRecordJob {
public:
    SingleRecordJob(AddressTable& table, SingleRecordChoice choice);
    void body(printing::TPrintCanvas& c, const bool& stop);

private:
    TSingleRecordPrint print_;
};

} // namespace postavo::reports
