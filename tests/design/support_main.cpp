#include "support_design.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace postavo::testing {

QString designScratch(const QString& name)
{
    QString base = qEnvironmentVariable("POSTAVO_TEST_TMP");
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString path = base + QStringLiteral("/design-objects-") + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString runProgram(const QString& program, const QStringList& args, int* exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAll());
}

} // namespace postavo::testing

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
