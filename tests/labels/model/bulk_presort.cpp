// The bulk-mail presort: zip keys and which records count, the grouping of a small hand-checked
// list into 5-digit, 3-digit, ADC and unknown groups, the ADC table as it stands, and the presort
// file read from an address file under a filter and written whole.
#include "adctable.h"
#include "bulkmailpresort.h"
#include "support_runs.h"

#include <QFile>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

using Lines = std::vector<std::string>;

Lines presortOf(const std::vector<std::pair<std::string, int>>& pieces)
{
    ZipTallyLists tallies;
    for (const auto& [key, n] : pieces)
        for (int i = 0; i < n; ++i)
            tallies.add(key);
    return presortLines(tallies);
}

TEST(BulkPresort, zipKeysAndWhichRecordsCount)
{
    EXPECT_EQ(zipKey("12345-6789"), "12345");
    EXPECT_EQ(zipKey("1234      "), "1234");
    EXPECT_EQ(zipKey("12"), "12");
    EXPECT_TRUE(zipKeyInRange("12345"));
    EXPECT_TRUE(zipKeyInRange("1234"));
    EXPECT_TRUE(zipKeyInRange("00000"));
    EXPECT_TRUE(zipKeyInRange("99999"));
    EXPECT_FALSE(zipKeyInRange(""));
    EXPECT_FALSE(zipKeyInRange("A1234"));
    EXPECT_FALSE(zipKeyInRange(" 1234"));
    EXPECT_FALSE(zipKeyInRange("9999A"));  // greater than "99999-999"
}

TEST(BulkPresort, packagesNeedTenPieces)
{
    EXPECT_EQ(presortOf({{"12345", 10}}), Lines({"** 5-digit 12345", "12345"}));
    // Nine pieces make no package; the key goes to its ADC.
    EXPECT_EQ(presortOf({{"12345", 9}}), Lines({"** ADC ALBANY NY 120", "12345"}));
    // Neighbouring keys of one prefix add up to a 3-digit package.
    EXPECT_EQ(presortOf({{"60601", 4}, {"60602", 3}, {"60610", 3}}),
              Lines({"** 3-digit 606", "60601", "60602", "60610"}));
    EXPECT_EQ(presortOf({{"60601", 4}, {"60602", 3}, {"60610", 2}}),
              Lines({"** ADC CHICAGO IL 606", "60601", "60602", "60610"}));
}

TEST(BulkPresort, aHandCheckedListInEveryGroup)
{
    const Lines got = presortOf({
        {"90210", 12},  // 5-digit
        {"02134", 10},  // 5-digit, digit 0 comes first
        {"30301", 6},  {"30305", 5},   // 3-digit 303
        {"12345", 2},  {"12601", 1},   // ALBANY NY 120 (row 1)
        {"58102", 1},                  // "FARGO ND  580", two blanks as stored
        {"00012", 1},  {"1234", 1},    // 000 is in no row; 1234 is a four-character key of ALBANY
        {"99501", 3},                  // ANCHORAGE AK 995
        {"12", 1},                     // "12" is found in the first row holding those characters
    });
    const Lines want = {
        "** 5-digit 02134", "02134",
        "** 5-digit 90210", "90210",
        "** 3-digit 303", "30301", "30305",
        "** ADC ALBANY NY 120", "12", "1234", "12345", "12601",
        "** ADC ANCHORAGE AK 995", "99501",
        "** ADC FARGO ND  580", "58102",
        "** Unknown", "00012",
    };
    EXPECT_EQ(got, want);
    // No unknown heading when every key found a group.
    const Lines known = presortOf({{"99501", 1}});
    EXPECT_EQ(known, Lines({"** ADC ANCHORAGE AK 995", "99501"}));
}

TEST(BulkPresort, theAdcTableAsItStands)
{
    const auto& t = adcTable();
    EXPECT_STREQ(t[0].name, "ALBANY NY 120");
    EXPECT_STREQ(t[25].name, "FARGO ND  580");
    EXPECT_STREQ(t[36].name, "LAS VEGAS  NV 890");
    EXPECT_STREQ(t[73].name, "SAN JUAN PR  006");
    EXPECT_STREQ(t[95].name, "WILMINGTON DE 197");
    EXPECT_STREQ(t[27].prefixes, "490 491 492 493 494 496 497 495");
    int prefixes = 0;
    for (const AdcRow& row : t) {
        const std::string p = row.prefixes;
        for (std::size_t i = 0; i < p.size(); i += 4) {
            EXPECT_TRUE(i + 3 == p.size() || p[i + 3] == ' ') << row.name;
            ++prefixes;
        }
    }
    EXPECT_EQ(prefixes, 930);
    EXPECT_EQ(adcRowFor("606"), 14);
    EXPECT_EQ(adcRowFor("000"), -1);
    EXPECT_EQ(adcRowFor("12"), 0);
}

class PresortFile : public LabelRunFixture {};

TEST_F(PresortFile, readsTheFilteredRecordsAndWritesTheFileWhole)
{
    std::vector<QMap<QString, QString>> records;
    for (int i = 0; i < 10; ++i)
        records.push_back({{"LNAME", QString("A%1").arg(i)}, {"ZIP", i % 2 ? "12345-6789" : "12345"}});
    records.push_back({{"LNAME", "Empty"}, {"ZIP", ""}});
    records.push_back({{"LNAME", "Letters"}, {"ZIP", "A1234"}});
    records.push_back({{"LNAME", "Short"}, {"ZIP", "1234"}});
    records.push_back({{"LNAME", "Hidden"}, {"ZIP", "60601"}});
    makeFolder(avery5160(), records);
    ASSERT_TRUE(table.setFilter(QStringLiteral("RECNO()<14")));
    ASSERT_TRUE(table.setOrder(QStringLiteral("LNAME")));
    const QString path = folder + "PRESORT.PSL";
    ASSERT_TRUE(writePresortFile(path, {"old"}, nullptr));

    BulkMailPresort presort(table);
    QStringList status;
    presort.status = [&](const QString& s) { status << s; };
    QString error;
    ASSERT_EQ(presort.run(path, &error), BulkMailPresort::Result::Done) << error.toStdString();
    EXPECT_EQ(presort.counted(), 11);
    EXPECT_EQ(presort.skipped(), 2);
    EXPECT_EQ(table.order(), QString());  // left in record order
    EXPECT_EQ(status.value(0), "Reading database records...");
    EXPECT_EQ(status.value(status.size() - 1), "Sorting Zip Codes...");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("** 5-digit 12345\r\n12345\r\n** ADC ALBANY NY 120\r\n1234\r\n"));
    f.close();
    Lines back;
    ASSERT_TRUE(readPresortFile(path, &back, nullptr));
    EXPECT_EQ(back, Lines({"** 5-digit 12345", "12345", "** ADC ALBANY NY 120", "1234"}));

    // Cancelled: the earlier file stays as it was.
    ASSERT_TRUE(writePresortFile(path, {"old"}, nullptr));
    presort.keepGoing = [] { return false; };
    EXPECT_EQ(presort.run(path, &error), BulkMailPresort::Result::Cancelled);
    ASSERT_TRUE(readPresortFile(path, &back, nullptr));
    EXPECT_EQ(back, Lines({"old"}));
    // A folder that cannot take the file: a message, nothing written.
    presort.keepGoing = nullptr;
    EXPECT_EQ(presort.run(folder + "no-such-folder/PRESORT.PSL", &error), BulkMailPresort::Result::Failed);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
