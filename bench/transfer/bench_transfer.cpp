// Importing a large comma-delimited file into an empty address file (indexes rebuilt), and
// exporting the records to text and to DBF. Usage: bench_transfer [LINES] [FOLDER]
// (1 000 000 lines in a temporary folder by default). Prints seconds and the peak resident size.
#include "addressfields.h"
#include "addressfile.h"
#include "asciiimport.h"
#include "copyout.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

using namespace postavo;
using namespace postavo::transfer;

namespace {

struct QuietUi : AddressFileUi {
    void showInformation(const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return true; }
    void rebuildIndexes(AddressTable& table) override { BuildAddressTags(table); }
};

long peakKb()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void report(const char* what, const QElapsedTimer& t, std::uint64_t n)
{
    std::printf("%-28s %10llu records %8.2f s   peak RSS %ld MB\n", what, static_cast<unsigned long long>(n),
                double(t.nsecsElapsed()) / 1e9, peakKb() / 1024);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    QTemporaryDir temp;
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    QDir().mkpath(dir);
    const QString text = dir + "/bench.csv";
    {
        QFile f(text);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray chunk;
        for (long i = 0; i < lines; ++i) {
            chunk += "Lastname" + QByteArray::number(qint64((i * 7919) % lines)) + ",First" + QByteArray::number(qint64(i % 977))
                + ",\"" + QByteArray::number(qint64(i % 5000)) + " Main Street, Apt 4\",Springfield,IL,"
                + QByteArray::number(qint64(10000 + i % 89999)) + ",555-0100,someone@example.com\r\n";
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
    }
    const QString address = dir + "/BENCH.DBF";
    QuietUi ui;
    if (!CreateAddressFile(address, defaultFieldLengths(), ui))
        return 2;

    QElapsedTimer t;
    t.start();
    AsciiImportPlan plan;
    plan.scan = scanAsciiFile(text, {});
    QString error;
    if (!plan.scan.importable() || !parseColumnMap("1=LNAME,2=FNAME,3=STREET,4=CITY,5=STATE,6=ZIP,7=PHONE,8=EMAIL",
                                                   plan.scan.columns, &plan.columnFields, &error))
        return 3;
    {
        AddressTable target;
        if (!target.open(address))
            return 4;
        TransferProgress quiet;
        const ImportResult r = runAsciiImport(target, plan, quiet);
        if (r.failed())
            return 5;
        report("text import + 26 tags", t, r.imported);
    }

    AddressTable table;
    if (!table.openShared(address, true) || !table.setFilter("!ISDEL"))
        return 6;
    for (const auto& [name, format] : {std::pair{"export to text", ExportFormat::Text}, std::pair{"export to DBF", ExportFormat::Dbf}}) {
        ExportOptions o;
        o.format = format;
        const QString out = dir + (format == ExportFormat::Text ? "/out.txt" : "/out.dbf");
        TransferProgress quiet;
        t.restart();
        const std::uint32_t count = table.visibleCount();
        const ExportResult r = copyRecordsOut(*table.engineTable(), count, out, o, quiet);
        if (r.failed)
            return 7;
        report(name, t, r.written);
    }
    return 0;
}
