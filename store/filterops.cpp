#include "filterops.h"

#include "addressfile.h"
#include "settings.h"

namespace postavo {

void ClearQueryVars(QueryValues& query) { query.clear(); }

quint32 ApplyFilter(AddressTable& table, QueryValues& query, const QString& tagId,
                    const std::function<void(const QString&)>& inform)
{
    const QString filter = BuildQueryString(query, tagId);
    if (filter.isEmpty()) {
        table.setFilter(appliedFilterExpression({}));
        return 0;
    }
    if (filterTooComplex(filter)) {
        if (inform)
            inform(QStringLiteral("Sorry - filter is too complex.Please simplify it."));
        table.setFilter(appliedFilterExpression({}));
        ClearQueryVars(query);
        return 0;
    }
    quint32 count = 0;
    if (table.setFilter(appliedFilterExpression(filter)))
        count = table.visibleCount();
    if (count == 0) {
        ClearQueryVars(query);
        table.setFilter(appliedFilterExpression({}));
    }
    return count;
}

QString loadGlobalTagId(Settings& settings)
{
    const QString id = settings.readString(QString::fromLatin1(keys::GlobalTagIdSection),
                                           QString::fromLatin1(keys::GlobalTagIdKey), makeTagId());
    settings.writeString(QString::fromLatin1(keys::GlobalTagIdSection), QString::fromLatin1(keys::GlobalTagIdKey), id);
    return id;
}

QString clearTags(Settings& settings, const QDateTime& now)
{
    QString id = makeTagId(now);
    const QString old = settings.readString(QString::fromLatin1(keys::GlobalTagIdSection),
                                            QString::fromLatin1(keys::GlobalTagIdKey));
    // Two clears within one second would make the same id and revive the old tags.
    QDateTime t = now;
    while (id == old) {
        t = t.addSecs(1);
        id = makeTagId(t);
    }
    settings.writeString(QString::fromLatin1(keys::GlobalTagIdSection), QString::fromLatin1(keys::GlobalTagIdKey), id);
    return id;
}

TagAllResult tagAllMatches(AddressTable& table, const std::function<bool(quint32)>& step)
{
    TagAllResult r;
    // Tagging may change the active order (TAG order): walk the record numbers taken first.
    const std::vector<quint32> rows = table.visibleRecords();
    for (quint32 recno : rows) {
        if (!table.goTo(recno) || !table.setTagged(true)) {
            r.failed = true;
            break;
        }
        ++r.tagged;
        if (step && !step(r.tagged)) {
            r.cancelled = true;
            break;
        }
    }
    table.first();
    return r;
}

} // namespace postavo
