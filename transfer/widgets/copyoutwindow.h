#pragma once
// "Copy Records Out": the records the main window's filter shows, in its order, copied to a
// DBF table, a comma-delimited text file or a vCard file.

#include "copyout.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace postavo {
class AddressTable;
}

namespace postavo::transfer {

class ProgressPanel;

class TCopyOut : public QDialog {
    Q_OBJECT
public:
    TCopyOut(AddressTable& table, QWidget* parent = nullptr);

    ExportOptions options() const;
    void setFormat(ExportFormat f);
    // "Save As" answered with `path`: the checks, the overwrite question, then the copy.
    // False when the choice was refused (the window stays open).
    bool chooseTarget(const QString& path);
    const ExportResult& copyResult() const { return result_; }
    bool copying() const { return copying_; }
    ProgressPanel* progress() const { return progress_; }

protected:
    void reject() override;

private:
    void saveAs();
    void copy(const QString& path);

    AddressTable& table_;
    QWidget* choices_;
    QRadioButton* dbf_;
    QRadioButton* text_;
    QRadioButton* vcard_;
    QComboBox* encoding_;
    QCheckBox* rfc4180_;
    QPushButton* saveAs_;
    QPushButton* help_;
    ProgressPanel* progress_;
    ExportResult result_;
    bool copying_ = false;
};

} // namespace postavo::transfer
