// What a surface shows and what it prints, as pictures: the surface grabbed to PNG and a layout
// printed into a PDF file rendered back by pdftoppm. Both files stay in the scratch folder for
// a look.
#include "testsupport.h"

#include "composedtextobjects.h"
#include "datasurfacewidget.h"
#include "devices.h"
#include "printcanvas.h"
#include "shapeobjects.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;

namespace {

// A surface of 360 x 160 with a grid, an outline and a few objects, one of them selected.
struct Scene {
    QWidget window;
    TGDataPanel* surface;
    TGPLabel* title;
    TGPLabel* upright;
    TGCounterLabel* counter;
    Scene()
    {
        window.resize(380, 180);
        surface = new TGDataPanel(&window);
        surface->setGeometry(10, 10, 360, 160);
        surface->setShowGrid(true);
        surface->DrawOutline = true;
        title = new TGPLabel;
        surface->placeObject(title, QRect(16, 12, 200, 33));
        title->setCaption(QStringLiteral("Postavo label"));
        title->setFont(LayoutFont::fromPoints(QStringLiteral("Arial"), 14, fsBold));
        title->setShadow(sdDownRight, 2, clGray);
        upright = new TGPLabel;
        surface->placeObject(upright, QRect(300, 20, 33, 120));
        upright->setCaption(QStringLiteral("Rotated"));
        upright->setAngle(90);
        counter = new TGCounterLabel;
        surface->placeObject(counter, QRect(16, 100, 120, 30));
        counter->TextBefore = QStringLiteral("No. ");
        counter->LeadingZeros = 4;
        counter->resetItem();
        counter->setTransparent(false);
        counter->setBackColor(65535);
        auto* symbol = new TGSymbolLabel;
        surface->placeObject(symbol, QRect(240, 12, 10, 10));
        auto* page = new TGPageNumberLabel;
        surface->placeObject(page, QRect(240, 130, 50, 20));
        auto* box = new TGLabelShapes;
        surface->placeObject(box, QRect(180, 70, 90, 60));
        surface->selectionFrame()->add(title);
        surface->selectionFrame()->releaseCapture();
    }
};

int darkPixels(const QImage& img, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom() && y < img.height(); ++y)
        for (int x = r.left(); x <= r.right() && x < img.width(); ++x)
            n += qGray(img.pixel(x, y)) < 100;
    return n;
}

} // namespace

TEST(VisualOutput, SurfaceShowsObjectsGridAndMarks)
{
    Scene s;
    s.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.window));
    QCoreApplication::processEvents();
    const QImage img = s.surface->grab().toImage();
    const QString out = postavo::testing::scratchDir(QStringLiteral("visual")) + QStringLiteral("/surface.png");
    ASSERT_TRUE(img.save(out));
    // A grid dot is green, the selection mark at the title's corner black, the counter's
    // background yellow, the text dark.
    EXPECT_EQ(QColor(img.pixel(42, 150)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(img.pixel(15, 11)), QColor(Qt::black));
    EXPECT_EQ(QColor(img.pixel(20, 102)), QColor(255, 255, 0));
    EXPECT_GT(darkPixels(img, s.title->boundsRect()), 50);
    EXPECT_GT(darkPixels(img, s.upright->boundsRect()), 30);
}

TEST(VisualOutput, LayoutPrintsIntoAPdf)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    Scene s;
    const QString dir = postavo::testing::scratchDir(QStringLiteral("visual-pdf"));
    const QString pdf = dir + QStringLiteral("/layout.pdf");
    printing::PdfFileDevice device(pdf, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    printing::TPrintCanvas canvas;
    canvas.setDevice(&device);
    s.surface->setPrinting(true);
    ASSERT_TRUE(canvas.execute({}, [&](printing::TPrintCanvas& c) {
        // The layout at one inch from the paper's corner.
        s.surface->printObjects(c, 1.0, 1.0);
    })) << canvas.lastError().toStdString();
    s.surface->setPrinting(false);
    int code = 0;
    postavo::testing::runTool(pdftoppm, {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                                QStringLiteral("-singlefile"), pdf, dir + QStringLiteral("/layout")},
                     &code);
    ASSERT_EQ(code, 0);
    QImage page(dir + QStringLiteral("/layout.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.width(), 850);
    // The title's text lies right of and below one inch plus its place (16, 12 px at 96 ppi).
    const int x0 = 100 + 16 * 100 / 96, y0 = 100 + 12 * 100 / 96;
    EXPECT_GT(darkPixels(page, QRect(x0, y0, 200, 30)), 50);
    EXPECT_EQ(darkPixels(page, QRect(0, 0, 95, 95)), 0);
    // The counter's yellow background.
    EXPECT_EQ(QColor(page.pixel(100 + 110 * 100 / 96, 100 + 103 * 100 / 96)), QColor(255, 255, 0));
}
