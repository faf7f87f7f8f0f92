#include "record_text_command.h"

#include "addressfile.h"
#include "recordtext.h"

#include <QString>

#include <iostream>

namespace postavo::tools {

const char* const kRecordTextUsage =
    "  record-text FILE --record N [--groups LIST]\n"
    "                                    record N as clipboard text (CR LF lines); LIST is any of\n"
    "                                    name,address,phones,codes,comments (all by default)\n";

namespace {

int usage(const std::string& why)
{
    std::cerr << "postavo-db: record-text: " << why << '\n' << kRecordTextUsage;
    return 2;
}

} // namespace

int runRecordTextCommand(const std::string& command, int argc, char** argv)
{
    if (command != "record-text")
        return -1;
    if (argc < 3)
        return usage("needs a FILE");
    const QString path = QString::fromLocal8Bit(argv[2]);
    long long recno = -1;
    RecordTextGroups groups;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--record" || a == "--groups") && i + 1 >= argc)
            return usage(a + " needs a value");
        if (a == "--record") {
            bool ok = false;
            recno = QString::fromLocal8Bit(argv[++i]).toLongLong(&ok);
            if (!ok || recno < 1 || recno > 0xFFFFFFFFll)
                return usage("--record takes a record number from 1");
        } else if (a == "--groups") {
            QString error;
            const auto g = parseRecordTextGroups(QString::fromLocal8Bit(argv[++i]), &error);
            if (!g)
                return usage(error.toStdString());
            groups = *g;
        } else {
            return usage("unexpected argument " + a);
        }
    }
    if (recno < 0)
        return usage("--record N is required");
    AddressTable table;
    QString error;
    if (!table.openShared(path, true, &error)) {
        std::cerr << "postavo-db: " << error.toStdString() << '\n';
        return 1;
    }
    if (recno > table.recordCount() || !table.goTo(quint32(recno)) || table.recNo() != quint32(recno)) {
        std::cerr << "postavo-db: " << path.toStdString() << " has no record " << recno
                  << " (it holds " << table.recordCount() << ", deleted ones are not shown)\n";
        return 1;
    }
    std::cout << GetRecordAsString(table, groups).toStdString() << std::flush;
    return 0;
}

} // namespace postavo::tools
