// The windows that choose a label sheet, driven headless over the shipped stock catalogue: the
// template window's lists, query and search, its refusal of a nonsense row; the user-defined
// layout window's units, paper list and checks; the sheet choice; and Change Layout in the
// designer through all of them.
#include "addressfile.h"
#include "catalogues.h"
#include "engine/recordengine.h"
#include "labeldesignwindow.h"
#include "labelsheetwindows.h"
#include "programfolder.h"
#include "sheetdialogs.h"
#include "shippedtables.h"
#include "templatewindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::labels;

namespace {

LabelSheetDefinition avery5160Row()
{
    LabelSheetDefinition d = newLayoutDefaults();
    d.horizPitch = 2.75f;
    d.vertPitch = 1.0f;
    d.art = "AV5160";
    return d;
}

class SheetWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = postavo::testing::scratchDir(QStringLiteral("sheets"));
        ProgramFolder::setPath(folder);
        ASSERT_TRUE(ProgramFolder::ensureFolders());
        QString error;
        ASSERT_TRUE(buildShippedTables(QStringLiteral(POSTAVO_SOURCE_DIR "/data"), ProgramFolder::sysdataPath(), &error))
            << error.toStdString();
    }
    QString folder;
};

// Runs `step` on the next modal window of type W once it is up (polling, as modal windows open
// inside exec()).
template <class W>
void whenOpen(std::function<void(W*)> step, int tries = 200)
{
    QTimer::singleShot(10, [step, tries] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            step(w);
            return;
        }
        if (tries > 0)
            whenOpen<W>(step, tries - 1);
    });
}

} // namespace

TEST_F(SheetWindows, TheTemplateWindowOpensOnTheCurrentSheet)
{
    TSelectLabel w(avery5160Row());
    QString message;
    ASSERT_TRUE(w.start(&message)) << message.toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Select Label Template"));
    QStringList makers;
    for (int i = 0; i < w.manufacturerList()->count(); ++i)
        makers << w.manufacturerList()->itemText(i);
    ASSERT_GT(makers.size(), 5);
    EXPECT_EQ(makers.mid(0, 4), (QStringList{"Avery Laserjet", "Avery Inkjet", "Avery Dot Matrix", "Costar LabelPrinter"}));
    EXPECT_EQ(makers.last(), QStringLiteral("All Makers"));
    EXPECT_EQ(w.manufacturerList()->currentText(), QStringLiteral("Avery Laserjet"));
    EXPECT_EQ(w.productTypeList()->currentText(), QStringLiteral("Address/Shipping Labels"));
    EXPECT_EQ(w.productTypeList()->itemText(w.productTypeList()->count() - 1), QStringLiteral("All"));
    EXPECT_FALSE(w.europeanBox()->isChecked());
    ASSERT_NE(w.grid()->currentItem(), nullptr);
    EXPECT_EQ(w.grid()->currentItem()->text(), QStringLiteral("Avery 5160  Address"));
    EXPECT_EQ(w.grid()->horizontalHeaderItem(0)->text(), QStringLiteral("Description"));
    EXPECT_EQ(w.detail("Label Height"), QStringLiteral("1.000"));
    EXPECT_EQ(w.detail("Label Width"), QStringLiteral("2.625"));
    EXPECT_EQ(w.detail("# Across"), QStringLiteral("3"));
    EXPECT_EQ(w.detail("# Down"), QStringLiteral("10"));
    EXPECT_EQ(w.detail("Paper Width"), QStringLiteral("8.500"));
    EXPECT_EQ(w.detail("Paper Height"), QStringLiteral("11.000"));
    for (const LabelSheetDefinition& d : w.selection().rows()) {
        EXPECT_EQ(d.manufac, QStringLiteral("AVERY"));
        EXPECT_EQ(d.printer, QStringLiteral("LJ"));
        EXPECT_EQ(d.prodType, QStringLiteral("ADDRESS/SHIPPING LABELS"));
    }
    // Ok takes every field of the row.
    w.accept();
    EXPECT_EQ(w.chosen(), avery5160Row());

    // A hand-entered sheet opens on the Avery laser address labels at the first row.
    LabelSheetDefinition user = asUserDefined(avery5160Row());
    TSelectLabel u(user);
    ASSERT_TRUE(u.start(&message));
    EXPECT_EQ(u.manufacturerList()->currentText(), QStringLiteral("Avery Laserjet"));
    EXPECT_EQ(u.grid()->currentRow(), 0);
}

TEST_F(SheetWindows, ListsQueryAndTheSearchFindsProductsByNumber)
{
    TSelectLabel w(avery5160Row());
    QString message;
    ASSERT_TRUE(w.start(&message));
    w.manufacturerList()->setCurrentText(QStringLiteral("Avery Inkjet"));
    w.productTypeList()->setCurrentText(QStringLiteral("All"));
    EXPECT_EQ(w.selection().filter(), QStringLiteral(" UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"IJ\" "));
    ASSERT_GT(w.grid()->rowCount(), 0);
    for (const LabelSheetDefinition& d : w.selection().rows())
        EXPECT_EQ(d.printer, QStringLiteral("IJ")) << d.tplDescrip.toStdString();
    QTest::mouseClick(w.europeanBox(), Qt::LeftButton);
    ASSERT_GT(w.grid()->rowCount(), 0);
    for (const LabelSheetDefinition& d : w.selection().rows())
        EXPECT_TRUE(d.paperSize.startsWith(QStringLiteral("A4")) || d.paperSize.startsWith(QStringLiteral("A5")));
    const int european = w.grid()->rowCount();

    // The search looks through the whole catalogue.
    QTest::keyClicks(w.searchBox(), QStringLiteral("5160"));
    ASSERT_GT(w.grid()->rowCount(), 0);
    EXPECT_EQ(w.grid()->item(0, 0)->text(), QStringLiteral("Avery 5160  Address"));
    for (int r = 0; r < w.grid()->rowCount(); ++r)
        EXPECT_TRUE(w.grid()->item(r, 0)->text().contains(QStringLiteral("5160"))) << w.grid()->item(r, 0)->text().toStdString();
    w.searchBox()->clear();
    QTest::keyClicks(w.searchBox(), QStringLiteral("avery L7160"));
    ASSERT_GE(w.grid()->rowCount(), 1);
    EXPECT_TRUE(w.grid()->currentItem()->text().startsWith(QStringLiteral("Avery L7160")));
    EXPECT_EQ(w.detail("# Across"), QStringLiteral("3"));
    EXPECT_EQ(w.detail("# Down"), QStringLiteral("7"));
    EXPECT_EQ(w.detail("Paper Width"), QStringLiteral("8.270"));
    w.accept();
    EXPECT_EQ(w.chosen().paperSize, QStringLiteral("A4"));
    EXPECT_TRUE(w.chosen().tplDescrip.startsWith(QStringLiteral("Avery L7160")));

    // Nothing found: Ok and the grid are off. Cleared: the lists' rows again.
    TSelectLabel v(avery5160Row());
    ASSERT_TRUE(v.start(&message));
    QTest::mouseClick(v.europeanBox(), Qt::LeftButton);
    v.manufacturerList()->setCurrentText(QStringLiteral("Avery Inkjet"));
    v.productTypeList()->setCurrentText(QStringLiteral("All"));
    QTest::keyClicks(v.searchBox(), QStringLiteral("zz9999"));
    EXPECT_EQ(v.grid()->rowCount(), 0);
    EXPECT_FALSE(v.okButton()->isEnabled());
    EXPECT_FALSE(v.grid()->isEnabled());
    v.searchBox()->clear();
    EXPECT_EQ(v.grid()->rowCount(), european);
    EXPECT_TRUE(v.okButton()->isEnabled());
}

TEST_F(SheetWindows, ANonsenseTemplateRowIsRefusedAndAMissingCatalogueSaid)
{
    // A row another program added, with a label higher than its paper.
    {
        QString message;
        auto t = openCatalogue(Catalogue::LabelTemplate, &message);
        ASSERT_TRUE(t) << message.toStdString();
        t->appendBlank();
        t->replace("DESCRIPT", "Broken Sheet 1234");
        t->replaceNumber("LBLHEIGHT", 14);
        t->replaceNumber("LBLWIDTH", 2);
        t->replaceNumber("NBRACROSS", 1);
        t->replaceNumber("NBRDOWN", 1);
        t->replaceNumber("SHEETWIDTH", 8.5);
        t->replaceNumber("SHEETDEPTH", 11);
        t->replace("PAPERSIZE", "LTR");
        t->replace("LBLSHAPE", "RR");
        t->replace("PRINTER", "LJ");
        t->replace("MANUFAC", "AVERY");
        t->replace("PRODTYPE", "ADDRESS/SHIPPING LABELS");
        t->commit();
        t->close();
    }
    const QByteArray before = postavo::testing::readBytes(ProgramFolder::sysdataPath() + "LBLTPL.DBF");
    TSelectLabel w(avery5160Row());
    QStringList told;
    w.showMessage = [&](const QString& m) { told << m; };
    QString message;
    ASSERT_TRUE(w.start(&message));
    w.show();
    QTest::keyClicks(w.searchBox(), QStringLiteral("broken"));
    ASSERT_EQ(w.grid()->rowCount(), 1);
    QTest::mouseClick(w.okButton(), Qt::LeftButton);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().startsWith(QStringLiteral("The template \"Broken Sheet 1234\" cannot be used:"))) << told.first().toStdString();
    EXPECT_TRUE(w.isVisible());
    EXPECT_NE(w.result(), QDialog::Accepted);
    w.reject();
    EXPECT_EQ(postavo::testing::readBytes(ProgramFolder::sysdataPath() + "LBLTPL.DBF"), before);  // never written

    QDir(ProgramFolder::sysdataPath()).remove("LBLTPL.DBF");
    TSelectLabel missing(avery5160Row());
    EXPECT_FALSE(missing.start(&message));
    EXPECT_EQ(message, QStringLiteral("Unable to Open LBLTPL.DBF"));
}

TEST_F(SheetWindows, TheUserDefinedWindowConvertsUnitsFillsPaperAndChecks)
{
    TLabelEdit w(avery5160Row());
    QStringList told;
    w.showMessage = [&](const QString& m) { told << m; };
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("User Defined Label Layout"));
    EXPECT_TRUE(w.inchesOption()->isChecked());
    EXPECT_EQ(w.lengthField(LabelEditForm::LabelWidth)->text(), QStringLiteral("2.625"));
    EXPECT_EQ(w.lengthField(LabelEditForm::HorizontalPitch)->text(), QStringLiteral("2.750"));
    EXPECT_EQ(w.paperList()->currentIndex(), -1);
    EXPECT_EQ(w.shapeList()->currentText(), QStringLiteral("Rectangular with Rounded Edges"));
    EXPECT_EQ(w.acrossBox()->maximum(), 10);
    EXPECT_EQ(w.downBox()->maximum(), 30);

    // Leaving the width raises the pitch to it.
    QLineEdit* width = w.lengthField(LabelEditForm::LabelWidth);
    width->setText(QStringLiteral("3"));
    emit width->editingFinished();
    EXPECT_EQ(w.lengthField(LabelEditForm::HorizontalPitch)->text(), QStringLiteral("3.000"));

    // Millimetres: every length times 25.4, shown without decimals; A4 fills its size.
    QTest::mouseClick(w.millimetresOption(), Qt::LeftButton);
    EXPECT_EQ(width->text(), QStringLiteral("76"));
    w.paperList()->setCurrentIndex(2);
    emit w.paperList()->activated(2);
    EXPECT_EQ(w.lengthField(LabelEditForm::PaperWidth)->text(), QStringLiteral("210"));
    EXPECT_EQ(w.lengthField(LabelEditForm::PaperHeight)->text(), QStringLiteral("297"));

    // Too low a label: the message, and the window stays with the values as typed.
    QLineEdit* height = w.lengthField(LabelEditForm::LabelHeight);
    height->setText(QStringLiteral("7"));
    w.downBox()->setValue(3);
    w.accept();
    EXPECT_EQ(told, QStringList{"Label Height must be at least .3 inches (or 7mm)"});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(height->text(), QStringLiteral("7"));
    // A sheet too large for the paper is refused too.
    height->setText(QStringLiteral("25"));
    w.acrossBox()->setValue(4);
    w.accept();
    EXPECT_TRUE(told.last().startsWith(QStringLiteral("The labels do not fit across the page"))) << told.last().toStdString();
    w.acrossBox()->setValue(2);
    w.accept();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const LabelSheetDefinition& d = w.definition();
    EXPECT_TRUE(d.isUserDefined());
    EXPECT_EQ(d.paperSize, QStringLiteral("A4"));
    EXPECT_EQ(d.nbrAcross, 2);
    EXPECT_EQ(d.nbrDown, 3);
    EXPECT_FLOAT_EQ(d.lblHeight, 0.984f);
    EXPECT_FLOAT_EQ(d.sheetWidth, 8.27f);
}

TEST_F(SheetWindows, TheSheetChoiceAndChangeLayoutThroughTheWindows)
{
    TChooseLabelLayout choose;
    EXPECT_EQ(choose.windowTitle(), QStringLiteral("Label Layout"));
    EXPECT_TRUE(choose.templateOption()->isChecked());
    whenOpen<TChooseLabelLayout>([](TChooseLabelLayout* c) {
        c->manualOption()->setChecked(true);
        c->accept();
    });
    choose.exec();
    EXPECT_EQ(choose.method(), LabelDesignerUi::LayoutMethod::Manual);
    whenOpen<TChooseLabelLayout>([](TChooseLabelLayout* c) { c->reject(); });
    choose.exec();
    EXPECT_EQ(choose.method(), LabelDesignerUi::LayoutMethod::Cancel);

    // The designer with its own windows: from the templates, found by number.
    TLabelDesignScreen designer;
    designer.setDefinition(avery5160Row());
    designer.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return designer.design().opened(); }));
    EXPECT_FALSE(designer.saveButton()->isVisible());
    whenOpen<TChooseLabelLayout>([](TChooseLabelLayout* c) { c->accept(); });
    whenOpen<TSelectLabel>([](TSelectLabel* s) {
        QTest::keyClicks(s->searchBox(), QStringLiteral("L7163"));
        s->accept();
    });
    QTest::mouseClick(designer.changeLayoutButton(), Qt::LeftButton);
    EXPECT_EQ(designer.design().definition().paperSize, QStringLiteral("A4"));
    EXPECT_TRUE(designer.layoutCaption().startsWith(QStringLiteral("Avery L7163")));
    EXPECT_EQ(designer.surface()->size(), labelSurfaceSize(designer.design().definition()));
    EXPECT_TRUE(designer.saveButton()->isVisible());

    // Typed in: user defined, art off.
    whenOpen<TChooseLabelLayout>([](TChooseLabelLayout* c) {
        c->manualOption()->setChecked(true);
        c->accept();
    });
    whenOpen<TLabelEdit>([](TLabelEdit* e) {
        e->lengthField(LabelEditForm::LabelWidth)->setText(QStringLiteral("3.5"));
        e->lengthField(LabelEditForm::HorizontalPitch)->setText(QStringLiteral("4"));
        e->accept();
    });
    QTest::mouseClick(designer.changeLayoutButton(), Qt::LeftButton);
    EXPECT_TRUE(designer.design().definition().isUserDefined());
    EXPECT_EQ(designer.layoutCaption(), QStringLiteral("User Defined Label Layout"));
    EXPECT_EQ(designer.surface()->width(), 336);
    EXPECT_FALSE(designer.artButton()->isEnabled());
}
