#pragma once
// TReportSetup, "Print Report": the built-in reports and the user's banded reports, the record
// choice both use, and Print, Preview and Printer Setup.

#include "reportcatalogue.h"
#include "reportsetup.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace postavo {
class AddressTable;
}

namespace postavo::printing {
class TPrinters;
}

namespace postavo::reports {

class TReportSetup : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1087;

    // `filterSet`: whether the main window has a filter (else the filter choice is disabled).
    // `printers` may be given (tests); otherwise the window makes its own.
    TReportSetup(AddressTable& table, bool filterSet, QWidget* parent = nullptr,
                 printing::TPrinters* printers = nullptr, const QString& sysdataDir = {});
    ~TReportSetup() override;

    // Opens the report catalogue; false (after the message) when it cannot be opened: the window
    // is then not shown.
    bool openCatalogue();

    const ReportSetupState& state() const { return state_; }
    ReportCatalogue& catalogue() { return catalogue_; }
    printing::TPrinters& printers() { return *printers_; }

    // ---- the commands (buttons call them; tests too) ----
    void print();
    void preview();
    void printerSetup();
    void newReport();
    void modifyReport();
    void deleteReport();
    void cloneReport();
    // The selected catalogue entry, if any.
    std::optional<ReportEntry> currentEntry() const;
    void selectEntry(quint32 recno);

    // ---- read by tests and screenshots ----
    QTabWidget* tabs() const { return tabs_; }
    QListWidget* reportList() const { return reportList_; }
    QLineEdit* titleEdit() const { return title_; }
    QCheckBox* memoBox() const { return memo_; }
    QCheckBox* codesBox() const { return codes_; }
    QTreeWidget* designerList() const { return designerList_; }
    QRadioButton* choiceButton(RecordChoice c) const;
    QCheckBox* startFromCurrentBox() const { return startCurrent_; }
    QCheckBox* oneRecordPerPageBox() const { return onePerPage_; }
    QPushButton* button(const QString& caption) const;

    // The designer opened by New and Modify; tests replace it to answer without a window. It
    // gets the catalogue entry (null for New) and returns true when the report was saved.
    using DesignerRunner = std::function<bool(TReportSetup& setup, const ReportEntry* entry)>;
    void setDesignerRunner(DesignerRunner runner) { designer_ = std::move(runner); }
    // Questions and messages; tests answer them.
    std::function<bool(const QString& text, const QString& caption)> askYesNo;
    std::function<void(const QString& text)> inform;
    // Print dialog: the copies, or nothing when cancelled.
    std::function<std::optional<int>()> askCopies;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildBuiltInTab(QWidget* tab);
    void buildDesignerTab(QWidget* tab);
    QGroupBox* buildWhatToPrint();
    void fillDesignerList(quint32 select = 0);
    void readControls();
    void setReportButtons();
    void run(bool preview, int copies);
    bool runDesigner(const ReportEntry* entry);

    AddressTable& table_;
    std::unique_ptr<printing::TPrinters> ownPrinters_;
    printing::TPrinters* printers_;
    QString sysdataDir_;
    ReportCatalogue catalogue_;
    ReportSetupState state_;
    DesignerRunner designer_;
    bool activated_ = false;

    QTabWidget* tabs_ = nullptr;
    QListWidget* reportList_ = nullptr;
    QLineEdit* title_ = nullptr;
    QCheckBox* memo_ = nullptr;
    QCheckBox* codes_ = nullptr;
    QTreeWidget* designerList_ = nullptr;
    QGroupBox* whatToPrint_ = nullptr;
    QButtonGroup* choice_ = nullptr;
    QCheckBox* startCurrent_ = nullptr;
    QCheckBox* onePerPage_ = nullptr;
    QList<QPushButton*> buttons_;
};

} // namespace postavo::reports
