#pragma once
// The state of the user-defined layout window: the eight lengths in the unit shown, the two
// counters, the paper and shape lists. The window binds its controls to this object and
// calls it on the user's actions; every rule lives here.

#include "labelsheet.h"

#include <QString>
#include <array>

namespace postavo::labels {

enum class LengthUnit { Inches, Millimetres };

inline constexpr double kMillimetresPerInch = 25.4;

// A length in the unit as the window shows it: three decimals in inches, none in millimetres.
QString formatLength(double value, LengthUnit unit);
double toUnit(double inches, LengthUnit unit);
double toInches(double value, LengthUnit unit);

class LabelEditForm {
public:
    enum Field { LabelWidth, LabelHeight, HorizontalPitch, VerticalPitch, LeftMargin, TopMargin, PaperWidth, PaperHeight };
    static constexpr int kFieldCount = 8;
    static constexpr int kMaxAcross = 10;
    static constexpr int kMaxDown = 30;

    // Starts in inches with the given geometry, paper code and shape; no paper entry
    // selected, the shape entry of the given code.
    explicit LabelEditForm(const LabelSheetDefinition& given);

    LengthUnit unit() const { return unit_; }
    // Switching converts every length: times 25.4 to millimetres, divided by 25.4 back. The
    // value behind each field keeps its precision; only the text is rounded for showing, so
    // switching back and forth gives the figures that were there.
    void setUnit(LengthUnit unit);

    double value(Field f) const { return values_[f]; }  // in the unit shown
    QString text(Field f) const { return formatLength(values_[f], unit_); }
    void setValue(Field f, double valueInUnitShown) { values_[f] = valueInUnitShown; }
    // Takes the text the user typed; false (and the value unchanged) when it is no number.
    bool setText(Field f, const QString& text);

    // Leaving "Label Width" raises "Horizontal Pitch" to the width when it is smaller;
    // leaving "Label Height" does the same for "Vertical Pitch". Other fields change nothing.
    void leaveField(Field f);

    int across() const { return across_; }
    int down() const { return down_; }
    void setAcross(int n);  // kept within 1 .. 10
    void setDown(int n);    // kept within 1 .. 30

    // -1 while no paper entry is selected (the window starts so).
    int paperIndex() const { return paperIndex_; }
    // Selects a paper entry; all but the two "Other" entries fill paper width and height
    // from the table, in the unit shown.
    void pickPaper(int index);
    int shapeIndex() const { return shapeIndex_; }
    void pickShape(int index);

    struct Outcome {
        QString message;                  // empty when the values pass
        LabelSheetDefinition definition;  // user-defined, lengths in inches
        bool ok() const { return message.isEmpty(); }
    };
    // Ok: the lengths in inches (converted and rounded to three decimals when millimetres
    // are shown), the counters, the selected paper code (the given one when none is
    // selected) and shape, checked; on success a user-defined definition.
    Outcome accept() const;

private:
    std::array<double, kFieldCount> values_{};
    LengthUnit unit_ = LengthUnit::Inches;
    int across_ = 1;
    int down_ = 1;
    int paperIndex_ = -1;
    int shapeIndex_ = -1;
    QString givenPaper_;
    QString givenShape_;
};

} // namespace postavo::labels
