#include "filters.h"

#include "cp1252.h"
#include "engine/charcase.h"
#include "filewriting.h"

#include <QFile>

namespace postavo {

const std::array<const char*, kQueryValueCount>& queryFieldExpressions()
{
    static const std::array<const char*, kQueryValueCount> f = {
        "LNAME", "FNAME", "TITLE", "ORG", "STREET", "STREET2", "ZIP", "CITY+STATE", "STATE",
        "COUNTRY", "PHONE", "PHONE2", "FAX", "EMAIL", "DATE", "CODES", "USER1", "USER2"};
    return f;
}

int queryIndexForField(const QString& field)
{
    const auto& f = queryFieldExpressions();
    for (int i = 0; i < kQueryValueCount; ++i) {
        const QString expr = QString::fromLatin1(f[size_t(i)]);
        if (field.compare(expr, Qt::CaseInsensitive) == 0
            || field.compare(expr.section('+', 0, 0), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

static QString engineUpper(const QString& s)
{
    return fromCp1252(engine::upperText(toCp1252(s)));
}

QString quoteLiteral(const QString& text)
{
    // The dialect has three string delimiters; take one the text does not contain. Text that
    // holds all three is joined from pieces, its double quotes written between single ones.
    if (!text.contains('"'))
        return '"' + text + '"';
    if (!text.contains('\''))
        return '\'' + text + '\'';
    if (!text.contains(']'))
        return '[' + text + ']';
    QStringList pieces;
    const QStringList parts = text.split('"');
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            pieces << QStringLiteral("'\"'");
        if (!parts[i].isEmpty())
            pieces << '"' + parts[i] + '"';
    }
    return pieces.join('+');
}

QString fieldCondition(const QString& fieldExpr, const QString& value)
{
    QChar sep;
    QString joiner;
    if (value.contains(';')) {
        sep = ';';
        joiner = QStringLiteral(".or.");
    } else if (value.contains('+')) {
        sep = '+';
        joiner = QStringLiteral(".and.");
    } else if (value.contains('^')) {
        sep = '^';
        joiner = QStringLiteral(".and..not.");
    }
    if (!sep.isNull()) {
        const QStringList pieces = value.split(sep, Qt::KeepEmptyParts);
        QString out = QStringLiteral("(");
        for (int i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                out += joiner;
            out += '(' + fieldCondition(fieldExpr, pieces[i]) + ')';
        }
        return out + ')';
    }

    QString op = QStringLiteral("=");
    QString rest = value;
    for (const char* candidate : {">=", ">", "<=", "<", "$"}) {
        const QString c = QString::fromLatin1(candidate);
        if (value.startsWith(c)) {
            op = c;
            rest = value.mid(c.size());
            break;
        }
    }
    const QString quoted = quoteLiteral(engineUpper(rest));
    if (op == QLatin1String("$"))
        return quoted + QStringLiteral("$UPPER(") + fieldExpr + ')';
    return QStringLiteral("UPPER(") + fieldExpr + ')' + op + quoted;
}

QString BuildQueryString(const QueryValues& q, const QString& tagId)
{
    QString result;
    auto append = [&result](const QString& cond) {
        if (!result.isEmpty())
            result += QStringLiteral(" and ");
        result += cond;
    };
    const auto& fields = queryFieldExpressions();
    for (int i = 0; i < kQueryValueCount; ++i) {
        const QString& v = q.values[size_t(i)];
        if (!v.trimmed().isEmpty())
            append(fieldCondition(QString::fromLatin1(fields[size_t(i)]), v));
    }
    // An empty tag id tags nothing (a prefix compare with "" would take every record).
    if (q.taggedOnly)
        append(tagId.isEmpty() ? QStringLiteral("(.F.)")
                               : QStringLiteral("(UPPER(TAG)=") + quoteLiteral(tagId) + QStringLiteral(")"));
    if (!result.isEmpty() && q.reverse)
        result = QStringLiteral("(!(") + result + QStringLiteral("))");
    return result;
}

QString appliedFilterExpression(const QString& filter)
{
    return filter.isEmpty() ? QStringLiteral("!ISDEL") : filter + QStringLiteral(".and. !ISDEL");
}

bool SaveFilterTo(const QString& path, const QueryValues& q, QString* error)
{
    QByteArray out;
    for (const QString& v : q.values) {
        QByteArray line = toCp1252Bytes(v);
        line.replace('\r', ' ').replace('\n', ' ');
        out += line + "\r\n";
    }
    out += QByteArray(q.taggedOnly ? "T" : "F") + "\r\n";
    out += QByteArray(q.reverse ? "T" : "F") + "\r\n";
    QString reason;
    if (!replaceFileWith(path, out, &reason)) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

std::optional<QueryValues> RestoreFilterFrom(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, f.errorString());
        return std::nullopt;
    }
    // A filter file is 20 short lines; anything much larger is not one.
    const QByteArray data = f.read(64 * 1024);
    QList<QByteArray> lines = data.split('\n');
    if (!data.isEmpty() && data.endsWith('\n'))
        lines.removeLast();
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    while (lines.size() < 20)
        lines.append(QByteArray());
    QueryValues q;
    for (int i = 0; i < kQueryValueCount; ++i)
        q.values[size_t(i)] = fromCp1252(lines[i]);
    q.taggedOnly = lines[18] == "T";
    q.reverse = lines[19] == "T";
    return q;
}

QString toBase36(quint64 n)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString out;
    for (int i = 0; i < 6 && n > 0; ++i) {
        out.prepend(QLatin1Char(digits[n % 36]));
        n /= 36;
    }
    return out;
}

QString makeTagId(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    const quint64 stamp = quint64(d.month()) * 100000000ull + quint64(d.day()) * 1000000ull
                        + quint64(t.hour()) * 10000ull + quint64(t.minute()) * 100ull + quint64(t.second());
    return toBase36(quint64(d.year() - 1995)) + toBase36(stamp).rightJustified(6, '0');
}

} // namespace postavo
