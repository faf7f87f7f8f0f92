#pragma once
// The label stock catalogue (LBLTPL.DBF) held in memory for finding products: by maker and
// number as the user types them ("5160", "L7160", "avery 8160"), and by the template
// window's choices. It is a few hundred rows, so a scan of prepared words answers at once.

#include "labelsheet.h"
#include "templatequery.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace postavo {
struct LabelTemplateRow;
namespace engine {
class Table;
}
} // namespace postavo

namespace postavo::labels {

class LabelStockCatalogue {
public:
    LabelStockCatalogue() = default;
    // Rows in any order; they are kept in description order (upper-cased, as the catalogue's
    // DESCRIPT tag orders them).
    explicit LabelStockCatalogue(std::vector<LabelSheetDefinition> rows);
    static LabelStockCatalogue fromRows(const QList<LabelTemplateRow>& rows);
    // Every row of an open LBLTPL.DBF that carries no deletion mark. Reads in record order and
    // leaves the table in record order.
    static LabelStockCatalogue fromTable(engine::Table& table);

    const std::vector<LabelSheetDefinition>& rows() const { return rows_; }
    int size() const { return int(rows_.size()); }

    // The rows matching every word of `text`, in description order. A word matches when a
    // word of the description or the maker's name starts with it, ignoring case; a word
    // of the description that begins with letters before its digits also matches by its
    // number ("7160" finds L7160). An empty text finds nothing.
    std::vector<int> search(const QString& text) const;

    // The makers other than Avery, NEBS and CoStar, each with the printer types it has stock
    // for, in name order: the extra entries of the template window's maker list.
    QList<MakerPrinters> otherMakers() const;
    QStringList otherMakerNames() const;

    // The rows the template window's query selects, in description order: the same choice
    // as templateFilter() applied to the table (tests compare the two).
    std::vector<int> select(const QString& manufacturerEntry, const QString& productTypeEntry, bool europeanOnly) const;

    // Every problem of every row, each naming its row; empty for a sound catalogue.
    QStringList check() const;

private:
    std::vector<LabelSheetDefinition> rows_;
    std::vector<QStringList> words_;  // per row, upper case: description words, their numbers, the maker
};

} // namespace postavo::labels
