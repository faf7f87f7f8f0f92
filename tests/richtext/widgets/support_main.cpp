#include "support_widgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace postavo::testing {

QString scratchDir(const QString& name)
{
    QString base = qEnvironmentVariable("POSTAVO_TEST_TMP");
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString path = base + QStringLiteral("/richtext-widgets-") + name;
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

QString dataPath(const QString& name)
{
    return QStringLiteral(POSTAVO_SOURCE_DIR "/tests/richtext/data/") + name;
}

} // namespace postavo::testing

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
