// Files the store rewrites whole (the settings file, filter files, anything through
// replaceFileWith) on a disk that fills during the write: the write reports failure with the
// system's reason and the old file stays byte for byte, with no new file left beside it.
#include "../support/filesizelimit.h"
#include "filewriting.h"
#include "filters.h"
#include "settings.h"
#include "support_tempdir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace postavo;
using postavo::testing::FileSizeLimit;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

class FullDisk : public ::testing::Test {
protected:
    test::ScratchDir dir;
};

} // namespace

// Beyond Qt's 16 KB write buffer and below it: a short last flush is the case a buffered save
// file takes for a whole one.
TEST_F(FullDisk, ReplaceFileWithKeepsTheOldFileWhenTheNewOneIsCutShort)
{
    const QString path = dir.path("data.bin");
    const QByteArray old(300, 'o');
    ASSERT_TRUE(replaceFileWith(path, old, nullptr));
    ASSERT_EQ(readAll(path), old);

    for (const qsizetype size : {qsizetype(1000), qsizetype(70000)}) {
        const QByteArray bigger(size, 'n');
        QString reason;
        bool ok = true;
        {
            FileSizeLimit limit(rlim_t(size / 2));
            ok = replaceFileWith(path, bigger, &reason);
        }
        EXPECT_FALSE(ok) << size;
        EXPECT_FALSE(reason.isEmpty()) << size;
        EXPECT_EQ(readAll(path), old) << size;
        EXPECT_EQ(filesIn(dir.path()), QStringList({"data.bin"})) << size;
    }

    // A folder that cannot be written to is a failure too, with nothing created.
    QString reason;
    EXPECT_FALSE(replaceFileWith(dir.path("missing/data.bin"), old, &reason));
    EXPECT_FALSE(reason.isEmpty());

    // And a whole write replaces the file, empty contents included.
    ASSERT_TRUE(replaceFileWith(path, QByteArray(70000, 'n'), nullptr));
    EXPECT_EQ(readAll(path), QByteArray(70000, 'n'));
    ASSERT_TRUE(replaceFileWith(path, QByteArray(), nullptr));
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST_F(FullDisk, SettingsFileStaysAsItWasAndTheWriteReportsFailure)
{
    const QString ini = dir.path("postav.ini");
    Settings s(ini);
    ASSERT_TRUE(s.writeString("Main", "LastFile", "/home/user/ADD0001.DBF"));
    ASSERT_TRUE(s.writeInteger("Main", "FeedPosition", 2));
    const QByteArray before = readAll(ini);

    bool ok = true;
    {
        FileSizeLimit limit(rlim_t(before.size() + 10));
        ok = s.writeString("Notes", "Long", QString(400, QLatin1Char('x')));
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(s.lastError().startsWith("Cannot write the settings file")) << s.lastError().toStdString();
    EXPECT_TRUE(s.lastError().contains("too large")) << s.lastError().toStdString();
    EXPECT_EQ(readAll(ini), before);
    EXPECT_EQ(filesIn(dir.path()), QStringList({"postav.ini"}));
    EXPECT_EQ(s.readString("Main", "LastFile", {}), "/home/user/ADD0001.DBF");
    EXPECT_FALSE(s.hasKey("Notes", "Long"));

    // With room again the same write goes through.
    EXPECT_TRUE(s.writeString("Notes", "Long", QString(400, QLatin1Char('x'))));
    EXPECT_EQ(s.readString("Notes", "Long", {}).size(), 400);
}

TEST_F(FullDisk, FilterFileStaysAsItWasAndTheSaveReportsFailure)
{
    const QString path = dir.path("WORK.QRY");
    QueryValues q;
    q.values[0] = "Smith";
    q.values[7] = "Boston";
    ASSERT_TRUE(SaveFilterTo(path, q));
    const QByteArray before = readAll(path);

    QueryValues wider = q;
    for (QString& v : wider.values)
        v = QString(60, QLatin1Char('z'));
    QString error;
    bool ok = true;
    {
        FileSizeLimit limit(rlim_t(before.size() + 20));
        ok = SaveFilterTo(path, wider, &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.startsWith("Cannot write " + path)) << error.toStdString();
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(filesIn(dir.path()), QStringList({"WORK.QRY"}));
    const auto back = RestoreFilterFrom(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->values[0], "Smith");
    EXPECT_EQ(back->values[7], "Boston");
}
