#include "recordtext.h"

#include "addressfile.h"

namespace postavo {

namespace {

QString leftTrimmed(const QString& s)
{
    int i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

// Collects the lines within the limits.
class TextLines {
public:
    void add(const QString& line)
    {
        if (full_ || line.trimmed().isEmpty())
            return;
        QString l = line.left(kRecordTextMaxLine);
        const int room = kRecordTextMaxLength - int(text_.size()) - 2;
        if (int(l.size()) > room) {
            full_ = true;
            if (room <= 0)
                return;
            l.truncate(room);
        }
        text_ += l + QStringLiteral("\r\n");
    }
    void add(const QString& caption, const QString& value)
    {
        if (!value.isEmpty())
            add(caption + value);
    }
    const QString& text() const { return text_; }

private:
    QString text_;
    bool full_ = false;
};

} // namespace

QString recordAsString(const FieldReader& value, const RecordTextGroups& groups)
{
    TextLines lines;
    auto v = [&](const char* field) {
        QString s = value(field);
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        return s;
    };
    const QString blank = QStringLiteral(" ");
    if (groups.name) {
        QString m = v("MIDDLE");
        if (!m.trimmed().isEmpty())
            m += QLatin1Char('.');
        lines.add(leftTrimmed(v("PREFIX") + blank) + leftTrimmed(v("FNAME") + blank) + leftTrimmed(m + blank)
                  + leftTrimmed(v("LNAME") + blank));
        lines.add(v("TITLE"));
        lines.add(v("ORG"));
    }
    if (groups.address) {
        lines.add(v("STREET"));
        lines.add(v("STREET2"));
        lines.add(leftTrimmed(v("CITY") + blank) + blank + leftTrimmed(v("STATE") + blank) + leftTrimmed(v("ZIP")));
        lines.add(leftTrimmed(v("COUNTRY") + blank));
    }
    if (groups.phones) {
        lines.add(QStringLiteral("Phone  :"), v("PHONE"));
        lines.add(QStringLiteral("Phone 2:"), v("PHONE2"));
    }
    if (groups.codes)
        lines.add(QStringLiteral("Codes :"), v("CODES"));
    if (groups.comments) {
        lines.add(QStringLiteral("Comment 1 :"), v("USER1"));
        lines.add(QStringLiteral("Comment 2 :"), v("USER2"));
    }
    return lines.text();
}

QString GetRecordAsString(const AddressTable& table, const RecordTextGroups& groups)
{
    if (!table.isOpen() || (!table.hasRecord() && !table.editing()))
        return {};
    return recordAsString([&](const char* f) { return table.value(QString::fromLatin1(f)); }, groups);
}

QString GetRecordAsString(const AddressTable& table, bool name, bool address, bool phones, bool codes, bool comments)
{
    return GetRecordAsString(table, RecordTextGroups{name, address, phones, codes, comments});
}

QStringList recordTextGroupNames()
{
    return {QStringLiteral("name"), QStringLiteral("address"), QStringLiteral("phones"), QStringLiteral("codes"),
            QStringLiteral("comments")};
}

std::optional<RecordTextGroups> parseRecordTextGroups(const QString& list, QString* error)
{
    RecordTextGroups g = RecordTextGroups::none();
    bool* const flags[] = {&g.name, &g.address, &g.phones, &g.codes, &g.comments};
    const QStringList names = recordTextGroupNames();
    for (const QString& raw : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int i = names.indexOf(raw.trimmed().toLower());
        if (i < 0) {
            if (error)
                *error = QStringLiteral("unknown group \"%1\" (the groups are %2)").arg(raw.trimmed(), names.join(QStringLiteral(", ")));
            return std::nullopt;
        }
        *flags[i] = true;
    }
    return g;
}

} // namespace postavo
