#include "horizontalruler.h"

#include "rulerticks.h"

#include <QPainter>

namespace postavo::design {

THRuler::THRuler(QWidget* parent) : QWidget(parent) { resize(768, 33); }

void THRuler::setAlignHRuler(int a)
{
    if (a == alNone || a == alTop || a == alBottom)
        align_ = a;
}

void THRuler::setColor(TColor c)
{
    color_ = c;
    update();
}

void THRuler::setStartInch(double inches)
{
    start_ = inches;
    update();
}

void THRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int ppi = int(screenPpi());
    const int q = height() / 4;
    const QColor grey = toQColor(8421504);
    p.fillRect(rect(), toQColor(color_));
    // A small sans-serif face stands in for the small bitmap font.
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(std::max(1, roundHalfEven(7 * screenPpi() / 72.0)));
    p.setFont(f);
    p.setPen(grey);
    const QFontMetrics fm(f);
    for (const ruler::Tick& t : ruler::ticks(ppi, width(), height(), start_)) {
        p.drawLine(t.x, 1, t.x, t.bottom - 1);
        if (t.number >= 0)
            p.drawText(QPoint(t.x + 3, q + fm.ascent()), QString::number(t.number));
    }
}

} // namespace postavo::design
