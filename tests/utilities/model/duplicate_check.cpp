// The exact duplicate kinds: their keys, the single pass in the tag's order, the ends of the
// file, deleted records in between, runs of three, and the check's subset index.
#include "duplicatecheck.h"
#include "support_maintenance.h"

using namespace postavo;
using namespace postavo::testing;

namespace {

using Pairs = std::vector<std::pair<quint32, quint32>>;

Pairs pairsOf(const DuplicateOutcome& o)
{
    Pairs p;
    for (const DuplicatePair& d : o.pairs)
        p.emplace_back(d.first, d.second);
    return p;
}

DuplicateOutcome run(const QString& path, DuplicateKind kind, int chars = 30,
                     const std::function<void(AddressTable&)>& before = {})
{
    AddressTable t;
    openAsWindowsDo(t, path);
    if (before)
        before(t);
    return findDuplicates(*t.engineTable(), kind, chars);
}

TEST(DuplicateKeys, NamesJoinWithoutASeparatorAndCompareInCapitals)
{
    EXPECT_EQ(duplicateKey(DuplicateKind::LastFirst, "Jones", "Mary", {}, 30), "JONESMARY");
    EXPECT_EQ(duplicateKey(DuplicateKind::LastFirst, "Jonesm", "Ary", {}, 30),
              duplicateKey(DuplicateKind::LastFirst, "JONES", "MARY", {}, 30));
    EXPECT_EQ(duplicateKey(DuplicateKind::LastFirstInitial, "Jones", "Martha", {}, 30), "JONESM");
    EXPECT_EQ(duplicateKey(DuplicateKind::LastFirst, "", "Mary", {}, 30), "") << "no last name takes no part";
    EXPECT_EQ(duplicateKey(DuplicateKind::Street, {}, {}, "123 Main Street", 10), "123 MAIN S");
    EXPECT_EQ(duplicateKey(DuplicateKind::Street, {}, {}, "123 Main St.", 10), "123 MAIN S");
    EXPECT_EQ(duplicateKey(DuplicateKind::Street, {}, {}, "", 10), "");
}

TEST(ExactDuplicates, CapitalsDoNotHideANameAndTheInitialKindFindsMore)
{
    const QString path = addressFile("names", {person("Jones", "Mary"), person("Smith", "Al"),
                                               person("JONES", "MARY"), person("Jones", "Martha")});
    EXPECT_EQ(pairsOf(run(path, DuplicateKind::LastFirst)), (Pairs{{1, 3}}));
    const DuplicateOutcome initial = run(path, DuplicateKind::LastFirstInitial);
    EXPECT_EQ(pairsOf(initial), (Pairs{{4, 1}, {1, 3}})) << "Martha sorts before Mary";
    EXPECT_EQ(initial.records, (std::vector<std::uint32_t>{4, 1, 3})) << "Mary listed once";
    EXPECT_EQ(initial.pairs[0].firstValue, QStringLiteral("Jones M"));
}

TEST(ExactDuplicates, LastAndFirstNamesRunTogether)
{
    const QString path = addressFile("joined", {person("Jonesm", "Ary"), person("Jones", "Mary")});
    EXPECT_EQ(run(path, DuplicateKind::LastFirst).pairs.size(), 1u);
}

TEST(ExactDuplicates, StreetsCompareOnTheirFirstCharacters)
{
    const QString path = addressFile("streets", {person("A", "a", "123 Main Street"), person("B", "b", "123 Main St."),
                                                 person("C", "c", "99 Oak Ave")});
    EXPECT_EQ(run(path, DuplicateKind::Street, 30).pairs.size(), 0u);
    const DuplicateOutcome ten = run(path, DuplicateKind::Street, 10);
    ASSERT_EQ(ten.pairs.size(), 1u);
    EXPECT_EQ(ten.pairs[0].firstValue, QStringLiteral("123 Main S"));
}

TEST(ExactDuplicates, EmptyLastNamesAreNeverFound)
{
    const QString path = addressFile("empty", {person("", "Mary"), person("", "Mary"), person("", "")});
    EXPECT_TRUE(run(path, DuplicateKind::LastFirst).pairs.empty());
    EXPECT_TRUE(run(path, DuplicateKind::LastFirstInitial).pairs.empty());
}

TEST(ExactDuplicates, TheFirstAndTheLastRecordOfTheOrderAreCompared)
{
    // In name order Aaron comes first and Zoe last, whatever their record numbers.
    const QString path = addressFile("ends", {person("Mid", "Max"), person("Zoe", "Z"), person("Aaron", "A"),
                                              person("Zoe", "Z"), person("Aaron", "A")});
    EXPECT_EQ(pairsOf(run(path, DuplicateKind::LastFirst)), (Pairs{{3, 5}, {2, 4}}));
}

TEST(ExactDuplicates, TheFirstRecordIsNotComparedWithAnythingBeforeIt)
{
    // The pass's starting key must not match a first record whose street is "-".
    const QString path = addressFile("dash", {person("A", "a", "-"), person("B", "b", "1 Elm")});
    EXPECT_TRUE(run(path, DuplicateKind::Street, 1).pairs.empty());
}

TEST(ExactDuplicates, DeletedRecordsBetweenTwoEqualRecordsDoNotSeparateThemNorCount)
{
    const QString path = addressFile("deleted", {person("Lee", "Ann"), person("Lee", "Ann"), person("Lee", "Ann")});
    const DuplicateOutcome o = run(path, DuplicateKind::LastFirst, 30, [](AddressTable& t) { deleteRecord(t, 2); });
    EXPECT_EQ(pairsOf(o), (Pairs{{1, 3}}));
    EXPECT_EQ(o.scanned, 2u);
}

TEST(ExactDuplicates, ThreeEqualNeighboursAreTwoPossibleDuplicatesOfThreeRecords)
{
    const QString path = addressFile("three", {person("Lee", "Ann"), person("Lee", "Ann"), person("Lee", "Ann")});
    const DuplicateOutcome o = run(path, DuplicateKind::LastFirst);
    EXPECT_EQ(o.pairs.size(), 2u);
    EXPECT_EQ(o.records.size(), 3u);
    EXPECT_EQ(duplicates::foundText(o.pairs.size()), QStringLiteral("Found 2 possible duplicates"));
}

TEST(DuplicateCheckRun, ListsEachRecordOnceThroughItsIndexAndDeletesTheIndexOnClose)
{
    const QString path = addressFile("check", {person("Lee", "Ann"), person("Ray", "Bo"), person("Lee", "Ann"),
                                               person("Lee", "Ann")});
    const QString folder = scratchDir("check-program");
    AddressTable t;
    openAsWindowsDo(t, path);
    const QStringList order = t.fieldOrder();
    DuplicateCheck check(t, folder);
    QString message;
    ASSERT_TRUE(check.run(DuplicateKind::LastFirst, 30, {}, &message));
    EXPECT_TRUE(check.resultsShown());
    EXPECT_TRUE(QFile::exists(folder + "/_chkdup.idx"));
    EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{1, 3, 4})) << "the middle record of three is listed once";
    // Deleting from the grid takes the record out of the listing.
    ASSERT_TRUE(t.goTo(3));
    ASSERT_TRUE(t.deleteCurrent());
    EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{1, 4}));
    check.close();
    EXPECT_FALSE(QFile::exists(folder + "/_chkdup.idx"));
    EXPECT_EQ(t.fieldOrder(), order);
}

TEST(DuplicateCheckRun, NothingFoundShowsNoGridAndTheUsersOrderStays)
{
    const QString path = addressFile("none", {person("Lee", "Ann"), person("Ray", "Bo")});
    AddressTable t;
    openAsWindowsDo(t, path);
    t.setOrder(QStringLiteral("FNAME"));
    DuplicateCheck check(t, scratchDir("none-program"));
    QString message;
    ASSERT_TRUE(check.run(DuplicateKind::LastFirst, 30, {}, &message));
    EXPECT_FALSE(check.resultsShown());
    EXPECT_EQ(duplicates::foundText(check.outcome().pairs.size()), QStringLiteral("Found 0 possible duplicates"));
    EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{1, 2}));
    EXPECT_EQ(t.engineTable()->order(), t.orderNumber(QStringLiteral("FNAME")));
}

TEST(DuplicateCheckRun, CancellingStopsThePassAndListsNothingHalfDone)
{
    Rows many;
    for (int i = 0; i < 2500; ++i)
        many.push_back(person(QStringLiteral("P%1").arg(i / 2), "X"));
    const QString path = addressFile("cancel", many);
    AddressTable t;
    openAsWindowsDo(t, path);
    int calls = 0;
    const DuplicateOutcome o = findDuplicates(*t.engineTable(), DuplicateKind::LastFirst, 30,
                                              [&](const PassProgress&) { return ++calls < 4; });
    EXPECT_TRUE(o.cancelled);
    EXPECT_LT(o.pairs.size(), 1250u);
    const DuplicateOutcome all = findDuplicates(*t.engineTable(), DuplicateKind::LastFirst, 30);
    EXPECT_EQ(all.pairs.size(), 1250u);
}

} // namespace
