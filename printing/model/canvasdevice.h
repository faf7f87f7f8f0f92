#pragma once
// What a print canvas draws on: a printer, a PDF file or a preview document. The canvas keeps
// every rule (lines, tabs, fonts, pens); a device only starts and ends pages and paints the
// operations it is handed.

#include "canvasops.h"

#include <QFont>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

class QPainter;

namespace postavo::printing {

struct JobInfo {
    QString title = QStringLiteral("Postavo");
    int copies = 1;
};

class CanvasDevice {
public:
    virtual ~CanvasDevice() = default;

    virtual QString deviceName() const { return {}; }
    virtual QString driverName() const { return {}; }
    virtual QString portName() const { return {}; }

    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;
    // The paper in the current orientation, inches.
    virtual QSizeF pageSize() const = 0;
    virtual void setOrientation(QPageLayout::Orientation) {}

    // Starts the job on page 1; false with a message when the device cannot start.
    virtual bool begin(const JobInfo& job, QString* error) = 0;
    virtual void newPage() = 0;
    virtual void draw(const CanvasOp& op) = 0;
    virtual void end() = 0;
    // Ends the job at once; what already went out may still come out.
    virtual void abort() = 0;
    // Why a job that ended did not reach its target whole (the disk filled while a file was
    // written); empty when it did. The canvas asks after end().
    virtual QString writeError() const { return {}; }
};

// Paints canvas operations on a QPainter whose device has dpiX x dpiY pixels per inch, with the
// page's corner at `offset` device pixels. Positions snap to whole device pixels; rectangles and
// lines leave out their right and bottom edge, as the canvas promises.
class OpPainter {
public:
    OpPainter(QPainter& painter, double dpiX, double dpiY, QPointF offset = {});
    void paint(const CanvasOp& op);

    // Whether a rectangle shows only its fill: a solid brush, and an outline (if any) of the fill's
    // own colour that lies within it. Such rectangles may be filled together (fillRects).
    bool fillOnly(const ShapeOp& op) const;
    // The device-pixel rectangle of a rectangle in inches.
    QRectF deviceRect(const QRectF& inches) const;
    // Fills rectangles given in device pixels with one colour, at once: what a run of barcode bars
    // becomes on a device that writes every drawing call (a PDF file).
    void fillRects(const std::vector<QRectF>& pixels, const QColor& colour);

private:
    double px(double inches) const;
    double py(double inches) const;
    double penPixels(const CanvasPen& pen) const;
    void applyPen(const CanvasPen& pen);
    void paintText(const TextOp& op);
    void paintPlainText(const TextOp& op);
    QFont deviceFont(const CanvasFont& font) const;
    void paintShape(const ShapeOp& op);
    void paintLine(const LineOp& op);

    QPainter& p_;
    double dpiX_, dpiY_;
    QPointF offset_;
    std::optional<CanvasFont> cachedFont_; // the last plain text's font, as the device draws it
    QFont cachedQFont_;
};

} // namespace postavo::printing
