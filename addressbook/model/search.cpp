#include "search.h"

#include "addressbookcontroller.h"
#include "addressfile.h"
#include "availability.h"
#include "cp1252.h"
#include "recordengine.h"

namespace postavo {

QStringList searchOrderCaptions()
{
    QStringList out;
    for (const SortOrder& o : sortOrders())
        out << QString::fromLatin1(o.caption).remove(QLatin1Char('&'));
    return out;
}

QString searchPrompt(const QString& orderCaption)
{
    return QStringLiteral("Search ") + orderCaption + QStringLiteral(" starting with...");
}

bool keySearch(AddressBookController& controller, const QString& orderCaption, const QString& text)
{
    if (text.isEmpty() || !controller.isOpen() || controller.editing())
        return false;
    const QString plain = QString(orderCaption).remove(QLatin1Char('&'));
    const SortOrder* order = nullptr;
    for (const SortOrder& o : sortOrders())
        if (QString::fromLatin1(o.caption).remove(QLatin1Char('&')).compare(plain, Qt::CaseInsensitive) == 0)
            order = &o;
    if (!order || !controller.setOrderTo(QString::fromLatin1(order->caption)))
        return false;
    // A character the file cannot hold would become '?' and could match a stored '?'.
    if (!charactersOutsideCp1252(text).isEmpty())
        return false;
    return controller.table().seek(text.toUpper(), false);
}

bool memoMatches(const QString& memo, const QString& text)
{
    if (memo.isEmpty() || text.isEmpty())
        return false;
    return memo.left(kMemoSearchMemoLimit).toUpper().contains(text.left(kMemoSearchTextLimit).toUpper());
}

MemoSearchResult searchMemos(AddressTable& table, const QString& text, bool fromFirst,
                             const std::function<bool(int)>& step)
{
    MemoSearchResult result;
    engine::Table* t = table.engineTable();
    if (!t || text.isEmpty())
        return result;
    // Listing the visible records takes the first fifth of the bar, reading the memos the rest.
    constexpr int kListShare = 20;
    bool stopped = false;
    const std::vector<quint32> rows = table.visibleRecords([&](int p) {
        if (step && !step(p * kListShare / 100))
            stopped = true;
        return !stopped;
    });
    if (stopped) {
        result.cancelled = true;
        return result;
    }
    std::size_t from = 0;
    if (!fromFirst) {
        const quint32 here = table.recNo();
        from = rows.size();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == here) {
                from = i + 1;
                break;
            }
    }
    const QString needle = text.left(kMemoSearchTextLimit).toUpper();
    std::string bytes;
    const std::size_t total = std::max<std::size_t>(rows.size() - std::min(from, rows.size()), 1);
    try {
        for (std::size_t i = from; i < rows.size(); ++i) {
            if (((i - from) & 0x3FF) == 0 && step
                && !step(kListShare + int((i - from) * (100 - kListShare) / total))) {
                result.cancelled = true;
                return result;
            }
            ++result.searched;
            if (!t->readMemo(rows[i], "MEMO", bytes) || bytes.empty())
                continue;
            if (bytes.size() > std::size_t(kMemoSearchMemoLimit))
                bytes.resize(kMemoSearchMemoLimit);  // one byte is one character in the file
            if (AddressTable::fromFile(bytes).toUpper().contains(needle)) {
                result.found = true;
                result.recno = rows[i];
                return result;
            }
        }
    } catch (const std::exception&) {
        // A damaged memo ends the search as "not found"; the table is where it was.
    }
    if (step)
        step(100);
    return result;
}

MemoSearchResult MemoSearch::start(AddressBookController& controller, const QString& text,
                                   const std::function<bool(int)>& step)
{
    text_ = text;
    found_ = false;
    return run(controller, true, step);
}

MemoSearchResult MemoSearch::findNext(AddressBookController& controller, const std::function<bool(int)>& step)
{
    return run(controller, false, step);
}

void MemoSearch::reset()
{
    text_.clear();
    found_ = false;
}

MemoSearchResult MemoSearch::run(AddressBookController& controller, bool fromFirst,
                                 const std::function<bool(int)>& step)
{
    MemoSearchResult r;
    if (controller.isOpen() && !controller.editing() && !text_.isEmpty())
        r = searchMemos(controller.table(), text_, fromFirst, step);
    found_ = r.found;
    if (r.found)
        controller.goTo(r.recno);
    else
        controller.beep();
    return r;
}

} // namespace postavo
