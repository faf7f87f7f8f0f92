#include "dbfimport.h"

#include "addressfields.h"
#include "cp1252.h"
#include "engine/recordengine.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>

namespace postavo::transfer {

using engine::DbfField;
using engine::EngineError;

namespace {

std::string trimRight(std::string_view s)
{
    std::size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\0'))
        --n;
    return std::string(s.substr(0, n));
}

std::string trimBoth(std::string_view s)
{
    std::string r = trimRight(s);
    const std::size_t start = r.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : r.substr(start);
}

QString fullPath(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

} // namespace

bool isMemoType(char type) { return type == 'M' || type == 'G' || type == 'P' || type == 'W'; }

std::string shortestNumber(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        value = 0;  // no "-0"
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

// ---------------------------------------------------------------- source table

SourceTable::~SourceTable() = default;

std::unique_ptr<SourceTable> SourceTable::open(const QString& path, const QString& addressPath, QString* message)
{
    if (!addressPath.isEmpty() && fullPath(path).compare(fullPath(addressPath), Qt::CaseInsensitive) == 0) {
        *message = QStringLiteral("Cannot import a file to itself");
        return nullptr;
    }
    std::unique_ptr<SourceTable> s(new SourceTable);
    s->path_ = path;
    try {
        s->table_ = engine::Table::open(QFile::encodeName(path).toStdString(), engine::OpenMode::ReadOnly);
        s->table_->closeIndexes();  // record order, whatever index the source has
        s->table_->setDeletedHidden(true);
        s->table_->setCentury(true);
        s->table_->setTurboRead(true);
    } catch (const std::exception& e) {
        *message = QStringLiteral("Unable to open the file ") + path + QStringLiteral("\r\n\r\n")
            + QString::fromLocal8Bit(e.what());
        return nullptr;
    }
    if (s->table_->recCount() == 0) {
        *message = QStringLiteral("There are no records in ") + path;
        return nullptr;
    }
    for (const DbfField& f : s->table_->fields())
        if (f.type != '0')  // Visual FoxPro's null flags are no data
            s->fields_.push_back(&f);
    s->dateFormat_ = displayDateFormat();
    return s;
}

QString SourceTable::fileName() const { return QFileInfo(path_).fileName(); }

std::uint32_t SourceTable::recordCount() const { return table_->recCount(); }

QStringList SourceTable::fieldNames() const
{
    QStringList out;
    for (const DbfField* f : fields_)
        if (!isMemoType(f->type))
            out << QString::fromLatin1(f->name.c_str());
    return out;
}

QStringList SourceTable::memoFieldNames() const
{
    QStringList out;
    for (const DbfField* f : fields_)
        if (f->type == 'M')
            out << QString::fromLatin1(f->name.c_str());
    return out;
}

QStringList SourceTable::preMatchNames() const
{
    QStringList out;
    for (const DbfField* f : fields_)
        if (f->type == 'C' || f->type == 'L' || f->type == 'N' || f->type == 'D')
            out << QString::fromLatin1(f->name.c_str());
    return out;
}

const DbfField* SourceTable::field(const QString& name) const
{
    for (const DbfField* f : fields_)
        if (QString::fromLatin1(f->name.c_str()).compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

bool SourceTable::hasField(const QString& name) const { return field(name) != nullptr; }

std::string SourceTable::textValue(const DbfField& f) const
{
    const engine::Table& t = *table_;
    switch (f.type) {
    case 'C':
    case 'V':
        return trimRight(t.getString(f.name));
    case 'N':
    case 'F': {
        const std::string s = trimBoth(t.getString(f.name));
        if (s.empty())
            return s;
        char* end = nullptr;
        const double d = std::strtod(s.c_str(), &end);
        return end && *end == 0 ? shortestNumber(d) : s;  // "*****" (did not fit) stays as it is
    }
    case 'I':
    case 'Y':
    case 'B':
        return shortestNumber(t.getNumber(f.name));
    case 'D':
    case 'T': {
        const std::string mdy = t.getDateString(f.name);  // mm/dd/yyyy
        const QDate d = QDate::fromString(QString::fromLatin1(mdy.c_str()), QStringLiteral("MM/dd/yyyy"));
        return d.isValid() ? d.toString(dateFormat_).toStdString() : std::string();
    }
    case 'L':
        return t.getLogical(f.name) ? "True" : "False";
    case 'M':
    case 'G':
    case 'P':
    case 'W':
        return t.getMemo(f.name);
    default:
        return trimRight(t.getString(f.name));
    }
}

// ---------------------------------------------------------------- table import

FieldMatchGrid preMatchedGrid(const SourceTable& source, const AddressTable* labels, bool withMemoRow)
{
    FieldMatchGrid g(importableAddressFields(labels), withMemoRow);
    g.setSources(source.fieldNames(), source.memoFieldNames());
    g.preMatch(source.preMatchNames(), source.memoFieldNames());
    return g;
}

DbfImportPlan dbfImportPlanFrom(const FieldMatchGrid& grid, const SourceTable& source)
{
    DbfImportPlan plan;
    for (const DbfField* f : source.fields()) {
        const QString name = QString::fromLatin1(f->name.c_str());
        const int row = grid.rowOfSource(name);
        plan.sourceFields << name;
        plan.addressFields << (row >= 0 ? grid.rows()[row].field : QString());
    }
    return plan;
}

bool parseFieldMap(const QString& text, const SourceTable& source, DbfImportPlan* plan, QString* error)
{
    FieldMatchGrid g(importableAddressFields(), true);
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        const QString from = eq > 0 ? part.left(eq).trimmed() : QString();
        const QString to = eq > 0 ? part.mid(eq + 1).trimmed() : QString();
        const DbfField* f = source.field(from);
        if (!f) {
            *error = QStringLiteral("\"%1\": %2 has no field %3").arg(part.trimmed(), source.fileName(), from);
            return false;
        }
        int row = -1;
        for (int i = 0; i < g.rowCount(); ++i)
            if (g.rows()[i].field.compare(to, Qt::CaseInsensitive) == 0
                || g.rows()[i].label.compare(to, Qt::CaseInsensitive) == 0)
                row = i;
        if (row < 0) {
            *error = QStringLiteral("\"%1\" is not an address field that can be imported").arg(to);
            return false;
        }
        if (g.rows()[row].memo != isMemoType(f->type)) {
            *error = QStringLiteral("\"%1\": only a memo field feeds the memo, and a memo field only the memo")
                         .arg(part.trimmed());
            return false;
        }
        g.choose(row, QString::fromLatin1(f->name.c_str()));
    }
    *plan = dbfImportPlanFrom(g, source);
    return true;
}

DbfImportSource::DbfImportSource(SourceTable& source, const DbfImportPlan& plan)
    : source_(source), dateColumn_(AddressRecordWriter::column("DATE")), dateFormat_(displayDateFormat())
{
    for (int i = 0; i < plan.sourceFields.size(); ++i) {
        if (i >= plan.addressFields.size() || plan.addressFields[i].isEmpty())
            continue;
        const DbfField* f = source.field(plan.sourceFields[i]);
        const int to = AddressRecordWriter::column(plan.addressFields[i].toStdString());
        if (f && to >= 0)
            pairs_.push_back({f, to});
    }
}

ImportSource::Step DbfImportSource::next(AddressRecordWriter& writer, QString* error)
{
    try {
        engine::Table& t = source_.table();
        if (!started_) {
            t.goTop();
            started_ = true;
        } else {
            t.skip(1);
        }
        if (t.eof())
            return Step::End;
        for (const Pair& p : pairs_) {
            // A date feeding DATE keeps the eight digits DATE holds.
            const bool dateToDate = p.to == dateColumn_ && (p.from->type == 'D' || p.from->type == 'T');
            const std::string v = dateToDate ? convertOlderDate(source_.textValue(*p.from), dateFormat_)
                                             : source_.textValue(*p.from);
            if (!v.empty())
                writer.setText(p.to, v);
        }
    } catch (const std::exception& e) {
        *error = QString::fromLocal8Bit(e.what());
        return Step::Failed;
    }
    return Step::Record;
}

int DbfImportSource::percent(std::uint64_t) const
{
    const std::uint32_t n = source_.recordCount();
    return n ? int(std::uint64_t(source_.table().recNo()) * 100 / n) : 0;
}

// ---------------------------------------------------------------- older versions

DbfImportPlan sameNamePlan(const SourceTable& source)
{
    DbfImportPlan plan;
    for (const DbfField* f : source.fields()) {
        const QString name = QString::fromLatin1(f->name.c_str());
        plan.sourceFields << name;
        plan.addressFields << (AddressRecordWriter::column(f->name) >= 0 ? name.toUpper() : QString());
    }
    return plan;
}

QStringList requiredOlderFields(OlderVersion v)
{
    if (v == OlderVersion::V1)
        return {"LNAME", "FNAME",   "MIDDLE", "TITLE", "ORG",   "STREET", "CITY",   "STATE",  "ZIP",
                "COUNTRY", "PHONE", "EMAIL",  "FAX",   "NOTES", "PREFIX", "CARRIER", "DATE",  "MEMO"};
    return {"LNAME", "FNAME", "MIDDLE", "TITLE", "ORG",   "STREET", "STREET2", "CITY",
            "STATE", "ZIP",   "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX",     "CODES",
            "PREFIX", "DATE", "USER1",  "USER2", "ISDEL", "MEMO",   "TAG"};
}

QString missingOlderField(const SourceTable& source, OlderVersion v)
{
    for (const QString& name : requiredOlderFields(v))
        if (!source.hasField(name))
            return name;
    return {};
}

QString notOlderTableMessage(const QString& path, OlderVersion v)
{
    return path + (v == OlderVersion::V1 ? QStringLiteral(" does not appear to be a Postavo 1.x DBF")
                                         : QStringLiteral(" does not appear to be a Postavo 2.x DBF"));
}

QString olderImportCaption(OlderVersion v)
{
    return v == OlderVersion::V1 ? QStringLiteral("Import Postavo 1.x DBF") : QStringLiteral("Import Postavo 2.x DBF");
}

std::string convertOlderDate(std::string_view value, const QString& dateFormat)
{
    if (value.empty())
        return {};
    auto number = [&](std::size_t from, std::size_t count, int* out) {
        if (value.size() < from + count)
            return false;
        int n = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (value[i] < '0' || value[i] > '9')
                return false;
            n = n * 10 + (value[i] - '0');
        }
        *out = n;
        return true;
    };
    int y = 0, m = 0, d = 0;
    if (number(0, 4, &y) && number(4, 2, &m) && number(6, 2, &d) && QDate::isValid(y, m, d))
        return std::string(value);
    const QDate date = QDate::fromString(fromCp1252(value), dateFormat);
    if (date.isValid())
        return recordDateText(date).toStdString();
    return {};
}

OlderImportSource::OlderImportSource(SourceTable& source, OlderVersion version)
    : source_(source), version_(version), dateFormat_(displayDateFormat())
{
    // The mapping, in the order the fields are written.
    auto copy = [&](const char* to, const char* from) {
        const DbfField* f = source.field(QString::fromLatin1(from));
        if (f)
            copies_.push_back({f, AddressRecordWriter::column(to)});
    };
    for (const char* name : {"LNAME", "FNAME", "PREFIX", "MIDDLE", "TITLE", "ORG", "STREET", "CITY", "STATE", "ZIP",
                             "COUNTRY", "PHONE", "FAX", "EMAIL"})
        copy(name, name);
    if (version == OlderVersion::V1) {
        copy("CODES", "NOTES");
    } else {
        copy("CODES", "CODES");
        for (const char* name : {"STREET2", "PHONE2", "USER1", "USER2"})
            copy(name, name);
        isdel_ = source.field(QStringLiteral("ISDEL"));
    }
    date_ = source.field(QStringLiteral("DATE"));
    memo_ = source.field(QStringLiteral("MEMO"));
}

ImportSource::Step OlderImportSource::next(AddressRecordWriter& writer, QString* error)
{
    try {
        engine::Table& t = source_.table();
        if (!started_) {
            t.goTop();
            started_ = true;
        } else {
            t.skip(1);
        }
        if (t.eof())
            return Step::End;
        for (const Copy& c : copies_)
            writer.setText(c.to, source_.textValue(*c.from));
        if (isdel_)
            writer.setLogical("ISDEL", t.getLogical(isdel_->name));
        if (date_) {
            const std::string v = source_.textValue(*date_);
            writer.setText("DATE", version_ == OlderVersion::V1 ? convertOlderDate(v, dateFormat_) : v);
        }
        if (memo_ && isMemoType(memo_->type))
            writer.setMemo(memoWithTrailingBlankRule(source_.textValue(*memo_)));
    } catch (const std::exception& e) {
        *error = QString::fromLocal8Bit(e.what());
        return Step::Failed;
    }
    return Step::Record;
}

int OlderImportSource::percent(std::uint64_t) const
{
    const std::uint32_t n = source_.recordCount();
    return n ? int(std::uint64_t(source_.table().recNo()) * 100 / n) : 0;
}

} // namespace postavo::transfer
