#pragma once
// "Address Browse" (TAddressBrowseForm): the visible records of the open file in a read-only
// grid, in the window's order and filter, with tagging. Rows are read on demand by TableModel;
// the column order comes from and goes back to FIELDS.LST (browsecolumns.h).

#include <QDialog>

class QTableView;

namespace postavo {

class AddressBookController;
class TableModel;

class TAddressBrowseForm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TAddressBrowseForm";
    // Reads FIELDS.LST into the table's field order (saying once per run when it is bad) and
    // starts on the controller's current record.
    explicit TAddressBrowseForm(AddressBookController& controller, QWidget* parent = nullptr);
    ~TAddressBrowseForm() override;

    QTableView* grid() const { return grid_; }
    TableModel* model() const { return model_; }
    // The grid's current record (0 when none).
    quint32 currentRecord() const;
    // The order the grid shows now: every field of the table, moved columns included.
    QStringList columnOrder() const;
    void toggleTag();
    void moveTo(int row);

    // The first problem with FIELDS.LST this run; said only once.
    static QString fieldsListProblemSaid();

protected:
    void done(int r) override;

private:
    AddressBookController& c_;
    QTableView* grid_ = nullptr;
    TableModel* model_ = nullptr;
    bool finished_ = false;
};

} // namespace postavo
