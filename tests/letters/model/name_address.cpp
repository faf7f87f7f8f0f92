// The composed name, the city/state/zip value and the name and address block for records with
// and without their optional parts.
#include "lettermerge.h"

#include <gtest/gtest.h>

using namespace postavo::letters;

TEST(NameAndAddress, ComposedName)
{
    MergeRecord r;
    r.prefix = "Mr.";
    r.first = "John";
    r.last = "Smith";
    EXPECT_EQ(composedName(r), "Mr. John Smith ");
    r.middle = "Q";
    EXPECT_EQ(composedName(r), "Mr. John Q. Smith ");
    EXPECT_EQ(composedName(MergeRecord{}), "");
    MergeRecord onlyLast;
    onlyLast.last = "Smith";
    EXPECT_EQ(composedName(onlyLast), "Smith ");
}

TEST(NameAndAddress, CityStateZipAgainstTheBlocksCityLine)
{
    MergeRecord r;
    r.city = "Boston";
    r.state = "MA";
    r.zip = "02134";
    EXPECT_EQ(cityStateZipValue(r), "Boston MA 02134");
    EXPECT_EQ(nameAndAddress(r), "Boston MA  02134\r\n");
    r.zip.clear();
    EXPECT_EQ(cityStateZipValue(r), "Boston MA");
    EXPECT_EQ(nameAndAddress(r), "Boston MA\r\n");
    r.zip = "02134";
    r.state.clear();
    EXPECT_EQ(cityStateZipValue(r), "Boston  02134");
    EXPECT_EQ(nameAndAddress(r), "Boston  02134\r\n");
}

TEST(NameAndAddress, BlockVariants)
{
    MergeRecord r;
    r.zip = "02134";
    EXPECT_EQ(nameAndAddress(r), "02134\r\n");

    // No name: the block starts with the organisation line; no street 2, no country.
    MergeRecord org;
    org.org = "Acme";
    org.street = "1 Main St";
    org.city = "Boston";
    org.state = "MA";
    org.zip = "02134";
    EXPECT_EQ(nameAndAddress(org), "Acme\r\n1 Main St\r\nBoston MA  02134\r\n");
    org.title = "Director";
    org.street2 = "Suite 4";
    org.country = "USA";
    org.first = "Ann";
    EXPECT_EQ(nameAndAddress(org), "Ann \r\nDirector,  Acme\r\n1 Main St\r\nSuite 4\r\nBoston MA  02134\r\nUSA\r\n");
    // Title without organisation.
    MergeRecord title;
    title.title = "Director";
    title.last = "Smith";
    EXPECT_EQ(nameAndAddress(title), "Smith \r\nDirector\r\n");
    EXPECT_EQ(nameAndAddress(MergeRecord{}), "");
}
