// Mouse and keys on a design surface in an offscreen window: clicks, the click threshold, drags
// with locked objects, resize zones and their minimum, the rubber band with Shift, placing mode,
// snapping, nudging and context menus.
#include "testsupport.h"

#include "composedtextobjects.h"
#include "datasurfacewidget.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace postavo::design;

namespace {

qint64 g_now = 9000000;

class RecordingSurface : public TGDataPanel {
public:
    using TGDataPanel::TGDataPanel;
    void showMenu(const MenuEntries& entries, QPoint) override { menus << (entries.empty() ? QString() : entries.front().caption + QStringLiteral("..") + entries.back().caption); }
    void createObjectInRect(const QRect& r) override
    {
        created << r;
        placeObject(new TGPLabel, r);
    }
    QStringList menus;
    QList<QRect> created;
};

class Manipulation : public ::testing::Test {
protected:
    void SetUp() override
    {
        setTickSource([] { return g_now; });
        window = std::make_unique<QWidget>();
        window->resize(400, 300);
        surface = new RecordingSurface(window.get());
        surface->setClipboardPath(postavo::testing::scratchDir(QStringLiteral("manip")) + QStringLiteral("/c.tmp"));
        surface->setGeometry(0, 0, 300, 200);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        setTickSource({});
    }
    TGPLabel* place(QRect r)
    {
        auto* t = new TGPLabel;
        surface->placeObject(t, r);
        t->setBounds(r.x(), r.y(), r.width(), r.height());
        return t;
    }
    TGHandle* frame() { return surface->selectionFrame(); }
    // Presses on the surface at p, as over an object or the empty surface.
    void pressSurface(QPoint p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(surface, b, m, p);
    }
    void moveTo(QWidget* w, QPoint p) { QTest::mouseMove(w, p); }
    void settle() { QCoreApplication::processEvents(); }

    std::unique_ptr<QWidget> window;
    RecordingSurface* surface = nullptr;
};

} // namespace

TEST_F(Manipulation, ClickSelectsAndShiftAdds)
{
    TGPLabel* a = place(QRect(10, 10, 60, 20));
    TGPLabel* b = place(QRect(100, 10, 60, 20));
    pressSurface(QPoint(20, 15));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_TRUE(surface->isSelected(a));
    EXPECT_EQ(frame()->geometry(), QRect(8, 8, 64, 24));
    EXPECT_TRUE(frame()->isVisible());
    pressSurface(QPoint(110, 15), Qt::ShiftModifier);
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(110, 15));
    EXPECT_EQ(frame()->count(), 2);
    EXPECT_EQ(frame()->geometry(), QRect(8, 8, 154, 24));
    // Shift-click inside the frame takes the object under the point out again.
    QTest::mousePress(frame(), Qt::LeftButton, Qt::ShiftModifier, QPoint(110, 15) - frame()->pos());
    EXPECT_EQ(frame()->count(), 1);
    EXPECT_TRUE(surface->isSelected(a));
    EXPECT_FALSE(surface->isSelected(b));
    // A click on the empty surface clears the selection.
    pressSurface(QPoint(250, 150));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_EQ(frame()->count(), 0);
    EXPECT_FALSE(frame()->isVisible());
}

TEST_F(Manipulation, ShortClickWithJitterDoesNotMove)
{
    TGPLabel* a = place(QRect(40, 40, 60, 20));
    frame()->add(a);
    frame()->releaseCapture();
    const QPoint p = QPoint(60, 50) - frame()->pos();
    QTest::mousePress(frame(), Qt::LeftButton, {}, p);
    g_now += 100;
    QTest::mouseMove(frame(), p + QPoint(3, 2));
    QTest::mouseRelease(frame(), Qt::LeftButton, {}, p + QPoint(3, 2));
    EXPECT_EQ(a->boundsRect(), QRect(40, 40, 60, 20));

    // The same movement held longer moves it.
    QTest::mousePress(frame(), Qt::LeftButton, {}, p);
    g_now += 200;
    QTest::mouseMove(frame(), p + QPoint(3, 2));
    QTest::mouseRelease(frame(), Qt::LeftButton, {}, p + QPoint(3, 2));
    EXPECT_EQ(a->boundsRect(), QRect(43, 42, 60, 20));
}

TEST_F(Manipulation, DragMovesUnlockedObjectsAndTheFrame)
{
    TGPLabel* a = place(QRect(10, 10, 60, 20));
    TGPLabel* b = place(QRect(100, 60, 60, 20));
    b->Locked = true;
    frame()->add(a);
    frame()->add(b);
    frame()->releaseCapture();
    const QRect before = frame()->geometry();
    const QPoint p = QPoint(30, 20) - frame()->pos();
    QTest::mousePress(frame(), Qt::LeftButton, {}, p);
    g_now += 300;
    QTest::mouseMove(frame(), p + QPoint(10, 5));
    QTest::mouseRelease(frame(), Qt::LeftButton, {}, p + QPoint(10, 5));
    EXPECT_EQ(a->boundsRect(), QRect(20, 15, 60, 20));
    EXPECT_EQ(b->boundsRect(), QRect(100, 60, 60, 20));
    EXPECT_EQ(frame()->geometry(), before.translated(10, 5));
}

TEST_F(Manipulation, PressOnAnUnselectedObjectAndDragAtOnce)
{
    TGPLabel* a = place(QRect(40, 40, 60, 20));
    pressSurface(QPoint(50, 50));
    ASSERT_TRUE(surface->isSelected(a));
    // Within 10 ms the mouse only selects.
    g_now += 5;
    QTest::mouseMove(surface, QPoint(55, 50));
    // Later the drag starts from where the mouse is.
    g_now += 10;
    QTest::mouseMove(surface, QPoint(60, 50));
    g_now += 200;
    QTest::mouseMove(surface, QPoint(80, 60));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(80, 60));
    EXPECT_EQ(a->boundsRect(), QRect(60, 50, 60, 20));
    EXPECT_FALSE(frame()->hasCapture());
}

TEST_F(Manipulation, ResizeZonesAndTheirPrecedence)
{
    EXPECT_EQ(TGHandle::zoneAt(QPoint(1, 1), 100, 40), 1);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(99, 39), 100, 40), 4);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(97, 2), 100, 40), 2);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(3, 37), 100, 40), 3);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(52, 1), 100, 40), 5);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(47, 39), 100, 40), 7);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(2, 22), 100, 40), 6);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(98, 18), 100, 40), 8);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(30, 20), 100, 40), 0);
    // On a small frame several tests hold; the later ones win.
    EXPECT_EQ(TGHandle::zoneAt(QPoint(0, 0), 12, 12), 6);
    EXPECT_EQ(TGHandle::zoneAt(QPoint(12, 12), 12, 12), 8);
}

TEST_F(Manipulation, ResizeNeverLeavesLessThanFivePixels)
{
    TGPLabel* a = place(QRect(100, 40, 40, 20));
    frame()->add(a);
    frame()->releaseCapture();
    const QPoint right(frame()->width() - 1, frame()->height() / 2);
    QTest::mouseMove(frame(), right); // no button: picks the zone
    EXPECT_EQ(frame()->dragZone(), 8);
    QTest::mousePress(frame(), Qt::LeftButton, {}, right);
    g_now += 300;
    QTest::mouseMove(frame(), right - QPoint(40, 0));
    QTest::mouseRelease(frame(), Qt::LeftButton, {}, right - QPoint(40, 0));
    EXPECT_EQ(a->left(), 100);
    EXPECT_EQ(a->width(), 5);

    // Bottom-right grows by the distance less one.
    frame()->clear();
    a->setBounds(100, 40, 60, 30);
    frame()->add(a);
    frame()->releaseCapture();
    const QPoint corner(frame()->width() - 1, frame()->height() - 1);
    QTest::mouseMove(frame(), corner);
    EXPECT_EQ(frame()->dragZone(), 4);
    const int w = a->width(), h = a->height();
    QTest::mousePress(frame(), Qt::LeftButton, {}, corner);
    g_now += 300;
    QTest::mouseRelease(frame(), Qt::LeftButton, {}, corner + QPoint(20, 10));
    EXPECT_EQ(a->width(), w + 19);
    EXPECT_EQ(a->height(), h + 9);
}

TEST_F(Manipulation, RubberBandWithShiftToggles)
{
    TGPLabel* a = place(QRect(10, 10, 40, 20));
    TGPLabel* b = place(QRect(60, 10, 40, 20));
    TGPLabel* c = place(QRect(200, 150, 40, 20));
    frame()->add(a);
    frame()->releaseCapture();
    pressSurface(QPoint(5, 50), Qt::ShiftModifier);
    EXPECT_TRUE(surface->rubberBandActive());
    QTest::mouseMove(surface, QPoint(120, 5));
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 5));
    EXPECT_FALSE(surface->isSelected(a));
    EXPECT_TRUE(surface->isSelected(b));
    EXPECT_FALSE(surface->isSelected(c));
    EXPECT_EQ(frame()->count(), 1);

    // Without Shift the band rebuilds the selection; unselectable objects never join.
    c->Unselectable = true;
    pressSurface(QPoint(5, 5));
    QTest::mouseMove(surface, QPoint(290, 190));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(290, 190));
    EXPECT_EQ(frame()->count(), 2);
    EXPECT_FALSE(surface->isSelected(c));
}

TEST_F(Manipulation, PlacingModeCreatesInTheDraggedRectangle)
{
    QRect dropped;
    surface->DroppedObjectEvent = [&](const QRect& r) { dropped = r; };
    surface->setPointing(false);
    TGPLabel* a = place(QRect(10, 10, 40, 20));
    // A press on an object in placing mode starts the band there too.
    pressSurface(QPoint(20, 15));
    QTest::mouseMove(surface, QPoint(80, 60));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(80, 60));
    ASSERT_EQ(surface->created.size(), 1);
    EXPECT_EQ(surface->created[0], QRect(20, 15, 60, 45));
    EXPECT_EQ(dropped, surface->created[0]);
    EXPECT_FALSE(surface->isSelected(a));
    EXPECT_EQ(surface->objectCount(), 2);
}

TEST_F(Manipulation, SnapToEightLandsOnTheGrid)
{
    surface->setGridSize(gs8x8);
    surface->setSnapToGrid(true);
    EXPECT_EQ(frame()->GridX, 8);
    TGPLabel* a = place(QRect(22, 30, 40, 20));
    frame()->add(a);
    frame()->releaseCapture();
    const QPoint p = QPoint(30, 35) - frame()->pos();
    QTest::mousePress(frame(), Qt::LeftButton, {}, p);
    g_now += 300;
    QTest::mouseRelease(frame(), Qt::LeftButton, {}, p + QPoint(13, 0));
    EXPECT_EQ(frame()->geometry().left() % 8, 0);
    EXPECT_EQ(frame()->geometry().left(), 32);
    EXPECT_EQ(a->left(), 34);
}

TEST_F(Manipulation, ArrowKeysNudgeAndShiftResizes)
{
    TGPLabel* a = place(QRect(1, 40, 60, 20));
    frame()->add(a);
    frame()->releaseCapture();
    QTest::keyPress(frame(), Qt::Key_Right);
    QTest::keyPress(frame(), Qt::Key_Right);
    QTest::keyRelease(frame(), Qt::Key_Right);
    EXPECT_EQ(a->boundsRect(), QRect(3, 40, 60, 20));
    for (int i = 0; i < 5; ++i)
        QTest::keyPress(frame(), Qt::Key_Left);
    QTest::keyRelease(frame(), Qt::Key_Left);
    EXPECT_EQ(a->left(), 0); // never past the left edge
    QTest::keyPress(frame(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyPress(frame(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyRelease(frame(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(a->boundsRect(), QRect(0, 40, 59, 21));
}

TEST_F(Manipulation, ContextMenusByButtonAndDoubleClick)
{
    TGPLabel* a = place(QRect(10, 10, 60, 20));
    place(QRect(100, 10, 60, 20));
    pressSurface(QPoint(20, 15), {}, Qt::RightButton);
    ASSERT_EQ(surface->menus.size(), 1);
    EXPECT_EQ(surface->menus[0], QStringLiteral("Bring To Front..Rotation"));
    EXPECT_TRUE(surface->isSelected(a));
    pressSurface(QPoint(250, 150), {}, Qt::RightButton);
    EXPECT_EQ(surface->menus.last(), QStringLiteral("Bring To Front..Font"));
    QTest::mouseDClick(frame(), Qt::LeftButton, {}, QPoint(20, 15) - frame()->pos());
    EXPECT_EQ(surface->menus.size(), 3);
    EXPECT_EQ(surface->menus.last(), QStringLiteral("Bring To Front..Rotation"));
    // With two selected a double-click opens nothing.
    frame()->add(surface->designObjects()[1]);
    QTest::mouseDClick(frame(), Qt::LeftButton, {}, QPoint(20, 15) - frame()->pos());
    EXPECT_EQ(surface->menus.size(), 3);
}

TEST_F(Manipulation, KeysOnTheSurfaceCopyPasteAndDelete)
{
    TGPLabel* a = place(QRect(10, 10, 60, 20));
    frame()->add(a);
    QTest::keyClick(frame(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(frame(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(surface->objectCount(), 2);
    QTest::keyClick(frame(), Qt::Key_Delete);
    EXPECT_EQ(surface->objectCount(), 1);
    EXPECT_NE(surface->designObjects()[0], a);
}
