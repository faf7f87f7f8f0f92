#include "addressfields.h"

#include "programfolder.h"
#include "settings.h"

#include <QDir>
#include <QSet>
#include <QStringList>

namespace postavo {

const std::array<AddressFieldDef, kAddressFieldCount>& addressFields()
{
    static const std::array<AddressFieldDef, kAddressFieldCount> fields = {{
        {"LNAME", 'C', 30, true, "Last Name"},
        {"FNAME", 'C', 30, true, "First Name"},
        {"MIDDLE", 'C', 1, false, "Middle"},
        {"PREFIX", 'C', 12, true, "Prefix"},
        {"TITLE", 'C', 30, true, "Title"},
        {"ORG", 'C', 30, true, "Organization"},
        {"STREET", 'C', 40, true, "Address 1"},
        {"STREET2", 'C', 40, true, "Address 2"},
        {"CITY", 'C', 30, true, "City"},
        {"STATE", 'C', 20, true, "State"},
        {"ZIP", 'C', 10, true, "Zip/Postal Code"},
        {"COUNTRY", 'C', 30, true, "Country"},
        {"DATE", 'C', 15, false, "Actual Date"},
        {"PHONE", 'C', 30, true, "Phone 1"},
        {"PHONE2", 'C', 30, true, "Phone 2"},
        {"FAX", 'C', 40, true, "Fax"},
        {"EMAIL", 'C', 40, true, "Email"},
        {"CODES", 'C', 30, true, "Codes"},
        {"USER1", 'C', 40, true, "Comment 1"},
        {"USER2", 'C', 40, true, "Comment 2"},
        {"ISDEL", 'L', 1, false, "Deleted"},
        {"TAG", 'C', 8, false, ""},
        {"MEMO", 'M', 10, false, ""},
    }};
    return fields;
}

const AddressFieldDef* findAddressField(const QString& name)
{
    for (const auto& f : addressFields())
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const std::array<AddressTagDef, kAddressTagCount>& addressTags()
{
    static const std::array<AddressTagDef, kAddressTagCount> tags = {{
        {"NAME", "UPPER(LNAME-FNAME)"},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"},
        {"FNAME", "UPPER(FNAME)"},
        {"TITLE", "UPPER(TITLE)"},
        {"ORG", "UPPER(ORG)"},
        {"STREET", "UPPER(STREET)"},
        {"STREET2", "UPPER(STREET2)"},
        {"CITY", "UPPER(CITY+STATE)"},
        {"STATE", "UPPER(STATE)"},
        {"ZIP", "UPPER(ZIP)"},
        {"COUNTRY", "UPPER(COUNTRY)"},
        {"PHONE", "UPPER(PHONE)"},
        {"PHONE2", "UPPER(PHONE2)"},
        {"EMAIL", "UPPER(EMAIL)"},
        {"FAX", "UPPER(FAX)"},
        {"USER1", "UPPER(USER1)"},
        {"USER2", "UPPER(USER2)"},
        {"DATE", "UPPER(DATE)"},
        {"TAG", "UPPER(TAG)"},
        {"CODES", "UPPER(CODES)"},
        {"PREFIX", "UPPER(PREFIX)"},
        {"MIDDLE", "UPPER(MIDDLE)"},
        {"DELETED", "DELETED()"},
        {"STATEZIP", "UPPER(STATE-ZIP)"},
        {"ISDEL", "ISDEL"},
        {"NOTISDEL", "!ISDEL"},
    }};
    return tags;
}

const std::array<const char*, kAddressTagCount>& validIndexLookupOrder()
{
    static const std::array<const char*, kAddressTagCount> order = {
        "NAME", "LNAME", "FNAME", "TITLE", "ORG", "STREET", "STREET2", "CITY", "STATE",
        "ZIP", "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX", "DATE", "CODES", "PREFIX",
        "MIDDLE", "USER1", "USER2", "DELETED", "STATEZIP", "ISDEL", "NOTISDEL", "TAG"};
    return order;
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
