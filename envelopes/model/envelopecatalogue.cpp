#include "envelopecatalogue.h"

#include "cataloguerows.h"
#include "catalogues.h"
#include "cp1252.h"
#include "engine/recordengine.h"
#include "envelopesizes.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace postavo::envelopes {

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

QString descriptionProblem(const QString& description) { return catalogueTextProblem(description); }

EnvelopeCatalogue::EnvelopeCatalogue(QString sysdataDir) : sysdata_(std::move(sysdataDir)) {}

EnvelopeCatalogue::~EnvelopeCatalogue() { close(); }

QString EnvelopeCatalogue::sysdataDir() const { return catalogueFolder(sysdata_); }

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
    if (!listByDescription(*table_, message)) {
        table_.reset();
        return false;
    }
    return true;
}

void EnvelopeCatalogue::close() { closeCatalogue(table_); }

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
    return catalogueRows(table_.get(), [this] { return readCurrent(); }, &error_);
}

std::optional<EnvelopeLayout> EnvelopeCatalogue::layout(quint32 recno)
{
    return catalogueRow(table_.get(), recno, [this] { return readCurrent(); }, &error_);
}

std::optional<EnvelopeLayout> EnvelopeCatalogue::findByDescription(const QString& description)
{
    return findDescription(layouts(), description);
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
    return storeCatalogueRow(*table_, &l->recno, [l](engine::Table& t) {
        t.replace("DESCRIPT", bytes(l->description.left(kDescriptionLength)));
        t.replaceNumber("NUMBER", l->code);
        t.replace("BINARY", bytes(l->fileName));
    }, &error_);
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
    if (!deleteCatalogueRow(*table_, recno, &error_))
        return false;
    // The name is free again only once its file is gone.
    if (!l->fileName.isEmpty()) {
        const QString path = layoutPath(l->fileName);
        if (QFileInfo(path).isFile())
            QFile::remove(path);
    }
    return true;
}

} // namespace postavo::envelopes
