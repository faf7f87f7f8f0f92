#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace postavo::testing {

QString scratchDir(const QString& name)
{
    QString base = qEnvironmentVariable("POSTAVO_TEST_TMP");
    if (base.isEmpty())
        base = QDir::tempPath();
    QString program = QCoreApplication::instance() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                                   : QString();
    if (program.isEmpty())
        program = QStringLiteral("test");
    const QString path = base + QLatin1Char('/') + program + QLatin1Char('-') + name;
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
