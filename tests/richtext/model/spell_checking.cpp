// The spell checker on Hunspell: finds misspellings and suggests the right word, never flags
// merge tokens, keeps the user's words, and is offered only when the program folder's
// dictionary file names a dictionary that loads.

#include "support_richtext.h"

#include "richdocument.h"
#include "spellchecker.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace postavo::richtext;
using namespace postavo::testing;

namespace {

bool haveEnglish()
{
    return QFile::exists("/usr/share/hunspell/en_US.dic");
}

QString folderWithDictionary(const QString& name, const QByteArray& dct = "en_US\n")
{
    const QString dir = scratchDir(name);
    writeBytes(dir + "/postav.dct", dct);
    return dir;
}

QStringList allMisspellings(const QTextDocument& doc, const SpellChecker& checker)
{
    QStringList words;
    for (Misspelling m = findMisspelling(doc, 0, checker); m.isValid(); m = findMisspelling(doc, m.start + m.length, checker))
        words << m.word;
    return words;
}

} // namespace

TEST(SpellChecking, FindsMisspellingsButNeverMergeTokens)
{
    if (!haveEnglish())
        GTEST_SKIP() << "hunspell-en-us is not installed";
    QString error;
    auto checker = SpellChecker::forProgramFolder(folderWithDictionary("spell-find"), &error);
    ASSERT_TRUE(checker) << error.toStdString();
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 Dear [Full Naem], [FIRST] [Citty+Stat+Zipp]\par
Thsi is a {\b sampel} letter; it's fine, don\rquote t worry about the 2nd or 3rd [E-Maill] line.\par
A lone [ bracket and recieve ]\par})");
    EXPECT_EQ(allMisspellings(*doc.document(), *checker), (QStringList{"Thsi", "sampel"}))
        << "bracketed text is not checked, across a paragraph neither";
    EXPECT_TRUE(checker->suggestions("Thsi").contains("This"));
    EXPECT_EQ(checker->suggestions("sampel").value(0), "sample");
    EXPECT_EQ(checker->suggestions("recieve").value(0), "receive");
    EXPECT_TRUE(checker->isCorrect(QString::fromUtf8("don\u2019t")));
}

TEST(SpellChecking, RunReplacesSkipsAndAddsWords)
{
    if (!haveEnglish())
        GTEST_SKIP() << "hunspell-en-us is not installed";
    const QString dir = folderWithDictionary("spell-run");
    QString error;
    auto checker = SpellChecker::forProgramFolder(dir, &error);
    ASSERT_TRUE(checker) << error.toStdString();
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 Our {\b sampel} from Postavo and Frobnitz, the sampel again.\par})");
    SpellCheckRun run(doc.document(), checker.get());

    ASSERT_TRUE(run.next());
    EXPECT_EQ(run.current().word, "sampel");
    EXPECT_EQ(run.suggestions().value(0), "sample");
    run.replace(run.suggestions().value(0));
    // The replacement keeps the word's attributes.
    QTextCursor c(doc.document());
    c.setPosition(QString("Our s").size());
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);

    ASSERT_TRUE(run.next());
    EXPECT_EQ(run.current().word, "Postavo");
    ASSERT_TRUE(run.addWord(&error)) << error.toStdString();

    ASSERT_TRUE(run.next());
    EXPECT_EQ(run.current().word, "Frobnitz");
    run.skip();

    ASSERT_TRUE(run.next());
    EXPECT_EQ(run.current().word, "sampel");
    run.skip();
    EXPECT_FALSE(run.next());
    EXPECT_EQ(doc.plainText(), "Our sample from Postavo and Frobnitz, the sampel again.");

    // The added word is in the user's list and known to the next checker too.
    EXPECT_EQ(readBytes(dir + "/userwords.dct"), "Postavo\n");
    auto next = SpellChecker::forProgramFolder(dir, &error);
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->isCorrect("Postavo"));
    EXPECT_FALSE(next->isCorrect("Frobnitz"));
    ASSERT_TRUE(next->addWord("Frobnitz", &error));
    EXPECT_EQ(readBytes(dir + "/userwords.dct"), "Postavo\nFrobnitz\n");
}

TEST(SpellChecking, WordListThatCannotBeWritten)
{
    if (!haveEnglish())
        GTEST_SKIP() << "hunspell-en-us is not installed";
    const QString dir = folderWithDictionary("spell-readonly");
    writeBytes(dir + "/userwords.dct", "Postavo\n");
    QString error;
    auto checker = SpellChecker::forProgramFolder(dir, &error);
    ASSERT_TRUE(checker);
    {
        FileSizeLimit fullDisk(4);
        EXPECT_FALSE(checker->addWord("Zorblax", &error));
    }
    EXPECT_TRUE(error.contains("cannot be written")) << error.toStdString();
    EXPECT_EQ(readBytes(dir + "/userwords.dct"), "Postavo\n");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), (QStringList{"postav.dct", "userwords.dct"}));

    // A folder where the list should be: it can be neither read nor replaced.
    const QString folder = folderWithDictionary("spell-folder");
    QDir().mkpath(folder + "/userwords.dct");
    checker = SpellChecker::forProgramFolder(folder, &error);
    ASSERT_TRUE(checker);
    EXPECT_FALSE(checker->addWord("Zorblax", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(checker->isCorrect("Zorblax")) << "still accepted while the checker is open";
}

TEST(SpellChecking, WordListThatCannotBeReadKeepsItsWords)
{
    if (!haveEnglish())
        GTEST_SKIP() << "hunspell-en-us is not installed";
    const QString dir = folderWithDictionary("spell-unreadable");
    const QString list = dir + "/userwords.dct";
    writeBytes(list, "Postavo\nFrobnitz\n");
    QString error;
    auto checker = SpellChecker::forProgramFolder(dir, &error);
    ASSERT_TRUE(checker) << error.toStdString();

    // The list can be written but no longer read when the word is added (as root, the word is
    // added as nobody, for whom the folder and the list stay writable).
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                   | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                                   | QFile::ExeOther);
    QFile::setPermissions(list, QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
    const bool asRoot = geteuid() == 0;
    if (asRoot)
        ASSERT_EQ(seteuid(65534), 0);
    const bool added = checker->addWord("Zorblax", &error);
    if (asRoot)
        ASSERT_EQ(seteuid(0), 0);
    QFile::setPermissions(list, QFile::ReadOwner | QFile::WriteOwner);

    EXPECT_FALSE(added);
    EXPECT_TRUE(error.contains("cannot be read")) << error.toStdString();
    EXPECT_EQ(readBytes(list), "Postavo\nFrobnitz\n");
    EXPECT_TRUE(checker->isCorrect("Zorblax")) << "still accepted while the checker is open";
}

TEST(SpellChecking, DictionaryFileDecidesWhetherItIsOffered)
{
    QString error;
    const QString none = scratchDir("spell-none");
    EXPECT_FALSE(SpellChecker::isAvailable(none));
    EXPECT_FALSE(SpellChecker::forProgramFolder(none, &error));
    EXPECT_TRUE(error.contains("postav.dct")) << error.toStdString();

    const QString unknown = folderWithDictionary("spell-unknown", "# the main dictionary\nxx_XX\n");
    EXPECT_FALSE(SpellChecker::isAvailable(unknown));
    SpellChecker::forProgramFolder(unknown, &error);
    EXPECT_TRUE(error.contains("xx_XX")) << error.toStdString();

    if (!haveEnglish())
        GTEST_SKIP() << "hunspell-en-us is not installed";
    // Empty means English; the name is found whatever its letter case.
    const QString empty = scratchDir("spell-empty");
    writeBytes(empty + "/POSTAV.DCT", "");
    EXPECT_TRUE(SpellChecker::isAvailable(empty));

    // A dictionary of its own in the program folder, by name or by path.
    const QString own = folderWithDictionary("spell-own", "letters\n");
    QFile::copy("/usr/share/hunspell/en_US.aff", own + "/letters.aff");
    QFile::copy("/usr/share/hunspell/en_US.dic", own + "/letters.dic");
    auto checker = SpellChecker::forProgramFolder(own, &error);
    ASSERT_TRUE(checker) << error.toStdString();
    EXPECT_TRUE(checker->isCorrect("letter"));
    writeBytes(own + "/postav.dct", "dicts/letters.dic\n");
    QDir().mkpath(own + "/dicts");
    QFile::rename(own + "/letters.aff", own + "/dicts/letters.aff");
    QFile::rename(own + "/letters.dic", own + "/dicts/letters.dic");
    EXPECT_TRUE(SpellChecker::isAvailable(own));
}
