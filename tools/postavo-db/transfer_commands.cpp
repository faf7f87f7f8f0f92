// The import and export commands of postavo-db: the same rules as the import and export windows.
#include "transfer_commands.h"

#include "addressfile.h"
#include "asciiimport.h"
#include "copyout.h"
#include "dbfimport.h"
#include "vcardimport.h"

#include <QFile>
#include <QFileInfo>

#include <iostream>
#include <stdexcept>

namespace postavo::tools {

using namespace postavo::transfer;

const char* const kTransferUsage =
    "  import-ascii FILE ADDRESSFILE --map \"1=LNAME,2=FNAME,...\" [--rfc4180] [--skip-header]\n"
    "               [--encoding utf-8|windows-1252]\n"
    "                                    append a comma-delimited text file's lines (columns from 1;\n"
    "                                    with --skip-header and no --map, columns are matched by the\n"
    "                                    names on the first line)\n"
    "  import-dbf SOURCE ADDRESSFILE [--map \"SRCFIELD=LNAME,...\"] [--older 1|2]\n"
    "                                    append a table's records (fields of the same name, the pairs\n"
    "                                    given, or an older version's address table)\n"
    "  import-vcard FILE.vcf ADDRESSFILE  append the cards of a vCard file\n"
    "  export ADDRESSFILE OUT.dbf|OUT.txt|OUT.vcf [--filter EXPR] [--order TAG]\n"
    "               [--encoding utf-8|windows-1252] [--rfc4180] [--overwrite]\n"
    "                                    copy the records out (deleted ones never)\n";

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString arg(const char* a) { return QString::fromLocal8Bit(a); }

struct Args {
    QStringList positional;
    QMap<QString, QString> values;
    QStringList flags;
    bool has(const char* flag) const { return flags.contains(QLatin1String(flag)); }
    QString value(const char* key) const { return values.value(QLatin1String(key)); }
};

Args parse(int argc, char** argv, const QStringList& withValue, const QStringList& flags)
{
    Args a;
    for (int i = 2; i < argc; ++i) {
        const QString s = arg(argv[i]);
        if (withValue.contains(s)) {
            if (i + 1 >= argc)
                throw Failure(s.toStdString() + " needs a value");
            a.values.insert(s, arg(argv[++i]));
        } else if (flags.contains(s)) {
            a.flags << s;
        } else if (s.startsWith(QLatin1String("--"))) {
            throw Failure("unknown option " + s.toStdString());
        } else {
            a.positional << s;
        }
    }
    return a;
}

// Progress goes nowhere; a tool is not stopped half way but killed (and then the staged import
// leaves the address file as it was).
struct Quiet : TransferProgress {};

void openTarget(AddressTable& table, const QString& path)
{
    QString error;
    if (!table.open(path, &error))  // an address file, not open elsewhere
        throw Failure(error.toStdString());
}

int report(const ImportResult& r, ImportKind kind)
{
    if (r.failed()) {
        std::cerr << "postavo-db: " << importClosingMessage(r, kind).replace(QLatin1String("\r\n"), QLatin1String("\n")).toStdString()
                  << '\n';
        return 1;
    }
    std::cout << "imported " << r.imported << " records";
    if (r.cutValues)
        std::cout << "; " << r.cutValues << " values were cut to the target's field widths";
    std::cout << '\n';
    for (const QString& note : r.notes)
        std::cout << note.toStdString() << '\n';
    return 0;
}

TextEncoding encodingOption(const Args& a, TextEncoding def)
{
    if (!a.values.contains(QStringLiteral("--encoding")))
        return def;
    const auto e = encodingFromName(a.value("--encoding"));
    if (!e)
        throw Failure("--encoding is utf-8 or windows-1252, not " + a.value("--encoding").toStdString());
    return *e;
}

int importAscii(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--map", "--encoding"}, {"--rfc4180", "--skip-header"});
    if (a.positional.size() != 2)
        throw Failure("import-ascii needs FILE and ADDRESSFILE");
    TextReadOptions options;
    options.encoding = encodingOption(a, TextEncoding::Detect);
    options.rfc4180 = a.has("--rfc4180");
    options.headerLine = a.has("--skip-header");
    AsciiImportPlan plan;
    plan.scan = scanAsciiFile(a.positional[0], options);
    if (!plan.scan.importable())
        throw Failure(QString(plan.scan.refusal).replace(QLatin1String("\r\n\r\n"), QLatin1String(": ")).toStdString());
    if (a.values.contains(QStringLiteral("--map"))) {
        QString error;
        if (!parseColumnMap(a.value("--map"), plan.scan.columns, &plan.columnFields, &error))
            throw Failure("--map: " + error.toStdString());
    } else if (options.headerLine) {
        FieldMatchGrid grid(importableAddressFields(), false);
        grid.preMatch(plan.scan.columnNames);
        plan.columnFields = columnFieldsFrom(grid, plan.scan.columnNames);
    } else {
        throw Failure("import-ascii needs --map (or --skip-header, to match the first line's names)");
    }
    if (std::none_of(plan.columnFields.cbegin(), plan.columnFields.cend(), [](const QString& f) { return !f.isEmpty(); }))
        throw Failure("no column is matched to an address field");
    std::cerr << "reading " << a.positional[0].toStdString() << " as " << encodingName(plan.scan.options.encoding).toStdString()
              << '\n';
    AddressTable target;
    openTarget(target, a.positional[1]);
    Quiet quiet;
    return report(runAsciiImport(target, plan, quiet), ImportKind::Text);
}

int importDbf(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--map", "--older"}, {});
    if (a.positional.size() != 2)
        throw Failure("import-dbf needs SOURCE and ADDRESSFILE");
    AddressTable target;
    openTarget(target, a.positional[1]);
    QString message;
    auto source = SourceTable::open(a.positional[0], target.path(), &message);
    if (!source)
        throw Failure(QString(message).replace(QLatin1String("\r\n\r\n"), QLatin1String(": ")).toStdString());
    Quiet quiet;
    if (a.values.contains(QStringLiteral("--older"))) {
        const QString v = a.value("--older");
        if (v != QLatin1String("1") && v != QLatin1String("2"))
            throw Failure("--older is 1 or 2");
        const OlderVersion version = v == QLatin1String("1") ? OlderVersion::V1 : OlderVersion::V2;
        if (!missingOlderField(*source, version).isEmpty())
            throw Failure(notOlderTableMessage(a.positional[0], version).toStdString() + " (it has no field "
                          + missingOlderField(*source, version).toStdString() + ")");
        OlderImportSource older(*source, version);
        return report(runStagedImport(target, older, quiet), ImportKind::Table);
    }
    DbfImportPlan plan = sameNamePlan(*source);
    if (a.values.contains(QStringLiteral("--map"))) {
        QString error;
        if (!parseFieldMap(a.value("--map"), *source, &plan, &error))
            throw Failure("--map: " + error.toStdString());
    }
    DbfImportSource records(*source, plan);
    return report(runStagedImport(target, records, quiet), ImportKind::Table);
}

int importVCard(int argc, char** argv)
{
    const Args a = parse(argc, argv, {}, {});
    if (a.positional.size() != 2)
        throw Failure("import-vcard needs FILE.vcf and ADDRESSFILE");
    const VCardFile file = readVCardFile(a.positional[0]);
    if (!file.refusal.isEmpty())
        throw Failure(QString(file.refusal).replace(QLatin1String("\r\n\r\n"), QLatin1String(": ")).toStdString());
    AddressTable target;
    openTarget(target, a.positional[1]);
    Quiet quiet;
    return report(runVCardImport(target, file, quiet), ImportKind::VCard);
}

int exportRecords(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--filter", "--order", "--encoding"}, {"--rfc4180", "--overwrite"});
    if (a.positional.size() != 2)
        throw Failure("export needs ADDRESSFILE and OUT");
    const QString out = a.positional[1];
    const QString suffix = QFileInfo(out).suffix().toLower();
    ExportOptions o;
    if (suffix == QLatin1String("dbf"))
        o.format = ExportFormat::Dbf;
    else if (suffix == QLatin1String("vcf"))
        o.format = ExportFormat::VCard;
    else if (suffix == QLatin1String("txt") || suffix == QLatin1String("csv"))
        o.format = ExportFormat::Text;
    else
        throw Failure("OUT ends in .dbf, .txt (or .csv) or .vcf");
    o.encoding = encodingOption(a, TextEncoding::Windows1252);
    if (o.encoding == TextEncoding::Detect)
        throw Failure("--encoding is utf-8 or windows-1252");
    o.rfc4180 = a.has("--rfc4180");

    AddressTable table;
    QString error;
    if (!table.openShared(a.positional[0], true, &error))
        throw Failure(error.toStdString());
    const QString filter = a.value("--filter").trimmed();
    if (!table.setFilter(filter.isEmpty() ? QStringLiteral("!ISDEL") : QStringLiteral("(") + filter + QStringLiteral(") .and. !ISDEL")))
        throw Failure(table.lastError().toStdString());
    if (const QString order = a.value("--order"); !order.isEmpty()) {
        if (table.orderNumber(order) <= 0)
            throw Failure(a.positional[0].toStdString() + " has no tag " + order.toStdString());
        table.setOrder(order);
    }
    QString message;
    const TargetCheck check = checkExportTarget(out, o.format, table.path(), &message);
    if (check == TargetCheck::Exists && !a.has("--overwrite"))
        throw Failure(out.toStdString() + " already exists (--overwrite replaces it)");
    if (check == TargetCheck::WrongExtension || check == TargetCheck::Self)
        throw Failure(message.toStdString());
    Quiet quiet;
    const ExportResult r = copyRecordsOut(*table.engineTable(), table.visibleCount(), out, o, quiet);
    if (r.failed) {
        std::cerr << "postavo-db: " << exportFailureMessage(r, out).replace(QLatin1String("\r\n"), QLatin1String("\n")).toStdString()
                  << '\n';
        return 1;
    }
    std::cout << "exported " << r.written << " records to " << out.toStdString() << '\n';
    return 0;
}

} // namespace

int runTransferCommand(const std::string& command, int argc, char** argv)
{
    try {
        if (command == "import-ascii")
            return importAscii(argc, argv);
        if (command == "import-dbf")
            return importDbf(argc, argv);
        if (command == "import-vcard")
            return importVCard(argc, argv);
        if (command == "export")
            return exportRecords(argc, argv);
    } catch (const Failure& e) {
        std::cerr << "postavo-db: " << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "postavo-db: " << e.what() << '\n';
        return 1;
    }
    return -1;
}

} // namespace postavo::tools
