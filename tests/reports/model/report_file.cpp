// A banded report's settings and file: the stored values of a new report, lengths through the
// screen's pixels and back, the file written, read and written again byte for byte, and files
// whose settings list is short, longer, damaged or absent.
#include "classregistry.h"
#include "composedtextobjects.h"
#include "designhost.h"
#include "layoutstream.h"
#include "reportfile.h"
#include "reportvars.h"
#include "shapeobjects.h"
#include "testsupport.h"
#include "textobjects.h"

#include <gtest/gtest.h>

using namespace postavo::design;
using namespace postavo::reports;
using postavo::testing::readBytes;
using postavo::testing::scratchDir;
using postavo::testing::writeBytes;

namespace {

struct Bands {
    QObject owner;
    ObjectList header{&owner}, detail{&owner}, footer{&owner};
    ~Bands()
    {
        header.freeAllObjects();
        detail.freeAllObjects();
        footer.freeAllObjects();
    }
};

template <class T>
T* add(ObjectList& band, QRect r)
{
    auto* o = new T;
    o->setObjectName(uniqueComponentName(band.ownerWindow(), QStringLiteral("Special"), 1));
    o->setParent(band.ownerWindow());
    band.insertObject(o);
    o->setBounds(r.x(), r.y(), r.width(), r.height());
    return o;
}

QVariantList values(const ReportSettings& s) { return QVariantList(s.values.begin(), s.values.end()); }

// A settings list written value by value, `count` of them (more than 50 repeat integers).
QByteArray settingsList(const ReportSettings& s, int count, int brokenAt = -1)
{
    LayoutWriter w;
    w.listBegin();
    for (int i = 0; i < count; ++i) {
        if (i == brokenAt) {
            w.string("not a number");
            continue;
        }
        const QVariant v = i < ReportSettings::kCount ? s.values[std::size_t(i)] : QVariant(7);
        switch (i < ReportSettings::kCount ? ReportSettings::kinds()[i] : 'I') {
        case 'I': w.integer(v.toInt()); break;
        case 'B': w.boolean(v.toBool()); break;
        default: w.string(v.toString().toLatin1()); break;
        }
    }
    w.listEnd();
    return w.bytes();
}

const QByteArray kEmptyBands = QByteArray::fromHex("010001000100");

} // namespace

TEST(ReportSettingsValues, ANewReportStoresItsDefaults)
{
    const ReportVars v = ReportVars::defaults(96);
    EXPECT_EQ(v.pageWidth, 816);
    EXPECT_EQ(v.pageHeight, 1056);
    EXPECT_EQ(v.headerHeight, 33);
    EXPECT_EQ(v.pageDescription(96), QStringLiteral("Letter Size, Portrait"));
    const QVariantList expected = {8500, 11000, 500, 500, 500, 500, 343, 343, 343, true, true, false, false,
                                   "Arial", 10, false, false, 0, "Arial", 10, false, false,
                                   false, false, false, false, 1, 0, 16777215, false, false, false, false, 1, 0, 16777215,
                                   false, false, false, false, 1, 0, 16777215, false, false, false, false, 1, 0, 16777215};
    EXPECT_EQ(values(v.toSettings(96)), expected);
}

TEST(ReportSettingsValues, LengthsGoThroughPixelsAndPaperIsFoundFromThem)
{
    // Stored = Trunc(pixels / ppi x 1000); read = Round(stored x 0.001 x ppi), half to even.
    EXPECT_EQ(ReportVars::storedLength(33, 96), 343);
    EXPECT_EQ(ReportVars::pixelLength(343, 96), 33);
    EXPECT_EQ(ReportVars::storedLength(33, 120), 275);
    EXPECT_EQ(ReportVars::pixelLength(11680, 96), 1121);
    EXPECT_EQ(ReportVars::pixelLength(5, 100), 0);  // 0.5 rounds to 0
    EXPECT_EQ(ReportVars::pixelLength(15, 100), 2); // 1.5 rounds to 2

    ReportVars v = ReportVars::defaults(96);
    v.setPaper({PaperSize::Letter, true}, 96);
    EXPECT_EQ(v.toSettings(96).values[0].toInt(), 11000);
    EXPECT_EQ(v.toSettings(96).values[1].toInt(), 8500);
    EXPECT_EQ(v.pageDescription(96), QStringLiteral("Letter Size, Landscape"));
    v.setPaper({PaperSize::A4, false}, 120);
    EXPECT_EQ(v.pageWidth, 992);  // Trunc(8.27 x 120)
    EXPECT_EQ(v.pageHeight, 1401); // Trunc(11.68 x 120)
    EXPECT_EQ(v.exactPaper(120), (ReportPaper{PaperSize::A4, false}));
    // A report designed at 120 pixels per inch, read on a 96 screen: no exact match, the nearest.
    EXPECT_FALSE(v.exactPaper(96));
    EXPECT_EQ(v.paper(96), (ReportPaper{PaperSize::A4, false}));
    // A footer 40 percent grey at black fills with 153, 153, 153.
    EXPECT_EQ(shadeFill(0, 40), QColor(153, 153, 153));
    EXPECT_EQ(shadeFill(255, 0), QColor(255, 255, 255));
    EXPECT_EQ(shadeFill(clWhite, 100), QColor(255, 255, 255));
}

TEST(ReportFile, WrittenReadAndWrittenAgainByteForByte)
{
    registerStandardDesignClasses();
    const QString dir = scratchDir("report-roundtrip");
    Bands bands;
    add<TGPLabel>(bands.header, QRect(8, 4, 200, 20))->setCaption(QStringLiteral("Monthly list"));
    add<TGPageNumberLabel>(bands.header, QRect(600, 4, 40, 20));
    auto* field = add<TGPDLabel>(bands.detail, QRect(0, 0, 180, 20));
    field->DataFieldName = QStringLiteral("LNAME");
    field->DataFieldDescript = QStringLiteral("Last Name");
    auto* box = add<Trpshapes>(bands.footer, QRect(0, 2, 696, 10));
    box->Shape = stRoundRect;
    add<TGDateTimeLabel>(bands.footer, QRect(500, 12, 150, 20));

    ReportVars v = ReportVars::defaults(96);
    v.setPaper({PaperSize::A4, true}, 96);
    v.marginLeft = 75;
    v.headerHeight = 40;
    v.detailHeight = 25;
    v.footerHeight = 50;
    v.useMemo = v.useFooter = true;
    v.memoFontName = QStringLiteral("Times New Roman");
    v.memoFontSize = 12;
    v.memoItalic = true;
    v.memoAlignment = memoCentred;
    v.defaultBold = true;
    v.bands[bandFooter] = {true, false, true, true, 2, 40, 0};
    v.bands[bandMemo].shadePercent = 20;

    const QString first = dir + "/BIN00001.R";
    QString error;
    ASSERT_TRUE(writeReportFile(first, bands.header, bands.detail, bands.footer, v, 96, &error)) << error.toStdString();

    Bands back;
    ReportVars read = ReportVars::defaults(96);
    const ReportFileRead r = readReportFile(first, back.header, back.detail, back.footer, &read, 96);
    EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join("; ").toStdString();
    EXPECT_EQ(r.settingsValues, 50);
    EXPECT_EQ(back.header.objectCount(), 2);
    EXPECT_EQ(back.detail.objectCount(), 1);
    EXPECT_EQ(back.footer.objectCount(), 2);
    EXPECT_EQ(read, v);
    const QString second = dir + "/BIN00002.R";
    ASSERT_TRUE(writeReportFile(second, back.header, back.detail, back.footer, read, 96, &error));
    // Objects read are named afresh ("Component0" ...), so the second file differs from the first
    // in the names only; from then on the file is read and written again unchanged.
    const QByteArray settings = settingsList(v.toSettings(96), 50);
    EXPECT_TRUE(readBytes(first).endsWith(settings));
    EXPECT_TRUE(readBytes(second).endsWith(settings));
    Bands again;
    ReportVars reread = ReportVars::defaults(96);
    readReportFile(second, again.header, again.detail, again.footer, &reread, 96);
    ASSERT_TRUE(writeReportFile(dir + "/BIN00004.R", again.header, again.detail, again.footer, reread, 96, &error));
    EXPECT_EQ(readBytes(dir + "/BIN00004.R"), readBytes(second));

    // A report with empty bands is three empty lists and the settings.
    Bands empty;
    const QString third = dir + "/BIN00003.R";
    ASSERT_TRUE(writeReportFile(third, empty.header, empty.detail, empty.footer, ReportVars::defaults(96), 96, &error));
    const QByteArray bytes = readBytes(third);
    EXPECT_EQ(bytes.left(6), kEmptyBands);
    EXPECT_EQ(bytes.mid(6), settingsList(ReportVars::defaults(96).toSettings(96), 50));
}

TEST(ReportFile, StoredLengthsSurviveAScreenThatCannotHoldThem)
{
    // 11.68 inches stored as 11680 reads as 1121 pixels at 96 ppi, which would write 11677: the
    // length read and left alone is written back as it was stored.
    const QString dir = scratchDir("report-lengths");
    ReportSettings s = ReportVars::defaults(96).toSettings(96);
    s.values[0] = 8270;
    s.values[1] = 11680;
    s.values[6] = 347;
    const QByteArray file = kEmptyBands + settingsList(s, 50);
    writeBytes(dir + "/BIN00001.R", file);
    Bands bands;
    ReportVars v;
    const ReportFileRead r = readReportFile(dir + "/BIN00001.R", bands.header, bands.detail, bands.footer, &v, 96);
    EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join("; ").toStdString();
    EXPECT_EQ(v.paper(96), (ReportPaper{PaperSize::A4, false}));
    QString error;
    ASSERT_TRUE(writeReportFile(dir + "/again.R", bands.header, bands.detail, bands.footer, v, 96, &error));
    EXPECT_EQ(readBytes(dir + "/again.R"), file);
    // A length the designer changed is stored from its pixels.
    v.headerHeight += 1;
    EXPECT_EQ(v.toSettings(96).values[6].toInt(), ReportVars::storedLength(v.headerHeight, 96));
}

TEST(ReportFile, ShortLongerDamagedAndMissingSettingsAreToldAndDefaulted)
{
    registerStandardDesignClasses();
    const QString dir = scratchDir("report-damaged");
    ReportSettings s = ReportVars::defaults(96).toSettings(96);
    s.values[9] = false;  // no header
    s.values[14] = 14;    // memo font size
    s.values[26] = 3;     // header line width
    auto read = [&](const QByteArray& bytes, ReportVars* v) {
        writeBytes(dir + "/BIN00001.R", bytes);
        Bands bands;
        *v = ReportVars::defaults(96);
        return readReportFile(dir + "/BIN00001.R", bands.header, bands.detail, bands.footer, v, 96);
    };
    ReportVars v;

    // Short (an older kind of file): the 30 values there count, the others are defaults.
    ReportFileRead r = read(kEmptyBands + settingsList(s, 30), &v);
    EXPECT_EQ(r.settingsValues, 30);
    EXPECT_FALSE(v.useHeader);
    EXPECT_EQ(v.memoFontSize, 14);
    EXPECT_EQ(v.bands[bandHeader].lineWidth, 3);
    EXPECT_EQ(v.bands[bandFooter].lineWidth, 1);
    EXPECT_TRUE(r.message("BIN00001.R").contains(QStringLiteral("30 of the 50")));

    // Longer (a later version): the first fifty count, the rest is passed over.
    r = read(kEmptyBands + settingsList(s, 53), &v);
    EXPECT_EQ(r.settingsValues, 50);
    EXPECT_FALSE(v.useHeader);
    EXPECT_TRUE(r.message("BIN00001.R").contains(QStringLiteral("3 report settings more")));

    // Damaged at value 16 (a text where a yes/no belongs): what came before stays.
    r = read(kEmptyBands + settingsList(s, 50, 15), &v);
    EXPECT_EQ(r.settingsValues, 15);
    EXPECT_EQ(v.memoFontSize, 14);
    EXPECT_EQ(v.bands[bandHeader].lineWidth, 1);
    EXPECT_TRUE(r.message("BIN00001.R").contains(QStringLiteral("setting 16")));

    // Cut off in the middle of the list, and with no settings at all.
    r = read(kEmptyBands + settingsList(s, 50).left(40), &v);
    EXPECT_FALSE(r.problems.isEmpty());
    EXPECT_EQ(v.bands[bandFooter].lineWidth, 1);
    r = read(kEmptyBands, &v);
    EXPECT_EQ(r.settingsValues, 0);
    EXPECT_EQ(v, ReportVars::defaults(96));
    EXPECT_TRUE(r.message("BIN00001.R").contains(QStringLiteral("ends before")));

    // An unknown class in the detail band: the header's objects stay, the settings keep defaults.
    LayoutWriter w;
    w.listBegin();
    w.listEnd();
    w.listBegin();
    w.bytes().append("TPF0");
    w.shortString("TNoSuchThing");
    w.shortString("Special1");
    w.byte(0);
    w.byte(0);
    w.listEnd();
    r = read(w.bytes() + QByteArray::fromHex("0100") + settingsList(s, 50), &v);
    EXPECT_FALSE(r.objectsComplete);
    EXPECT_TRUE(r.message("BIN00001.R").contains(QStringLiteral("TNoSuchThing")));
    EXPECT_EQ(v, ReportVars::defaults(96));

    // A missing file reads nothing and says nothing.
    Bands bands;
    v = ReportVars::defaults(96);
    v.useMemo = true;
    r = readReportFile(dir + "/none.R", bands.header, bands.detail, bands.footer, &v, 96);
    EXPECT_FALSE(r.exists);
    EXPECT_TRUE(r.message("none.R").isEmpty());
    EXPECT_TRUE(v.useMemo);
}

TEST(ReportFile, ValuesOutOfTheirRangesAreBroughtBack)
{
    ReportVars v = ReportVars::defaults(96);
    v.pageWidth = 0;
    v.detailHeight = 5000;
    v.headerHeight = -4;
    v.marginTop = v.marginBottom = 600;
    v.bands[bandDetail].lineWidth = 9;
    v.bands[bandMemo].shadePercent = 250;
    v.memoAlignment = 7;
    v.memoFontSize = 0;
    const QStringList fixes = v.sanitise(96);
    EXPECT_EQ(fixes.size(), 8) << fixes.join("; ").toStdString();
    EXPECT_EQ(v.pageWidth, 816);
    EXPECT_EQ(v.marginTop, 48);
    EXPECT_EQ(v.headerHeight, 0);
    EXPECT_EQ(v.detailHeight, 1056 - 96); // no higher than the page between its margins
    EXPECT_EQ(v.bands[bandDetail].lineWidth, 3);
    EXPECT_EQ(v.bands[bandMemo].shadePercent, 100);
    EXPECT_EQ(v.memoAlignment, memoLeft);
    EXPECT_EQ(v.memoFontSize, 10);
    EXPECT_TRUE(v.sanitise(96).isEmpty());

    // Paper a quarter inch high cannot hold half-inch margins: it is Letter again, and what was
    // brought back stays as it is when brought back a second time.
    ReportVars tiny = ReportVars::defaults(96);
    tiny.pageHeight = 24;
    EXPECT_FALSE(tiny.sanitise(96).isEmpty());
    EXPECT_EQ(tiny.pageHeight, 1056);
    EXPECT_GE(tiny.headerHeight, 0);
    EXPECT_TRUE(tiny.sanitise(96).isEmpty());
}
