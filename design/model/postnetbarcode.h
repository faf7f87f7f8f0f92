#pragma once
// The POSTNET barcode object: prints the current record's zip code (with the delivery point
// digits when asked) as POSTNET bars; on screen it shows a sample picture.

#include "designobject.h"

#include <QImage>

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

    // The values read at the last refreshData.
    QString zipText, addressText;
    // The digits printed for them, check digit included; empty when nothing prints.
    QString printedDigits() const;
    // The designer's sample picture, 270 x 16 pixels.
    static const QImage& screenPicture();

    void refreshData() override;
    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;
};

} // namespace postavo::design
