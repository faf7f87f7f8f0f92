#include "catalogues.h"

#include "engine/recordengine.h"
#include "programfolder.h"
#include "shippedcatalogues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

namespace postavo {

using engine::EngineError;
using engine::OpenMode;
using engine::Table;

namespace {

std::vector<CatalogueDef> makeDefs()
{
    std::vector<CatalogueDef> d;
    d.push_back({Catalogue::Letter, "LETTER.DBF", true, "DESCRIPT", "UPPER(descript)",
                 "Unable to Open or Create LETTER.DBF", "Rebuilding Letters File indexes",
                 {{"DESCRIPT", 'C', 50, 0, "Description"}, {"RTF", 'M', 10, 0, ""}}});
    d.push_back({Catalogue::Report, "REPORT.DBF", true, "DESCRIPT", "UPPER(descript)",
                 "Unable to Open or Create REPORT.DBF", "Rebuilding Report File indexes",
                 {{"DESCRIPT", 'C', 60, 0, "Description"}, {"LAYOUT", 'C', 60, 0, ""}, {"BINARY", 'C', 12, 0, ""}}});
    d.push_back({Catalogue::Envelope, "ENVELOPE.DBF", true, "DESCRIPT", "UPPER(descript)",
                 "Unable to Open or Create ENVELOPE.DBF", "Rebuilding Envelope File indexes",
                 {{"DESCRIPT", 'C', 60, 0, "Description"}, {"NUMBER", 'N', 5, 0, ""}, {"BINARY", 'C', 12, 0, ""}}});
    d.push_back({Catalogue::Label, "LABEL.DBF", true, "DESCRIPT", "UPPER(descript)",
                 "Unable to Open or Create LABEL.DBF", "Rebuilding Label File indexes",
                 {{"DESCRIPT", 'C', 60, 0, "Description"}, {"PRINTER", 'C', 2, 0, ""},
                  {"LBLHEIGHT", 'N', 6, 3, ""}, {"LBLWIDTH", 'N', 6, 3, ""}, {"NBRACROSS", 'N', 2, 0, ""},
                  {"NBRDOWN", 'N', 2, 0, ""}, {"TOPMARG", 'N', 6, 3, ""}, {"LEFTMARG", 'N', 6, 3, ""},
                  {"HORIZPITCH", 'N', 6, 3, ""}, {"VERTPITCH", 'N', 6, 3, ""}, {"SHEETWIDTH", 'N', 6, 3, ""},
                  {"SHEETDEPTH", 'N', 6, 3, ""}, {"PAPERSIZE", 'C', 5, 0, ""}, {"LBLSHAPE", 'C', 2, 0, ""},
                  {"TPLDESCRIP", 'C', 60, 0, ""}, {"MANUFAC", 'C', 10, 0, ""}, {"PRODTYPE", 'C', 25, 0, ""},
                  {"MIDEXTRAX", 'N', 6, 3, ""}, {"MIDEXTRAY", 'N', 6, 3, ""}, {"ART", 'C', 12, 0, ""},
                  {"DELETED", 'L', 1, 0, ""}, {"BINARY", 'C', 12, 0, ""}}});
    // The shipped tables take their layout from the text files' field lists.
    auto shipped = [](const QList<ShippedField>& fields, const QMap<QString, const char*>& labels) {
        std::vector<CatalogueFieldDef> out;
        for (const ShippedField& f : fields)
            out.push_back({f.name, f.type, f.width, f.decimals, labels.value(QString::fromLatin1(f.name), "")});
        return out;
    };
    d.push_back({Catalogue::LabelTemplate, "LBLTPL.DBF", false, "DESCRIPT", "UPPER(descript)",
                 "Unable to Open LBLTPL.DBF", "Rebuilding Label Setup File indexes",
                 shipped(labelTemplateFields(), {{"DESCRIPT", "Description"}})});
    d.push_back({Catalogue::States, "CSZ.DBF", false, "STATE", "UPPER(state)",
                 "Unable to Open or Create CSZ.DBF", "Rebuilding State/Province File indexes",
                 shipped(cszFields(), {{"NAME", "State or Province"}, {"STATE", "Abbreviation"},
                                       {"LOW_ZIP", "Starting Zip/Post"}, {"HIGH_ZIP", "Ending Zip/Post"}})});
    return d;
}

const std::vector<CatalogueDef>& defs()
{
    static const std::vector<CatalogueDef> d = makeDefs();
    return d;
}

QString sysdata(const QString& dir)
{
    QString d = dir.isEmpty() ? ProgramFolder::sysdataPath() : dir;
    if (!d.endsWith('/'))
        d += '/';
    return d;
}

std::string native(const QString& p) { return QFile::encodeName(p).toStdString(); }

} // namespace

const CatalogueDef& catalogueDef(Catalogue which)
{
    for (const auto& d : defs())
        if (d.which == which)
            return d;
    return defs().front();
}

const std::vector<Catalogue>& systemReindexOrder()
{
    static const std::vector<Catalogue> order = {Catalogue::Letter, Catalogue::Label, Catalogue::States,
                                                 Catalogue::LabelTemplate, Catalogue::Envelope, Catalogue::Report};
    return order;
}

std::unique_ptr<Table> openCatalogue(Catalogue which, QString* message, const QString& sysdataDir)
{
    const CatalogueDef& def = catalogueDef(which);
    const QString dir = sysdata(sysdataDir);
    const QString path = resolveFileName(dir + QString::fromLatin1(def.fileName));
    std::unique_ptr<Table> table;
    try {
        table = Table::open(native(path), OpenMode::Shared);
    } catch (const EngineError&) {
        table.reset();
    }
    if (!table) {
        if (!def.createdWhenMissing || QFileInfo::exists(path)) {
            // A shipped table, or a file that is there but will not open: never overwrite it.
            if (message)
                *message = QString::fromLatin1(def.openFailure);
            return nullptr;
        }
        try {
            std::vector<engine::FieldSpec> specs;
            for (const auto& f : def.fields)
                specs.push_back({f.name, f.type, f.length, f.decimals});
            QDir().mkpath(dir);
            Table::create(native(path), specs);
            table = Table::open(native(path), OpenMode::Exclusive);
        } catch (const EngineError&) {
            if (message)
                *message = QString::fromLatin1(def.openFailure);
            return nullptr;
        }
    }
    // The index file alone went missing: make its tag again (a failure here is not fatal).
    if (!engine::fileExists(table->indexPath()) || table->orderNumber(def.tagName) <= 0) {
        try {
            table->indexTag({def.tagName, def.tagKey, {}, false, false});
        } catch (const EngineError&) {
        }
    }
    return table;
}

QString NextLayoutFileName(LayoutKind kind, const QString& sysdataDir)
{
    const QString ext = kind == LayoutKind::Label ? QStringLiteral(".L")
                      : kind == LayoutKind::Envelope ? QStringLiteral(".E")
                                                     : QStringLiteral(".R");
    QSet<QString> taken;
    for (const QString& e : QDir(sysdata(sysdataDir)).entryList(QDir::Files))
        taken.insert(e.toUpper());
    for (int n = 1; n <= 99999; ++n) {
        const QString name = QStringLiteral("BIN%1").arg(n, 5, 10, QLatin1Char('0')) + ext;
        if (!taken.contains(name))
            return name;
    }
    return QStringLiteral("BIN00000") + ext;
}

void rebuildSystemIndexes(const std::function<void(const QString&, int)>& progress, const QString& sysdataDir)
{
    const QString dir = sysdata(sysdataDir);
    for (Catalogue c : systemReindexOrder()) {
        const CatalogueDef& def = catalogueDef(c);
        const QString status = QString::fromLatin1(def.rebuildStatus);
        if (progress)
            progress(status, 0);
        const QString path = resolveFileName(dir + QString::fromLatin1(def.fileName));
        if (!QFileInfo::exists(path))
            continue;
        try {
            auto table = Table::open(native(path), OpenMode::Exclusive);
            const std::string index = table->indexPath();
            table->closeIndexes();
            QFile::remove(QFile::decodeName(index.c_str()));
            if (progress)
                table->setProgressHook([&](int p) { progress(status, p); });
            table->pack();
            table->indexTag({def.tagName, def.tagKey, {}, false, false});
            table->setProgressHook({});
            table->close();
        } catch (const EngineError&) {
            // Passed over without a message; the next catalogue goes on.
        }
    }
}

} // namespace postavo
