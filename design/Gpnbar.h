#pragma once
// The POSTNET barcode object: its published properties and creation values.

#include "GGraphc.h"

namespace postavo::design {

enum BarCodeType { pnbc5Digit, pnbc9Digit, pnbc11Digit };

class TGPostNetBarCode : public TGGraphicControl {
    Q_OBJECT
public:
    TGPostNetBarCode();
    QByteArray className() const override { return "TGPostNetBarCode"; }
    const PropertyTable& properties() const override;
    QString ZipCodeField, AddressField;
    int BarCodeType = pnbc11Digit;
    void paint(QPainter& painter) override;
};

} // namespace postavo::design
