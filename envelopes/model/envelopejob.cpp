#include "envelopejob.h"

#include "addressfile.h"
#include "designhost.h"
#include "layoutprint.h"
#include "printcanvas.h"

namespace postavo::envelopes {

bool hasPostalAddress(const AddressTable& t)
{
    for (const char* f : {"STREET", "STREET2", "CITY", "STATE", "ZIP", "COUNTRY"})
        if (!t.value(QString::fromLatin1(f)).trimmed().isEmpty())
            return true;
    return false;
}

EnvelopeRun::EnvelopeRun(design::DesignHost& surface, AddressTable& table, EnvelopeJob job)
    : surface_(surface), table_(table), job_(std::move(job))
{
    job_.feed = job_.feed.sanitized();
}

bool EnvelopeRun::position(quint32 currentRecno, QString* notice, QString* error)
{
    if (!positionRun(table_, job_.records, job_.extraFilter, job_.startFromCurrent, currentRecno, notice, error))
        return false;
    start_ = table_.recNo();
    return true;
}

bool EnvelopeRun::advance()
{
    if (job_.records == RecordChoice::CurrentOnly)
        return false;
    return table_.next() && table_.hasRecord();
}

EnvelopeRun::Census EnvelopeRun::census()
{
    Census c;
    if (!table_.hasRecord())
        return c;
    do {
        if (hasPostalAddress(table_))
            ++c.envelopes;
        else
            c.noAddress.push_back(table_.recNo());
    } while (advance());
    table_.goTo(start_);
    return c;
}

void EnvelopeRun::run(printing::TPrintCanvas& canvas, const bool& stop, const std::function<void()>& pending)
{
    // Where the envelope goes on this page, worked out once per job.
    offsets_ = feedOffsets(canvas.pageWidth(), canvas.pageHeight(), job_.envelopeWidth, job_.envelopeHeight, job_.feed);
    canvas.setMarginLeft(0);
    canvas.setMarginTop(0);
    printed_ = 0;
    skipped_.clear();
    const bool wasPrinting = surface_.isPrinting();
    surface_.setPrinting(true);
    while (table_.hasRecord() && !stop && !canvas.aborted()) {
        if (!hasPostalAddress(table_)) {
            skipped_.push_back(table_.recNo());
        } else {
            if (printed_ > 0)
                canvas.newPage();
            if (job_.preview) {
                const QMarginsF& m = job_.unprintable;
                canvas.setPen(Qt::red, printing::PenStyle::Dot, -1);
                canvas.setBrush(Qt::white, printing::BrushStyle::Clear);
                canvas.rectangle(m.left(), m.top(), canvas.pageWidth() - m.right(), canvas.pageHeight() - m.bottom());
                canvas.setPen(Qt::black, printing::PenStyle::Solid, 1);
            }
            design::printSurfaceOnce(surface_, canvas, offsets_.x, offsets_.y);
            ++printed_;
        }
        if (!advance())
            break;
        if (pending)
            pending();
    }
    surface_.setPrinting(wasPrinting);
}

QString skippedRecordsText(const std::vector<quint32>& recnos)
{
    if (recnos.empty())
        return {};
    QStringList named;
    for (size_t i = 0; i < recnos.size() && i < 10; ++i)
        named << QString::number(recnos[i]);
    QString list;
    if (named.size() == 1)
        list = named.first();
    else
        list = named.mid(0, named.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + named.last();
    if (recnos.size() > 10)
        list = named.join(QStringLiteral(", ")) + QStringLiteral(" and %1 more").arg(recnos.size() - 10);
    return (recnos.size() == 1 ? QStringLiteral("Record %1 has no address; no envelope is printed for it.")
                               : QStringLiteral("Records %1 have no address; no envelope is printed for them."))
        .arg(list);
}

} // namespace postavo::envelopes
