// The address block's lines: the name line, the optional lines, the city and country lines for
// every zip place, phone and capitals, and a failing field read.
#include "addressblock.h"
#include "testsupport.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace postavo::design::addressblock;

namespace {

struct Record {
    QMap<QString, QString> values;
    QString failing; // a field whose read fails
    FieldGetter getter() const
    {
        return [this](const QString& f) -> std::optional<QString> {
            if (f == failing)
                return std::nullopt;
            return values.value(f);
        };
    }
};

Record cityRecord()
{
    Record r;
    r.values = {{"CITY", "C"}, {"STATE", "S"}, {"ZIP", "Z"}, {"COUNTRY", "K"}};
    return r;
}

Options only(bool cityState, bool zip, bool country, ZipPlace place)
{
    Options o;
    o.useName = o.useTitle = o.useCompany = o.useStreet = o.useStreet2 = false;
    o.useCityState = cityState;
    o.useZip = zip;
    o.useCountry = country;
    o.zip = place;
    return o;
}

} // namespace

TEST(AddressBlock, NameLine)
{
    EXPECT_EQ(nameLine("Mr.", "John", "Q", "Smith"), "Mr. John Q. Smith ");
    EXPECT_EQ(nameLine("Mr.", "John", "", "Smith"), "Mr. John Smith ");
    EXPECT_EQ(nameLine("", "", "", "Smith"), "Smith ");
    EXPECT_EQ(nameLine("", "John", "Quincy", "Adams"), "John Quincy. Adams ");
    EXPECT_EQ(nameLine("", "", "", ""), "");
    // A middle name of spaces gets no full stop.
    EXPECT_EQ(nameLine("", "Ann", "  ", "Lee"), "Ann Lee ");
}

TEST(AddressBlock, FullRecordInOrderWithoutBlankLines)
{
    Record r;
    r.values = {{"PREFIX", "Mr."}, {"FNAME", "John"}, {"MIDDLE", "Q"}, {"LNAME", "Smith"}, {"TITLE", "Director"},
                {"ORG", ""}, {"STREET", "123 Main St"}, {"STREET2", "Suite 5"}, {"CITY", "Springfield"},
                {"STATE", "IL"}, {"ZIP", "62701"}, {"COUNTRY", ""}, {"PHONE", "555-1234"}};
    Options o;
    EXPECT_EQ(compose(o, r.getter()),
              QStringList({"Mr. John Q. Smith ", "Director", "123 Main St", "Suite 5", "Springfield  IL 62701"}));
    o.usePhone = true;
    o.upperCase = true;
    EXPECT_EQ(compose(o, r.getter()), QStringList({"MR. JOHN Q. SMITH ", "DIRECTOR", "123 MAIN ST", "SUITE 5",
                                                   "SPRINGFIELD  IL 62701", "555-1234"}));
    o.useName = o.useTitle = o.useStreet2 = false;
    EXPECT_EQ(compose(o, r.getter()).first(), "123 MAIN ST");
}

TEST(AddressBlock, CityAndCountryLinesForEveryZipPlace)
{
    const Record r = cityRecord();
    EXPECT_EQ(compose(only(true, true, false, ZipPlace::AfterState), r.getter()), QStringList({"C  S Z"}));
    EXPECT_EQ(compose(only(true, true, true, ZipPlace::AfterState), r.getter()), QStringList({"C  S Z", "K"}));
    EXPECT_EQ(compose(only(true, true, false, ZipPlace::BeforeCity), r.getter()), QStringList({"Z C S "}));
    EXPECT_EQ(compose(only(true, true, true, ZipPlace::BeforeCity), r.getter()), QStringList({"Z C S ", "K"}));
    EXPECT_EQ(compose(only(true, true, true, ZipPlace::AfterCountry), r.getter()), QStringList({"C S", "K Z"}));
    EXPECT_EQ(compose(only(true, true, true, ZipPlace::BeforeCountry), r.getter()), QStringList({"C S", "Z K"}));
    EXPECT_EQ(compose(only(true, true, false, ZipPlace::AfterCountry), r.getter()), QStringList({"C S", "Z"}));
    EXPECT_EQ(compose(only(true, true, false, ZipPlace::BeforeCountry), r.getter()), QStringList({"C S", "Z"}));
    // Zip off: city and state with one space; the country alone.
    EXPECT_EQ(compose(only(true, false, true, ZipPlace::AfterState), r.getter()), QStringList({"C S", "K"}));
    EXPECT_EQ(compose(only(true, false, true, ZipPlace::AfterCountry), r.getter()), QStringList({"C S", "K"}));
    // City and state off: the zip alone where it stands.
    EXPECT_EQ(compose(only(false, true, false, ZipPlace::AfterState), r.getter()), QStringList({"Z"}));
    EXPECT_EQ(compose(only(false, true, false, ZipPlace::BeforeCity), r.getter()), QStringList({"Z"}));
    EXPECT_EQ(compose(only(false, true, true, ZipPlace::AfterCountry), r.getter()), QStringList({"K Z"}));
    EXPECT_EQ(compose(only(false, true, false, ZipPlace::BeforeCountry), r.getter()), QStringList({"Z"}));
    EXPECT_EQ(compose(only(false, false, false, ZipPlace::AfterState), r.getter()), QStringList());
}

TEST(AddressBlock, EmptyPartsGiveNoLine)
{
    Record r;
    r.values = {{"CITY", ""}, {"STATE", ""}, {"ZIP", ""}, {"COUNTRY", ""}};
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(compose(only(true, true, true, ZipPlace(p)), r.getter()), QStringList()) << p;
    // Only the state: the space that joins city and state stays in front of it.
    r.values["STATE"] = "S";
    EXPECT_EQ(compose(only(true, true, false, ZipPlace::AfterState), r.getter()), QStringList({" S "}));
    // A country without zip keeps the space that joins them.
    r.values["COUNTRY"] = "K";
    EXPECT_EQ(compose(only(false, true, true, ZipPlace::AfterCountry), r.getter()), QStringList({"K "}));
}

TEST(AddressBlock, FailingReadKeepsTheLinesBeforeIt)
{
    Record r = cityRecord();
    r.values.insert({{"PREFIX", ""}, {"FNAME", "Ann"}, {"MIDDLE", ""}, {"LNAME", "Lee"}, {"TITLE", ""},
                     {"ORG", "Acme"}, {"STREET", "1 Elm"}, {"STREET2", ""}});
    r.failing = "STREET";
    Options o;
    o.upperCase = true;
    EXPECT_EQ(compose(o, r.getter()), QStringList({"ANN LEE ", "ACME"}));
    r.failing = "ZIP";
    EXPECT_EQ(compose(o, r.getter()), QStringList({"ANN LEE ", "ACME", "1 ELM"}));
}

TEST(AddressBlock, CapitalsKeepTheLength)
{
    EXPECT_EQ(upper(QString::fromUtf8("straße müller")), QString::fromUtf8("STRAßE MÜLLER"));
}
