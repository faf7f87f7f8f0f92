#include "address_commands.h"

#include "addressfile.h"
#include "cp1252.h"
#include "filterops.h"
#include "recordengine.h"
#include "settings.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include <iostream>
#include <stdexcept>

namespace postavo::tools {

namespace fs = std::filesystem;

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

// All or nothing, also when the program is stopped part way: the records go into a copy of the
// target's files in a scratch folder beside it, the copy gets its tags, and only then do the
// finished files replace the target's (see Table::replaceTableFiles).
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
    if (!to.open(target, &error))   // an address file, not open elsewhere
        throw Failure(error.toStdString());
    const std::string targetPath = QFile::encodeName(target).toStdString();
    const fs::path folder = fs::path(targetPath).parent_path();
    const std::string prefix = ".postavo-import-";
    const fs::path work = folder / (prefix + std::to_string(::getpid()));
    // Scratch folders of imports that were stopped part way: theirs is not the target's state.
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && ::kill(std::atoi(name.c_str() + prefix.size()), 0) != 0 && errno == ESRCH)
            fs::remove_all(e.path(), ec);
    }
    fs::remove_all(work);
    fs::create_directories(work);
    struct Cleanup {
        fs::path dir;
        ~Cleanup()
        {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } cleanup{work};
    const fs::path copy = work / fs::path(targetPath).filename();
    engine::Table* live = to.engineTable();
    fs::copy_file(targetPath, copy);
    const std::string memo = live->memoPath();
    const bool hasMemo = fs::exists(memo);
    if (hasMemo)
        fs::copy_file(memo, work / fs::path(memo).filename());

    quint32 count = 0, cut = 0;
    std::string copyIndex;
    {
        auto t = engine::Table::open(copy.string(), engine::OpenMode::Exclusive);
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
                    if (p.to->type == 'C' && v.size() > p.to->length) {
                        v.resize(p.to->length);
                        ++cut;
                    }
                    t->replace(p.to->name, v);
                }
            }
            ++count;
        }
        // The copy's index is built once, from the address-file definition.
        t->closeIndexes();
        engine::removeSiblings(copy.string(), "cdx");
        t->indexTags(addressTagSpecs());
        copyIndex = t->indexPath();
        t->close();
    }
    to.close();
    engine::Table::replaceTableFiles(targetPath, copy.string(),
                                     hasMemo ? (work / fs::path(memo).filename()).string() : std::string(),
                                     copyIndex);
    std::cout << "imported " << count << " records";
    if (cut)
        std::cout << "; " << cut << " values were cut to the target's field widths";
    std::cout << '\n';
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
