// The visible records of an address table in one pass: the same rows, in the same order, as
// walking the table record by record, whatever the order, filter and deleted records.
#include "addressfile.h"
#include "support_addressfile.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::test;

namespace {

std::vector<quint32> walk(AddressTable& t)
{
    std::vector<quint32> rows;
    if (!t.first())
        return rows;
    do
        rows.push_back(t.recNo());
    while (t.next());
    return rows;
}

TEST(VisibleRecords, MatchAWalkInEveryOrderWithFilterAndDeletedRecords)
{
    ScratchDir dir;
    const QString path = dir.path("VIS.DBF");
    ASSERT_TRUE(makeAddressFile(path, 3000, [](AddressTable& t, int i) {
        t.setValue("LNAME", QStringLiteral("N%1").arg((i * 7919) % 3000, 4, 10, QLatin1Char('0')));
        t.setValue("CITY", i % 3 ? "Boston" : "Austin");
        t.setValue("CODES", i % 4 == 0 ? "C" : "");
    }));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    for (quint32 r : {5u, 17u, 2999u}) {
        ASSERT_TRUE(t.goTo(r));
        ASSERT_TRUE(t.deleteCurrent());
    }
    for (const QString& order : {QString(), QStringLiteral("NAME"), QStringLiteral("CITY")}) {
        for (const QString& filter : {QString(), QStringLiteral("CODES = \"C\"")}) {
            ASSERT_TRUE(t.setOrder(order));
            ASSERT_TRUE(t.setFilter(filter));
            ASSERT_TRUE(t.goTo(walk(t).at(10)));
            const quint32 here = t.recNo();
            const std::vector<quint32> fast = t.visibleRecords();
            EXPECT_EQ(t.recNo(), here) << "the pass does not move the table";
            EXPECT_EQ(fast, walk(t)) << order.toStdString() << " / " << filter.toStdString();
            // Moving on from where the pass left the order's cursor still works.
            ASSERT_TRUE(t.goTo(fast[3]));
            ASSERT_TRUE(t.next());
            EXPECT_EQ(t.recNo(), fast[4]);
        }
    }
}

TEST(VisibleRecords, ProgressRisesAndCanStopThePass)
{
    ScratchDir dir;
    const QString path = dir.path("VIS.DBF");
    ASSERT_TRUE(makeAddressFile(path, 500));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    ASSERT_TRUE(t.setOrder("NAME"));
    int last = -1;
    bool rising = true;
    const auto all = t.visibleRecords([&](int p) {
        rising = rising && p >= last && p <= 100;
        last = p;
        return true;
    });
    EXPECT_TRUE(rising);
    EXPECT_EQ(all.size(), 500u);
    const auto none = t.visibleRecords([](int) { return false; });
    EXPECT_LT(none.size(), 500u);
}

} // namespace
