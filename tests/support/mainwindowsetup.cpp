#include "mainwindowsetup.h"

#include "addressdata.h"
#include "programfolder.h"
#include "settings.h"

#include <QDir>

namespace postavo::testing {

std::unique_ptr<QTemporaryDir> freshProgramFolder()
{
    const QString base = qEnvironmentVariable("POSTAVO_TEST_TMP", QDir::tempPath());
    QDir().mkpath(base);
    auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/addressbook-XXXXXX"));
    ProgramFolder::setPath(dir->path());
    return dir;
}

bool makeBook(const QString& path, const QVector<Row>& rows)
{
    return makeAddressRecords(path, std::vector<Row>(rows.begin(), rows.end()));
}

QString makeStartBook(const QVector<Row>& rows)
{
    const QString path = ProgramFolder::dataPath() + QStringLiteral("add0001.DBF");
    makeBook(path, rows);
    Settings s;
    updateMRUList(s, path);
    return path;
}

void setSetting(const char* section, const char* key, const QString& value)
{
    Settings s;
    s.writeString(QString::fromLatin1(section), QString::fromLatin1(key), value);
}

} // namespace postavo::testing
