// The memo and index files beside a table: created with the lower-case extensions other xBase
// programs look for (".fpt", ".cdx", ".idx"), whatever the case of the table's name; older
// files with upper-case extensions still open, and a pack, reindex or import moves them to the
// lower-case names, never leaving two index or memo files beside one table.
#include "addressfile.h"
#include "engine/recordengine.h"
#include "support_addressfile.h"
#include "support_validators.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdio>

using namespace postavo;
using namespace postavo::test;

namespace {

// The files of the folder other than the table, sorted.
QStringList companions(const ScratchDir& dir)
{
    QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("ADD0001.DBF"));
    names.removeAll(QStringLiteral("source.dbf"));
    return names;
}

class SiblingFiles : public ::testing::Test {
protected:
    ScratchDir dir;
    QString path = dir.path("ADD0001.DBF");
    std::string file = path.toStdString();

    void SetUp() override
    {
        ASSERT_TRUE(makeAddressFile(path, 4, [](AddressTable& a, int i) {
            a.setValue("LNAME", QStringLiteral("Person%1").arg(i + 1));
            a.setMemo(QStringLiteral("memo %1").arg(i + 1));
        }));
    }
    // As an older version left them: upper-case extensions like the table's.
    void upperCaseCompanions()
    {
        for (const char* ext : {"fpt", "cdx"}) {
            const QString lower = dir.path(QStringLiteral("ADD0001.") + ext);
            if (QFile::exists(lower)) {
                ASSERT_TRUE(QFile::rename(lower, dir.path(QStringLiteral("ADD0001.") + QString::fromLatin1(ext).toUpper())));
            }
        }
    }
    void expectReadable()
    {
        AddressTable t;
        ASSERT_TRUE(t.open(path)) << t.lastError().toStdString();
        EXPECT_TRUE(CheckValidIndex(t));
        ASSERT_TRUE(t.setOrder("LNAME"));
        ASSERT_TRUE(t.last());
        EXPECT_EQ(t.value("LNAME"), "Person4");
        EXPECT_EQ(t.memo(), "memo 4");
    }
};

TEST_F(SiblingFiles, NewFilesHaveLowerCaseExtensionsAndPassBothCheckers)
{
    EXPECT_EQ(companions(dir), QStringList({"ADD0001.cdx", "ADD0001.fpt"}));
    EXPECT_TABLE_VALID(file);
    // A table named in lower case gets the same.
    ScratchDir other;
    ASSERT_TRUE(makeAddressFile(other.path("add0002.DBF"), 1));
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"add0002.DBF", "add0002.cdx", "add0002.fpt"}));
    EXPECT_TABLE_VALID(other.path("add0002.DBF").toStdString());
}

TEST_F(SiblingFiles, OlderUpperCaseFilesOpenAndMoveToLowerCaseWhenReplaced)
{
    upperCaseCompanions();
    expectReadable();
    EXPECT_EQ(companions(dir), QStringList({"ADD0001.CDX", "ADD0001.FPT"}));  // opening changes nothing

    {
        auto t = engine::Table::open(file, engine::OpenMode::Exclusive);
        t->reindex();
    }
    EXPECT_EQ(companions(dir), QStringList({"ADD0001.FPT", "ADD0001.cdx"}));
    expectReadable();

    upperCaseCompanions();
    {
        auto t = engine::Table::open(file, engine::OpenMode::Exclusive);
        t->go(2);
        t->deleteRecord();
        t->pack();
    }
    EXPECT_EQ(companions(dir), QStringList({"ADD0001.cdx", "ADD0001.fpt"}));
    expectReadable();
    EXPECT_TABLE_VALID(file);

    // The address book's own rebuild (pack, then the 26 tags).
    upperCaseCompanions();
    {
        AddressTable t;
        ASSERT_TRUE(t.open(path));
        ASSERT_TRUE(RebuildAddressFile(t, {}));
    }
    EXPECT_EQ(companions(dir), QStringList({"ADD0001.cdx", "ADD0001.fpt"}));
    EXPECT_TABLE_VALID(file);
}

TEST_F(SiblingFiles, ImportMovesToLowerCaseNames)
{
    upperCaseCompanions();
    const std::string source = dir.path("source.dbf").toStdString();
    engine::Table::create(source, {{"LNAME", 'C', 30, 0}, {"MEMO", 'M', 10, 0}});
    {
        auto t = engine::Table::open(source, engine::OpenMode::Exclusive);
        t->appendBlank();
        t->replace("LNAME", "Newcomer");
        t->replace("MEMO", "from elsewhere");
    }
    const std::string command = std::string(POSTAVO_BIN_DIR) + "/postavo-db import-dbf '" + source + "' '" + file + "' 2>&1";
    FILE* p = ::popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) {
    }
    ASSERT_EQ(::pclose(p), 0);
    QStringList left = companions(dir);
    left.removeAll(QStringLiteral("source.fpt"));
    EXPECT_EQ(left, QStringList({"ADD0001.cdx", "ADD0001.fpt"}));
    expectReadable();
    EXPECT_TABLE_VALID(file);
}

TEST_F(SiblingFiles, DuplicateIndexFilesInTwoCasesBecomeOne)
{
    // Left by some other program: the same index under two names.
    ASSERT_TRUE(QFile::copy(dir.path("ADD0001.cdx"), dir.path("ADD0001.CDX")));
    {
        auto t = engine::Table::open(file, engine::OpenMode::Exclusive);
        t->reindex();
    }
    EXPECT_EQ(companions(dir), QStringList({"ADD0001.cdx", "ADD0001.fpt"}));
    expectReadable();
}

TEST_F(SiblingFiles, TemporaryIndexIsWrittenWithALowerCaseExtension)
{
    auto t = engine::Table::open(file, engine::OpenMode::Exclusive);
    const std::string made = t->createTempIndex(dir.path("_CHKSZ.IDX").toStdString(), "UPPER(LNAME)");
    EXPECT_EQ(made, dir.path("_CHKSZ.idx").toStdString());
    t->closeTempIndex();
    EXPECT_TRUE(QFile::exists(dir.path("_CHKSZ.idx")));
    EXPECT_FALSE(QFile::exists(dir.path("_CHKSZ.IDX")));
}

} // namespace
