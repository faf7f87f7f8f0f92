#include "lettercatalogue.h"

#include "cataloguerows.h"
#include "catalogues.h"
#include "cp1252.h"
#include "engine/recordengine.h"
#include "programfolder.h"
#include "richdocument.h"

#include <QFileInfo>

namespace postavo::letters {

using engine::EngineError;

QByteArray storedRtfText(const QByteArray& rtf)
{
    if (rtf.isEmpty())
        return rtf;
    // Length with every line end counted as CR LF and no line end after the last line.
    QByteArray body = rtf;
    qsizetype endLen = 0;
    if (body.endsWith("\r\n"))
        endLen = 2;
    else if (body.endsWith('\n') || body.endsWith('\r'))
        endLen = 1;
    body.chop(endLen);
    qsizetype length = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') {
            length += 2;
            ++i;
        } else if (body[i] == '\n' || body[i] == '\r') {
            length += 2;
        } else {
            ++length;
        }
    }
    if (length == 0 || length % 4 != 0)
        return rtf;
    return body + ' ' + rtf.right(endLen);
}

QString letterDescriptionProblem(const QString& description) { return catalogueTextProblem(description); }

LetterCatalogue::LetterCatalogue(QString sysdataDir) : sysdata_(std::move(sysdataDir)) {}

LetterCatalogue::~LetterCatalogue() { close(); }

QString LetterCatalogue::sysdataDir() const { return catalogueFolder(sysdata_); }

bool LetterCatalogue::open(QString* message, bool create)
{
    close();
    const QString path = resolveFileName(sysdataDir() + QString::fromLatin1(catalogueDef(Catalogue::Letter).fileName));
    if (!create && !QFileInfo(path).isFile()) {
        if (message)
            *message = QStringLiteral("There is no letter catalogue %1.").arg(path);
        return false;
    }
    QString m;
    table_ = openCatalogue(Catalogue::Letter, &m, sysdataDir());
    if (!table_) {
        // Say why when the memo file is what is missing: the rows alone are no letters.
        const QString memo = resolveFileName(sysdataDir() + QStringLiteral("LETTER.FPT"));
        if (QFileInfo(path).isFile() && !QFileInfo(memo).isFile())
            m += QStringLiteral("\nThe memo file %1 holding the letters' text is missing.").arg(memo);
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

void LetterCatalogue::close() { closeCatalogue(table_); }

bool LetterCatalogue::fail(const QString& message)
{
    error_ = message;
    return false;
}

LetterEntry LetterCatalogue::readCurrent() const
{
    LetterEntry l;
    l.recno = table_->recNo();
    l.description = fromCp1252(table_->getTrimString("DESCRIPT"));
    return l;
}

std::vector<LetterEntry> LetterCatalogue::letters()
{
    return catalogueRows(table_.get(), [this] { return readCurrent(); }, &error_);
}

std::optional<LetterEntry> LetterCatalogue::letter(quint32 recno)
{
    return catalogueRow(table_.get(), recno, [this] { return readCurrent(); }, &error_);
}

std::optional<LetterEntry> LetterCatalogue::findByDescription(const QString& description)
{
    return findDescription(letters(), description);
}

bool LetterCatalogue::rtfText(quint32 recno, QByteArray* rtf)
{
    if (!letter(recno))
        return fail(QStringLiteral("The letter is no longer in the catalogue."));
    try {
        const std::string memo = table_->getMemo("RTF");
        *rtf = QByteArray(memo.data(), qsizetype(memo.size()));
    } catch (const EngineError& e) {
        return fail(QStringLiteral("The text of the letter cannot be read: %1").arg(QString::fromStdString(e.what())));
    }
    return true;
}

bool LetterCatalogue::loadRichText(quint32 recno, richtext::RichDocument& document, richtext::RtfReadReport* report)
{
    QByteArray rtf;
    if (!rtfText(recno, &rtf))
        return false;
    document.clear();
    richtext::RtfReadReport r;
    if (!rtf.trimmed().isEmpty())
        r = document.loadRtf(rtf);
    if (report)
        *report = r;
    return true;
}

bool LetterCatalogue::saveLetter(LetterEntry* entry, const richtext::RichDocument& document)
{
    return saveLetterText(entry, document.saveRtf());
}

bool LetterCatalogue::saveLetterText(LetterEntry* entry, const QByteArray& rtf)
{
    if (!table_)
        return fail(QStringLiteral("The letter catalogue is not open."));
    const QString problem = letterDescriptionProblem(entry->description);
    if (!problem.isEmpty())
        return fail(problem);
    const QByteArray stored = storedRtfText(rtf);
    QString reason;
    const bool ok = storeCatalogueRow(*table_, &entry->recno, [&](engine::Table& t) {
        t.replace("DESCRIPT", toCp1252(entry->description.left(kLetterDescriptionLength)));
        t.replace("RTF", std::string_view(stored.constData(), size_t(stored.size())));
    }, &reason);
    return ok || fail(QStringLiteral("The letter cannot be stored: %1").arg(reason));
}

std::optional<LetterEntry> LetterCatalogue::clone(quint32 recno)
{
    std::optional<LetterEntry> old = letter(recno);
    QByteArray rtf;
    if (!old || !rtfText(recno, &rtf)) {
        fail(QStringLiteral("The letter to clone is no longer in the catalogue."));
        return std::nullopt;
    }
    LetterEntry copy;
    copy.description = (QStringLiteral("Clone of ") + old->description).left(kLetterDescriptionLength);
    // The text goes over as stored: a clone is the same letter, byte for byte.
    if (!saveLetterText(&copy, rtf))
        return std::nullopt;
    return copy;
}

bool LetterCatalogue::remove(quint32 recno)
{
    if (!letter(recno))
        return fail(QStringLiteral("The letter to delete is no longer in the catalogue."));
    return deleteCatalogueRow(*table_, recno, &error_);
}

} // namespace postavo::letters
