#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace postavo {

namespace {

QString& storedPath()
{
    static QString folder;
    return folder;
}

QString withSlash(QString p)
{
    if (!p.endsWith('/'))
        p += '/';
    return p;
}

bool canWriteIn(const QString& dir)
{
    if (!QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(withSlash(dir) + QStringLiteral(".postavo-write-XXXXXX"));
    return probe.open();
}

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
}

} // namespace

QString ProgramFolder::choose(const QString& exeDir, const QString& userDataDir)
{
    if (canWriteIn(exeDir))
        return withSlash(QDir::cleanPath(exeDir));
    return withSlash(QDir::cleanPath(userDataDir));
}

QString ProgramFolder::path()
{
    QString& p = storedPath();
    if (p.isEmpty()) {
        QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (userDir.isEmpty())
            userDir = QDir::homePath() + QStringLiteral("/.local/share/Postavo");
        const QString exeDir = executableDir();
        p = choose(exeDir, userDir);
        QDir().mkpath(p);
    }
    return p;
}

void ProgramFolder::setPath(const QString& folder)
{
    storedPath() = withSlash(QDir::cleanPath(QDir(folder).absolutePath()));
}

QString ProgramFolder::dataPath() { return resolveFileName(path() + QStringLiteral("DATA")) + '/'; }
QString ProgramFolder::sysdataPath() { return resolveFileName(path() + QStringLiteral("sysdata")) + '/'; }
QString ProgramFolder::settingsFile() { return resolveFileName(path() + QStringLiteral("postav.ini")); }

bool ProgramFolder::ensureFolders(QString* error)
{
    for (const QString& dir : {dataPath(), sysdataPath()}) {
        if (!QDir().mkpath(dir)) {
            if (error)
                *error = QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(dir));
            return false;
        }
    }
    return true;
}

QString resolveFileName(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const bool absolute = path.startsWith('/');
    const QStringList parts = path.split('/', Qt::SkipEmptyParts);
    QString built = absolute ? QStringLiteral("/") : QString();
    bool matching = true;  // once a component is missing, nothing below it can exist
    for (int i = 0; i < parts.size(); ++i) {
        QString part = parts[i];
        const QString here = built.isEmpty() ? QStringLiteral(".") : built;
        if (matching && part != QLatin1String(".") && part != QLatin1String("..")
            && !QFileInfo::exists(built + part)) {
            const QStringList entries = QDir(here).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            bool found = false;
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    part = e;
                    found = true;
                    break;
                }
            }
            matching = found;
        }
        built += part;
        if (i + 1 < parts.size() || path.endsWith('/'))
            built += '/';
    }
    return built;
}

} // namespace postavo
