// Finding records: the key search in each order (prefix, letter case, dates, within a filter,
// text that cannot match) and the memo search with Find Next, driven without a window.
#include "addressbookcontroller.h"
#include "mainwindowsetup.h"
#include "search.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

struct Book {
    std::unique_ptr<QTemporaryDir> dir = freshProgramFolder();
    BookUi ui;
    std::unique_ptr<AddressBookController> c;

    explicit Book(const QVector<Row>& rows)
    {
        makeStartBook(rows);
        setSetting("Misc", "GettingStarted", "1");
        c = std::make_unique<AddressBookController>(ui);
        c->startUp();
    }
    QString v(const char* f) const { return c->fieldValue(QString::fromLatin1(f)); }
};

QVector<Row> people()
{
    return {
        {{"LNAME", "Young"}, {"FNAME", "Zed"}, {"CITY", "Denver"}, {"STATE", "CO"}, {"DATE", "19960301"},
         {"PHONE", "303-1"}, {"EMAIL", "z@y"}, {"CODES", "B"}, {"MEMO", "likes the spring catalogue"}},
        {{"LNAME", "mcbride"}, {"FNAME", "Ann"}, {"CITY", "Boston"}, {"STATE", "MA"}, {"DATE", "19970815"},
         {"ZIP", "02110"}, {"CODES", "A"}, {"MEMO", "Called about the SPRING order"}},
        {{"LNAME", "McAdams"}, {"FNAME", "Bob"}, {"CITY", "Austin"}, {"STATE", "TX"}, {"DATE", "19970102"},
         {"ZIP", "73301"}, {"CODES", "A"}},
        {{"LNAME", "Adams"}, {"FNAME", "Cy"}, {"CITY", "Boston"}, {"STATE", "AL"}, {"DATE", "19980101"},
         {"ZIP", "02111"}, {"CODES", "C"}, {"MEMO", "spring"}},
    };
}

} // namespace

TEST(KeySearch, FindsTheFirstKeyBeginningWithTheTextInTheChosenOrder)
{
    Book b(people());
    EXPECT_EQ(searchOrderCaptions().size(), 14);
    EXPECT_EQ(searchOrderCaptions().front(), "Last Name");
    EXPECT_EQ(searchPrompt("City"), "Search City starting with...");

    ASSERT_TRUE(keySearch(*b.c, "Last Name", "mc"));
    EXPECT_EQ(b.v("LNAME"), "McAdams") << "upper-cased; the first of MCADAMS, MCBRIDE";
    EXPECT_EQ(b.c->sortCaption(), "&Last Name");
    EXPECT_EQ(b.c->sortStatus(), "Sorted by Last Name");
    // City and state form the key, so "bost" finds Boston AL before Boston MA.
    ASSERT_TRUE(keySearch(*b.c, "City", "bost"));
    EXPECT_EQ(b.v("FNAME"), "Cy");
    EXPECT_EQ(b.c->sortStatus(), "Sorted by City");
    ASSERT_TRUE(keySearch(*b.c, "Date", "1997"));
    EXPECT_EQ(b.v("FNAME"), "Bob") << "the earliest date in 1997";
    ASSERT_TRUE(keySearch(*b.c, "Zip", "0211"));
    EXPECT_EQ(b.v("FNAME"), "Ann");
    ASSERT_TRUE(keySearch(*b.c, "&Codes", "c"));
    EXPECT_EQ(b.v("FNAME"), "Cy");
    ASSERT_TRUE(keySearch(*b.c, "E-mail", "Z@"));
    EXPECT_EQ(b.v("FNAME"), "Zed");
}

TEST(KeySearch, TextNoKeyBeginsWithLeavesTheRecordWithoutAMessage)
{
    Book b(people());
    ASSERT_TRUE(keySearch(*b.c, "Last Name", "Young"));
    const quint32 here = b.c->table().recNo();
    EXPECT_FALSE(keySearch(*b.c, "Last Name", "Mcz"));
    EXPECT_EQ(b.c->table().recNo(), here);
    EXPECT_FALSE(keySearch(*b.c, "Date", "1999"));
    EXPECT_EQ(b.c->table().recNo(), here);
    EXPECT_FALSE(keySearch(*b.c, "Last Name", QString(200, QLatin1Char('M')))) << "longer than the key";
    EXPECT_FALSE(keySearch(*b.c, "Last Name", QStringLiteral("Mc\u0141"))) << "outside Windows-1252";
    EXPECT_FALSE(keySearch(*b.c, "Last Name", ""));
    EXPECT_FALSE(keySearch(*b.c, "Nowhere", "Mc"));
    EXPECT_EQ(b.c->table().recNo(), here);
    EXPECT_TRUE(b.ui.messages.isEmpty());
}

TEST(KeySearch, StaysWithinTheFilter)
{
    Book b(people());
    QueryValues q;
    q.values[15] = "$C";  // codes containing C: only Adams
    b.c->setQuery(q);
    ASSERT_EQ(b.c->applyFilter(), 1u);
    EXPECT_FALSE(keySearch(*b.c, "Last Name", "Mc"));
    EXPECT_EQ(b.v("LNAME"), "Adams");
    ASSERT_TRUE(keySearch(*b.c, "Last Name", "ad"));
    EXPECT_EQ(b.v("LNAME"), "Adams");
}

TEST(MemoSearch, MatchesUpperCasedWithinTheLimits)
{
    EXPECT_TRUE(memoMatches("Called about the Spring order", "spring"));
    EXPECT_FALSE(memoMatches("", "spring"));
    EXPECT_FALSE(memoMatches("spring", ""));
    EXPECT_FALSE(memoMatches(QString(kMemoSearchMemoLimit, QLatin1Char('x')) + "spring", "spring"));
    EXPECT_TRUE(memoMatches(QString(kMemoSearchMemoLimit - 6, QLatin1Char('x')) + "spring", "spring"));
    EXPECT_TRUE(memoMatches(QString(300, QLatin1Char('a')), QString(400, QLatin1Char('a')))
                ) << "only the first 255 characters of the text are used";
}

TEST(MemoSearch, FindNextWalksTheMatchesInOrderAndBeepsPastTheLast)
{
    Book b(people());
    ASSERT_TRUE(b.c->setOrderTo("&Last Name"));  // Adams, McAdams, mcbride, Young
    MemoSearch s;
    MemoSearchResult r = s.start(*b.c, "SPRING");
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(s.found());
    EXPECT_EQ(b.v("LNAME"), "Adams");
    EXPECT_EQ(b.c->memoText(), "spring");
    ASSERT_TRUE(s.findNext(*b.c).found);
    EXPECT_EQ(b.v("LNAME"), "mcbride") << "McAdams has no memo";
    ASSERT_TRUE(s.findNext(*b.c).found);
    EXPECT_EQ(b.v("LNAME"), "Young");
    EXPECT_EQ(b.ui.beeps, 0);
    EXPECT_FALSE(s.findNext(*b.c).found);
    EXPECT_FALSE(s.found()) << "Find Next is hidden again";
    EXPECT_EQ(b.v("LNAME"), "Young") << "back on the last match";
    EXPECT_EQ(b.ui.beeps, 1);
    // A new search starts from the first record again.
    ASSERT_TRUE(s.start(*b.c, "order").found);
    EXPECT_EQ(b.v("LNAME"), "mcbride");
    EXPECT_FALSE(s.start(*b.c, "nowhere").found);
    EXPECT_EQ(b.v("LNAME"), "mcbride");
}

TEST(MemoSearch, CancellingReturnsToTheStartingRecord)
{
    Book b(people());
    ASSERT_TRUE(keySearch(*b.c, "Last Name", "Mcb"));
    const quint32 here = b.c->table().recNo();
    MemoSearch s;
    int calls = 0;
    const MemoSearchResult r = s.start(*b.c, "spring", [&](int p) {
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 100);
        return ++calls < 2;
    });
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.found);
    EXPECT_FALSE(s.found());
    EXPECT_EQ(b.c->table().recNo(), here);
    EXPECT_EQ(b.ui.beeps, 1);
}

TEST(MemoSearch, HonoursTheFilter)
{
    Book b(people());
    QueryValues q;
    q.values[15] = "$A";  // mcbride and McAdams
    b.c->setQuery(q);
    ASSERT_EQ(b.c->applyFilter(), 2u);
    MemoSearch s;
    ASSERT_TRUE(s.start(*b.c, "spring").found);
    EXPECT_EQ(b.v("LNAME"), "mcbride");
    EXPECT_FALSE(s.findNext(*b.c).found);
}
