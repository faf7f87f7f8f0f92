#pragma once
// TEnvelopeDesignScreen, "Envelope Design Screen": the envelope surface with its tools, toggles,
// zoom, default font, description and size, and the record buttons. The envelope window hands
// it the surface's objects, the description and the size code, and takes them back on Save.

#include "envelopedesign.h"
#include "envelopezones.h"

#include <QDialog>
#include <QMap>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace postavo {
class AddressTable;
class Settings;
} // namespace postavo

namespace postavo::envelopes {

class TEnvelopePanel;

class TEnvelopeDesignScreen : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TEnvelopeDesignScreen";

    // `table`: the address table the objects and record buttons use (may be null).
    explicit TEnvelopeDesignScreen(AddressTable* table, QWidget* parent = nullptr);
    ~TEnvelopeDesignScreen() override;

    TEnvelopePanel* surface() const { return panel_; }
    void setDescription(const QString& description);
    QString description() const { return description_; }
    void setSizeCode(int code);
    int sizeCode() const { return code_; }
    void setPrinterArea(const PrinterArea& area);

    // ---- what tests and screenshots reach ----
    QAction* toolAction(TLPanelState state) const;
    QAction* toggle(const QString& objectName) const;
    QPushButton* saveButton() const { return save_; }
    QLineEdit* descriptionEdit() const { return descriptionEdit_; }
    QPushButton* fontButton() const { return fontButton_; }
    QLabel* zoomLabel() const { return zoomLabel_; }
    void zoomIn();
    void zoomOut();
    // The size chooser (replaced by tests).
    std::function<std::optional<int>(int)> chooseSize;
    void changeSize();
    void saveAndClose();
    bool activated() const { return activated_; }

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildToolBar(QToolBar* bar);
    void setTool(TLPanelState state);
    void surfaceChanged();
    void changeZoom(bool up);
    void chooseDefaultFont();
    void refreshFontCaption();
    void moveRecord(int which);

    AddressTable* table_;
    TEnvelopePanel* panel_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLineEdit* descriptionEdit_ = nullptr;
    QPushButton* fontButton_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QMap<int, QAction*> tools_;
    QString description_;
    int code_ = 20;
    bool activated_ = false;
    bool watching_ = false; // changes show "Save" once the window is open
};

} // namespace postavo::envelopes
