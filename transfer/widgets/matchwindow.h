#pragma once
// The match window the text and table imports share: a grid of address fields and the source
// column or field that feeds each, a menu to choose it, and a view of the source above.

#include "fieldmatch.h"

#include <QDialog>

class QTableWidget;

namespace postavo::transfer {

class TFieldMatch : public QDialog {
    Q_OBJECT
public:
    // `source` (the sample lines or the table's records) is shown above the grid, under
    // `sourceCaption`; `fileName` names the source in the grid's header.
    TFieldMatch(const QString& caption, const FieldMatchGrid& grid, const QString& fileName, const QString& sourceCaption,
                QWidget* source, int helpTopic, QWidget* parent = nullptr);
    const FieldMatchGrid& grid() const { return grid_; }

    // The menu's action for the current row (tests call it without a menu): "" is "(none)".
    void chooseForCurrent(const QString& source);
    void selectRow(int row);
    QTableWidget* matchTable() const { return table_; }

private:
    void showMenu();
    void refresh();

    FieldMatchGrid grid_;
    QTableWidget* table_;
};

} // namespace postavo::transfer
