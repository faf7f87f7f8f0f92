#pragma once
// A whole layout or report file held without a window: what the batch tool checks, dumps and
// writes back, and what print runs load their objects from.

#include "designhost.h"
#include "labelobjectfiler.h"

#include <QStringList>
#include <memory>

namespace postavo::design {

struct LayoutDocument {
    LayoutDocument();
    QObject owner;                        // the objects' names are unique within it
    bool isReport = false;
    std::unique_ptr<ObjectList> bands[3]; // a label or envelope file uses the first only
    ReportSettings settings;

    int objectCount() const;
};

// Reads a label, envelope or report file (a report when its name ends in ".R" or when bytes follow
// the first object list), every class known. False with the filer's message; a missing file is an
// error here.
bool readLayoutDocument(const QString& path, LayoutDocument* doc, QString* error);
// Writes what the designers' save writes: each object's record data is cleared first.
bool writeLayoutDocument(LayoutDocument& doc, const QString& path, QString* error);
// One line per object: class, name and each stored property as Name=value.
QStringList dumpLayoutDocument(const LayoutDocument& doc);
QString dumpObject(const TGGraphicControl& object);

} // namespace postavo::design
