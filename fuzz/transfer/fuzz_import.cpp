// An import of whatever bytes into an address file never crashes, and either adds exactly the
// records it reports or leaves the address file byte for byte as it was; the file stays an
// address file that opens with its tags.
// Input: 1 byte choosing the source (0: classic text, 1: RFC 4180 text with a header line,
// 2: vCard, 3: another table), then the source file's bytes.
#include "addressfields.h"
#include "addressfile.h"
#include "asciiimport.h"
#include "dbfimport.h"
#include "vcardimport.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace postavo;
using namespace postavo::transfer;

namespace {

struct QuietUi : AddressFileUi {
    void showInformation(const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return true; }
    void rebuildIndexes(AddressTable& table) override { BuildAddressTags(table); }
};

QByteArray slurp(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const char* data, std::size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data, qint64(size)) != qint64(size))
        std::abort();
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20))
        return 0;
    static QTemporaryDir dir;
    const QString address = dir.path() + "/ADDR.DBF";
    // The address file's table, memo and index, by the names (and letter case) they were made with.
    static const QMap<QString, QByteArray> blank = [&] {
        QuietUi ui;
        check(CreateAddressFile(address, defaultFieldLengths(), ui));
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(dir.path()).entryList({"ADDR.*"}, QDir::Files))
            files.insert(name, slurp(dir.path() + "/" + name));
        check(files.size() == 3);
        return files;
    }();
    // Each run starts from the empty address file.
    for (const QString& name : QDir(dir.path()).entryList({"ADDR.*"}, QDir::Files))
        if (!blank.contains(name))
            QFile::remove(dir.path() + "/" + name);
    for (auto it = blank.begin(); it != blank.end(); ++it)
        put(dir.path() + "/" + it.key(), it.value().constData(), std::size_t(it.value().size()));

    const int kind = data[0] % 4;
    const QString source = dir.path() + (kind == 2 ? "/in.vcf" : kind == 3 ? "/in.dbf" : "/in.txt");
    QFile::remove(dir.path() + "/in.cdx");
    put(source, reinterpret_cast<const char*>(data + 1), size - 1);

    AddressTable target;
    check(target.open(address));
    TransferProgress quiet;
    ImportResult r;
    bool ran = false;
    if (kind <= 1) {
        TextReadOptions o;
        o.rfc4180 = kind == 1;
        o.headerLine = kind == 1;
        AsciiImportPlan plan;
        plan.scan = scanAsciiFile(source, o);
        if (plan.scan.importable()) {
            // Columns in turn to the first fields (so every field's width is met).
            const QVector<ImportableField> fields = importableAddressFields();
            for (int c = 0; c < plan.scan.columns; ++c)
                plan.columnFields << (c < fields.size() ? fields[c].field : QString());
            r = runAsciiImport(target, plan, quiet);
            ran = true;
        }
    } else if (kind == 2) {
        const VCardFile file = readVCardFile(source);
        if (file.refusal.isEmpty()) {
            r = runVCardImport(target, file, quiet);
            ran = true;
        }
    } else {
        QString message;
        if (auto table = SourceTable::open(source, address, &message)) {
            FieldMatchGrid grid = preMatchedGrid(*table, nullptr);
            // Whatever pre-matching left unmatched goes in order to the free rows.
            const QStringList names = table->fieldNames();
            for (int row = 0, n = 0; row < grid.rowCount() - 1 && n < names.size(); ++row)
                if (grid.source(row).isEmpty() && grid.rowOfSource(names[n]) < 0)
                    grid.choose(row, names[n++]);
            DbfImportSource records(*table, dbfImportPlanFrom(grid, *table));
            r = runStagedImport(target, records, quiet);
            ran = true;
        }
    }
    target.close();
    // The address file: what was imported, or (failed) exactly as it was.
    if (ran && r.failed()) {
        for (auto it = blank.begin(); it != blank.end(); ++it)
            check(slurp(dir.path() + "/" + it.key()) == it.value());
        return 0;
    }
    AddressTable after;
    check(after.openShared(address, true));
    check(after.recordCount() == (ran ? r.imported : 0));
    check(after.tagNames().size() == 26);
    return 0;
}
