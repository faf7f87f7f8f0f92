// The browse grid's columns: which are shown, their widths, and the order kept in FIELDS.LST
// (read, written, and every kind of bad file).
#include "browsecolumns.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

TEST(BrowseColumns, ShownFieldsAndWidths)
{
    const QStringList order = defaultBrowseFieldOrder();
    EXPECT_EQ(order.front(), "Tagged");
    EXPECT_EQ(order.at(20), "DisplayDate");
    int shown = 0;
    for (const QString& n : order)
        shown += isBrowseColumnShown(n);
    EXPECT_EQ(shown, 21);
    for (const char* hidden : {"MEMO", "ISDEL", "TAG", "DATE", "FullName", "CityStateZip"})
        EXPECT_FALSE(isBrowseColumnShown(hidden)) << hidden;
    EXPECT_EQ(browseColumnWidth("LNAME", 30), 20);
    EXPECT_EQ(browseColumnWidth("PREFIX", 12), 4);
    EXPECT_EQ(browseColumnWidth("STATE", 20), 5);
    EXPECT_EQ(browseColumnWidth("STREET", 40), 40) << "as wide as the field";
    EXPECT_EQ(browseColumnWidth("EMAIL", 55), 55);
}

TEST(BrowseColumns, FieldsListGivesNamedFieldsTheirPlaces)
{
    const QStringList base = defaultBrowseFieldOrder();
    FieldsList l = applyFieldsList("city\r\nLNAME\r\n", base);
    EXPECT_EQ(l.order.mid(0, 3), QStringList({"CITY", "LNAME", "Tagged"}));
    EXPECT_EQ(l.order.size(), base.size());
    EXPECT_TRUE(l.problem.isEmpty());
    l = applyFieldsList("CITY\nNOSUCH\nCITY\nZIP\n", base);
    EXPECT_EQ(l.order.mid(0, 2), QStringList({"CITY", "ZIP"}));
    EXPECT_EQ(l.order.size(), base.size());
    EXPECT_TRUE(l.problem.contains("NOSUCH")) << l.problem.toStdString();
}

TEST(BrowseColumns, FileRoundTripAndBadFiles)
{
    const QString dir = scratchDir("browse_columns");
    const QString path = dir + "/FIELDS.LST";
    const QStringList base = defaultBrowseFieldOrder();
    QFile::remove(path);
    FieldsList l = readFieldsList(path, base);
    EXPECT_EQ(l.order, base) << "no file: the usual order, nothing said";
    EXPECT_TRUE(l.problem.isEmpty());

    QStringList moved = base;
    moved.move(moved.indexOf("CITY"), 0);
    ASSERT_TRUE(writeFieldsList(path, moved));
    EXPECT_TRUE(readBytes(path).startsWith("CITY\r\nTagged\r\nLNAME\r\n"));
    EXPECT_TRUE(readBytes(path).endsWith("CityStateZip\r\n"));
    l = readFieldsList(path, base);
    EXPECT_EQ(l.order, moved);
    EXPECT_TRUE(l.problem.isEmpty());

    writeBytes(path, QByteArray("CITY\0\x01\x02garbage", 15));
    l = readFieldsList(path, base);
    EXPECT_EQ(l.order, base);
    EXPECT_TRUE(l.problem.contains("damaged"));
    writeBytes(path, "hello world\r\nthis is not a list\r\n");
    l = readFieldsList(path, base);
    EXPECT_EQ(l.order, base);
    EXPECT_TRUE(l.problem.contains("damaged"));
    writeBytes(path, QByteArray(100 * 1024, 'A'));
    EXPECT_TRUE(readFieldsList(path, base).problem.contains("too large"));

    // A file that cannot be written leaves the one there whole.
    writeBytes(path, "ZIP\r\n");
    ASSERT_TRUE(QDir().mkpath(dir + "/taken"));
    EXPECT_FALSE(writeFieldsList(dir + "/taken", moved)) << "a folder stands where the file goes";
    EXPECT_EQ(readBytes(path), "ZIP\r\n");
}
