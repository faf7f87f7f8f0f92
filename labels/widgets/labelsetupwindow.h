#pragma once
// The "Print Labels" window TLabelSetupScreen: the catalogue of label layouts (New, Modify,
// Clone, Delete), which records to print, "Start from current record", "Presort for Bulk Mail",
// the printer, and Print or Preview through the position picker, the progress window and the
// preview window. The rules are LabelSetup's; this window shows them.

#include "labelsetup.h"
#include "printers.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace postavo::labels {

class LabelDesignerUi;

class TLabelSetupScreen : public QDialog, private LabelRunUi {
    Q_OBJECT
public:
    // `filterInForce`: the main window has a filter set ("Records matching filter" is then the
    // default; otherwise it is disabled). `ui` answers the run's questions and `designerUi` the
    // designer's (the windows unless given); `printers` lists the printers (the platform's unless
    // given); `programFolder` holds PRESORT.PSL.
    TLabelSetupScreen(AddressTable& table, LabelLayoutCatalogue& catalogue, bool filterInForce,
                      QWidget* parent = nullptr, LabelRunUi* ui = nullptr, LabelDesignerUi* designerUi = nullptr,
                      std::unique_ptr<printing::TPrinters> printers = nullptr, QString programFolder = {});
    ~TLabelSetupScreen() override;

    LabelSetup& setup() { return setup_; }
    printing::TPrinters& printers() { return *printers_; }
    std::optional<LabelLayoutRow> currentLayout();

    // Every modal window the label window opens (the position picker, the presort, the progress
    // and the preview windows) runs through this; tests drive them here. By default exec().
    std::function<int(QDialog&)> runDialog;

    // ---- commands
    void print() { runJob(false); }
    void preview() { runJob(true); }
    void newLayout();
    void modifyLayout();
    void cloneLayout();
    void deleteLayout();

    // ---- controls, for tests and screenshots
    QTableWidget* grid() const { return grid_; }
    QRadioButton* allRecords() const { return all_; }
    QRadioButton* matchingFilter() const { return matching_; }
    QRadioButton* currentOnly() const { return current_; }
    QCheckBox* startFromCurrent() const { return startCurrent_; }
    QCheckBox* presortBox() const { return presort_; }
    QComboBox* printerList() const { return printerList_; }
    QPushButton* button(const QString& name) const;
    QLabel* detail(const QString& caption) const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    // LabelRunUi: the windows' answers, or the given ui's.
    void showInformation(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    BulkMailPresort::Result runPresort(BulkMailPresort& presort, const QString& path, QString* error) override;

    void fill(quint32 select = 0);
    void showCurrent();
    void setButtons();
    void recordsChosen();
    void runJob(bool preview);

    AddressTable& table_;
    LabelLayoutCatalogue& catalogue_;
    LabelRunUi* ui_;
    LabelDesignerUi* designerUi_;
    std::unique_ptr<printing::TPrinters> printers_;
    LabelSetup setup_;
    std::vector<LabelLayoutRow> rows_;
    bool activated_ = false;

    QTableWidget* grid_ = nullptr;
    QGroupBox* whatBox_ = nullptr;
    QGroupBox* printerBox_ = nullptr;
    QRadioButton* all_ = nullptr;
    QRadioButton* matching_ = nullptr;
    QRadioButton* current_ = nullptr;
    QCheckBox* startCurrent_ = nullptr;
    QCheckBox* presort_ = nullptr;
    QComboBox* printerList_ = nullptr;
    std::vector<std::pair<QString, QLabel*>> details_;
};

// Opens the label layout catalogue and the "Print Labels" window on `table` (the main window's
// open file); tells the user when the catalogue cannot be opened.
void runLabelSetup(QWidget* parent, AddressTable& table, bool filterInForce);

} // namespace postavo::labels
