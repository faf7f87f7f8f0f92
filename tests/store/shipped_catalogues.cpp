// The shipped label stock and state/province tables: their text sources parse, and their
// content is sound (every sheet fits its paper, every state and province is there, no two
// states claim the same codes). Also the reader's handling of damaged text.
#include "shippedcatalogues.h"
#include "support_tempdir.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace postavo;

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(POSTAVO_SOURCE_DIR "/data/") + QLatin1String(name);
}

const QList<LabelTemplateRow>& templates()
{
    static const ShippedRead<LabelTemplateRow> r = readLabelTemplateCsv(dataFile("lbltpl.csv"));
    return r.rows;
}

const QList<CszRow>& states()
{
    static const ShippedRead<CszRow> r = readCszCsv(dataFile("csz.csv"));
    return r.rows;
}

// Same text comparison as the state and zip check: character by character.
bool inRange(const QString& zip, const CszRow& r)
{
    return QString::compare(zip, r.lowZip) >= 0 && QString::compare(zip, r.highZip) <= 0;
}

QStringList statesCovering(const QString& zip)
{
    QStringList out;
    for (const CszRow& r : states())
        if (inRange(zip, r))
            out << r.state;
    return out;
}

LabelTemplateRow letterSheet()
{
    LabelTemplateRow t;
    t.descript = "Test";
    t.lblHeight = 1.0;
    t.lblWidth = 2.625;
    t.nbrAcross = 3;
    t.nbrDown = 10;
    t.topMarg = 0.5;
    t.leftMarg = 0.188;
    t.horizPitch = 2.75;
    t.vertPitch = 1.0;
    t.sheetWidth = 8.5;
    t.sheetDepth = 11;
    t.printer = "LJ";
    t.paperSize = "LTR";
    t.lblShape = "RR";
    t.manufac = "AVERY";
    t.prodType = "ADDRESS/SHIPPING LABELS";
    return t;
}

// ---- the label stock catalogue ----

TEST(LabelTemplates, FileParses)
{
    const ShippedRead<LabelTemplateRow> r = readLabelTemplateCsv(dataFile("lbltpl.csv"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_GE(r.rows.size(), 60);
}

TEST(LabelTemplates, EverySheetFitsItsPaperAndUsesKnownCodes)
{
    ASSERT_FALSE(templates().isEmpty());
    for (const LabelTemplateRow& t : templates()) {
        const QStringList geometry = checkLabelGeometry(t);
        EXPECT_TRUE(geometry.isEmpty()) << t.descript.toStdString() << ": " << geometry.join("; ").toStdString();
        const QStringList codes = checkLabelTemplateCodes(t);
        EXPECT_TRUE(codes.isEmpty()) << t.descript.toStdString() << ": " << codes.join("; ").toStdString();
    }
}

TEST(LabelTemplates, DescriptionsAreUniqueAndTheDefaultStockIsListed)
{
    QSet<QString> seen;
    for (const LabelTemplateRow& t : templates()) {
        EXPECT_FALSE(seen.contains(t.descript.toUpper())) << t.descript.toStdString();
        seen.insert(t.descript.toUpper());
    }
    // A new label layout names this template; the template window looks it up exactly.
    bool found = false;
    for (const LabelTemplateRow& t : templates()) {
        if (t.descript == QLatin1String("Avery 5160  Address")) {
            found = true;
            EXPECT_EQ(t.nbrAcross, 3);
            EXPECT_EQ(t.nbrDown, 10);
            EXPECT_DOUBLE_EQ(t.lblWidth, 2.625);
            EXPECT_EQ(t.paperSize, "LTR");
            EXPECT_EQ(t.art, "AV5160");
        }
    }
    EXPECT_TRUE(found);
}

TEST(LabelTemplates, EveryMakerPrinterAndProductGroupIsRepresented)
{
    QSet<QString> makers, printers, groups, papers, combos;
    for (const LabelTemplateRow& t : templates()) {
        makers << t.manufac;
        printers << t.printer;
        groups << t.prodType;
        papers << t.paperSize;
        combos << t.manufac + "/" + t.printer;
    }
    for (const char* m : {"AVERY", "NEBS", "COSTAR"})
        EXPECT_TRUE(makers.contains(m)) << m;
    for (const char* p : {"LJ", "IJ", "DM", "LP"})
        EXPECT_TRUE(printers.contains(p)) << p;
    for (const char* g : {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS", "DISKETTE LABELS", "FILE FOLDER LABELS",
                          "INDEX PRODUCTS", "MISCELLANEOUS"})
        EXPECT_TRUE(groups.contains(g)) << g;
    // The entries of the template window's maker list each find stock.
    for (const char* c : {"AVERY/LJ", "AVERY/IJ", "AVERY/DM", "COSTAR/LP"})
        EXPECT_TRUE(combos.contains(c)) << c;
    // The European filter finds both paper sizes.
    EXPECT_TRUE(papers.contains("A4"));
    EXPECT_TRUE(papers.contains("A5"));
}

TEST(LabelTemplates, AveryArtworkFollowsTheStockNumber)
{
    for (const LabelTemplateRow& t : templates()) {
        if (t.manufac != QLatin1String("AVERY") || t.art.isEmpty())
            continue;
        const QString stock = t.descript.section(' ', 1, 1);
        EXPECT_EQ(t.art, "AV" + stock) << t.descript.toStdString();
    }
}

// ---- the geometry check itself ----

TEST(LabelGeometry, SoundSheetHasNoProblems)
{
    EXPECT_TRUE(checkLabelGeometry(letterSheet()).isEmpty());
}

TEST(LabelGeometry, LabelsRunningOffThePaperAreReported)
{
    LabelTemplateRow t = letterSheet();
    t.horizPitch = 2.8; // 0.188 + 2 * 2.8 + 2.625 = 8.413: still on
    EXPECT_TRUE(checkLabelGeometry(t).isEmpty());
    t.horizPitch = 2.845; // 8.503: within the 0.01 allowance
    EXPECT_TRUE(checkLabelGeometry(t).isEmpty());
    t.horizPitch = 2.86; // 8.533: off the edge
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);

    t = letterSheet();
    t.vertPitch = 1.06; // 0.5 + 9 * 1.06 + 1 = 11.04
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);
}

TEST(LabelGeometry, MiddleGapsCountTowardsTheEdge)
{
    LabelTemplateRow t = letterSheet();
    t.midExtraX = 0.18; // 8.313 + 0.18 still fits
    EXPECT_TRUE(checkLabelGeometry(t).isEmpty());
    t.midExtraX = 0.25; // 8.563 does not
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);
    t = letterSheet();
    t.midExtraY = 0.6; // 10.5 + 0.6
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);
}

TEST(LabelGeometry, PitchCountsAndSizes)
{
    LabelTemplateRow t = letterSheet();
    t.horizPitch = 2.5; // smaller than the label: columns would overlap
    EXPECT_FALSE(checkLabelGeometry(t).isEmpty());
    t = letterSheet();
    t.nbrAcross = 1;
    t.horizPitch = 1.0; // one column: the pitch is never used
    EXPECT_TRUE(checkLabelGeometry(t).isEmpty());
    t = letterSheet();
    t.nbrDown = 0;
    EXPECT_FALSE(checkLabelGeometry(t).isEmpty());
    t = letterSheet();
    t.lblWidth = 0;
    EXPECT_FALSE(checkLabelGeometry(t).isEmpty());
    t = letterSheet();
    t.leftMarg = -0.1;
    EXPECT_FALSE(checkLabelGeometry(t).isEmpty());
}

TEST(LabelGeometry, PaperCodeMustMatchTheSheet)
{
    LabelTemplateRow t = letterSheet();
    t.paperSize = "A4"; // 8.5 x 11 is not A4
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);
    t.paperSize = "LTRL"; // nor letter turned sideways
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);
    t.paperSize = "USERP";
    EXPECT_TRUE(checkLabelGeometry(t).isEmpty());
    t.paperSize = "USERL"; // landscape codes give the long side as the width
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);
    t.paperSize = "ltr";
    EXPECT_EQ(checkLabelGeometry(t).size(), 1);

    LabelTemplateRow a4 = letterSheet();
    a4.paperSize = "A4";
    a4.leftMarg = 0.1;
    a4.sheetWidth = 210 / 25.4;
    a4.sheetDepth = 297 / 25.4;
    EXPECT_TRUE(checkLabelGeometry(a4).isEmpty());
    a4.paperSize = "A4L";
    EXPECT_EQ(checkLabelGeometry(a4).size(), 1);
    EXPECT_TRUE(isLandscapePaper("A4L"));
    EXPECT_FALSE(isLandscapePaper("A4"));
}

// ---- the state and province table ----

TEST(StateTable, FileParsesAndRangesAreSound)
{
    const ShippedRead<CszRow> r = readCszCsv(dataFile("csz.csv"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QStringList problems = checkCszRanges(r.rows);
    EXPECT_TRUE(problems.isEmpty()) << problems.join("\n").toStdString();
}

TEST(StateTable, EveryStateProvinceAndTerritoryIsThere)
{
    QSet<QString> have;
    for (const CszRow& r : states())
        have << r.state;
    const QStringList us = QStringLiteral(
        "AL AK AZ AR CA CO CT DE DC FL GA HI ID IL IN IA KS KY LA ME MD MA MI MN MS MO MT NE NV NH NJ NM NY "
        "NC ND OH OK OR PA RI SC SD TN TX UT VT VA WA WV WI WY").split(' ');
    EXPECT_EQ(us.size(), 51);
    for (const QString& s : us)
        EXPECT_TRUE(have.contains(s)) << s.toStdString();
    for (const char* s : {"PR", "VI", "GU", "AS", "MP", "AA", "AE", "AP"})
        EXPECT_TRUE(have.contains(s)) << s;
    for (const char* s : {"AB", "BC", "MB", "NB", "NL", "NS", "NT", "NU", "ON", "PE", "QC", "SK", "YT"})
        EXPECT_TRUE(have.contains(s)) << s;
}

TEST(StateTable, KnownCodesLandInTheirOwnState)
{
    struct Case {
        const char* zip;
        const char* state;
    };
    const Case cases[] = {
        {"10001", "NY"}, {"14999", "NY"}, {"00501", "NY"}, {"90210", "CA"}, {"20500", "DC"},
        {"20001", "DC"}, {"22201", "VA"}, {"73301", "TX"}, {"79901", "TX"}, {"88510", "TX"},
        {"73102", "OK"}, {"96813", "HI"}, {"96799", "AS"}, {"96910", "GU"}, {"00901", "PR"},
        {"00802", "VI"}, {"09021", "AE"}, {"34002", "AA"}, {"96201", "AP"}, {"05501", "MA"},
        {"05601", "VT"}, {"99501", "AK"}, {"33101", "FL"},
        // Canadian postal codes, typed with the space, without it, or with a hyphen.
        {"K1A 0B1", "ON"}, {"K1A0B1", "ON"}, {"M5V 3L9", "ON"}, {"H2Y 1C6", "QC"}, {"G1R 4P5", "QC"},
        {"V9Z 1A1", "BC"}, {"V9Z1A1", "BC"}, {"V9Z-1A1", "BC"}, {"A1C 5M2", "NL"}, {"X1A 2L9", "NT"},
        {"X0A 0H0", "NU"}, {"Y1A 1A1", "YT"}, {"T5J 0N3", "AB"}, {"C1A 4P3", "PE"}, {"E1C 4M3", "NB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(statesCovering(c.zip), QStringList{c.state}) << c.zip;
    // Outside every range: no state claims them.
    for (const char* zip : {"00000", "00100", "99999-", "Z1A 1A1", "D1A 1A1"})
        EXPECT_TRUE(statesCovering(zip).isEmpty()) << zip;
}

TEST(StateTable, ASplitStateListsItsMainRangeFirst)
{
    // The check's seek lands on the first row of an abbreviation, so that row should hold
    // the range most addresses fall in.
    QHash<QString, QString> first;
    for (const CszRow& r : states())
        if (!first.contains(r.state))
            first.insert(r.state, r.lowZip);
    EXPECT_EQ(first["NY"], "10000");
    EXPECT_EQ(first["TX"], "75000");
    EXPECT_EQ(first["VA"], "22000");
    EXPECT_EQ(first["DC"], "20000");
}

TEST(StateTable, RangeCheckFindsOverlapsAndBackwardRanges)
{
    QList<CszRow> rows = {
        {"New York", "NY", "10000", "14999", 2},
        {"New York", "NY", "00500", "00599", 3}, // same state may have several ranges
        {"Pennsylvania", "PA", "15000", "19699", 4},
    };
    EXPECT_TRUE(checkCszRanges(rows).isEmpty());
    rows.append({"Bad", "XX", "14000", "15000", 5});
    EXPECT_EQ(checkCszRanges(rows).size(), 2); // overlaps both NY and PA
    rows.removeLast();
    rows.append({"Bad", "XX", "30000", "20000", 5});
    EXPECT_EQ(checkCszRanges(rows).size(), 1);
}

// ---- damaged text ----

TEST(ShippedCsv, QuotingAndLineEnds)
{
    const QByteArray text = "NAME,STATE,LOW_ZIP,HIGH_ZIP\r\n"
                            "\"Say \"\"Hi\"\", Inc\",XY,\"A0A 0A0\",A9Z9Z9\r\n"
                            "\n"
                            "Plain,ZZ,,\n";
    const ShippedRead<CszRow> r = parseCszCsv(text, "t.csv");
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.rows[0].name, "Say \"Hi\", Inc");
    EXPECT_EQ(r.rows[0].lowZip, "A0A 0A0");
    EXPECT_EQ(r.rows[0].highZip, "A9Z9Z9");
    EXPECT_EQ(r.rows[1].line, 4);
    EXPECT_EQ(r.rows[1].highZip, "");

    // Columns may come in any order; a missing final line end is fine.
    const ShippedRead<CszRow> swapped = parseCszCsv("STATE,NAME,HIGH_ZIP,LOW_ZIP\nNY,New York,14999,10000", "t.csv");
    ASSERT_TRUE(swapped.ok()) << swapped.error.toStdString();
    EXPECT_EQ(swapped.rows[0].lowZip, "10000");
}

TEST(ShippedCsv, MalformedLinesGiveAnErrorNamingTheLine)
{
    struct Case {
        const char* text;
        const char* expect; // part of the message
    };
    const Case cases[] = {
        {"", "empty"},
        {"NAME,STATE,LOW_ZIP\nA,B,C\n", "HIGH_ZIP is missing"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP,EXTRA\n", "unknown field EXTRA"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP,NAME\n", "twice"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\nA,B,C\n", "line 2: 3 fields"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\nA,B,C,D,\n", "line 2: 5 fields"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\n\"A,B,C,D\n", "line 2: a quoted field is not closed"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\n\"A\"x,B,C,D\n", "text follows the closing quote"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\nA\"b,B,C,D\n", "quote inside unquoted field"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\nQu\xc3\xa9" "bec,QC,C,D\n", "outside plain ASCII"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\nA\tB,C,D,E\n", "control character"},
        {"NAME,STATE,LOW_ZIP,HIGH_ZIP\nA,TOOLONG,C,D\n", "longer than 4"},
    };
    for (const Case& c : cases) {
        const ShippedRead<CszRow> r = parseCszCsv(QByteArray(c.text), "t.csv");
        EXPECT_FALSE(r.ok()) << c.text;
        EXPECT_TRUE(r.rows.isEmpty());
        EXPECT_TRUE(r.error.contains(QLatin1String(c.expect))) << r.error.toStdString() << " / " << c.expect;
        EXPECT_TRUE(r.error.startsWith("t.csv")) << r.error.toStdString();
    }
}

TEST(ShippedCsv, NumbersMustFitTheirFields)
{
    const QByteArray header = "DESCRIPT,LBLHEIGHT,LBLWIDTH,NBRACROSS,NBRDOWN,TOPMARG,LEFTMARG,HORIZPITCH,VERTPITCH,"
                              "SHEETWIDTH,SHEETDEPTH,PRINTER,PAPERSIZE,LBLSHAPE,MANUFAC,PRODTYPE,MIDEXTRAX,MIDEXTRAY,ART\n";
    auto row = [&](const char* height, const char* across) {
        return header + QByteArray("X,") + height + ",2.625," + across +
               ",10,0.500,0.188,2.750,1.000,8.500,11.000,LJ,LTR,RR,AVERY,ADDRESS/SHIPPING LABELS,0,0,AV5160\n";
    };
    const ShippedRead<LabelTemplateRow> good = parseLabelTemplateCsv(row("1.000", "3"), "t.csv");
    ASSERT_TRUE(good.ok()) << good.error.toStdString();
    EXPECT_DOUBLE_EQ(good.rows[0].lblHeight, 1.0);
    EXPECT_EQ(good.rows[0].nbrAcross, 3);
    EXPECT_EQ(good.rows[0].line, 2);

    const struct {
        const char* height;
        const char* across;
        const char* expect;
    } bad[] = {
        {"1.0005", "3", "more than 3 decimals"},
        {"abc", "3", "not a number"},
        {"1.", "3", "not a number"},
        {"", "3", "not a number"},
        {"100.000", "3", "does not fit"},
        {"1.000", "2.5", "not a whole number"},
        {"1.000", "100", "does not fit"},
    };
    for (const auto& b : bad) {
        const ShippedRead<LabelTemplateRow> r = parseLabelTemplateCsv(row(b.height, b.across), "t.csv");
        EXPECT_FALSE(r.ok()) << b.height << " " << b.across;
        EXPECT_TRUE(r.error.contains(QLatin1String(b.expect))) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains("line 2")) << r.error.toStdString();
    }
}

TEST(ShippedCsv, MissingFileIsAnError)
{
    test::ScratchDir d;
    const ShippedRead<CszRow> r = readCszCsv(d.path("nothere.csv"));
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains("nothere.csv"));
}

} // namespace
