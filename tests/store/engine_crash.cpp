// Crash durability: a child process is killed in the middle of appends, of a reindex and of a
// pack; the table then opens, keeps every committed record, and its index agrees with it.
#include "engine_support.h"
#include "support_validators.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

using namespace postavo::engine;
using namespace enginetest;

namespace {

std::string recordName(std::uint32_t i) { return "rec " + std::to_string(i); }

void makeTable(const std::string& path, std::uint32_t records)
{
    Table::create(path, {{"NAME", 'C', 20, 0}, {"N", 'N', 8, 0}, {"NOTES", 'M', 10, 0}});
    auto t = Table::open(path, OpenMode::Exclusive);
    for (std::uint32_t i = 1; i <= records; ++i) {
        t->appendBlank();
        t->replace("NAME", recordName(i));
        t->replaceNumber("N", double((i * 7919) % 10007));
        if (i % 10 == 0)
            t->replace("NOTES", "memo of " + recordName(i));
    }
    t->indexTags({{"NAME", "UPPER(NAME)"}, {"N", "N"}, {"DEL", "DELETED()"}});
    t->close();
}

// Runs `work` in a child that reports progress through a pipe (one int per step); kills it
// with SIGKILL after `steps` reports; returns the last value reported.
template <typename Work>
int killMidway(int steps, Work work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        try {
            work([&](int v) {
                if (::write(fds[1], &v, sizeof v) != sizeof v)
                    ::_exit(3);
            });
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    int last = 0, v = 0, seen = 0;
    while (seen < steps && ::read(fds[0], &v, sizeof v) == sizeof v) {
        last = v;
        ++seen;
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    while (::read(fds[0], &v, sizeof v) == sizeof v)
        last = v;
    ::close(fds[0]);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the child ended by itself";
    return last;
}

void expectSound(const std::string& path)
{
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        EXPECT_EQ(t->check(), std::vector<std::string>{});
    }
    EXPECT_TABLE_VALID(path);
}

} // namespace

TEST(EngineCrash, KilledDuringAppends)
{
    const std::string dir = scratchDir("crash-append");
    const std::string path = dir + "/c.dbf";
    makeTable(path, 10);
    const int committed = killMidway(30, [&](auto report) {
        auto t = Table::open(path, OpenMode::Exclusive);
        for (std::uint32_t i = 11;; ++i) {
            t->appendBlank();
            t->replace("NAME", recordName(i));
            t->replaceNumber("N", double(i));
            if (i % 5 == 0)
                t->replace("NOTES", "memo " + std::to_string(i));
            if (i % 3 == 0) {
                t->commit();
                report(int(i));
            }
        }
    });
    ASSERT_GE(committed, 11);
    auto t = Table::open(path, OpenMode::Exclusive);
    EXPECT_GE(t->recCount(), std::uint32_t(committed));
    for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
        t->go(r);
        ASSERT_EQ(t->getTrimString("NAME"), recordName(r));
        if (r > 10 && r % 5 == 0) {
            EXPECT_EQ(t->getMemo("NOTES"), "memo " + std::to_string(r));
        }
    }
    t->setOrder("NAME");
    t->seek("REC " + std::to_string(committed));
    EXPECT_TRUE(t->found());
    t.reset();
    expectSound(path);
}

TEST(EngineCrash, KilledDuringReindex)
{
    const std::string dir = scratchDir("crash-reindex");
    const std::string path = dir + "/c.dbf";
    makeTable(path, 20000);
    killMidway(2, [&](auto report) {
        auto t = Table::open(path, OpenMode::Exclusive);
        for (int i = 1;; ++i) {
            t->reindex();
            report(i);
        }
    });
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        EXPECT_EQ(t->tagCount(), 3u);
        EXPECT_EQ(t->recCount(), 20000u);
    }
    expectSound(path);
}

TEST(EngineCrash, KilledDuringPack)
{
    const std::string dir = scratchDir("crash-pack");
    const std::string path = dir + "/c.dbf";
    makeTable(path, 20000);
    killMidway(2, [&](auto report) {
        auto t = Table::open(path, OpenMode::Exclusive);
        for (int i = 1;; ++i) {
            t->go(1);
            t->deleteRecord();
            t->pack();
            report(i);
        }
    });
    auto t = Table::open(path, OpenMode::Exclusive);
    const std::uint32_t n = t->recCount();
    EXPECT_GE(n, 19990u);
    // Whichever file survived, the records are whole and in order.
    t->go(1);
    const std::string firstName = t->getTrimString("NAME");
    const std::uint32_t offset = std::uint32_t(std::stoul(firstName.substr(4))) - 1;
    for (std::uint32_t r = 1; r <= n; r += 997) {
        t->go(r);
        ASSERT_EQ(t->getTrimString("NAME"), recordName(r + offset));
        // The memo file that survived is the one the table points into.
        ASSERT_EQ(t->getMemo("NOTES"), (r + offset) % 10 == 0 ? "memo of " + recordName(r + offset) : "");
    }
    if (t->tagCount() == 0)
        t->indexTags({{"NAME", "UPPER(NAME)"}, {"N", "N"}, {"DEL", "DELETED()"}});  // as the program does
    t.reset();
    expectSound(path);
}
