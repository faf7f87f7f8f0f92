#include "runposition.h"

#include "addressfile.h"

namespace postavo {

bool positionRun(AddressTable& table, RunRecords records, const QString& extraFilter, bool startFromCurrent,
                 quint32 currentRecno, QString* notice, QString* error)
{
    if (records != RunRecords::CurrentOnly) {
        QString filter = records == RunRecords::All ? QStringLiteral("!ISDEL") : table.filter();
        if (!extraFilter.trimmed().isEmpty())
            filter = QStringLiteral("(%1) .and. %2").arg(extraFilter, filter.isEmpty() ? QStringLiteral("!ISDEL") : filter);
        if (filter != table.filter() && !table.setFilter(filter)) {
            if (error)
                *error = table.lastError();
            return false;
        }
        bool reached = false;
        if (startFromCurrent) {
            // The engine goes to a record whatever the filter: the record must also be one the
            // filter lets through, or the run would start with one it leaves out.
            reached = currentRecno && table.goTo(currentRecno) && table.recNo() == currentRecno && table.hasRecord()
                   && (filter.isEmpty() || table.evalCondition(filter));
            if (!reached && notice)
                *notice = QString::fromLatin1(kOutOfRangeNotice);
        }
        if (!reached)
            table.first();
    } else if (currentRecno && table.recNo() != currentRecno) {
        table.goTo(currentRecno);
    }
    if (!table.hasRecord()) {
        if (error)
            *error = QStringLiteral("There is no record to print.");
        return false;
    }
    return true;
}

} // namespace postavo
