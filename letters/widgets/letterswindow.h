#pragma once
// TPVLetters, "Print Letters": the letter catalogue (New, Modify, Delete, Clone with their
// questions), the records to print, copies and printer, and Print and Preview, which hand the
// letter to TLetterPrint and TRTFPreviewForm.

#include "lettercatalogue.h"
#include "letterrun.h"

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace postavo {
class AddressTable;
namespace printing {
class TPrinters;
}
} // namespace postavo
namespace postavo::richtext {
class RichDocument;
}

namespace postavo::letters {

class TLetterDesign;
class TLetterPrint;
class TRTFPreviewForm;

class TPVLetters : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TPVLetters";

    // `table`: the main window's address table with its filter; `filterSet`: whether the main
    // window has a filter ("Records matching filter" is offered only then).
    TPVLetters(AddressTable& table, bool filterSet, QWidget* parent = nullptr);
    ~TPVLetters() override;

    // ---- commands ----
    void newLetter();
    void modifyLetter();
    void deleteLetter();
    void cloneLetter();
    void printNow();
    void preview();
    void printerSetup();
    void selectLetter(int row);

    // ---- state ----
    std::vector<LetterEntry> listedLetters() const { return rows_; }
    std::optional<LetterEntry> currentLetter() const;
    QTableWidget* grid() const { return grid_; }
    QPushButton* button(const QString& objectName) const;
    QRadioButton* recordChoice(LetterRecords choice) const;
    QCheckBox* startFromCurrent() const { return startFromCurrent_; }
    QSpinBox* copies() const { return copies_; }
    QString printerText() const;
    printing::TPrinters& printers() { return *printers_; }
    LetterCatalogue& catalogue() { return catalogue_; }

    // ---- what tests answer instead of the user ----
    struct Hooks {
        std::function<bool(const QString& text, const QString& caption)> ask;
        std::function<void(const QString& text)> inform;
        // Runs the editor; true when it ended so that the letter is stored. Default: modal.
        std::function<bool(TLetterDesign&)> design;
        // The platform's print dialog; false when cancelled. Default: the dialog.
        std::function<bool()> printDialog;
        // Runs the print window. Default: modal.
        std::function<void(TLetterPrint&)> print;
        std::function<void(TRTFPreviewForm&)> preview;
    };
    Hooks hooks;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

private:
    void fillGrid(quint32 selectRecno = 0);
    void setLetterButtons();
    bool ask(const QString& text, const QString& caption);
    void inform(const QString& text);
    void edit(std::optional<LetterEntry> existing);
    bool loadLetter(quint32 recno, richtext::RichDocument& document);

    AddressTable& table_;
    bool filterSet_;
    LetterCatalogue catalogue_;
    std::vector<LetterEntry> rows_;
    std::unique_ptr<printing::TPrinters> printers_;
    bool activated_ = false;

    QTableWidget* grid_ = nullptr;
    QRadioButton *all_ = nullptr, *matching_ = nullptr, *currentOnly_ = nullptr;
    QCheckBox* startFromCurrent_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QLabel* printer_ = nullptr;
};

} // namespace postavo::letters
