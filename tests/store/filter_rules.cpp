// Filter expressions from query values, filter files and tag ids.
#include "filters.h"
#include "support_tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;

namespace {

QueryValues with(int index, const QString& v)
{
    QueryValues q;
    q.values[size_t(index)] = v;
    return q;
}

constexpr int kLast = 0, kZip = 6, kCity = 7, kState = 8, kCodes = 15;

TEST(QueryString, SingleValues)
{
    EXPECT_EQ(BuildQueryString(with(kLast, "jones"), "X"), R"(UPPER(LNAME)="JONES")");
    EXPECT_EQ(BuildQueryString(with(kCodes, "$C"), "X"), R"("C"$UPPER(CODES))");
    EXPECT_EQ(BuildQueryString(with(kZip, ">=1000"), "X"), R"(UPPER(ZIP)>="1000")");
    EXPECT_EQ(BuildQueryString(with(kZip, "<9"), "X"), R"(UPPER(ZIP)<"9")");
    EXPECT_EQ(BuildQueryString(with(kCity, "boston "), "X"), R"(UPPER(CITY+STATE)="BOSTON ")");
    EXPECT_EQ(BuildQueryString(with(kCodes, "$"), "X"), R"(""$UPPER(CODES))");
    EXPECT_EQ(BuildQueryString(with(kLast, QStringLiteral("müller")), "X"), QStringLiteral("UPPER(LNAME)=\"MÜLLER\""));
    EXPECT_EQ(BuildQueryString(with(kLast, "   "), "X"), "");
}

TEST(QueryString, ListsBindSemicolonLoosestThenPlusThenCaret)
{
    EXPECT_EQ(BuildQueryString(with(kState, "NY;NJ"), "X"),
              R"(((UPPER(STATE)="NY").or.(UPPER(STATE)="NJ")))");
    EXPECT_EQ(BuildQueryString(with(kState, "A;"), "X"),
              R"(((UPPER(STATE)="A").or.(UPPER(STATE)="")))");
    EXPECT_EQ(fieldCondition("CODES", "$A+$B"), R"((("A"$UPPER(CODES)).and.("B"$UPPER(CODES))))");
    EXPECT_EQ(fieldCondition("CODES", "$A^$B"), R"((("A"$UPPER(CODES)).and..not.("B"$UPPER(CODES))))");
    EXPECT_EQ(fieldCondition("CODES", "$A^$B;$C"),
              R"((((("A"$UPPER(CODES)).and..not.("B"$UPPER(CODES)))).or.("C"$UPPER(CODES))))");
}

TEST(QueryString, JoinTaggedAndReverse)
{
    QueryValues q = with(kLast, "a");
    q.values[kState] = "ny";
    q.taggedOnly = true;
    EXPECT_EQ(BuildQueryString(q, "B2ABCDE"),
              R"(UPPER(LNAME)="A" and UPPER(STATE)="NY" and (UPPER(TAG)="B2ABCDE"))");
    q.reverse = true;
    EXPECT_EQ(BuildQueryString(q, "B2ABCDE"),
              R"((!(UPPER(LNAME)="A" and UPPER(STATE)="NY" and (UPPER(TAG)="B2ABCDE"))))");
    QueryValues onlyReverse;
    onlyReverse.reverse = true;
    EXPECT_EQ(BuildQueryString(onlyReverse, "X"), "");
}

TEST(QueryString, AppliedExpressionAndLengthLimit)
{
    EXPECT_EQ(appliedFilterExpression(""), "!ISDEL");
    EXPECT_EQ(appliedFilterExpression("UPPER(ZIP)=\"1\""), "UPPER(ZIP)=\"1\".and. !ISDEL");
    // UPPER(LNAME)="..." is 15 characters around the value.
    const QString at243 = BuildQueryString(with(kLast, QString(228, 'A')), "X");
    const QString at244 = BuildQueryString(with(kLast, QString(229, 'A')), "X");
    ASSERT_EQ(at243.size(), 243);
    EXPECT_FALSE(filterTooComplex(at243));
    EXPECT_EQ(appliedFilterExpression(at243).size(), 255);
    EXPECT_TRUE(filterTooComplex(at244));
}

TEST(FilterFiles, RoundTripAndShortFiles)
{
    test::ScratchDir d;
    QueryValues q = with(kState, "NY;NJ");
    q.values[kLast] = QStringLiteral("Øster");
    q.taggedOnly = true;
    ASSERT_TRUE(SaveFilterTo(d.path("a.FLT"), q));
    QFile f(d.path("a.FLT"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 20);
    EXPECT_TRUE(bytes.startsWith("\xD8ster\r\n\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\nT\r\nF\r\n"));
    EXPECT_EQ(*RestoreFilterFrom(d.path("a.FLT")), q);

    // 18 lines, LF only: both switches off.
    QFile g(d.path("b.flt"));
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("smith\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n$C\n\n\n");
    g.close();
    const auto r = RestoreFilterFrom(d.path("b.flt"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->values[0], "smith");
    EXPECT_EQ(r->values[kCodes], "$C");
    EXPECT_FALSE(r->taggedOnly);
    EXPECT_FALSE(r->reverse);
    // Switches are on only for exactly "T".
    QFile h(d.path("c.flt"));
    ASSERT_TRUE(h.open(QIODevice::WriteOnly));
    h.write(QByteArray(18, '\n') + "t\r\nT \r\n");
    h.close();
    EXPECT_FALSE(RestoreFilterFrom(d.path("c.flt"))->taggedOnly);
    EXPECT_FALSE(RestoreFilterFrom(d.path("c.flt"))->reverse);
    EXPECT_FALSE(RestoreFilterFrom(d.path("missing.flt")));
}

TEST(TagIds, Base36FromDateAndTime)
{
    EXPECT_EQ(toBase36(0), "");
    EXPECT_EQ(toBase36(35), "Z");
    EXPECT_EQ(toBase36(36), "10");
    // 2026-12-09 10:05:07: year part 31 -> "V"; 1209100507 -> base 36.
    const QString id = makeTagId(QDateTime(QDate(2026, 12, 9), QTime(10, 5, 7)));
    EXPECT_EQ(id, "V" + toBase36(1209100507ull));
    EXPECT_EQ(id.size(), 7);
    EXPECT_EQ(makeTagId(QDateTime(QDate(1996, 1, 1), QTime(0, 0, 0))), "1" + toBase36(101000000));
    EXPECT_EQ(makeTagId(QDateTime(QDate(2031, 1, 1), QTime(0, 0, 0))).size(), 8);
    EXPECT_EQ(makeTagId(QDateTime(QDate(2030, 12, 31), QTime(23, 59, 59))).size(), 7);
    // Successive seconds give successive generations.
    EXPECT_NE(makeTagId(QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1))),
              makeTagId(QDateTime(QDate(2026, 1, 1), QTime(0, 0, 2))));
}

} // namespace
