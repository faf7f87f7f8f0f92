// The bulk edits: case conversion, deleting records, search and replace - on the records they
// are meant for only, with values that never get cut, cancellable, and leaving a sound file.
#include "bulkedits.h"
#include "support_maintenance.h"

using namespace postavo;
using namespace postavo::testing;

namespace {

Rows cities()
{
    return {person("adams", "ann", "1 elm st", "NY", "10001"), person("baker", "bob", "2 oak ave", "NJ", "07001"),
            person("clark", "cy", "3 pine rd", "NY", "10002"), person("drake", "di", "4 main st", "CT", "06001")};
}

TEST(CaseConversion, OnlyUnaccentedLettersChangeAndOnlyBlanksStartAWord)
{
    EXPECT_EQ(convertCase(std::string_view("MARY-ANN o'neil"), CaseConversion::Capitalise), "Mary-ann O'neil");
    EXPECT_EQ(convertCase(std::string_view("st. john  smith"), CaseConversion::Capitalise), "St. John  Smith");
    EXPECT_EQ(convertCase(std::string_view("abc xyz"), CaseConversion::Upper), "ABC XYZ");
    EXPECT_EQ(convertCase(std::string_view("ABC XYZ"), CaseConversion::Lower), "abc xyz");
    EXPECT_EQ(convertCase(QStringLiteral("josé émile"), CaseConversion::Upper), QStringLiteral("JOSé éMILE"));
    EXPECT_EQ(convertCase(QStringLiteral("ÉMILE"), CaseConversion::Lower), QStringLiteral("Émile"));
}

TEST(CaseConversion, TheCurrentRecordOnlyChangesThatRecordEvenWithEveryFieldTicked)
{
    const QString path = addressFile("current", cities());
    AddressTable t;
    openAsWindowsDo(t, path);
    ASSERT_TRUE(t.goTo(2));
    QStringList all;
    for (const BulkField& f : caseConversionFields())
        all << QLatin1String(f.field);
    const BulkOutcome o = convertCaseOfRecords(t, all, CaseConversion::Upper, true);
    EXPECT_EQ(o.changed, 1u);
    EXPECT_EQ(value(t, 2, "LNAME"), "BAKER");
    EXPECT_EQ(value(t, 2, "STREET"), "2 OAK AVE");
    EXPECT_EQ(value(t, 1, "LNAME"), "adams");
    EXPECT_EQ(t.recNo(), 2u);
}

TEST(CaseConversion, OnlyTheFilteredRecordsChangeAndTheIndexesStaySound)
{
    const QString path = addressFile("filtered", cities());
    {
        AddressTable t;
        openAsWindowsDo(t, path);
        deleteRecord(t, 4);
        ASSERT_TRUE(t.setFilter(QStringLiteral("UPPER(STATE)=\"NY\" .and. !ISDEL")));
        t.setOrder(QStringLiteral("LNAME"));
        const BulkOutcome o = convertCaseOfRecords(t, {"LNAME", "CITY", "STREET"}, CaseConversion::Capitalise, false);
        EXPECT_EQ(o.total, 2u);
        EXPECT_EQ(o.changed, 2u);
        EXPECT_EQ(value(t, 1, "LNAME"), "Adams");
        EXPECT_EQ(value(t, 3, "STREET"), "3 Pine Rd");
        EXPECT_EQ(value(t, 2, "LNAME"), "baker") << "outside the filter";
        EXPECT_EQ(value(t, 4, "LNAME"), "drake") << "deleted";
        EXPECT_EQ(t.filter(), QStringLiteral("UPPER(STATE)=\"NY\" .and. !ISDEL"));
        EXPECT_EQ(t.engineTable()->order(), t.orderNumber(QStringLiteral("LNAME")));
        // The keys are upper-cased: seeking still finds the converted records.
        EXPECT_TRUE(t.seek(QStringLiteral("ADAMS"), false));
    }
    EXPECT_TRUE(engineProblems(path).empty());
}

TEST(CaseConversion, ACancelledPassSaysHowManyWereChangedAndLeavesASoundFile)
{
    Rows many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(person(QStringLiteral("name%1").arg(i), "x"));
    const QString path = addressFile("cancel", many);
    BulkOutcome o;
    {
        AddressTable t;
        openAsWindowsDo(t, path);
        int calls = 0;
        o = convertCaseOfRecords(t, {"LNAME"}, CaseConversion::Upper, false,
                                 [&](const PassProgress&) { return ++calls < 2; });
        EXPECT_TRUE(o.cancelled);
        EXPECT_EQ(o.total, 3000u);
        EXPECT_GT(o.changed, 0u);
        EXPECT_LT(o.changed, 3000u);
        quint64 upper = 0;
        for (quint32 r = 1; r <= 3000; ++r)
            upper += value(t, r, "LNAME").startsWith(QLatin1String("NAME"));
        EXPECT_EQ(upper, o.changed) << "exactly the records counted were changed";
        EXPECT_TRUE(bulk::stoppedText(o, "converted").contains(QString::number(o.changed)));
    }
    EXPECT_TRUE(engineProblems(path).empty());
}

TEST(DeletingRecords, AllEmptiesTheFileAndCountsTheRecordsThatWereThere)
{
    const QString path = addressFile("all", cities());
    AddressTable t;
    openAsWindowsDo(t, path);
    deleteRecord(t, 1);
    const BulkOutcome o = deleteRecords(t, DeleteChoice::All, {});
    EXPECT_EQ(o.changed, 3u) << "the record deleted before is not counted again";
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(bulk::deletedText(o.changed), QStringLiteral("Deleted 3 records"));
}

TEST(DeletingRecords, ThoseNotMatchingAStateFilterGoAndTheStatesRecordsStay)
{
    const QString path = addressFile("not", cities());
    {
        AddressTable t;
        openAsWindowsDo(t, path);
        const QString filter = QStringLiteral("UPPER(STATE)=\"NY\"");
        ASSERT_TRUE(t.setFilter(filter));  // the user's filter alone, as the window gets it
        const BulkOutcome o = deleteRecords(t, DeleteChoice::NotMatchingFilter, filter);
        EXPECT_EQ(o.changed, 2u);
        ASSERT_TRUE(t.setFilter(QStringLiteral("!ISDEL")));
        EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{1, 3}));
        ASSERT_TRUE(t.goTo(2));
        EXPECT_TRUE(t.engineTable()->isDeleted());
        EXPECT_TRUE(t.logical(QStringLiteral("ISDEL")));
        // Deleting the matching ones afterwards does not count the deleted ones again.
        EXPECT_EQ(deleteRecords(t, DeleteChoice::MatchingFilter, filter).changed, 2u);
        EXPECT_EQ(deleteRecords(t, DeleteChoice::MatchingFilter, filter).changed, 0u);
    }
    EXPECT_TRUE(engineProblems(path).empty());
}

TEST(DeletingRecords, AFilterThatDoesNotCompileDeletesNothing)
{
    const QString path = addressFile("bad", cities());
    AddressTable t;
    openAsWindowsDo(t, path);
    const BulkOutcome o = deleteRecords(t, DeleteChoice::MatchingFilter, QStringLiteral("UPPER(NOSUCH)=\"X\""));
    EXPECT_FALSE(o.error.isEmpty());
    EXPECT_EQ(o.changed, 0u);
    EXPECT_EQ(t.visibleRecords().size(), 4u);
}

TEST(ReplaceRules, TheConfirmationSaysWhatWillHappen)
{
    ReplaceRequest r;
    r.field = "STREET";
    r.find = "St";
    r.exact = false;
    r.caseSensitive = false;
    r.wholeField = false;
    r.with = "Street";
    EXPECT_EQ(replaceConfirmation(r), QStringLiteral("Find records where field Address 1\rcontains: \"St\" (not case "
                                                     "sensitive)\rand replace only the matching text with \"Street\""));
    r.find.clear();
    r.with.clear();
    r.wholeField = true;
    EXPECT_EQ(replaceConfirmation(r),
              QStringLiteral("Find records where field Address 1\ris empty \rand delete the entire field "));
}

TEST(ReplaceRules, TheTestsAndTheMatchingTextReplacement)
{
    EXPECT_TRUE(replaceTestMatches("Bobby     ", "Bob", true, true)) << "exact compares the first n characters";
    EXPECT_FALSE(replaceTestMatches("bobby     ", "Bob", true, true));
    EXPECT_TRUE(replaceTestMatches("bobby     ", "BOB", true, false));
    EXPECT_TRUE(replaceTestMatches("12 Main St", "MAIN", false, false));
    EXPECT_TRUE(replaceTestMatches("          ", "", true, true));
    EXPECT_FALSE(replaceTestMatches("x         ", "", false, true));
    EXPECT_EQ(replaceMatchingText("123 Main St", "st", "Street", false), "123 Main Street");
    EXPECT_EQ(replaceMatchingText("a-a-a", "A", "b", false), "b-b-b");
    EXPECT_EQ(replaceMatchingText("a-a-a", "A", "b", true), "a-a-a");
    EXPECT_EQ(replaceMatchingText(std::string(60, 'x'), "x", "y", true), std::string(50, 'y') + std::string(10, 'x'));
    EXPECT_EQ(replaceMatchingText("", "", "new", true), "new") << "an empty value is all the matching text";
}

class Replacing : public ::testing::Test {
protected:
    QString path;
    AddressTable t;
    void SetUp() override
    {
        path = addressFile(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()),
                           {person("Bob", "a", "123 Main St", "NY"), person("Bobby", "b", "9 Oak St", "NJ"),
                            person("Rob", "c", "", "NY"), person("bob", "d", "1 Elm", "NY")});
        openAsWindowsDo(t, path);
    }
    BulkOutcome replace(const ReplaceRequest& r, ReplacePlan* planOut = nullptr)
    {
        const ReplacePlan plan = planReplacement(t, r);
        if (planOut)
            *planOut = plan;
        return applyReplacement(t, plan);
    }
};

TEST_F(Replacing, ExactlyEqualAlsoFindsFieldsThatBeginWithTheText)
{
    ReplaceRequest r;
    r.field = "LNAME";
    r.find = "Bob";
    r.with = "Robert";
    EXPECT_EQ(replace(r).changed, 2u);
    EXPECT_EQ(value(t, 1, "LNAME"), "Robert");
    EXPECT_EQ(value(t, 2, "LNAME"), "Robert");
    EXPECT_EQ(value(t, 4, "LNAME"), "bob") << "case sensitive";
}

TEST_F(Replacing, MatchingTextKeepsTheRestOfTheValue)
{
    ReplaceRequest r;
    r.field = "STREET";
    r.exact = false;
    r.caseSensitive = false;
    r.wholeField = false;
    r.find = "st";
    r.with = "Street";
    EXPECT_EQ(replace(r).changed, 2u);
    EXPECT_EQ(value(t, 1, "STREET"), "123 Main Street");
    EXPECT_EQ(value(t, 2, "STREET"), "9 Oak Street");
}

TEST_F(Replacing, AnEmptySearchFindsEmptyFields)
{
    ReplaceRequest r;
    r.field = "STREET";
    r.find = "";
    r.with = "";
    EXPECT_EQ(replace(r).changed, 1u) << "the one record whose street is empty";
    EXPECT_EQ(value(t, 3, "STREET"), "");
}

TEST_F(Replacing, OnlyTheRecordsOfTheFilterChange)
{
    ReplaceRequest r;
    r.field = "STATE";
    r.find = "NY";
    r.with = "New York";
    r.scopeFilter = QStringLiteral("UPPER(LNAME)=\"BOB\"");
    deleteRecord(t, 4);
    EXPECT_EQ(replace(r).changed, 1u) << "Bob matches, Bobby is NJ, bob is deleted, Rob is outside";
    EXPECT_EQ(value(t, 1, "STATE"), "New York");
    EXPECT_EQ(value(t, 3, "STATE"), "NY");
    EXPECT_EQ(value(t, 4, "STATE"), "NY");
    EXPECT_EQ(t.filter(), QStringLiteral("!ISDEL"));
    t.close();
    EXPECT_TRUE(engineProblems(path).empty());
}

TEST_F(Replacing, AValueThatWouldNotFitIsNeverCut)
{
    ReplaceRequest r;
    r.field = "STATE";  // 20 characters
    r.exact = false;
    r.wholeField = false;
    r.find = "N";
    r.with = "North of somewhere";  // NY -> 19, NJ -> 19: fit; "New York" is not there
    ReplacePlan plan;
    EXPECT_EQ(replace(r, &plan).changed, 4u);
    r.find = "o";
    r.with = "oooooooooooooo";  // three o in each value: 19 + 3 * 13 > 20
    const ReplacePlan tooLong = planReplacement(t, r);
    EXPECT_EQ(tooLong.tooLong.size(), 4u);
    EXPECT_TRUE(tooLong.changes.empty());
    EXPECT_EQ(applyReplacement(t, tooLong).changed, 0u);
    EXPECT_EQ(value(t, 1, "STATE"), "North of somewhereY");
    EXPECT_EQ(tooLongText(tooLong, "State"),
              QStringLiteral("4 records were left unchanged: the new value would be longer than State (20 characters)."));
}

TEST_F(Replacing, BadRequestsAreRefusedBeforeAnythingIsRead)
{
    ReplaceRequest r;
    r.field = "STATE";
    r.find = QString(21, 'x');
    EXPECT_TRUE(checkReplaceRequest(r, t).contains("longer than the field State (20 characters)"));
    r.find = QStringLiteral("Łódź");
    EXPECT_TRUE(checkReplaceRequest(r, t).contains("cannot store"));
    r.find = "x";
    r.field = "PREFIX";
    EXPECT_FALSE(checkReplaceRequest(r, t).isEmpty()) << "PREFIX is not offered";
    r.field = "STATE";
    EXPECT_TRUE(checkReplaceRequest(r, t).isEmpty());
}

TEST_F(Replacing, QuotesInTheSearchTextAreJustText)
{
    ReplaceRequest r;
    r.field = "LNAME";
    r.exact = false;
    r.find = "\") .or. .T. .or. (\"";
    r.with = "X";
    EXPECT_EQ(replace(r).changed, 0u);
    EXPECT_EQ(value(t, 1, "LNAME"), "Bob");
}

TEST_F(Replacing, ACancelledReplacementCountsWhatItChanged)
{
    ReplaceRequest r;
    r.field = "FNAME";
    r.exact = false;
    r.find = "";
    const ReplacePlan plan = planReplacement(t, {});
    EXPECT_FALSE(plan.error.isEmpty()) << "no field";
    r.find = "a";
    r.with = "z";
    const ReplacePlan one = planReplacement(t, r);
    ASSERT_EQ(one.changes.size(), 1u);
    const BulkOutcome o = applyReplacement(t, one, [](const PassProgress&) { return false; });
    EXPECT_EQ(o.changed, 1u) << "the last record was done before the stop";
}

TEST(IndependentCheckers, AcceptTheFileAfterEachBulkEditOnFilteredRecords)
{
    const QString path = addressFile("checkers", cities(), QStringLiteral("book.dbf"));
    {
        AddressTable t;
        openAsWindowsDo(t, path);
        ASSERT_TRUE(t.setFilter(QStringLiteral("UPPER(STATE)=\"NY\" .and. !ISDEL")));
        EXPECT_EQ(convertCaseOfRecords(t, {"LNAME", "FNAME", "STREET"}, CaseConversion::Upper, false).changed, 2u);
        ReplaceRequest r;
        r.field = "STREET";
        r.exact = false;
        r.wholeField = false;
        r.caseSensitive = false;
        r.find = "st";
        r.with = "Street";
        r.scopeFilter = QStringLiteral("UPPER(STATE)=\"NY\"");
        EXPECT_EQ(applyReplacement(t, planReplacement(t, r)).changed, 1u);
        EXPECT_EQ(deleteRecords(t, DeleteChoice::MatchingFilter, QStringLiteral("UPPER(STATE)=\"CT\"")).changed, 1u);
    }
    EXPECT_TRUE(engineProblems(path).empty());
    expectIndependentCheckersPass(path);
}

} // namespace
