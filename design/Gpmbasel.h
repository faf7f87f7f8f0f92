#pragma once
// Multi-line objects: fixed lines, the memo field and the address block. Their published
// properties live here so that every layout reads and writes whole; their drawing and data rules
// grow on these classes.

#include "GGraphc.h"
#include "Gpbasel.h"

namespace postavo::design {

class TGMultiLineBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    TGMultiLineBaseLabel();
    static const PropertyTable& multiLineProperties();

    QStringList Items;
    bool AutoSize = false;
    int Alignment = taLeftJustify;
    LayoutFont Font;
    bool WordWrap = false;

    void ApplyFont(const LayoutFont& font) override;
    void paint(QPainter& painter) override;
};

class TGMultiLineLabel : public TGMultiLineBaseLabel {
    Q_OBJECT
public:
    QByteArray className() const override { return "TGMultiLineLabel"; }
    const PropertyTable& properties() const override { return multiLineProperties(); }
};

class TGDMultiLineLabel : public TGMultiLineBaseLabel {
    Q_OBJECT
public:
    QByteArray className() const override { return "TGDMultiLineLabel"; }
    const PropertyTable& properties() const override;
    QString DataFieldName, DataFieldDescript;
    void ClearData() override { Items.clear(); }
};

enum ZipOptions { zoAfterState, zoBeforeCity, zoAfterCountry, zoBeforeCountry };

class TGDMultiLineAddressLabel : public TGMultiLineBaseLabel {
    Q_OBJECT
public:
    QByteArray className() const override { return "TGDMultiLineAddressLabel"; }
    const PropertyTable& properties() const override;
    bool UseName = true, UseTitle = true, UseCompany = true, UseStreet = true, UseStreet2 = true,
         UseCityState = true, UseZip = true, UsePhone = false, UseCountry = true;
    int ZipOptions = zoAfterState;
    bool UpperCase = false;
    void ClearData() override { Items.clear(); }
};

} // namespace postavo::design
