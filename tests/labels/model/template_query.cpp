// The template window's query text and opening state, and the query run by the record engine
// over the shipped catalogue choosing the same rows as the in-memory selection.
#include "engine/recordengine.h"
#include "labelstockcatalogue.h"
#include "shippedtables.h"
#include "support_labels.h"
#include "templatequery.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

struct QueryCase {
    const char* maker;
    const char* productType;
    bool european;
    const char* expected;
};

class FilterText : public ::testing::TestWithParam<QueryCase> {};

TEST_P(FilterText, IsBuiltByteForByte)
{
    const QueryCase c = GetParam();
    EXPECT_EQ(templateFilter(c.maker, c.productType, c.european, {"DYMO", "HERMA"}), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, FilterText,
    ::testing::Values(
        QueryCase{"Avery Laserjet", "All", false, " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"LJ\" "},
        QueryCase{"Avery Inkjet", "Address/Shipping Labels", false,
                  " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"IJ\"  and  UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\" "},
        QueryCase{"Avery Dot Matrix", "File Folder Labels", true,
                  " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"DM\"  and  UPPER(PRODTYPE)=\"FILE FOLDER LABELS\"  and "
                  " (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))"},
        QueryCase{"Costar LabelPrinter", "Miscellaneous", false,
                  " UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\"  and  UPPER(PRODTYPE)=\"MISCELLANEOUS\" "},
        // No maker entry selected: the product type alone, then only the paper clause.
        QueryCase{"", "Card Products", false, " UPPER(PRODTYPE)=\"CARD PRODUCTS\" "},
        QueryCase{"", "All", true, " (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))"},
        QueryCase{"", "All", false, ""},
        QueryCase{"All Makers", "Index Products", false, " UPPER(PRODTYPE)=\"INDEX PRODUCTS\" "},
        // Entries of other makers name them.
        QueryCase{"DYMO LabelPrinter", "All", false, " UPPER(manufac)=\"DYMO\"  and  UPPER(printer)=\"LP\" "},
        QueryCase{"HERMA Laserjet", "Diskette Labels", false,
                  " UPPER(manufac)=\"HERMA\"  and  UPPER(printer)=\"LJ\"  and  UPPER(PRODTYPE)=\"DISKETTE LABELS\" "}));

struct StartCase {
    const char* maker;
    const char* printer;
    const char* prodType;
    const char* entry;  // "" = none selected
    const char* productEntry;
    bool seek;
};

class OpeningState : public ::testing::TestWithParam<StartCase> {};

TEST_P(OpeningState, ChoosesEntriesFromTheCurrentDefinition)
{
    const StartCase c = GetParam();
    const QStringList entries = manufacturerEntries({{"DYMO", {"LP"}}, {"HERMA", {"LJ", "IJ"}}});
    LabelSheetDefinition d = avery5160();
    d.manufac = c.maker;
    d.printer = c.printer;
    d.prodType = c.prodType;
    const TemplateWindowStart s = templateWindowStart(d, entries);
    EXPECT_EQ(s.manufacturerIndex < 0 ? QString() : entries[s.manufacturerIndex], QString::fromLatin1(c.entry));
    EXPECT_EQ(productTypeEntries()[s.productTypeIndex], QString::fromLatin1(c.productEntry));
    EXPECT_EQ(s.seekCurrent, c.seek);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, OpeningState,
    ::testing::Values(StartCase{"AVERY", "IJ", "card products", "Avery Inkjet", "Card Products", true},
                      StartCase{"avery", "DM", "INDEX PRODUCTS", "Avery Dot Matrix", "Index Products", true},
                      StartCase{"USER", "", "", "Avery Laserjet", "Address/Shipping Labels", false},
                      StartCase{"NEBS", "LJ", "ADDRESS/SHIPPING LABELS", "", "Address/Shipping Labels", true},
                      StartCase{"COSTAR", "LP", "SOMETHING ELSE", "Costar LabelPrinter", "All", true},
                      StartCase{"AVERY", "LP", "MISCELLANEOUS", "Avery Laserjet", "Miscellaneous", true},
                      StartCase{"HERMA", "IJ", "MISCELLANEOUS", "HERMA Inkjet", "Miscellaneous", true},
                      StartCase{"HERMA", "DM", "MISCELLANEOUS", "Avery Laserjet", "Miscellaneous", true},
                      StartCase{"ACME", "LJ", "", "Avery Laserjet", "All", true}));

TEST(OpeningState, GridSeeksTheTemplateExactlyOrStaysOnTheLastRow)
{
    const QStringList rows = {"Avery 5159  Address", "Avery 5160  Address", "Avery 5161  Address"};
    TemplateWindowStart s;
    EXPECT_EQ(templateStartRow(rows, s, "Avery 5160  Address"), 1);
    EXPECT_EQ(templateStartRow(rows, s, "avery 5160  address"), 2);  // exact comparison
    EXPECT_EQ(templateStartRow(rows, s, "Avery 5160 Address"), 2);
    s.seekCurrent = false;
    EXPECT_EQ(templateStartRow(rows, s, "Avery 5161  Address"), 0);
    EXPECT_EQ(templateStartRow({}, s, "x"), -1);
}

TEST(MakerList, OriginalEntriesFirstThenOtherMakersThenAll)
{
    const QStringList e = manufacturerEntries({{"HERMA", {"LJ", "IJ"}}});
    EXPECT_EQ(e, QStringList({"Avery Laserjet", "Avery Inkjet", "Avery Dot Matrix", "Costar LabelPrinter",
                              "HERMA Laserjet", "HERMA Inkjet", "All Makers"}));
    EXPECT_EQ(productTypeEntries(),
              QStringList({"Address/Shipping Labels", "Card Products", "Diskette Labels", "File Folder Labels",
                           "Index Products", "Miscellaneous", "All"}));
}

// The expression the window hands the engine picks the rows the catalogue's own selection
// picks, for every maker entry and product type, with and without the European filter.
TEST(QueryOnTheEngine, EngineAndCatalogueChooseTheSameRows)
{
    ScratchDir dir;
    QString error;
    ASSERT_TRUE(buildShippedTables(QStringLiteral(POSTAVO_SOURCE_DIR "/data"), dir.path(), &error)) << error.toStdString();
    auto table = engine::Table::open(QFile::encodeName(dir.path("LBLTPL.DBF")).toStdString(), engine::OpenMode::ReadOnly);
    const LabelStockCatalogue catalogue = LabelStockCatalogue::fromTable(*table);
    ASSERT_GT(catalogue.size(), 0);
    table->setOrder("DESCRIPT");

    const QStringList makers = catalogue.otherMakerNames();
    QStringList entries = manufacturerEntries(catalogue.otherMakers());
    entries << QString();  // none selected
    int nonEmpty = 0;
    for (const QString& entry : entries) {
        for (const QString& type : productTypeEntries()) {
            for (bool european : {false, true}) {
                const QString filter = templateFilter(entry, type, european, makers);
                table->setQuery(filter.toStdString());
                QStringList fromEngine;
                for (table->goTop(); !table->eof(); table->skip())
                    fromEngine << QString::fromLatin1(table->getTrimString("DESCRIPT"));
                QStringList fromCatalogue;
                for (int i : catalogue.select(entry, type, european))
                    fromCatalogue << catalogue.rows()[size_t(i)].tplDescrip;
                ASSERT_EQ(fromEngine, fromCatalogue) << filter.toStdString();
                if (!fromEngine.isEmpty())
                    ++nonEmpty;
            }
        }
    }
    // Most choices find stock; the check is not vacuous.
    EXPECT_GT(nonEmpty, int(entries.size()) * 4);
}

} // namespace
