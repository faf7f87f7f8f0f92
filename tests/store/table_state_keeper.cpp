// A run's moves through the address table undone: the record, filter and order come back once,
// whatever the run changed, and a quiet keeper keeps the table's listeners still meanwhile.
#include "addressfile.h"
#include "support_addressfile.h"
#include "tablestatekeeper.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::test;

namespace {

class KeptTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(makeAddressFile(path, 6, [](AddressTable& t, int i) {
            t.setValue("LNAME", QStringLiteral("Name%1").arg(5 - i));
            t.setValue("CITY", i % 2 ? "Boston" : "Austin");
        }));
        ASSERT_TRUE(t.open(path));
    }
    ScratchDir dir;
    QString path = dir.path("KEEP.DBF");
    AddressTable t;
};

} // namespace

TEST_F(KeptTable, RecordFilterAndOrderComeBackOnce)
{
    ASSERT_TRUE(t.setOrder("NAME"));
    ASSERT_TRUE(t.setFilter("CITY = 'Boston'"));
    ASSERT_TRUE(t.goTo(4));
    {
        TableStateKeeper keep(t);
        EXPECT_EQ(keep.recno(), 4u);
        EXPECT_EQ(keep.order(), "NAME");
        EXPECT_EQ(keep.filter(), "CITY = 'Boston'");
        ASSERT_TRUE(t.setFilter({}));
        ASSERT_TRUE(t.setOrder({}));
        ASSERT_TRUE(t.goTo(1));
        keep.restore();
        EXPECT_EQ(t.recNo(), 4u);
        EXPECT_EQ(t.order(), "NAME");
        EXPECT_EQ(t.filter(), "CITY = 'Boston'");
        // What happens after restore() is the caller's: the keeper does not undo it again.
        ASSERT_TRUE(t.goTo(2));
    }
    EXPECT_EQ(t.recNo(), 2u);

    // Without restore() the keeper's end gives everything back.
    {
        TableStateKeeper keep(t);
        ASSERT_TRUE(t.setFilter("CITY = 'Austin'"));
        ASSERT_TRUE(t.first());
    }
    EXPECT_EQ(t.recNo(), 2u);
    EXPECT_EQ(t.filter(), "CITY = 'Boston'");
}

TEST_F(KeptTable, QuietKeeperStillsTheTableAndGivesItsSignalsBack)
{
    QSignalSpy current(&t, &AddressTable::currentChanged);
    ASSERT_TRUE(t.goTo(3));
    current.clear();
    {
        TableStateKeeper keep(t, TableStateKeeper::Signals::Quiet);
        EXPECT_FALSE(t.notificationsEnabled());
        ASSERT_TRUE(t.first());
        ASSERT_TRUE(t.next());
    }
    EXPECT_EQ(current.count(), 0);
    EXPECT_TRUE(t.notificationsEnabled());
    EXPECT_EQ(t.recNo(), 3u);

    // A keeper that was not asked to be quiet leaves the table's signals alone.
    {
        TableStateKeeper keep(t);
        ASSERT_TRUE(t.first());
        EXPECT_TRUE(t.notificationsEnabled());
    }
    EXPECT_GT(current.count(), 0);

    // A table stilled by its owner stays stilled after a quiet run.
    t.setNotificationsEnabled(false);
    { TableStateKeeper keep(t, TableStateKeeper::Signals::Quiet); }
    EXPECT_FALSE(t.notificationsEnabled());
}

TEST_F(KeptTable, AClosedTableStaysClosedAndAFilterThatHidesAllComesBack)
{
    {
        TableStateKeeper keep(t);
        t.close();
    }
    EXPECT_FALSE(t.isOpen());

    ASSERT_TRUE(t.open(path));
    ASSERT_TRUE(t.setFilter("CITY = 'Nowhere'"));
    {
        TableStateKeeper keep(t);
        ASSERT_TRUE(t.setFilter({}));
        ASSERT_TRUE(t.goTo(5));
    }
    EXPECT_EQ(t.filter(), "CITY = 'Nowhere'");
}
