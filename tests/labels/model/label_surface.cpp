// The label surface without a window: what each tool places and how, the surface's size and
// outline from the sheet, the artwork behind it, and which layout files it takes.
#include "../scripted_ui.h"
#include "addressdata.h"
#include "addressfile.h"
#include "classregistry.h"
#include "composedtextobjects.h"
#include "fimbarcode.h"
#include "labelobjectfiler.h"
#include "labelsurface.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "shapeobjects.h"
#include "support_labels.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

class LabelSurfaceTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(postavo::testing::makeAddressRecords(
            dir.path("add.dbf"), {{{"LNAME", "Lovelace"}, {"FNAME", "Ada"}, {"STREET", "12 St James Square"},
                                   {"CITY", "London"}, {"STATE", "LN"}, {"ZIP", "12345-6789"}, {"MEMO", "Analyst"}}}));
        ASSERT_TRUE(table.open(dir.path("add.dbf")));
        table.first();
        surface.setDataset(&table);
        ASSERT_TRUE(surface.rules().sizeFromDefinition(avery5160()));
    }
    TGGraphicControl* place(TLPanelState tool, QRect r)
    {
        surface.rules().setPanelState(tool);
        return surface.rules().createObjectInRect(r);
    }
    ScratchDir dir;
    ScriptedDialogs dialogs;
    AddressTable table;
    LabelSurface surface;
};

} // namespace

TEST_F(LabelSurfaceTools, EachToolPlacesItsObjectWithItsDefaults)
{
    auto* text = qobject_cast<TGPLabel*>(place(psLabel, QRect(4, 4, 60, 20)));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption, QStringLiteral("Hello"));  // the text dialog opened at once
    EXPECT_EQ(text->Font, surface.rules().font);

    auto* counter = qobject_cast<TGCounterLabel*>(place(psCounterLabel, QRect(4, 30, 60, 20)));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->Startingnumber, 1000);
    EXPECT_EQ(counter->composed(), QStringLiteral("1000"));
    EXPECT_TRUE(counter->TextBefore.isEmpty() && counter->TextAfter.isEmpty());

    auto* symbol = qobject_cast<TGSymbolLabel*>(place(psSymbolLabel, QRect(70, 4, 30, 30)));
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->Caption, QStringLiteral("J"));
    EXPECT_NE(symbol->Font, surface.rules().font);  // a symbol keeps its own font

    auto* field = qobject_cast<TGPDLabel*>(place(psDataLabel, QRect(100, 4, 60, 20)));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->DataFieldName, QStringLiteral("LNAME"));
    EXPECT_EQ(field->Caption, QStringLiteral("Lovelace"));  // filled from the record at once

    auto* lines = qobject_cast<TGMultiLineLabel*>(place(psMultiLineLabel, QRect(4, 50, 40, 10)));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->Items, dialogs.lines);
    EXPECT_EQ(lines->height(), 2 * lines->screenLineHeight());  // sized to its lines

    auto* memo = qobject_cast<TGDMultiLineLabel*>(place(psMultiLineDataLabel, QRect(4, 70, 80, 20)));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->DataFieldName, QStringLiteral("Memo"));
    EXPECT_EQ(memo->DataFieldDescript, QStringLiteral("MEMO"));
    EXPECT_EQ(memo->Items, QStringList{QStringLiteral("Analyst")});

    auto* address = qobject_cast<TGDMultiLineAddressLabel*>(place(psAddressLabel, QRect(120, 30, 60, 10)));
    ASSERT_NE(address, nullptr);
    EXPECT_TRUE(address->Items.first().startsWith(QStringLiteral("Ada Lovelace")));
    EXPECT_EQ(address->height(), int(address->Items.size()) * address->screenLineHeight());

    const std::pair<TLPanelState, int> shapes[] = {{psRectangle, stRectangle}, {psEllipse, stEllipse},
                                                   {psRoundRectangle, stRoundRect}};
    for (auto [tool, shape] : shapes) {
        auto* s = qobject_cast<TGLabelShapes*>(place(tool, QRect(200, 10, 30, 30)));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Shape, shape);
    }
    auto* line = qobject_cast<TGLineShape*>(place(psLine, QRect(10, 10, 30, 30)));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->LineStyle, 1);
    EXPECT_NE(qobject_cast<TGImage*>(place(psImage, QRect(10, 10, 30, 30))), nullptr);
    auto* bars = qobject_cast<TGPostNetBarCode*>(place(psPostNetBarCode, QRect(0, 70, 250, 16)));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->ZipCodeField, QStringLiteral("ZIP"));
    EXPECT_EQ(bars->AddressField, QStringLiteral("STREET"));
    EXPECT_EQ(bars->zipText, QStringLiteral("12345-6789"));

    EXPECT_EQ(surface.objectCount(), 13);
    for (const TGGraphicControl* o : surface.designObjects())
        EXPECT_TRUE(isLabelObjectClass(o->className())) << o->className().constData();
    EXPECT_EQ(dialogs.asked, (QStringList{"Text", "Symbol Selector", "Select Field", "Multi-line Text Editor"}));
    // Selection mode places nothing.
    surface.rules().setPanelState(psPointing);
    EXPECT_EQ(surface.rules().createObjectInRect(QRect(0, 0, 40, 40)), nullptr);
    EXPECT_TRUE(surface.Pointing());
}

TEST_F(LabelSurfaceTools, SmallDragsGiveObjectsOneCanSeeAndZoomedDragsLandWhereDragged)
{
    TGGraphicControl* a = place(psRectangle, QRect(10, 20, 24, 14));
    EXPECT_EQ(a->boundsRect(), QRect(10, 20, 50, 15));
    TGGraphicControl* b = place(psRectangle, QRect(10, 20, 25, 15));
    EXPECT_EQ(b->boundsRect(), QRect(10, 20, 25, 15));
    EXPECT_FALSE(surface.Pointing());  // the tool stays until the designer changes it

    // At 150 % the dragged rectangle is where the user sees it; stored at 100 % it is two thirds.
    surface.setZoom(1.5f);
    TGGraphicControl* c = place(psEllipse, QRect(30, 60, 90, 45));
    EXPECT_EQ(c->boundsRect(), QRect(30, 60, 90, 45));
    surface.setZoom(1.0f);
    EXPECT_EQ(c->boundsRect(), QRect(20, 40, 60, 30));
    // The smallest size counts at 100 %: a 30-unit drag at 150 % is 20 units, made 50.
    surface.setZoom(1.5f);
    TGGraphicControl* d = place(psEllipse, QRect(0, 0, 30, 30));
    surface.setZoom(1.0f);
    EXPECT_EQ(d->boundsRect(), QRect(0, 0, 50, 20));
}

TEST(LabelSurfaceSheet, SizeAndOutlineFollowTheSheet)
{
    LabelSurface s;
    LabelSheetDefinition d = avery5160();
    EXPECT_TRUE(s.rules().sizeFromDefinition(d, 96));
    EXPECT_EQ(QSize(s.hostWidth(), s.hostHeight()), QSize(252, 96));
    EXPECT_EQ(s.Shape, lsRoundRect);
    EXPECT_FALSE(s.rules().sizeFromDefinition(d, 96));  // nothing changed
    d.lblShape = "EL";
    d.lblWidth = 2.0f;
    d.lblHeight = 2.0f;
    EXPECT_TRUE(s.rules().sizeFromDefinition(d, 96));
    EXPECT_EQ(s.Shape, lsEllipse);
    EXPECT_EQ(QSize(s.hostWidth(), s.hostHeight()), QSize(192, 192));
    d.lblShape = "SR";
    EXPECT_TRUE(s.rules().sizeFromDefinition(d, 120));
    EXPECT_EQ(s.Shape, lsRectangle);
    EXPECT_EQ(s.hostWidth(), 240);
    // The zoom in force is kept: the size is set at 100 % and scaled back.
    s.setZoom(1.5f);
    d.lblWidth = 3.0f;
    EXPECT_TRUE(s.rules().sizeFromDefinition(d, 96));
    EXPECT_EQ(s.zoom(), 1.5f);
    EXPECT_EQ(QSize(s.hostWidth(), s.hostHeight()), QSize(432, 288));
    // 2.625 x 96 = 252 exactly; half-way values round to even.
    EXPECT_EQ(labelSurfaceSize(avery5160(), 120), QSize(315, 120));
}

TEST(LabelSurfaceSheet, PostnetNeedsTwoPointEightFiveInchesAsStored)
{
    LabelSheetDefinition d = avery5160();
    d.lblWidth = 2.84f;
    EXPECT_TRUE(labelTooNarrowForPostnet(d));
    d.lblWidth = 2.85f;  // single precision, below 2.85 as a double, yet wide enough
    EXPECT_FALSE(labelTooNarrowForPostnet(d));
}

TEST(LabelArtwork, NonWhitePixelsTurnLightGreyAtTheirOwnSize)
{
    ScratchDir dir;
    QImage art(10, 6, QImage::Format_RGB32);
    art.fill(Qt::white);
    art.setPixel(1, 1, qRgb(0, 0, 0));
    art.setPixel(9, 5, qRgb(250, 255, 255));
    ASSERT_TRUE(art.save(dir.path("av5160.png")));
    const QImage loaded = loadArtwork(QStringLiteral("Av5160.bmp"), dir.path());
    ASSERT_FALSE(loaded.isNull());  // the name's part before its "." upper-cased, the file's case ignored
    const QImage bg = artworkBackground(loaded, QSize(20, 4));
    EXPECT_EQ(bg.size(), QSize(20, 4));
    EXPECT_EQ(bg.pixel(1, 1), qRgb(192, 192, 192));
    EXPECT_EQ(bg.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bg.pixel(15, 2), qRgb(255, 255, 255));  // beyond the picture
    // Missing pictures and names that point elsewhere give nothing.
    EXPECT_TRUE(loadArtwork(QStringLiteral("AV9999"), dir.path()).isNull());
    EXPECT_TRUE(loadArtwork(QStringLiteral("../av5160"), dir.path()).isNull());
    EXPECT_TRUE(loadArtwork(QString(), dir.path()).isNull());
}

namespace {

QByteArray hashOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A layout file holding the given objects, as any surface writes it.
void writeLayout(const QString& path, const std::vector<TGGraphicControl*>& objects)
{
    writeBytes(path, TGLabelObjectFiler::objectListBytes(objects));
}

} // namespace

TEST(LabelLayoutFiles, OnlySoundLabelFilesReachTheSurface)
{
    ScratchDir dir;
    registerStandardDesignClasses();
    ObjectList list;
    auto* text = new TGPLabel;
    text->setCaption(QStringLiteral("kept"));
    list.insertObject(text);
    writeLayout(dir.path("good.L"), list.designObjects());
    auto* fim = new TGFIMBarCode;
    list.insertObject(fim);
    writeLayout(dir.path("foreign.L"), list.designObjects());
    QByteArray damaged = readBytes(dir.path("good.L"));
    damaged.chop(7);
    writeBytes(dir.path("damaged.L"), damaged);

    EXPECT_EQ(checkLabelLayoutFile(dir.path("good.L")).state, LabelLayoutFileState::Sound);
    EXPECT_EQ(checkLabelLayoutFile(dir.path("none.L")).message,
              QStringLiteral("Label definition file has been removed from the sysdata directory"));
    const LabelLayoutFileCheck foreign = checkLabelLayoutFile(dir.path("foreign.L"));
    EXPECT_EQ(foreign.state, LabelLayoutFileState::Foreign);
    EXPECT_TRUE(foreign.message.contains(QStringLiteral("TGFIMBarCode"))) << foreign.message.toStdString();
    EXPECT_EQ(checkLabelLayoutFile(dir.path("damaged.L")).state, LabelLayoutFileState::Damaged);

    LabelSurface surface;
    ASSERT_TRUE(loadLabelLayout(surface, dir.path("good.L")).sound());
    ASSERT_EQ(surface.objectCount(), 1);
    // A bad file leaves the surface as it was, and the files are only read.
    const QByteArray before = hashOf(dir.path("foreign.L"));
    for (const char* bad : {"foreign.L", "damaged.L", "none.L"}) {
        EXPECT_FALSE(loadLabelLayout(surface, dir.path(bad)).sound()) << bad;
        ASSERT_EQ(surface.objectCount(), 1) << bad;
        EXPECT_EQ(qobject_cast<TGPLabel*>(surface.designObjects().front())->Caption, QStringLiteral("kept"));
    }
    EXPECT_EQ(hashOf(dir.path("foreign.L")), before);
}
