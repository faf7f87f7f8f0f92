#include "labelstockcatalogue.h"

#include "cp1252.h"
#include "engine/recordengine.h"
#include "labelcodes.h"
#include "labelvalidation.h"
#include "shippedcatalogues.h"

#include <QMap>
#include <algorithm>

namespace postavo::labels {

namespace {

QByteArray sortKey(const QString& description)
{
    // The DESCRIPT tag's order: the upper-cased Windows-1252 bytes.
    return toCp1252Bytes(description.toUpper());
}

QStringList wordsOf(const LabelSheetDefinition& d)
{
    QStringList words;
    const QStringList parts = d.tplDescrip.toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& w : parts) {
        words << w;
        int i = 0;
        while (i < w.size() && w[i].isLetter())
            ++i;
        if (i > 0 && i < w.size() && w[i].isDigit())
            words << w.mid(i);
    }
    words << d.manufac.toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words;
}

bool isListedMaker(const QString& maker)
{
    return maker == QLatin1String("AVERY") || maker == QLatin1String("NEBS") || maker == QLatin1String("COSTAR");
}

} // namespace

LabelStockCatalogue::LabelStockCatalogue(std::vector<LabelSheetDefinition> rows)
    : rows_(std::move(rows))
{
    std::stable_sort(rows_.begin(), rows_.end(), [](const LabelSheetDefinition& a, const LabelSheetDefinition& b) {
        return sortKey(a.tplDescrip) < sortKey(b.tplDescrip);
    });
    words_.reserve(rows_.size());
    for (const LabelSheetDefinition& d : rows_)
        words_.push_back(wordsOf(d));
}

LabelStockCatalogue LabelStockCatalogue::fromRows(const QList<LabelTemplateRow>& rows)
{
    std::vector<LabelSheetDefinition> v;
    v.reserve(size_t(rows.size()));
    for (const LabelTemplateRow& r : rows)
        v.push_back(fromTemplate(r));
    return LabelStockCatalogue(std::move(v));
}

LabelStockCatalogue LabelStockCatalogue::fromTable(engine::Table& table)
{
    std::vector<LabelSheetDefinition> v;
    table.setOrder(0);
    for (table.goTop(); !table.eof(); table.skip()) {
        if (!table.isDeleted())
            v.push_back(readTemplateRow(table));
    }
    return LabelStockCatalogue(std::move(v));
}

std::vector<int> LabelStockCatalogue::search(const QString& text) const
{
    const QStringList query = text.toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<int> found;
    if (query.isEmpty())
        return found;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const QStringList& words = words_[i];
        const bool all = std::all_of(query.begin(), query.end(), [&words](const QString& q) {
            return std::any_of(words.begin(), words.end(), [&q](const QString& w) { return w.startsWith(q); });
        });
        if (all)
            found.push_back(int(i));
    }
    return found;
}

QList<MakerPrinters> LabelStockCatalogue::otherMakers() const
{
    QMap<QString, QStringList> byMaker;
    for (const LabelSheetDefinition& d : rows_) {
        const QString maker = d.manufac.trimmed().toUpper();
        if (maker.isEmpty() || isListedMaker(maker))
            continue;
        QStringList& printers = byMaker[maker];
        if (!printers.contains(d.printer))
            printers << d.printer;
    }
    QList<MakerPrinters> out;
    for (auto it = byMaker.cbegin(); it != byMaker.cend(); ++it) {
        QStringList ordered;
        for (const PrinterType& p : printerTypes())
            if (it.value().contains(QLatin1String(p.code)))
                ordered << QLatin1String(p.code);
        out.append({it.key(), ordered});
    }
    return out;
}

QStringList LabelStockCatalogue::otherMakerNames() const
{
    QStringList names;
    for (const MakerPrinters& m : otherMakers())
        names << m.maker;
    return names;
}

std::vector<int> LabelStockCatalogue::select(const QString& manufacturerEntry, const QString& productTypeEntry,
                                             bool europeanOnly) const
{
    // The same decisions templateFilter() writes as an expression.
    const QString entry = manufacturerEntry.toUpper();
    QString maker, printer;
    if (!entry.isEmpty()) {
        for (const QString& name : QStringList{"AVERY", "NEBS", "COSTAR"} + otherMakerNames()) {
            if (entry.contains(name)) {
                maker = name;
                break;
            }
        }
        for (const PrinterType& p : printerTypes()) {
            if (entry.contains(QLatin1String(p.entryWord))) {
                printer = QLatin1String(p.code);
                break;
            }
        }
    }
    QString group;
    for (const ProductType& p : productTypes())
        if (productTypeEntry.compare(QLatin1String(p.entry), Qt::CaseInsensitive) == 0)
            group = QLatin1String(p.code);

    std::vector<int> out;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const LabelSheetDefinition& d = rows_[i];
        if (!maker.isEmpty() && d.manufac.toUpper() != maker)
            continue;
        if (!printer.isEmpty() && d.printer.toUpper() != printer)
            continue;
        if (!group.isEmpty() && d.prodType.toUpper() != group)
            continue;
        if (europeanOnly && !d.paperSize.toUpper().contains(QLatin1String("A4")) && !d.paperSize.toUpper().contains(QLatin1String("A5")))
            continue;
        out.push_back(int(i));
    }
    return out;
}

QStringList LabelStockCatalogue::check() const
{
    QStringList p;
    for (const LabelSheetDefinition& d : rows_)
        p << checkTemplate(d);
    for (size_t i = 1; i < rows_.size(); ++i)
        if (sortKey(rows_[i].tplDescrip) == sortKey(rows_[i - 1].tplDescrip))
            p << QStringLiteral("Template \"%1\": the description is used twice").arg(rows_[i].tplDescrip);
    return p;
}

} // namespace postavo::labels
