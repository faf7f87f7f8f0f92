#pragma once
// The report catalogue REPORT.DBF in sysdata/: one entry per banded report (description, page
// description, layout file), listed in description order, with the commands New, Modify, Clone
// and Delete and the loading and saving of a report's layout file.

#include "reportfile.h"
#include "reportvars.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace postavo {
namespace engine {
class Table;
}
} // namespace postavo

namespace postavo::design {
class DesignHost;
}

namespace postavo::reports {

struct ReportEntry {
    quint32 recno = 0;
    QString description;  // DESCRIPT, up to 60 characters
    QString layout;       // LAYOUT: "Letter Size, Portrait" ...
    QString binary;       // BINARY: BIN00001.R
    bool operator==(const ReportEntry&) const = default;
};

inline constexpr const char* kNewReportDescription = "<new report>";

class ReportCatalogue {
public:
    ReportCatalogue();
    ~ReportCatalogue();

    // Opens (or creates) the catalogue in `sysdataDir` (the program's sysdata/ when empty), with
    // the engine's deleted entries hidden, in description order. False with `message` ("Unable
    // to Open or Create REPORT.DBF").
    bool open(QString* message, const QString& sysdataDir = {});
    void close();
    bool isOpen() const { return table_ != nullptr; }
    QString sysdataDir() const { return dir_; }

    std::vector<ReportEntry> entries() const;
    std::optional<ReportEntry> entry(quint32 recno) const;
    bool hasEntries() const { return !entries().empty(); }
    // The layout file of an entry (any letter case on disk); empty when BINARY is.
    QString layoutPath(const ReportEntry& e) const;

    // ---- commands; each false with `error` and everything as it was ----
    // Appends an entry (a new report) or changes the entry `e.recno`.
    bool add(ReportEntry* e, QString* error);
    bool update(const ReportEntry& e, QString* error);
    // Deletes the entry and its layout file when it exists.
    bool remove(const ReportEntry& e, QString* error);
    // A new entry "Clone of " + the description with a copy of the layout file under a new name
    // (nothing is copied when the old file is missing; the entry is added all the same).
    bool clone(const ReportEntry& e, ReportEntry* copy, QString* error);

    // The questions the window asks: "Delete \"Monthly list\"?" and "Clone \"Monthly list\"?".
    static QString deleteQuestion(const ReportEntry& e);
    static QString cloneQuestion(const ReportEntry& e);

    // ---- a report's layout (LoadReport, SaveReport) ----
    // A new report: the defaults, "<new report>" and "Letter Size, Portrait". Otherwise the
    // entry's file is read into the emptied bands; a missing file leaves them empty and the
    // settings at their defaults. `message` tells what could not be read.
    ReportFileRead loadReport(const ReportEntry* e, design::DesignHost& header, design::DesignHost& detail,
                              design::DesignHost& footer, ReportVars* vars, double ppi) const;
    // Writes the layout file (a new report gets the next free name), then the catalogue entry.
    // A new report whose entry cannot be stored leaves no file behind.
    bool saveReport(ReportEntry* e, bool isNew, const design::DesignHost& header, const design::DesignHost& detail,
                    const design::DesignHost& footer, const ReportVars& vars, double ppi, QString* error);

private:
    bool store(ReportEntry* e, bool append, QString* error);

    std::unique_ptr<engine::Table> table_;
    QString dir_;
};

} // namespace postavo::reports
