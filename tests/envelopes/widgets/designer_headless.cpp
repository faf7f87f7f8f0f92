// The envelope designer driven without a screen: a tool places its object where the mouse drags
// and the selection tool comes back, the object moves with the mouse, "Save" appears with the
// first change, the layout saved and opened again holds the same objects, and the zoom, size,
// keys and the two drawing aids behave.
#include "addressfile.h"
#include "envelopedesignwindow.h"
#include "envelopefixtures.h"
#include "envelopelayoutfile.h"
#include "envelopepanel.h"
#include "layoutdocument.h"
#include "programfolder.h"
#include "selectionframe.h"
#include "testsupport.h"
#include "textdialogs.h"
#include "textobjects.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::envelopes;
namespace ptest = postavo::testing;

namespace {

qint64 g_now = 5000000;

struct TypeHello : design::DesignDialogs {
    bool editText(QString* text) override
    {
        *text = QStringLiteral("Hello envelope");
        return true;
    }
};

class Designer : public ::testing::Test {
protected:
    void SetUp() override
    {
        design::setTickSource([] { return g_now; });
        design::setDialogs(&answers);
        folder = ptest::makeEnvelopeFolder("designer", ptest::samplePeople());
        ProgramFolder::setPath(folder.folder);
        ASSERT_TRUE(table.open(folder.data));
        table.first();
    }
    void TearDown() override
    {
        design::setDialogs(nullptr);
        design::setTickSource({});
    }
    std::unique_ptr<TEnvelopeDesignScreen> open(int code)
    {
        auto d = std::make_unique<TEnvelopeDesignScreen>(&table);
        d->setSizeCode(code);
        d->setDescription("My envelope");
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        EXPECT_TRUE(d->activated());
        return d;
    }
    // A drag on the surface from a to b, as the user's mouse makes it.
    static void drag(QWidget* w, QPoint a, QPoint b)
    {
        QTest::mousePress(w, Qt::LeftButton, {}, a);
        g_now += 300;
        QTest::mouseMove(w, b);
        QTest::mouseRelease(w, Qt::LeftButton, {}, b);
        QCoreApplication::processEvents();
    }

    TypeHello answers;
    ptest::EnvelopeFolder folder;
    AddressTable table;
};

} // namespace

TEST_F(Designer, PlaceMoveSaveAndReopenEqualsSaved)
{
    auto d = open(20);
    TEnvelopePanel* panel = d->surface();
    EXPECT_EQ(panel->size(), QSize(912, 396));
    EXPECT_TRUE(d->saveButton()->isHidden()) << "nothing changed yet";
    EXPECT_EQ(d->fontButton()->text(), "Default Font: Arial, 10 pt ");

    // The text tool: the drag places a text object, the dialog answers, the selection tool returns.
    d->toolAction(psLabel)->trigger();
    EXPECT_FALSE(panel->Pointing());
    drag(panel, QPoint(100, 60), QPoint(140, 70));
    ASSERT_EQ(panel->objectCount(), 1);
    auto* text = qobject_cast<design::TGPLabel*>(panel->designObjects().front());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption, "Hello envelope");
    EXPECT_EQ(text->left(), 100);
    EXPECT_EQ(text->top(), 60);
    EXPECT_EQ(panel->PanelState(), psPointing);
    EXPECT_TRUE(d->toolAction(psPointing)->isChecked());
    EXPECT_TRUE(d->saveButton()->isVisible()) << "the new object is a change";

    // The address block tool, then the mouse moves the block by 40 right and 24 down.
    d->toolAction(psAddressLabel)->trigger();
    drag(panel, QPoint(380, 180), QPoint(700, 260));
    ASSERT_EQ(panel->objectCount(), 2);
    design::TGGraphicControl* block = panel->designObjects().back();
    EXPECT_EQ(block->className(), "TGDMultiLineAddressLabel");
    const QRect placed = block->boundsRect();
    design::TGHandle* frame = panel->selectionFrame();
    frame->clear();
    frame->add(block);
    frame->releaseCapture();
    const QPoint grab = QPoint(placed.left() + 20, placed.top() + 10) - frame->pos();
    QTest::mousePress(frame, Qt::LeftButton, {}, grab);
    g_now += 300;
    QTest::mouseMove(frame, grab + QPoint(40, 24));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, grab + QPoint(40, 24));
    EXPECT_EQ(block->boundsRect(), placed.translated(40, 24));

    // Save: the window closes with Save; the layout file holds what the surface held.
    d->descriptionEdit()->setText(QString(60, 'E'));
    QTest::keyClick(d->descriptionEdit(), Qt::Key_End);
    QTest::keyClick(d->descriptionEdit(), Qt::Key_Backspace);
    d->saveAndClose();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->description(), QString(50, 'E'));
    const QString path = folder.sysdata + "/BIN00001.E";
    QString error;
    ASSERT_TRUE(saveEnvelopeLayout(*panel, path, &error)) << error.toStdString();
    design::LayoutDocument saved;
    ASSERT_TRUE(design::readLayoutDocument(path, &saved, &error));
    const QStringList savedDump = design::dumpLayoutDocument(saved);

    auto again = open(20);
    ASSERT_TRUE(loadEnvelopeLayout(*again->surface(), path, &error)) << error.toStdString();
    ASSERT_EQ(again->surface()->objectCount(), 2);
    design::LayoutDocument reopened;
    again->surface()->clearDataAll(); // as it is written: without the record's values
    for (auto* o : again->surface()->designObjects()) {
        auto copy = again->surface()->takeObject(o);
        reopened.bands[0]->insertObject(copy.release());
    }
    EXPECT_EQ(design::dumpLayoutDocument(reopened), savedDump);
    EXPECT_EQ(reopened.bands[0]->designObjects().back()->boundsRect(), placed.translated(40, 24));
}

TEST_F(Designer, ZoomSizeKeysAndDrawingAids)
{
    auto d = open(20);
    TEnvelopePanel* panel = d->surface();
    for (int i = 0; i < 6; ++i)
        d->zoomIn();
    EXPECT_EQ(d->zoomLabel()->text(), "140%");
    EXPECT_EQ(panel->width(), 1276) << "912 at 140 %, rounded at every step";
    for (int i = 0; i < 10; ++i)
        d->zoomOut();
    EXPECT_EQ(d->zoomLabel()->text(), "60%");
    // The keypad's plus, on its release, zooms in; zooming is no change of the layout.
    panel->setFocus();
    QTest::keyRelease(panel, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(d->zoomLabel()->text(), "70%");
    EXPECT_TRUE(d->saveButton()->isHidden());
    for (int i = 0; i < 3; ++i)
        d->zoomIn();
    EXPECT_EQ(d->zoomLabel()->text(), "100%");

    // Another size: the surface follows and "Save" shows so that the new size can be kept.
    d->chooseSize = [](int code) -> std::optional<int> {
        EXPECT_EQ(code, 20);
        return 30;
    };
    d->changeSize();
    EXPECT_EQ(d->sizeCode(), 30);
    EXPECT_EQ(panel->size(), QSize(1244, 879)) << "C4, 12.96 x 9.16 inches";
    EXPECT_TRUE(d->saveButton()->isVisible());
    d->chooseSize = [](int) -> std::optional<int> { return std::nullopt; };
    d->changeSize();
    EXPECT_EQ(d->sizeCode(), 30) << "a cancelled chooser changes nothing";

    // The aids: the address zone light grey, the printable area's red dots.
    d->setSizeCode(20);
    d->setPrinterArea(printerAreaPixels(0.25, 0.25, 0.25, 0.25, 9.5, 4.125, 96));
    QImage plain = panel->grab().toImage();
    EXPECT_EQ(plain.pixelColor(200, 250), QColor(Qt::white));
    d->toggle("UspsTemplate")->trigger();
    d->toggle("PrinterMargins")->trigger();
    EXPECT_TRUE(panel->showUspsTemplate());
    EXPECT_TRUE(panel->showPrinterMargins());
    const QImage aids = panel->grab().toImage();
    EXPECT_EQ(aids.pixelColor(200, 250), QColor(239, 239, 239)) << "inside the address zone";
    EXPECT_EQ(aids.pixelColor(48, 250), QColor(128, 128, 128)) << "its outline";
    int red = 0;
    for (int x = 24; x < 888; ++x)
        red += aids.pixelColor(x, 24) == QColor(255, 0, 0);
    EXPECT_GT(red, 250) << "a dotted line along the printable area's top";
    EXPECT_LT(red, 864);
}

TEST_F(Designer, AnExistingLayoutOpensWithSaveHidden)
{
    // Its objects settle their sizes as they are first painted (the FIM mark turns square): that
    // is no change of the user's.
    const envelopes::EnvelopeLayout l = ptest::addEnvelopeLayout(folder, "Business", 20, ptest::addBusinessEnvelope);
    auto d = std::make_unique<TEnvelopeDesignScreen>(&table);
    QString error;
    ASSERT_TRUE(loadEnvelopeLayout(*d->surface(), folder.sysdata + "/" + l.fileName, &error));
    d->setSizeCode(20);
    d->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    QCoreApplication::processEvents();
    EXPECT_EQ(d->surface()->objectCount(), 4);
    EXPECT_TRUE(d->saveButton()->isHidden());
    d->surface()->selectAll();
    d->surface()->alignLeft();
    EXPECT_TRUE(d->saveButton()->isVisible());
}
