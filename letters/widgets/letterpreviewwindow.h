#pragma once
// TRTFPreviewForm, "Preview Letters": the letter merged with the current address record, one page
// at a time as a white sheet on grey, with zoom, page and record buttons.

#include "letterpreview.h"
#include "richdocument.h"

#include <QDialog>
#include <QWidget>

class QPushButton;
class QScrollArea;

namespace postavo {
class AddressTable;
}

namespace postavo::letters {

class TRTFPreviewForm;

// The sheet: paper on the grey of the scroll area, the page's text drawn into its margins.
class LetterSheet : public QWidget {
    Q_OBJECT
public:
    explicit LetterSheet(TRTFPreviewForm* form);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    TRTFPreviewForm* form_;
};

class TRTFPreviewForm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TRTFPreviewForm";

    // `letter` is copied each time the record changes; `table` is the main window's address table,
    // moved by the record buttons.
    TRTFPreviewForm(const richtext::RichDocument& letter, AddressTable& table, QWidget* parent = nullptr);
    ~TRTFPreviewForm() override;

    const LetterPreviewState& state() const { return state_; }
    const richtext::RichDocument& workingDocument() const { return work_; }
    SheetGeometry geometry() const;
    QPushButton* button(const QString& objectName) const;
    LetterSheet* sheet() const { return sheet_; }
    QScrollArea* scrollArea() const { return scroll_; }
    double screenPpi() const;

    // ---- commands ----
    void zoomIn();
    void zoomOut();
    void pageWidth();
    void wholePage();
    void nextPage();
    void previousPage();
    void moveRecord(int which);  // 0 first, 1 previous, 2 next, 3 last

    // Draws the current page (the sheet paints it); false when it could not be drawn.
    bool paintPage(QPainter& painter);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void done(int result) override;

private:
    void mergeRecord();
    void layoutSheet();
    void redraw();

    const richtext::RichDocument& letter_;
    AddressTable& table_;
    richtext::RichDocument work_;
    LetterPreviewState state_;
    bool activated_ = false;
    bool drawErrorShown_ = false;
    QScrollArea* scroll_ = nullptr;
    LetterSheet* sheet_ = nullptr;
};

} // namespace postavo::letters
