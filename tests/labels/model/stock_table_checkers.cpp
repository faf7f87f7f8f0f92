// The label stock table exactly as the build makes it (postavo-make-shipped), checked by the
// independent xBase checkers, which share no code with our engine.
#include "support_labels.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace postavo::labels::test;

namespace {

TEST(ShippedStockTable, PassesTheIndependentCheckers)
{
    ScratchDir dir;
    QProcess build;
    build.start(QStringLiteral(POSTAVO_BIN_DIR "/postavo-make-shipped"),
                {QStringLiteral(POSTAVO_SOURCE_DIR "/data"), dir.path()});
    ASSERT_TRUE(build.waitForFinished(120000));
    ASSERT_EQ(build.exitCode(), 0) << build.readAllStandardError().toStdString();
    const QString dbf = dir.path("LBLTPL.DBF");
    ASSERT_TRUE(QFile::exists(dbf));

    const QString shared = QStringLiteral(POSTAVO_SHARED_DIR "/tools");
    bool ranOne = false;
    if (QFile::exists(shared + "/xbase-check.py") && QFile::exists("/usr/bin/python3")) {
        QProcess p;
        p.start("/usr/bin/python3", {shared + "/xbase-check.py", dbf});
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString() << p.readAllStandardError().toStdString();
        ranOne = true;
    }
    if (QFile::exists(shared + "/cdxdump")) {
        QProcess p;
        p.start(shared + "/cdxdump", {dbf});
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().left(4000).toStdString()
                                   << p.readAllStandardError().toStdString();
        ranOne = true;
    }
    if (!ranOne)
        GTEST_SKIP() << "the independent checkers in ../shared/tools are absent";
}

} // namespace
