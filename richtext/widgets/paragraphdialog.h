#pragma once
// "Paragraph Properties": indents in inches or centimetres, space before and after and the
// line height in points, for the current paragraph.

#include <QDialog>
#include <QTextBlockFormat>

class QComboBox;
class QDoubleSpinBox;

namespace postavo::richtext {

class ParagraphDialog : public QDialog {
    Q_OBJECT
public:
    explicit ParagraphDialog(const QTextBlockFormat& format, QWidget* parent = nullptr);

    // The paragraph's format with the dialog's values (only what the dialog shows changes).
    QTextBlockFormat blockFormat() const;

    // Units of the indent fields: "Inch" or "Cm".
    void setUnit(int index);

    QDoubleSpinBox* firstIndentBox() const { return first_; }
    QDoubleSpinBox* leftIndentBox() const { return left_; }
    QDoubleSpinBox* rightIndentBox() const { return right_; }
    QDoubleSpinBox* spaceBeforeBox() const { return before_; }
    QDoubleSpinBox* lineHeightBox() const { return lineHeight_; }
    QDoubleSpinBox* spaceAfterBox() const { return after_; }
    QComboBox* unitBox() const { return units_; }

private:
    double twipsPerUnit() const;

    QTextBlockFormat format_;
    double originalLineHeight_ = 0;
    QDoubleSpinBox* first_;
    QDoubleSpinBox* left_;
    QDoubleSpinBox* right_;
    QDoubleSpinBox* before_;
    QDoubleSpinBox* lineHeight_;
    QDoubleSpinBox* after_;
    QComboBox* units_;
    int unit_ = 0;
    // The indents in twips: what the fields show in the chosen unit, without the rounding of
    // the shown decimals, so that changing the unit back and forth changes nothing.
    double indents_[3] = {0, 0, 0};
    bool showing_ = false;
};

} // namespace postavo::richtext
