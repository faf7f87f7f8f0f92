// "postavo-batch letters" and "postavo-batch merge" as a user calls them: the records printed
// (all, a filter, one, with copies), the merged RTF of one record, and what they refuse (no such
// letter, record, printer or catalogue) without writing a file or touching the catalogue.
#include "addressdata.h"
#include "lettercatalogue.h"
#include "pdfreading.h"
#include "richdocument.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

QString batch(const QString& command, const QStringList& args, int* rc)
{
    return runTool(POSTAVO_BIN_DIR "/postavo-batch", QStringList{command} + args, rc);
}

int pages(const QString& pdf)
{
    static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    return re.match(pdfInfo(pdf)).captured(1).toInt();
}

struct LetterFolder {
    QString folder, data, pdf;
    QStringList base;
    explicit LetterFolder(const QString& name)
    {
        folder = scratchDir(name);
        QDir(folder).mkpath("sysdata");
        QDir(folder).mkpath("DATA");
        data = folder + "/DATA/add0001.dbf";
        makeAddressRecords(data, {
            {{"PREFIX", "Ms."}, {"FNAME", "Ada"}, {"LNAME", "Lovelace"}, {"ORG", "Analytical Engines"},
             {"STREET", "12 Engine Row"}, {"CITY", "London"}, {"COUNTRY", "England"}},
            {{"FNAME", "Bob"}, {"LNAME", "Baker"}, {"CITY", "Denver"}, {"STATE", "CO"}, {"ZIP", "80202"}},
            {{"FNAME", "Carol"}, {"LNAME", "Cooper"}, {"CITY", "Boston"}, {"STATE", "MA"}, {"ZIP", "02134"}},
        });
        letters::LetterCatalogue cat(folder + "/sysdata");
        cat.open(nullptr);
        richtext::RichDocument doc;
        QTextCursor c(doc.document());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.insertText("[Name and Address]");
        c.insertBlock();
        c.insertText("Dear ");
        c.insertText("[First]", bold);
        c.insertText(", greetings from [City].");
        letters::LetterEntry e{0, "Greeting"};
        cat.saveLetter(&e, doc);
        pdf = folder + "/out.pdf";
        base = {"--folder", folder, "--letter", "greeting", "--data", data};
    }
};

} // namespace

TEST(BatchLetters, RecordsCopiesAndText)
{
    LetterFolder f("batch-all");
    int rc = 0;
    QString out = batch("letters", f.base + QStringList{"--pdf", f.pdf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("3 letters, 3 pages written to")) << out.toStdString();
    EXPECT_EQ(pages(f.pdf), 3);
    EXPECT_TRUE(pdfInfo(f.pdf).contains("612 x 792 pts"));
    const QString text = runTool("pdftotext", {"-layout", f.pdf, "-"}, &rc);
    EXPECT_TRUE(text.contains("Ms. Ada Lovelace")) << text.toStdString();
    EXPECT_TRUE(text.contains("Analytical Engines\n"));
    EXPECT_TRUE(text.contains("England\n"));
    EXPECT_TRUE(text.contains(QRegularExpression("Denver CO\\s+80202")));
    EXPECT_TRUE(text.contains("Dear Carol, greetings from Boston."));

    out = batch("letters", f.base + QStringList{"--filter", "STATE = 'MA'", "--copies", "2", "--pdf", f.pdf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_EQ(pages(f.pdf), 2);
    out = batch("letters", f.base + QStringList{"--record", "2", "--pdf", f.pdf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    EXPECT_EQ(pages(f.pdf), 1);
    EXPECT_TRUE(runTool("pdftotext", {f.pdf, "-"}, &rc).contains("Dear Bob"));
}

TEST(BatchLetters, MergeWritesTheRecordsLetterAsRtf)
{
    LetterFolder f("batch-merge");
    const QString rtf = f.folder + "/merged.rtf";
    int rc = 0;
    QString out = batch("merge", f.base + QStringList{"--record", "1", "--rtf", rtf}, &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();
    richtext::RichDocument doc;
    QString error;
    ASSERT_TRUE(doc.loadFile(rtf, &error)) << error.toStdString();
    EXPECT_TRUE(doc.plainText().startsWith("Ms. Ada Lovelace \nAnalytical Engines\n12 Engine Row\nLondon\nEngland\n"))
        << doc.plainText().toStdString();
    EXPECT_TRUE(doc.plainText().contains("Dear Ada, greetings from London."));
    EXPECT_TRUE(readBytes(rtf).contains("\\b Ada") || readBytes(rtf).contains("\\b\\"));
}

TEST(BatchLetters, RefusalsWriteNothing)
{
    LetterFolder f("batch-refuse");
    const QString catalogue = f.folder + "/sysdata";
    QByteArray before;
    for (const QString& n : QDir(catalogue).entryList(QDir::Files, QDir::Name))
        before += readBytes(catalogue + "/" + n);
    int rc = 0;
    QString out = batch("letters", {"--folder", f.folder, "--letter", "nope", "--data", f.data, "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.contains("There is no letter \"nope\". Letters: \"Greeting\"")) << out.toStdString();
    out = batch("letters", f.base + QStringList{"--record", "9", "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.contains("There is no record 9")) << out.toStdString();
    out = batch("letters", f.base + QStringList{"--printer", "No Such Printer"}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.contains("There is no printer named")) << out.toStdString();
    out = batch("letters", f.base + QStringList{"--copies", "1000", "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 2);
    out = batch("letters", f.base + QStringList{"--filter", "CITY = = 1", "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 1);
    out = batch("merge", f.base + QStringList{"--rtf", f.folder + "/x.rtf"}, &rc);
    EXPECT_EQ(rc, 2);
    EXPECT_FALSE(QFile::exists(f.pdf));
    EXPECT_FALSE(QFile::exists(f.folder + "/x.rtf"));

    const QString empty = scratchDir("batch-nocatalogue");
    out = batch("letters", {"--folder", empty, "--letter", "x", "--data", f.data, "--pdf", f.pdf}, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.contains("no letter catalogue")) << out.toStdString();
    EXPECT_TRUE(QDir(empty).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    QByteArray after;
    for (const QString& n : QDir(catalogue).entryList(QDir::Files, QDir::Name))
        after += readBytes(catalogue + "/" + n);
    EXPECT_EQ(after, before);
}
