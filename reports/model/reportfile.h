#pragma once
// A banded report's layout file: the objects of its header, detail and footer bands followed by
// its settings list. Reading is forgiving where it can be: a settings list that is short, longer
// (written by another version) or damaged part-way keeps the values it has and takes defaults
// for the rest, and the user is told what happened.

#include "reportvars.h"

#include <QString>

namespace postavo::design {
class DesignHost;
}

namespace postavo::reports {

struct ReportFileRead {
    bool exists = false;
    bool objectsComplete = true;  // every object list was read
    bool settingsRead = false;    // some settings came from the file
    int settingsValues = 0;       // how many of the fifty
    QStringList problems;         // what could not be read or had to be corrected
    // One message for the user, or empty when the file was read whole and sound.
    QString message(const QString& fileName) const;
};

// Reads `path` into the three bands (which the caller has emptied) and `vars`. A missing file
// reads nothing (the bands stay empty and `vars` keeps its values). Objects read before an error
// stay on their bands, finished.
ReportFileRead readReportFile(const QString& path, design::DesignHost& header, design::DesignHost& detail,
                              design::DesignHost& footer, ReportVars* vars, double ppi);

// The same for the bytes of a report file.
ReportFileRead readReportBytes(const QByteArray& data, design::DesignHost& header, design::DesignHost& detail,
                               design::DesignHost& footer, ReportVars* vars, double ppi);

// Parses a settings list at `pos` without giving up at the first surprise: see ReportFileRead.
// Values missing or unreadable are taken from `fallback`.
design::ReportSettings readSettingsList(const QByteArray& data, int* pos, const design::ReportSettings& fallback,
                                        int* valuesRead, QStringList* problems);

// Writes the report file whole (the old file stays until the new one is complete). False with
// `error` ("Cannot create file ...").
bool writeReportFile(const QString& path, const design::DesignHost& header, const design::DesignHost& detail,
                     const design::DesignHost& footer, const ReportVars& vars, double ppi, QString* error);

} // namespace postavo::reports
