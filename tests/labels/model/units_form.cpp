// The user-defined layout window's rules without the window: unit switching, paper entries,
// pitch raising, and what Ok returns.
#include "labelcodes.h"
#include "labeleditform.h"
#include "support_labels.h"

#include <gtest/gtest.h>

using namespace postavo::labels;
using namespace postavo::labels::test;
using F = LabelEditForm;

namespace {

TEST(UnitsForm, StartsInInchesWithThreeDecimalsAndNoPaperEntry)
{
    const F form(avery5160());
    EXPECT_EQ(form.unit(), LengthUnit::Inches);
    EXPECT_EQ(form.text(F::LabelWidth), "2.625");
    EXPECT_EQ(form.text(F::LeftMargin), "0.188");
    EXPECT_EQ(form.paperIndex(), -1);
    EXPECT_EQ(form.shapeIndex(), labelShapeIndex("RR"));
    EXPECT_EQ(form.across(), 3);
    EXPECT_EQ(form.down(), 10);
}

TEST(UnitsForm, MillimetresShowWholeNumbersAndSwitchingBackRestoresEveryFigure)
{
    const LabelSheetDefinition given = averyL7163();
    F form(given);
    const F::Field fields[] = {F::LabelWidth, F::LabelHeight, F::HorizontalPitch, F::VerticalPitch,
                               F::LeftMargin, F::TopMargin, F::PaperWidth, F::PaperHeight};
    QStringList before;
    for (F::Field f : fields)
        before << form.text(f);
    form.setUnit(LengthUnit::Millimetres);
    EXPECT_EQ(form.text(F::LabelWidth), "99");      // 99.06
    EXPECT_EQ(form.text(F::HorizontalPitch), "102"); // 101.6
    EXPECT_EQ(form.text(F::PaperHeight), "297");     // 296.926
    for (int round = 0; round < 5; ++round) {
        form.setUnit(LengthUnit::Inches);
        form.setUnit(LengthUnit::Millimetres);
    }
    form.setUnit(LengthUnit::Inches);
    QStringList after;
    for (F::Field f : fields)
        after << form.text(f);
    EXPECT_EQ(after, before);
    // Ok in inches after the round trip returns the geometry unchanged.
    const auto out = form.accept();
    ASSERT_TRUE(out.ok()) << out.message.toStdString();
    EXPECT_EQ(out.definition.lblWidth, given.lblWidth);
    EXPECT_EQ(out.definition.topMarg, given.topMarg);
}

TEST(UnitsForm, PickingAPaperFillsItsSizeInTheUnitShown)
{
    F form(avery5160());
    const int a4 = paperSizeIndex("A4");
    form.pickPaper(a4);
    EXPECT_EQ(form.text(F::PaperWidth), "8.270");
    EXPECT_EQ(form.text(F::PaperHeight), "11.690");
    form.setUnit(LengthUnit::Millimetres);
    form.pickPaper(paperSizeIndex("LTR"));
    form.pickPaper(a4);
    EXPECT_DOUBLE_EQ(form.value(F::PaperWidth), 210.058);
    EXPECT_DOUBLE_EQ(form.value(F::PaperHeight), 296.926);
    EXPECT_EQ(form.text(F::PaperWidth), "210");
    EXPECT_EQ(form.text(F::PaperHeight), "297");
    // The "Other" entries leave the size as it is but give their code.
    form.pickPaper(paperSizeIndex("USERL"));
    EXPECT_EQ(form.text(F::PaperWidth), "210");
    form.setUnit(LengthUnit::Inches);
    const auto out = form.accept();
    EXPECT_EQ(out.definition.paperSize, "USERL");
    EXPECT_FLOAT_EQ(out.definition.sheetWidth, 8.27f);
}

TEST(UnitsForm, LeavingWidthOrHeightRaisesOnlyASmallerPitch)
{
    F form(avery5160());
    form.setValue(F::LabelWidth, 3.0);
    form.leaveField(F::LabelWidth);
    EXPECT_DOUBLE_EQ(form.value(F::HorizontalPitch), 3.0);
    form.setValue(F::LabelWidth, 2.0);
    form.leaveField(F::LabelWidth);
    EXPECT_DOUBLE_EQ(form.value(F::HorizontalPitch), 3.0);  // never lowered
    form.setValue(F::LabelHeight, 1.25);
    form.leaveField(F::LabelWidth);  // the wrong field changes nothing
    EXPECT_FLOAT_EQ(float(form.value(F::VerticalPitch)), 1.0f);
    form.leaveField(F::LabelHeight);
    EXPECT_DOUBLE_EQ(form.value(F::VerticalPitch), 1.25);
    // In millimetres the comparison is in millimetres too.
    form.setUnit(LengthUnit::Millimetres);
    form.setValue(F::LabelHeight, 40);
    form.leaveField(F::LabelHeight);
    EXPECT_DOUBLE_EQ(form.value(F::VerticalPitch), 40);
}

TEST(UnitsForm, OkInMillimetresRoundsToThousandthsAndMarksTheDefinitionUserDefined)
{
    LabelSheetDefinition given = avery5160();
    given.midExtraX = 0.2;
    given.art = "AV5160";
    F form(given);
    form.setUnit(LengthUnit::Millimetres);
    ASSERT_TRUE(form.setText(F::LabelWidth, "70"));
    ASSERT_TRUE(form.setText(F::HorizontalPitch, "70"));
    EXPECT_FALSE(form.setText(F::TopMargin, "ten"));
    form.setAcross(40);  // counters stop at 10 and 30
    form.setDown(0);
    EXPECT_EQ(form.across(), 10);
    EXPECT_EQ(form.down(), 1);
    form.setAcross(3);
    const auto out = form.accept();
    ASSERT_TRUE(out.ok()) << out.message.toStdString();
    EXPECT_FLOAT_EQ(out.definition.lblWidth, 2.756f);  // 70 / 25.4 = 2.7559...
    EXPECT_FLOAT_EQ(out.definition.topMarg, 0.5f);
    EXPECT_EQ(out.definition.paperSize, "LTR");  // no entry picked: the given code stays
    EXPECT_EQ(out.definition.manufac, "USER");
    EXPECT_TRUE(out.definition.tplDescrip.isEmpty());
    EXPECT_TRUE(out.definition.printer.isEmpty());
    EXPECT_TRUE(out.definition.prodType.isEmpty());
    EXPECT_TRUE(out.definition.art.isEmpty());
    EXPECT_EQ(out.definition.midExtraX, 0.0);
    EXPECT_EQ(out.definition.sheetName(), "[User Defined]");
}

TEST(UnitsForm, AFailedOkNamesTheFirstRuleAndKeepsTheValues)
{
    F form(avery5160());
    form.setValue(F::LabelHeight, 0.29);
    form.setValue(F::LabelWidth, 0.1);
    const auto out = form.accept();
    EXPECT_EQ(out.message, "Label Height must be at least .3 inches (or 7mm)");
    EXPECT_EQ(form.text(F::LabelWidth), "0.100");
    // 7 mm is 0.276 inch: the rule is in inches, so the window's hint does not pass.
    form.setUnit(LengthUnit::Millimetres);
    form.setValue(F::LabelHeight, 7);
    form.setValue(F::LabelWidth, 13);
    EXPECT_EQ(form.accept().message, "Label Height must be at least .3 inches (or 7mm)");
    form.setValue(F::LabelHeight, 8);
    form.setValue(F::LabelWidth, 13);
    EXPECT_EQ(form.accept().message, "");
}

} // namespace
