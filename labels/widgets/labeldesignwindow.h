#pragma once
// TLabelDesignScreen, "Label Design Screen": one label of a layout drawn on its surface
// (TGLabelPanel) with the tools, grid, zoom, default font, artwork, record buttons and "Change
// Layout". Everything it decides is LabelDesign's; the window shows it and forwards the user.

#include "labeldesign.h"
#include "labellayoutcatalogue.h"
#include "labelpanel.h"

#include <QDialog>
#include <functional>
#include <memory>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace postavo {
class AddressTable;
}

namespace postavo::labels {

class TLabelDesignScreen : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TLabelDesignScreen";

    // `ui` answers the designer's questions (the label windows unless given; not owned).
    explicit TLabelDesignScreen(QWidget* parent = nullptr, LabelDesignerUi* ui = nullptr);
    ~TLabelDesignScreen() override;

    TGLabelPanel* surface() const { return panel_; }
    LabelDesign& design() { return *design_; }

    // ---- given before opening ----
    // The address table the record buttons move and the objects show.
    void setDataset(AddressTable* table);
    void setDefinition(const LabelSheetDefinition& d) { design_->setDefinition(d); }
    void setDescription(const QString& text);
    void setNewLayout(bool on) { design_->setNewLayout(on); }
    void setArtworkFolder(const QString& folder) { design_->setArtworkFolder(folder); }
    // Runs at Save while the window is still open: false (with the reason shown) keeps it open.
    std::function<bool(QString* error)> saveHandler;
    // Where messages go (a message box unless a test sets it).
    std::function<void(const QString&)> showMessage;

    bool firstActivationDone() const { return activated_; }

    // ---- controls, for tests and screenshots ----
    QAbstractButton* toolButton(TLPanelState state) const;
    QAbstractButton* gridButton() const;
    QAbstractButton* snapButton() const;
    QAbstractButton* artButton() const;
    QAbstractButton* fieldNamesButton() const;
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* changeLayoutButton() const { return changeLayout_; }
    QPushButton* fontButton() const { return font_; }
    QToolButton* zoomUpButton() const { return zoomUp_; }
    QToolButton* zoomDownButton() const { return zoomDown_; }
    QPushButton* recordButton(RecordMove move) const;
    QLineEdit* descriptionField() const { return description_; }
    QString layoutCaption() const;
    QString zoomText() const;
    QScrollArea* scrollArea() const { return scroll_; }

    // Opens the designer on a layout of the catalogue (a new one when `row` is new): loads its
    // objects, runs the window modally and on Save stores the layout file and the row. True when
    // saved. A damaged or foreign layout file is reported and the designer does not open.
    static bool designLayout(QWidget* parent, LabelLayoutCatalogue& catalogue, LabelLayoutRow& row,
                             AddressTable* table, LabelDesignerUi* ui = nullptr);

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void formActivate();
    void sync();
    void buildToolBar(QToolBar* bar);
    void saveClick();
    void fitContainer();
    bool handleKey(QKeyEvent* k, bool release);

    std::unique_ptr<LabelDesignerUi> ownUi_;
    TGLabelPanel* panel_ = nullptr;
    std::unique_ptr<LabelDesign> design_;
    QWidget* container_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLabel* layout_ = nullptr;
    QLineEdit* description_ = nullptr;
    QPushButton* font_ = nullptr;
    QList<QAction*> tools_;
    QAction* grid_ = nullptr;
    QAction* snap_ = nullptr;
    QAction* art_ = nullptr;
    QAction* fieldNames_ = nullptr;
    QLabel* zoom_ = nullptr;
    QToolButton* zoomUp_ = nullptr;
    QToolButton* zoomDown_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* changeLayout_ = nullptr;
    QPushButton* records_[4] = {};
    QToolBar* toolBar_ = nullptr;
    bool activated_ = false;
    bool syncing_ = false;
};

} // namespace postavo::labels
