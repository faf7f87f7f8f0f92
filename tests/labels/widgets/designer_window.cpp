// The label designer driven with the mouse and keys in an offscreen window: every tool places its
// object by a drag, objects move, resize and snap, the zoom spinner and the keypad zoom, the
// POSTNET refusal, Save writing the layout file and the catalogue row, and the layout reopened
// giving back what was saved.
#include "../scripted_ui.h"
#include "addressdata.h"
#include "addressfile.h"
#include "classregistry.h"
#include "designtypes.h"
#include "labeldesignwindow.h"
#include "labelobjectfiler.h"
#include "multilineobjects.h"
#include "programfolder.h"
#include "settings.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

qint64 g_now = 5000000;

LabelSheetDefinition wideShipping()
{
    LabelSheetDefinition d = newLayoutDefaults();
    d.tplDescrip = "Avery 5163  Shipping";
    d.lblHeight = 2.0f;
    d.lblWidth = 4.0f;
    d.nbrAcross = 2;
    d.nbrDown = 5;
    d.topMarg = 0.5f;
    d.leftMarg = 0.156f;
    d.horizPitch = 4.188f;
    d.vertPitch = 2.0f;
    return d;
}

class DesignerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setTickSource([] { return g_now; });
        folder = postavo::testing::scratchDir(QStringLiteral("designer"));
        ProgramFolder::setPath(folder);
        ASSERT_TRUE(ProgramFolder::ensureFolders());
        ASSERT_TRUE(postavo::testing::makeAddressRecords(
            folder + "/DATA/add0001.DBF",
            {{{"LNAME", "Lovelace"}, {"FNAME", "Ada"}, {"STREET", "12 St James Square"}, {"CITY", "London"},
              {"STATE", "NY"}, {"ZIP", "10001-1234"}},
             {{"LNAME", "Babbage"}, {"FNAME", "Charles"}, {"STREET", "1 Dorset Street"}, {"CITY", "Boston"},
              {"STATE", "MA"}, {"ZIP", "02101"}}}));
        ASSERT_TRUE(table.open(folder + "/DATA/add0001.DBF"));
        table.first();
        catalogue = std::make_unique<LabelLayoutCatalogue>();
        ASSERT_EQ(catalogue->sysdataDir(), folder + "/sysdata/");
        QString message;
        ASSERT_TRUE(catalogue->open(&message)) << message.toStdString();
    }
    void TearDown() override
    {
        window.reset();
        catalogue.reset();
        table.close();
        setTickSource({});
    }
    // A designer for `row`, shown and through its first activation.
    void openDesigner(LabelLayoutRow& row)
    {
        window = std::make_unique<TLabelDesignScreen>(nullptr, &ui);
        window->setArtworkFolder(catalogue->sysdataDir());
        window->setDataset(&table);
        edited = row;
        if (!row.isNew()) {
            QString error;
            ASSERT_TRUE(catalogue->loadForDesign(edited, *window->surface(), &error)) << error.toStdString();
        }
        window->setDefinition(edited.sheet);
        window->setDescription(edited.description);
        window->setNewLayout(row.isNew());
        window->saveHandler = [this](QString* why) {
            edited.sheet = window->design().definition();
            edited.description = window->design().description();
            return catalogue->save(edited, *window->surface(), why);
        };
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->firstActivationDone() && window->design().opened(); }));
    }
    TGLabelPanel* panel() { return window->surface(); }
    // Picks a tool and drags its rectangle on the surface.
    TGGraphicControl* drawWith(TLPanelState tool, QPoint from, QPoint to)
    {
        QTest::mouseClick(window->toolButton(tool), Qt::LeftButton);
        EXPECT_EQ(panel()->PanelState(), tool);
        EXPECT_FALSE(panel()->Pointing());
        const int before = panel()->objectCount();
        // As the mouse does it: to the window under the point, which keeps the mouse until let go.
        QWidget* target = panel()->childAt(from);
        if (!target || !target->isVisible())
            target = panel();
        const QPoint shift = target == panel() ? QPoint() : target->pos();
        QTest::mousePress(target, Qt::LeftButton, {}, from - shift);
        QTest::mouseMove(target, to - shift);
        QTest::mouseRelease(target, Qt::LeftButton, {}, to - shift);
        EXPECT_EQ(panel()->objectCount(), before + 1) << toolName(tool).toStdString();
        // Placed: back to the selection tool.
        EXPECT_EQ(panel()->PanelState(), psPointing);
        EXPECT_TRUE(window->toolButton(psPointing)->isChecked());
        return panel()->objectCount() > before ? panel()->designObjects().back() : nullptr;
    }
    // A drag of the selection frame from a point of the surface by (dx, dy).
    void dragFrame(QPoint surfacePoint, QPoint by)
    {
        TGHandle* f = panel()->selectionFrame();
        const QPoint p = surfacePoint - f->pos();
        QTest::mouseMove(f, p);
        QTest::mousePress(f, Qt::LeftButton, {}, p);
        g_now += 300;
        QTest::mouseMove(f, p + by);
        QTest::mouseRelease(f, Qt::LeftButton, {}, p + by);
    }
    void select(TGGraphicControl* o)
    {
        const QPoint inside = o->boundsRect().center();
        QTest::mousePress(panel(), Qt::LeftButton, {}, inside);
        QTest::mouseRelease(panel()->selectionFrame(), Qt::LeftButton, {}, inside - panel()->selectionFrame()->pos());
        panel()->selectionFrame()->releaseCapture();
        ASSERT_TRUE(panel()->isSelected(o));
    }

    QString folder;
    ScriptedDialogs dialogs;
    ScriptedDesignerUi ui;
    AddressTable table;
    std::unique_ptr<LabelLayoutCatalogue> catalogue;  // made once the program folder is set
    LabelLayoutRow edited;
    std::unique_ptr<TLabelDesignScreen> window;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(DesignerWindow, EveryToolPlacesItsObjectAndSaveStoresWhatReopens)
{
    LabelLayoutRow row = catalogue->newLayout(wideShipping());
    openDesigner(row);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Label Design Screen"));
    EXPECT_EQ(window->layoutCaption(), QStringLiteral("Avery 5163  Shipping"));
    EXPECT_EQ(panel()->size(), QSize(384, 192));
    // A new layout: the address block is placed and selected, the message shown, Save visible.
    ASSERT_EQ(panel()->objectCount(), 1);
    EXPECT_TRUE(ui.messages.value(0).startsWith(QStringLiteral("A new label has been created using the Avery 5163  Shipping")));
    EXPECT_TRUE(window->saveButton()->isVisible());
    panel()->designObjects().front()->setBounds(5, 5, 150, 60);

    struct Place {
        TLPanelState tool;
        QPoint from, to;
        const char* cls;
    };
    const Place places[] = {
        {psLabel, {200, 10}, {260, 28}, "TGPLabel"},
        {psCounterLabel, {200, 40}, {260, 58}, "TGCounterLabel"},
        {psSymbolLabel, {300, 10}, {330, 40}, "TGSymbolLabel"},
        {psDataLabel, {200, 70}, {290, 88}, "TGPDLabel"},
        {psMultiLineLabel, {10, 80}, {120, 100}, "TGMultiLineLabel"},
        {psMultiLineDataLabel, {10, 110}, {120, 130}, "TGDMultiLineLabel"},
        {psAddressLabel, {200, 100}, {300, 110}, "TGDMultiLineAddressLabel"},
        {psRectangle, {310, 60}, {340, 90}, "TGLabelShapes"},
        {psEllipse, {345, 60}, {375, 90}, "TGLabelShapes"},
        {psRoundRectangle, {310, 95}, {340, 125}, "TGLabelShapes"},
        {psLine, {350, 95}, {352, 140}, "TGLineShape"},
        {psImage, {10, 140}, {40, 170}, "TGImage"},
        {psPostNetBarCode, {50, 165}, {330, 181}, "TGPostNetBarCode"},
    };
    for (const Place& p : places) {
        TGGraphicControl* o = drawWith(p.tool, p.from, p.to);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->className(), QByteArray(p.cls));
        EXPECT_EQ(o->left(), p.from.x()) << p.cls;
        EXPECT_EQ(o->top(), p.from.y()) << p.cls;
    }
    // A tool drags its object over a selected one: choosing the tool clears the selection.
    panel()->selectAll();
    TGGraphicControl* over = drawWith(psEllipse, {20, 20}, {60, 50});
    EXPECT_EQ(over->boundsRect(), QRect(20, 20, 40, 30));
    QTest::mouseClick(window->toolButton(psPointing), Qt::LeftButton);
    panel()->destroyObject(over);
    // A click without a drag still gives an object one can see: 50 wide, 15 high.
    TGGraphicControl* small = drawWith(psRectangle, {250, 150}, {251, 151});
    EXPECT_EQ(small->boundsRect(), QRect(250, 150, 50, 15));

    // Move, then resize by the bottom-right corner.
    TGGraphicControl* box = panel()->designObjects()[8];
    ASSERT_EQ(box->className(), QByteArray("TGLabelShapes"));
    EXPECT_EQ(box->boundsRect(), QRect(310, 60, 30, 30));  // the band ends before its far corner
    select(box);
    dragFrame(box->boundsRect().center(), QPoint(-7, 5));
    EXPECT_EQ(box->boundsRect(), QRect(303, 65, 30, 30));
    TGHandle* f = panel()->selectionFrame();
    const QPoint corner = f->geometry().bottomRight() - QPoint(1, 1);
    QTest::mouseMove(f, corner - f->pos());
    EXPECT_EQ(f->dragZone(), 4);
    dragFrame(corner, QPoint(11, 6));
    EXPECT_EQ(box->boundsRect(), QRect(303, 65, 40, 35));  // grown by the distance less one

    // With the grid snapping at 4 pixels a move lands on the grid.
    QTest::mouseClick(window->snapButton(), Qt::LeftButton);
    EXPECT_TRUE(panel()->SnapToGrid());
    EXPECT_EQ(f->GridX, 4);
    dragFrame(box->boundsRect().center(), QPoint(-13, 9));
    EXPECT_EQ(f->geometry().topLeft(), QPoint(288, 72));  // 301 - 13 and 63 + 9 taken down to the grid
    EXPECT_EQ(box->boundsRect(), QRect(290, 74, 40, 35));
    QTest::mouseClick(window->snapButton(), Qt::LeftButton);

    // Zoom: the spinner and the keypad, 10 % a step; the label grows with it and shrinks back.
    QTest::mouseClick(window->zoomUpButton(), Qt::LeftButton);
    EXPECT_EQ(window->zoomText(), QStringLiteral("110%"));
    QTest::keyClick(panel(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(window->zoomText(), QStringLiteral("120%"));
    EXPECT_EQ(panel()->size(), QSize(461, 230));
    QTest::keyClick(panel(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::mouseClick(window->zoomDownButton(), Qt::LeftButton);
    EXPECT_EQ(window->zoomText(), QStringLiteral("100%"));
    EXPECT_EQ(panel()->size(), QSize(384, 192));

    window->descriptionField()->setFocus();
    QTest::keyClicks(window->descriptionField(), QStringLiteral("Parcels"));
    EXPECT_EQ(window->design().description(), QStringLiteral("<New Label>Parcels"));
    window->descriptionField()->selectAll();
    QTest::keyClicks(window->descriptionField(), QStringLiteral("Parcels"));

    const int count = panel()->objectCount();
    // Save at 150 %: the file holds the objects at 100 %.
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(window->zoomUpButton(), Qt::LeftButton);
    EXPECT_EQ(window->zoomText(), QStringLiteral("150%"));
    QTest::mouseClick(window->saveButton(), Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(edited.recno, 1u);
    const QString path = catalogue->layoutPath(edited.binary);
    const QByteArray saved = fileBytes(path);
    ASSERT_FALSE(saved.isEmpty());
    panel()->clearDataAll();
    EXPECT_EQ(saved, TGLabelObjectFiler::objectListBytes(panel()->designObjects()));
    std::vector<QRect> bounds;
    std::vector<QString> names;
    for (TGGraphicControl* o : panel()->designObjects()) {
        bounds.push_back(o->boundsRect());
        names.push_back(o->objectName());
    }
    const auto row1 = catalogue->row(1);
    ASSERT_TRUE(row1);
    EXPECT_EQ(row1->description, QStringLiteral("Parcels"));
    EXPECT_EQ(row1->sheet, wideShipping());

    // Reopened: the same objects where they were; given their names back they are the file.
    window.reset();
    LabelLayoutRow again = *row1;
    openDesigner(again);
    EXPECT_FALSE(window->saveButton()->isVisible());
    EXPECT_EQ(window->descriptionField()->text(), QStringLiteral("Parcels"));
    ASSERT_EQ(panel()->objectCount(), count);
    for (int i = 0; i < count; ++i) {
        TGGraphicControl* o = panel()->designObjects()[size_t(i)];
        EXPECT_EQ(o->boundsRect(), bounds[size_t(i)]) << i;
        o->setObjectName(names[size_t(i)]);
    }
    panel()->clearDataAll();
    EXPECT_EQ(TGLabelObjectFiler::objectListBytes(panel()->designObjects()), saved);
}

TEST_F(DesignerWindow, NarrowLabelsRefuseThePostnetToolAndKeysScroll)
{
    LabelLayoutRow row = catalogue->newLayout();  // 2.625 inches wide
    openDesigner(row);
    ui.messages.clear();
    QTest::mouseClick(window->toolButton(psPostNetBarCode), Qt::LeftButton);
    EXPECT_EQ(ui.messages, QStringList{"This label is not wide enough for a \rpostnet barcode. At least 2.85 inches are needed"});
    EXPECT_EQ(panel()->PanelState(), psPointing);
    EXPECT_TRUE(window->toolButton(psPointing)->isChecked());
    EXPECT_TRUE(panel()->Pointing());

    // Page Down, Home and End scroll the surface, unless the description has the focus.
    window->resize(420, 260);
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(window->zoomUpButton(), Qt::LeftButton);
    QApplication::processEvents();
    QScrollBar* bar = window->scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QTest::keyClick(panel(), Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(panel(), Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(panel(), Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);
    window->descriptionField()->setFocus();
    QTest::keyClick(window->descriptionField(), Qt::Key_End);
    EXPECT_EQ(bar->value(), 0);

    // Cancel stores nothing.
    QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_TRUE(catalogue->rows().empty());
    EXPECT_FALSE(QFile::exists(catalogue->layoutPath(row.binary)));
}

TEST_F(DesignerWindow, TheRecordButtonsAndTheFieldNameToggle)
{
    LabelLayoutRow row = catalogue->newLayout();
    openDesigner(row);
    auto* block = qobject_cast<TGDMultiLineAddressLabel*>(panel()->designObjects().front());
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(block->Items.first().startsWith(QStringLiteral("Ada Lovelace")));
    QTest::mouseClick(window->recordButton(RecordMove::Next), Qt::LeftButton);
    EXPECT_TRUE(block->Items.first().startsWith(QStringLiteral("Charles Babbage")));
    QTest::mouseClick(window->recordButton(RecordMove::First), Qt::LeftButton);
    EXPECT_TRUE(block->Items.first().startsWith(QStringLiteral("Ada Lovelace")));
    QTest::mouseClick(window->fieldNamesButton(), Qt::LeftButton);
    EXPECT_EQ(block->Items, QStringList{QStringLiteral("[Address Label]")});
    QTest::mouseClick(window->fieldNamesButton(), Qt::LeftButton);
    EXPECT_TRUE(block->Items.first().startsWith(QStringLiteral("Ada Lovelace")));
    // The grid shows and the default font button names the font.
    QTest::mouseClick(window->gridButton(), Qt::LeftButton);
    EXPECT_TRUE(panel()->ShowGrid());
    EXPECT_EQ(window->fontButton()->text(), QStringLiteral("Default Font: Arial, 10 pt "));
    QTest::mouseClick(window->fontButton(), Qt::LeftButton);
    EXPECT_EQ(window->fontButton()->text(), QStringLiteral("Default Font: Times New Roman, 14 pt , bold"));
    EXPECT_EQ(Settings().readString("Label", "DefaultFontName"), QStringLiteral("Times New Roman"));
}

TEST_F(DesignerWindow, AForeignLayoutFileDoesNotOpenTheDesigner)
{
    LabelLayoutRow row = catalogue->newLayout();
    LabelSurface empty;
    QString error;
    ASSERT_TRUE(catalogue->save(row, empty, &error));
    // Another window's layout under this name: an envelope's FIM mark.
    QFile f(catalogue->layoutPath(row.binary));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    {
        ObjectList list;
        QObject owner;
        const DesignFactory* fim = findDesignClass("TGFIMBarCode");
        ASSERT_NE(fim, nullptr);
        list.insertObject((*fim)());
        f.write(TGLabelObjectFiler::objectListBytes(list.designObjects()));
    }
    f.close();
    const QByteArray before = fileBytes(catalogue->layoutPath(row.binary));
    QStringList shown;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        // The designer must not come up; should it, close it.
        if (auto* w = qobject_cast<TLabelDesignScreen*>(QApplication::activeModalWidget())) {
            opened = true;
            w->reject();
        }
    });
    // The message goes to a box: answer it.
    QTimer::singleShot(50, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            shown << w->windowTitle();
            w->close();
        }
    });
    EXPECT_FALSE(TLabelDesignScreen::designLayout(nullptr, *catalogue, row, &table, &ui));
    EXPECT_FALSE(opened);
    EXPECT_EQ(shown, QStringList{"Information"});
    EXPECT_EQ(fileBytes(catalogue->layoutPath(row.binary)), before);
}
