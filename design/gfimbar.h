#pragma once
// The FIM mark object: its published property and creation values.

#include "GGraphc.h"

namespace postavo::design {

enum FIMType { fimTypeA, fimTypeB, fimTypeC };

class TGFIMBarCode : public TGGraphicControl {
    Q_OBJECT
public:
    TGFIMBarCode();
    QByteArray className() const override { return "TGFIMBarCode"; }
    const PropertyTable& properties() const override;
    int FIMType = fimTypeA;
    void paint(QPainter& painter) override;
};

} // namespace postavo::design
