#include "addressblock.h"

namespace postavo::design::addressblock {

QString ltrim(const QString& s)
{
    int i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

namespace {

QString sp(const QString& s) { return ltrim(s + QLatin1Char(' ')); }

} // namespace

QString nameLine(const QString& prefix, const QString& first, const QString& middle, const QString& last)
{
    QString m = middle;
    if (!ltrim(m).isEmpty())
        m += QLatin1Char('.');
    return sp(prefix) + sp(first) + sp(m) + sp(last);
}

QString upper(const QString& s)
{
    QString out = s;
    for (QChar& c : out) {
        // ß and ÿ have no single capital in the 8-bit character set: they stay as they are.
        if (c == QChar(0x00DF) || c == QChar(0x00FF))
            continue;
        const QString u = QString(c).toUpper();
        if (u.size() == 1)
            c = u.at(0);
    }
    return out;
}

QStringList compose(const Options& o, const FieldGetter& field)
{
    QStringList lines;
    auto add = [&](const QString& line) {
        if (!line.isEmpty())
            lines << line;
    };
    // Each step reads its fields first; a failing read ends the block silently.
    auto get = [&](const char* name, QString* out) {
        const std::optional<QString> v = field(QLatin1String(name));
        if (!v)
            return false;
        *out = *v;
        return true;
    };
    auto finish = [&]() {
        if (o.upperCase)
            for (QString& l : lines)
                l = upper(l);
        return lines;
    };

    if (o.useName) {
        QString prefix, first, middle, last;
        if (!get("PREFIX", &prefix) || !get("FNAME", &first) || !get("MIDDLE", &middle) || !get("LNAME", &last))
            return finish();
        add(nameLine(prefix, first, middle, last));
    }
    const std::pair<bool, const char*> plain[] = {
        {o.useTitle, "TITLE"}, {o.useCompany, "ORG"}, {o.useStreet, "STREET"}, {o.useStreet2, "STREET2"}};
    for (const auto& [use, name] : plain) {
        if (!use)
            continue;
        QString v;
        if (!get(name, &v))
            return finish();
        add(v);
    }

    const bool zipAtCountry = o.zip == ZipPlace::AfterCountry || o.zip == ZipPlace::BeforeCountry;
    QString c, s, z;
    if (o.useCityState && (!get("CITY", &c) || !get("STATE", &s)))
        return finish();
    if (o.useZip && !get("ZIP", &z))
        return finish();

    if (o.useCityState && o.useZip && o.zip == ZipPlace::AfterState) {
        // City and state stand two spaces apart; a line of spaces alone is no line.
        const QString line = sp(c) + QLatin1Char(' ') + sp(s) + ltrim(z);
        if (!line.trimmed().isEmpty())
            lines << line;
    } else if (o.useCityState && o.useZip && o.zip == ZipPlace::BeforeCity) {
        add(sp(z) + sp(c) + sp(s));
    } else if (o.useCityState) {
        add(sp(c) + ltrim(s));
    } else if (o.useZip && !zipAtCountry) {
        add(ltrim(z));
    }

    if (o.useCountry || (o.useZip && zipAtCountry)) {
        QString k;
        if (o.useCountry && !get("COUNTRY", &k))
            return finish();
        if (o.useCountry && o.useZip && o.zip == ZipPlace::AfterCountry)
            add(sp(k) + ltrim(z));
        else if (o.useCountry && o.useZip && o.zip == ZipPlace::BeforeCountry)
            add(sp(z) + ltrim(k));
        else if (o.useCountry)
            add(ltrim(k));
        else
            add(ltrim(z));
    }

    if (o.usePhone) {
        QString p;
        if (!get("PHONE", &p))
            return finish();
        add(p);
    }
    return finish();
}

} // namespace postavo::design::addressblock
