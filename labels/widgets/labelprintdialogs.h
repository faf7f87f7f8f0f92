#pragma once
// The two small windows of a label run: the position picker TSelectSpecificLabels ("Labels
// Print": which positions of the sheet to fill, how many of each label, which printer) and the
// presort window TSortBulkMail ("Bulk Mail Presorting").

#include "bulkmailpresort.h"
#include "labelpositions.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace postavo::printing {
class TPrinters;
}

namespace postavo::labels {

// The sheet at a fifth of its size; a click toggles a position.
class SheetPickerView : public QWidget {
    Q_OBJECT
public:
    SheetPickerView(const LabelSheetDefinition& sheet, PositionSelection* positions, QWidget* parent = nullptr);
    double scale() const { return scale_; }
    QSize sizeHint() const override;
    // Toggles the position under a point of the drawing (as a click does).
    void toggleAt(QPoint p);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    LabelSheetDefinition sheet_;
    PositionSelection* positions_;
    double scale_;
};

class TSelectSpecificLabels : public QDialog {
    Q_OBJECT
public:
    TSelectSpecificLabels(const LabelSheetDefinition& sheet, const PositionSelection& positions,
                          printing::TPrinters& printers, bool presort, QWidget* parent = nullptr);

    const PositionSelection& positions() const { return positions_; }
    // The number of each label, at least 1.
    int copies() const;

    SheetPickerView* view() const { return view_; }
    QSpinBox* copiesBox() const { return copies_; }
    QComboBox* printerList() const { return printerList_; }

    void accept() override;  // refuses when no position is selected

private:
    LabelSheetDefinition sheet_;
    PositionSelection positions_;
    printing::TPrinters& printers_;
    SheetPickerView* view_;
    QSpinBox* copies_;
    QComboBox* printerList_;
};

class TSortBulkMail : public QDialog {
    Q_OBJECT
public:
    TSortBulkMail(BulkMailPresort& presort, QString path, QWidget* parent = nullptr);

    BulkMailPresort::Result result() const { return result_; }
    QString error() const { return error_; }
    QLabel* statusLabel() const { return status_; }
    // The answer to "Cancel PRESORT?" (tests answer it instead of the message box).
    std::function<bool()> confirmCancel;

    void reject() override;  // Esc and the window's close ask like "Cancel"

protected:
    void showEvent(QShowEvent* e) override;

private:
    void run();
    void cancelClicked();

    BulkMailPresort& presort_;
    QString path_;
    QLabel* status_;
    QPushButton* cancel_;
    bool started_ = false, running_ = false, cancelled_ = false;
    BulkMailPresort::Result result_ = BulkMailPresort::Result::Cancelled;
    QString error_;
};

} // namespace postavo::labels
