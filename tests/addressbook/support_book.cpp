#include "support_book.h"

#include "programfolder.h"
#include "settings.h"

#include <QDir>

namespace postavo::test {

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
    BookUi ui;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!CreateAddressFile(path, defaultFieldLengths(), ui))
        return false;
    AddressTable t;
    if (!t.open(path))
        return false;
    for (const Row& r : rows) {
        if (!t.insert())
            return false;
        for (auto it = r.cbegin(); it != r.cend(); ++it) {
            if (it.key() == QLatin1String("MEMO"))
                t.setMemo(it.value());
            else
                t.setValue(it.key(), it.value());
        }
        if (!t.post())
            return false;
    }
    t.close();
    return true;
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

} // namespace postavo::test
