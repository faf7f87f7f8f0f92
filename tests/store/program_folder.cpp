// The program folder and letter-case-blind names of the program's own files.
#include "programfolder.h"
#include "support_tempdir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace postavo;

namespace {

void touch(const QString& p)
{
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(ProgramFolder, NamesResolveWithoutRegardToLetterCase)
{
    test::ScratchDir d;
    QDir(d.path()).mkpath("DATA");
    QDir(d.path()).mkpath("SysData");
    touch(d.path("DATA/ADD0001.DBF"));
    touch(d.path("SysData/label.dbf"));

    EXPECT_EQ(resolveFileName(d.path("DATA/add0001.DBF")), d.path("DATA/ADD0001.DBF"));
    EXPECT_EQ(resolveFileName(d.path("data/Add0001.dbf")), d.path("DATA/ADD0001.DBF"));
    EXPECT_EQ(resolveFileName(d.path("sysdata/LABEL.DBF")), d.path("SysData/label.dbf"));
    // A missing file keeps the spelling given below the parts that exist.
    EXPECT_EQ(resolveFileName(d.path("data/ADD0002.DBF")), d.path("DATA/ADD0002.DBF"));
    EXPECT_EQ(resolveFileName(d.path("nothing/here.dbf")), d.path("nothing/here.dbf"));
    // An exact match wins over another spelling.
    touch(d.path("DATA/add0001.DBF"));
    EXPECT_EQ(resolveFileName(d.path("DATA/add0001.DBF")), d.path("DATA/add0001.DBF"));
}

TEST(ProgramFolder, FoldersAreMadeUnderTheProgramFolder)
{
    test::ScratchDir d;
    ProgramFolder::setPath(d.path());
    EXPECT_EQ(ProgramFolder::path(), d.path() + '/');
    QString error;
    ASSERT_TRUE(ProgramFolder::ensureFolders(&error)) << error.toStdString();
    EXPECT_TRUE(QDir(d.path("DATA")).exists());
    EXPECT_TRUE(QDir(d.path("sysdata")).exists());
    EXPECT_EQ(ProgramFolder::settingsFile(), d.path("postav.ini"));
    // Existing folders in other letter case are used, not doubled.
    test::ScratchDir e;
    QDir(e.path()).mkpath("data");
    ProgramFolder::setPath(e.path());
    ASSERT_TRUE(ProgramFolder::ensureFolders());
    EXPECT_EQ(ProgramFolder::dataPath(), e.path("data/"));
    EXPECT_FALSE(QDir(e.path("DATA")).exists());
}

TEST(ProgramFolder, UnwritableProgramFolderFallsBackToUserData)
{
    test::ScratchDir d;
    QDir(d.path()).mkpath("installed");
    QDir(d.path()).mkpath("user");
    EXPECT_EQ(ProgramFolder::choose(d.path("installed"), d.path("user")), d.path("installed/"));
    chmod(QFile::encodeName(d.path("installed")).constData(), 0555);
    if (geteuid() != 0) {
        EXPECT_EQ(ProgramFolder::choose(d.path("installed"), d.path("user")), d.path("user/"));
    }
    chmod(QFile::encodeName(d.path("installed")).constData(), 0755);
    EXPECT_EQ(ProgramFolder::choose(d.path("missing"), d.path("user")), d.path("user/"));
}

} // namespace
