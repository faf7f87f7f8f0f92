#pragma once
// The state of the template window: the label stock catalogue LBLTPL.DBF opened read-only, the
// maker, product type and European-paper choices with the query they make, the matching rows in
// description order, the current row, and the search box that finds a product by maker and
// number. The window binds its controls to this object.

#include "labelsheet.h"
#include "labelstockcatalogue.h"
#include "templatequery.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace postavo::engine {
class Table;
}

namespace postavo::labels {

class TemplateSelection {
public:
    // `sysdataDir`: the program's sysdata/ unless given.
    explicit TemplateSelection(QString sysdataDir = {});
    ~TemplateSelection();
    TemplateSelection(const TemplateSelection&) = delete;
    TemplateSelection& operator=(const TemplateSelection&) = delete;

    // Opens the catalogue; false with "Unable to Open LBLTPL.DBF" when it cannot be had.
    bool open(QString* message);
    bool isOpen() const { return table_ != nullptr; }

    // The lists: the four makers of old first, then the others the catalogue holds, then
    // "All Makers"; the six product groups and "All".
    const QStringList& manufacturerEntries() const { return makers_; }
    const QStringList& productTypeEntries() const;

    // Sets the lists from the current definition, runs the query and settles on the current
    // definition's row (or the last row when it is not among them).
    void start(const LabelSheetDefinition& current);

    int manufacturerIndex() const { return maker_; }
    int productTypeIndex() const { return product_; }
    bool europeanOnly() const { return european_; }
    // Each choice runs the query again (and leaves the search); the first row becomes current.
    void setManufacturer(int index);
    void setProductType(int index);
    void setEuropeanOnly(bool on);
    // The filter expression the choices make.
    QString filter() const;

    // A search by maker and number ("5160", "L7160", "herma 4226"): while the text is not empty
    // the rows are the products it finds in the whole catalogue; empty, the query's rows again.
    void setSearchText(const QString& text);
    QString searchText() const { return search_; }

    const std::vector<LabelSheetDefinition>& rows() const { return rows_; }
    QStringList descriptions() const;
    int currentRow() const { return current_; }
    void setCurrentRow(int row);
    const LabelSheetDefinition* current() const;
    // Ok and the grid are there only while some template matches.
    bool canAccept() const { return !rows_.empty(); }

    struct Choice {
        QString message;  // why the row cannot be taken; empty when it can
        LabelSheetDefinition definition;
        bool ok() const { return message.isEmpty(); }
    };
    // Ok: every field of the current row, its description as TPLDESCRIP; a row whose values make
    // no sheet is refused with the reason.
    Choice accept() const;

    const LabelStockCatalogue& catalogue() const { return catalogue_; }

private:
    void query();

    QString dir_;
    std::unique_ptr<engine::Table> table_;
    LabelStockCatalogue catalogue_;
    QStringList makers_;
    QStringList otherMakerNames_;
    int maker_ = -1;
    int product_ = -1;
    bool european_ = false;
    QString search_;
    std::vector<LabelSheetDefinition> rows_;
    int current_ = -1;
};

} // namespace postavo::labels
