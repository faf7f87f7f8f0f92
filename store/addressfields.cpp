#include "addressfields.h"

#include "programfolder.h"
#include "settings.h"

#include <QDir>
#include <QSet>
#include <QStringList>

namespace postavo {

const AddressFieldDef* findAddressField(const QString& name)
{
    return findAddressField(std::string_view(name.toLatin1().constData()));
}

QStringList adjustableFieldNames()
{
    QStringList names;
    for (const auto& f : addressFields())
        if (f.adjustable)
            names << QString::fromLatin1(f.name);
    return names;
}

FieldLengths defaultFieldLengths()
{
    FieldLengths l;
    for (const auto& f : addressFields())
        if (f.adjustable)
            l.insert(QString::fromLatin1(f.name), f.defaultWidth);
    return l;
}

FieldLengths defaultButtonFieldLengths()
{
    FieldLengths l = defaultFieldLengths();
    l[QStringLiteral("FAX")] = 30;
    return l;
}

int sanitisedFieldLength(const QString& field, int width)
{
    if (width >= kMinStoredFieldLength && width <= kMaxStoredFieldLength)
        return width;
    const AddressFieldDef* f = findAddressField(field);
    return f ? f->defaultWidth : width;
}

FieldLengths readNewFileFieldLengths(const Settings& s)
{
    FieldLengths l;
    for (const auto& f : addressFields()) {
        if (!f.adjustable)
            continue;
        const QString name = QString::fromLatin1(f.name);
        const int v = s.readInteger(QString::fromLatin1(keys::NewFileFieldLengthsSection),
                                    keys::newFileFieldLengthKey(name), f.defaultWidth);
        l.insert(name, sanitisedFieldLength(name, v));
    }
    return l;
}

bool writeNewFileFieldLengths(Settings& s, const FieldLengths& lengths)
{
    for (const QString& name : adjustableFieldNames()) {
        const int v = sanitisedFieldLength(name, lengths.value(name, findAddressField(name)->defaultWidth));
        if (!s.writeInteger(QString::fromLatin1(keys::NewFileFieldLengthsSection),
                            keys::newFileFieldLengthKey(name), v))
            return false;
    }
    return true;
}

bool acceptsTypedFieldLength(const QString& text, int* value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < kMinTypedFieldLength || v > kMaxTypedFieldLength)
        return false;
    if (value)
        *value = v;
    return true;
}

QString proposeAddressFileName(const QString& dataDir)
{
    const QString dir = dataDir.endsWith('/') ? dataDir : dataDir + '/';
    // One listing, compared without regard to case, instead of 9999 lookups.
    const QStringList entries = QDir(dir).entryList(QDir::Files);
    QSet<QString> taken;
    for (const QString& e : entries)
        taken.insert(e.toUpper());
    for (int n = 1; n <= 9999; ++n) {
        const QString name = QStringLiteral("ADD%1").arg(n, 4, 10, QLatin1Char('0'));
        if (!taken.contains(name + QStringLiteral(".DBF")))
            return name;
    }
    return QStringLiteral("ADD0001");
}

bool isValidFileIdentifier(const QString& name)
{
    if (name.isEmpty())
        return false;
    auto letter = [](QChar c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto digit = [](QChar c) { return c >= '0' && c <= '9'; };
    if (!letter(name[0]) && name[0] != '_')
        return false;
    for (QChar c : name)
        if (!letter(c) && !digit(c) && c != '_')
            return false;
    return true;
}

QString displayDateFormatFor(const QLocale& locale)
{
    QString fmt = locale.dateFormat(QLocale::ShortFormat);
    // Widen every run of one to three 'y' to four.
    QString out;
    bool hasYear = false;
    for (int i = 0; i < fmt.size();) {
        if (fmt[i] == 'y') {
            int j = i;
            while (j < fmt.size() && fmt[j] == 'y')
                ++j;
            out += (j - i) < 4 ? QStringLiteral("yyyy") : fmt.mid(i, j - i);
            hasYear = true;
            i = j;
        } else if (fmt[i] == '\'') {  // quoted literal text passes unchanged
            int j = fmt.indexOf('\'', i + 1);
            j = j < 0 ? fmt.size() : j + 1;
            out += fmt.mid(i, j - i);
            i = j;
        } else {
            out += fmt[i++];
        }
    }
    if (!hasYear) {
        QChar sep = '/';
        for (QChar c : fmt)
            if (!c.isLetter()) {
                sep = c;
                break;
            }
        out += sep + QStringLiteral("yyyy");
    }
    return out;
}

QString displayDateFormat()
{
    static const QString fmt = displayDateFormatFor(QLocale::system());
    return fmt;
}

QDate parseRecordDate(const QString& dateField)
{
    const QString d = dateField.left(8);
    if (d.size() < 8)
        return {};
    for (QChar c : d)
        if (!c.isDigit())
            return {};
    return QDate(d.left(4).toInt(), d.mid(4, 2).toInt(), d.mid(6, 2).toInt());
}

QString displayDate(const QString& dateField, const QString& format)
{
    const QDate d = parseRecordDate(dateField);
    return d.isValid() ? d.toString(format) : QString();
}

QString recordDateText(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QString(); }

static QString rtrim(const QString& s)
{
    int n = s.size();
    while (n > 0 && s[n - 1].isSpace())
        --n;
    return s.left(n);
}

static QString ltrim(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i].isSpace())
        ++i;
    return s.mid(i);
}

QString fullName(const QString& first, const QString& middle, const QString& last)
{
    return rtrim(first + ' ' + middle) + ' ' + last;
}

QString fullNameWithPrefix(const QString& prefix, const QString& first, const QString& middle,
                           const QString& last)
{
    return (prefix + ' ' + first + ' ' + middle).trimmed() + ' ' + last;
}

QString cityStateZip(const QString& city, const QString& state, const QString& zip)
{
    return ltrim(city + ' ') + ltrim(state + ' ') + zip;
}

} // namespace postavo
