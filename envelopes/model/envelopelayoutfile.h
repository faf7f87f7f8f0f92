#pragma once
// Envelope layout files (BIN00001.E ...): which object classes an envelope may hold, the check
// that a file really is an envelope layout, loading it onto a surface and saving a surface so
// that the old file stays whole until the new one is complete.

#include <QByteArrayList>
#include <QString>

namespace postavo::design {
class DesignSurface;
}

namespace postavo::envelopes {

// The classes the envelope designer places and reads: the nine of its tools and the Intelligent
// Mail barcode.
const QByteArrayList& envelopeClasses();

// Empty when `path` holds an envelope layout; otherwise why not, in words for the user (a label
// or report layout, a class envelopes do not hold, a damaged file). A missing file is a problem.
QString envelopeLayoutProblem(const QString& path);

// Checks the file, then loads its objects onto the surface (which the caller has cleared). False
// with the message; the surface then holds nothing of the file.
bool loadEnvelopeLayout(design::DesignSurface& surface, const QString& path, QString* error);

// Writes the surface's objects to `path` through a file beside it that replaces the old one only
// when it is complete. False with the message; the old file is then as it was.
bool saveEnvelopeLayout(design::DesignSurface& surface, const QString& path, QString* error);

} // namespace postavo::envelopes
