// One running copy per program folder, tested with real processes.
#include "singlecopy.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <csignal>
#include <memory>

namespace {

QString probe() { return qEnvironmentVariable("POSTAVO_PROBE"); }

struct Probe {
    std::unique_ptr<QProcess> p = std::make_unique<QProcess>();
    void start(const QString& programFile)
    {
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(probe(), {programFile});
        ASSERT_TRUE(p->waitForStarted(5000));
    }
    QString readLine(int timeoutMs = 10000)
    {
        QDeadlineTimer t(timeoutMs);
        while (!p->canReadLine() && !t.hasExpired())
            p->waitForReadyRead(50);
        return QString::fromLocal8Bit(p->readLine()).trimmed();
    }
    ~Probe()
    {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
};

class SingleCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(probe().isEmpty());
        ASSERT_TRUE(dir.isValid());
        // A program file of its own per test, so tests never meet each other's copies.
        programFile = dir.filePath(QStringLiteral("postavo"));
        QFile f(programFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QTemporaryDir dir;
    QString programFile;
};

TEST_F(SingleCopyTest, SecondCopyExitsAndFirstComesToFront)
{
    Probe first;
    first.start(programFile);
    ASSERT_EQ(first.readLine(), "first");

    Probe second;
    second.start(programFile);
    EXPECT_EQ(second.readLine(), "other");
    ASSERT_TRUE(second.p->waitForFinished(10000));
    EXPECT_EQ(second.p->exitCode(), 0);
    EXPECT_EQ(first.readLine(), "activated");
    EXPECT_EQ(first.p->state(), QProcess::Running);
}

TEST_F(SingleCopyTest, KilledFirstCopyDoesNotBlockTheNextStart)
{
    {
        Probe first;
        first.start(programFile);
        ASSERT_EQ(first.readLine(), "first");
        ::kill(pid_t(first.p->processId()), SIGKILL);  // leaves socket file and lock behind
        first.p->waitForFinished(5000);
    }
    const QString name = postavo::SingleCopy::nameFor(programFile);
    ASSERT_TRUE(QFile::exists(QDir::tempPath() + '/' + name + ".lock"));

    Probe next;
    next.start(programFile);
    EXPECT_EQ(next.readLine(), "first");
    Probe another;
    another.start(programFile);
    EXPECT_EQ(another.readLine(), "other");
}

TEST_F(SingleCopyTest, CopiesStartedTogetherElectExactlyOneFirst)
{
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < 4; ++i) {
        probes.push_back(std::make_unique<Probe>());
        probes.back()->start(programFile);
    }
    int firsts = 0, others = 0;
    for (auto& p : probes) {
        const QString line = p->readLine();
        firsts += line == "first";
        others += line == "other";
    }
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(others, 3);
}

TEST_F(SingleCopyTest, SeparateProgramFoldersRunSideBySide)
{
    QTemporaryDir other;
    const QString otherProgram = other.filePath(QStringLiteral("postavo"));
    QFile(otherProgram).open(QIODevice::WriteOnly);
    EXPECT_NE(postavo::SingleCopy::nameFor(programFile), postavo::SingleCopy::nameFor(otherProgram));

    Probe a, b;
    a.start(programFile);
    b.start(otherProgram);
    EXPECT_EQ(a.readLine(), "first");
    EXPECT_EQ(b.readLine(), "first");
}

// The real program: a second start exits at once with success.
TEST(SingleCopyProgram, SecondProgramExits)
{
    const QString program = qEnvironmentVariable("POSTAVO_PROGRAM");
    ASSERT_FALSE(program.isEmpty());
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("postavo"));
    ASSERT_TRUE(QFile::copy(program, copy));
    QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::ExeOwner);

    QProcess first;
    first.start(copy, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // Wait until the first copy listens.
    const QString name = postavo::SingleCopy::nameFor(copy);
    QDeadlineTimer t(15000);
    bool listening = false;
    while (!listening && !t.hasExpired()) {
        QLocalSocket s;
        s.connectToServer(name);
        listening = s.waitForConnected(100);
        if (!listening)
            QThread::msleep(100);
    }
    ASSERT_TRUE(listening);

    QProcess second;
    second.start(copy, {});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(QDir(dir.path()).exists(QStringLiteral("DATA")));
    EXPECT_TRUE(QDir(dir.path()).exists(QStringLiteral("sysdata")));
    first.kill();
    first.waitForFinished(5000);
}

} // namespace
