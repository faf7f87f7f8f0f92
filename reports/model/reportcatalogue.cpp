#include "reportcatalogue.h"

#include "catalogues.h"
#include "cp1252.h"
#include "designhost.h"
#include "engine/recordengine.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace postavo::reports {

namespace {

QString engineMessage(const engine::EngineError& e) { return fromCp1252(std::string_view(e.what())); }

QString trimmed(const std::string& s)
{
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return fromCp1252(std::string_view(s.data(), n));
}

} // namespace

ReportCatalogue::ReportCatalogue() = default;
ReportCatalogue::~ReportCatalogue() { close(); }

bool ReportCatalogue::open(QString* message, const QString& sysdataDir)
{
    close();
    dir_ = sysdataDir.isEmpty() ? ProgramFolder::sysdataPath() : sysdataDir;
    if (!dir_.endsWith(QLatin1Char('/')))
        dir_ += QLatin1Char('/');
    QString why;
    table_ = openCatalogue(Catalogue::Report, &why, dir_);
    if (!table_) {
        if (message)
            *message = why;
        return false;
    }
    try {
        table_->setDeletedHidden(true);
        table_->setQuery("not DELETED()");
        table_->setOrder(1);
        table_->goTop();
    } catch (const engine::EngineError& e) {
        table_.reset();
        if (message)
            *message = engineMessage(e);
        return false;
    }
    return true;
}

void ReportCatalogue::close()
{
    if (!table_)
        return;
    try {
        table_->close();
    } catch (const engine::EngineError&) {
    }
    table_.reset();
}

std::vector<ReportEntry> ReportCatalogue::entries() const
{
    std::vector<ReportEntry> out;
    if (!table_)
        return out;
    try {
        for (table_->goTop(); !table_->eof(); table_->skip(1)) {
            ReportEntry e;
            e.recno = table_->recNo();
            e.description = trimmed(table_->getString("DESCRIPT"));
            e.layout = trimmed(table_->getString("LAYOUT"));
            e.binary = trimmed(table_->getString("BINARY"));
            out.push_back(e);
        }
    } catch (const engine::EngineError&) {
        // What was listed before the damaged entry stays listed.
    }
    return out;
}

std::optional<ReportEntry> ReportCatalogue::entry(quint32 recno) const
{
    for (const ReportEntry& e : entries())
        if (e.recno == recno)
            return e;
    return std::nullopt;
}

QString ReportCatalogue::layoutPath(const ReportEntry& e) const
{
    if (e.binary.trimmed().isEmpty())
        return {};
    return resolveFileName(dir_ + e.binary.trimmed());
}

bool ReportCatalogue::store(ReportEntry* e, bool append, QString* error)
{
    if (!table_) {
        if (error)
            *error = QStringLiteral("The report catalogue is not open.");
        return false;
    }
    try {
        if (append) {
            table_->appendBlank();
        } else {
            table_->go(e->recno);
            if (table_->eof() || table_->recNo() != e->recno)
                throw engine::EngineError(engine::EngineError::Kind::Usage, table_->path(),
                                          "the report is no longer in the catalogue");
        }
        table_->replace("DESCRIPT", toCp1252(e->description));
        table_->replace("LAYOUT", toCp1252(e->layout));
        table_->replace("BINARY", toCp1252(e->binary));
        table_->commit();
        e->recno = table_->recNo();
    } catch (const engine::EngineError& ex) {
        if (error)
            *error = engineMessage(ex);
        return false;
    }
    return true;
}

bool ReportCatalogue::add(ReportEntry* e, QString* error) { return store(e, true, error); }

bool ReportCatalogue::update(const ReportEntry& e, QString* error)
{
    ReportEntry copy = e;
    return store(&copy, false, error);
}

bool ReportCatalogue::remove(const ReportEntry& e, QString* error)
{
    if (!table_)
        return false;
    try {
        table_->go(e.recno);
        if (table_->eof() || table_->recNo() != e.recno)
            return true; // already gone
        table_->deleteRecord();
        table_->commit();
    } catch (const engine::EngineError& ex) {
        if (error)
            *error = engineMessage(ex);
        return false;
    }
    const QString path = layoutPath(e);
    if (!path.isEmpty() && QFileInfo::exists(path))
        QFile::remove(path);
    return true;
}

bool ReportCatalogue::clone(const ReportEntry& e, ReportEntry* copy, QString* error)
{
    ReportEntry c;
    c.description = QStringLiteral("Clone of ") + e.description;
    c.layout = e.layout;
    c.binary = NextLayoutFileName(LayoutKind::Report, dir_);
    const QString from = layoutPath(e);
    const QString to = dir_ + c.binary;
    bool copied = false;
    if (!from.isEmpty() && QFileInfo::exists(from)) {
        if (!QFile::copy(from, to)) {
            if (error)
                *error = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(to));
            return false;
        }
        copied = true;
    }
    if (!store(&c, true, error)) {
        if (copied)
            QFile::remove(to);
        return false;
    }
    if (copy)
        *copy = c;
    return true;
}

QString ReportCatalogue::deleteQuestion(const ReportEntry& e)
{
    return QStringLiteral("Delete \"") + e.description + QStringLiteral("\"?");
}

QString ReportCatalogue::cloneQuestion(const ReportEntry& e)
{
    return QStringLiteral("Clone \"") + e.description + QStringLiteral("\"?");
}

ReportFileRead ReportCatalogue::loadReport(const ReportEntry* e, design::DesignHost& header, design::DesignHost& detail,
                                           design::DesignHost& footer, ReportVars* vars, double ppi) const
{
    *vars = ReportVars::defaults(ppi);
    for (design::DesignHost* band : {&header, &detail, &footer})
        band->freeAllObjects();
    if (!e)
        return {};
    const QString path = layoutPath(*e);
    if (path.isEmpty())
        return {};
    return readReportFile(path, header, detail, footer, vars, ppi);
}

bool ReportCatalogue::saveReport(ReportEntry* e, bool isNew, const design::DesignHost& header,
                                 const design::DesignHost& detail, const design::DesignHost& footer,
                                 const ReportVars& vars, double ppi, QString* error)
{
    const bool newFile = isNew || e->binary.trimmed().isEmpty();
    if (newFile)
        e->binary = NextLayoutFileName(LayoutKind::Report, dir_);
    const QString path = newFile ? dir_ + e->binary : layoutPath(*e);
    if (!writeReportFile(path, header, detail, footer, vars, ppi, error))
        return false;
    const bool ok = isNew ? add(e, error) : update(*e, error);
    if (!ok && newFile)
        QFile::remove(path);
    return ok;
}

} // namespace postavo::reports
