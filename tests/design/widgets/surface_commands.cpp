// The design surface's commands: placing and naming, the clipboard file with its paste guard,
// clone, zoom, saving and loading, pulling objects inside, alignment and z-order.
#include "testsupport.h"

#include "composedtextobjects.h"
#include "datasurfacewidget.h"
#include "labelobjectfiler.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::testing::readBytes;
using postavo::testing::scratchDir;

namespace {

qint64 g_now = 5000000;

class Surface : public ::testing::Test {
protected:
    void SetUp() override
    {
        setTickSource([] { return g_now; });
        TGBasePanel::setErrorReporter([this](const QString& m) { errors << m; });
        dir = scratchDir(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        window = std::make_unique<QWidget>();
        surface = new TGDataPanel(window.get());
        surface->setClipboardPath(dir + QStringLiteral("/Clipbrd.tmp"));
        surface->resize(200, 100);
        surface->LabelChangedEvent = [this](TGBasePanel*) { ++changes; };
    }
    void TearDown() override
    {
        window.reset();
        setTickSource({});
        TGBasePanel::setErrorReporter({});
    }
    TGPLabel* place(QRect r, const QString& caption = QStringLiteral("Text"))
    {
        auto* t = new TGPLabel;
        t->Caption = caption;
        surface->placeObject(t, r);
        return t;
    }

    QString dir;
    std::unique_ptr<QWidget> window;
    TGDataPanel* surface = nullptr;
    int changes = 0;
    QStringList errors;
};

} // namespace

TEST_F(Surface, PlacedObjectsAreNamedSpecialAndAtLeastTenByFifteen)
{
    TGPLabel* a = place(QRect(5, 6, 3, 4));
    TGPLabel* b = place(QRect(50, 6, 60, 20));
    EXPECT_EQ(a->name(), QStringLiteral("Special1"));
    EXPECT_EQ(b->name(), QStringLiteral("Special2"));
    EXPECT_EQ(a->boundsRect(), QRect(5, 6, 10, 15));
    EXPECT_TRUE(a->attached());
    EXPECT_TRUE(a->menuBuilt());
    EXPECT_EQ(a->menu().front().caption, QStringLiteral("Bring To Front"));
    EXPECT_GE(changes, 2);
    // A second surface of the same window continues the numbering.
    TGBasePanel band(window.get());
    auto* c = new TGPLabel;
    band.placeObject(c, QRect(0, 0, 20, 20));
    EXPECT_EQ(c->name(), QStringLiteral("Special3"));
}

TEST_F(Surface, PasteIsGuardedForASecondAndOffsetByFifteen)
{
    TGPLabel* a = place(QRect(10, 20, 60, 20), QStringLiteral("one"));
    surface->selectionFrame()->add(a);
    surface->clipboardCommand(ClipboardCmd::Copy);
    ASSERT_TRUE(QFile::exists(surface->clipboardPath()));

    surface->clipboardCommand(ClipboardCmd::Paste);
    ASSERT_EQ(surface->objectCount(), 2);
    TGGraphicControl* copy = surface->designObjects()[1];
    EXPECT_EQ(copy->name(), QStringLiteral("Component0"));
    EXPECT_EQ(copy->left(), a->left() + 15);
    EXPECT_EQ(copy->top(), a->top() + 15);
    EXPECT_TRUE(copy->attached());

    g_now += 999;
    surface->clipboardCommand(ClipboardCmd::Paste);
    EXPECT_EQ(surface->objectCount(), 2);
    g_now += 1;
    surface->clipboardCommand(ClipboardCmd::Paste);
    EXPECT_EQ(surface->objectCount(), 3);
    EXPECT_EQ(surface->designObjects()[2]->name(), QStringLiteral("Component1"));
}

TEST_F(Surface, CutAndDeleteActOnTheSelectionOrOnAnUnselectedObject)
{
    TGPLabel* a = place(QRect(10, 10, 60, 20));
    TGPLabel* b = place(QRect(10, 50, 60, 20));
    TGPLabel* c = place(QRect(100, 50, 60, 20));
    surface->selectionFrame()->add(a);
    surface->selectionFrame()->add(b);
    surface->clipboardCommand(ClipboardCmd::Cut);
    EXPECT_EQ(surface->objectCount(), 1);
    EXPECT_EQ(surface->selectionFrame()->count(), 0);

    // Copy from the menu of an unselected object writes that object alone.
    QFile::remove(surface->clipboardPath());
    c->findMenuEntry(QStringLiteral("Copy"))->run();
    const QByteArray bytes = readBytes(surface->clipboardPath());
    EXPECT_EQ(bytes.count("TPF0"), 1);
    c->findMenuEntry(QStringLiteral("Delete"))->run();
    EXPECT_EQ(surface->objectCount(), 0);
    // Paste without a clipboard file does nothing.
    QFile::remove(surface->clipboardPath());
    surface->clipboardCommand(ClipboardCmd::Paste);
    EXPECT_EQ(surface->objectCount(), 0);
}

TEST_F(Surface, CloneSitsTwentyFivePixelsLowerAndTakesTheSelection)
{
    TGPLabel* a = place(QRect(10, 10, 60, 20), QStringLiteral("orig"));
    surface->selectionFrame()->add(a);
    a->findMenuEntry(QStringLiteral("Clone"))->run();
    ASSERT_EQ(surface->objectCount(), 2);
    auto* copy = static_cast<TGPLabel*>(surface->designObjects().back());
    EXPECT_EQ(copy->Caption, QStringLiteral("orig"));
    EXPECT_EQ(copy->top(), 35);
    EXPECT_EQ(copy->name(), QStringLiteral("Component0"));
    EXPECT_FALSE(surface->isSelected(a));
    EXPECT_TRUE(surface->isSelected(copy));
}

TEST_F(Surface, PullInsideAndDeleteOutsideOnTwoHundredByHundred)
{
    TGPLabel* a = place(QRect(190, 5, 20, 20));
    TGPLabel* b = place(QRect(5, 95, 20, 20));
    surface->pullObjectsInside();
    EXPECT_EQ(a->left(), 180);
    EXPECT_EQ(b->top(), 90);

    TGPLabel* c = place(QRect(0, 0, 20, 20));
    c->setLeft(195);
    TGPLabel* d = place(QRect(20, 20, 20, 20));
    d->setWidth(0);
    TGPLabel* e = place(QRect(20, 20, 20, 20));
    surface->deleteOutsideObjects();
    EXPECT_EQ(surface->indexOf(c), -1);
    EXPECT_EQ(surface->indexOf(d), -1);
    EXPECT_NE(surface->indexOf(e), -1);
    EXPECT_NE(surface->indexOf(a), -1);
}

TEST_F(Surface, ZoomRoundsHalfToEvenAndSavingStoresZoomOne)
{
    TGPLabel* a = place(QRect(7, 9, 60, 21));
    surface->setZoom(1.5f);
    EXPECT_EQ(a->left(), 10); // 10.5 rounds to 10
    EXPECT_EQ(a->top(), 14);  // 13.5 rounds to 14
    EXPECT_EQ(surface->width(), 300);
    surface->setZoom(1.0f);
    EXPECT_EQ(a->left(), 7);
    EXPECT_EQ(surface->width(), 200);

    surface->setZoom(2.0f);
    const int before = changes;
    EXPECT_EQ(a->left(), 14);
    const QString path = dir + QStringLiteral("/zoomed.L");
    ASSERT_TRUE(surface->saveObjects(path));
    EXPECT_EQ(surface->zoom(), 1.0f);
    EXPECT_EQ(changes, before); // zooming fires no change
    ObjectList back;
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.readIntoSurface(back, path));
    EXPECT_EQ(back.designObjects()[0]->boundsRect(), QRect(7, 9, 60, 21));
}

TEST_F(Surface, LoadedObjectsTakeTheSurfaceZoomWithoutRescaling)
{
    place(QRect(8, 16, 60, 21));
    const QString path = dir + QStringLiteral("/l.L");
    ASSERT_TRUE(surface->saveObjects(path));
    surface->deleteAllObjects();
    surface->setZoom(2.0f);
    ASSERT_TRUE(surface->loadObjects(path));
    ASSERT_EQ(surface->objectCount(), 1);
    EXPECT_EQ(surface->designObjects()[0]->zoom(), 2.0f);
    EXPECT_EQ(surface->designObjects()[0]->left(), 8);
    EXPECT_TRUE(surface->designObjects()[0]->attached());
}

TEST_F(Surface, DataFieldsAreSavedWithoutTheirValue)
{
    auto* d = new TGPDLabel;
    surface->placeObject(d, QRect(0, 0, 80, 20));
    d->DataFieldDescript = QStringLiteral("Last Name");
    d->Caption = QStringLiteral("Smith");
    const QString path = dir + QStringLiteral("/d.L");
    ASSERT_TRUE(surface->saveObjects(path));
    const QByteArray bytes = readBytes(path);
    EXPECT_FALSE(bytes.contains("Caption"));
    EXPECT_FALSE(bytes.contains("Smith"));
    EXPECT_TRUE(bytes.contains(QByteArray("LengthOfText\x02\x00", 15)));
}

TEST_F(Surface, AlignmentCentringAndZOrder)
{
    TGPLabel* a = place(QRect(30, 10, 40, 20));
    TGPLabel* b = place(QRect(10, 40, 60, 25));
    TGPLabel* c = place(QRect(90, 30, 20, 20));
    c->Locked = true;
    surface->selectionFrame()->add(a);
    surface->selectionFrame()->add(b);
    surface->selectionFrame()->add(c);
    surface->alignLeft();
    EXPECT_EQ(a->left(), 10);
    EXPECT_EQ(c->left(), 10); // locked objects are aligned too
    surface->alignBottoms();
    EXPECT_EQ(a->top(), 45);
    EXPECT_EQ(b->top(), 40);
    surface->alignRight();
    EXPECT_EQ(a->left() + a->width(), 70);
    surface->centerHorizontally(c);
    EXPECT_EQ(c->left(), 90);
    surface->centerVertically(b);
    EXPECT_EQ(b->top(), 38); // 50 - 12 (division toward zero)

    surface->selectionFrame()->clear();
    a->findMenuEntry(QStringLiteral("Send To Back"))->run();
    EXPECT_EQ(surface->indexOf(a), 0);
    a->findMenuEntry(QStringLiteral("Bring To Front"))->run();
    EXPECT_EQ(surface->indexOf(a), 2);
}

TEST_F(Surface, SurfaceMenuEnablesBySelectionAndClipboard)
{
    auto enabled = [&](const QString& caption) {
        for (const auto& e : surface->surfaceMenu())
            if (e.caption == caption)
                return e.enabled;
        ADD_FAILURE() << caption.toStdString();
        return false;
    };
    EXPECT_FALSE(enabled(QStringLiteral("Cut")));
    EXPECT_FALSE(enabled(QStringLiteral("Paste")));
    EXPECT_FALSE(enabled(QStringLiteral("Lock All")));
    EXPECT_TRUE(enabled(QStringLiteral("Select All")));
    TGPLabel* a = place(QRect(30, 10, 40, 20));
    EXPECT_TRUE(enabled(QStringLiteral("Lock All")));
    surface->selectionFrame()->add(a);
    EXPECT_TRUE(enabled(QStringLiteral("Font")));
    surface->clipboardCommand(ClipboardCmd::Copy);
    EXPECT_TRUE(enabled(QStringLiteral("Paste")));
    QStringList captions;
    for (const auto& e : surface->surfaceMenu())
        captions << e.caption;
    EXPECT_EQ(captions.join(QLatin1Char('|')),
              QStringLiteral("Bring To Front|Send To Back|-|Cut|Copy|Paste|-|Delete|-|Align Left|Align Right|"
                             "Align Tops|Align Bottoms|-|Center Vertically|Center Horizontally|-|Lock All|"
                             "Unlock All|-|Mark All Selectable|Mark All Unselectable|Select All|-|Font"));
}

TEST_F(Surface, UnselectableObjectsNeverJoinAndLoadErrorsAreReported)
{
    TGPLabel* a = place(QRect(30, 10, 40, 20));
    TGPLabel* b = place(QRect(80, 10, 40, 20));
    b->Unselectable = true;
    surface->selectAll();
    EXPECT_EQ(surface->selectionFrame()->count(), 1);
    a->findMenuEntry(QStringLiteral("Unselectable"))->run();
    EXPECT_EQ(surface->selectionFrame()->count(), 0);

    const QString bad = dir + QStringLiteral("/bad.L");
    postavo::testing::writeBytes(bad, QByteArray("\x01TPF1", 5));
    EXPECT_FALSE(surface->loadObjects(bad));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("Invalid stream format"));
}

TEST_F(Surface, ClipboardFileGoesWithTheSurface)
{
    TGPLabel* a = place(QRect(30, 10, 40, 20));
    surface->selectionFrame()->add(a);
    surface->clipboardCommand(ClipboardCmd::Copy);
    const QString clip = surface->clipboardPath();
    ASSERT_TRUE(QFile::exists(clip));
    window.reset();
    EXPECT_FALSE(QFile::exists(clip));
}
