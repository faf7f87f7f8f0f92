#include "browsecolumns.h"

#include "addressfile.h"
#include "filewriting.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace postavo {

namespace {

const QStringList& shownColumns()
{
    static const QStringList names = {
        QStringLiteral("Tagged"), QStringLiteral("LNAME"), QStringLiteral("FNAME"), QStringLiteral("MIDDLE"),
        QStringLiteral("PREFIX"), QStringLiteral("TITLE"), QStringLiteral("ORG"), QStringLiteral("STREET"),
        QStringLiteral("STREET2"), QStringLiteral("CITY"), QStringLiteral("STATE"), QStringLiteral("ZIP"),
        QStringLiteral("COUNTRY"), QStringLiteral("PHONE"), QStringLiteral("PHONE2"), QStringLiteral("FAX"),
        QStringLiteral("EMAIL"), QStringLiteral("CODES"), QStringLiteral("USER1"), QStringLiteral("USER2"),
        QStringLiteral("DisplayDate")};
    return names;
}

constexpr qint64 kFieldsListMaxBytes = 64 * 1024;

} // namespace

QStringList defaultBrowseFieldOrder()
{
    QStringList order = shownColumns();
    for (const char* n : {"DATE", "ISDEL", "TAG", "MEMO", "FullName", "FullNameWithPrefix", "CityStateZip"})
        order << QString::fromLatin1(n);
    return order;
}

bool isBrowseColumnShown(const QString& name) { return shownColumns().contains(name, Qt::CaseInsensitive); }

int browseColumnWidth(const QString& name, int fieldWidth)
{
    static const QHash<QString, int> widths = {
        {QStringLiteral("LNAME"), 20},  {QStringLiteral("FNAME"), 15},   {QStringLiteral("PREFIX"), 4},
        {QStringLiteral("TITLE"), 20},  {QStringLiteral("ORG"), 20},     {QStringLiteral("STREET2"), 20},
        {QStringLiteral("CITY"), 15},   {QStringLiteral("STATE"), 5},    {QStringLiteral("ZIP"), 10},
        {QStringLiteral("COUNTRY"), 15}, {QStringLiteral("PHONE"), 15},  {QStringLiteral("PHONE2"), 15},
        {QStringLiteral("USER1"), 15},  {QStringLiteral("USER2"), 15},
        // Calculated values: as wide as what they show (a date with a month name takes 11).
        {QStringLiteral("TAGGED"), 3},  {QStringLiteral("DISPLAYDATE"), 12}};
    return widths.value(name.toUpper(), fieldWidth);
}

FieldsList applyFieldsList(const QByteArray& text, const QStringList& base)
{
    FieldsList out;
    QStringList unknown;
    QStringList front;
    for (const QByteArray& raw : text.split('\n')) {
        const QString name = QString::fromLatin1(raw).trimmed();
        if (name.isEmpty())
            continue;
        QString match;
        for (const QString& b : base)
            if (b.compare(name, Qt::CaseInsensitive) == 0)
                match = b;
        if (match.isEmpty() || front.contains(match))
            unknown << name;
        else
            front << match;
    }
    out.order = front;
    out.known = int(front.size());
    for (const QString& b : base)
        if (!front.contains(b))
            out.order << b;
    if (!unknown.isEmpty())
        out.problem = QStringLiteral("%1 names fields the address table does not have (%2); they are left out.")
                          .arg(QString::fromLatin1(kFieldsListName), unknown.join(QStringLiteral(", ")));
    return out;
}

FieldsList readFieldsList(const QString& path, const QStringList& base)
{
    FieldsList out{base, {}};
    QFile f(path);
    if (path.isEmpty() || !f.exists())
        return out;
    out.known = -1;
    const QString name = QString::fromLatin1(kFieldsListName);
    if (!f.open(QIODevice::ReadOnly)) {
        out.problem = QStringLiteral("%1 could not be read (%2); the columns are in their usual order.")
                          .arg(name, f.errorString());
        return out;
    }
    if (f.size() > kFieldsListMaxBytes) {
        out.problem = QStringLiteral("%1 is damaged (too large); the columns are in their usual order.").arg(name);
        return out;
    }
    const QByteArray text = f.readAll();
    if (text.contains('\0')) {
        out.problem = QStringLiteral("%1 is damaged (not text); the columns are in their usual order.").arg(name);
        return out;
    }
    FieldsList applied = applyFieldsList(text, base);
    // Not one known name: not a list of fields at all.
    if (!text.trimmed().isEmpty() && applied.known == 0) {
        out.problem = QStringLiteral("%1 is damaged (it names no field); the columns are in their usual order.").arg(name);
        return out;
    }
    return applied;
}

bool writeFieldsList(const QString& path, const QStringList& order, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes;
    for (const QString& n : order)
        bytes += n.toLatin1() + "\r\n";
    return replaceFileWith(path, bytes, error);
}

QString fieldsListPath()
{
    return resolveFileName(ProgramFolder::sysdataPath() + QString::fromLatin1(kFieldsListName));
}

} // namespace postavo
