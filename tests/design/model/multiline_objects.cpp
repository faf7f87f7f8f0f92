// Multi-line objects on screen and on paper: the lines in use, placeholders, printed line
// clipping and alignment, the address block and memo read from a real address file, fitToLines,
// the menus and dialogs.
#include "addressdata.h"
#include "addressfile.h"
#include "devices.h"
#include "multilineobjects.h"
#include "objectdialogs.h"
#include "printcanvas.h"
#include "testsupport.h"
#include "textdialogs.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::design;
using postavo::printing::RecordingDevice;
using postavo::printing::TextOp;
using postavo::printing::TPrintCanvas;

namespace {

std::vector<TextOp> printTexts(TGGraphicControl& o, double dpi = 300)
{
    RecordingDevice device(QSizeF(8.5, 11), dpi);
    TPrintCanvas canvas;
    canvas.setDevice(&device);
    canvas.execute([](TPrintCanvas&) {}, [&](TPrintCanvas& c) { o.printObject(c, 0, 0); });
    std::vector<TextOp> out;
    for (const auto& op : device.page(0))
        if (auto* t = std::get_if<TextOp>(&op))
            out.push_back(*t);
    return out;
}

struct AnsweringDialogs : ObjectDialogs {
    QStringList text;
    addressblock::Options layout;
    bool answer = true;
    bool multiLineText(QStringList* lines, const LayoutFont&) override
    {
        *lines = text;
        return answer;
    }
    bool addressLayout(addressblock::Options* o) override
    {
        *o = layout;
        return answer;
    }
};

struct CountingHost : ObjectList {
    int changes = 0;
    void labelChanged() override { ++changes; }
};

} // namespace

TEST(MultiLine, TwoAndAHalfPrintLinesPrintTwoAndAHalf)
{
    TGMultiLineLabel o;
    o.Items = {"one", "two", "three", "four"};
    // 40 pixels at 96 ppi are 125 dots at 300 dpi; a 10-point line is Round(10/60 x 300) = 50 dots.
    o.setBounds(0, 0, 190, 40);
    const auto texts = printTexts(o);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "one");
    EXPECT_EQ(texts[2].text, "three");
    EXPECT_NEAR(texts[0].clip.height(), 50 / 300.0, 1e-9);
    EXPECT_NEAR(texts[1].clip.top(), 50 / 300.0, 1e-9);
    EXPECT_NEAR(texts[2].clip.top(), 100 / 300.0, 1e-9);
    EXPECT_NEAR(texts[2].clip.height(), 25 / 300.0, 1e-9);
    EXPECT_NEAR(texts[2].clip.bottom(), 125 / 300.0, 1e-9);
    EXPECT_EQ(texts[0].font.points, 10);
}

TEST(MultiLine, PrintedAlignment)
{
    TGMultiLineLabel o;
    o.Items = {"Right"};
    o.setBounds(96, 0, 96, 40);
    o.Alignment = taRightJustify;
    TPrintCanvas probe;
    auto texts = printTexts(o);
    ASSERT_EQ(texts.size(), 1u);
    // Ends one screen pixel (3 dots) short of the object's right edge at 2 inches.
    RecordingDevice d;
    TPrintCanvas c;
    c.setDevice(&d);
    double width = 0;
    c.execute([](TPrintCanvas&) {}, [&](TPrintCanvas& cc) {
        cc.setFont("Arial", 10);
        width = cc.textWidth("Right");
    });
    const int t = int(std::nearbyint(width * 300));
    EXPECT_NEAR(texts[0].origin.x(), 1.0 + (300 - t - 3) / 300.0, 1e-9);
    o.Alignment = taCenter;
    texts = printTexts(o);
    EXPECT_NEAR(texts[0].origin.x(), 1.0 + (150 - t / 2 + 3) / 300.0, 1e-9);
}

TEST(MultiLine, EmptyObjectsPrintNothingAndShowPlaceholders)
{
    TGMultiLineLabel plain;
    EXPECT_TRUE(printTexts(plain).empty());
    TGDMultiLineLabel memo;
    EXPECT_TRUE(memo.memoPlaceholder);
    EXPECT_FALSE(plain.memoPlaceholder);
    // A single blank line shows the placeholder below it: something is drawn on the second row.
    plain.Items = {"   "};
    plain.setBounds(0, 0, 190, 40);
    QImage img(190, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        plain.paint(p);
    }
    const int h = plain.screenLineHeight();
    bool inkBelow = false;
    for (int y = h; y < std::min(40, 2 * h); ++y)
        for (int x = 0; x < 60; ++x)
            inkBelow |= img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(inkBelow);
}

TEST(MultiLine, WordWrapFollowsTheWidthAndFitToLines)
{
    TGMultiLineLabel o;
    o.Items = {"alpha beta gamma delta"};
    o.setBounds(0, 0, 400, 20);
    o.setWordWrap(true);
    EXPECT_EQ(o.wrappedLines, QStringList({"alpha beta gamma delta"}));
    o.setWidth(60);
    EXPECT_GT(o.wrappedLines.size(), 1);
    EXPECT_EQ(o.linesInUse(), o.wrappedLines);
    o.fitToLines();
    EXPECT_EQ(o.height(), int(o.wrappedLines.size()) * o.screenLineHeight());
    o.setWordWrap(false);
    EXPECT_EQ(o.linesInUse(), o.Items);
    o.fitToLines();
    EXPECT_GT(o.width(), 60);
    EXPECT_EQ(o.height(), o.screenLineHeight());
}

TEST(MultiLine, WrappedObjectReadFromALayoutPrintsWrapped)
{
    // As the layout reader leaves it: WordWrap and Items set, no wrap run yet.
    TGMultiLineLabel o;
    o.setLoading(true);
    o.setBounds(0, 0, 70, 100);
    o.Items = {"alpha beta gamma delta"};
    o.WordWrap = true;
    o.setLoading(false);
    const auto texts = printTexts(o);
    ASSERT_GT(texts.size(), 1u);
    EXPECT_EQ(texts[0].text.trimmed(), o.wrappedLines.first().trimmed());
    // Lines changed directly are wrapped again before printing.
    o.Items = {"one"};
    const auto again = printTexts(o);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].text, "one");
}

TEST(MultiLine, PrintingAfterZoomingWrapsAsAtFullSize)
{
    TGMultiLineLabel o;
    o.Items = {"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda"};
    o.setBounds(0, 0, 150, 200);
    o.setWordWrap(true);
    QStringList atOne;
    for (const TextOp& t : printTexts(o))
        atOne << t.text.trimmed();
    ASSERT_GT(atOne.size(), 1);
    for (const float zoom : {1.5f, 0.5f, 2.0f}) {
        SCOPED_TRACE(zoom);
        o.setZoom(zoom);
        o.setZoom(1.0f);
        ASSERT_EQ(o.width(), 150);
        QStringList again;
        for (const TextOp& t : printTexts(o))
            again << t.text.trimmed();
        EXPECT_EQ(again, atOne);
    }
}

TEST(MultiLine, MenusAndTextEditor)
{
    CountingHost host;
    auto* o = new TGMultiLineLabel;
    host.insertObject(o);
    o->loaded();
    for (const char* entry : {"Font", "Alignment", "Left", "Center", "Right", "Text", "Word Wrap"})
        EXPECT_NE(o->findMenuEntry(entry), nullptr) << entry;
    o->findMenuEntry("Center")->run();
    EXPECT_EQ(o->Alignment, taCenter);
    EXPECT_TRUE(o->findMenuEntry("Center")->checked());
    AnsweringDialogs d;
    d.text = {"first", "second"};
    setObjectDialogs(&d);
    const int before = host.changes;
    o->findMenuEntry("Text")->run();
    EXPECT_EQ(o->Items, QStringList({"first", "second"}));
    EXPECT_GT(host.changes, before);
    d.answer = false;
    d.text = {"not taken"};
    o->editText();
    EXPECT_EQ(o->Items, QStringList({"first", "second"}));
    setObjectDialogs(nullptr);
    host.freeAllObjects();
}

TEST(AddressObject, ComposesFromTheCurrentRecordAndPrints)
{
    const QString dir = postavo::testing::scratchDir("objects-address");
    ASSERT_TRUE(postavo::testing::makeAddressRecords(
        dir + "/add0001.DBF",
        {{{"PREFIX", "Mr."}, {"FNAME", "John"}, {"MIDDLE", "Q"}, {"LNAME", "Smith"}, {"ORG", "Acme"},
          {"STREET", "123 Main St"}, {"CITY", "Springfield"}, {"STATE", "IL"}, {"ZIP", "62701"},
          {"MEMO", "Line one\r\nLine two"}}}));
    AddressTable table;
    ASSERT_TRUE(table.openShared(dir + "/add0001.DBF", true));
    ASSERT_TRUE(table.first());
    ObjectList host;
    host.setDataset(&table);
    auto* a = new TGDMultiLineAddressLabel;
    host.insertObject(a);
    a->setBounds(0, 0, 300, 100);
    a->refreshData();
    EXPECT_EQ(a->Items, QStringList({"Mr. John Q. Smith ", "Acme", "123 Main St", "Springfield  IL 62701"}));
    a->UpperCase = true;
    a->UseCompany = false;
    a->refreshData();
    EXPECT_EQ(a->Items, QStringList({"MR. JOHN Q. SMITH ", "123 MAIN ST", "SPRINGFIELD  IL 62701"}));
    host.setPrinting(true);
    a->refreshData();
    const auto texts = printTexts(*a);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "123 MAIN ST");
    host.setPrinting(false);

    host.setDisplayDataValues(false);
    a->refreshData();
    EXPECT_EQ(a->Items, QStringList({"[Address Label]"}));
    a->clearData();
    EXPECT_TRUE(a->Items.isEmpty());

    // The memo object finds the memo by its display label.
    auto* m = new TGDMultiLineLabel;
    host.insertObject(m);
    m->setBounds(0, 0, 300, 60);
    m->DataFieldName = "Memo";
    m->DataFieldDescript = "MEMO";
    m->refreshData();
    EXPECT_EQ(m->Items, QStringList({"[MEMO]"}));
    host.setDisplayDataValues(true);
    m->refreshData();
    EXPECT_EQ(m->Items, QStringList({"Line one", "Line two"}));
    m->DataFieldDescript = "Nothing";
    m->refreshData();
    EXPECT_EQ(m->Items, QStringList({"<undefined memo>"}));
    host.setPrinting(true);
    m->refreshData();
    EXPECT_TRUE(m->Items.isEmpty());
    host.setPrinting(false);
    host.freeAllObjects();
    table.close();
}

TEST(AddressObject, LayoutDialogStoresTheChoices)
{
    ObjectList host;
    host.setDisplayDataValues(false);
    auto* a = new TGDMultiLineAddressLabel;
    host.insertObject(a);
    a->loaded();
    AnsweringDialogs d;
    d.layout.usePhone = true;
    d.layout.zip = addressblock::ZipPlace::BeforeCountry;
    d.layout.upperCase = true;
    setObjectDialogs(&d);
    ASSERT_NE(a->findMenuEntry("Address Layout"), nullptr);
    a->findMenuEntry("Address Layout")->run();
    setObjectDialogs(nullptr);
    EXPECT_TRUE(a->UsePhone);
    EXPECT_EQ(a->ZipOptions, zoBeforeCountry);
    EXPECT_TRUE(a->UpperCase);
    EXPECT_EQ(a->Items, QStringList({"[Address Label]"}));
    host.freeAllObjects();
}
