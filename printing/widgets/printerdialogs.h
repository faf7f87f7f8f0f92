#pragma once
// The platform's printer windows over TPrinters: page setup, the print dialog, and the save-file
// dialog that asks where the printer "PDF file" writes a job.

#include <QString>
#include <optional>

class QWidget;

namespace postavo::printing {

class TPrinters;

// The page setup dialog; true when accepted (the printers take its paper and orientation).
bool printerSetupDialog(TPrinters& printers, QWidget* parent);
// The print dialog; the number of copies, or nothing when cancelled. For "PDF file" the file the
// dialog names becomes the job's file.
std::optional<int> printDialog(TPrinters& printers, QWidget* parent);
// "Print to PDF file": a save-file dialog; empty when cancelled.
QString askPdfFileName();
// Makes askPdfFileName the chooser of every job on "PDF file" that has none of its own. The
// program's print windows call it; it may be called again.
void usePdfFileDialog();

} // namespace postavo::printing
