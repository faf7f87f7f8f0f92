#pragma once
// TPrintCurrentRecord, "Print Current Record": which fields of the current record to print, and
// Print, Preview and Printer Setup.

#include "singlerecordprint.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QPushButton;

namespace postavo {
class AddressTable;
}

namespace postavo::printing {
class TPrinters;
}

namespace postavo::reports {

class TPrintCurrentRecord : public QDialog {
    Q_OBJECT
public:
    TPrintCurrentRecord(AddressTable& table, QWidget* parent = nullptr, printing::TPrinters* printers = nullptr);
    ~TPrintCurrentRecord() override;

    // The switches as they are now.
    SingleRecordChoice choice() const;
    // DoPrint: the current record printed (one copy, no print dialog) or previewed.
    void doPrint(bool preview);

    QCheckBox* fieldBox(SingleField f) const { return boxes_[std::size_t(f)]; }
    QCheckBox* allBox() const { return all_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* previewButton() const { return preview_; }
    printing::TPrinters& printers() { return *printers_; }

private:
    AddressTable& table_;
    std::unique_ptr<printing::TPrinters> ownPrinters_;
    printing::TPrinters* printers_;
    std::array<QCheckBox*, kSingleFieldCount> boxes_{};
    QCheckBox* all_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* preview_ = nullptr;
};

} // namespace postavo::reports
