#pragma once
// The printers a print run can use: the system's printers (CUPS) and, listed last, the built-in
// printer "PDF file" that writes each job to a PDF file. "PDF file" is the default only when the
// system has no printer, so every output can still be produced on a machine without printers.
// Paper and orientation are kept here and set on the printer again at the start of every job.

#include "canvasdevice.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;

namespace postavo::printing {

class RecordingDevice;

// The paper of a layout in inches in its orientation, worked out from the size's own definition
// (Qt rounds inch sizes to two decimals: an Envelope #10 would be 4.12 wide).
QSizeF paperInches(const QPageLayout& layout);

class TPrinters {
public:
    static QString pdfPrinterName() { return QStringLiteral("PDF file"); }

    // The system's printers as CUPS lists them.
    TPrinters();
    // A given list of system printers (tests; a machine whose printers are known otherwise).
    TPrinters(QStringList systemPrinters, const QString& systemDefault);
    ~TPrinters();

    // System printers, then "PDF file".
    QStringList printers() const { return names_; }
    bool hasSystemPrinters() const { return names_.size() > 1; }
    int printerIndex() const { return index_; }
    QString printerName() const { return names_.value(index_); }
    bool isPdfPrinter() const { return index_ == names_.size() - 1; }
    bool selectPrinter(int index);
    // Without regard to letter case; false when no printer has that name.
    bool selectPrinter(const QString& name);
    QString driverName() const;
    QString portName() const;

    // Paper sources (trays) where the printer offers them; empty for "PDF file".
    QStringList paperSources() const;
    QString paperSource() const { return source_; }
    bool selectPaperSource(const QString& name);
    QStringList paperNames() const;
    QString paperName() const { return layout_.pageSize().name(); }
    bool selectPaperName(const QString& name);
    // Letter 1, A4 9, A5 11, envelopes 19-38 ...; false for a code without a standard size.
    bool setPaperCode(int code);
    int paperCode() const;
    bool setCustomPaper(int widthTenthsMm, int heightTenthsMm);
    QPageSize pageSizeSetting() const { return layout_.pageSize(); }

    void setOrientation(QPageLayout::Orientation o) { layout_.setOrientation(o); }
    QPageLayout::Orientation orientation() const { return layout_.orientation(); }
    // The paper in the current orientation, inches.
    double pageWidth() const;
    double pageHeight() const;
    // The unprintable strips along the left, top, right and bottom edges in the current
    // orientation, inches.
    QMarginsF unprintableMargins() const;
    double resolution() const;

    // The file "PDF file" writes its next job to. When it is empty at the start of a job the
    // chooser is asked; without one, the program-wide default chooser (the windows install a
    // save-file dialog there); without that, the job does not start.
    void setPdfFileName(const QString& path) { pdfFile_ = path; }
    QString pdfFileName() const { return pdfFile_; }
    void setPdfFileChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }
    static void setDefaultPdfFileChooser(std::function<QString()> chooser);

    // Takes the paper and orientation the printer object has now (after the platform's setup or
    // print dialog changed it).
    void adoptPrinterPage();

    // A device for one job on the selected printer, with paper, orientation and source set
    // again. Null with a message when it cannot be made.
    std::unique_ptr<CanvasDevice> createDevice(QString* error);
    // A preview document set up like the printer: its paper, orientation and resolution.
    std::unique_ptr<RecordingDevice> createPreviewDocument() const;

    // The printer object of the selected printer (after applySettings, as the next job sees it).
    QPrinter& qprinter();
    void applySettings();

private:
    static std::function<QString()>& defaultPdfFileChooser();
    void loadPrinter();
    QStringList lpOptionValues(const QString& option, QString* current) const;

    QStringList names_;
    int index_ = 0;
    QPageLayout layout_;
    QString source_;
    QString pdfFile_;
    std::function<QString()> chooser_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace postavo::printing
