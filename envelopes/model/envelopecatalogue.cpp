#include "envelopecatalogue.h"

#include "catalogues.h"
#include "cp1252.h"
#include "engine/recordengine.h"
#include "envelopesizes.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace postavo::envelopes {

using engine::EngineError;

namespace {
std::string bytes(const QString& s) { return toCp1252(s); }
QString text(const std::string& s) { return fromCp1252(s); }
} // namespace

EnvelopeLayout EnvelopeLayout::fallback()
{
    EnvelopeLayout l;
    l.description = defaultEnvelopeDescription();
    l.setCode(kDefaultEnvelopeCode);
    return l;
}

void EnvelopeLayout::setCode(int c)
{
    code = c;
    const EnvelopeDimensions d = envelopeDimensions(c);
    width = d.width;
    height = d.height;
}

QString descriptionProblem(const QString& description)
{
    if (fromCp1252(toCp1252(description)) != description)
        return QStringLiteral("The description \"%1\" holds characters the catalogue cannot store.").arg(description);
    return {};
}

EnvelopeCatalogue::EnvelopeCatalogue(QString sysdataDir) : sysdata_(std::move(sysdataDir)) {}

EnvelopeCatalogue::~EnvelopeCatalogue() { close(); }

QString EnvelopeCatalogue::sysdataDir() const
{
    QString d = sysdata_.isEmpty() ? ProgramFolder::sysdataPath() : sysdata_;
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

bool EnvelopeCatalogue::open(QString* message)
{
    close();
    QString m;
    table_ = openCatalogue(Catalogue::Envelope, &m, sysdataDir());
    if (!table_) {
        if (message)
            *message = m;
        return false;
    }
    try {
        table_->setDeletedHidden(true);
        table_->setOrder(std::string("DESCRIPT"));
        table_->goTop();
    } catch (const EngineError& e) {
        if (message)
            *message = QString::fromStdString(e.what());
        table_.reset();
        return false;
    }
    return true;
}

void EnvelopeCatalogue::close()
{
    if (!table_)
        return;
    try {
        table_->close();
    } catch (const EngineError&) {
    }
    table_.reset();
}

bool EnvelopeCatalogue::fail(const QString& message)
{
    error_ = message;
    return false;
}

EnvelopeLayout EnvelopeCatalogue::readCurrent() const
{
    EnvelopeLayout l;
    l.recno = table_->recNo();
    l.description = text(table_->getTrimString("DESCRIPT"));
    l.setCode(int(table_->getNumber("NUMBER")));
    l.fileName = text(table_->getTrimString("BINARY"));
    return l;
}

std::vector<EnvelopeLayout> EnvelopeCatalogue::layouts()
{
    std::vector<EnvelopeLayout> rows;
    if (!table_)
        return rows;
    try {
        for (table_->goTop(); !table_->eof(); table_->skip(1))
            rows.push_back(readCurrent());
    } catch (const EngineError& e) {
        error_ = QString::fromStdString(e.what());
    }
    return rows;
}

std::optional<EnvelopeLayout> EnvelopeCatalogue::layout(quint32 recno)
{
    if (!table_ || recno == 0)
        return std::nullopt;
    try {
        table_->go(recno);
        if (table_->eof() || table_->isDeleted())
            return std::nullopt;
        return readCurrent();
    } catch (const EngineError& e) {
        error_ = QString::fromStdString(e.what());
        return std::nullopt;
    }
}

std::optional<EnvelopeLayout> EnvelopeCatalogue::findByDescription(const QString& description)
{
    const QString wanted = description.trimmed();
    for (const EnvelopeLayout& l : layouts())
        if (l.description.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return l;
    return std::nullopt;
}

QString EnvelopeCatalogue::layoutPath(const QString& fileName) const
{
    return resolveFileName(sysdataDir() + fileName);
}

QString EnvelopeCatalogue::newLayoutFileName() const { return NextLayoutFileName(LayoutKind::Envelope, sysdataDir()); }

bool EnvelopeCatalogue::store(EnvelopeLayout* l)
{
    if (!table_)
        return fail(QStringLiteral("The envelope catalogue is not open."));
    const QString problem = descriptionProblem(l->description);
    if (!problem.isEmpty())
        return fail(problem);
    try {
        if (l->recno == 0)
            table_->appendBlank();
        else
            table_->go(l->recno);
        table_->replace("DESCRIPT", bytes(l->description.left(kDescriptionLength)));
        table_->replaceNumber("NUMBER", l->code);
        table_->replace("BINARY", bytes(l->fileName));
        table_->commit();
        l->recno = table_->recNo();
    } catch (const EngineError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    return true;
}

std::optional<EnvelopeLayout> EnvelopeCatalogue::clone(quint32 recno)
{
    std::optional<EnvelopeLayout> old = layout(recno);
    if (!old) {
        fail(QStringLiteral("The envelope layout to clone is no longer in the catalogue."));
        return std::nullopt;
    }
    EnvelopeLayout copy = *old;
    copy.recno = 0;
    copy.description = (QStringLiteral("Clone of ") + old->description).left(kDescriptionLength);
    copy.fileName = newLayoutFileName();
    const QString from = layoutPath(old->fileName);
    const QString to = sysdataDir() + copy.fileName;
    const bool hadFile = !old->fileName.isEmpty() && QFileInfo(from).isFile();
    if (hadFile && !QFile::copy(from, to)) {
        fail(QStringLiteral("Unable to copy %1 to %2.").arg(old->fileName, copy.fileName));
        return std::nullopt;
    }
    if (!store(&copy)) {
        if (hadFile)
            QFile::remove(to); // no row points at it
        return std::nullopt;
    }
    return copy;
}

bool EnvelopeCatalogue::remove(quint32 recno)
{
    std::optional<EnvelopeLayout> l = layout(recno);
    if (!l)
        return fail(QStringLiteral("The envelope layout to delete is no longer in the catalogue."));
    try {
        table_->go(recno);
        table_->deleteRecord();
        table_->commit();
    } catch (const EngineError& e) {
        return fail(QString::fromStdString(e.what()));
    }
    // The name is free again only once its file is gone.
    if (!l->fileName.isEmpty()) {
        const QString path = layoutPath(l->fileName);
        if (QFileInfo(path).isFile())
            QFile::remove(path);
    }
    return true;
}

} // namespace postavo::envelopes
