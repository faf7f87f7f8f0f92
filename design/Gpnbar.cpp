#include "Gpnbar.h"

#include <QPainter>

namespace postavo::design {

TGPostNetBarCode::TGPostNetBarCode() { setBounds(0, 0, 270, 16); }

const PropertyTable& TGPostNetBarCode::properties() const
{
    using P = Props<TGPostNetBarCode>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::text("ZipCodeField", &TGPostNetBarCode::ZipCodeField));
        t.push_back(P::text("AddressField", &TGPostNetBarCode::AddressField));
        t.push_back(P::enumeration("BarCodeType", &TGPostNetBarCode::BarCodeType, names::barCodeType, std::nullopt));
        return t;
    }();
    return t;
}

void TGPostNetBarCode::paint(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(0, 0, width() - 1, height() - 1);
}

} // namespace postavo::design
