#pragma once
// Helpers of the import and export tests: address files with given records, reading them back,
// and every byte of an address file's three files (to show a failed import changed nothing).
#include "addressdata.h"
#include "addressfile.h"
#include "importrun.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

namespace postavo::transfer::test {

using Record = QMap<QString, QString>;

// The bytes of a file, empty when it does not exist.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The table, memo and index of an address file, byte for byte.
struct AddressFiles {
    QByteArray dbf, fpt, cdx;
    explicit AddressFiles(const QString& dbfPath)
    {
        // The memo and index files beside the table, in whatever letter case they were made.
        const QFileInfo info(dbfPath);
        auto sibling = [&](const char* ext) {
            const QStringList found = QDir(info.path()).entryList({info.completeBaseName() + ext}, QDir::Files);
            return found.size() == 1 ? fileBytes(info.path() + "/" + found.first()) : QByteArray();
        };
        dbf = fileBytes(dbfPath);
        fpt = sibling(".fpt");
        cdx = sibling(".cdx");
        EXPECT_FALSE(dbf.isEmpty() || fpt.isEmpty() || cdx.isEmpty()) << dbfPath.toStdString();
    }
    bool operator==(const AddressFiles& o) const { return dbf == o.dbf && fpt == o.fpt && cdx == o.cdx; }
};

// Values of `fields` of every visible record, in record order, joined by "|".
inline QStringList readBack(const QString& path, const QStringList& fields)
{
    AddressTable t;
    QString error;
    EXPECT_TRUE(t.openShared(path, true, &error)) << error.toStdString();
    QStringList rows;
    if (!t.first())
        return rows;
    do {
        QStringList values;
        for (const QString& f : fields)
            values << (f == QLatin1String("MEMO") ? t.memo() : t.value(f));
        rows << values.join(QLatin1Char('|'));
    } while (t.next());
    return rows;
}

// Stops after `after` records.
struct StopAfter : TransferProgress {
    std::uint64_t after;
    std::uint64_t seen = 0;
    explicit StopAfter(std::uint64_t n) : after(n) {}
    bool stopRequested() override { return ++seen >= after; }
};

// No folder the staged import used is left beside the address file.
inline bool noScratchLeft(const QString& folder)
{
    const QStringList left = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : left)
        if (name.startsWith(StagedImport::scratchPrefix()))
            return false;
    return true;
}

} // namespace postavo::transfer::test
