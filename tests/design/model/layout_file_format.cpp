// The layout file's byte form: the example file byte for byte, integer and text tags, defaults
// left out, contained objects, report files, and every class read back as written.
#include "testsupport.h"

#include "classregistry.h"
#include "composedtextobjects.h"
#include "labelobjectfiler.h"
#include "layoutstream.h"
#include "multilineobjects.h"
#include "shapeobjects.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::testing::goldenPath;
using postavo::testing::readBytes;
using postavo::testing::scratchDir;
using postavo::testing::writeBytes;

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

class LayoutFormat : public ::testing::Test {
protected:
    void SetUp() override { registerStandardDesignClasses(); }
};

TGPLabel* exampleText(ObjectList& list)
{
    auto* t = new TGPLabel;
    t->setObjectName(QStringLiteral("Special1"));
    t->setParent(list.ownerWindow());
    list.insertObject(t);
    t->setBounds(8, 16, 142, 33);
    return t;
}

} // namespace

TEST_F(LayoutFormat, ExampleLabelFileIsWrittenByteForByte)
{
    ObjectList list;
    exampleText(list);
    const QByteArray golden = readBytes(goldenPath(QStringLiteral("one_text.L")));
    ASSERT_EQ(golden.size(), 189);
    EXPECT_EQ(TGLabelObjectFiler::objectListBytes(list.designObjects()).toHex(' '), golden.toHex(' '));

    const QString path = scratchDir(QStringLiteral("example")) + QStringLiteral("/BIN00000.L");
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.writeSurface(list, path));
    EXPECT_EQ(readBytes(path), golden);
}

TEST_F(LayoutFormat, ExampleFileReadsBackAsTheSameObject)
{
    ObjectList list;
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.readIntoSurface(list, goldenPath(QStringLiteral("one_text.L")))) << filer.lastError().toStdString();
    ASSERT_EQ(list.objectCount(), 1);
    auto* t = dynamic_cast<TGPLabel*>(list.designObjects()[0]);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->name(), QStringLiteral("Component0"));
    EXPECT_EQ(t->boundsRect(), QRect(8, 16, 142, 33));
    EXPECT_EQ(t->Caption, QStringLiteral("Text"));
    EXPECT_EQ(t->Font.height, -13);
    EXPECT_EQ(t->Font.name, QStringLiteral("Arial"));
    EXPECT_TRUE(t->Transparent);
    EXPECT_EQ(t->BackColor, clWhite);
    EXPECT_TRUE(t->menuBuilt());
    // Written again it differs only in the name.
    t->setObjectName(QStringLiteral("Special1"));
    EXPECT_EQ(TGLabelObjectFiler::objectListBytes(list.designObjects()), readBytes(goldenPath(QStringLiteral("one_text.L"))));
}

TEST_F(LayoutFormat, IntegersTakeTheSmallestTag)
{
    const struct { qint64 value; const char* bytes; } rows[] = {
        {0, "02 00"}, {127, "02 7F"}, {-128, "02 80"}, {128, "03 80 00"}, {-129, "03 7F FF"},
        {32767, "03 FF 7F"}, {-32768, "03 00 80"}, {32768, "04 00 80 00 00"}, {40000, "04 40 9C 00 00"},
        {-2147483647 - 1, "04 00 00 00 80"},
    };
    for (const auto& row : rows) {
        LayoutWriter w;
        w.integer(row.value);
        EXPECT_EQ(w.bytes(), hex(row.bytes)) << row.value;
        LayoutReader r(w.bytes());
        EXPECT_EQ(r.integerAfter(r.valueTag()), row.value);
    }
}

TEST_F(LayoutFormat, LongTextsUseTheLongStringTag)
{
    ObjectList list;
    TGPLabel* t = exampleText(list);
    t->Caption = QString(299, QLatin1Char('x')) + QChar(0x00E9); // 300 bytes in Windows-1252
    const QByteArray bytes = TGLabelObjectFiler::objectListBytes(list.designObjects());
    EXPECT_TRUE(bytes.contains(QByteArray("Caption") + hex("0C 2C 01 00 00") + QByteArray(299, 'x') + char(0xE9)));

    ObjectList back;
    TGLabelObjectFiler filer;
    int pos = 0;
    ASSERT_TRUE(filer.readObjectList(bytes, &pos, back));
    EXPECT_EQ(static_cast<TGPLabel*>(back.designObjects()[0])->Caption, t->Caption);

    // 255 bytes still fit the short tag.
    t->Caption = QString(255, QLatin1Char('y'));
    EXPECT_TRUE(TGLabelObjectFiler::objectListBytes(list.designObjects()).contains(QByteArray("Caption") + hex("06 FF")));
}

TEST_F(LayoutFormat, DefaultPenLeavesNoEntriesAndChangesAreStored)
{
    ObjectList list;
    auto* s = new TGLabelShapes;
    list.insertObject(s);
    QByteArray bytes = TGLabelObjectFiler::objectListBytes(list.designObjects());
    EXPECT_FALSE(bytes.contains("Pen."));
    EXPECT_FALSE(bytes.contains("Brush."));
    EXPECT_FALSE(bytes.contains("RoundPerc"));
    EXPECT_TRUE(bytes.contains(QByteArray("\x0BTransparent\x08", 13)));

    s->Pen.width = 3;
    s->Pen.color = 255;
    s->Brush.color = 0x123456;
    bytes = TGLabelObjectFiler::objectListBytes(list.designObjects());
    EXPECT_TRUE(bytes.contains(QByteArray("\x09Pen.Color\x07\x05" "clRed", 17)));
    EXPECT_TRUE(bytes.contains(QByteArray("\x09Pen.Width\x02\x03", 12)));
    EXPECT_TRUE(bytes.contains(QByteArray("\x0B" "Brush.Color", 12) + hex("04 56 34 12 00")));
}

TEST_F(LayoutFormat, ReadingNamesObjectsUniqueInTheWindow)
{
    QObject window;
    QObject existing(&window);
    existing.setObjectName(QStringLiteral("Component0"));
    ObjectList list(&window);
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.readIntoSurface(list, goldenPath(QStringLiteral("one_text.L"))));
    ASSERT_EQ(list.objectCount(), 1);
    EXPECT_EQ(list.designObjects()[0]->name(), QStringLiteral("Component1"));
}

TEST_F(LayoutFormat, EmptyReportFileIsThreeEmptyListsAndTheSettings)
{
    ObjectList header, detail, footer;
    const ReportSettings settings = ReportSettings::defaults(96);
    const QString path = scratchDir(QStringLiteral("report")) + QStringLiteral("/BIN00001.R");
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.writeReport(header, detail, footer, settings, path));
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.startsWith(hex("01 00 01 00 01 00 01 03 34 21 03 F8 2A 03 F4 01")));
    EXPECT_TRUE(bytes.endsWith(hex("08 02 00 02 00 02 00 00")));
    // The band heights: 33 pixels at 96 ppi are 343 thousandths.
    EXPECT_EQ(settings.values[6].toInt(), 343);

    ReportSettings back;
    ASSERT_TRUE(filer.readReport(header, detail, footer, &back, path)) << filer.lastError().toStdString();
    EXPECT_EQ(back.values.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(back.values[i], settings.values[i]) << i;
    EXPECT_EQ(header.objectCount() + detail.objectCount() + footer.objectCount(), 0);
}

TEST_F(LayoutFormat, ReportBandsKeepTheirOwnObjects)
{
    ObjectList header, detail, footer;
    exampleText(detail)->Caption = QStringLiteral("detail");
    auto* page = new TGPageNumberLabel;
    footer.insertObject(page);
    ReportSettings settings = ReportSettings::defaults(96);
    settings.values[13] = QStringLiteral("Times New Roman");
    const QString path = scratchDir(QStringLiteral("report-bands")) + QStringLiteral("/BIN00002.R");
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.writeReport(header, detail, footer, settings, path));

    QObject window;
    ObjectList h(&window), d(&window), f(&window);
    ReportSettings back;
    ASSERT_TRUE(filer.readReport(h, d, f, &back, path));
    EXPECT_EQ(h.objectCount(), 0);
    ASSERT_EQ(d.objectCount(), 1);
    ASSERT_EQ(f.objectCount(), 1);
    EXPECT_EQ(static_cast<TGPLabel*>(d.designObjects()[0])->Caption, QStringLiteral("detail"));
    EXPECT_EQ(f.designObjects()[0]->className(), QByteArray("TGPageNumberLabel"));
    EXPECT_EQ(f.designObjects()[0]->name(), QStringLiteral("Component1")); // names unique across the bands
    EXPECT_EQ(back.values[13].toString(), QStringLiteral("Times New Roman"));
}

TEST_F(LayoutFormat, EveryClassReadsBackAsWritten)
{
    QObject window;
    ObjectList list(&window);
    int n = 0;
    for (const QByteArray& cls : registeredDesignClasses()) {
        TGGraphicControl* o = (*findDesignClass(cls))();
        o->setParent(&window);
        o->setObjectName(QStringLiteral("Component%1").arg(n));
        list.insertObject(o);
        o->setBounds(n, 2 * n, 40 + n, 300 + n);
        o->Locked = n % 2;
        ++n;
    }
    EXPECT_EQ(n, 16) << "the fifteen classes of old and the Intelligent Mail barcode";
    auto* ml = static_cast<TGMultiLineLabel*>(list.designObjects()[6]);
    ml->Items = QStringList{QStringLiteral("one"), QString(), QString(260, QLatin1Char('z'))};
    auto* img = static_cast<TGImage*>(list.designObjects()[12]);
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    img->Picture = LayoutPicture::fromImage(picture);
    const QByteArray written = TGLabelObjectFiler::objectListBytes(list.designObjects());
    EXPECT_TRUE(written.contains("Items.Strings"));
    EXPECT_TRUE(written.contains("Picture.Data"));

    QObject other;
    ObjectList back(&other);
    TGLabelObjectFiler filer;
    int pos = 0;
    ASSERT_TRUE(filer.readObjectList(written, &pos, back)) << filer.lastError().toStdString();
    EXPECT_EQ(pos, written.size());
    ASSERT_EQ(back.objectCount(), 16);
    EXPECT_EQ(TGLabelObjectFiler::objectListBytes(back.designObjects()), written);
    EXPECT_EQ(static_cast<TGImage*>(back.designObjects()[12])->Picture.image().pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(LayoutFormat, NamesAndValuesAreMatchedWithoutRegardToCase)
{
    LayoutWriter w;
    w.listBegin();
    w.bytes().append("TPF0");
    w.shortString("tgplabel");
    w.shortString("x");
    w.shortString("LEFT");
    w.integer(300);
    w.shortString("font.height");
    w.integer(-16);
    w.shortString("alignment");
    w.ident("TARIGHTJUSTIFY");
    w.shortString("BackColor");
    w.ident("CLRED");
    w.shortString("colorShadow");
    w.integer(0x00FF00);
    w.shortString("Font.Style");
    w.set({"FSITALIC", "fsBold"});
    w.shortString("Cursor");
    w.ident("crHandPoint");
    w.shortString("OnClick");
    w.ident("LabelClick"); // a handler that no longer exists is skipped
    w.byte(0);
    w.byte(0);
    w.listEnd();
    ObjectList list;
    TGLabelObjectFiler filer;
    int pos = 0;
    ASSERT_TRUE(filer.readObjectList(w.bytes(), &pos, list)) << filer.lastError().toStdString();
    auto* t = static_cast<TGPLabel*>(list.designObjects()[0]);
    EXPECT_EQ(t->left(), 300);
    EXPECT_EQ(t->Font.height, -16);
    EXPECT_EQ(t->Alignment, taRightJustify);
    EXPECT_EQ(t->BackColor, 255);
    EXPECT_EQ(t->colorShadow, 0x00FF00);
    EXPECT_EQ(t->Font.style, fsBold | fsItalic);
    EXPECT_EQ(t->Cursor, -21);
}

namespace {

// Two complete text objects and a third that breaks in the way `damage` says.
QByteArray twoGoodThenBad(const std::function<void(LayoutWriter&)>& damage)
{
    ObjectList list;
    for (int i = 0; i < 2; ++i) {
        auto* t = new TGPLabel;
        t->setObjectName(QStringLiteral("T%1").arg(i));
        list.insertObject(t);
    }
    LayoutWriter w;
    w.listBegin();
    for (auto* o : list.designObjects())
        TGLabelObjectFiler::writeObjectRecord(w, *o);
    damage(w);
    return w.bytes();
}

struct ReadErrorCase {
    const char* title;
    std::function<void(LayoutWriter&)> damage;
    QString message;
};

} // namespace

TEST_F(LayoutFormat, ReadErrorsStopAndKeepTheObjectsReadWhole)
{
    const std::vector<ReadErrorCase> cases = {
        {"signature", [](LayoutWriter& w) { w.bytes().append("TPF1"); }, QStringLiteral("Invalid stream format")},
        {"class", [](LayoutWriter& w) { w.bytes().append("TPF0"); w.shortString("TGWidget"); w.shortString("a"); },
         QStringLiteral("Class TGWidget not found")},
        {"property", [](LayoutWriter& w) {
             w.bytes().append("TPF0"); w.shortString("TGPLabel"); w.shortString("a");
             w.shortString("Font.Colour"); w.ident("clRed"); },
         QStringLiteral("Error reading Component2.Font.Colour: Property does not exist")},
        {"enumeration", [](LayoutWriter& w) {
             w.bytes().append("TPF0"); w.shortString("TGPLabel"); w.shortString("a");
             w.shortString("Alignment"); w.ident("taJustify"); },
         QStringLiteral("Error reading Component2.Alignment: Invalid property value")},
        {"colour", [](LayoutWriter& w) {
             w.bytes().append("TPF0"); w.shortString("TGPLabel"); w.shortString("a");
             w.shortString("BackColor"); w.ident("clSunset"); },
         QStringLiteral("Error reading Component2.BackColor: Invalid property value")},
        {"kind", [](LayoutWriter& w) {
             w.bytes().append("TPF0"); w.shortString("TGPLabel"); w.shortString("a");
             w.shortString("Left"); w.string("ten"); },
         QStringLiteral("Error reading Component2.Left: Invalid property value")},
        {"short", [](LayoutWriter& w) {
             w.bytes().append("TPF0"); w.shortString("TGPLabel"); w.shortString("a");
             w.shortString("Caption"); w.byte(vaLString); w.bytes().append(hex("FF FF FF 7F")); w.bytes().append("ab"); },
         QStringLiteral("Stream read error")},
        {"end", [](LayoutWriter& w) { w.bytes().append("TP"); }, QStringLiteral("Stream read error")},
    };
    for (const auto& c : cases) {
        QObject window;
        ObjectList list(&window);
        TGLabelObjectFiler filer;
        int pos = 0;
        EXPECT_FALSE(filer.readObjectList(twoGoodThenBad(c.damage), &pos, list)) << c.title;
        EXPECT_EQ(filer.lastError(), c.message) << c.title;
        ASSERT_EQ(list.objectCount(), 2) << c.title;
        for (auto* o : list.designObjects())
            EXPECT_TRUE(o->menuBuilt()) << c.title; // never left without its context menu
        EXPECT_EQ(window.findChildren<TGGraphicControl*>().size(), 2) << c.title;
    }
}

TEST_F(LayoutFormat, DuplicateNameWhenNoNumberIsFree)
{
    QObject window;
    for (int n = 0; n <= 1000; ++n)
        (new QObject(&window))->setObjectName(QStringLiteral("Component%1").arg(n));
    (new QObject(&window))->setObjectName(QStringLiteral("Special1"));
    ObjectList list(&window);
    TGLabelObjectFiler filer;
    EXPECT_FALSE(filer.readIntoSurface(list, goldenPath(QStringLiteral("one_text.L"))));
    EXPECT_EQ(filer.lastError(), QStringLiteral("A component named Special1 already exists"));
    EXPECT_EQ(list.objectCount(), 0);
}

TEST_F(LayoutFormat, MissingFilesAndUnwritablePaths)
{
    ObjectList list;
    TGLabelObjectFiler filer;
    EXPECT_TRUE(filer.readIntoSurface(list, scratchDir(QStringLiteral("missing")) + QStringLiteral("/none.L")));
    EXPECT_EQ(list.objectCount(), 0);

    exampleText(list);
    const QString dir = scratchDir(QStringLiteral("unwritable"));
    EXPECT_FALSE(filer.writeSurface(list, dir + QStringLiteral("/no/such/folder/x.L")));
    EXPECT_TRUE(filer.lastError().startsWith(QStringLiteral("Cannot create file ")));
    EXPECT_TRUE(filer.lastError().endsWith(QStringLiteral("x.L")));
}

TEST_F(LayoutFormat, ExtendedRealsAreRead)
{
    // 1.0 and -2.5 as x87 extended reals.
    const unsigned char one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    const unsigned char m25[10] = {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0};
    EXPECT_DOUBLE_EQ(extendedToDouble(one), 1.0);
    EXPECT_DOUBLE_EQ(extendedToDouble(m25), -2.5);
    QByteArray bytes(1, char(vaExtended));
    bytes.append(reinterpret_cast<const char*>(m25), 10);
    LayoutReader r(bytes);
    EXPECT_DOUBLE_EQ(r.realAfter(r.valueTag()), -2.5);
}

TEST_F(LayoutFormat, ContainedObjectsCompareByValue)
{
    LayoutPen a, b;
    EXPECT_TRUE(a == b);
    b.width = 2;
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(LayoutFont::fromPoints(QStringLiteral("Arial"), 10) == LayoutFont());
}
