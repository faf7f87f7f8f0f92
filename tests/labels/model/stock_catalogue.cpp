// The shipped label stock catalogue: every row is a sound sheet that fits its paper, there
// are enough real products, descriptions are unique, users find products by maker and
// number.
#include "labelstockcatalogue.h"
#include "shippedcatalogues.h"
#include "support_labels.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

const LabelStockCatalogue& catalogue()
{
    static const LabelStockCatalogue c = [] {
        const auto read = readLabelTemplateCsv(QStringLiteral(POSTAVO_SOURCE_DIR "/data/lbltpl.csv"));
        EXPECT_TRUE(read.ok()) << read.error.toStdString();
        return LabelStockCatalogue::fromRows(read.rows);
    }();
    return c;
}

QStringList descriptions(const std::vector<int>& rows)
{
    QStringList out;
    for (int i : rows)
        out << catalogue().rows()[size_t(i)].tplDescrip;
    return out;
}

TEST(StockCatalogue, EveryRowIsASoundSheetOnItsPaper)
{
    ASSERT_GE(catalogue().size(), 400);
    const QStringList problems = catalogue().check();
    EXPECT_TRUE(problems.isEmpty()) << problems.join("\n").toStdString();
}

TEST(StockCatalogue, DescriptionsAreUniqueAndFollowMakerNumberProduct)
{
    QSet<QString> seen;
    for (const LabelSheetDefinition& d : catalogue().rows()) {
        EXPECT_FALSE(seen.contains(d.tplDescrip.toUpper())) << d.tplDescrip.toStdString();
        seen.insert(d.tplDescrip.toUpper());
        // "Avery 5160  Address": maker, number, two blanks, product.
        EXPECT_TRUE(d.tplDescrip.contains("  ")) << d.tplDescrip.toStdString();
        EXPECT_LE(d.tplDescrip.size(), 60);
        EXPECT_LE(d.manufac.size(), 10);
    }
}

struct SearchCase {
    const char* text;
    const char* mustFind;
    const char* mustNotFind;
};

class Search : public ::testing::TestWithParam<SearchCase> {};

TEST_P(Search, FindsProductsByMakerAndNumber)
{
    const SearchCase c = GetParam();
    const QStringList found = descriptions(catalogue().search(c.text));
    EXPECT_TRUE(found.contains(c.mustFind)) << c.text << ": " << found.join(" | ").toStdString();
    if (*c.mustNotFind) {
        EXPECT_FALSE(found.contains(c.mustNotFind)) << c.text;
    }
    // In description order, as the grid lists them.
    QStringList sorted = found;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.toUpper() < b.toUpper(); });
    EXPECT_EQ(found, sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, Search,
    ::testing::Values(SearchCase{"5160", "Avery 5160  Address", "Avery 5161  Address"},
                      SearchCase{"L7160", "Avery L7160  Address", "Avery J8160  Address"},
                      SearchCase{"7160", "Avery L7160  Address", ""},
                      SearchCase{"avery 8160", "Avery 8160  Address", "Avery 5160  Address"},
                      SearchCase{"AVERY  8160 ", "Avery 8160  Address", ""},
                      SearchCase{"3474", "Avery 3474  Address", ""},
                      SearchCase{"30252", "DYMO 30252  Address", ""},
                      SearchCase{"costar 30252", "CoStar 30252  Address", "DYMO 30252  Address"}));

TEST(StockCatalogue, SearchOfNothingFindsNothingAndUnknownNumbersFindNothing)
{
    EXPECT_TRUE(catalogue().search("").empty());
    EXPECT_TRUE(catalogue().search("   ").empty());
    EXPECT_TRUE(catalogue().search("99999999").empty());
    EXPECT_TRUE(catalogue().search("avery 30252").empty());
}

TEST(StockCatalogue, EveryMakerEntryOfTheWindowFindsStock)
{
    const QStringList entries = manufacturerEntries(catalogue().otherMakers());
    for (const QString& e : entries)
        EXPECT_FALSE(catalogue().select(e, "All", false).empty()) << e.toStdString();
    // Besides Avery, NEBS and CoStar, at least a few other makers have entries.
    EXPECT_GE(catalogue().otherMakers().size(), 3);
    EXPECT_FALSE(catalogue().select("Avery Laserjet", "All", true).empty());
}

} // namespace
