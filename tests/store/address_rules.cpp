// Rules of address files that need no table: names, widths, calculated values.
#include "addressfields.h"
#include "settings.h"
#include "support_tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;

namespace {

void touch(const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); }

TEST(AddressFileNames, ProposalTakesTheFirstGapInAnyLetterCase)
{
    test::ScratchDir d;
    EXPECT_EQ(proposeAddressFileName(d.path()), "ADD0001");
    touch(d.path("ADD0001.DBF"));
    touch(d.path("add0002.dbf"));
    touch(d.path("ADD0004.DBF"));
    touch(d.path("ADD0003.CDX"));  // only the table counts
    EXPECT_EQ(proposeAddressFileName(d.path()), "ADD0003");
}

TEST(AddressFileNames, IdentifierRule)
{
    for (const char* ok : {"_LIST", "A", "list_2", "ADD0001", "z9_"})
        EXPECT_TRUE(isValidFileIdentifier(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"", "1LIST", "MY-LIST", "MY LIST", "A.B", "\xC3\xA9t\xC3\xA9"})
        EXPECT_FALSE(isValidFileIdentifier(QString::fromUtf8(bad))) << bad;
}

TEST(NewFileFieldLengths, StoredWidthsOutside5To80FallBackToDefaults)
{
    test::ScratchDir d;
    Settings s(d.path("postav.ini"));
    s.writeInteger("NewFileFieldLengths", "FieldZIP", 3);
    s.writeInteger("NewFileFieldLengths", "FieldLNAME", 81);
    s.writeInteger("NewFileFieldLengths", "FieldCITY", 5);
    s.writeInteger("newfilefieldlengths", "fieldfax", 80);
    const FieldLengths l = readNewFileFieldLengths(s);
    EXPECT_EQ(l.size(), 18);
    EXPECT_EQ(l["ZIP"], 10);
    EXPECT_EQ(l["LNAME"], 30);
    EXPECT_EQ(l["CITY"], 5);
    EXPECT_EQ(l["FAX"], 80);
    EXPECT_EQ(l["USER2"], 40);

    FieldLengths w = l;
    w["STATE"] = 200;  // sanitised again before saving
    ASSERT_TRUE(writeNewFileFieldLengths(s, w));
    EXPECT_EQ(s.readInteger("NewFileFieldLengths", "FieldSTATE", 0), 20);
}

TEST(NewFileFieldLengths, TypedBoxesAccept10To80AndDefaultsButtonHasShortFax)
{
    int v = 0;
    EXPECT_FALSE(acceptsTypedFieldLength("9"));
    EXPECT_FALSE(acceptsTypedFieldLength("81"));
    EXPECT_FALSE(acceptsTypedFieldLength("12.5"));
    EXPECT_FALSE(acceptsTypedFieldLength("abc"));
    EXPECT_TRUE(acceptsTypedFieldLength("10", &v));
    EXPECT_EQ(v, 10);
    EXPECT_TRUE(acceptsTypedFieldLength("80", &v));
    EXPECT_EQ(v, 80);
    EXPECT_EQ(defaultFieldLengths()["FAX"], 40);
    EXPECT_EQ(defaultButtonFieldLengths()["FAX"], 30);
    EXPECT_EQ(defaultButtonFieldLengths()["EMAIL"], 40);
}

TEST(AddressLayout, FieldsAndTagsInCreationOrder)
{
    const auto& f = addressFields();
    EXPECT_STREQ(f.front().name, "LNAME");
    EXPECT_STREQ(f[20].name, "ISDEL");
    EXPECT_EQ(f[20].type, 'L');
    EXPECT_STREQ(f.back().name, "MEMO");
    EXPECT_EQ(adjustableFieldNames().size(), 18);
    EXPECT_STREQ(addressTags()[0].name, "NAME");
    EXPECT_STREQ(addressTags()[23].key, "UPPER(STATE-ZIP)");
    // Lookup order names exactly the created tags.
    QSet<QString> created, looked;
    for (const auto& t : addressTags()) created.insert(t.name);
    for (const char* n : validIndexLookupOrder()) looked.insert(n);
    EXPECT_EQ(created, looked);
}

TEST(CalculatedValues, DisplayDateNeedsARealDate)
{
    EXPECT_EQ(displayDate("20240230", "MM/dd/yyyy"), "");
    EXPECT_EQ(displayDate("19991231", "M/d/yyyy"), "12/31/1999");
    EXPECT_EQ(displayDate("19991231xxxxxxx", "dd.MM.yyyy"), "31.12.1999");
    EXPECT_EQ(displayDate("", "M/d/yyyy"), "");
    EXPECT_EQ(displayDate("1999123", "M/d/yyyy"), "");
    EXPECT_EQ(displayDate("1999-12-", "M/d/yyyy"), "");
}

TEST(CalculatedValues, ShortDateFormatGetsAFourDigitYear)
{
    EXPECT_EQ(displayDateFormatFor(QLocale(QLocale::English, QLocale::UnitedStates)), "M/d/yyyy");
    EXPECT_EQ(displayDateFormatFor(QLocale(QLocale::German, QLocale::Germany)), "dd.MM.yyyy");
    const QString sys = displayDateFormat();
    EXPECT_TRUE(sys.contains("yyyy")) << sys.toStdString();
    EXPECT_FALSE(sys.contains("yyyyy"));
}

TEST(CalculatedValues, NamesAndPlaces)
{
    EXPECT_EQ(fullName("John", "Q", "Smith"), "John Q Smith");
    EXPECT_EQ(fullName("John", "", "Smith"), "John Smith");
    EXPECT_EQ(fullNameWithPrefix("Dr.", "John", "Q", "Smith"), "Dr. John Q Smith");
    EXPECT_EQ(fullNameWithPrefix("", "John", "", "Smith"), "John Smith");
    EXPECT_EQ(cityStateZip("Boston", "MA", "02110"), "Boston MA 02110");
    EXPECT_EQ(cityStateZip("", "MA", "02110"), "MA 02110");
    EXPECT_EQ(cityStateZip("Boston", "", "02110"), "Boston 02110");
}

} // namespace
