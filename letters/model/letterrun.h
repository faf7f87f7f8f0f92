#pragma once
// The letter print run without its window: which records print (all, the filter's, only the
// current one, from the current one on), the letter merged with each record and drawn page by
// page, each copy and each record on new paper, the count of pages for the status text, and the
// address table's query and record given back afterwards whatever happened.

#include "pagelayout.h"
#include "runposition.h"
#include "tablestatekeeper.h"

#include <QRectF>
#include <QString>
#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace postavo {
class AddressTable;
}
namespace postavo::richtext {
class RichDocument;
}

namespace postavo::letters {

using LetterRecords = RunRecords;

inline constexpr int kMaxCopies = 999;

struct LetterJob {
    LetterRecords records = LetterRecords::CurrentOnly;
    bool startFromCurrent = false;
    // A condition the records must also meet (the batch tool's --filter); empty for none.
    QString extraFilter;
    int copies = 1;  // 1 to 999
};

// The text rectangle on a printer page in device dots: margins from the letter, dots per inch
// dx and dy, and the printer's unprintable offsets ox and oy in dots (0 on a full-page device).
QRectF printTextRect(const richtext::PageLayout& page, double dx, double dy, double ox = 0, double oy = 0);

// "Printing page 6".
QString printingPageText(int pages);
inline constexpr const char* kLetterPrintCompleted = "Letter Print Completed!";
inline constexpr const char* kLetterPrintCanceled = "Letter Print Canceled!";
inline constexpr const char* kCancelPrintJobQuestion = "Cancel print job?";

// Where the pages go: a painter on a paged device (a PDF writer or a printer), its origin the
// paper's corner.
struct LetterOutput {
    QPainter* painter = nullptr;
    QPagedPaintDevice* device = nullptr;
    double offsetX = 0, offsetY = 0;  // unprintable offsets in device dots
};

class LetterRun {
public:
    // `letter` is the letter as loaded from the catalogue (not changed by the run).
    LetterRun(const richtext::RichDocument& letter, AddressTable& table, LetterJob job);

    // Sets the query and goes to the first record to print. `notice` gets the out-of-range
    // notice when "from the current record" cannot start there. False with `error` when the
    // filter does not compile or no record is left.
    bool position(quint32 currentRecno, QString* notice, QString* error);

    struct Hooks {
        // After each record, with the pages printed so far.
        std::function<void(int pages)> status;
        // After each record: true ends the run as cancelled (the window asks its question here).
        std::function<bool()> cancel;
    };
    // The loop from the position reached. Returns false when the device failed (a page could
    // not be started) or the run was cancelled; see cancelled().
    bool run(const LetterOutput& out, const Hooks& hooks = {});

    int pages() const { return pages_; }
    int letters() const { return letters_; }
    bool cancelled() const { return cancelled_; }
    QString error() const { return error_; }

private:
    const richtext::RichDocument& letter_;
    AddressTable& table_;
    LetterJob job_;
    int pages_ = 0;
    int letters_ = 0;
    bool cancelled_ = false;
    QString error_;
};

// Runs `run` (already positioned) into a PDF file of `page`'s paper size: written whole or not
// at all (a cancelled or failed run leaves no file). False with `error`.
bool printLettersToPdf(LetterRun& run, const richtext::PageLayout& page, const QString& path, QString* error,
                       const LetterRun::Hooks& hooks = {});

} // namespace postavo::letters
