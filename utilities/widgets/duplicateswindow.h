#pragma once
// "Check and Repair Duplicates": the four kinds of duplicate check, the editable grid of the
// records found, and for similar records the pairs with their scores.

#include "duplicatecheck.h"
#include "maintenancekit.h"
#include "resultgrid.h"

#include <QDialog>

#include <memory>

class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace postavo {

class AddressTable;

class TDuplicatesWindow : public QDialog {
    Q_OBJECT
public:
    // `folder` takes _chkdup.idx (the program folder).
    TDuplicatesWindow(AddressTable& table, MaintenanceUi& ui, const QString& folder, QWidget* parent = nullptr);
    ~TDuplicatesWindow() override;

    void setKind(DuplicateKind kind);
    void setStreetChars(int n);
    void performCheck();   // "&Perform Duplicate Check Now"
    void cancelClicked();
    void deleteCurrent();  // "&Delete"
    void tagCurrent();
    void tagAll();

    QString countText() const;
    bool resultsShown() const;
    RecordGrid* resultGrid() const { return grid_; }
    QTableWidget* pairList() const { return pairs_; }
    const DuplicateCheck& check() const { return check_; }
    QSpinBox* streetChars() const { return chars_; }

    void reject() override;  // "Ok"; refused while running; restores the field order

private:
    void buildSetup(QWidget* page);
    void buildResults(QWidget* page);
    void showPairs();

    AddressTable& table_;
    MaintenanceUi& ui_;
    DuplicateCheck check_;
    QStringList fieldOrder_;  // as it was when the window opened
    std::unique_ptr<AddressGrid> source_;
    QWidget* setup_ = nullptr;
    QWidget* results_ = nullptr;
    QRadioButton* kinds_[4] = {};
    QSpinBox* chars_ = nullptr;
    QLabel* charsLabel_ = nullptr;
    QLabel* count_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTableWidget* pairs_ = nullptr;
    QWidget* gridHolder_ = nullptr;
    RecordGrid* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    PassDisplay progress_;
    bool running_ = false;
};

} // namespace postavo
