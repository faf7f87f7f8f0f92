#pragma once
// What the maintenance windows share: message boxes as their questions, a record grid with its
// navigation buttons, and a pass's progress shown on a bar with Cancel answered.

#include "maintenanceui.h"
#include "passprogress.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace postavo {

class GridSource;
class TableModel;

// The program's message boxes.
class MessageBoxUi : public MaintenanceUi {
public:
    explicit MessageBoxUi(QWidget* parent = nullptr) : parent_(parent) {}
    void showInformation(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    bool askYesNoDefaultNo(const QString& text, const QString& caption) override;

private:
    QWidget* parent_;
};

// A grid of a GridSource with first, prior, next and last buttons. Cell editors take at most the
// field's width; a double-click in the "Tagged" column asks for a tag toggle.
class RecordGrid : public QWidget {
    Q_OBJECT
public:
    RecordGrid(GridSource* source, std::function<int(const QString&)> width, QWidget* parent = nullptr);
    QTableView* view() const { return view_; }
    TableModel* model() const { return model_; }
    quint32 currentRecord() const;
    void selectRecord(quint32 recno);
    void refresh();        // rows changed
    void refreshValues();  // values changed
    // Cell editing: start on the current cell, store it, throw it away.
    void editCurrent();
    bool saveEdit();    // false when no cell was being edited
    bool cancelEdit();
    bool editing() const;

signals:
    void tagToggleRequested(quint32 recno);
    void writeRefused();

private:
    void move(int to);

    TableModel* model_ = nullptr;
    QTableView* view_ = nullptr;
};

// Runs passes for a window: the step shows the position on the bar and the text the window
// makes of the progress, lets events run, and stops when cancel() was confirmed.
class PassDisplay {
public:
    PassDisplay(QProgressBar* bar, QLabel* label) : bar_(bar), label_(label) {}
    PassStep step(std::function<QString(const PassProgress&)> text = {});
    void requestCancel() { cancel_ = true; }
    void reset() { cancel_ = false; }
    bool cancelRequested() const { return cancel_; }

private:
    QProgressBar* bar_;
    QLabel* label_;
    bool cancel_ = false;
};

QPushButton* makeButton(const QString& caption, QWidget* parent, const QString& whatsThis = {});

class AddressTable;
// "&Tag" of a result grid: toggles the tag of the grid's current record.
void toggleTagOfCurrent(AddressTable& table, RecordGrid& grid, MaintenanceUi& ui);
// "Tag &All": asks, then tags every listed record as "Tag All Filter Matches" does.
void tagAllListed(AddressTable& table, RecordGrid& grid, MaintenanceUi& ui, const char* question, const char* caption);

} // namespace postavo
