// Checking a typed or catalogue definition: the entry window's messages in their order, the
// limits at their edges, and the soundness checks that catch sheets which cannot print.
#include "labelplacement.h"
#include "labelvalidation.h"
#include "support_labels.h"

#include <gtest/gtest.h>
#include <limits>

using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

struct RuleCase {
    const char* what;
    void (*change)(LabelSheetDefinition&);
    const char* message;
};

class EnteredRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(EnteredRules, FirstFailedRuleIsShown)
{
    LabelSheetDefinition d = avery5160();
    GetParam().change(d);
    EXPECT_EQ(checkEnteredDefinition(d), QString::fromLatin1(GetParam().message)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Order, EnteredRules,
    ::testing::Values(
        RuleCase{"sound sheet", [](LabelSheetDefinition&) {}, ""},
        RuleCase{"height 0.29", [](LabelSheetDefinition& d) { d.lblHeight = 0.29f; },
                 "Label Height must be at least .3 inches (or 7mm)"},
        RuleCase{"height 0.3", [](LabelSheetDefinition& d) { d.lblHeight = 0.3f; }, ""},
        RuleCase{"width 0.49", [](LabelSheetDefinition& d) { d.lblWidth = 0.49f; },
                 "Label Width must be at least .5 inch (or 13mm)"},
        RuleCase{"width 0.5", [](LabelSheetDefinition& d) { d.lblWidth = 0.5f; }, ""},
        // Height is checked before width.
        RuleCase{"both small", [](LabelSheetDefinition& d) { d.lblHeight = 0.1f; d.lblWidth = 0.1f; },
                 "Label Height must be at least .3 inches (or 7mm)"},
        RuleCase{"pitch below width", [](LabelSheetDefinition& d) { d.horizPitch = 2.5f; },
                 "Horizontal Pitch must be at least = Label Width"},
        RuleCase{"one across, pitch below width", [](LabelSheetDefinition& d) { d.nbrAcross = 1; d.horizPitch = 1.0f; }, ""},
        RuleCase{"vertical pitch below height", [](LabelSheetDefinition& d) { d.vertPitch = 0.9f; },
                 "Vertical Pitch must be at least = Label Height"},
        RuleCase{"one down, pitch below height", [](LabelSheetDefinition& d) { d.nbrDown = 1; d.vertPitch = 0.5f; }, ""},
        RuleCase{"both pitches", [](LabelSheetDefinition& d) { d.horizPitch = 1; d.vertPitch = 0.5f; },
                 "Horizontal Pitch must be at least = Label Width"},
        RuleCase{"paper width", [](LabelSheetDefinition& d) { d.sheetWidth = 0.2f; }, "Page Width must be at least .3 inch"},
        RuleCase{"paper height", [](LabelSheetDefinition& d) { d.sheetDepth = 0.2f; }, "Page Height must be at least .3 inches"},
        // Past the window's rules: sheets that cannot print.
        RuleCase{"too wide for the page", [](LabelSheetDefinition& d) { d.leftMarg = 0.5f; },
                 "The labels do not fit across the page: the last column ends at 8.625 inches on a page 8.500 inches wide"},
        RuleCase{"too deep for the page", [](LabelSheetDefinition& d) { d.vertPitch = 1.1f; },
                 "The labels do not fit down the page: the last row ends at 11.400 inches on a page 11.000 inches high"},
        RuleCase{"negative margin", [](LabelSheetDefinition& d) { d.topMarg = -0.1f; },
                 "Top Margin must not be negative (-0.100)"},
        RuleCase{"not a number", [](LabelSheetDefinition& d) { d.leftMarg = std::numeric_limits<float>::quiet_NaN(); },
                 "Left Margin is not a number"},
        RuleCase{"too long for the catalogue", [](LabelSheetDefinition& d) { d.sheetDepth = 120.0f; },
                 "Paper Height of 120.000 inches is too large; lengths must stay below 100 inches"},
        RuleCase{"unknown paper", [](LabelSheetDefinition& d) { d.paperSize = "B5"; }, "Unknown paper size code \"B5\""},
        RuleCase{"no columns", [](LabelSheetDefinition& d) { d.nbrAcross = 0; },
                 "There must be at least 1 label across (not 0)"}));

TEST(SheetSoundness, TheLargestSheetOfTheCountersIsAcceptedAndOneMoreIsNot)
{
    LabelSheetDefinition d = avery5160();
    d.nbrAcross = 10;
    d.nbrDown = 30;
    d.lblWidth = 0.75f;
    d.horizPitch = 0.8f;
    d.leftMarg = 0.25f;
    d.lblHeight = 0.3f;
    d.vertPitch = 0.33f;
    d.topMarg = 0.5f;
    EXPECT_EQ(checkEnteredDefinition(d), QString());
    d.nbrDown = 31;
    d.vertPitch = 0.31f;
    d.topMarg = 0.2f;
    EXPECT_EQ(checkEnteredDefinition(d), QString("A sheet may hold at most 300 labels; 10 across by 31 down make 310"));
}

TEST(SheetSoundness, ALabelReachingThePaperEdgeWithinAThousandthFits)
{
    // A4 stock is measured in millimetres and stored in inches to three decimals.
    LabelSheetDefinition d = averyL7163();
    d.leftMarg = 0.185f;  // right edge 8.085, well inside
    EXPECT_TRUE(checkSheetSoundness(d).isEmpty());
    d.nbrAcross = 1;
    d.nbrDown = 1;
    d.leftMarg = 0;
    d.topMarg = 0;
    d.lblWidth = 8.274f;  // 0.004 over the 8.27 inch page: rounding, not a fault
    d.lblHeight = 11.69f;
    EXPECT_TRUE(checkSheetSoundness(d).isEmpty()) << checkSheetSoundness(d).join("; ").toStdString();
    d.lblWidth = 8.3f;
    EXPECT_EQ(checkSheetSoundness(d).size(), 1);
}

TEST(TemplateChecks, EveryProblemNamesTheRow)
{
    LabelSheetDefinition d = avery5160();
    d.tplDescrip = "Broken 1234  Address";
    d.lblHeight = -1.0f;
    d.nbrDown = 0;
    d.horizPitch = std::numeric_limits<float>::quiet_NaN();
    d.printer = "XX";
    const QStringList p = checkTemplate(d);
    ASSERT_GE(p.size(), 4);
    for (const QString& s : p)
        EXPECT_TRUE(s.startsWith("Template \"Broken 1234  Address\": ")) << s.toStdString();
    EXPECT_TRUE(p.contains("Template \"Broken 1234  Address\": Label Height must be at least .3 inches (or 7mm)"));
    EXPECT_TRUE(p.contains("Template \"Broken 1234  Address\": Horizontal Pitch is not a number"));
    EXPECT_TRUE(p.contains("Template \"Broken 1234  Address\": There must be at least 1 label down (not 0)"));
    EXPECT_TRUE(p.contains("Template \"Broken 1234  Address\": Unknown printer type \"XX\""));
}

TEST(TemplateChecks, PaperCodeMustMatchTheSheetAndMakerMustBeNamed)
{
    LabelSheetDefinition d = averyL7163();
    EXPECT_TRUE(checkTemplate(d).isEmpty()) << checkTemplate(d).join("; ").toStdString();
    d.sheetWidth = 8.5f;
    EXPECT_EQ(checkTemplate(d), QStringList{"Template \"Avery L7163  Address\": Paper A4 is 8.270 x 11.690 inches, not 8.500 x 11.690"});
    d = avery5160();
    d.manufac = "USER";
    EXPECT_EQ(checkTemplate(d).size(), 1);
}

} // namespace
