#include "shippedtables.h"

#include "catalogues.h"
#include "engine/recordengine.h"
#include "programfolder.h"
#include "shippedcatalogues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace postavo {

using engine::EngineError;
using engine::Table;

namespace {

std::string native(const QString& p) { return QFile::encodeName(p).toStdString(); }

QString number(double v, int decimals) { return QString::number(v, 'f', decimals); }

// Writes the table under a temporary name, then renames DBF and index into place (the index
// under the lower-case ".cdx" other xBase programs look for).
bool writeTable(Catalogue which, const QString& outDir, const QList<QStringList>& rows, QString* error)
{
    const CatalogueDef& def = catalogueDef(which);
    const QString base = QString::fromLatin1(def.fileName).section('.', 0, 0);
    const QString tmpBase = outDir + "/~" + base;
    try {
        std::vector<engine::FieldSpec> specs;
        for (const auto& f : def.fields)
            specs.push_back({f.name, f.type, f.length, f.decimals});
        QFile::remove(tmpBase + ".DBF");
        Table::create(native(tmpBase + ".DBF"), specs);   // and no stale index of that name
        auto t = Table::open(native(tmpBase + ".DBF"), engine::OpenMode::Exclusive);
        for (const QStringList& row : rows) {
            t->appendBlank();
            for (size_t i = 0; i < def.fields.size() && int(i) < row.size(); ++i)
                t->replace(def.fields[i].name, row[int(i)].toLatin1().toStdString());
            t->postRecord();
        }
        t->indexTag({def.tagName, def.tagKey, {}, false, false});
        t->close();
    } catch (const EngineError& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
    engine::removeOtherCaseSiblings(native(outDir + '/' + base + ".DBF"), "cdx");
    for (const char* ext : {".DBF", ".cdx"}) {
        const QString target = outDir + '/' + base + ext;
        QFile::remove(target);
        if (!QFile::rename(tmpBase + ext, target)) {
            if (error)
                *error = QStringLiteral("Cannot write %1").arg(target);
            return false;
        }
    }
    return true;
}

} // namespace

bool buildShippedTables(const QString& csvDir, const QString& outDir, QString* error)
{
    QDir().mkpath(outDir);
    const auto csz = readCszCsv(csvDir + QStringLiteral("/csz.csv"));
    if (!csz.ok()) {
        if (error)
            *error = csz.error;
        return false;
    }
    const auto tpl = readLabelTemplateCsv(csvDir + QStringLiteral("/lbltpl.csv"));
    if (!tpl.ok()) {
        if (error)
            *error = tpl.error;
        return false;
    }
    QList<QStringList> cszRows;
    for (const CszRow& r : csz.rows)
        cszRows << QStringList{r.name, r.state, r.lowZip, r.highZip};
    QList<QStringList> tplRows;
    for (const LabelTemplateRow& r : tpl.rows)
        tplRows << QStringList{r.descript, number(r.lblHeight, 3), number(r.lblWidth, 3), number(r.nbrAcross, 0),
                               number(r.nbrDown, 0), number(r.topMarg, 3), number(r.leftMarg, 3),
                               number(r.horizPitch, 3), number(r.vertPitch, 3), number(r.sheetWidth, 3),
                               number(r.sheetDepth, 3), r.printer, r.paperSize, r.lblShape, r.manufac,
                               r.prodType, number(r.midExtraX, 3), number(r.midExtraY, 3), r.art};
    return writeTable(Catalogue::States, outDir, cszRows, error)
        && writeTable(Catalogue::LabelTemplate, outDir, tplRows, error);
}

QString shippedTablesDir()
{
    const QString exeDir = QCoreApplication::instance()
                               ? QCoreApplication::applicationDirPath()
                               : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
    return exeDir + QStringLiteral("/shipped");
}

bool installShippedTables(const QString& sysdataDir, const QString& fromDir, QString* error)
{
    QDir().mkpath(sysdataDir);
    bool ok = true;
    for (Catalogue c : {Catalogue::LabelTemplate, Catalogue::States}) {
        const QString name = QString::fromLatin1(catalogueDef(c).fileName);
        const QString base = name.section('.', 0, 0);
        if (QFileInfo::exists(resolveFileName(sysdataDir + '/' + name)))
            continue;
        engine::removeSiblings(native(sysdataDir + '/' + name), "cdx");  // a stale index of a deleted table
        for (const QString& ext : {QStringLiteral(".DBF"), QStringLiteral(".cdx")}) {
            const QString from = resolveFileName(fromDir + '/' + base + ext);
            const QString to = sysdataDir + '/' + base + ext;
            QFile::remove(to);
            if (!QFile::copy(from, to)) {
                if (error)
                    *error = QStringLiteral("Cannot copy %1 to %2").arg(from, to);
                ok = false;
                break;
            }
            QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
        }
    }
    return ok;
}

} // namespace postavo
