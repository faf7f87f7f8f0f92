// A design surface without a window: what print runs and the batch tool rely on. The surface owns
// its objects, keeps the selection and its frame, and runs the designers' commands; a layout
// saved and loaded again prints at an offset in inches.
#include "composedtextobjects.h"
#include "datasurface.h"
#include "devices.h"
#include "layoutprint.h"
#include "printcanvas.h"
#include "testsupport.h"
#include "textobjects.h"

#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::testing::scratchDir;

namespace {

TGPLabel* place(DesignSurface& s, QRect r, const QString& caption = QStringLiteral("Text"))
{
    auto* t = new TGPLabel;
    t->Caption = caption;
    s.placeObject(t, r);
    t->setBounds(r.x(), r.y(), r.width(), r.height());
    return t;
}

QStringList printedAt(DesignSurface& s, double x, double y)
{
    postavo::printing::RecordingDevice device(QSizeF(8.5, 11), 300);
    postavo::printing::TPrintCanvas canvas(postavo::printing::CanvasKind::Preview);
    canvas.setDevice(&device);
    canvas.execute({}, [&](postavo::printing::TPrintCanvas& c) { printSurfaceOnce(s, c, x, y); });
    return device.log();
}

} // namespace

TEST(SurfaceModel, OwnsItsObjectsAndGivesThemUp)
{
    QPointer<TGGraphicControl> kept, freed, orphan;
    std::unique_ptr<TGGraphicControl> taken;
    {
        DataSurface s;
        kept = place(s, QRect(0, 0, 40, 20));
        freed = place(s, QRect(0, 30, 40, 20));
        orphan = place(s, QRect(0, 60, 40, 20));
        taken = s.takeObject(kept);
        EXPECT_EQ(kept->host(), nullptr);
        s.destroyObject(freed);
        EXPECT_TRUE(freed.isNull());
        EXPECT_EQ(s.objectCount(), 1);
        // Moving an object to another surface moves its ownership with it.
        ObjectList other;
        other.insertObject(taken.release());
        EXPECT_EQ(kept->host(), &other);
        s.insertObject(kept);
        EXPECT_EQ(other.objectCount(), 0);
        EXPECT_EQ(s.objectCount(), 2);
    }
    EXPECT_TRUE(kept.isNull());
    EXPECT_TRUE(orphan.isNull());

    // An object its owner window deletes leaves the surface on the way.
    auto owner = std::make_unique<QObject>();
    DataSurface s(owner.get());
    TGPLabel* t = place(s, QRect(0, 0, 40, 20));
    s.selection().add(t);
    owner.reset();
    EXPECT_EQ(s.objectCount(), 0);
    EXPECT_EQ(s.selection().count(), 0);
}

TEST(SurfaceModel, SelectionFrameFollowsAndMovesOnlyUnlockedObjects)
{
    DataSurface s(nullptr, 400, 300);
    TGPLabel* a = place(s, QRect(10, 10, 40, 20));
    TGPLabel* b = place(s, QRect(100, 50, 40, 20));
    std::vector<Selection::Change> told;
    s.selection().changed = [&](Selection::Change c) { told.push_back(c); };
    s.selectAll();
    EXPECT_EQ(s.selection().frame(), QRect(8, 8, 134, 64));
    b->Locked = true;
    s.selection().setFrame(s.selection().frame().translated(5, 7));
    EXPECT_EQ(a->boundsRect(), QRect(15, 17, 40, 20));
    EXPECT_EQ(b->boundsRect(), QRect(100, 50, 40, 20));
    s.selection().reposition();
    EXPECT_EQ(s.selection().frame(), QRect(13, 15, 129, 57));
    // Nudging to the right stops at the surface's edge; the frame it gives is where it stopped.
    QRect n = Selection::nudgeStart(QRect(385, 0, 13, 10));
    for (int i = 0; i < 10; ++i)
        n = Selection::nudged(n, Qt::Key_Right, false, QSize(400, 300));
    EXPECT_EQ(n.right(), 399);
    EXPECT_EQ(Selection::nudgedFrame(n), QRect(389, 0, 13, 10));
    s.deleteAllObjects();
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), Selection::Change::Cleared);
}

TEST(SurfaceModel, CommandsWithoutAWindow)
{
    qint64 now = 7000000;
    setTickSource([&] { return now; });
    DataSurface s(nullptr, 200, 100);
    s.setClipboardPath(scratchDir(QStringLiteral("surface-model")) + QStringLiteral("/Clipbrd.tmp"));
    TGPLabel* a = place(s, QRect(30, 10, 40, 20), QStringLiteral("one"));
    TGPLabel* b = place(s, QRect(10, 40, 60, 20), QStringLiteral("two"));
    s.selection().add(a);
    s.selection().add(b);
    s.alignLeft();
    EXPECT_EQ(a->left(), 10);
    s.sendSelectionToBack();
    EXPECT_EQ(s.designObjects().front(), b);
    EXPECT_EQ(s.selection().count(), 0);

    s.selection().add(a);
    s.clipboardCommand(ClipboardCmd::Copy);
    s.clipboardCommand(ClipboardCmd::Paste);
    ASSERT_EQ(s.objectCount(), 3);
    EXPECT_EQ(s.designObjects().back()->boundsRect(), a->boundsRect().translated(15, 15));
    s.cloneObject(b);
    ASSERT_EQ(s.objectCount(), 4);
    EXPECT_EQ(s.designObjects().back()->top(), b->top() + 25);

    // Zoom scales the surface and its objects; saving writes them back at 100 %.
    s.setZoom(2.0f);
    EXPECT_EQ(s.hostWidth(), 400);
    EXPECT_EQ(a->left(), 20);
    const QString file = scratchDir(QStringLiteral("surface-model-file")) + QStringLiteral("/BIN00001.L");
    ASSERT_TRUE(s.saveObjects(file));
    EXPECT_EQ(a->left(), 10);
    setTickSource({});

    DataSurface back;
    ASSERT_TRUE(back.loadObjects(file));
    ASSERT_EQ(back.objectCount(), 4);
    EXPECT_TRUE(back.designObjects().front()->attached());
    // The surface's corner at (0.5, 0.25) inches: "two" at 10, 40 pixels prints from 0.604 inch.
    const QStringList log = printedAt(back, 0.5, 0.25);
    bool found = false;
    for (const QString& line : log)
        found = found || (line.startsWith(QStringLiteral("text 0.604 ")) && line.endsWith(QStringLiteral("\"two\"")));
    EXPECT_TRUE(found) << log.join(QLatin1Char('\n')).toStdString();
}
