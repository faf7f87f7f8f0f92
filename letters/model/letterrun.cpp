#include "letterrun.h"

#include "addressfile.h"
#include "lettermerge.h"
#include "pagedrawing.h"
#include "richdocument.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace postavo::letters {

QRectF printTextRect(const richtext::PageLayout& page, double dx, double dy, double ox, double oy)
{
    return QRectF(page.marginLeft * dx / 1440.0 - ox, page.marginTop * dy / 1440.0 - oy,
                  (page.paperWidth - page.marginLeft - page.marginRight) * dx / 1440.0,
                  (page.paperHeight - page.marginTop - page.marginBottom) * dy / 1440.0);
}

QString printingPageText(int pages) { return QStringLiteral("Printing page ") + QString::number(pages); }

LetterRun::LetterRun(const richtext::RichDocument& letter, AddressTable& table, LetterJob job)
    : letter_(letter), table_(table), job_(std::move(job))
{
    job_.copies = std::clamp(job_.copies, 1, kMaxCopies);
}

bool LetterRun::position(quint32 currentRecno, QString* notice, QString* error)
{
    return positionRun(table_, job_.records, job_.extraFilter, job_.startFromCurrent, currentRecno, notice, error);
}

bool LetterRun::run(const LetterOutput& out, const Hooks& hooks)
{
    pages_ = 0;
    letters_ = 0;
    cancelled_ = false;
    error_.clear();
    const double dx = out.device->logicalDpiX();
    const double dy = out.device->logicalDpiY();
    richtext::RichDocument work;
    bool first = true;
    while (table_.hasRecord()) {
        work.copyFrom(letter_);
        replaceTokens(work, table_);
        const QRectF text = printTextRect(work.pageLayout(), dx, dy, out.offsetX, out.offsetY);
        for (int copy = 0; copy < job_.copies; ++copy) {
            int start = 0;
            do {
                if (!first && !out.device->newPage()) {
                    error_ = QStringLiteral("The printer could not start a new page.");
                    return false;
                }
                first = false;
                start = richtext::drawPageScaled(out.painter, work, text, dx / 1440.0, dy / 1440.0, start);
                ++pages_;
            } while (start > 0);
            ++letters_;
        }
        if (job_.records == LetterRecords::CurrentOnly) {
            if (hooks.status)
                hooks.status(pages_);
            break;
        }
        const bool more = table_.next() && table_.hasRecord();
        if (hooks.status)
            hooks.status(pages_);
        if (hooks.cancel && hooks.cancel()) {
            cancelled_ = true;
            return false;
        }
        if (!more)
            break;
    }
    return true;
}

bool printLettersToPdf(LetterRun& run, const richtext::PageLayout& page, const QString& path, QString* error,
                       const LetterRun::Hooks& hooks)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("The PDF file \"%1\" cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    bool ok = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Postavo"));
        writer.setPageLayout(page.toQPageLayout());
        QPainter painter;
        if (painter.begin(&writer)) {
            ok = run.run({&painter, &writer}, hooks);
            ok = painter.end() && ok;
        }
    }
    if (!ok) {
        file.cancelWriting();
        if (error)
            *error = run.cancelled() ? QStringLiteral("The print job was cancelled.")
                   : !run.error().isEmpty() ? run.error()
                                            : QStringLiteral("The PDF file \"%1\" cannot be written.").arg(path);
        return false;
    }
    // commit() does not notice when the last buffered bytes fail to reach the disk (a full disk):
    // flush them first, or a cut-short PDF would replace the old file.
    if (!file.flush() || !file.commit()) {
        if (error)
            *error = QStringLiteral("The PDF file \"%1\" cannot be written: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace postavo::letters
