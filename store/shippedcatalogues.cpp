#include "shippedcatalogues.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace postavo {

namespace {

// Within this much a label still counts as on the paper, and a sheet as of its paper size:
// the catalogue holds lengths rounded to three decimals and metric stock converted to inches.
constexpr double kTolerance = 0.01;

QString num(double v)
{
    return QString::number(v, 'f', 3);
}

QString atLine(const QString& source, int line)
{
    return QStringLiteral("%1 line %2: ").arg(source).arg(line);
}

// Splits one line into fields; false with `why` set when the quoting is broken.
bool splitLine(const QByteArray& line, QStringList& fields, QString& why)
{
    fields.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        QByteArray value;
        if (i < n && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= n) {
                    why = QStringLiteral("a quoted field is not closed");
                    return false;
                }
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        value += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += line[i++];
            }
            if (i < n && line[i] != ',') {
                why = QStringLiteral("text follows the closing quote of field %1").arg(fields.size() + 1);
                return false;
            }
        } else {
            while (i < n && line[i] != ',') {
                if (line[i] == '"') {
                    why = QStringLiteral("a quote inside unquoted field %1").arg(fields.size() + 1);
                    return false;
                }
                value += line[i++];
            }
        }
        fields << QString::fromLatin1(value);
        if (i >= n)
            return true;
        ++i; // the comma; a comma at the end of the line opens one more, empty, field
        if (i >= n) {
            fields << QString();
            return true;
        }
    }
}

// Maps the header's field names to columns and converts values, remembering the first
// error. Every conversion names the field and the line.
class RecordReader {
public:
    RecordReader(const CsvTable& table, const QList<ShippedField>& fields, const QString& source)
        : source_(source)
    {
        for (const ShippedField& f : fields)
            spec_.insert(QString::fromLatin1(f.name), f);
        for (int c = 0; c < table.header.size(); ++c) {
            const QString& h = table.header[c];
            if (!spec_.contains(h)) {
                fail(1, QStringLiteral("unknown field %1").arg(h));
                return;
            }
            column_.insert(h, c);
        }
        for (const ShippedField& f : fields) {
            if (!column_.contains(QString::fromLatin1(f.name))) {
                fail(1, QStringLiteral("field %1 is missing from the header").arg(QLatin1String(f.name)));
                return;
            }
        }
    }

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }

    QString text(const CsvRecord& r, const char* field)
    {
        if (!ok())
            return {};
        const ShippedField& f = spec_[QString::fromLatin1(field)];
        const QString v = r.fields.value(column_.value(QString::fromLatin1(field)));
        if (v.size() > f.width)
            fail(r.line, QStringLiteral("field %1: \"%2\" is longer than %3 characters").arg(QLatin1String(field), v).arg(f.width));
        return v;
    }

    double number(const CsvRecord& r, const char* field)
    {
        if (!ok())
            return 0;
        const ShippedField& f = spec_[QString::fromLatin1(field)];
        const QString v = r.fields.value(column_.value(QString::fromLatin1(field)));
        static const QRegularExpression form(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
        const QRegularExpressionMatch m = form.match(v);
        if (!m.hasMatch()) {
            fail(r.line, QStringLiteral("field %1: \"%2\" is not a number").arg(QLatin1String(field), v));
            return 0;
        }
        const int point = v.indexOf(QLatin1Char('.'));
        const int decimals = point < 0 ? 0 : int(v.size() - point - 1);
        if (decimals > f.decimals) {
            fail(r.line, f.decimals == 0
                             ? QStringLiteral("field %1: \"%2\" is not a whole number").arg(QLatin1String(field), v)
                             : QStringLiteral("field %1: \"%2\" has more than %3 decimals").arg(QLatin1String(field), v).arg(f.decimals));
            return 0;
        }
        const double d = v.toDouble();
        if (QString::number(d, 'f', f.decimals).size() > f.width) {
            fail(r.line, QStringLiteral("field %1: \"%2\" does not fit in %3 characters").arg(QLatin1String(field), v).arg(f.width));
            return 0;
        }
        return d;
    }

    int whole(const CsvRecord& r, const char* field) { return int(number(r, field)); }

private:
    void fail(int line, const QString& why)
    {
        if (error_.isEmpty())
            error_ = atLine(source_, line) + why;
    }

    QString source_;
    QHash<QString, ShippedField> spec_;
    QHash<QString, int> column_;
    QString error_;
};

// A file without even a header line holds no table at all.
CsvTable parseWithHeader(const QByteArray& data, const QString& source)
{
    CsvTable t = parseCsv(data, source);
    if (t.ok() && t.header.isEmpty())
        t.error = source + QStringLiteral(": the file is empty");
    return t;
}

template <class Row>
ShippedRead<Row> readFile(const QString& path, ShippedRead<Row> (*parse)(const QByteArray&, const QString&))
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ShippedRead<Row> r;
        r.error = QStringLiteral("%1: cannot be read (%2)").arg(path, f.errorString());
        return r;
    }
    return parse(f.readAll(), path);
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= kTolerance;
}

} // namespace

const QList<ShippedField>& cszFields()
{
    static const QList<ShippedField> f = {
        {"NAME", 'C', 20, 0},
        {"STATE", 'C', 4, 0},
        {"LOW_ZIP", 'C', 10, 0},
        {"HIGH_ZIP", 'C', 10, 0},
    };
    return f;
}

const QList<ShippedField>& labelTemplateFields()
{
    static const QList<ShippedField> f = {
        {"DESCRIPT", 'C', 60, 0},
        {"LBLHEIGHT", 'N', 6, 3},
        {"LBLWIDTH", 'N', 6, 3},
        {"NBRACROSS", 'N', 2, 0},
        {"NBRDOWN", 'N', 2, 0},
        {"TOPMARG", 'N', 6, 3},
        {"LEFTMARG", 'N', 6, 3},
        {"HORIZPITCH", 'N', 6, 3},
        {"VERTPITCH", 'N', 6, 3},
        {"SHEETWIDTH", 'N', 6, 3},
        {"SHEETDEPTH", 'N', 6, 3},
        {"PRINTER", 'C', 2, 0},
        {"PAPERSIZE", 'C', 5, 0},
        {"LBLSHAPE", 'C', 2, 0},
        {"MANUFAC", 'C', 10, 0},
        {"PRODTYPE", 'C', 25, 0},
        {"MIDEXTRAX", 'N', 6, 3},
        {"MIDEXTRAY", 'N', 6, 3},
        {"ART", 'C', 12, 0},
    };
    return f;
}

CsvTable parseCsv(const QByteArray& data, const QString& sourceName)
{
    CsvTable t;
    QByteArray text = data;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3); // a byte-order mark some editors add

    int lineNo = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        QByteArray line = text.mid(start, end - start);
        start = end + 1;
        ++lineNo;
        if (line.endsWith('\r'))
            line.chop(1);

        for (qsizetype i = 0; i < line.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            if (c >= 0x80) {
                t.error = atLine(sourceName, lineNo) + QStringLiteral("a character outside plain ASCII at column %1").arg(i + 1);
                return t;
            }
            if (c < 0x20 || c == 0x7F) {
                t.error = atLine(sourceName, lineNo) + QStringLiteral("a control character at column %1").arg(i + 1);
                return t;
            }
        }
        if (line.isEmpty())
            continue;

        QStringList fields;
        QString why;
        if (!splitLine(line, fields, why)) {
            t.error = atLine(sourceName, lineNo) + why;
            return t;
        }
        if (t.header.isEmpty()) {
            QSet<QString> seen;
            for (const QString& h : fields) {
                if (h.isEmpty() || seen.contains(h)) {
                    t.error = atLine(sourceName, lineNo) + (h.isEmpty() ? QStringLiteral("the header has an empty field name")
                                                                          : QStringLiteral("the header names %1 twice").arg(h));
                    return t;
                }
                seen.insert(h);
            }
            t.header = fields;
            continue;
        }
        if (fields.size() != t.header.size()) {
            t.error = atLine(sourceName, lineNo) + QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(t.header.size());
            return t;
        }
        t.records.append(CsvRecord{lineNo, fields});
    }
    return t;
}

ShippedRead<CszRow> parseCszCsv(const QByteArray& data, const QString& sourceName)
{
    ShippedRead<CszRow> out;
    const CsvTable t = parseWithHeader(data, sourceName);
    if (!t.ok()) {
        out.error = t.error;
        return out;
    }
    RecordReader rd(t, cszFields(), sourceName);
    for (const CsvRecord& r : t.records) {
        CszRow row;
        row.name = rd.text(r, "NAME");
        row.state = rd.text(r, "STATE");
        row.lowZip = rd.text(r, "LOW_ZIP");
        row.highZip = rd.text(r, "HIGH_ZIP");
        row.line = r.line;
        if (!rd.ok())
            break;
        out.rows.append(row);
    }
    if (!rd.ok()) {
        out.rows.clear();
        out.error = rd.error();
    }
    return out;
}

ShippedRead<LabelTemplateRow> parseLabelTemplateCsv(const QByteArray& data, const QString& sourceName)
{
    ShippedRead<LabelTemplateRow> out;
    const CsvTable t = parseWithHeader(data, sourceName);
    if (!t.ok()) {
        out.error = t.error;
        return out;
    }
    RecordReader rd(t, labelTemplateFields(), sourceName);
    for (const CsvRecord& r : t.records) {
        LabelTemplateRow row;
        row.descript = rd.text(r, "DESCRIPT");
        row.lblHeight = rd.number(r, "LBLHEIGHT");
        row.lblWidth = rd.number(r, "LBLWIDTH");
        row.nbrAcross = rd.whole(r, "NBRACROSS");
        row.nbrDown = rd.whole(r, "NBRDOWN");
        row.topMarg = rd.number(r, "TOPMARG");
        row.leftMarg = rd.number(r, "LEFTMARG");
        row.horizPitch = rd.number(r, "HORIZPITCH");
        row.vertPitch = rd.number(r, "VERTPITCH");
        row.sheetWidth = rd.number(r, "SHEETWIDTH");
        row.sheetDepth = rd.number(r, "SHEETDEPTH");
        row.printer = rd.text(r, "PRINTER");
        row.paperSize = rd.text(r, "PAPERSIZE");
        row.lblShape = rd.text(r, "LBLSHAPE");
        row.manufac = rd.text(r, "MANUFAC");
        row.prodType = rd.text(r, "PRODTYPE");
        row.midExtraX = rd.number(r, "MIDEXTRAX");
        row.midExtraY = rd.number(r, "MIDEXTRAY");
        row.art = rd.text(r, "ART");
        row.line = r.line;
        if (!rd.ok())
            break;
        out.rows.append(row);
    }
    if (!rd.ok()) {
        out.rows.clear();
        out.error = rd.error();
    }
    return out;
}

ShippedRead<CszRow> readCszCsv(const QString& path)
{
    return readFile<CszRow>(path, &parseCszCsv);
}

ShippedRead<LabelTemplateRow> readLabelTemplateCsv(const QString& path)
{
    return readFile<LabelTemplateRow>(path, &parseLabelTemplateCsv);
}

bool isLandscapePaper(const QString& paperSize)
{
    return paperSize == QLatin1String("LTRL") || paperSize == QLatin1String("A4L") || paperSize == QLatin1String("USERL");
}

QStringList checkLabelGeometry(const LabelTemplateRow& row)
{
    QStringList p;
    if (row.nbrAcross < 1)
        p << QStringLiteral("%1 labels across; there must be at least 1").arg(row.nbrAcross);
    if (row.nbrDown < 1)
        p << QStringLiteral("%1 labels down; there must be at least 1").arg(row.nbrDown);
    if (row.lblWidth <= 0 || row.lblHeight <= 0)
        p << QStringLiteral("label size %1 x %2 is not above 0").arg(num(row.lblWidth), num(row.lblHeight));
    if (row.sheetWidth <= 0 || row.sheetDepth <= 0)
        p << QStringLiteral("sheet size %1 x %2 is not above 0").arg(num(row.sheetWidth), num(row.sheetDepth));
    if (row.leftMarg < 0 || row.topMarg < 0)
        p << QStringLiteral("margins %1 (left) and %2 (top) must not be negative").arg(num(row.leftMarg), num(row.topMarg));
    if (row.midExtraX < 0 || row.midExtraY < 0)
        p << QStringLiteral("middle gaps must not be negative");
    // With a single column (or row) the pitch is never used.
    if (row.nbrAcross >= 2 && row.horizPitch < row.lblWidth)
        p << QStringLiteral("horizontal pitch %1 is smaller than the label width %2").arg(num(row.horizPitch), num(row.lblWidth));
    if (row.nbrDown >= 2 && row.vertPitch < row.lblHeight)
        p << QStringLiteral("vertical pitch %1 is smaller than the label height %2").arg(num(row.vertPitch), num(row.lblHeight));

    if (row.nbrAcross >= 1) {
        // The last column always lies in the right half, so it carries the middle gap.
        const double right = row.leftMarg + (row.nbrAcross - 1) * row.horizPitch + std::max(0.0, row.midExtraX) + row.lblWidth;
        if (right > row.sheetWidth + kTolerance)
            p << QStringLiteral("the labels reach %1 inches across a sheet %2 inches wide").arg(num(right), num(row.sheetWidth));
    }
    if (row.nbrDown >= 1) {
        const double bottom = row.topMarg + (row.nbrDown - 1) * row.vertPitch + std::max(0.0, row.midExtraY) + row.lblHeight;
        if (bottom > row.sheetDepth + kTolerance)
            p << QStringLiteral("the labels reach %1 inches down a sheet %2 inches deep").arg(num(bottom), num(row.sheetDepth));
    }

    struct Paper {
        const char* code;
        double width, depth;
    };
    static const Paper papers[] = {
        {"LTR", 8.5, 11}, {"LTRL", 11, 8.5}, {"A4", 8.27, 11.69}, {"A4L", 11.69, 8.27}, {"A5", 5.82, 8.27},
    };
    bool known = false;
    for (const Paper& pp : papers) {
        if (row.paperSize == QLatin1String(pp.code)) {
            known = true;
            if (!near(row.sheetWidth, pp.width) || !near(row.sheetDepth, pp.depth))
                p << QStringLiteral("paper %1 is %2 x %3 inches, not %4 x %5")
                         .arg(row.paperSize, num(pp.width), num(pp.depth), num(row.sheetWidth), num(row.sheetDepth));
        }
    }
    if (row.paperSize == QLatin1String("USERP")) {
        known = true;
    } else if (row.paperSize == QLatin1String("USERL")) {
        known = true;
        if (row.sheetWidth < row.sheetDepth)
            p << QStringLiteral("landscape paper USERL needs the long side as the sheet width, not %1 x %2")
                     .arg(num(row.sheetWidth), num(row.sheetDepth));
    }
    if (!known)
        p << QStringLiteral("unknown paper size code \"%1\"").arg(row.paperSize);
    return p;
}

QStringList checkLabelTemplateCodes(const LabelTemplateRow& row)
{
    static const QStringList printers = {"LJ", "IJ", "DM", "LP"};
    static const QStringList shapes = {"RR", "SR", "EL"};
    static const QStringList makers = {"AVERY", "NEBS", "COSTAR"};
    static const QStringList groups = {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS", "DISKETTE LABELS",
                                       "FILE FOLDER LABELS", "INDEX PRODUCTS", "MISCELLANEOUS"};
    QStringList p;
    if (row.descript.trimmed().isEmpty())
        p << QStringLiteral("the description is empty");
    if (!printers.contains(row.printer))
        p << QStringLiteral("unknown printer type \"%1\"").arg(row.printer);
    if (!shapes.contains(row.lblShape))
        p << QStringLiteral("unknown label shape \"%1\"").arg(row.lblShape);
    // Stock of other makers carries the maker's own name: upper case, as the template
    // query compares it, and never the hand-entered marker USER.
    if (!makers.contains(row.manufac)
        && (row.manufac.trimmed().isEmpty() || row.manufac != row.manufac.toUpper() || row.manufac.size() > 10
            || row.manufac == QLatin1String("USER")))
        p << QStringLiteral("unknown manufacturer \"%1\"").arg(row.manufac);
    if (!groups.contains(row.prodType))
        p << QStringLiteral("unknown product type \"%1\"").arg(row.prodType);
    if (row.manufac == QLatin1String("AVERY")) {
        if (!row.art.isEmpty() && (!row.art.startsWith(QLatin1String("AV")) || row.art.size() < 3))
            p << QStringLiteral("artwork \"%1\" is not AV followed by a stock number").arg(row.art);
    } else if (!row.art.isEmpty()) {
        p << QStringLiteral("artwork \"%1\" given for a maker other than Avery").arg(row.art);
    }
    return p;
}

QStringList checkCszRanges(const QList<CszRow>& rows)
{
    QStringList p;
    auto where = [](const CszRow& r) { return QStringLiteral("line %1 (%2)").arg(r.line).arg(r.state); };
    for (const CszRow& r : rows) {
        if (r.state.trimmed().isEmpty())
            p << QStringLiteral("line %1: the abbreviation is empty").arg(r.line);
        if (r.name.trimmed().isEmpty())
            p << QStringLiteral("line %1: the name is empty").arg(r.line);
        if (r.lowZip.isEmpty() || r.highZip.isEmpty())
            p << where(r) + QStringLiteral(": an empty range end");
        else if (QString::compare(r.lowZip, r.highZip, Qt::CaseSensitive) > 0)
            p << where(r) + QStringLiteral(": range %1 to %2 runs backwards").arg(r.lowZip, r.highZip);
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (qsizetype j = i + 1; j < rows.size(); ++j) {
            const CszRow& a = rows[i];
            const CszRow& b = rows[j];
            if (a.state == b.state)
                continue;
            if (QString::compare(a.lowZip, b.highZip) <= 0 && QString::compare(b.lowZip, a.highZip) <= 0)
                p << QStringLiteral("%1 range %2 to %3 overlaps %4 range %5 to %6")
                         .arg(where(a), a.lowZip, a.highZip, where(b), b.lowZip, b.highZip);
        }
    }
    return p;
}

} // namespace postavo
