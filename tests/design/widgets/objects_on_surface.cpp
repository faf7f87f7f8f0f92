// The multi-line, shape, line, picture and barcode objects placed on a real design surface and
// grabbed to PNG (kept in the scratch folder for a look): sizes they take on the surface,
// placeholders and the data shown.
#include "addressdata.h"
#include "addressfile.h"
#include "datasurfacewidget.h"
#include "fimbarcode.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "shapeobjects.h"
#include "testsupport.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;

TEST(ObjectsOnSurface, ShownWithTheirDataAndSizes)
{
    const QString dir = postavo::testing::scratchDir("objects-surface");
    ASSERT_TRUE(postavo::testing::makeAddressRecords(
        dir + "/add0001.DBF", {{{"FNAME", "Jane"}, {"LNAME", "Doe"}, {"STREET", "12 Elm St Apt 4"},
                                {"CITY", "Dover"}, {"STATE", "DE"}, {"ZIP", "19901-1234"}}}));
    AddressTable table;
    ASSERT_TRUE(table.openShared(dir + "/add0001.DBF", true));
    ASSERT_TRUE(table.first());

    QWidget window;
    window.resize(420, 260);
    auto* surface = new TGDataPanel(&window);
    surface->setGeometry(10, 10, 400, 240);
    surface->setDataset(&table);
    auto* address = new TGDMultiLineAddressLabel;
    surface->placeObject(address, QRect(10, 10, 190, 33));
    address->refreshData();
    address->fitToLines();
    auto* text = new TGMultiLineLabel;
    surface->placeObject(text, QRect(220, 10, 150, 40));
    auto* bars = new TGPostNetBarCode;
    surface->placeObject(bars, QRect(10, 100, 100, 20));
    auto* fim = new TGFIMBarCode;
    surface->placeObject(fim, QRect(300, 100, 60, 54));
    fim->FIMType = fimTypeB;
    auto* shape = new TGLabelShapes;
    surface->placeObject(shape, QRect(10, 150, 120, 60));
    shape->Shape = stRoundRect;
    shape->Pen.width = 3;
    shape->Brush.color = 65535;
    auto* line = new TGLineShape;
    surface->placeObject(line, QRect(150, 150, 100, 10));
    line->Pen.width = 2;
    auto* picture = new TGImage;
    surface->placeObject(picture, QRect(270, 170, 60, 50));
    window.show();
    QCoreApplication::processEvents();
    const QImage shot = window.grab().toImage();
    shot.save(dir + "/surface.png");

    EXPECT_EQ(address->Items.size(), 3);
    EXPECT_EQ(address->height(), 3 * address->screenLineHeight());
    EXPECT_EQ(bars->boundsRect().size(), QSize(270, 16));   // the sample picture's size
    EXPECT_EQ(fim->boundsRect().size(), QSize(60, 60));
    surface->setDisplayDataValues(false);
    EXPECT_EQ(address->Items, QStringList({"[Address Label]"}));
    window.hide();
    surface->deleteAllObjects();
    table.close();
}
