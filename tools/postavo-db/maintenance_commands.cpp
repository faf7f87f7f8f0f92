#include "maintenance_commands.h"

#include "addressfile.h"
#include "bulkedits.h"
#include "duplicatecheck.h"
#include "recordengine.h"
#include "statezipcheck.h"

#include <QFile>
#include <QMap>
#include <QStringList>

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <unistd.h>

namespace postavo::tools {

const char* const kMaintenanceUsage =
    "  check-states FILE [--csz CSZ.DBF] [--blank]\n"
    "                                    records whose state or zip is questionable\n"
    "  duplicates FILE --by name|initial|street|similar [--chars N]\n"
    "                                    possible duplicates: record numbers and values compared\n"
    "  convert-case FILE --fields LIST|all --upper|--lower|--capitalise [--filter EXPR]\n"
    "  replace FILE --field F --find TEXT --with TEXT [--whole] [--exact] [--ignore-case]\n"
    "          [--filter EXPR] [--skip-too-long]\n"
    "                                    --whole replaces the whole field, else the matching text;\n"
    "                                    --exact finds fields that begin with TEXT, else containing it\n"
    "  delete-records FILE (--all | --filter EXPR | --not-filter EXPR)\n";

namespace {

struct Usage : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString text(const char* a) { return QString::fromLocal8Bit(a); }
std::string out(const QString& s) { return s.toLocal8Bit().toStdString(); }

// FILE, then --name value pairs and --switches.
struct Args {
    QString file;
    QMap<QString, QString> values;
    QStringList switches;
    bool has(const char* s) const { return switches.contains(QLatin1String(s)); }
    QString value(const char* name) const { return values.value(QLatin1String(name)); }
    bool hasValue(const char* name) const { return values.contains(QLatin1String(name)); }
};

Args parse(int argc, char** argv, const QStringList& withValue, const QStringList& allowedSwitches)
{
    Args a;
    if (argc < 3)
        throw Usage("missing FILE");
    a.file = text(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const QString s = text(argv[i]);
        if (withValue.contains(s)) {
            if (i + 1 >= argc)
                throw Usage(out(s) + " needs a value");
            a.values[s.mid(2)] = text(argv[++i]);
        } else if (allowedSwitches.contains(s)) {
            a.switches << s.mid(2);
        } else {
            throw Usage("unexpected argument " + out(s));
        }
    }
    return a;
}

// A pass's progress on the terminal, when there is one to show it.
PassStep terminalProgress()
{
    if (!::isatty(2))
        return {};
    return [](const PassProgress& p) {
        if (p.total)
            std::fprintf(stderr, "\r%3d%%", int(p.done * 100 / p.total));
        if (p.done >= p.total)
            std::fprintf(stderr, "\r    \r");
        return true;
    };
}

void openAddressFile(AddressTable& table, const QString& path)
{
    QString error;
    if (!table.open(path, &error))
        throw Failure(out(error));
}

void applyFilter(AddressTable& table, const QString& filter)
{
    const QString applied = filter.trimmed().isEmpty() ? QStringLiteral("!ISDEL")
                                                       : QStringLiteral("(") + filter + QStringLiteral(") .and. !ISDEL");
    if (!table.setFilter(applied))
        throw Failure("the filter does not work: " + out(table.lastError()));
}

int checkStates(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--csz"}, {"--blank"});
    const QString csz = a.hasValue("csz") ? a.value("csz") : stateTablePath();
    if (csz.isEmpty() || !QFile::exists(csz))
        throw Failure(statezip::kMissingTable);
    std::unique_ptr<engine::Table> states;
    std::optional<StateZipTable> ranges;
    try {
        states = engine::Table::open(QFile::encodeName(csz).toStdString(), engine::OpenMode::ReadOnly);
        ranges = StateZipTable::fromTable(*states);
    } catch (const engine::EngineError& e) {
        throw Failure("Unable to Open or Create CSZ.DBF (" + std::string(e.what()) + ")");
    }
    AddressTable table;
    openAddressFile(table, a.file);
    applyFilter(table, {});
    const StateZipOutcome o =
        findQuestionableStatesAndZips(*table.engineTable(), *ranges, a.has("blank"), terminalProgress());
    if (!o.error.isEmpty())
        throw Failure(out(o.error));
    std::cout << "RECNO,STATE,ZIP,LNAME,FNAME\n";
    for (const StateZipFinding& f : o.found)
        std::printf("%u,%s,%s,%s,%s\n", f.recno, out(f.state).c_str(), out(f.zip).c_str(), out(f.lastName).c_str(),
                    out(f.firstName).c_str());
    std::cout << out(statezip::foundText(o.found.size())) << " (" << o.checked << " checked)\n";
    return 0;
}

int findDuplicateRecords(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--by", "--chars"}, {});
    static const QMap<QString, DuplicateKind> kinds = {{"name", DuplicateKind::LastFirst},
                                                       {"initial", DuplicateKind::LastFirstInitial},
                                                       {"street", DuplicateKind::Street},
                                                       {"similar", DuplicateKind::Similar}};
    if (!kinds.contains(a.value("by")))
        throw Usage("--by is name, initial, street or similar");
    const DuplicateKind kind = kinds.value(a.value("by"));
    int chars = kDefaultStreetChars;
    if (a.hasValue("chars")) {
        bool ok = false;
        chars = a.value("chars").toInt(&ok);
        if (!ok || chars < 1 || chars > kMaxStreetChars)
            throw Usage("--chars is a number from 1 to 30");
    }
    AddressTable table;
    openAddressFile(table, a.file);
    applyFilter(table, {});
    const DuplicateOutcome o = findDuplicates(*table.engineTable(), kind, chars, terminalProgress());
    if (!o.error.isEmpty())
        throw Failure(out(o.error));
    for (const DuplicatePair& p : o.pairs) {
        if (kind == DuplicateKind::Similar)
            std::printf("%.3f (name %.3f, address %.3f)  %u \"%s\"  ~  %u \"%s\"\n", p.score, p.nameScore,
                        p.addressScore, p.first, out(p.firstValue).c_str(), p.second, out(p.secondValue).c_str());
        else
            std::printf("%u \"%s\" = %u \"%s\"\n", p.first, out(p.firstValue).c_str(), p.second,
                        out(p.secondValue).c_str());
    }
    std::cout << out(duplicates::foundText(o.pairs.size())) << " (" << o.records.size() << " records of "
              << o.scanned << ")\n";
    return 0;
}

int convertCaseCommand(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--fields", "--filter"}, {"--upper", "--lower", "--capitalise"});
    const int ways = int(a.has("upper")) + int(a.has("lower")) + int(a.has("capitalise"));
    if (ways != 1)
        throw Usage("give one of --upper, --lower, --capitalise");
    const CaseConversion how = a.has("upper") ? CaseConversion::Upper
                             : a.has("lower") ? CaseConversion::Lower
                                              : CaseConversion::Capitalise;
    QStringList fields;
    QStringList offered;
    for (const BulkField& f : caseConversionFields())
        offered << QLatin1String(f.field);
    const QString list = a.value("fields");
    if (list.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        fields = offered;
    } else {
        for (const QString& f : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!offered.contains(f.trimmed().toUpper()))
                throw Usage("not a field that can be converted: " + out(f) + " (" + out(offered.join(',')) + ")");
            fields << f.trimmed().toUpper();
        }
    }
    if (fields.isEmpty())
        throw Failure(bulk::kNoFieldsChecked);
    AddressTable table;
    openAddressFile(table, a.file);
    applyFilter(table, a.value("filter"));
    const BulkOutcome o = convertCaseOfRecords(table, fields, how, false, terminalProgress());
    std::cout << "Converted " << o.changed << " of " << o.visited << " records\n";
    if (!o.error.isEmpty())
        throw Failure(out(bulk::stoppedText(o, QStringLiteral("converted"))));
    return 0;
}

int replaceCommand(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--field", "--find", "--with", "--filter"},
                         {"--whole", "--exact", "--ignore-case", "--skip-too-long"});
    if (!a.hasValue("field") || !a.hasValue("find") || !a.hasValue("with"))
        throw Usage("replace needs --field, --find and --with");
    ReplaceRequest r;
    r.field = a.value("field").toUpper();
    r.find = a.value("find");
    r.with = a.value("with");
    r.wholeField = a.has("whole");
    r.exact = a.has("exact");
    r.caseSensitive = !a.has("ignore-case");
    r.scopeFilter = a.value("filter");
    AddressTable table;
    openAddressFile(table, a.file);
    applyFilter(table, {});
    if (const QString problem = checkReplaceRequest(r, table); !problem.isEmpty())
        throw Failure(out(problem));
    const ReplacePlan plan = planReplacement(table, r, terminalProgress());
    if (!plan.error.isEmpty())
        throw Failure(out(plan.error));
    if (!plan.tooLong.empty()) {
        QStringList list;
        for (std::uint32_t recno : plan.tooLong)
            list << QString::number(recno);
        QString message = tooLongText(plan, r.field) + QStringLiteral(" Records: ") + list.join(QLatin1Char(' '));
        if (!a.has("skip-too-long"))
            throw Failure(out(QString(message).replace(QLatin1String("were left unchanged"),
                                              QLatin1String("would not fit, so nothing was replaced"))) +
                          "\n(--skip-too-long replaces the others and leaves these as they are)");
        std::cerr << out(message) << '\n';
    }
    const BulkOutcome o = applyReplacement(table, plan, terminalProgress());
    std::cout << out(bulk::replacedText(o.changed)) << '\n';
    if (!o.error.isEmpty())
        throw Failure(out(bulk::stoppedText(o, QStringLiteral("changed"))));
    return 0;
}

int deleteRecordsCommand(int argc, char** argv)
{
    const Args a = parse(argc, argv, {"--filter", "--not-filter"}, {"--all"});
    const int ways = int(a.has("all")) + int(a.hasValue("filter")) + int(a.hasValue("not-filter"));
    if (ways != 1)
        throw Usage("give one of --all, --filter EXPR, --not-filter EXPR");
    const DeleteChoice choice = a.has("all") ? DeleteChoice::All
                              : a.hasValue("filter") ? DeleteChoice::MatchingFilter
                                                     : DeleteChoice::NotMatchingFilter;
    const QString filter = a.hasValue("filter") ? a.value("filter") : a.value("not-filter");
    AddressTable table;
    openAddressFile(table, a.file);
    if (choice != DeleteChoice::All) {
        // The expression must work before anything is deleted.
        if (!table.setFilter(filter))
            throw Failure("the filter does not work: " + out(table.lastError()));
    }
    const BulkOutcome o = deleteRecords(table, choice, filter, terminalProgress());
    if (!o.error.isEmpty())
        throw Failure(out(bulk::stoppedText(o, QStringLiteral("deleted"))));
    std::cout << out(bulk::deletedText(o.changed)) << '\n'
              << out(QString::fromLatin1(bulk::kRebuildAdvice).replace(QLatin1String("\r\n"), QLatin1String(" ")))
              << '\n';
    return 0;
}

} // namespace

int runMaintenanceCommand(const std::string& command, int argc, char** argv)
{
    try {
        if (command == "check-states")
            return checkStates(argc, argv);
        if (command == "duplicates")
            return findDuplicateRecords(argc, argv);
        if (command == "convert-case")
            return convertCaseCommand(argc, argv);
        if (command == "replace")
            return replaceCommand(argc, argv);
        if (command == "delete-records")
            return deleteRecordsCommand(argc, argv);
    } catch (const Usage& e) {
        std::cerr << "postavo-db: " << e.what() << '\n' << kMaintenanceUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "postavo-db: " << e.what() << '\n';
        return 1;
    }
    return -1;
}

} // namespace postavo::tools
