// The settings file: reading and writing rules of the initialisation file.
#include "settings.h"
#include "support_tempdir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace postavo;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class SettingsFile : public ::testing::Test {
protected:
    test::ScratchDir dir;
    QString ini = dir.path("postav.ini");
    Settings s{ini};
};

TEST_F(SettingsFile, MissingFileGivesEveryDefaultAndIsCreatedByTheFirstWrite)
{
    EXPECT_EQ(keys::AggressiveSave.read(s), 1);
    EXPECT_FALSE(keys::PlugDate.read(s));
    EXPECT_EQ(keys::FeedPosition.read(s), 2);
    EXPECT_EQ(keys::DefaultCountry.read(s), QString());
    const DefaultFont f = readDefaultFont(s, FontSection::Envelope);
    EXPECT_EQ(f.name, "Arial");
    EXPECT_EQ(f.size, 10);
    EXPECT_FALSE(QFile::exists(ini));

    ASSERT_TRUE(keys::PlugDate.write(s, true));
    EXPECT_EQ(readAll(ini), "[Adding]\r\nPlugDate=1\r\n");
}

TEST_F(SettingsFile, IntegersBooleansAndHex)
{
    writeAll(ini, "[Editing]\nAggressiveSave=0x2\nA=0x\nB=12abc\nC=-7\nD=0XfF\nE= 42 \nF=99999999999\n"
                  "[Adding]\nPlugDate=5\nPlugCityState=yes\nAutoDupCheck=0\n");
    EXPECT_EQ(keys::AggressiveSave.read(s), 2);
    EXPECT_EQ(s.readInteger("Editing", "A", 9), 9);   // "0x" is two characters: not hex, not a number
    EXPECT_EQ(s.readInteger("Editing", "B", 9), 9);   // trailing rubbish: default
    EXPECT_EQ(s.readInteger("Editing", "C", 9), -7);
    EXPECT_EQ(s.readInteger("Editing", "D", 9), 255);
    EXPECT_EQ(s.readInteger("Editing", "E", 9), 42);
    EXPECT_EQ(s.readInteger("Editing", "F", 9), 9);   // out of range
    EXPECT_TRUE(keys::PlugDate.read(s));              // any non-zero integer
    EXPECT_TRUE(s.readBool("Adding", "PlugCityState", true));   // unparsable: default
    EXPECT_FALSE(s.readBool("Adding", "PlugCityState", false));
    EXPECT_FALSE(keys::AutoDupCheck.read(s));
    ASSERT_TRUE(s.writeBool("Adding", "AutoDupCheck", true));
    EXPECT_TRUE(readAll(ini).contains("AutoDupCheck=1"));
}

TEST_F(SettingsFile, NamesIgnoreLetterCaseAndValuesKeepTheirText)
{
    writeAll(ini, "; settings\n[adding]\nSkipFirstName=1\nDefaultCountry=a=b c\n[MRU]\nItem1=  /x/y.dbf  \n");
    EXPECT_TRUE(keys::SkipFirstName.read(s));   // the key is spelled "SkipfirstName"
    EXPECT_EQ(keys::DefaultCountry.read(s), "a=b c");
    EXPECT_EQ(s.readString("mru", "ITEM1"), "/x/y.dbf");
    // Writing through another spelling replaces the one key, keeping its original spelling.
    ASSERT_TRUE(s.writeBool("ADDING", "skipfirstname", false));
    const QByteArray text = readAll(ini);
    EXPECT_EQ(text.count("irstName="), 1);
    EXPECT_TRUE(text.contains("SkipFirstName=0\n"));
}

TEST_F(SettingsFile, WriteKeepsCommentsOrderAndOtherSections)
{
    const QByteArray before = "; my notes\r\n[Misc]\r\nGettingStarted=0\r\n\r\n# another note\r\n[Dialing]\r\nPrefix=9\r\n";
    writeAll(ini, before);
    ASSERT_TRUE(keys::GettingStarted.write(s, true));
    ASSERT_TRUE(s.writeString("Misc", "GlobalTagId", "ABC123"));
    ASSERT_TRUE(keys::DialInit.write(s, "ATZ"));
    ASSERT_TRUE(keys::CarryZip.write(s, true));
    EXPECT_EQ(readAll(ini),
              "; my notes\r\n[Misc]\r\nGettingStarted=1\r\nGlobalTagId=ABC123\r\n\r\n# another note\r\n"
              "[Dialing]\r\nPrefix=9\r\nInit=ATZ\r\n[Adding]\r\nCarryZip=1\r\n");
}

TEST_F(SettingsFile, StringsAreCutAt1023CharactersAndWrittenInUtf8)
{
    ASSERT_TRUE(s.writeString("Misc", "Long", QString(1500, QChar(0x0416))));   // two bytes each in UTF-8
    EXPECT_EQ(s.readString("Misc", "Long"), QString(Settings::kMaxStringLength, QChar(0x0416)));
    // A recently-used path on Linux may hold any character.
    const QString path = QStringLiteral("/home/łukasz/Документы/add0001.DBF");
    ASSERT_TRUE(s.writeString("MRU", "Item1", path));
    EXPECT_EQ(s.readString("MRU", "Item1"), path);
    EXPECT_TRUE(readAll(ini).contains("Item1=" + path.toUtf8()));
    ASSERT_TRUE(keys::DefaultCountry.write(s, QStringLiteral("Österreich – €")));
    EXPECT_EQ(keys::DefaultCountry.read(s), QStringLiteral("Österreich – €"));
}

// Files of older versions are Windows-1252: read as such, and written back whole in UTF-8.
TEST_F(SettingsFile, AWindows1252FileIsReadAndRewrittenAsUtf8)
{
    writeAll(ini, "[Adding]\r\nDefaultCountry=\xD6sterreich \x96 \x80\r\n[MRU]\r\nItem1=C:\\M\xFCller\\ADD0001.DBF\r\n");
    EXPECT_EQ(keys::DefaultCountry.read(s), QStringLiteral("Österreich – €"));
    EXPECT_EQ(s.readString("MRU", "Item1"), QStringLiteral("C:\\Müller\\ADD0001.DBF"));
    ASSERT_TRUE(s.writeString("MRU", "Item2", QStringLiteral("/home/łukasz/a.DBF")));
    const QByteArray bytes = readAll(ini);
    EXPECT_TRUE(bytes.contains("DefaultCountry=" + QStringLiteral("Österreich – €").toUtf8())) << bytes.constData();
    EXPECT_EQ(s.readString("MRU", "Item1"), QStringLiteral("C:\\Müller\\ADD0001.DBF"));
    EXPECT_EQ(s.readString("MRU", "Item2"), QStringLiteral("/home/łukasz/a.DBF"));
}

TEST_F(SettingsFile, FailedWriteIsReportedAndLeavesTheOldFile)
{
    if (geteuid() == 0) {
        // root writes anywhere: make the target impossible instead (a folder in its place).
        const QString blocked = dir.path("blocked.ini");
        ASSERT_TRUE(QDir().mkpath(blocked));
        Settings b(blocked);
        EXPECT_FALSE(b.writeString("Misc", "A", "1"));
        EXPECT_FALSE(b.lastError().isEmpty());
        EXPECT_TRUE(QFileInfo(blocked).isDir());
    }
    const QByteArray before = "[Misc]\r\nGettingStarted=1\r\n";
    writeAll(ini, before);
    // A read-only folder: the temporary file cannot be made beside the settings file.
    Settings ro(dir.path("ro/postav.ini"));
    QDir().mkpath(dir.path("ro"));
    writeAll(dir.path("ro/postav.ini"), before);
    chmod(QFile::encodeName(dir.path("ro")).constData(), 0555);
    if (geteuid() != 0) {
        EXPECT_FALSE(ro.writeString("Misc", "GettingStarted", "0"));
        EXPECT_FALSE(ro.lastError().isEmpty());
        EXPECT_EQ(readAll(dir.path("ro/postav.ini")), before);
    }
    chmod(QFile::encodeName(dir.path("ro")).constData(), 0755);
}

TEST_F(SettingsFile, NothingIsCachedBetweenOperations)
{
    Settings other(ini);
    ASSERT_TRUE(keys::AggressiveSave.write(s, 2));
    EXPECT_EQ(keys::AggressiveSave.read(other), 2);
    writeAll(ini, "[Editing]\nAggressiveSave=0\n");
    EXPECT_EQ(keys::AggressiveSave.read(s), 0);
}

TEST_F(SettingsFile, RemovingAKeyKeepsTheRest)
{
    writeAll(ini, "[A]\r\nx=1\r\ny=2\r\n");
    ASSERT_TRUE(s.removeKey("a", "X"));
    EXPECT_EQ(readAll(ini), "[A]\r\ny=2\r\n");
    EXPECT_TRUE(s.hasSection("A"));
    EXPECT_FALSE(s.hasKey("A", "x"));
}

} // namespace
