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
        if (command == "filter")
            return filter(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "postavo-db: " << e.what() << '\n';
        return 1;
    }
    return -1;
}

} // namespace postavo::tools
