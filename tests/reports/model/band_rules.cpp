// The bands' rules without the designer: which tool draws where and with which message, the
// objects each tool makes, where the bands sit and how high they may grow, and what Save does.
#include "composedtextobjects.h"
#include "datasurface.h"
#include "multilineobjects.h"
#include "reportbands.h"
#include "shapeobjects.h"
#include "textdialogs.h"
#include "textobjects.h"

#include <gtest/gtest.h>

using namespace postavo::design;
using namespace postavo::reports;

namespace {

struct Ui {
    int beeps = 0;
    QStringList messages;
    BandUi band()
    {
        return {[this] { ++beeps; }, [this](const QString& m) { messages << m; }};
    }
};

// Answers the text and field questions as a user would.
struct Answers : DesignDialogs {
    bool editText(QString* text) override
    {
        *text = QStringLiteral("Title");
        return true;
    }
};

const LayoutFont kFont = LayoutFont::fromPoints(QStringLiteral("Times New Roman"), 12, fsBold);

} // namespace

TEST(BandRules, ToolsAndTheBandsThatTakeThem)
{
    const TRPanelKind bands[4] = {rpkHeader, rpkDetail, rpkMemo, rpkFooter};
    struct Row {
        TRPanelState tool;
        bool accepted[4];
        const char* message;
    };
    const Row rows[] = {
        {psLabel, {true, true, true, true}, ""},
        {psLine, {true, true, true, true}, ""},
        {psSymbolLabel, {true, true, true, true}, ""},
        {psRectangle, {true, true, true, true}, ""},
        {psImage, {true, false, false, false}, "This object may only be used in the header band"},
        {psDataLabel, {false, true, false, false}, "This object may only be used in the detail band"},
        {psDateTime, {true, false, false, true}, "This object may only be used in the header or footer bands"},
        {psPageNumber, {true, false, false, true}, "This object may only be used in the header or footer bands"},
        {psMultiLineDataLabel, {false, false, true, false}, "This object may only be used in the memo band"},
    };
    for (const Row& r : rows)
        for (int b = 0; b < 4; ++b) {
            SCOPED_TRACE(QStringLiteral("tool %1 band %2").arg(r.tool).arg(b).toStdString());
            EXPECT_EQ(toolAcceptedBy(r.tool, bands[b]), r.accepted[b]);
            EXPECT_EQ(toolRefusal(r.tool, bands[b]), r.accepted[b] ? QString() : QString::fromLatin1(r.message));
        }
    EXPECT_EQ(reportTools().size(), 11u);
    EXPECT_STREQ(reportTools()[4].hint, "Database Field tool");
    EXPECT_EQ(adjustDrawnRect(QRect(5, 6, 10, 4)), QRect(5, 6, 50, 15));
    EXPECT_EQ(adjustDrawnRect(QRect(5, 6, 30, 20)), QRect(5, 6, 30, 20));
}

TEST(BandRules, EachToolMakesItsObjectInTheDefaultFont)
{
    Answers answers;
    setDialogs(&answers);
    QObject window;
    DataSurface header(&window, 696, 40), detail(&window, 696, 40), footer(&window, 696, 40);
    Ui ui;
    auto* text = qobject_cast<TGPLabel*>(createBandObject(header, rpkHeader, psLabel, QRect(4, 4, 10, 5), kFont, ui.band()));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Caption, QStringLiteral("Title")); // the text editor opened at once
    EXPECT_EQ(text->Font, kFont);
    EXPECT_GE(text->width(), 50); // 50 wide as drawn, then grown to fit its text
    EXPECT_EQ(text->name(), QStringLiteral("Special1"));
    auto* page = createBandObject(footer, rpkFooter, psPageNumber, QRect(0, 0, 60, 20), kFont, ui.band());
    EXPECT_TRUE(qobject_cast<TGPageNumberLabel*>(page));
    EXPECT_EQ(page->name(), QStringLiteral("Special2")); // names are unique across the bands
    auto* date = qobject_cast<TGDateTimeLabel*>(createBandObject(header, rpkHeader, psDateTime, QRect(0, 0, 60, 20), kFont, ui.band()));
    ASSERT_TRUE(date);
    EXPECT_EQ(date->Font, kFont);
    const std::pair<TRPanelState, int> shapes[] = {{psRectangle, stRectangle}, {psEllipse, stEllipse},
                                                   {psRoundRectangle, stRoundRect}};
    for (const auto& [tool, shape] : shapes) {
        auto* s = qobject_cast<Trpshapes*>(createBandObject(detail, rpkDetail, tool, QRect(0, 0, 60, 20), kFont, ui.band()));
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Shape, shape);
    }
    auto* memo = qobject_cast<TGDMultiLineLabel*>(
        createBandObject(detail, rpkMemo, psMultiLineDataLabel, QRect(0, 0, 60, 20), kFont, ui.band()));
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->DataFieldDescript, QStringLiteral("MEMO"));
    EXPECT_EQ(ui.beeps, 0);

    // A tool in a band that does not take it: a beep, the message, no object.
    const int before = header.objectCount();
    EXPECT_EQ(createBandObject(header, rpkHeader, psDataLabel, QRect(0, 0, 60, 20), kFont, ui.band()), nullptr);
    EXPECT_EQ(createBandObject(detail, rpkDetail, psImage, QRect(0, 0, 60, 20), kFont, ui.band()), nullptr);
    EXPECT_EQ(header.objectCount(), before);
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_EQ(ui.messages, QStringList({"This object may only be used in the detail band",
                                        "This object may only be used in the header band"}));
    setDialogs(nullptr);
    for (DataSurface* b : {&header, &detail, &footer})
        b->freeAllObjects();
}

TEST(BandRules, BandsSitBetweenTheMarginsAndStayWithinThePage)
{
    ReportVars v = ReportVars::defaults(96);
    v.useMemo = true;
    BandLayout l = layoutBands(v, 96);
    // A quarter inch narrower than the room between the margins.
    EXPECT_EQ(l.bandWidth, 816 - 48 - 48 - 24);
    EXPECT_EQ(l.pageAreaHeight, 1056 - 96 + 33 + 100);
    EXPECT_EQ(l.header, 33);
    EXPECT_EQ(l.footer, 0); // unticked
    // A ticked band stored at 0 shows 20 pixels, less what would pass the page.
    v.useFooter = true;
    v.footerHeight = 0;
    EXPECT_EQ(layoutBands(v, 96).footer, 20);
    v.detailHeight = 1056 - 96 - 33 - 5;
    EXPECT_EQ(layoutBands(v, 96).footer, 5);
    EXPECT_EQ(bandHeightLimit(v), 960);

    // Dragging a sizer: never below 0, and the dragged band gives up what passes the limit.
    v = ReportVars::defaults(96);
    v.useFooter = true;
    EXPECT_EQ(sizedBandHeight(v, bandDetail, 33, 100), 133);
    EXPECT_EQ(sizedBandHeight(v, bandDetail, 33, -80), 0);
    EXPECT_EQ(sizedBandHeight(v, bandHeader, 33, 5000), 960 - 33 - 33);
    v.useFooter = false; // an unticked band takes no room
    EXPECT_EQ(sizedBandHeight(v, bandHeader, 33, 5000), 960 - 33);
}

TEST(BandRules, ObjectsBeyondABandAreMovedBackOrDeleted)
{
    QObject window;
    DataSurface band(&window, 200, 40);
    auto add = [&](QRect r) {
        auto* o = new TGPLabel;
        band.placeObject(o, r);
        o->setBounds(r.x(), r.y(), r.width(), r.height());
        return o;
    };
    TGPLabel* low = add(QRect(10, 30, 50, 20));
    TGPLabel* right = add(QRect(180, 0, 50, 20));
    pullBandObjectsInside(band);
    EXPECT_EQ(low->top(), 20);
    EXPECT_EQ(right->left(), 150);
    add(QRect(10, 51, 50, 20));  // 11 pixels beyond the bottom
    add(QRect(211, 0, 50, 20));  // 11 beyond the right edge
    add(QRect(10, 49, 50, 20));  // only 9 beyond: kept
    deleteBandObjectsOutside(band);
    EXPECT_EQ(band.objectCount(), 3);
    band.freeAllObjects();
}

TEST(BandRules, SaveUnticksEmptyBandsAndNeedsOne)
{
    QObject window;
    DataSurface header(&window, 696, 0), detail(&window, 696, 0), footer(&window, 696, 0);
    ReportVars v = ReportVars::defaults(96);
    QString message;
    // All three dragged to nothing and no memo.
    EXPECT_FALSE(finishReportDesign(&v, header, detail, footer, &message));
    EXPECT_EQ(message, QString::fromLatin1(kNoBandMessage));
    EXPECT_FALSE(v.useHeader);
    EXPECT_FALSE(v.useDetail);
    // The memo alone is a report.
    v.useMemo = true;
    EXPECT_TRUE(finishReportDesign(&v, header, detail, footer, &message));

    // A ticked band keeps its objects (but loses those beyond it), an unticked one loses all,
    // and record values are emptied before the file is written.
    v = ReportVars::defaults(96);
    v.useFooter = false;
    header.setSurfaceSize(696, 40);
    detail.setSurfaceSize(696, 25);
    auto* field = new TGPDLabel;
    detail.placeObject(field, QRect(0, 0, 100, 20));
    field->Caption = QStringLiteral("Smith");
    auto* far = new TGPLabel;
    detail.placeObject(far, QRect(0, 0, 100, 20));
    far->setBounds(0, 60, 100, 20);
    footer.placeObject(new TGPLabel, QRect(0, 0, 100, 20));
    ASSERT_TRUE(finishReportDesign(&v, header, detail, footer, &message));
    EXPECT_EQ(detail.objectCount(), 1);
    EXPECT_TRUE(field->Caption.isEmpty());
    EXPECT_EQ(footer.objectCount(), 0);
    EXPECT_EQ(v.headerHeight, 40);
    EXPECT_EQ(v.detailHeight, 25);
    EXPECT_TRUE(v.useHeader && v.useDetail && !v.useFooter);
    detail.freeAllObjects();
}
