#include "asciiimport.h"

#include "cp1252.h"
#include "stagedimport.h"

#include <QFileInfo>

namespace postavo::transfer {

namespace {

const QString kUnable = QStringLiteral("Unable to import from this file");

QString columnName(int i) { return QStringLiteral("Field ") + QString::number(i + 1); }

} // namespace

QString AsciiScan::remarks() const
{
    QStringList parts;
    parts << QStringLiteral("Text encoding: ") + encodingName(options.encoding)
            + (byteOrderMark ? QStringLiteral(" (with byte-order mark)") : QString());
    if (firstLineFields > kMaxColumns)
        parts << QStringLiteral("the first line has %1 fields; only the first %2 can be matched")
                     .arg(firstLineFields)
                     .arg(kMaxColumns);
    if (unstorableInSamples > 0)
        parts << QStringLiteral("characters Windows-1252 cannot hold show as \"?\"");
    return parts.join(QStringLiteral("; "));
}

QStringList asciiColumnNames(int columns, const QStringList& header)
{
    QStringList names;
    for (int i = 0; i < columns; ++i) {
        QString name = i < header.size() ? header[i].trimmed().left(kMaxColumnNameLength) : QString();
        if (name.isEmpty() || names.contains(name))
            name = columnName(i);
        // A header name may not pose as another column's default name.
        for (int j = 0; j < columns && name != columnName(i); ++j)
            if (j != i && name == columnName(j))
                name = columnName(i);
        names << name;
    }
    return names;
}

AsciiScan scanAsciiFile(const QString& path, const TextReadOptions& options)
{
    AsciiScan s;
    s.path = path;
    s.options = options;
    QString error;
    if (options.encoding == TextEncoding::Detect) {
        const TextFileVerdict v = examineTextFile(path, &error);
        if (!error.isEmpty()) {
            s.refusal = kUnable + QStringLiteral("\r\n\r\n") + error;
            return s;
        }
        if (!v.refusal.isEmpty()) {
            s.refusal = kUnable + QStringLiteral("\r\n\r\n") + v.refusal;
            return s;
        }
        s.options.encoding = v.encoding;
        s.byteOrderMark = v.byteOrderMark;
    } else {
        // The user said which encoding; a binary file is still no text file.
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            s.refusal = kUnable + QStringLiteral("\r\n\r\n") + f.errorString();
            return s;
        }
        const QByteArray head = f.read(1 << 20);
        s.byteOrderMark = head.startsWith(QByteArray("\xEF\xBB\xBF", 3));
        if (head.contains('\0')) {
            s.refusal = kUnable + QStringLiteral("\r\n\r\n")
                + examineText(std::string_view(head.constData(), std::size_t(head.size()))).refusal;
            return s;
        }
    }
    TextRecordReader reader;
    if (!reader.open(path, s.options.encoding, options.rfc4180, &error)) {
        s.refusal = kUnable + QStringLiteral("\r\n\r\n") + error;
        return s;
    }
    std::string line;
    std::vector<std::string> fields;
    const int wanted = kSampleLines + (options.headerLine ? 1 : 0);
    while (s.linesRead < wanted) {
        const TextRecordReader::Status st = reader.next(line);
        if (st == TextRecordReader::Status::Failed) {
            s.refusal = kUnable + QStringLiteral("\r\n\r\n") + reader.error();
            return s;
        }
        if (st == TextRecordReader::Status::End)
            break;
        splitRecord(line, options.rfc4180, fields);
        if (s.linesRead == 0) {
            s.firstLineFields = int(fields.size());
            s.columns = std::min<int>(s.firstLineFields, kMaxColumns);
            s.longest.fill(0, s.columns);
        }
        ++s.linesRead;
        QStringList values;
        for (std::size_t i = 0; i < fields.size() && int(i) < s.columns; ++i)
            values << fromCp1252(fields[i]);
        if (options.headerLine && s.linesRead == 1) {
            s.headerNames = values;
            continue;
        }
        for (int i = 0; i < values.size(); ++i)
            s.longest[i] = std::max<int>(s.longest[i], int(values[i].size()));
        s.samples << values;
    }
    s.unstorableInSamples = reader.tally().count();
    s.columnNames = asciiColumnNames(s.columns, options.headerLine ? s.headerNames : QStringList());
    if (s.linesRead < 2)
        s.refusal = kUnable;
    return s;
}

QStringList columnFieldsFrom(const FieldMatchGrid& grid, const QStringList& columnNames)
{
    QStringList out;
    for (const QString& name : columnNames) {
        const int row = grid.rowOfSource(name);
        out << (row >= 0 ? grid.rows()[row].field : QString());
    }
    return out;
}

bool parseColumnMap(const QString& text, int columns, QStringList* columnFields, QString* error)
{
    QStringList out;
    for (int i = 0; i < columns; ++i)
        out << QString();
    const QVector<ImportableField> fields = importableAddressFields();
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        bool ok = false;
        const int column = eq > 0 ? part.left(eq).trimmed().toInt(&ok) : 0;
        if (!ok || column < 1 || column > columns) {
            *error = QStringLiteral("\"%1\": the column must be a number from 1 to %2").arg(part.trimmed()).arg(columns);
            return false;
        }
        const QString name = part.mid(eq + 1).trimmed();
        QString field;
        for (const ImportableField& f : fields)
            if (f.field.compare(name, Qt::CaseInsensitive) == 0 || f.label.compare(name, Qt::CaseInsensitive) == 0)
                field = f.field;
        if (field.isEmpty()) {
            *error = QStringLiteral("\"%1\" is not an address field that can be imported").arg(name);
            return false;
        }
        // Each field is fed by one column: a later pair takes it over.
        for (QString& f : out)
            if (f == field)
                f.clear();
        out[column - 1] = field;
    }
    *columnFields = out;
    return true;
}

// ---------------------------------------------------------------- the import's source

AsciiImportSource::AsciiImportSource(const AsciiImportPlan& plan) : plan_(plan)
{
    for (int i = 0; i < plan.scan.columns; ++i)
        targets_ << (i < plan.columnFields.size() && !plan.columnFields[i].isEmpty()
                         ? AddressRecordWriter::column(plan.columnFields[i].toStdString())
                         : -1);
}

bool AsciiImportSource::prepare(TransferProgress& progress, QString* error)
{
    progress.setStatus(QStringLiteral("Counting total lines"));
    const std::int64_t n = countTextRecords(plan_.scan.path, plan_.scan.options.rfc4180, error);
    if (n < 0)
        return false;
    counted_ = std::uint64_t(n);
    if (plan_.scan.options.headerLine && counted_ > 0)
        --counted_;
    if (!reader_.open(plan_.scan.path, plan_.scan.options.encoding, plan_.scan.options.rfc4180, error))
        return false;
    if (plan_.scan.options.headerLine) {
        if (reader_.next(line_) == TextRecordReader::Status::Failed) {
            *error = reader_.error();
            return false;
        }
    }
    return true;
}

ImportSource::Step AsciiImportSource::next(AddressRecordWriter& writer, QString* error)
{
    for (;;) {
        switch (reader_.next(line_)) {
        case TextRecordReader::Status::End: return Step::End;
        case TextRecordReader::Status::Failed: *error = reader_.error(); return Step::Failed;
        case TextRecordReader::Status::Record: break;
        }
        if (reader_.lastWasCut())
            ++longLines_;
        splitRecord(line_, plan_.scan.options.rfc4180, fields_);
        // Fields past n are ignored; missing ones are empty.
        bool any = false;
        const std::size_t n = std::min<std::size_t>(fields_.size(), std::size_t(targets_.size()));
        for (std::size_t i = 0; i < n; ++i) {
            if (targets_[int(i)] < 0 || fields_[i].empty())
                continue;
            writer.setText(targets_[int(i)], fields_[i]);
            any = true;
        }
        if (any)
            return Step::Record;
        ++emptyLines_;  // a record of blanks only is no address
    }
}

int AsciiImportSource::percent(std::uint64_t) const
{
    if (counted_ == 0)
        return 0;
    const std::uint64_t read = reader_.records() - (plan_.scan.options.headerLine ? 1 : 0);
    return int(std::min<std::uint64_t>(100, read * 100 / counted_));
}

QStringList AsciiImportSource::notes() const
{
    QStringList out;
    if (longLines_ > 0)
        out << QStringLiteral("%1 lines were longer than %2 characters; the rest of each was skipped.")
                   .arg(longLines_)
                   .arg(kMaxLineCharacters);
    if (emptyLines_ > 0)
        out << QStringLiteral("%1 lines held no value for the matched fields and were skipped.").arg(emptyLines_);
    if (plan_.scan.firstLineFields > kMaxColumns)
        out << QStringLiteral("Only the first %1 of the file's %2 columns could be matched.")
                   .arg(kMaxColumns)
                   .arg(plan_.scan.firstLineFields);
    if (reader_.tally().count() > 0)
        out << reader_.tally().describe();
    return out;
}

ImportResult runAsciiImport(AddressTable& target, const AsciiImportPlan& plan, TransferProgress& progress)
{
    AsciiImportSource source(plan);
    return runStagedImport(target, source, progress);
}

} // namespace postavo::transfer
