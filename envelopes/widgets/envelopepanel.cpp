#include "envelopepanel.h"

#include "envelopesizes.h"

#include <QPainter>

namespace postavo::envelopes {

TEnvelopePanel::TEnvelopePanel(QWidget* parent, QObject* owner) : design::TGDataPanel(parent, owner)
{
    // An envelope is a plain rectangle.
    Shape = design::lsRectangle;
}

void TEnvelopePanel::setPanelState(TLPanelState state)
{
    state_ = state;
    setPointing(state == psPointing);
}

void TEnvelopePanel::setShowUspsTemplate(bool on)
{
    usps_ = on;
    update();
}

void TEnvelopePanel::setShowPrinterMargins(bool on)
{
    margins_ = on;
    update();
}

void TEnvelopePanel::setPrinterArea(const PrinterArea& area)
{
    area_ = area;
    update();
}

void TEnvelopePanel::sizeFromCode(int code)
{
    const float zoom = zoom_;
    if (zoom != 1.0f)
        setZoom(1.0f);
    const QSize s = surfacePixels(code, design::screenPpi());
    if (s.isValid() && (s.width() != hostWidth() || s.height() != hostHeight())) {
        setSurfaceSize(s.width(), s.height());
        update();
    }
    if (zoom != 1.0f)
        setZoom(zoom);
}

void TEnvelopePanel::createObjectInRect(const QRect& r)
{
    lastPlaced_ = createEnvelopeObject(*this, state_, r, font_);
    update();
}

void TEnvelopePanel::paintEvent(QPaintEvent* e)
{
    design::TGDataPanel::paintEvent(e);
    if (!usps_ && !margins_)
        return;
    QPainter p(this);
    if (usps_) {
        // Drawn after the objects, the zones only darken: on white they show light grey and every
        // object keeps its own colours on top of them.
        p.setCompositionMode(QPainter::CompositionMode_Darken);
        QFont caption(design::resolveFontFamily(QStringLiteral("Arial")));
        caption.setPointSize(std::max(1, int(8 * zoom_)));
        p.setFont(caption);
        for (const ZonePixels& z : uspsZonesPixels(width(), height(), design::screenPpi(), zoom_)) {
            const QRect r(QPoint(z.rect.left, z.rect.top), QPoint(z.rect.right - 1, z.rect.bottom - 1));
            p.setPen(QColor(128, 128, 128));
            p.setBrush(QColor(239, 239, 239));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            const QRect text = p.fontMetrics().boundingRect(z.caption);
            p.fillRect(QRect(z.captionAt, text.size()), QColor(192, 192, 192));
            p.setPen(Qt::black);
            p.drawText(QRect(z.captionAt, text.size()), Qt::AlignLeft | Qt::AlignTop, z.caption);
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (margins_) {
        const EdgeRect m = printableRect(area_, zoom_);
        p.setPen(QPen(QColor(255, 0, 0), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(m.left, m.top), QPoint(m.right - 1, m.bottom - 1)));
    }
}

} // namespace postavo::envelopes
