#include "settings.h"

#include "cp1252.h"
#include "filewriting.h"
#include "programfolder.h"


#include <QFile>
#include <QStringDecoder>
#include <QSize>

#include <limits>
#include <optional>
#include <vector>

namespace postavo {

struct IniLine {
    QByteArray text;
    QByteArray eol;  // kept so a write changes only the line it must
};

namespace {

std::vector<IniLine> splitLines(const QByteArray& data)
{
    std::vector<IniLine> lines;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype nl = data.indexOf('\n', pos);
        IniLine l;
        if (nl < 0) {
            l.text = data.mid(pos);
            pos = data.size();
        } else {
            l.text = data.mid(pos, nl - pos);
            l.eol = "\n";
            pos = nl + 1;
        }
        if (l.text.endsWith('\r')) {
            l.text.chop(1);
            l.eol.prepend('\r');
        }
        lines.push_back(std::move(l));
    }
    return lines;
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    qsizetype close = t.indexOf(']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool isComment(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith(';') || t.startsWith('#');
}

// Splits "key=value"; false when the line holds no key.
bool keyValue(const QByteArray& line, QByteArray* key, QByteArray* value)
{
    if (isComment(line))
        return false;
    qsizetype eq = line.indexOf('=');
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (key->isEmpty())
        return false;
    if (value) {
        QByteArray v = line.mid(eq + 1).trimmed();
        if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"'))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

struct Located {
    int sectionLine = -1;  // index of the [section] line
    int lastLine = -1;     // the section's last key line (or its header)
    int keyLine = -1;
};

Located locate(const std::vector<IniLine>& lines, const QByteArray& section, const QByteArray& key)
{
    Located at;
    bool inSection = false;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (auto name = sectionName(lines[i].text)) {
            if (at.sectionLine >= 0 && inSection)
                break;  // the first section of that name is the one that counts
            inSection = sameName(*name, section);
            if (inSection) {
                at.sectionLine = i;
                at.lastLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        QByteArray k;
        if (!keyValue(lines[i].text, &k, nullptr))
            continue;  // blank lines and comments before the next section belong to it
        at.lastLine = i;
        if (at.keyLine < 0 && !key.isEmpty() && sameName(k, key))
            at.keyLine = i;
    }
    return at;
}

// The file's text as UTF-8. It is written in UTF-8; a file that is not valid UTF-8 comes from
// an older version, which wrote Windows-1252, and is read as such (and written back as UTF-8).
QByteArray asUtf8(QByteArray data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return data;
    return fromCp1252(data).toUtf8();
}

std::optional<QByteArray> readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return asUtf8(f.readAll());
}

std::optional<QByteArray> lookup(const QString& path, const QString& section, const QString& key)
{
    auto data = readFile(path);
    if (!data)
        return std::nullopt;
    const auto lines = splitLines(*data);
    const Located at = locate(lines, section.toUtf8(), key.toUtf8());
    if (at.keyLine < 0)
        return std::nullopt;
    QByteArray k, v;
    keyValue(lines[size_t(at.keyLine)].text, &k, &v);
    return v;
}

std::optional<int> parseInteger(QByteArray s)
{
    s = s.trimmed();
    bool ok = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        const QByteArray digits = s.mid(2);
        if (digits.size() > 8)
            return std::nullopt;
        const uint v = digits.toUInt(&ok, 16);
        return ok ? std::optional<int>(int(v)) : std::nullopt;
    }
    const qlonglong v = s.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(v);
}

} // namespace

// The whole file goes to a temporary file that replaces the old one only when complete.
bool Settings::writeLines(const std::vector<IniLine>& lines)
{
    QByteArray out;
    for (const IniLine& l : lines)
        out += l.text + l.eol;
    QString reason;
    if (!replaceFileWith(path_, out, &reason)) {
        error_ = QStringLiteral("Cannot write the settings file %1: %2").arg(path_, reason);
        return false;
    }
    return true;
}

Settings::Settings() : path_(ProgramFolder::settingsFile()) {}
Settings::Settings(QString filePath) : path_(std::move(filePath)) {}

QString Settings::readString(const QString& section, const QString& key, const QString& def) const
{
    auto v = lookup(path_, section, key);
    if (!v)
        return def;
    return QString::fromUtf8(*v).left(kMaxStringLength);
}

int Settings::readInteger(const QString& section, const QString& key, int def) const
{
    auto v = lookup(path_, section, key);
    if (!v)
        return def;
    return parseInteger(*v).value_or(def);
}

bool Settings::readBool(const QString& section, const QString& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool Settings::hasKey(const QString& section, const QString& key) const
{
    return lookup(path_, section, key).has_value();
}

bool Settings::hasSection(const QString& section) const
{
    auto data = readFile(path_);
    return data && locate(splitLines(*data), section.toUtf8(), {}).sectionLine >= 0;
}

bool Settings::writeString(const QString& section, const QString& key, const QString& value)
{
    error_.clear();
    QByteArray v = value.toUtf8();
    v.replace('\r', ' ').replace('\n', ' ');
    const QByteArray sec = section.toUtf8();
    const QByteArray k = key.toUtf8();

    std::vector<IniLine> lines;
    if (QFile::exists(path_)) {
        auto data = readFile(path_);
        if (!data) {
            error_ = QStringLiteral("Cannot read the settings file %1.").arg(path_);
            return false;
        }
        lines = splitLines(*data);
    }
    const Located at = locate(lines, sec, k);
    if (at.keyLine >= 0) {
        QByteArray oldKey;
        keyValue(lines[size_t(at.keyLine)].text, &oldKey, nullptr);
        lines[size_t(at.keyLine)].text = oldKey + '=' + v;
    } else if (at.sectionLine >= 0) {
        IniLine l{k + '=' + v, "\r\n"};
        if (lines[size_t(at.lastLine)].eol.isEmpty())
            lines[size_t(at.lastLine)].eol = "\r\n";
        lines.insert(lines.begin() + at.lastLine + 1, std::move(l));
    } else {
        if (!lines.empty() && lines.back().eol.isEmpty())
            lines.back().eol = "\r\n";
        lines.push_back({'[' + sec + ']', "\r\n"});
        lines.push_back({k + '=' + v, "\r\n"});
    }

    return writeLines(lines);
}

bool Settings::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool Settings::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool Settings::removeKey(const QString& section, const QString& key)
{
    error_.clear();
    auto data = readFile(path_);
    if (!data)
        return true;
    auto lines = splitLines(*data);
    const Located at = locate(lines, section.toUtf8(), key.toUtf8());
    if (at.keyLine < 0)
        return true;
    lines.erase(lines.begin() + at.keyLine);
    return writeLines(lines);
}

// ---- named keys ----

namespace keys {
QString newFileFieldLengthKey(const QString& fieldName) { return QStringLiteral("Field") + fieldName; }

const BoolSetting* const kCarryKeys[7] = {&CarryOrg, &CarrySA1, &CarrySA2, &CarryCity,
                                          &CarryState, &CarryZip, &CarryCountry};
const BoolSetting* const kSkipKeys[18] = {
    &SkipLastName, &SkipFirstName, &SkipMiddleInitial, &SkipPrefix, &SkipTitle, &SkipOrganization,
    &SkipAddress2, &SkipPhone1, &SkipPhone2, &SkipFax, &SkipEmail, &SkipState,
    &SkipZip, &SkipCountry, &SkipCodes, &SkipComments1, &SkipComments2, &SkipDate};
} // namespace keys

static QString fontSectionName(FontSection which)
{
    switch (which) {
    case FontSection::Label: return QStringLiteral("Label");
    case FontSection::Envelope: return QStringLiteral("Envelope");
    case FontSection::Letter: return QStringLiteral("Letter");
    }
    return {};
}

DefaultFont readDefaultFont(const Settings& s, FontSection which)
{
    const QString sec = fontSectionName(which);
    DefaultFont f;
    f.name = s.readString(sec, QStringLiteral("DefaultFontName"), f.name);
    f.size = s.readInteger(sec, QStringLiteral("DefaultFontSize"), f.size);
    f.bold = s.readBool(sec, QStringLiteral("DefaultFontBold"), f.bold);
    f.italic = s.readBool(sec, QStringLiteral("DefaultFontItalic"), f.italic);
    return f;
}

bool writeDefaultFont(Settings& s, FontSection which, const DefaultFont& f)
{
    const QString sec = fontSectionName(which);
    return s.writeString(sec, QStringLiteral("DefaultFontName"), f.name)
        && s.writeInteger(sec, QStringLiteral("DefaultFontSize"), f.size)
        && s.writeBool(sec, QStringLiteral("DefaultFontBold"), f.bold)
        && s.writeBool(sec, QStringLiteral("DefaultFontItalic"), f.italic);
}

// ---- placements ----

Placement Placement::fromRect(const QRect& r, bool maximized)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), maximized};
}

QString placementSection(const QString& windowClass, int logicalDpi)
{
    QString s = windowClass + QStringLiteral("_Placement");
    if (logicalDpi > 96)
        s += QString::number(logicalDpi);
    return s;
}

Placement loadPlacement(Settings& s, const QString& section, const Placement& current,
                        const QSize& screen, const QRect& centreOver)
{
    Placement p;
    p.left = s.readInteger(section, QStringLiteral("Left"), 0);
    p.top = s.readInteger(section, QStringLiteral("Top"), 0);
    p.right = s.readInteger(section, QStringLiteral("Right"), 0);
    p.bottom = s.readInteger(section, QStringLiteral("Bottom"), 0);
    p.maximized = s.readBool(section, QStringLiteral("Maximized"), current.maximized);

    if (p.bottom != 0) {
        if (p.right > screen.width()) {
            const int excess = p.right - screen.width();
            p.left -= excess;
            p.right = screen.width();
        }
        if (p.bottom > screen.height()) {
            const int excess = p.bottom - screen.height();
            p.top -= excess;
            p.bottom = screen.height();
        }
    } else {
        const int w = current.right - current.left;
        const int h = current.bottom - current.top;
        p.left = centreOver.left() + (centreOver.width() - w) / 2;
        p.top = centreOver.top() + (centreOver.height() - h) / 2;
        p.right = p.left + w;
        p.bottom = p.top + h;
    }
    savePlacement(s, section, p);
    return p;
}

bool savePlacement(Settings& s, const QString& section, const Placement& p)
{
    return s.writeInteger(section, QStringLiteral("Left"), p.left)
        && s.writeInteger(section, QStringLiteral("Top"), p.top)
        && s.writeInteger(section, QStringLiteral("Right"), p.right)
        && s.writeInteger(section, QStringLiteral("Bottom"), p.bottom)
        && s.writeBool(section, QStringLiteral("Maximized"), p.maximized);
}

// ---- recently used list ----

static constexpr int kMruSize = 4;

QStringList getMRUList(const Settings& s)
{
    QStringList list;
    for (int i = 1; i <= kMruSize; ++i) {
        const QString v = s.readString(QStringLiteral("MRU"), QStringLiteral("Item%1").arg(i));
        if (!v.isEmpty())
            list << v;
    }
    return list;
}

QString getMRUFile(const Settings& s)
{
    const QStringList l = getMRUList(s);
    return l.isEmpty() ? QString() : l.first();
}

QStringList updateMRUList(Settings& s, const QString& path)
{
    QStringList list{path};
    for (const QString& old : getMRUList(s)) {
        if (list.size() >= kMruSize)
            break;
        if (old != path)
            list << old;
    }
    for (int i = 0; i < list.size(); ++i)
        s.writeString(QStringLiteral("MRU"), QStringLiteral("Item%1").arg(i + 1), list[i]);
    return list;
}

} // namespace postavo
