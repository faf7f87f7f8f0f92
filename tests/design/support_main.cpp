#include "support_design.h"

#include "designtypes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace postavo::testing {

QString scratchDir(const QString& name)
{
    QString base = qEnvironmentVariable("POSTAVO_TEST_TMP");
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString path = base + QStringLiteral("/design-") + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QString goldenPath(const QString& name)
{
    return QStringLiteral(POSTAVO_SOURCE_DIR "/tests/design/data/") + name;
}

QString runTool(const QString& program, const QStringList& args, int* exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        *exitCode = -1;
        return {};
    }
    p.waitForFinished(120000);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAll());
}

} // namespace postavo::testing

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    postavo::design::setScreenPpi(96);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
