// The texts the built-in reports compose from a record, the report window's rules, and the word
// wrap of memos.
#include "builtinreports.h"
#include "reportrecord.h"
#include "reportsetup.h"

#include <gtest/gtest.h>

using namespace postavo::reports;

namespace {

ReportRecord rec(std::initializer_list<std::pair<QString ReportRecord::*, const char*>> values)
{
    ReportRecord r;
    for (const auto& [member, value] : values)
        r.*member = QString::fromLatin1(value);
    return r;
}

using R = ReportRecord;

} // namespace

TEST(ComposedTexts, ListNameAndCityLineOfTheOneLineReports)
{
    const R smith = rec({{&R::lname, "Smith"}, {&R::fname, "John"}, {&R::middle, "Q"}, {&R::city, "Boston"},
                         {&R::state, "MA"}, {&R::zip, "02134"}});
    EXPECT_EQ(listName(smith), QStringLiteral("Smith, John Q."));
    EXPECT_EQ(cityLineReport1(smith), QStringLiteral("Boston, MA  02134 "));
    EXPECT_EQ(listName(rec({{&R::fname, "John"}})), QStringLiteral(", John "));
    EXPECT_EQ(listName(rec({{&R::lname, "  Lee"}, {&R::fname, " Ann"}})), QStringLiteral("Lee, Ann "));
    EXPECT_EQ(cityLineReport1(rec({{&R::zip, "02134"}})), QStringLiteral("02134 "));
    EXPECT_EQ(cityLineReport1(R()), QString());
    EXPECT_EQ(columnText(ColumnValue::CityLine, smith), cityLineReport1(smith));
}

TEST(ComposedTexts, PartsOfReportFour)
{
    // No prefix but a first name: two blanks after the comma.
    EXPECT_EQ(fullNameReport4(rec({{&R::lname, "Smith"}, {&R::fname, "John"}})), QStringLiteral("Smith,  John "));
    EXPECT_EQ(fullNameReport4(rec({{&R::lname, "Smith"}, {&R::prefix, "Dr."}, {&R::fname, "Ann"}, {&R::middle, "B"}})),
              QStringLiteral("Smith, Dr. Ann B."));
    EXPECT_EQ(fullNameReport4(rec({{&R::lname, "Smith"}})), QStringLiteral("Smith, "));
    // A title prints only with an organization.
    EXPECT_EQ(titleAndOrganization(rec({{&R::title, "CEO"}, {&R::org, "Acme"}})), QStringLiteral("CEO, Acme"));
    EXPECT_EQ(titleAndOrganization(rec({{&R::title, "CEO"}})), QString());
    EXPECT_EQ(titleAndOrganization(rec({{&R::org, "Acme"}})), QStringLiteral("Acme"));
    // A state without a city starts with a comma.
    EXPECT_EQ(cityLineReport4(rec({{&R::state, "MA"}, {&R::zip, "02134"}})), QStringLiteral(", MA, 02134"));
    EXPECT_EQ(cityLineReport4(rec({{&R::city, "Boston"}, {&R::state, "MA"}})), QStringLiteral("Boston, MA"));
    EXPECT_EQ(phoneAndFax(rec({{&R::phone, "555-1"}, {&R::fax, "555-2"}})), QStringLiteral("Ph: 555-1  Fax: 555-2  "));
    EXPECT_EQ(phoneAndFax(rec({{&R::fax, "555-2"}})), QStringLiteral("Fax: 555-2  "));
}

TEST(ComposedTexts, MemoWordWrap)
{
    // Every character one unit wide: the width is the length.
    auto measure = [](const QString& s) { return double(s.size()); };
    EXPECT_EQ(wrapLines(QStringLiteral("aaa bbb ccc"), 7, measure), QStringList({"aaa bbb ", "ccc"}));
    EXPECT_EQ(wrapLines(QStringLiteral("one\r\ntwo\rthree\nfour"), 10, measure),
              QStringList({"one", "two", "three", "four"}));
    // A word longer than the line breaks inside it.
    EXPECT_EQ(wrapLines(QStringLiteral("abcdefghij xy"), 4, measure), QStringList({"abcd", "efgh", "ij ", "xy"}));
    EXPECT_EQ(wrapLines(QString(), 4, measure), QStringList({""}));
    // A memo of blanks prints nothing; empty lines inside a memo are kept.
    EXPECT_TRUE(memoLines(QStringLiteral("   "), 10, measure).isEmpty());
    EXPECT_TRUE(memoLines(QString(), 10, measure).isEmpty());
    EXPECT_EQ(memoLines(QStringLiteral("a\n\nb"), 10, measure), QStringList({"a", "", "b"}));
    // A long memo without blanks is broken, not measured character by character forever.
    const QString word(5000, QLatin1Char('x'));
    const QStringList lines = wrapLines(word, 100, measure);
    EXPECT_EQ(lines.size(), 50);
    EXPECT_EQ(lines.join(QString()), word);
}

TEST(ReportWindowRules, OpeningStateTitlesAndButtons)
{
    ReportSetupState s = ReportSetupState::opening(true);
    EXPECT_EQ(s.report, 1);
    EXPECT_EQ(s.title, QStringLiteral("Report 1"));
    EXPECT_EQ(s.selection.which, RecordChoice::Filter);
    const ReportSetupState noFilter = ReportSetupState::opening(false);
    EXPECT_EQ(noFilter.selection.which, RecordChoice::All);
    EXPECT_FALSE(noFilter.filterAvailable);
    s.title = QStringLiteral("Typed");
    s.chooseReport(4);
    EXPECT_EQ(s.title, QStringLiteral("Report 4"));
    EXPECT_EQ(builtInReportNames()[2], QStringLiteral("3. Organization,Name,Phone,Fax "));
    EXPECT_EQ(builtInReportOrder(3), QStringLiteral("ORG"));
    EXPECT_EQ(builtInReportOrder(4), QStringLiteral("LNAME"));

    ReportButtons b = s.buttons();
    EXPECT_TRUE(b.print && b.preview && b.whatToPrint);
    EXPECT_FALSE(b.oneRecordPerPageVisible);
    s.tab = ReportTab::Designer;
    b = s.buttons();
    EXPECT_FALSE(b.print || b.preview || b.whatToPrint || b.modify || b.remove || b.clone);
    EXPECT_TRUE(b.newReport && b.oneRecordPerPageVisible);
    s.catalogueHasCurrent = true;
    b = s.buttons();
    EXPECT_TRUE(b.print && b.preview && b.whatToPrint && b.modify && b.remove && b.clone && b.list);
    EXPECT_EQ(selectionQuery(RecordChoice::All, 7), QStringLiteral("UPPER(PREFIX)<>\"DELETED\""));
    EXPECT_EQ(selectionQuery(RecordChoice::Current, 7), QStringLiteral("Recno()=7"));
    EXPECT_TRUE(selectionQuery(RecordChoice::Filter, 7).isEmpty());
}
