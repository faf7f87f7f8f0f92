#include "fimbarcode.h"

#include "fimmark.h"
#include "printcanvas.h"

#include <QPainter>

namespace postavo::design {

TGFIMBarCode::TGFIMBarCode()
{
    setBounds(0, 0, fim::createWidth(screenPpi()), fim::createHeight(screenPpi()));
}

const PropertyTable& TGFIMBarCode::properties() const
{
    using P = Props<TGFIMBarCode>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::enumeration("FIMType", &TGFIMBarCode::FIMType, names::fimType, std::nullopt));
        return t;
    }();
    return t;
}

void TGFIMBarCode::setFIMType(int type)
{
    notifyChanged();
    FIMType = type;
    repaint();
}

void TGFIMBarCode::paint(QPainter& p)
{
    const int side = fim::screenSide(screenPpi(), zoom());
    if (width() != side || height() != side)
        setBounds(left(), top(), side, side);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QRect& bar : fim::screenBars(fim::Type(std::clamp(FIMType, 0, 2)), screenPpi(), zoom()))
        p.drawRect(bar);
}

void TGFIMBarCode::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    const double ppi = screenPpi();
    // The bars are exactly their rectangles: a thin black outline, whatever pen the object
    // printed before left on the canvas.
    report.setPen(Qt::black, printing::PenStyle::Solid, 1);
    report.setBrush(Qt::black, printing::BrushStyle::Solid);
    for (const QRectF& bar : fim::barRects(fim::Type(std::clamp(FIMType, 0, 2)), X + left() / ppi, Y + top() / ppi))
        report.rectangle(bar.left(), bar.top(), bar.right(), bar.bottom());
}

void TGFIMBarCode::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    const std::pair<const char*, int> kinds[] = {
        {"Set FIM to Type A", fimTypeA}, {"Set FIM to Type B", fimTypeB}, {"Set FIM to Type C", fimTypeC}};
    for (const auto& [caption, t] : kinds) {
        const int value = t;
        menu.push_back({QString::fromLatin1(caption), [this, value] { setFIMType(value); },
                        [this, value] { return FIMType == value; }});
    }
}

} // namespace postavo::design
