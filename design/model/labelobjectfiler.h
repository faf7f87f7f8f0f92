#pragma once
// TGLabelObjectFiler: writes and reads the design objects of surfaces as layout files (label,
// envelope and report files, the designers' clipboard file) and through memory for Clone.

#include "designhost.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <vector>

namespace postavo::design {

class TGGraphicControl;

// The fifty unnamed values after a report's three bands. Kinds by position: 'I' integer,
// 'B' Boolean, 'S' text.
struct ReportSettings {
    static constexpr int kCount = 50;
    static const char* kinds(); // 50 characters
    std::vector<QVariant> values;
    // The values of a new report at `ppi` screen pixels per inch.
    static ReportSettings defaults(double ppi);
    bool operator==(const ReportSettings&) const = default;
};

class TGLabelObjectFiler {
public:
    // `owner`: the window whose objects' names must stay unique (the host's own owner when null).
    explicit TGLabelObjectFiler(QObject* owner = nullptr) : owner_(owner) {}

    bool paste = false;
    QString lastError() const { return error_; }
    // The objects the last read created, in reading order.
    const std::vector<TGGraphicControl*>& readObjects() const { return read_; }

    // ---- writing (false with lastError() "Cannot create file %s") ----
    bool writeSurface(const DesignHost& surface, const QString& path);
    // Nothing is written when the selection is empty (true).
    bool writeSelection(const std::vector<TGGraphicControl*>& selection, const QString& path);
    bool writeObject(const TGGraphicControl* object, const QString& path);
    bool writeReport(const DesignHost& header, const DesignHost& detail, const DesignHost& footer,
                     const ReportSettings& settings, const QString& path);

    // ---- reading (a missing file is no error: nothing happens, true) ----
    bool readIntoSurface(DesignHost& surface, const QString& path);
    bool readWithOffset(DesignHost& surface, const QString& path);
    bool readReport(DesignHost& header, DesignHost& detail, DesignHost& footer, ReportSettings* settings,
                    const QString& path);
    // The copy, read back into the object's own surface; null with lastError() on failure.
    TGGraphicControl* clone(TGGraphicControl* object);

    // ---- bytes ----
    static QByteArray objectListBytes(const std::vector<TGGraphicControl*>& objects);
    static void writeObjectRecord(class LayoutWriter& w, const TGGraphicControl& object);
    static void writeSettings(class LayoutWriter& w, const ReportSettings& settings);
    // Reads one object list at `pos` into `surface`; false with lastError().
    bool readObjectList(const QByteArray& data, int* pos, DesignHost& surface);
    bool readSettings(const QByteArray& data, int* pos, ReportSettings* settings);

private:
    bool writeFile(const QString& path, const QByteArray& bytes);
    bool readFile(const QString& path, QByteArray* data, bool* exists);
    QObject* ownerFor(DesignHost& surface) const { return owner_ ? owner_ : surface.ownerWindow(); }

    QObject* owner_;
    QString error_;
    std::vector<TGGraphicControl*> read_;
};

// "Component" + the first N from 0 to 1000 (or `base` from `first`) that no child of `owner`
// bears; empty when all are taken.
QString uniqueComponentName(QObject* owner, const QString& base = QStringLiteral("Component"), int first = 0);
bool ownerHasName(QObject* owner, const QString& name, const QObject* except = nullptr);

} // namespace postavo::design
