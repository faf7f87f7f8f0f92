#include "availability.h"

namespace postavo {

Availability computeAvailability(bool open, bool editing, bool hasRecord, bool filterSet)
{
    Availability a;
    const bool browsingRecord = open && !editing && hasRecord;
    a.search = a.browse = a.edit = a.del = a.navigate = browsingRecord;
    a.dial = a.searchMemo = a.exportFile = a.clone = browsingRecord;
    a.sortMenu = a.printMenu = a.utilitiesMenu = a.printButtons = browsingRecord;
    a.add = a.recordMenu = open && !editing;
    a.setFilter = filterSet || browsingRecord;
    a.saveFilter = a.clearFilter = a.tagAll = filterSet;
    a.clearFilterButtonVisible = filterSet;
    a.clearFilterButtonEnabled = filterSet && !editing;
    a.rebuild = a.importMenu = a.clearTags = a.restoreFilter = a.editMenu = open;
    a.fileMenu = a.exit = !editing;
    a.editing = editing;
    return a;
}

std::optional<QString> filterStatusText(bool open, bool filterSet, quint32 visible)
{
    if (!open)
        return std::nullopt;
    if (filterSet)
        return QString::number(visible) + QStringLiteral(" filter matches");
    if (visible == 0)
        return QStringLiteral("No records");
    return QString::number(visible) + QStringLiteral(" records (no filter)");
}

const std::array<SortOrder, kSortOrderCount>& sortOrders()
{
    static const std::array<SortOrder, kSortOrderCount> orders = {{
        {"&Last Name", "LNAME"}, {"&First Name", "FNAME"}, {"&Title", "TITLE"},
        {"&Organization", "ORG"}, {"&Street", "STREET"}, {"&City", "CITY"},
        {"&State", "STATE"}, {"&Zip", "ZIP"}, {"&Country", "COUNTRY"},
        {"&Phone", "PHONE"}, {"&E-mail", "EMAIL"}, {"&Fax", "FAX"},
        {"&Date", "DATE"}, {"&Codes", "CODES"},
    }};
    return orders;
}

QString sortKeyOfCaption(const QString& caption) { return caption.mid(1).toUpper(); }

QString sortTagForCaption(const QString& caption)
{
    const QString key = sortKeyOfCaption(caption);
    for (const SortOrder& o : sortOrders())
        if (sortKeyOfCaption(QString::fromLatin1(o.caption)) == key)
            return QString::fromLatin1(o.tag);
    return {};
}

QString sortStatusText(const QString& caption)
{
    QString c = caption;
    c.remove(QLatin1Char('&'));
    return QStringLiteral("Sorted by ") + c;
}

} // namespace postavo
