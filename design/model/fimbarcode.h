#pragma once
// The FIM object: a Facing Identification Mark of type A, B or C, 17/32 inch wide and 9/16 inch
// high on paper.

#include "designobject.h"

namespace postavo::design {

enum FIMType { fimTypeA, fimTypeB, fimTypeC };

class TGFIMBarCode : public TGGraphicControl {
    Q_OBJECT
public:
    TGFIMBarCode();
    QByteArray className() const override { return "TGFIMBarCode"; }
    const PropertyTable& properties() const override;
    int FIMType = fimTypeA;

    void setFIMType(int type);
    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;

protected:
    void buildMenu(MenuEntries& menu) override;
};

} // namespace postavo::design
