#pragma once
// "Check State and Zip  Codes": the check of states and zips against CSZ.DBF, the grid of the
// questionable records, and the editor of CSZ.DBF itself.

#include "maintenancekit.h"
#include "resultgrid.h"
#include "statezipcheck.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QStackedWidget;

namespace postavo {

class AddressTable;

class TStateZipCheckWindow : public QDialog {
    Q_OBJECT
public:
    TStateZipCheckWindow(AddressTable& table, MaintenanceUi& ui, const QString& sysdataDir = {},
                         QWidget* parent = nullptr);
    ~TStateZipCheckWindow() override;

    void performCheck();   // "Perform Check Now"
    void cancelClicked();  // "Cancel" while the check runs: asks, then stops
    void editStateTable(); // "Edit State/Province File" / "Stop Editing"
    void tagCurrent();     // "&Tag"
    void tagAll();         // "Tag &All"

    // Read by tests and screenshots.
    QCheckBox* blankBox() const { return blank_; }
    QString countText() const;
    bool resultsShown() const;
    bool editingStateTable() const { return csz_ != nullptr; }
    RecordGrid* resultGrid() const { return grid_; }
    RecordGrid* stateGrid() const { return cszView_; }
    StateTableGrid* stateTable() const { return csz_.get(); }
    const StateZipCheck& check() const { return check_; }
    QPushButton* closeButton() const { return close_; }

    void reject() override;  // refused while the check runs; deletes _chksz.idx

private:
    void buildSetup(QWidget* page);
    void buildResults(QWidget* page);
    void buildStateEditor(QWidget* page);
    void showPanel(int which);

    AddressTable& table_;
    MaintenanceUi& ui_;
    QString sysdata_;
    StateZipCheck check_;
    std::unique_ptr<AddressGrid> source_;
    std::unique_ptr<StateTableGrid> csz_;
    QStackedWidget* pages_ = nullptr;
    QCheckBox* blank_ = nullptr;
    QLabel* count_ = nullptr;
    QProgressBar* bar_ = nullptr;
    RecordGrid* grid_ = nullptr;
    RecordGrid* cszView_ = nullptr;
    QWidget* cszPage_ = nullptr;
    QPushButton* perform_ = nullptr;
    QPushButton* editCsz_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    PassDisplay progress_;
    int previousPanel_ = 0;
    bool running_ = false;
};

} // namespace postavo
