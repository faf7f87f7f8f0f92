#include "layoutdocument.h"

#include "classregistry.h"
#include "designobject.h"

#include <QDir>
#include <QFile>

namespace postavo::design {

LayoutDocument::LayoutDocument()
{
    for (auto& b : bands)
        b = std::make_unique<ObjectList>(&owner);
}

int LayoutDocument::objectCount() const
{
    int n = 0;
    for (const auto& b : bands)
        n += b->objectCount();
    return n;
}

bool readLayoutDocument(const QString& path, LayoutDocument* doc, QString* error)
{
    registerStandardDesignClasses();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QByteArray data = f.readAll();
    TGLabelObjectFiler filer(&doc->owner);
    int pos = 0;
    if (!filer.readObjectList(data, &pos, *doc->bands[0])) {
        *error = filer.lastError();
        return false;
    }
    doc->isReport = pos < data.size() || path.endsWith(QLatin1String(".R"), Qt::CaseInsensitive);
    if (!doc->isReport)
        return true;
    for (int i = 1; i < 3; ++i)
        if (!filer.readObjectList(data, &pos, *doc->bands[i])) {
            *error = filer.lastError();
            return false;
        }
    if (!filer.readSettings(data, &pos, &doc->settings)) {
        *error = filer.lastError();
        return false;
    }
    return true;
}

bool writeLayoutDocument(LayoutDocument& doc, const QString& path, QString* error)
{
    // As the designers' own save: what the objects show of a record (a data field's caption,
    // a multi-line object's items) is not part of the layout.
    for (const auto& band : doc.bands)
        if (band)
            for (TGGraphicControl* o : band->designObjects())
                o->clearData();
    TGLabelObjectFiler filer;
    const bool ok = doc.isReport
                        ? filer.writeReport(*doc.bands[0], *doc.bands[1], *doc.bands[2], doc.settings, path)
                        : filer.writeSurface(*doc.bands[0], path);
    if (!ok)
        *error = filer.lastError();
    return ok;
}

namespace {
void dumpProperties(QStringList& parts, const Persistent& p, const PropertyTable& table, const QString& prefix)
{
    for (const auto& d : table) {
        if (!d.isStored(p))
            continue;
        const QString name = prefix + QString::fromLatin1(d.name);
        if (d.kind == PropKind::Object)
            dumpProperties(parts, *d.object(const_cast<Persistent&>(p)), *d.objectTable(), name + QLatin1Char('.'));
        else
            parts << name + QLatin1Char('=') + d.valueText(p);
    }
}
} // namespace

QString dumpObject(const TGGraphicControl& object)
{
    QStringList parts{QString::fromLatin1(object.className()), object.name()};
    dumpProperties(parts, object, object.properties(), {});
    return parts.join(QLatin1Char(' '));
}

QStringList dumpLayoutDocument(const LayoutDocument& doc)
{
    QStringList lines;
    static const char* bandNames[] = {"header", "detail", "footer"};
    for (int i = 0; i < (doc.isReport ? 3 : 1); ++i) {
        if (doc.isReport)
            lines << QStringLiteral("# %1 band").arg(QString::fromLatin1(bandNames[i]));
        for (const auto* o : doc.bands[i]->designObjects())
            lines << dumpObject(*o);
    }
    if (doc.isReport) {
        QStringList values;
        for (const QVariant& v : doc.settings.values)
            values << (v.typeId() == QMetaType::QString ? QLatin1Char('"') + v.toString() + QLatin1Char('"')
                       : v.typeId() == QMetaType::Bool ? (v.toBool() ? QStringLiteral("True") : QStringLiteral("False"))
                                                       : v.toString());
        lines << QStringLiteral("# settings ") + values.join(QLatin1Char(' '));
    }
    return lines;
}

} // namespace postavo::design
