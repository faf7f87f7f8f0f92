#include "devices.h"
#include "printers.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace postavo::printing {

namespace {

// A save file that notices a short write: writing past a full disk returns fewer bytes (or none)
// without the file reporting an error, so the document would be committed cut short.
class CheckedSaveFile : public QSaveFile {
public:
    using QSaveFile::QSaveFile;
    QString failure;

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        const qint64 n = QSaveFile::writeData(data, len);
        if (n != len && failure.isEmpty()) {
            const int err = errno;
            failure = err ? QString::fromLocal8Bit(std::strerror(err)) : errorString();
            cancelWriting();  // commit() now discards the file
        }
        return n;
    }
};

} // namespace

// ---- RecordingDevice ----

RecordingDevice::RecordingDevice(QSizeF pageInches, double dpi) : page_(pageInches), dpi_(dpi) {}

void RecordingDevice::setNames(QString device, QString driver, QString port)
{
    device_ = std::move(device);
    driver_ = std::move(driver);
    port_ = std::move(port);
}

void RecordingDevice::setOrientation(QPageLayout::Orientation o)
{
    const bool landscape = page_.width() > page_.height();
    if ((o == QPageLayout::Landscape) != landscape)
        page_.transpose();
}

bool RecordingDevice::begin(const JobInfo& job, QString*)
{
    job_ = job;
    pages_.clear();
    pages_.emplace_back();
    aborted_ = finished_ = false;
    return true;
}

void RecordingDevice::newPage()
{
    pages_.emplace_back();
}

void RecordingDevice::draw(const CanvasOp& op)
{
    if (pages_.empty())
        pages_.emplace_back();
    pages_.back().push_back(op);
}

void RecordingDevice::end() { finished_ = true; }

void RecordingDevice::abort()
{
    aborted_ = true;
    finished_ = true;
}

void RecordingDevice::paintPage(int index, QPainter& painter, double dpi, QPointF offset) const
{
    if (index < 0 || index >= pageCount())
        return;
    OpPainter op(painter, dpi, dpi, offset);
    for (const CanvasOp& o : pages_[index])
        op.paint(o);
}

QStringList RecordingDevice::log() const
{
    QStringList lines;
    for (int i = 0; i < pageCount(); ++i) {
        lines << QStringLiteral("page %1").arg(i + 1);
        for (const CanvasOp& o : pages_[i])
            lines << describe(o);
    }
    return lines;
}

// ---- PdfFileDevice ----

PdfFileDevice::PdfFileDevice(QString path, QPageLayout layout, int resolution)
    : path_(std::move(path)), layout_(std::move(layout)), resolution_(resolution)
{
    layout_.setMode(QPageLayout::FullPageMode);
    layout_.setMinimumMargins(QMarginsF());
    layout_.setMargins(QMarginsF());
}

PdfFileDevice::~PdfFileDevice()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

QSizeF PdfFileDevice::pageSize() const
{
    return paperInches(layout_);
}

bool PdfFileDevice::begin(const JobInfo& job, QString* error)
{
    writeError_.clear();
    file_ = std::make_unique<CheckedSaveFile>(path_);
    if (!file_->open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Unable to write the PDF file \"%1\".").arg(path_);
        file_.reset();
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setResolution(resolution_);
    writer_->setTitle(job.title);
    writer_->setCreator(QStringLiteral("Postavo"));
    writer_->setPageLayout(layout_);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(writer_.get())) {
        if (error)
            *error = QStringLiteral("Unable to write the PDF file \"%1\".").arg(path_);
        painter_.reset();
        writer_.reset();
        file_->cancelWriting();
        file_.reset();
        return false;
    }
    ops_.emplace(*painter_, resolution_, resolution_);
    return true;
}

void PdfFileDevice::newPage()
{
    flushFills();
    if (writer_)
        writer_->newPage();
}

void PdfFileDevice::draw(const CanvasOp& op)
{
    if (!painter_)
        return;
    if (const auto* shape = std::get_if<ShapeOp>(&op); shape && ops_->fillOnly(*shape)) {
        if (!fills_.empty() && shape->brush.color != fillColour_)
            flushFills();
        fillColour_ = shape->brush.color;
        const QRectF r = ops_->deviceRect(shape->rect);
        if (!r.isEmpty())
            fills_.push_back(r);
        return;
    }
    flushFills();
    ops_->paint(op);
}

void PdfFileDevice::flushFills()
{
    if (painter_ && ops_ && !fills_.empty())
        ops_->fillRects(fills_, fillColour_);
    fills_.clear();
}

void PdfFileDevice::end()
{
    flushFills();
    ops_.reset();
    if (painter_)
        painter_->end();
    painter_.reset();
    writer_.reset();
    // The last buffered bytes go out in this flush; a failure here (disk full) is not seen by
    // commit() itself, so it is asked for first. An uncommitted file is removed when it goes.
    if (file_ && (!file_->flush() || !file_->commit())) {
        const QString failure = static_cast<CheckedSaveFile*>(file_.get())->failure;
        writeError_ = QStringLiteral("The PDF file \"%1\" could not be written: %2")
                          .arg(path_, failure.isEmpty() ? file_->errorString() : failure);
    }
    file_.reset();
}

void PdfFileDevice::abort()
{
    fills_.clear();
    ops_.reset();
    if (painter_)
        painter_->end();
    painter_.reset();
    writer_.reset();
    if (file_)
        file_->cancelWriting();  // an aborted job leaves no half document behind
    file_.reset();
}

// ---- PrinterDevice ----

PrinterDevice::PrinterDevice(QPrinter& printer, QString driver, QString port)
    : printer_(printer), driver_(std::move(driver)), port_(std::move(port))
{
}

PrinterDevice::~PrinterDevice()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

QString PrinterDevice::deviceName() const
{
    return printer_.outputFormat() == QPrinter::PdfFormat ? QStringLiteral("PDF file") : printer_.printerName();
}

double PrinterDevice::dpiX() const { return printer_.resolution(); }
double PrinterDevice::dpiY() const { return printer_.resolution(); }

QSizeF PrinterDevice::pageSize() const
{
    return paperInches(printer_.pageLayout());
}

void PrinterDevice::setOrientation(QPageLayout::Orientation o)
{
    printer_.setPageOrientation(o);
}

bool PrinterDevice::begin(const JobInfo& job, QString* error)
{
    printer_.setFullPage(true);
    printer_.setDocName(job.title);
    printer_.setCreator(QStringLiteral("Postavo"));
    printer_.setCopyCount(std::max(1, job.copies));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
        if (error)
            *error = QStringLiteral("The printer \"%1\" could not start the print job.").arg(deviceName());
        painter_.reset();
        return false;
    }
    ops_.emplace(*painter_, dpiX(), dpiY());
    return true;
}

void PrinterDevice::newPage()
{
    if (painter_)
        printer_.newPage();
}

void PrinterDevice::draw(const CanvasOp& op)
{
    if (!painter_)
        return;
    ops_->paint(op);
}

void PrinterDevice::end()
{
    ops_.reset();
    if (painter_)
        painter_->end();
    painter_.reset();
}

void PrinterDevice::abort()
{
    ops_.reset();
    if (painter_) {
        printer_.abort();
        if (painter_->isActive())
            painter_->end();
    }
    painter_.reset();
}

} // namespace postavo::printing
