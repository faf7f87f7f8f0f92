// The label designer's rules without its window: opening a new and an existing layout, the
// POSTNET tool and narrow labels, the zoom steps, Change Layout, Save, the default font and the
// record buttons.
#include "../scripted_ui.h"
#include "addressdata.h"
#include "addressfile.h"
#include "composedtextobjects.h"
#include "labeldesign.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "settings.h"
#include "support_labels.h"
#include "textobjects.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

class Designer : public ::testing::Test {
protected:
    void SetUp() override
    {
        design.stateChanged = [this] { ++changes; };
        surface.LabelChangedEvent = [this] { design.surfaceChanged(); };
    }
    TGGraphicControl* add(TGGraphicControl* o, QRect r)
    {
        surface.placeObject(o, r);
        return o;
    }
    ScriptedDialogs dialogs;
    ScriptedDesignerUi ui;
    LabelSurface surface;
    LabelDesign design{surface.rules(), ui};
    int changes = 0;
};

} // namespace

TEST_F(Designer, ANewLayoutOpensWithItsAddressBlockAndSaveShown)
{
    design.setDefinition(newLayoutDefaults());
    design.setNewLayout(true);
    design.open();
    EXPECT_EQ(QSize(surface.hostWidth(), surface.hostHeight()), QSize(252, 96));
    ASSERT_EQ(surface.objectCount(), 1);
    auto* block = qobject_cast<TGDMultiLineAddressLabel*>(surface.designObjects().front());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->left(), 5);
    EXPECT_EQ(block->top(), 5);
    EXPECT_EQ(block->width(), 252 - 15);
    EXPECT_TRUE(surface.isSelected(block));
    EXPECT_EQ(design.tool(), psPointing);
    EXPECT_TRUE(surface.Pointing());
    EXPECT_TRUE(design.saveVisible());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first(),
              QStringLiteral("A new label has been created using the Avery 5160\rformat. To change to another label "
                             "format, click on\rthe Change Layout button.\r\rA Database Mailing Address object has "
                             "already been \radded to the label.\r\rFor additional assistance, click the Help button"));
    EXPECT_EQ(design.layoutCaption(), QStringLiteral("Avery 5160  Address"));
}

TEST_F(Designer, AnExistingLayoutOpensWithSaveHiddenUntilSomethingChanges)
{
    add(new TGPLabel, QRect(10, 10, 40, 15));  // as loaded before the window opens
    design.setDefinition(averyL7163());
    design.open();
    EXPECT_FALSE(design.saveVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(surface.objectCount(), 1);
    // Zooming is no change.
    EXPECT_TRUE(design.zoomIn());
    EXPECT_FALSE(design.saveVisible());
    // A move is.
    surface.designObjects().front()->setLeft(20);
    EXPECT_TRUE(design.saveVisible());
}

TEST_F(Designer, ADescriptionIsKeptToFiftyCharactersAndShowsSave)
{
    design.setDescription(QString(60, QLatin1Char('d')));
    EXPECT_EQ(design.description().size(), 50);
    design.open();
    EXPECT_FALSE(design.saveVisible());
    design.setDescription(QStringLiteral("Christmas cards"));
    EXPECT_TRUE(design.saveVisible());
}

TEST_F(Designer, ThePostnetToolNeedsTwoPointEightFiveInches)
{
    LabelSheetDefinition d = avery5160();
    d.lblWidth = 2.84f;
    design.setDefinition(d);
    design.open();
    design.selectTool(psLabel);
    EXPECT_FALSE(design.selectTool(psPostNetBarCode));
    EXPECT_EQ(design.tool(), psPointing);
    EXPECT_EQ(ui.messages, QStringList{"This label is not wide enough for a \rpostnet barcode. At least 2.85 inches are needed"});
    d.lblWidth = 2.85f;
    design.setDefinition(d);
    EXPECT_TRUE(design.selectTool(psPostNetBarCode));
    EXPECT_EQ(design.tool(), psPostNetBarCode);
    EXPECT_FALSE(surface.Pointing());
    // A placed object brings the selection tool back.
    surface.finishBand(QRect(0, 60, 260, 16), false);
    EXPECT_EQ(design.tool(), psPointing);
    ASSERT_EQ(surface.objectCount(), 1);
    EXPECT_EQ(surface.designObjects().front()->className(), QByteArray("TGPostNetBarCode"));
}

TEST_F(Designer, ZoomGoesFromFiftyToOneHundredFiftyInTenPercentSteps)
{
    design.setDefinition(avery5160());
    auto* t = qobject_cast<TGPLabel*>(add(new TGPLabel, QRect(20, 10, 60, 20)));
    design.open();
    surface.selection().add(t);
    EXPECT_EQ(design.zoomText(), QStringLiteral("100%"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(design.zoomIn());
    EXPECT_EQ(design.zoomText(), QStringLiteral("150%"));
    EXPECT_EQ(surface.selection().count(), 0);  // every step clears the selection
    EXPECT_FALSE(design.zoomIn());
    EXPECT_EQ(design.zoomText(), QStringLiteral("150%"));
    EXPECT_EQ(surface.hostWidth(), 378);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(design.zoomOut());
    EXPECT_EQ(design.zoomText(), QStringLiteral("50%"));
    EXPECT_FALSE(design.zoomOut());
    EXPECT_EQ(surface.hostWidth(), 126);
    while (design.zoomPercent() != 100)
        design.zoomIn();
    EXPECT_EQ(t->boundsRect(), QRect(20, 10, 60, 20));
    EXPECT_EQ(surface.hostWidth(), 252);
    EXPECT_FALSE(design.saveVisible());
}

TEST_F(Designer, ANarrowTemplateDropsTheFirstPostnetBarcodeWithAWarning)
{
    design.setDefinition(avery5160());
    design.open();
    auto* first = add(new TGPostNetBarCode, QRect(0, 10, 240, 16));
    auto* second = add(new TGPostNetBarCode, QRect(0, 40, 240, 16));
    auto* far = add(new TGPLabel, QRect(240, 90, 40, 15));
    surface.selection().add(first);
    LabelSheetDefinition narrow = avery5160();
    narrow.tplDescrip = "Avery 5267  Return Address";
    narrow.lblWidth = 1.75f;
    narrow.lblHeight = 0.5f;
    narrow.nbrAcross = 4;
    narrow.nbrDown = 20;
    narrow.horizPitch = 2.06f;
    narrow.vertPitch = 0.5f;
    narrow.leftMarg = 0.3f;
    narrow.art = "AV5267";
    ui.method = LabelDesignerUi::LayoutMethod::Template;
    ui.onTemplate = [&](LabelSheetDefinition* d) {
        EXPECT_EQ(d->tplDescrip, QStringLiteral("Avery 5160  Address"));  // opened with the current sheet
        *d = narrow;
        return true;
    };
    design.changeLayout();
    EXPECT_EQ(design.definition(), narrow);
    EXPECT_EQ(QSize(surface.hostWidth(), surface.hostHeight()), QSize(168, 48));
    EXPECT_TRUE(design.saveVisible());
    EXPECT_TRUE(design.artEnabled());
    EXPECT_TRUE(design.artDown());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first(),
              QStringLiteral("Warning: This label is not wide enough for a \rpostnet barcode. At least 2.85 inches are needed"));
    const auto left = surface.designObjects();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0], second);
    // Objects beyond the new edges were pulled inside: top to height - 10, left to width - 20.
    EXPECT_EQ(far->top(), 38);
    EXPECT_EQ(far->left(), 148);
    EXPECT_EQ(surface.selection().count(), 0);
}

TEST_F(Designer, ATypedInSheetIsUserDefinedWithoutArtAndANonsenseTemplateIsRefused)
{
    LabelSheetDefinition withArt = avery5160();
    withArt.art = "AV5160";
    design.setDefinition(withArt);
    design.open();
    EXPECT_TRUE(design.artDown());
    ui.method = LabelDesignerUi::LayoutMethod::Manual;
    ui.onManual = [](LabelSheetDefinition* d) {
        EXPECT_EQ(d->lblWidth, 2.625f);
        d->lblWidth = 3.0f;
        d->horizPitch = 3.0f;
        d->nbrAcross = 2;
        d->lblShape = "SR";
        return true;
    };
    design.changeLayout();
    const LabelSheetDefinition& d = design.definition();
    EXPECT_TRUE(d.isUserDefined());
    EXPECT_TRUE(d.tplDescrip.isEmpty() && d.printer.isEmpty() && d.prodType.isEmpty() && d.art.isEmpty());
    EXPECT_EQ(d.lblWidth, 3.0f);
    EXPECT_EQ(surface.Shape, lsRectangle);
    EXPECT_FALSE(design.artEnabled());
    EXPECT_EQ(design.layoutCaption(), QStringLiteral("User Defined Label Layout"));

    // A damaged catalogue row leaves the sheet as it is.
    ui.method = LabelDesignerUi::LayoutMethod::Template;
    ui.onTemplate = [](LabelSheetDefinition* t) {
        *t = avery5160();
        t->lblHeight = -1;
        return true;
    };
    design.changeLayout();
    EXPECT_EQ(design.definition().lblWidth, 3.0f);
    EXPECT_TRUE(ui.messages.last().startsWith(QStringLiteral("The template \"Avery 5160  Address\" cannot be used")));
    // Cancel in the first window asks nothing more and changes nothing.
    ui.method = LabelDesignerUi::LayoutMethod::Cancel;
    const int asked = ui.templateAsks + ui.manualAsks;
    design.changeLayout();
    EXPECT_EQ(ui.templateAsks + ui.manualAsks, asked);
}

TEST_F(Designer, SaveDeletesWhatLiesOutsideTheLabel)
{
    design.setDefinition(avery5160());  // 252 x 96
    design.open();
    auto* inside = add(new TGPLabel, QRect(241, 85, 40, 15));
    add(new TGPLabel, QRect(243, 10, 40, 15));
    add(new TGPLabel, QRect(10, 87, 40, 15));
    design.save();
    ASSERT_EQ(surface.objectCount(), 1);
    EXPECT_EQ(surface.designObjects().front(), inside);
}

TEST_F(Designer, TheDefaultFontComesFromTheSettingsAndGoesBackThere)
{
    ScratchDir dir;
    Settings settings(dir.path("postav.ini"));
    ASSERT_TRUE(settings.writeString("Label", "DefaultFontName", "Courier New"));
    ASSERT_TRUE(settings.writeInteger("Label", "DefaultFontSize", 12));
    ASSERT_TRUE(settings.writeBool("Label", "DefaultFontItalic", true));
    design.loadDefaultFont(settings);
    EXPECT_EQ(design.defaultFontCaption(), QStringLiteral("Default Font: Courier New, 12 pt , italic"));
    EXPECT_EQ(surface.rules().font.name, QStringLiteral("Courier New"));
    EXPECT_EQ(surface.rules().font.points(), 12);
    EXPECT_EQ(surface.rules().font.style, int(fsItalic));

    ASSERT_TRUE(design.chooseDefaultFont(settings));
    EXPECT_EQ(design.defaultFontCaption(), QStringLiteral("Default Font: Times New Roman, 14 pt , bold"));
    EXPECT_EQ(settings.readString("Label", "DefaultFontName"), QStringLiteral("Times New Roman"));
    EXPECT_EQ(settings.readInteger("Label", "DefaultFontSize", 0), 14);
    EXPECT_TRUE(settings.readBool("Label", "DefaultFontBold", false));
    EXPECT_FALSE(settings.readBool("Label", "DefaultFontItalic", true));
    // New text objects take it.
    design.open();
    design.selectTool(psLabel);
    surface.finishBand(QRect(0, 0, 60, 20), false);
    EXPECT_EQ(qobject_cast<TGPLabel*>(surface.designObjects().back())->Font, dialogs.font);
    // Cancelled, nothing changes.
    dialogs.fontOk = false;
    EXPECT_FALSE(design.chooseDefaultFont(settings));
    EXPECT_EQ(design.defaultFontCaption(), QStringLiteral("Default Font: Times New Roman, 14 pt , bold"));

    Settings fresh(dir.path("none.ini"));
    design.loadDefaultFont(fresh);
    EXPECT_EQ(design.defaultFontCaption(), QStringLiteral("Default Font: Arial, 10 pt "));
}

TEST_F(Designer, RecordButtonsFillTheObjectsAndCount)
{
    ScratchDir dir;
    ASSERT_TRUE(postavo::testing::makeAddressRecords(dir.path("a.dbf"), {{{"LNAME", "Abel"}}, {{"LNAME", "Baker"}},
                                                                         {{"LNAME", "Cole"}}}));
    AddressTable table;
    ASSERT_TRUE(table.open(dir.path("a.dbf")));
    table.first();
    surface.setDataset(&table);
    design.setDefinition(avery5160());
    auto* name = new TGPDLabel;
    name->DataFieldName = "LNAME";
    name->DataFieldDescript = "Last Name";
    add(name, QRect(0, 0, 100, 20));
    auto* counter = new TGCounterLabel;
    counter->setStartingNumber(7);
    add(counter, QRect(0, 30, 100, 20));
    design.open();
    surface.refreshObjects();
    EXPECT_EQ(name->Caption, QStringLiteral("Abel"));

    EXPECT_TRUE(design.moveRecord(RecordMove::Next));
    EXPECT_EQ(name->Caption, QStringLiteral("Baker"));
    EXPECT_EQ(counter->composed(), QStringLiteral("8"));
    EXPECT_TRUE(design.moveRecord(RecordMove::Last));
    EXPECT_EQ(name->Caption, QStringLiteral("Cole"));
    EXPECT_EQ(counter->composed(), QStringLiteral("9"));
    EXPECT_TRUE(design.moveRecord(RecordMove::Prior));
    EXPECT_EQ(name->Caption, QStringLiteral("Baker"));
    EXPECT_TRUE(design.moveRecord(RecordMove::First));
    EXPECT_EQ(name->Caption, QStringLiteral("Abel"));
    EXPECT_EQ(counter->composed(), QStringLiteral("7"));
    // Field names instead of values.
    design.setShowFieldNames(true);
    EXPECT_EQ(name->Caption, QStringLiteral("[Last Name]"));
    design.setShowFieldNames(false);
    EXPECT_EQ(name->Caption, QStringLiteral("Abel"));
    EXPECT_FALSE(design.saveVisible());
    table.close();
}
