#pragma once
// TReportDesigner, "Report Designer": the header, detail and footer bands of a report with the
// memo section between them, the tools that draw on them, the sizers, and Save, Cancel and
// Change Layout.

#include "reportbands.h"
#include "reportcatalogue.h"
#include "reportpanel.h"
#include "reportvars.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace postavo {
class AddressTable;
}

namespace postavo::design {
class THRuler;
}

namespace postavo::reports {

class BandSizer;

class TReportDesigner : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1079;
    static constexpr const char* kWindowClass = "TReportDesigner";

    explicit TReportDesigner(AddressTable* table, QWidget* parent = nullptr);
    ~TReportDesigner() override;

    // LoadReport: a new report (entry null) or the entry's file; tells what could not be read.
    void load(const ReportCatalogue& catalogue, const ReportEntry* entry);
    // Settings given directly (tests).
    void setReport(const ReportVars& vars, const QString& description, const QString& layout);

    QString description() const;
    QString layoutText() const;
    const ReportVars& vars() const { return vars_; }
    TReportPanel& header() { return *bands_[0]; }
    TReportPanel& detail() { return *bands_[1]; }
    TReportPanel& footer() { return *bands_[2]; }
    TReportPanel& band(int which) { return *bands_[which]; }

    // ---- commands ----
    void chooseTool(TRPanelState tool);
    TRPanelState tool() const { return tool_; }
    // Ticks or unticks "Header", "Detail", "Memo" (2) or "Footer".
    void setBandUsed(int which, bool on);
    // The sizer of band `which` (0-2) pressed, dragged `dy` pixels from there, let go.
    void pressSizer(int which);
    void dragSizer(int which, int dy);
    void releaseSizer(int which);
    void changeLayout();
    void chooseDefaultFont();
    void chooseMemoFont();
    void setMemoAlignment(int alignment);
    void save();
    void firstRecord();
    void previousRecord();
    void nextRecord();
    void lastRecord();

    // ---- read by tests and screenshots ----
    QLineEdit* descriptionEdit() const { return description_; }
    QLabel* layoutLabel() const { return layout_; }
    QPushButton* defaultFontButton() const { return defaultFont_; }
    QCheckBox* bandBox(int which) const { return bandBoxes_[which]; } // header, detail, memo, footer
    QWidget* sizer(int which) const;
    QToolButton* toolButton(TRPanelState tool) const;
    QPlainTextEdit* memoView() const { return memoView_; }
    design::THRuler* ruler() const { return ruler_; }
    QAbstractButton* fieldNamesToggle() const;
    QScrollArea* pageArea() const { return scroll_; }
    QWidget* page() const { return page_; }

    // The layout dialog; tests answer it. True when it ended with "Save".
    std::function<bool(ReportVars* vars, QString* description)> layoutDialog;
    std::function<void(const QString&)> inform;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildTop(QWidget* parent, QVBoxLayout* layout);
    void buildTools(QVBoxLayout* layout);
    void buildPage();
    void buildBottom(QVBoxLayout* layout);
    void layoutBands();
    void syncHeightsFromBands();
    void showEmptyBands();
    void refreshRecord();
    void updateFontCaption();
    void bandPressed(TReportPanel* band);

    AddressTable* table_;
    double ppi_;
    ReportVars vars_;
    TRPanelState tool_ = psPointing;
    bool placed_ = false;

    QLineEdit* description_ = nullptr;
    QLabel* layout_ = nullptr;
    QPushButton* defaultFont_ = nullptr;
    QButtonGroup* tools_ = nullptr;
    QToolButton* gridButton_ = nullptr;
    QToolButton* snapButton_ = nullptr;
    QToolButton* namesButton_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* page_ = nullptr;
    design::THRuler* ruler_ = nullptr;
    TReportPanel* bands_[3] = {};
    QCheckBox* bandBoxes_[4] = {};
    BandSizer* sizers_[3] = {};
    QPushButton* memoProperties_ = nullptr;
    QPlainTextEdit* memoView_ = nullptr;
    QWidget* memoBar_ = nullptr;
    int pressHeight_[3] = {};
};

} // namespace postavo::reports
