#pragma once
// A small window of the label layouts in LABEL.DBF, reached from the main window's "Print
// Labels": New (choose the label stock, then the designer) and Modify (the designer on the
// selected layout). The full label window with printing takes its place later; it uses the same
// catalogue and designer calls.

#include "labellayoutcatalogue.h"

#include <QDialog>
#include <vector>

class QListWidget;
class QPushButton;

namespace postavo {
class AddressTable;
}

namespace postavo::labels {

class LabelDesignerUi;

class TLabelLayoutChooser : public QDialog {
    Q_OBJECT
public:
    // `ui` answers the sheet questions and the designer's (the label windows unless given).
    TLabelLayoutChooser(LabelLayoutCatalogue& catalogue, AddressTable* table, QWidget* parent = nullptr,
                        LabelDesignerUi* ui = nullptr);

    QListWidget* list() const { return list_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* modifyButton() const { return modify_; }
    const std::vector<LabelLayoutRow>& rows() const { return rows_; }

    // New: the label stock chosen first (Cancel keeps the usual Avery 5160), then the designer.
    void newLayout();
    // Modify: the designer on the selected layout.
    void modifyLayout();

private:
    void fill(quint32 select = 0);

    LabelLayoutCatalogue& catalogue_;
    AddressTable* table_;
    LabelDesignerUi* ui_;
    QListWidget* list_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* modify_ = nullptr;
    std::vector<LabelLayoutRow> rows_;
};

// Opens the catalogue and the chooser; tells the user when the catalogue cannot be opened.
void runLabelLayouts(QWidget* parent, AddressTable* table);

} // namespace postavo::labels
