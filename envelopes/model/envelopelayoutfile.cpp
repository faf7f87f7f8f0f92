#include "envelopelayoutfile.h"

#include "designsurface.h"
#include "labelobjectfiler.h"
#include "layoutdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace postavo::envelopes {

namespace {

// What the user knows the foreign classes as.
QString describeClass(const QByteArray& name)
{
    static const QList<std::pair<QByteArray, const char*>> known = {
        {"TGCounterLabel", "a counter"},     {"TGSymbolLabel", "a symbol"},
        {"TGDMultiLineLabel", "a memo field"}, {"TGDateTimeLabel", "a date and time"},
        {"TGPageNumberLabel", "a page number"}, {"Trpshapes", "a report shape"},
    };
    for (const auto& [cls, words] : known)
        if (cls.compare(name, Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(words);
    return QStringLiteral("an object");
}

} // namespace

const QByteArrayList& envelopeClasses()
{
    static const QByteArrayList classes = {
        "TGLineShape", "TGPostNetBarCode", "TGFIMBarCode",           "TGImage",
        "TGLabelShapes", "TGPLabel",       "TGPDLabel",              "TGMultiLineLabel",
        "TGDMultiLineAddressLabel",        "TGIntelligentMailBarCode",
    };
    return classes;
}

QString envelopeLayoutProblem(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        return QStringLiteral("Envelope definition file has been removed from the sysdata directory");
    const QString suffix = QFileInfo(path).suffix().toUpper();
    if (suffix == QLatin1String("L"))
        return QStringLiteral("%1 is a label layout, not an envelope layout.").arg(name);
    if (suffix == QLatin1String("R"))
        return QStringLiteral("%1 is a report layout, not an envelope layout.").arg(name);
    design::LayoutDocument doc;
    QString error;
    if (!design::readLayoutDocument(path, &doc, &error))
        return QStringLiteral("%1 cannot be read as an envelope layout: %2").arg(name, error);
    if (doc.isReport)
        return QStringLiteral("%1 is a report layout, not an envelope layout.").arg(name);
    for (const design::TGGraphicControl* o : doc.bands[0]->designObjects()) {
        bool known = false;
        for (const QByteArray& c : envelopeClasses())
            known = known || c.compare(o->className(), Qt::CaseInsensitive) == 0;
        if (!known)
            return QStringLiteral("%1 is not an envelope layout: it holds %2 (%3), which envelopes cannot hold.")
                .arg(name, describeClass(o->className()), QString::fromLatin1(o->className()));
    }
    return {};
}

bool loadEnvelopeLayout(design::DesignSurface& surface, const QString& path, QString* error)
{
    const QString problem = envelopeLayoutProblem(path);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    // The file was read whole a moment ago; a failure now is the disk's.
    const bool ok = surface.loadObjects(path);
    if (!ok) {
        if (error)
            *error = surface.lastError();
        surface.deleteAllObjects();
    }
    return ok;
}

bool saveEnvelopeLayout(design::DesignSurface& surface, const QString& path, QString* error)
{
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    // What SaveObjects does, with the error coming back here instead of a message box.
    if (surface.zoom() != 1.0f)
        surface.setZoom(1.0f);
    surface.clearDataAll();
    design::TGLabelObjectFiler filer(surface.ownerWindow());
    const bool written = filer.writeSurface(surface, temp);
    surface.refreshObjects();
    QString problem = written ? QString() : filer.lastError();
    // rename() replaces the old file in one step, so it is either the old layout or the new one.
    if (written && std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
        problem = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
    if (problem.isEmpty())
        return true;
    QFile::remove(temp);
    if (error)
        *error = problem.isEmpty() ? QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path))
                                   : problem;
    return false;
}

} // namespace postavo::envelopes
