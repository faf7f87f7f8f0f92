// Where a print run starts: the records it takes (all but the deleted ones, the table's filter,
// or only the current record), narrowed by a run's own filter, and its first record.
#include "addressfile.h"
#include "runposition.h"
#include "support_addressfile.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::test;

namespace {

class RunStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(makeAddressFile(path, 5, [](AddressTable& t, int i) {
            t.setValue("LNAME", QStringLiteral("Name%1").arg(i + 1));
            t.setValue("STATE", i % 2 ? "MA" : "TX");
        }));
        ASSERT_TRUE(t.open(path));
        ASSERT_TRUE(t.goTo(1));
        ASSERT_TRUE(t.deleteCurrent());
    }
    // The record numbers from where the run starts to the end.
    std::vector<quint32> walk()
    {
        std::vector<quint32> rows;
        if (t.hasRecord())
            do
                rows.push_back(t.recNo());
            while (t.next());
        return rows;
    }
    ScratchDir dir;
    QString path = dir.path("RUN.DBF");
    AddressTable t;
    QString notice, error;
};

} // namespace

TEST_F(RunStart, AllLeavesOutDeletedRecordsAndAnExtraFilterNarrowsAnyChoice)
{
    ASSERT_TRUE(positionRun(t, RunRecords::All, {}, false, 3, &notice, &error)) << error.toStdString();
    EXPECT_EQ(walk(), (std::vector<quint32>{2, 3, 4, 5}));

    ASSERT_TRUE(t.setFilter("STATE = 'TX'"));
    ASSERT_TRUE(positionRun(t, RunRecords::MatchingFilter, {}, false, 3, &notice, &error));
    EXPECT_EQ(walk(), (std::vector<quint32>{3, 5}));
    ASSERT_TRUE(t.setFilter("STATE = 'TX'"));
    ASSERT_TRUE(positionRun(t, RunRecords::MatchingFilter, "RECNO() > 2", false, 3, &notice, &error));
    EXPECT_EQ(walk(), (std::vector<quint32>{3, 5}));
    ASSERT_TRUE(positionRun(t, RunRecords::All, "STATE = 'MA'", false, 3, &notice, &error));
    EXPECT_EQ(walk(), (std::vector<quint32>{2, 4}));
    EXPECT_TRUE(notice.isEmpty());
}

TEST_F(RunStart, FromTheCurrentRecordOnlyWhenTheRunTakesIt)
{
    ASSERT_TRUE(positionRun(t, RunRecords::All, {}, true, 4, &notice, &error));
    EXPECT_EQ(t.recNo(), 4u);
    EXPECT_TRUE(notice.isEmpty());
    ASSERT_TRUE(positionRun(t, RunRecords::All, {}, true, 1, &notice, &error));
    EXPECT_EQ(notice, kOutOfRangeNotice) << "a deleted record is not among those to print";
    EXPECT_EQ(t.recNo(), 2u);

    notice.clear();
    ASSERT_TRUE(t.goTo(5));
    ASSERT_TRUE(positionRun(t, RunRecords::CurrentOnly, {}, false, 3, &notice, &error));
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_TRUE(notice.isEmpty());
}

TEST_F(RunStart, ARefusedFilterOrNothingToPrintIsAnError)
{
    EXPECT_FALSE(positionRun(t, RunRecords::All, "STATE = = 'x'", false, 2, &notice, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(positionRun(t, RunRecords::All, "STATE = 'NY'", false, 2, &notice, &error));
    EXPECT_EQ(error, "There is no record to print.");
}
