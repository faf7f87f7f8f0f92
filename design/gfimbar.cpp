#include "gfimbar.h"

#include <QPainter>

namespace postavo::design {

TGFIMBarCode::TGFIMBarCode()
{
    setBounds(0, 0, int(screenPpi() * 0.625), int(screenPpi() * 0.5625));
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

void TGFIMBarCode::paint(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(0, 0, width() - 1, height() - 1);
}

} // namespace postavo::design
