#include "lettermerge.h"

#include "addressfields.h"
#include "addressfile.h"
#include "richdocument.h"

#include <QLocale>

namespace postavo::letters {

MergeRecord MergeRecord::fromTable(const AddressTable& t)
{
    auto v = [&](const char* name) { return t.value(QString::fromLatin1(name)); };
    MergeRecord r;
    r.prefix = v("PREFIX");
    r.first = v("FNAME");
    r.middle = v("MIDDLE");
    r.last = v("LNAME");
    r.title = v("TITLE");
    r.org = v("ORG");
    r.street = v("STREET");
    r.street2 = v("STREET2");
    r.city = v("CITY");
    r.state = v("STATE");
    r.zip = v("ZIP");
    r.country = v("COUNTRY");
    r.phone = v("PHONE");
    r.phone2 = v("PHONE2");
    r.fax = v("FAX");
    r.email = v("EMAIL");
    r.user1 = v("USER1");
    r.user2 = v("USER2");
    return r;
}

const QStringList& mergeTokenNames()
{
    static const QStringList names = {
        QStringLiteral("Full Name"),   QStringLiteral("First"),          QStringLiteral("Last"),
        QStringLiteral("Middle"),      QStringLiteral("Prefix"),         QStringLiteral("Title"),
        QStringLiteral("Organization"), QStringLiteral("Street"),        QStringLiteral("Street 2"),
        QStringLiteral("City+State+Zip"), QStringLiteral("City"),        QStringLiteral("State"),
        QStringLiteral("Province"),    QStringLiteral("Zip"),            QStringLiteral("Postal Code"),
        QStringLiteral("Country"),     QStringLiteral("Phone"),          QStringLiteral("Phone 2"),
        QStringLiteral("Fax"),         QStringLiteral("E-Mail"),         QStringLiteral("Today's Date"),
        QStringLiteral("Long Date"),   QStringLiteral("Name and Address"), QStringLiteral("Comment 1"),
        QStringLiteral("Comment 2"),
    };
    return names;
}

const QStringList& insertFieldNames()
{
    static const QStringList names = {
        QStringLiteral("Full Name"),   QStringLiteral("Name and Address"), QStringLiteral("First"),
        QStringLiteral("Last"),        QStringLiteral("Middle"),         QStringLiteral("Prefix"),
        QStringLiteral("Title"),       QStringLiteral("Organization"),   QStringLiteral("Street"),
        QStringLiteral("Street 2"),    QStringLiteral("City+State+Zip"), QStringLiteral("City"),
        QStringLiteral("State"),       QStringLiteral("Province"),       QStringLiteral("Zip"),
        QStringLiteral("Postal Code"), QStringLiteral("Country"),        QStringLiteral("Phone"),
        QStringLiteral("Phone 2"),     QStringLiteral("Fax"),            QStringLiteral("E-Mail"),
        QStringLiteral("Today's Date"), QStringLiteral("Long Date"),     QStringLiteral("Comment 1"),
        QStringLiteral("Comment 2"),
    };
    return names;
}

namespace {
// Blanks removed from the start only.
QString trimStart(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}
// Blanks (only blanks) removed from both ends.
QString trimBlanks(const QString& s)
{
    int b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}
} // namespace

QString composedName(const MergeRecord& r)
{
    QString m = r.middle;
    if (!m.isEmpty())
        m += QLatin1Char('.');
    QString name;
    for (const QString& part : {r.prefix, r.first, m, r.last})
        name += trimStart(part + QLatin1Char(' '));
    return name;
}

QString cityStateZipValue(const MergeRecord& r)
{
    return trimBlanks(r.city + QLatin1Char(' ') + r.state + QLatin1Char(' ') + r.zip);
}

QString nameAndAddress(const MergeRecord& r)
{
    static const QString crlf = QStringLiteral("\r\n");
    QString block;
    const QString name = composedName(r);
    if (!name.isEmpty())
        block += name + crlf;
    QString t = r.title;
    if (!r.org.isEmpty())
        t = t.isEmpty() ? r.org : t + QStringLiteral(",  ") + r.org;
    if (!t.isEmpty())
        block += t + crlf;
    if (!r.street.isEmpty())
        block += r.street + crlf;
    if (!r.street2.isEmpty())
        block += r.street2 + crlf;
    if (!r.city.isEmpty() || !r.state.isEmpty() || !r.zip.isEmpty()) {
        QString s = r.state;
        if (!s.isEmpty())
            s += QLatin1Char(' ');
        block += trimBlanks(r.city + QLatin1Char(' ') + s + QLatin1Char(' ') + r.zip) + crlf;
    }
    if (!r.country.isEmpty())
        block += r.country + crlf;
    return block;
}

QString longDate(const QDate& date)
{
    return QStringLiteral("%1 %2, %3")
        .arg(QLocale::system().monthName(date.month(), QLocale::ShortFormat))
        .arg(date.day())
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

std::vector<std::pair<QString, QString>> tokenValues(const MergeRecord& r, const QDate& today,
                                                     const QString& shortDateFormat)
{
    const QString middle = QString(r.middle).remove(QLatin1Char('.'));
    const QStringList values = {
        composedName(r), r.first,   r.last,    middle,  r.prefix,  r.title,    r.org,
        r.street,        r.street2, cityStateZipValue(r), r.city, r.state,    r.state,
        r.zip,           r.zip,     r.country, r.phone, r.phone2, r.fax,      r.email,
        today.toString(shortDateFormat), longDate(today), nameAndAddress(r), r.user1, r.user2,
    };
    std::vector<std::pair<QString, QString>> out;
    const QStringList& names = mergeTokenNames();
    out.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        out.emplace_back(names[i], values[i]);
    return out;
}

int doMerge(richtext::RichDocument& document, const QString& tokenName, const QString& value)
{
    return document.replaceAll(QLatin1Char('[') + tokenName + QLatin1Char(']'), value);
}

int replaceTokens(richtext::RichDocument& document, const MergeRecord& record, const QDate& today,
                  const QString& shortDateFormat)
{
    int count = 0;
    for (const auto& [name, value] : tokenValues(record, today, shortDateFormat))
        count += doMerge(document, name, value);
    return count;
}

int replaceTokens(richtext::RichDocument& document, const AddressTable& table)
{
    return replaceTokens(document, MergeRecord::fromTable(table), QDate::currentDate(), displayDateFormat());
}

} // namespace postavo::letters
