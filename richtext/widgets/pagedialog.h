#pragma once
// "Page Properties": paper size and margins in inches, centimetres or twips.

#include "pagelayout.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;

namespace postavo::richtext {

class PageDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageDialog(const PageLayout& page, QWidget* parent = nullptr);

    PageLayout pageLayout() const;
    // "Inch", "Cm" or "Twips".
    void setUnit(int index);

    QComboBox* unitBox() const { return units_; }
    QDoubleSpinBox* widthBox() const { return width_; }
    QDoubleSpinBox* heightBox() const { return height_; }
    QDoubleSpinBox* topBox() const { return top_; }
    QDoubleSpinBox* bottomBox() const { return bottom_; }
    QDoubleSpinBox* leftBox() const { return left_; }
    QDoubleSpinBox* rightBox() const { return right_; }

    void accept() override;

private:
    double twipsPerUnit() const;

    QComboBox* units_;
    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    QDoubleSpinBox* top_;
    QDoubleSpinBox* bottom_;
    QDoubleSpinBox* left_;
    QDoubleSpinBox* right_;
    int unit_ = 0;
    // The values in twips (width, height, top, bottom, left, right): the fields show them in
    // the chosen unit, so changing the unit back and forth loses nothing to rounding.
    double twips_[6] = {0, 0, 0, 0, 0, 0};
    bool showing_ = false;
};

} // namespace postavo::richtext
