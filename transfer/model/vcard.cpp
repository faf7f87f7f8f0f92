#include "vcard.h"

#include "addressfields.h"
#include "cp1252.h"
#include "textencoding.h"

#include <QDate>
#include <QRegularExpression>

#include <functional>

namespace postavo::transfer {

namespace {

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(s[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::string upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string decodeQuotedPrintable(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '=' && i + 2 < s.size()) {
            const int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += char(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        if (s[i] == '=' && i + 1 == s.size())
            continue;  // a soft line break left at the end
        out += s[i];
    }
    return out;
}

// One property: its name (upper case, group dropped), parameters and raw value.
struct Property {
    std::string name;
    QStringList types;     // lower case
    bool preferred = false;
    bool quotedPrintable = false;
    bool base64 = false;
    std::string charset;   // upper case, "" when not given
    bool uriValue = false;
    std::string value;
};

Property parseProperty(std::string_view line)
{
    Property p;
    // The name and parameters end at the first colon outside a quoted parameter value.
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos)
        return p;
    const std::string_view head = line.substr(0, colon);
    p.value.assign(line.substr(colon + 1));
    std::size_t semi = head.find(';');
    std::string_view name = head.substr(0, semi);
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name.remove_prefix(dot + 1);
    p.name = upper(name);
    while (semi != std::string_view::npos) {
        const std::size_t nextSemi = head.find(';', semi + 1);
        const std::string_view param = head.substr(semi + 1, nextSemi == std::string_view::npos ? std::string_view::npos : nextSemi - semi - 1);
        semi = nextSemi;
        const std::size_t eq = param.find('=');
        const std::string key = upper(param.substr(0, eq));
        std::string value = eq == std::string_view::npos ? std::string() : std::string(param.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (eq == std::string_view::npos) {
            // vCard 2.1 writes bare parameters: TEL;WORK;VOICE, EMAIL;PREF, ;QUOTED-PRINTABLE
            if (key == "QUOTED-PRINTABLE")
                p.quotedPrintable = true;
            else if (key == "BASE64" || key == "B")
                p.base64 = true;
            else if (key == "PREF")
                p.preferred = true;
            else
                p.types << QString::fromLatin1(key.c_str()).toLower();
            continue;
        }
        const std::string v = upper(value);
        if (key == "ENCODING") {
            p.quotedPrintable = v == "QUOTED-PRINTABLE";
            p.base64 = v == "B" || v == "BASE64";
        } else if (key == "CHARSET") {
            p.charset = v;
        } else if (key == "PREF") {
            p.preferred = true;
        } else if (key == "VALUE") {
            p.uriValue = v == "URI";
        } else if (key == "TYPE") {
            for (const QString& t : QString::fromLatin1(value.c_str()).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString type = t.trimmed().toLower();
                if (type == QLatin1String("pref"))
                    p.preferred = true;
                else
                    p.types << type;
            }
        }
    }
    return p;
}

// The text of a value's bytes: in the character set the property names, else in the file's
// (a file that is not UTF-8 throughout is Windows-1252), else UTF-8 when the bytes are.
QString textOf(std::string_view bytes, const std::string& charset, bool fileIsCp1252)
{
    bool utf8 = false;
    if (charset == "UTF-8" || charset == "UTF8")
        utf8 = true;
    else if (charset.empty())
        utf8 = !fileIsCp1252;
    if (utf8 && examineText(bytes).encoding != TextEncoding::Utf8)
        utf8 = false;  // plain ASCII reads the same; anything else was never UTF-8
    if (utf8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return fromCp1252(bytes);
}

// Splits at unescaped `sep` and resolves the backslash escapes of each piece.
QStringList splitEscaped(const QString& value, QChar sep, bool escapes)
{
    QStringList out;
    QString cur;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar n = value[i + 1];
            if (n == sep || n == QLatin1Char(';') || n == QLatin1Char(',') || n == QLatin1Char('\\')) {
                cur += n;
                ++i;
                continue;
            }
            if (escapes && (n == QLatin1Char('n') || n == QLatin1Char('N'))) {
                cur += QLatin1Char('\n');
                ++i;
                continue;
            }
            cur += c;
            continue;
        }
        if (c == sep) {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

QString unescape(const QString& value, bool escapes) { return splitEscaped(value, QChar(0xFFFF), escapes).join(QString()); }

QString component(const QStringList& parts, int i) { return i < parts.size() ? parts[i].trimmed() : QString(); }

} // namespace

bool VCardContact::isEmpty() const
{
    return family.isEmpty() && given.isEmpty() && formatted.isEmpty() && org.isEmpty() && title.isEmpty()
        && addresses.isEmpty() && phones.isEmpty() && emails.isEmpty() && note.isEmpty();
}

VCardReader::VCardReader(std::string_view bytes) : data_(bytes)
{
    bool high = false;
    for (const char ch : bytes)
        high = high || static_cast<unsigned char>(ch) >= 0x80;
    fileIsCp1252_ = high && examineText(bytes).encoding == TextEncoding::Windows1252;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        pos_ = 3;
}

bool VCardReader::nextPhysicalLine(std::string_view& line)
{
    if (pos_ >= data_.size())
        return false;
    std::size_t end = pos_;
    while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n')
        ++end;
    line = data_.substr(pos_, end - pos_);
    pos_ = end;
    if (pos_ < data_.size() && data_[pos_] == '\r')
        ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n')
        ++pos_;
    return true;
}

bool VCardReader::nextLogicalLine(std::string& line)
{
    std::string_view phys;
    if (hasPending_) {
        line = std::move(pending_);
        hasPending_ = false;
    } else {
        do {
            if (!nextPhysicalLine(phys))
                return false;
        } while (phys.empty());
        line.assign(phys);
    }
    for (;;) {
        const std::size_t keep = pos_;
        if (!nextPhysicalLine(phys))
            return true;
        const bool qpSoftBreak = !line.empty() && line.back() == '='
            && upper(std::string_view(line).substr(0, line.find(':'))).find("QUOTED-PRINTABLE") != std::string::npos;
        if (!phys.empty() && (phys.front() == ' ' || phys.front() == '\t')) {
            if (qpSoftBreak)
                line.pop_back();
            line.append(phys.substr(1));  // folded: the line break and one blank go
        } else if (qpSoftBreak) {
            line.pop_back();
            line.append(phys);
        } else {
            pos_ = keep;
            return true;
        }
    }
}

bool VCardReader::next(VCardContact& c)
{
    c = VCardContact();
    std::string line;
    bool inCard = false;
    int depth = 0;
    while (nextLogicalLine(line)) {
        if (!inCard) {
            if (startsWithNoCase(line, "BEGIN:VCARD")) {
                inCard = true;
                depth = 1;
            }
            continue;
        }
        if (startsWithNoCase(line, "BEGIN:VCARD")) {
            ++depth;  // an embedded card (AGENT) is skipped
            continue;
        }
        if (startsWithNoCase(line, "END:VCARD")) {
            if (--depth == 0) {
                ++cards_;
                return true;
            }
            continue;
        }
        if (depth > 1)
            continue;
        const Property p = parseProperty(line);
        if (p.name.empty() || p.base64)
            continue;
        std::string raw = p.quotedPrintable ? decodeQuotedPrintable(p.value) : p.value;
        const QString value = textOf(raw, p.charset, fileIsCp1252_);
        // 2.1 values have no backslash escapes but "\;" in structured values.
        const bool escapes = c.version != QLatin1String("2.1");
        if (p.name == "VERSION") {
            c.version = value.trimmed();
        } else if (p.name == "N") {
            const QStringList parts = splitEscaped(value, QLatin1Char(';'), escapes);
            c.family = component(parts, 0);
            c.given = component(parts, 1);
            c.additional = component(parts, 2).split(QLatin1Char(',')).value(0).trimmed();
            c.prefix = component(parts, 3).split(QLatin1Char(',')).value(0).trimmed();
            c.suffix = component(parts, 4).split(QLatin1Char(',')).value(0).trimmed();
        } else if (p.name == "FN") {
            c.formatted = unescape(value, escapes).trimmed();
        } else if (p.name == "ORG") {
            c.org.clear();
            for (const QString& part : splitEscaped(value, QLatin1Char(';'), escapes))
                if (!part.trimmed().isEmpty())
                    c.org << part.trimmed();
        } else if (p.name == "TITLE") {
            c.title = unescape(value, escapes).trimmed();
        } else if (p.name == "ADR") {
            const QStringList parts = splitEscaped(value, QLatin1Char(';'), escapes);
            VCardContact::Address a;
            a.poBox = component(parts, 0);
            a.extended = component(parts, 1);
            a.street = component(parts, 2);
            a.locality = component(parts, 3);
            a.region = component(parts, 4);
            a.postalCode = component(parts, 5);
            a.country = component(parts, 6);
            a.types = p.types;
            a.preferred = p.preferred;
            c.addresses << a;
        } else if (p.name == "TEL") {
            QString number = unescape(value, escapes).trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            if (!number.isEmpty())
                c.phones << VCardContact::Value{number, p.types, p.preferred};
        } else if (p.name == "EMAIL") {
            QString mail = unescape(value, escapes).trimmed();
            if (mail.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
                mail = mail.mid(7);
            if (!mail.isEmpty())
                c.emails << VCardContact::Value{mail, p.types, p.preferred};
        } else if (p.name == "NOTE") {
            const QString note = unescape(value, escapes);
            c.note = c.note.isEmpty() ? note : c.note + QLatin1Char('\n') + note;
        } else if (p.name == "BDAY") {
            c.birthday = value.trimmed();
        } else if (p.name == "CATEGORIES") {
            for (const QString& cat : splitEscaped(value, QLatin1Char(','), escapes))
                if (!cat.trimmed().isEmpty())
                    c.categories << cat.trimmed();
        } else if (p.name == "X-POSTAVO-USER1") {
            c.user1 = unescape(value, escapes);
        } else if (p.name == "X-POSTAVO-USER2") {
            c.user2 = unescape(value, escapes);
        }
    }
    if (inCard) {  // the file ended inside a card: take what it holds
        ++cards_;
        return true;
    }
    return false;
}

std::vector<VCardContact> parseVCards(std::string_view bytes)
{
    std::vector<VCardContact> out;
    VCardReader r(bytes);
    VCardContact c;
    while (r.next(c))
        out.push_back(c);
    return out;
}

QString recordDateFromVCard(const QString& value)
{
    static const QRegularExpression full(QStringLiteral("^(\\d{4})-?(\\d{2})-?(\\d{2})"));
    const QRegularExpressionMatch m = full.match(value.trimmed());
    if (!m.hasMatch())
        return {};
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return d.isValid() ? recordDateText(d) : QString();
}

namespace {

QString typesText(const QStringList& types)
{
    QStringList shown;
    for (const QString& t : types)
        if (t != QLatin1String("voice") && t != QLatin1String("internet") && t != QLatin1String("x400"))
            shown << t;
    return shown.isEmpty() ? QString() : QStringLiteral(" (") + shown.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString addressText(const VCardContact::Address& a)
{
    QStringList parts;
    for (const QString& s : {a.poBox, a.extended, a.street, a.locality, a.region, a.postalCode, a.country})
        if (!s.isEmpty())
            parts << QString(s).replace(QLatin1Char('\n'), QStringLiteral(", "));
    return parts.join(QStringLiteral(", "));
}

template <class T>
int preferredIndex(const QVector<T>& items, const std::function<bool(const T&)>& allowed)
{
    int first = -1;
    for (int i = 0; i < items.size(); ++i) {
        if (!allowed(items[i]))
            continue;
        if (items[i].preferred)
            return i;
        if (first < 0)
            first = i;
    }
    return first;
}

} // namespace

QMap<QString, QString> recordFromVCard(const VCardContact& c)
{
    QMap<QString, QString> r;
    QStringList extra;
    QString family = c.family, given = c.given;
    if (family.isEmpty() && given.isEmpty() && !c.formatted.isEmpty() && (c.org.isEmpty() || c.formatted != c.org.first())) {
        // Only a formatted name: its last word is taken as the last name.
        const int space = c.formatted.lastIndexOf(QLatin1Char(' '));
        family = space < 0 ? c.formatted : c.formatted.mid(space + 1);
        given = space < 0 ? QString() : c.formatted.left(space).trimmed();
    }
    r[QStringLiteral("LNAME")] = c.suffix.isEmpty() ? family : family + QLatin1Char(' ') + c.suffix;
    r[QStringLiteral("FNAME")] = given;
    r[QStringLiteral("MIDDLE")] = c.additional.left(1).toUpper();
    if (c.additional.size() > 1)
        extra << QStringLiteral("Middle name: ") + c.additional;
    r[QStringLiteral("PREFIX")] = c.prefix;
    r[QStringLiteral("TITLE")] = c.title;
    if (!c.org.isEmpty()) {
        r[QStringLiteral("ORG")] = c.org.first();
        if (c.org.size() > 1)
            extra << QStringLiteral("Department: ") + c.org.mid(1).join(QStringLiteral(", "));
    }
    const int adr = preferredIndex<VCardContact::Address>(c.addresses, [](const VCardContact::Address&) { return true; });
    for (int i = 0; i < c.addresses.size(); ++i) {
        const VCardContact::Address& a = c.addresses[i];
        if (i != adr) {
            extra << QStringLiteral("Address") + typesText(a.types) + QStringLiteral(": ") + addressText(a);
            continue;
        }
        const QStringList street = a.street.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        r[QStringLiteral("STREET")] = street.value(0).trimmed();
        QStringList second;
        for (int k = 1; k < street.size(); ++k)
            second << street[k].trimmed();
        if (!a.extended.isEmpty())
            second << a.extended;
        if (!a.poBox.isEmpty())
            second << a.poBox;
        if (r.value(QStringLiteral("STREET")).isEmpty() && !second.isEmpty())
            r[QStringLiteral("STREET")] = second.takeFirst();
        r[QStringLiteral("STREET2")] = second.join(QStringLiteral(", "));
        r[QStringLiteral("CITY")] = a.locality;
        r[QStringLiteral("STATE")] = a.region;
        r[QStringLiteral("ZIP")] = a.postalCode;
        r[QStringLiteral("COUNTRY")] = a.country;
    }
    auto isFax = [](const VCardContact::Value& v) { return v.types.contains(QLatin1String("fax")); };
    const int fax = preferredIndex<VCardContact::Value>(c.phones, isFax);
    // The phones in the card's order, the preferred one first.
    QVector<int> voice;
    const int pref = preferredIndex<VCardContact::Value>(c.phones, [&](const VCardContact::Value& v) { return !isFax(v); });
    if (pref >= 0)
        voice << pref;
    for (int i = 0; i < c.phones.size(); ++i)
        if (i != pref && i != fax && !isFax(c.phones[i]))
            voice << i;
    for (int i = 0; i < c.phones.size(); ++i) {
        const int slot = int(voice.indexOf(i));
        if (i == fax)
            r[QStringLiteral("FAX")] = c.phones[i].text;
        else if (slot == 0)
            r[QStringLiteral("PHONE")] = c.phones[i].text;
        else if (slot == 1)
            r[QStringLiteral("PHONE2")] = c.phones[i].text;
        else
            extra << QStringLiteral("Phone") + typesText(c.phones[i].types) + QStringLiteral(": ") + c.phones[i].text;
    }
    const int mail = preferredIndex<VCardContact::Value>(c.emails, [](const VCardContact::Value&) { return true; });
    for (int i = 0; i < c.emails.size(); ++i) {
        if (i == mail)
            r[QStringLiteral("EMAIL")] = c.emails[i].text;
        else
            extra << QStringLiteral("E-mail") + typesText(c.emails[i].types) + QStringLiteral(": ") + c.emails[i].text;
    }
    r[QStringLiteral("DATE")] = recordDateFromVCard(c.birthday);
    r[QStringLiteral("CODES")] = c.categories.join(QLatin1Char(','));
    r[QStringLiteral("USER1")] = c.user1;
    r[QStringLiteral("USER2")] = c.user2;
    QString memo = c.note;
    if (!extra.isEmpty()) {
        if (!memo.isEmpty())
            memo += QLatin1Char('\n');
        memo += extra.join(QLatin1Char('\n'));
    }
    memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    memo.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    r[QStringLiteral("MEMO")] = memo;
    return r;
}

// ---------------------------------------------------------------- writing

namespace {

QString escapeText(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(',')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\n'))
                ++i;
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

// Appends one content line, folded so that no line exceeds 75 bytes (never inside a character).
void appendLine(std::string& out, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::size_t start = 0;
    std::size_t limit = 75;
    const auto n = std::size_t(bytes.size());
    while (n - start > limit) {
        std::size_t cut = start + limit;
        while (cut > start && (static_cast<unsigned char>(bytes[qsizetype(cut)]) & 0xC0) == 0x80)
            --cut;
        out.append(bytes.constData() + start, cut - start);
        out += "\r\n ";
        start = cut;
        limit = 74;  // the blank that starts a folded line counts
    }
    out.append(bytes.constData() + start, n - start);
    out += "\r\n";
}

} // namespace

std::string vcardFromRecord(const QMap<QString, QString>& rec)
{
    auto v = [&](const char* f) { return rec.value(QString::fromLatin1(f)).trimmed(); };
    std::string out;
    appendLine(out, QStringLiteral("BEGIN:VCARD"));
    appendLine(out, QStringLiteral("VERSION:3.0"));
    appendLine(out, QStringLiteral("N:") + escapeText(v("LNAME")) + QLatin1Char(';') + escapeText(v("FNAME"))
                        + QLatin1Char(';') + escapeText(v("MIDDLE")) + QLatin1Char(';') + escapeText(v("PREFIX"))
                        + QLatin1Char(';'));
    QString fn = fullNameWithPrefix(v("PREFIX"), v("FNAME"), v("MIDDLE"), v("LNAME")).trimmed();
    if (fn.isEmpty())
        fn = v("ORG");
    if (fn.isEmpty())
        fn = v("EMAIL");
    appendLine(out, QStringLiteral("FN:") + escapeText(fn));
    if (!v("ORG").isEmpty())
        appendLine(out, QStringLiteral("ORG:") + escapeText(v("ORG")));
    if (!v("TITLE").isEmpty())
        appendLine(out, QStringLiteral("TITLE:") + escapeText(v("TITLE")));
    QString street = v("STREET");
    if (!v("STREET2").isEmpty())
        street += QLatin1Char('\n') + v("STREET2");
    if (!(street + v("CITY") + v("STATE") + v("ZIP") + v("COUNTRY")).isEmpty())
        appendLine(out, QStringLiteral("ADR;TYPE=") + (v("ORG").isEmpty() ? QStringLiteral("HOME") : QStringLiteral("WORK"))
                            + QStringLiteral(":;;") + escapeText(street) + QLatin1Char(';') + escapeText(v("CITY"))
                            + QLatin1Char(';') + escapeText(v("STATE")) + QLatin1Char(';') + escapeText(v("ZIP"))
                            + QLatin1Char(';') + escapeText(v("COUNTRY")));
    if (!v("PHONE").isEmpty())
        appendLine(out, QStringLiteral("TEL;TYPE=VOICE,PREF:") + escapeText(v("PHONE")));
    if (!v("PHONE2").isEmpty())
        appendLine(out, QStringLiteral("TEL;TYPE=VOICE:") + escapeText(v("PHONE2")));
    if (!v("FAX").isEmpty())
        appendLine(out, QStringLiteral("TEL;TYPE=FAX:") + escapeText(v("FAX")));
    if (!v("EMAIL").isEmpty())
        appendLine(out, QStringLiteral("EMAIL;TYPE=INTERNET:") + escapeText(v("EMAIL")));
    const QDate d = parseRecordDate(v("DATE"));
    if (d.isValid())
        appendLine(out, QStringLiteral("BDAY:") + d.toString(QStringLiteral("yyyy-MM-dd")));
    if (!v("CODES").isEmpty())
        appendLine(out, QStringLiteral("CATEGORIES:") + escapeText(v("CODES")));
    if (!v("USER1").isEmpty())
        appendLine(out, QStringLiteral("X-POSTAVO-USER1:") + escapeText(v("USER1")));
    if (!v("USER2").isEmpty())
        appendLine(out, QStringLiteral("X-POSTAVO-USER2:") + escapeText(v("USER2")));
    const QString memo = rec.value(QStringLiteral("MEMO"));
    if (!memo.trimmed().isEmpty())
        appendLine(out, QStringLiteral("NOTE:") + escapeText(memo));
    appendLine(out, QStringLiteral("END:VCARD"));
    return out;
}

} // namespace postavo::transfer
