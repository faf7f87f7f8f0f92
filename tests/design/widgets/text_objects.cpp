// Single-line text objects: layout offsets and origin, alignment, rotation, data field values,
// counters, page numbers on screen and on paper, menus and fonts.
#include "testsupport.h"

#include "addressfile.h"
#include "composedtextobjects.h"
#include "datasurfacewidget.h"
#include "devices.h"
#include "printcanvas.h"
#include "symbolfonts.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;

namespace {

struct QuietUi : AddressFileUi {
    void showInformation(const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return true; }
    void rebuildIndexes(AddressTable&) override {}
};

QStringList captions(const MenuEntries& menu)
{
    QStringList out;
    for (const auto& e : menu)
        out << e.caption;
    return out;
}

// Prints `objects` through a recording canvas on page `page`; the log of that page.
QStringList printOnPage(const std::vector<TGGraphicControl*>& objects, int page, double x = 0, double y = 0)
{
    printing::RecordingDevice device(QSizeF(8.5, 11), 300);
    printing::TPrintCanvas canvas(printing::CanvasKind::Preview);
    canvas.setDevice(&device);
    canvas.execute({}, [&](printing::TPrintCanvas& c) {
        for (int p = 1; p < page; ++p)
            c.newPage();
        for (auto* o : objects)
            o->printObject(c, x, y);
    });
    QStringList log = device.log();
    const int at = log.indexOf(QStringLiteral("page %1").arg(page));
    return at < 0 ? QStringList() : log.mid(at + 1);
}

} // namespace

TEST(TextLayout, OffsetsAndOriginShift)
{
    TGPLabel t;
    t.setShadow(sdDownRight, 3, clGray);
    t.setHighlight(hdUpLeft, 2, clAqua);
    t.recalculate();
    EXPECT_EQ(t.shadowOffset(), QPoint(3, 3));
    EXPECT_EQ(t.highlightOffset(), QPoint(-2, -2));
    EXPECT_EQ(t.originShift(), QPoint(2, 2));
    EXPECT_EQ(t.textRect().left, 2);
    EXPECT_EQ(t.shadowRect().left, 5);
    EXPECT_EQ(t.highlightOrigin(), QPoint(0, 0));

    t.setShadow(sdLeft, 4, clGray);
    t.setHighlight(hdUp, 1, clAqua);
    t.recalculate();
    EXPECT_EQ(t.originShift(), QPoint(4, 1));
}

TEST(TextLayout, HeightFollowsTheLineAndRightAlignment)
{
    TGPLabel t;
    t.Caption = QStringLiteral("Hi");
    t.setAlignment(taRightJustify);
    t.recalculate();
    const TextMetrics m(screenFont(t.Font));
    const int L = m.cellHeight + m.internalLeading + m.externalLeading;
    EXPECT_EQ(t.width(), 142);
    EXPECT_EQ(t.height(), int(L * 1.2)); // 33 was taller than the line allows
    EXPECT_EQ(t.textOrigin().x(), 142 - m.width(QStringLiteral("Hi ")));
    t.setAlignment(taCenter);
    t.recalculate();
    EXPECT_EQ(t.textOrigin().x(), 142 / 2 - m.width(QStringLiteral("Hi ")) / 2);
}

TEST(TextLayout, AnglesInNinetyDegreeSteps)
{
    TGPLabel t;
    t.setAlignment(taCenter);
    t.setAngle(45);
    EXPECT_EQ(t.Angle, 0);
    EXPECT_EQ(t.boundsRect(), QRect(0, 0, 142, 33));
    t.setAngle(90);
    EXPECT_EQ(t.Angle, 90);
    EXPECT_EQ(t.boundsRect(), QRect(0, 0, 33, 142));
    EXPECT_EQ(t.Alignment, taLeftJustify);
    t.recalculate();
    // Upright text starts at the bottom-left corner of its rectangle.
    EXPECT_EQ(t.textOrigin(), QPoint(t.textRect().left, t.textRect().bottom));
    t.setAngle(180);
    EXPECT_GT(t.width(), t.height());
    t.recalculate();
    EXPECT_EQ(t.textOrigin(), QPoint(t.textRect().right, t.textRect().bottom));
}

TEST(TextLayout, GrowToFitNeverShrinks)
{
    TGPLabel t;
    t.Caption = QStringLiteral("A rather longer text than fits");
    t.setBounds(0, 0, 20, 33);
    t.growToFit();
    const TextMetrics m(screenFont(t.Font));
    EXPECT_EQ(t.width(), m.width(t.Caption + QStringLiteral("     ")));
    const int w = t.width();
    t.Caption = QStringLiteral("A");
    t.growToFit();
    EXPECT_EQ(t.width(), w);
}

TEST(TextObjects, DataFieldValuesBlanksAndPlaceholders)
{
    const QString dir = postavo::testing::scratchDir(QStringLiteral("datafield"));
    const QString path = dir + QStringLiteral("/add0001.DBF");
    QuietUi ui;
    ASSERT_TRUE(CreateAddressFile(path, defaultFieldLengths(), ui));
    AddressTable table;
    ASSERT_TRUE(table.open(path));
    ASSERT_TRUE(table.insert());
    table.setValue(QStringLiteral("LNAME"), QStringLiteral("  Smith "));
    ASSERT_TRUE(table.post());
    ASSERT_TRUE(table.insert());
    ASSERT_TRUE(table.post());
    ASSERT_TRUE(table.first());

    QWidget window;
    TGDataPanel surface(&window);
    surface.setDataset(&table);
    auto* d = new TGPDLabel;
    surface.placeObject(d, QRect(0, 0, 100, 20));
    d->DataFieldDescript = QStringLiteral("Last Name");
    d->DataFieldName = QStringLiteral("LNAME");
    auto* undefinedField = new TGPDLabel;
    surface.placeObject(undefinedField, QRect(0, 30, 100, 20));
    undefinedField->DataFieldDescript = QStringLiteral("No Such Label");

    surface.refreshObjects();
    EXPECT_EQ(d->Caption, QStringLiteral("Smith"));
    EXPECT_EQ(undefinedField->Caption, QStringLiteral("<undefined field>"));
    EXPECT_EQ(d->width(), 100); // the value is cut, never the object resized

    ASSERT_TRUE(table.next());
    surface.refreshObjects();
    EXPECT_EQ(d->Caption, QStringLiteral("<blank field>"));
    surface.setPrinting(true);
    surface.refreshObjects();
    EXPECT_EQ(d->Caption, QString());
    EXPECT_EQ(undefinedField->Caption, QString());
    surface.setPrinting(false);

    surface.setDisplayDataValues(false);
    EXPECT_EQ(d->Caption, QStringLiteral("[Last Name]"));

    // Smith prints alone, with nothing of the blanks around it.
    surface.setDisplayDataValues(true);
    ASSERT_TRUE(table.first());
    surface.setPrinting(true);
    surface.refreshObjects();
    const QStringList log = printOnPage({d}, 1);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().endsWith(QStringLiteral("\"Smith\""))) << log.last().toStdString();
    surface.setPrinting(false);
    table.close();
}

TEST(TextObjects, CounterSequences)
{
    TGCounterLabel c;
    c.TextBefore = QStringLiteral("No. ");
    c.LeadingZeros = 5;
    c.RepeatEach = 2;
    c.setStartingNumber(1000);
    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        seen << c.displayText();
        c.nextItem();
    }
    EXPECT_EQ(seen, (QStringList{"No. 01000", "No. 01000", "No. 01001", "No. 01001", "No. 01002"}));

    TGCounterLabel three;
    three.RepeatEach = 3;
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        shown << three.displayText();
        three.nextItem();
    }
    EXPECT_EQ(shown, (QStringList{"1", "1", "1", "2"}));
    three.resetItem();
    EXPECT_EQ(three.displayText(), QStringLiteral("1"));

    TGCounterLabel negative;
    negative.setStartingNumber(-5);
    EXPECT_EQ(negative.displayText(), QStringLiteral("-5"));
    negative.LeadingZeros = 3;
    EXPECT_EQ(negative.displayText(), QStringLiteral("-005"));
}

TEST(TextObjects, PageNumberShowsHashesAndPrintsThePage)
{
    TGPageNumberLabel p;
    p.setBounds(96, 48, 60, 20);
    EXPECT_EQ(p.displayText(), QStringLiteral("##"));
    const QStringList log = printOnPage({&p}, 12);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().endsWith(QStringLiteral("\"12\""))) << log.last().toStdString();
    EXPECT_EQ(p.displayText(), QStringLiteral("##"));
}

TEST(TextObjects, PrintedTextSitsAtItsInchPosition)
{
    TGPLabel t;
    t.Caption = QStringLiteral("Hello");
    t.setBounds(96, 48, 142, 33);
    t.setTransparent(false);
    t.setBackColor(255);
    const QStringList plain = printOnPage({&t}, 1, 0.5, 0.25);
    // Background first, from the object's corner to one pixel short of its far corner.
    ASSERT_GE(plain.size(), 2);
    EXPECT_TRUE(plain[0].startsWith(QStringLiteral("rect 1.500 0.750 "))) << plain[0].toStdString();
    EXPECT_TRUE(plain.last().contains(QStringLiteral("\"Hello\"")));
    // The text starts at the object's left edge plus the text rectangle's left (no offsets).
    EXPECT_TRUE(plain.last().startsWith(QStringLiteral("text 1.500 "))) << plain.last().toStdString();

    // Depth 0 prints no shadow copies; depth 2 does, in the shadow colour.
    t.setShadow(sdDownRight, 2, 8421504);
    const QStringList shadowed = printOnPage({&t}, 1);
    int texts = 0;
    for (const QString& line : shadowed)
        texts += line.startsWith(QStringLiteral("text"));
    EXPECT_EQ(texts, 2);
    EXPECT_TRUE(shadowed.join(QLatin1Char('\n')).contains(QStringLiteral("#808080")));
}

TEST(TextObjects, MenusByClass)
{
    TGPLabel p;
    p.loaded();
    QStringList c = captions(p.menu());
    EXPECT_EQ(c.mid(12).join(QLatin1Char('|')),
              QStringLiteral("-|Font|3D Effects|Alignment|Background Color|Transparent|-|Text|-|Rotation"));
    TGSymbolLabel s;
    s.loaded();
    c = captions(s.menu());
    EXPECT_FALSE(c.contains(QStringLiteral("Font")));
    EXPECT_FALSE(c.contains(QStringLiteral("Alignment")));
    EXPECT_EQ(c.last(), QStringLiteral("Symbol Selector"));
    TGDateTimeLabel d;
    d.loaded();
    EXPECT_EQ(captions(d.menu()).mid(18).join(QLatin1Char('|')), QStringLiteral("-|Date Format|Time Format"));
    // Check marks follow the properties.
    p.setAlignment(taCenter);
    EXPECT_TRUE(p.findMenuEntry(QStringLiteral("Center"))->checked());
    EXPECT_FALSE(p.findMenuEntry(QStringLiteral("Left"))->checked());
    p.findMenuEntry(QStringLiteral("Transparent"))->run();
    EXPECT_FALSE(p.Transparent);
}

TEST(TextObjects, FontsResolveToInstalledFaces)
{
    EXPECT_EQ(resolveFontFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(resolveFontFamily(QStringLiteral("times new roman")), QStringLiteral("Liberation Serif"));
    EXPECT_NE(resolveFontFamily(QStringLiteral("WingDings")).compare(QStringLiteral("WingDings"), Qt::CaseInsensitive), 0);
    // A symbol takes the size of the character it pictures (WingDings "[" is a yin yang).
    TGSymbolLabel s;
    s.setBounds(10, 10, 300, 300);
    const TextMetrics m(screenFont(s.Font));
    EXPECT_EQ(s.width(), int(m.width(symbolFontText(s.Font.name, QStringLiteral("["))) * 1.1));
    EXPECT_EQ(s.height(), int(m.cellHeight * 1.1));
    // Ten points at 96 pixels per inch are the stored height -13.
    EXPECT_EQ(LayoutFont::fromPoints(QStringLiteral("Arial"), 10).height, -13);
}
