#pragma once
// TCountZipCodes, "Count Zip Codes": counts the records per zip code when first shown, then
// prints or previews the counts (TZipReport).

#include "zipcount.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QWidget;

namespace postavo {
class AddressTable;
}

namespace postavo::printing {
class TPrinters;
}

namespace postavo::reports {

class TCountZipCodes : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1002;

    TCountZipCodes(AddressTable& table, QWidget* parent = nullptr, printing::TPrinters* printers = nullptr);
    ~TCountZipCodes() override;

    // The counting pass; true when it completed.
    bool count();
    bool counted() const { return counted_; }
    const QStringList& reportLines() const { return lines_; }
    const ZipCount& tallies() const { return count_; }
    void print();
    void preview();
    void printerSetup();

    QLabel* statusLabel() const { return status_; }
    QLabel* textLabel() const { return text_; }
    QPushButton* cancelButton() const { return cancel_; }
    QWidget* bottomBar() const { return bar_; }
    printing::TPrinters& printers() { return *printers_; }

    // "Cancel Count?" (caption "CANCEL"); tests answer it.
    std::function<bool()> askCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void run(bool preview);

    AddressTable& table_;
    std::unique_ptr<printing::TPrinters> ownPrinters_;
    printing::TPrinters* printers_;
    ZipCount count_;
    QStringList lines_;
    bool counted_ = false;
    bool counting_ = false;
    bool cancelled_ = false;
    bool activated_ = false;
    QLabel* text_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QWidget* bar_ = nullptr;
};

} // namespace postavo::reports
