#include "labellayoutcatalogue.h"

#include "cataloguerows.h"
#include "catalogues.h"
#include "cp1252.h"
#include "engine/engine_error.h"
#include "engine/recordengine.h"
#include "filewriting.h"
#include "labelobjectfiler.h"
#include "labelvalidation.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace postavo::labels {

using namespace postavo::design;

namespace {

// A plain file name of at most 8 + 3 characters, as layout files are named.
bool plainFileName(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_$~-]{1,8}(\\.[A-Za-z0-9]{1,3})?$"));
    return re.match(name).hasMatch();
}

// The largest count "N 2.0" holds.
constexpr int kLargestCount = 99;

} // namespace

QString layoutDescription(const QString& typed)
{
    return typed.left(kLayoutDescriptionLength);
}

bool storableText(const QString& text)
{
    return fromCp1252(toCp1252(text)) == text;
}

LabelLayoutCatalogue::LabelLayoutCatalogue(QString sysdataDir)
    : dir_(catalogueFolder(sysdataDir))
{
}

LabelLayoutCatalogue::~LabelLayoutCatalogue() { close(); }

bool LabelLayoutCatalogue::open(QString* message)
{
    close();
    table_ = openCatalogue(Catalogue::Label, message, dir_);
    if (!table_)
        return false;
    try {
        table_->setDeletedHidden(true);
        table_->setQuery("not DELETED()");
        table_->setOrder(std::string_view("DESCRIPT"));
    } catch (const engine::EngineError&) {
        // Without its tag the catalogue still lists its rows, in record order.
    }
    return true;
}

void LabelLayoutCatalogue::close() { closeCatalogue(table_); }

LabelLayoutRow LabelLayoutCatalogue::readCurrent()
{
    LabelLayoutRow r;
    r.recno = table_->recNo();
    r.description = fromCp1252(table_->getTrimString("DESCRIPT"));
    r.binary = fromCp1252(table_->getTrimString("BINARY"));
    r.sheet = readLayoutRow(*table_);
    return r;
}

std::vector<LabelLayoutRow> LabelLayoutCatalogue::rows()
{
    return catalogueRows(table_.get(), [this] { return readCurrent(); }, nullptr);
}

std::optional<LabelLayoutRow> LabelLayoutCatalogue::row(quint32 recno)
{
    return catalogueRow(table_.get(), recno, [this] { return readCurrent(); }, nullptr);
}

std::optional<LabelLayoutRow> LabelLayoutCatalogue::findByDescription(const QString& description)
{
    std::optional<LabelLayoutRow> loose;
    for (const LabelLayoutRow& r : rows()) {
        if (r.description == description)
            return r;
        if (!loose && r.description.compare(description, Qt::CaseInsensitive) == 0)
            loose = r;
    }
    return loose;
}

QString LabelLayoutCatalogue::layoutPath(const QString& binary) const
{
    const QString name = binary.trimmed();
    if (!plainFileName(name))
        return {};
    return resolveFileName(dir_ + name);
}

QString LabelLayoutCatalogue::newLayoutFileName() const
{
    const QString name = NextLayoutFileName(LayoutKind::Label, dir_);
    // With every number taken the name falls back to BIN00000.L, which may well be another
    // layout's file: never hand out a name that is in use.
    if (QFileInfo::exists(resolveFileName(dir_ + name)))
        return {};
    return name;
}

LabelLayoutRow LabelLayoutCatalogue::newLayout(const LabelSheetDefinition& sheet) const
{
    LabelLayoutRow r;
    r.description = QLatin1String(kNewLayoutDescription);
    r.binary = newLayoutFileName();
    r.sheet = sheet;
    return r;
}

bool LabelLayoutCatalogue::loadForDesign(LabelLayoutRow& row, DesignSurface& surface, QString* error)
{
    const QString path = layoutPath(row.binary);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        if (path.isEmpty() && !row.binary.trimmed().isEmpty() && QFileInfo::exists(dir_ + row.binary.trimmed())) {
            // Something by that name is there, but the name is no plain file name.
            if (error)
                *error = QStringLiteral("The layout file name \"%1\" is not a file name of sysdata.").arg(row.binary);
            return false;
        }
        surface.deleteAllObjects();
        row.binary = newLayoutFileName();
        return true;
    }
    const LabelLayoutFileCheck c = loadLabelLayout(surface, path);
    if (!c.sound()) {
        if (error)
            *error = c.message;
        return false;
    }
    return true;
}

QString LabelLayoutCatalogue::checkSave(const LabelLayoutRow& row, const DesignSurface& surface) const
{
    if (!table_)
        return QStringLiteral("The label layout catalogue LABEL.DBF is not open.");
    const QString description = layoutDescription(row.description);
    if (!storableText(description))
        return QStringLiteral("The description \"%1\" holds characters that cannot be stored.").arg(description);
    const LabelSheetDefinition& d = row.sheet;
    const QString rule = checkEnteredDefinition(d);
    if (!rule.isEmpty())
        return rule;
    if (d.nbrAcross > kLargestCount || d.nbrDown > kLargestCount)
        return QStringLiteral("A sheet may have at most %1 labels across and %1 down.").arg(kLargestCount);
    for (const QString* t : {&d.printer, &d.tplDescrip, &d.manufac, &d.prodType, &d.art, &d.paperSize, &d.lblShape})
        if (!storableText(*t))
            return QStringLiteral("The label sheet's \"%1\" holds characters that cannot be stored.").arg(*t);
    if (row.binary.trimmed().isEmpty())
        return QStringLiteral("No layout file name is free in the sysdata folder.");
    if (layoutPath(row.binary).isEmpty())
        return QStringLiteral("The layout file name \"%1\" is not a file name of sysdata.").arg(row.binary);
    QStringList foreign;
    for (const TGGraphicControl* o : surface.designObjects())
        if (!isLabelObjectClass(o->className()) && !foreign.contains(QString::fromLatin1(o->className())))
            foreign << QString::fromLatin1(o->className());
    if (!foreign.isEmpty())
        return QStringLiteral("A label cannot hold these objects: %1. Delete them before saving.")
            .arg(foreign.join(QStringLiteral(", ")));
    return {};
}

bool LabelLayoutCatalogue::save(LabelLayoutRow& row, DesignSurface& surface, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const QString problem = checkSave(row, surface);
    if (!problem.isEmpty())
        return fail(problem);
    if (!row.isNew() && !this->row(row.recno))
        return fail(QStringLiteral("The label layout \"%1\" is no longer in the catalogue.").arg(row.description));

    // The objects as a layout file holds them: at 100 % zoom, without the record's values.
    if (surface.zoom() != 1.0f)
        surface.setZoom(1.0f);
    surface.clearDataAll();
    const QByteArray bytes = TGLabelObjectFiler::objectListBytes(surface.designObjects());
    surface.refreshObjects();

    const QString path = layoutPath(row.binary);
    QByteArray previous;
    const bool existed = QFileInfo::exists(path);
    if (existed) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
        previous = old.readAll();
    }
    if (!replaceFileWith(path, bytes, nullptr))
        return fail(QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path)));

    try {
        if (row.isNew())
            table_->appendBlank();
        else
            table_->go(row.recno);
        table_->replace("DESCRIPT", toCp1252(layoutDescription(row.description)));
        writeLayoutRow(*table_, row.sheet);
        table_->replaceLogical("DELETED", false);
        table_->replace("BINARY", toCp1252(row.binary.trimmed()));
        table_->commit();
        row.recno = table_->recNo();
        row.description = layoutDescription(row.description);
    } catch (const engine::EngineError& e) {
        if (existed)
            replaceFileWith(path, previous, nullptr);
        else
            QFile::remove(path);
        return fail(QStringLiteral("The label layout could not be stored in LABEL.DBF: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return true;
}

} // namespace postavo::labels
