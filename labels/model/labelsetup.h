#pragma once
// The rules of the "Print Labels" window without the window: which records a run prints, the
// presort-done flag, the catalogue commands Clone and Delete, the printer's paper for a sheet,
// and the steps of Print and Preview up to the label loop and back (the table's record, filter
// and order as they were). TLabelSetupScreen shows this state; postavo-batch runs the same steps.

#include "bulkmailpresort.h"
#include "labellayoutcatalogue.h"
#include "labelprinter.h"
#include "labelsurface.h"
#include "tablestatekeeper.h"

#include <QString>
#include <memory>
#include <optional>

namespace postavo {
class AddressTable;
}
namespace postavo::printing {
class TPrinters;
}

namespace postavo::labels {

enum class RecordChoice { All, MatchingFilter, CurrentOnly };

// The questions, messages and windows of a run; the label windows answer them on screen, the
// batch tool on the terminal, tests from a script.
class LabelRunUi {
public:
    virtual ~LabelRunUi() = default;
    virtual void showInformation(const QString& text) = 0;
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    // Runs the presort (on screen: TSortBulkMail, which the user may cancel).
    virtual BulkMailPresort::Result runPresort(BulkMailPresort& presort, const QString& path, QString* error)
    {
        return presort.run(path, error);
    }
};

// ---- the printer's paper for a sheet ----

struct SheetPaper {
    bool landscape = false;
    // The paper in portrait, inches rounded to two decimals (for a landscape sheet W is its
    // SHEETDEPTH and H its SHEETWIDTH).
    double width = 0, height = 0;
};
SheetPaper sheetPaper(const LabelSheetDefinition& d);
// "Unable to confirm that the paper size was set to ..." for W and H.
QString paperQuestion(const SheetPaper& paper);
// Sets the printer's paper and orientation for the sheet: Letter, A4 and A5 by their codes, any
// other a custom paper of the sheet's size, except on a printer whose driver is "HPFDJ", which
// keeps its paper. The question to ask when the paper the printer reports differs from the sheet
// by more than 0.05 inch (always on such a printer); empty when it matches.
QString setPrinterPaper(printing::TPrinters& printers, const LabelSheetDefinition& d);

// ---- one run, prepared ----

class LabelPrintRun {
public:
    LabelPrintRun(AddressTable& table, const LabelLayoutRow& layout);
    LabelSurface& surface() { return surface_; }
    TLabelPrinter& printer() { return *printer_; }
    const LabelLayoutRow& layout() const { return layout_; }
    // Puts the table back as it was before the run (also done when the run goes).
    void finish() { guard_.restore(); }

private:
    friend class LabelSetup;
    AddressTable& table_;
    LabelLayoutRow layout_;
    TableStateKeeper guard_;
    LabelSurface surface_;
    std::unique_ptr<TLabelPrinter> printer_;
};

// ---- the window's state and commands ----

class LabelSetup {
public:
    // `programFolder` holds PRESORT.PSL (the program's folder unless given).
    LabelSetup(AddressTable& table, LabelLayoutCatalogue& catalogue, LabelRunUi& ui, QString programFolder = {});

    AddressTable& table() { return table_; }
    LabelLayoutCatalogue& catalogue() { return catalogue_; }
    QString presortPath() const;

    // ---- what to print ----
    // Whether the main window has a filter in force: without one "Records matching filter" is
    // disabled and "All records" chosen; with one it is the default.
    void setFilterInForce(bool on);
    bool filterAvailable() const { return filterAvailable_; }
    RecordChoice records() const { return records_; }
    // Choosing clears the presort-done flag; "Only current record" also clears and disables
    // presort, the other two enable it.
    void chooseRecords(RecordChoice choice);
    bool startFromCurrent() const { return startFromCurrent_; }
    void setStartFromCurrent(bool on);
    bool presort() const { return presort_; }
    bool presortEnabled() const { return presortEnabled_; }
    void setPresort(bool on);
    bool presortDone() const { return presortDone_; }

    PositionSelection positions;
    int copies = 1;

    // First activation: an earlier run's presort file is removed.
    void activate();

    // ---- the catalogue ----
    // "Clone of :" + the description, kept to 50 characters.
    static QString cloneDescription(const QString& description);
    // Copies the layout (its file into a new file, its row with the clone's description). The
    // copy, or nothing with the message in `error`.
    std::optional<LabelLayoutRow> cloneLayout(const LabelLayoutRow& row, QString* error);
    // Marks the row deleted, then removes its layout file (unless another layout still names it).
    bool deleteLayout(const LabelLayoutRow& row, QString* error);

    // ---- Print and Preview ----
    // The steps before the label loop: the layout loaded onto a fresh surface, the table's state
    // remembered, the records chosen, the presort run when it is due, the presort order and the
    // printer's paper set (`printers` may be null: a run without a printer, as tests and the
    // preview of the batch tool have). Null when the run stops; the user has been told why and
    // the table is as it was.
    std::unique_ptr<LabelPrintRun> prepareRun(const LabelLayoutRow& layout, printing::TPrinters* printers);

private:
    AddressTable& table_;
    LabelLayoutCatalogue& catalogue_;
    LabelRunUi& ui_;
    QString folder_;
    bool filterAvailable_ = false;
    RecordChoice records_ = RecordChoice::All;
    bool startFromCurrent_ = false;
    bool presort_ = false;
    bool presortEnabled_ = true;
    bool presortDone_ = false;
};

// Messages of a run.
inline constexpr const char* kLayoutFileRemoved = "Label definition file has been removed from the sysdata directory";
inline constexpr const char* kOutOfRange = "Current record is out of range. Starting with first record";
inline constexpr const char* kPresortOrder =
    "Labels will print/preview in the following order:\r\n  1. 5-Digit presort\r\n  2. 3-Digit presort\r\n  3. ADC presort";
inline constexpr const char* kNoPositions = "You must select at least one card to print";
inline constexpr const char* kNoRecords = "There are no records to print.";

} // namespace postavo::labels
