#pragma once
// The report designer's horizontal inch ruler: ticks every sixteenth of an inch, longer at half
// and whole inches, whole inches numbered from StartInch on. A painted strip, not a design object.

#include "designtypes.h"

#include <QWidget>

namespace postavo::design {

enum RulerAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class THRuler : public QWidget {
    Q_OBJECT
public:
    explicit THRuler(QWidget* parent = nullptr);

    int AlignHRuler() const { return align_; }
    // alNone, alTop and alBottom are taken; the others are ignored.
    void setAlignHRuler(int a);
    TColor Color() const { return color_; }
    void setColor(TColor c);
    double StartInch() const { return start_; }
    void setStartInch(double inches);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int align_ = alNone;
    TColor color_ = 65535;
    double start_ = 0.0;
};

} // namespace postavo::design
