#pragma once
// TLetterPrint, "Print Status Screen": runs a letter print run once when first shown, on the
// printer or into a PDF file, telling the pages printed; "Cancel" asks before it stops the run
// after the current record, and afterwards becomes the button that closes the window.

#include "letterrun.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace postavo::printing {
class TPrinters;
}

namespace postavo::letters {

class TLetterPrint : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TLetterPrint";

    // `run` is positioned on the first record to print; `page` is the letter's page layout (the
    // paper of a PDF file).
    TLetterPrint(LetterRun& run, printing::TPrinters& printers, const richtext::PageLayout& page,
                 QWidget* parent = nullptr);

    QString statusText() const;
    QPushButton* button() const { return button_; }
    bool finished() const { return finished_; }
    bool cancelled() const { return cancelled_; }
    // The run itself (called once, when first shown).
    void runJob();
    void requestStop() { stopRequested_ = true; }

    struct Hooks {
        std::function<bool(const QString& text, const QString& caption)> ask;
        std::function<void(const QString& text)> inform;
        // After each record (tests press "Cancel" here).
        std::function<void(int pages)> afterRecord;
    };
    Hooks hooks;

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    bool askCancel();

    LetterRun& run_;
    printing::TPrinters& printers_;
    richtext::PageLayout page_;
    QLabel* status_ = nullptr;
    QPushButton* button_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
    bool stopRequested_ = false;
    bool cancelled_ = false;
};

} // namespace postavo::letters
