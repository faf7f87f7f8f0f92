#pragma once
// The three targets of a print canvas: a preview document kept in memory (also the recording
// tests read), a PDF file, and a printer.

#include "canvasdevice.h"

#include <QPageLayout>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPdfWriter;
class QSaveFile;
class QPrinter;

namespace postavo::printing {

// Keeps every page's operations. Paints a page on any painter at any pixels per inch, and writes
// every operation as a line of text in inches.
class RecordingDevice : public CanvasDevice {
public:
    // `dpi` is the resolution pens and device-pixel rectangles are worked out for: a preview
    // takes its printer's so that it shows what the printer would draw.
    explicit RecordingDevice(QSizeF pageInches = QSizeF(8.5, 11.0), double dpi = 300.0);

    void setPageSize(QSizeF inches) { page_ = inches; }
    void setDpi(double dpi) { dpi_ = dpi; }
    void setNames(QString device, QString driver, QString port);

    QString deviceName() const override { return device_; }
    QString driverName() const override { return driver_; }
    QString portName() const override { return port_; }
    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }
    QSizeF pageSize() const override { return page_; }
    void setOrientation(QPageLayout::Orientation o) override;

    bool begin(const JobInfo& job, QString* error) override;
    void newPage() override;
    void draw(const CanvasOp& op) override;
    void end() override;
    void abort() override;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<CanvasOp>& page(int index) const { return pages_.at(index); }
    bool aborted() const { return aborted_; }
    bool finished() const { return finished_; }
    const JobInfo& job() const { return job_; }

    // Page `index` (0-based) on `painter` at `dpi` device pixels per inch, its corner at `offset`.
    void paintPage(int index, QPainter& painter, double dpi, QPointF offset = {}) const;
    // "page 1" followed by one line per operation, for every page.
    QStringList log() const;

private:
    QSizeF page_;
    double dpi_;
    QString device_ = QStringLiteral("Preview"), driver_, port_;
    JobInfo job_;
    std::vector<std::vector<CanvasOp>> pages_;
    bool aborted_ = false, finished_ = false;
};

// A preview document is the recording of a preview run.
using PreviewDocument = RecordingDevice;

// Writes the job to a PDF file at a fixed resolution, page corner at the origin. The pages go to
// a temporary file beside it that takes the file's name only once the job has ended whole: a
// cancelled job or a full disk leaves no half document, and an earlier file of that name as it was.
class PdfFileDevice : public CanvasDevice {
public:
    PdfFileDevice(QString path, QPageLayout layout, int resolution = 1200);
    ~PdfFileDevice() override;

    QString deviceName() const override { return QStringLiteral("PDF file"); }
    QString driverName() const override { return QStringLiteral("PDF"); }
    QString portName() const override { return path_; }
    double dpiX() const override { return resolution_; }
    double dpiY() const override { return resolution_; }
    QSizeF pageSize() const override;
    void setOrientation(QPageLayout::Orientation o) override { layout_.setOrientation(o); }

    bool begin(const JobInfo& job, QString* error) override;
    void newPage() override;
    void draw(const CanvasOp& op) override;
    void end() override;
    void abort() override;
    QString writeError() const override { return writeError_; }

private:
    void flushFills();

    QString path_;
    QPageLayout layout_;
    int resolution_;
    std::unique_ptr<QSaveFile> file_;
    QString writeError_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QPainter> painter_;
    std::optional<OpPainter> ops_; // kept for the job: it remembers the last text font
    // Solid rectangles of one colour in a row (barcode bars), filled together when something
    // else comes: one PDF fill instead of one per bar.
    std::vector<QRectF> fills_;
    QColor fillColour_;
};

// Paints on a QPrinter that the printer layer has set up (paper, orientation, source). The page
// corner is the paper's corner: the printer runs in full-page mode.
class PrinterDevice : public CanvasDevice {
public:
    PrinterDevice(QPrinter& printer, QString driver = {}, QString port = {});
    ~PrinterDevice() override;

    QString deviceName() const override;
    QString driverName() const override { return driver_; }
    QString portName() const override { return port_; }
    double dpiX() const override;
    double dpiY() const override;
    QSizeF pageSize() const override;
    void setOrientation(QPageLayout::Orientation o) override;

    bool begin(const JobInfo& job, QString* error) override;
    void newPage() override;
    void draw(const CanvasOp& op) override;
    void end() override;
    void abort() override;

private:
    QPrinter& printer_;
    QString driver_, port_;
    std::unique_ptr<QPainter> painter_;
    std::optional<OpPainter> ops_;
};

} // namespace postavo::printing
