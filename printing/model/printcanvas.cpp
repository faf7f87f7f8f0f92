#include "printcanvas.h"
#include "printunits.h"

#include <QCoreApplication>

namespace postavo::printing {

TPrintCanvas::TPrintCanvas(CanvasKind kind) : kind_(kind)
{
    model_.setMargins(0.5, 0, 0, 0);
    statusText = {QString(), QString()};
    fontChanged();
}

TPrintCanvas::~TPrintCanvas() = default;

void TPrintCanvas::setMarginLeft(double v) { auto m = model_.margins(); model_.setMargins(v, m.top, m.right, m.bottom); }
void TPrintCanvas::setMarginTop(double v) { auto m = model_.margins(); model_.setMargins(m.left, v, m.right, m.bottom); }
void TPrintCanvas::setMarginRight(double v) { auto m = model_.margins(); model_.setMargins(m.left, m.top, v, m.bottom); }
void TPrintCanvas::setMarginBottom(double v) { auto m = model_.margins(); model_.setMargins(m.left, m.top, m.right, v); }
void TPrintCanvas::setMargins(double l, double t, double r, double b) { model_.setMargins(l, t, r, b); }

// ---- Run control ----

bool TPrintCanvas::execute(const std::function<void(TPrintCanvas&)>& beforePrint,
                           const std::function<void(TPrintCanvas&)>& body)
{
    if (printing_) {
        error_ = QStringLiteral("A print job is already running.");
        return false;
    }
    error_.clear();
    aborted_ = false;
    if (!device_) {
        error_ = kind_ == CanvasKind::Preview ? QStringLiteral("StreamMode is smUser but Stream is nil")
                                              : QStringLiteral("No printers are defined, aborting print job.");
        return false;
    }
    if (orientation != PrintOrientation::Default)
        device_->setOrientation(orientation == PrintOrientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
    // Pens set before the job was given its device take that device's pixels now.
    pen_ = resolvePen(pen_.color, pen_.style, penWidth_);
    const QSizeF paper = device_->pageSize();
    model_.setPageSize(paper.width(), paper.height());
    page_ = 1;
    outputPages_ = 0;
    origin_ = 0;
    model_.resetSection();
    home();
    if (beforePrint)
        beforePrint(*this);

    JobInfo job;
    job.title = title;
    job.copies = copies;
    if (!device_->begin(job, &error_)) {
        aborted_ = true;
        return false;
    }
    printing_ = true;
    startPage();
    if (body)
        body(*this);
    if (!aborted_) {
        device_->end();
        const QString failure = device_->writeError();
        if (!failure.isEmpty()) {
            error_ = failure;
            aborted_ = true;
        }
    }
    printing_ = false;
    return !aborted_;
}

void TPrintCanvas::abort()
{
    if (!printing_ || aborted_)
        return;
    aborted_ = true;
    device_->abort();
}

void TPrintCanvas::startPage()
{
    if (pageInRange()) {
        if (outputPages_ > 0)
            device_->newPage();
        ++outputPages_;
    }
    showStatus();
}

void TPrintCanvas::newPage()
{
    if (!printing_ || aborted_)
        return;
    ++page_;
    model_.resetSection();
    tabIndex_ = -1;
    tabPending_ = false;
    home();
    startPage();
}

void TPrintCanvas::output(const CanvasOp& op)
{
    if (printing_ && !aborted_ && pageInRange())
        device_->draw(op);
}

// ---- Page and layout ----

double TPrintCanvas::pageWidth() const
{
    return printing_ || !device_ ? model_.pageWidth() : device_->pageSize().width();
}

double TPrintCanvas::pageHeight() const
{
    return printing_ || !device_ ? model_.pageHeight() : device_->pageSize().height();
}

void TPrintCanvas::setSection(double left, double top, double right, double bottom)
{
    model_.setSection({absX(left), top, absX(right), bottom});
}

void TPrintCanvas::home()
{
    model_.home();
    tabIndex_ = -1;
    tabPending_ = false;
}

void TPrintCanvas::gotoXY(double x, double y)
{
    model_.setX(absX(x));
    model_.setY(y);
    tabPending_ = false;
}

void TPrintCanvas::setX(double x)
{
    model_.setX(absX(x));
    tabPending_ = false;
}

void TPrintCanvas::setY(double y) { model_.setY(y); }

void TPrintCanvas::newLine()
{
    model_.newLine();
    tabIndex_ = -1;
    tabPending_ = false;
}

// ---- Text ----

const FontMeasure& TPrintCanvas::measure() const
{
    // Report runs measure every value they print: keep the measure of the current font.
    if (!measure_ || !(measuredFont_ == font_)) {
        measure_.emplace(font_);
        measuredFont_ = font_;
    }
    return *measure_;
}

void TPrintCanvas::fontChanged()
{
    model_.setFont(font_.points, measure().descent());
}

void TPrintCanvas::setFont(const QString& face, double points)
{
    font_.face = face;
    if (points > 0)
        font_.points = points;
    font_.color = Qt::black;
    font_.bold = font_.italic = font_.underline = font_.strikeOut = false;
    fontChanged();
}

void TPrintCanvas::setBold(bool on) { font_.bold = on; fontChanged(); }
void TPrintCanvas::setItalic(bool on) { font_.italic = on; fontChanged(); }
void TPrintCanvas::setUnderline(bool on) { font_.underline = on; }
void TPrintCanvas::setStrikeOut(bool on) { font_.strikeOut = on; }
void TPrintCanvas::setFontColor(const QColor& color) { font_.color = color; }
void TPrintCanvas::setFontRotation(int degrees) { font_.rotation = ((degrees % 360) + 360) % 360; }

double TPrintCanvas::textWidth(const QString& text) const { return measure().width(text); }
double TPrintCanvas::ascent() const { return measure().ascent(); }
double TPrintCanvas::descent() const { return measure().descent(); }

void TPrintCanvas::printAt(const QString& text, double x, double baseline, bool clipped, const QRectF& clip)
{
    TextOp op;
    op.origin = QPointF(x, baseline);
    op.text = text;
    op.font = font_;
    op.opaque = textBkMode == TextBkMode::Opaque;
    op.background = brush_.style == BrushStyle::Solid ? brush_.color : QColor(Qt::white);
    op.clipped = clipped;
    op.clip = clip;
    output(op);
}

void TPrintCanvas::print(const QString& text)
{
    const double w = textWidth(text);
    double x = model_.x();
    if (tabPending_) {
        x = pendingCell_.textX(w);
        tabPending_ = false;
    }
    printAt(text, x, model_.y(), false, {});
    model_.setX(x + w);
}

void TPrintCanvas::printRight(const QString& text, double x)
{
    const double w = textWidth(text);
    printAt(text, absX(x) - w, model_.y(), false, {});
    model_.setX(absX(x));
    tabPending_ = false;
}

void TPrintCanvas::printCenter(const QString& text, double x)
{
    const double w = textWidth(text);
    printAt(text, absX(x) - w / 2, model_.y(), false, {});
    model_.setX(absX(x) + w / 2);
    tabPending_ = false;
}

void TPrintCanvas::fillClip(const QRectF& clip)
{
    // A clipped text fills its rectangle with the brush; a clear brush leaves the page as it is.
    if (brush_.style == BrushStyle::Clear)
        return;
    ShapeOp fill;
    fill.rect = clip;
    fill.pen.style = PenStyle::Clear;
    fill.brush = brush_;
    output(fill);
}

void TPrintCanvas::printClipped(const QRect& clip, double x, double y, const QString& text)
{
    const QRectF r = deviceToInchRect(clip);
    fillClip(r);
    printAt(text, absX(x), y + ascent(), true, r);
}

void TPrintCanvas::printClippedBaseline(const QRect& clip, double x, double baseline, const QString& text)
{
    const QRectF r = deviceToInchRect(clip);
    fillClip(r);
    printAt(text, absX(x), baseline, true, r);
}

// ---- Tab stops ----

void TPrintCanvas::clearTabs()
{
    tabs_.clear();
    tabIndex_ = -1;
    tabPending_ = false;
}

void TPrintCanvas::restoreTabs()
{
    tabs_.restore();
    tabIndex_ = -1;
    tabPending_ = false;
}

double TPrintCanvas::lineBottom() const { return model_.y() + model_.descent(); }
double TPrintCanvas::lineTop() const { return lineBottom() - model_.lineHeight(); }

void TPrintCanvas::tab(int shade)
{
    if (tabs_.count() == 0)
        return;
    if (tabIndex_ + 1 >= tabs_.count()) {
        newLine();
    }
    ++tabIndex_;
    TabCell cell = tabs_.cell(tabIndex_, lineTop(), lineBottom(), shade);
    if (shade < 0 && cell.shade == 0)
        cell.shade = tabShade;
    cell.left += origin_;
    cell.right += origin_;
    if (cell.shade > 0) {
        const int g = shadeToGrey(cell.shade);
        ShapeOp fill;
        fill.rect = QRectF(QPointF(cell.left, cell.top), QPointF(cell.right, cell.bottom));
        fill.pen.style = PenStyle::Clear;
        fill.brush = {QColor(g, g, g), BrushStyle::Solid};
        output(fill);
    }
    pen_ = resolvePen(pen_.color, pen_.style, penWidth_);
    auto edge = [this](double x1, double y1, double x2, double y2) {
        output(LineOp{QPointF(x1, y1), QPointF(x2, y2), pen_});
    };
    if (cell.boxLeft) edge(cell.left, cell.top, cell.left, cell.bottom);
    if (cell.boxRight) edge(cell.right, cell.top, cell.right, cell.bottom);
    if (cell.boxTop) edge(cell.left, cell.top, cell.right, cell.top);
    if (cell.boxBottom) edge(cell.left, cell.bottom, cell.right, cell.bottom);
    pendingCell_ = cell;
    tabPending_ = true;
    model_.setX(cell.anchorX());
}

// ---- Graphics ----

CanvasPen TPrintCanvas::resolvePen(const QColor& color, PenStyle style, int width) const
{
    CanvasPen p;
    p.color = color;
    p.style = style;
    const double dpi = pixelsPerInchX();
    p.devicePixels = penWidthToDevice(width, dpi);
    p.widthInches = p.devicePixels / dpi;
    return p;
}

void TPrintCanvas::setPen(const QColor& color, PenStyle style, int width)
{
    penWidth_ = width;
    pen_ = resolvePen(color, style, width);
}

void TPrintCanvas::setBrush(const QColor& color, BrushStyle style)
{
    brush_ = {color, style};
}

void TPrintCanvas::rectangle(double x1, double y1, double x2, double y2)
{
    // The pen's pixels follow the device of this run.
    pen_ = resolvePen(pen_.color, pen_.style, penWidth_);
    output(ShapeOp{ShapeKind::Rectangle, QRectF(QPointF(absX(x1), y1), QPointF(absX(x2), y2)), {}, pen_, brush_});
}

void TPrintCanvas::roundRect(double x1, double y1, double x2, double y2, double cw, double ch)
{
    pen_ = resolvePen(pen_.color, pen_.style, penWidth_);
    output(ShapeOp{ShapeKind::RoundRect, QRectF(QPointF(absX(x1), y1), QPointF(absX(x2), y2)), QSizeF(cw, ch), pen_, brush_});
}

void TPrintCanvas::ellipse(double x1, double y1, double x2, double y2)
{
    pen_ = resolvePen(pen_.color, pen_.style, penWidth_);
    output(ShapeOp{ShapeKind::Ellipse, QRectF(QPointF(absX(x1), y1), QPointF(absX(x2), y2)), {}, pen_, brush_});
}

void TPrintCanvas::moveTo(double x, double y) { penPos_ = QPointF(absX(x), y); }

void TPrintCanvas::lineTo(double x, double y)
{
    pen_ = resolvePen(pen_.color, pen_.style, penWidth_);
    const QPointF to(absX(x), y);
    output(LineOp{penPos_, to, pen_});
    penPos_ = to;
}

void TPrintCanvas::stretchDraw(const QRectF& inches, const QImage& image)
{
    output(ImageOp{inches.translated(origin_, 0), image});
}

void TPrintCanvas::stretchDrawPicture(const QRect& devicePixels, const QPicture& picture)
{
    output(PictureOp{deviceToInchRect(devicePixels), picture});
}

// ---- Device geometry ----

double TPrintCanvas::pixelsPerInchX() const { return device_ ? device_->dpiX() : 96.0; }
double TPrintCanvas::pixelsPerInchY() const { return device_ ? device_->dpiY() : 96.0; }

QRect TPrintCanvas::inchToDeviceRect(const QRectF& r) const
{
    const double dx = pixelsPerInchX(), dy = pixelsPerInchY();
    const int x1 = int(inchToDevice(r.left(), dx)), y1 = int(inchToDevice(r.top(), dy));
    const int x2 = int(inchToDevice(r.right(), dx)), y2 = int(inchToDevice(r.bottom(), dy));
    return QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
}

QRectF TPrintCanvas::deviceToInchRect(const QRect& r) const
{
    const double dx = pixelsPerInchX(), dy = pixelsPerInchY();
    return QRectF(QPointF(r.left() / dx, r.top() / dy), QPointF((r.right() + 1) / dx, (r.bottom() + 1) / dy));
}

// ---- Status ----

QString TPrintCanvas::statusString() const
{
    StatusValues v;
    v.page = page_;
    v.firstPage = firstPage;
    v.lastPage = lastPage;
    v.lines = statusText;
    if (device_) {
        v.deviceName = device_->deviceName();
        v.driverName = device_->driverName();
        v.portName = device_->portName();
    }
    return formatStatus(statusFormat, v);
}

void TPrintCanvas::showStatus()
{
    if (statusSink_)
        statusSink_(statusString());
    QCoreApplication::processEvents();
}

} // namespace postavo::printing
