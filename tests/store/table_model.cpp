// The grid model over an address table: rows through the order and filter, values, editing.
#include "addressfile.h"
#include "filterops.h"
#include "support_addressfile.h"
#include "tablemodel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::test;

namespace {

const int kRows = qEnvironmentVariableIntValue("POSTAVO_MODEL_ROWS") ? qEnvironmentVariableIntValue("POSTAVO_MODEL_ROWS") : 100000;

class TableModelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new ScratchDir;
        path = new QString(dir->path("BIG.DBF"));
        // 100 000 records: last names cycle backwards so NAME order differs from record order.
        ASSERT_TRUE(makeAddressFile(*path, kRows, [](AddressTable& t, int i) {
            t.setValue("LNAME", QStringLiteral("N%1").arg(99999 - i, 5, 10, QLatin1Char('0')));
            t.setValue("FNAME", QStringLiteral("F%1").arg(i));
            t.setValue("CODES", i % 10 == 0 ? "C" : "");
        }));
    }
    static void TearDownTestSuite()
    {
        delete path;
        delete dir;
    }
    static ScratchDir* dir;
    static QString* path;
};
ScratchDir* TableModelTest::dir = nullptr;
QString* TableModelTest::path = nullptr;

TEST_F(TableModelTest, RowsFollowOrderAndFilterOnALargeFile)
{
    AddressTable t;
    ASSERT_TRUE(t.open(*path));
    t.setFieldOrder({"LNAME", "FNAME", "Tagged", "DisplayDate"});
    TableModel m(&t);
    EXPECT_EQ(m.rowCount(), kRows);
    EXPECT_EQ(m.columnCount(), 4);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "Last Name");
    EXPECT_EQ(m.headerData(2, Qt::Horizontal).toString(), "Tagged");
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), "N99999");
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), "No");

    t.setOrder("NAME");
    m.refresh();
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), QStringLiteral("N%1").arg(100000 - kRows, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), QStringLiteral("F%1").arg(kRows - 1));
    EXPECT_EQ(m.data(m.index(kRows - 1, 0)).toString(), "N99999");
    EXPECT_EQ(m.recordAt(0), quint32(kRows));

    QueryValues q;
    q.values[15] = "$C";
    EXPECT_EQ(ApplyFilter(t, q, "X", {}), quint32(kRows / 10));
    m.refresh();
    EXPECT_EQ(m.rowCount(), kRows / 10);
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), QStringLiteral("F%1").arg(kRows - 10));
    // The table's own current record is untouched by the model's reading.
    t.first();
    const quint32 here = t.recNo();
    m.data(m.index(5000, 0));
    EXPECT_EQ(t.recNo(), here);
}

TEST_F(TableModelTest, EditingACellWritesTheRecord)
{
    AddressTable t;
    ASSERT_TRUE(t.open(*path));
    t.setFieldOrder({"LNAME", "TAG", "Tagged"});
    TableModel m(&t);
    EXPECT_TRUE(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m.flags(m.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m.flags(m.index(0, 2)) & Qt::ItemIsEditable);
    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
    ASSERT_TRUE(m.setData(m.index(3, 0), "EDITED"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(m.data(m.index(3, 0)).toString(), "EDITED");
    t.goTo(4);
    EXPECT_EQ(t.value("LNAME"), "EDITED");
}

} // namespace
