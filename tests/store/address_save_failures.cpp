// A save that fails changes nothing: the files stay as they were, the typing stays in the edit
// buffer, saving again stores the record once, and cancelling writes nothing. Failures come
// from the engine's write hook (a full disk) and from a real file-size limit.
#include "addressfile.h"
#include "cp1252.h"
#include "engine/recordengine.h"
#include "engine/write_faults.h"
#include "support_addressfile.h"
#include "support_validators.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace postavo;
using namespace postavo::test;

namespace {

std::string slurp(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Files {
    std::string dbf, fpt;
    bool operator==(const Files&) const = default;
};

class SaveFailures : public ::testing::Test {
protected:
    ScratchDir dir;
    QString path = dir.path("ADD0001.DBF");
    AddressTable t;

    void SetUp() override
    {
        ASSERT_TRUE(makeAddressFile(path, 3, [](AddressTable& a, int i) {
            a.setValue("LNAME", QStringLiteral("Person%1").arg(i + 1));
            a.setMemo(QStringLiteral("memo %1").arg(i + 1));
        }));
        ASSERT_TRUE(t.open(path));
    }
    void TearDown() override { engine::setWriteFaultHook({}); }

    Files files() const { return {slurp(path), slurp(dir.path("ADD0001.fpt"))}; }

    // Writes that would make a file longer fail, as on a full disk; `onlyIndex` fails every
    // write of the index instead.
    static void failGrowth(bool onlyIndex = false)
    {
        engine::setWriteFaultHook([onlyIndex](const std::string& p, std::uint64_t offset, std::size_t length) {
            const bool index = p.size() > 4 && (p.substr(p.size() - 4) == ".CDX" || p.substr(p.size() - 4) == ".cdx");
            if (onlyIndex)
                return index ? EIO : 0;
            std::error_code ec;
            const auto size = std::filesystem::file_size(p, ec);
            return !ec && offset + length > size ? ENOSPC : 0;
        });
    }

    QStringList lastNames()
    {
        QStringList names;
        t.setOrder(QString());
        for (bool more = t.first(); more && t.hasRecord(); more = t.next())
            names << t.value("LNAME");
        return names;
    }

    void expectSoundFile()
    {
        t.close();
        auto e = engine::Table::open(path.toStdString(), engine::OpenMode::ReadOnly);
        EXPECT_EQ(e->check(), std::vector<std::string>{});
        e.reset();
        EXPECT_TABLE_VALID(path.toStdString());
        ASSERT_TRUE(t.open(path));
    }
};

TEST_F(SaveFailures, FailedInsertKeepsTheTypingAndSavesOnceWhenRetried)
{
    for (const bool withMemo : {true, false}) {
        SCOPED_TRACE(withMemo ? "memo grows first" : "table grows first");
        const Files before = files();
        ASSERT_TRUE(t.insert());
        t.setValue("LNAME", "Newcomer");
        if (withMemo)
            t.setMemo(QString(300, QLatin1Char('m')));
        failGrowth();
        EXPECT_FALSE(t.post());
        EXPECT_NE(t.lastError().indexOf("No space left on device"), -1) << t.lastError().toStdString();
        EXPECT_EQ(t.state(), TableState::Insert);
        EXPECT_EQ(t.value("LNAME"), "Newcomer");
        EXPECT_EQ(files(), before);
        // Moving, closing or another post must not find a half-stored record to write.
        engine::setWriteFaultHook({});
        ASSERT_TRUE(t.post()) << t.lastError().toStdString();
        EXPECT_EQ(t.recordCount(), withMemo ? 4u : 5u);
    }
    EXPECT_EQ(lastNames(), QStringList({"Person1", "Person2", "Person3", "Newcomer", "Newcomer"}));
    expectSoundFile();
}

TEST_F(SaveFailures, CancelAfterAFailedSaveWritesNothing)
{
    const Files before = files();
    ASSERT_TRUE(t.insert());
    t.setValue("LNAME", "Never");
    t.setMemo("a memo that never lands");
    failGrowth();
    EXPECT_FALSE(t.post());
    engine::setWriteFaultHook({});
    t.cancel();
    t.close();
    EXPECT_EQ(files(), before);
    ASSERT_TRUE(t.open(path));

    ASSERT_TRUE(t.goTo(2));
    ASSERT_TRUE(t.edit());
    t.setValue("LNAME", "Renamed");
    t.setMemo(QString(500, QLatin1Char('x')));
    failGrowth();
    EXPECT_FALSE(t.post());
    EXPECT_EQ(t.state(), TableState::Edit);
    EXPECT_EQ(t.value("LNAME"), "Renamed");
    engine::setWriteFaultHook({});
    t.cancel();
    t.close();
    EXPECT_EQ(files(), before);
    ASSERT_TRUE(t.open(path));
    EXPECT_EQ(lastNames(), QStringList({"Person1", "Person2", "Person3"}));
    ASSERT_TRUE(t.goTo(2));
    EXPECT_EQ(t.memo(), "memo 2");
    expectSoundFile();
}

// The record reaches the table but its keys cannot reach the index: the record is taken back
// out, so table and index still agree.
TEST_F(SaveFailures, IndexWriteFailureTakesTheRecordBack)
{
    const std::string dbfBefore = slurp(path);
    ASSERT_TRUE(t.insert());
    t.setValue("LNAME", "Aardvark");
    failGrowth(true);
    EXPECT_FALSE(t.post());
    EXPECT_NE(t.lastError().indexOf("ADD0001.cdx"), -1) << t.lastError().toStdString();
    EXPECT_EQ(t.recordCount(), 3u);
    std::string dbfNow = slurp(path);
    dbfNow[14] = dbfBefore[14];   // the index-changes mark stays set until the index is whole
    dbfNow[12] = dbfBefore[12];   // and the append mark until the next commit
    EXPECT_EQ(dbfNow, dbfBefore);

    engine::setWriteFaultHook({});
    ASSERT_TRUE(t.post()) << t.lastError().toStdString();
    ASSERT_TRUE(t.setOrder("LNAME"));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.value("LNAME"), "Aardvark");
    EXPECT_EQ(t.recordCount(), 4u);
    expectSoundFile();
}

// The same under a real file-size limit (as `ulimit -f` sets), in a child process.
TEST_F(SaveFailures, FileSizeLimitOnInsertAndEdit)
{
    t.close();
    const Files before = files();
    const auto limit = rlim_t(std::filesystem::file_size(path.toStdString()));
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        AddressTable c;
        if (!c.open(path))
            ::_exit(10);
        if (!c.insert())
            ::_exit(11);
        c.setValue("LNAME", "Toolarge");
        if (c.post() || c.lastError().indexOf("File too large") < 0 || c.state() != TableState::Insert)
            ::_exit(12);
        c.cancel();
        if (!c.goTo(1) || !c.edit())
            ::_exit(13);
        c.setValue("LNAME", "Edited");   // stays in place; its keys need index pages past the limit
        c.setMemo("new memo");
        if (c.post() || c.state() != TableState::Edit)
            ::_exit(14);
        c.cancel();
        c.close();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    Files after = files();
    after.dbf[14] = before.dbf[14];
    EXPECT_EQ(after, before);
    ASSERT_TRUE(t.open(path));
    EXPECT_EQ(lastNames(), QStringList({"Person1", "Person2", "Person3"}));
    expectSoundFile();
}

// Text the file cannot hold is refused whole, naming the characters, never stored as '?'.
TEST_F(SaveFailures, CharactersOutsideWindows1252AreRefusedNotReplaced)
{
    EXPECT_EQ(charactersOutsideCp1252(QStringLiteral("Zażółć gęślą jaźń")),
              QStringList({"ż", "ł", "ć", "ę", "ś", "ą", "ź", "ń"}));
    EXPECT_EQ(charactersOutsideCp1252(QStringLiteral("Müller Œuvre € naïve")), QStringList());
    EXPECT_EQ(charactersOutsideCp1252(QStringLiteral("a\U0001F600b\U0001F600")), QStringList({"\U0001F600"}));
    EXPECT_EQ(describeCharacters({"Ł", "ż"}), "Ł (U+0141), ż (U+017C)");

    const Files before = files();
    ASSERT_TRUE(t.insert());
    t.setValue("LNAME", QStringLiteral("Łukasiewicz"));
    t.setValue("CITY", QStringLiteral("Kraków"));   // fits: ó is in Windows-1252
    t.setMemo(QStringLiteral("Zażółć"));
    EXPECT_FALSE(t.post());
    const QString why = t.lastError();
    EXPECT_NE(why.indexOf("Last Name: Ł (U+0141)"), -1) << why.toStdString();
    EXPECT_NE(why.indexOf("Memo: ż (U+017C)"), -1) << why.toStdString();
    EXPECT_EQ(why.indexOf("City"), -1) << why.toStdString();
    EXPECT_EQ(t.state(), TableState::Insert);
    EXPECT_EQ(t.value("LNAME"), QStringLiteral("Łukasiewicz"));
    EXPECT_EQ(files(), before);
    t.setValue("LNAME", QStringLiteral("Lukasiewicz"));
    t.setMemo(QStringLiteral("Zazolc"));
    EXPECT_TRUE(t.unstorableText().isEmpty());
    ASSERT_TRUE(t.post()) << t.lastError().toStdString();
    EXPECT_EQ(t.value("CITY"), QStringLiteral("Kraków"));
}

} // namespace
