#include "address_commands.h"

#include "addressfile.h"
#include "cp1252.h"
#include "filterops.h"
#include "recordengine.h"
#include "settings.h"

#include <QFile>
#include <QFileInfo>

#include <iostream>
#include <stdexcept>

namespace postavo::tools {

const char* const kAddressUsage =
    "  create-address FILE [--settings INI]   new address file: 23 fields, 26 tags\n"
    "  import-dbf SOURCE TARGET               append a table's records into an address file\n"
    "  filter FILE [FIELD=VALUE...] [--tagged] [--reverse] [--settings INI]\n"
    "                                    the filter expression, then the number of matches\n";

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString arg(char* a) { return QString::fromLocal8Bit(a); }

// Messages go to stderr; questions are answered No (a tool never rebuilds unasked).
struct ConsoleUi : AddressFileUi {
    void showInformation(const QString& text) override
    {
        std::cerr << QString(text).replace("\r\n", "\n").toStdString() << '\n';
    }
    bool askYesNo(const QString& text, const QString&) override
    {
        showInformation(text);
        return false;
    }
    void rebuildIndexes(AddressTable&) override {}
};

Settings settingsFrom(int argc, char** argv, int from)
{
    for (int i = from; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--settings")
            return Settings(arg(argv[i + 1]));
    return Settings();
}

int createAddress(int argc, char** argv)
{
    if (argc < 3)
        throw Failure("create-address needs a FILE");
    const QString path = arg(argv[2]);
    if (QFileInfo::exists(path))
        throw Failure(path.toStdString() + " already exists");
    const Settings s = settingsFrom(argc, argv, 3);
    ConsoleUi ui;
    if (!CreateAddressFile(path, readNewFileFieldLengths(s), ui))
        return 1;
    std::cout << "created " << path.toStdString() << " with " << kAddressFieldCount << " fields and "
              << kAddressTagCount << " tags\n";
    return 0;
}

int importDbf(int argc, char** argv)
{
    if (argc < 4)
        throw Failure("import-dbf needs SOURCE and TARGET");
    const QString source = arg(argv[2]);
    const QString target = arg(argv[3]);
    auto from = engine::Table::open(QFile::encodeName(source).toStdString(), engine::OpenMode::ReadOnly);
    from->closeIndexes();  // record order, whatever index the source has

    AddressTable to;
    QString error;
    if (!to.open(target, &error))
        throw Failure(error.toStdString());
    engine::Table* t = to.engineTable();
    // Records go in without the index, which is built once at the end.
    const std::string index = t->indexPath();
    t->closeIndexes();
    QFile::remove(QFile::decodeName(index.c_str()));

    struct Pair {
        const engine::DbfField* from;
        const engine::DbfField* to;
    };
    std::vector<Pair> pairs;
    for (const auto& f : from->fields()) {
        const int i = t->fieldIndex(f.name);
        if (i >= 0)
            pairs.push_back({&f, &t->fields()[size_t(i)]});
    }
    quint32 count = 0;
    for (from->goTop(); !from->eof(); from->skip(1)) {
        if (from->isDeleted())
            continue;
        t->appendBlank();
        for (const Pair& p : pairs) {
            if (p.to->type == 'L') {
                t->replaceLogical(p.to->name, from->getLogical(p.from->name));
            } else if (p.from->type == 'M') {
                t->replace(p.to->name, from->getMemo(p.from->name));
            } else {
                std::string v = from->getTrimString(p.from->name);
                const size_t start = v.find_first_not_of(' ');  // numbers are right-aligned
                v = start == std::string::npos ? std::string() : v.substr(start);
                if (p.to->type == 'C' && v.size() > p.to->length)
                    v.resize(p.to->length);
                t->replace(p.to->name, v);
            }
        }
        t->postRecord();
        ++count;
    }
    if (!BuildAddressTags(to, {}, kImportProgressDivisor))
        throw Failure("Unable to create index files");
    to.close();
    std::cout << "imported " << count << " records\n";
    return 0;
}

int filter(int argc, char** argv)
{
    if (argc < 3)
        throw Failure("filter needs a FILE");
    QueryValues q;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--tagged") {
            q.taggedOnly = true;
        } else if (a == "--reverse") {
            q.reverse = true;
        } else if (a == "--settings") {
            ++i;
        } else {
            const QString s = arg(argv[i]);
            const int eq = s.indexOf('=');
            const int index = eq > 0 ? queryIndexForField(s.left(eq)) : -1;
            if (index < 0)
                throw Failure("not a FIELD=VALUE of a query field: " + a);
            q.values[size_t(index)] = s.mid(eq + 1);
        }
    }
    const Settings s = settingsFrom(argc, argv, 3);
    const QString tagId = s.readString(QString::fromLatin1(keys::GlobalTagIdSection),
                                       QString::fromLatin1(keys::GlobalTagIdKey));
    AddressTable table;
    QString error;
    if (!table.openShared(arg(argv[2]), true, &error))
        throw Failure(error.toStdString());
    table.setTagId(tagId);
    const QString expression = BuildQueryString(q, tagId);
    std::cout << expression.toStdString() << '\n';
    QString told;
    const quint32 n = ApplyFilter(table, q, tagId, [&](const QString& m) { told = m; });
    if (!told.isEmpty())
        std::cerr << told.toStdString() << '\n';
    std::cout << n << '\n';
    return told.isEmpty() ? 0 : 1;
}

} // namespace

int runAddressCommand(const std::string& command, int argc, char** argv)
{
    try {
        if (command == "create-address")
            return createAddress(argc, argv);
        if (command == "import-dbf")
            return importDbf(argc, argv);
        if (command == "filter")
            return filter(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "postavo-db: " << e.what() << '\n';
        return 1;
    }
    return -1;
}

} // namespace postavo::tools
