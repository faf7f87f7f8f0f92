#pragma once
// Program folders for the envelope tests: sysdata/ with the envelope catalogue and layout files
// built from objects, DATA/ with address records, and the objects every placement test measures.

#include "designhost.h"
#include "envelopecatalogue.h"

#include <QMap>
#include <QString>
#include <functional>
#include <vector>

namespace postavo::testing {

using Record = QMap<QString, QString>;

struct EnvelopeFolder {
    QString folder;   // the program folder, ending without '/'
    QString sysdata;  // folder + "/sysdata"
    QString data;     // folder + "/DATA/add0001.DBF"
};

// A fresh program folder named after the test, with `records` in DATA/add0001.DBF.
EnvelopeFolder makeEnvelopeFolder(const QString& name, const std::vector<Record>& records);

// Appends a catalogue row with a layout file holding what `build` puts on the list; the row.
envelopes::EnvelopeLayout addEnvelopeLayout(const EnvelopeFolder& f, const QString& description, int code,
                                            const std::function<void(design::ObjectList&)>& build);

// Four people: with full addresses (records 1, 2 and 4) and one without any address (record 3).
std::vector<Record> samplePeople();

// The objects the placement tests find again: a black box 1 x 0.25 inch at (1, 0.5) inch from the
// envelope's corner, and the word "MARKER" in Arial 12 at (4, 2) inch.
void addMarkers(design::ObjectList& list);
inline constexpr double kBoxLeft = 1.0, kBoxTop = 0.5, kBoxWidth = 1.0, kBoxHeight = 0.25;
inline constexpr double kWordLeft = 4.0, kWordTop = 2.0;

// A return address, an address block, a POSTNET code and a FIM, as a real envelope has them.
void addBusinessEnvelope(design::ObjectList& list);

} // namespace postavo::testing
