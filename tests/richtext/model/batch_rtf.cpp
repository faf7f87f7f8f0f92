// postavo-batch rtf: a letter file to PDF, back to RTF, or to plain text, from outside.

#include "support_richtext.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace postavo::testing;

namespace {

const QString kBatch = QStringLiteral(POSTAVO_BIN_DIR "/postavo-batch");

} // namespace

TEST(BatchRtf, LetterToPdfTextAndRtf)
{
    const QString dir = scratchDir("batch");
    const QString letter = dataPath("letter.rtf");
    int code = 0;

    const QString pdf = dir + "/letter.pdf";
    QString out = runTool(kBatch, {"rtf", letter, "--pdf", pdf}, &code);
    ASSERT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("2 page(s)")) << out.toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 2);
    // The logo and the metafile signature are both pictures on the first page: the metafile
    // went through the program's picture decoder.
    const QString images = runTool("pdfimages", {"-list", pdf}, &code);
    EXPECT_GE(images.count(QRegularExpression("\\n\\s+1\\s+\\d+\\s+image")), 2) << images.toStdString();

    const QString txt = dir + "/letter.txt";
    out = runTool(kBatch, {"rtf", letter, "--text", txt}, &code);
    ASSERT_EQ(code, 0) << out.toStdString();
    const QString text = QString::fromUtf8(readBytes(txt));
    EXPECT_TRUE(text.contains("Dear [Full Name],\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Harbor View Books\n120 Water Street"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("\fP.S. Our summer reading list for [State] readers is enclosed. Café")));

    const QString rtf = dir + "/letter-out.rtf";
    out = runTool(kBatch, {"rtf", letter, "--rtf", rtf}, &code);
    ASSERT_EQ(code, 0) << out.toStdString();
    const QString again = dir + "/letter-again.rtf";
    runTool(kBatch, {"rtf", rtf, "--rtf", again}, &code);
    EXPECT_EQ(readBytes(again), readBytes(rtf)) << "written twice, the same bytes";
}

TEST(BatchRtf, BadArgumentsAndFiles)
{
    const QString dir = scratchDir("batch-bad");
    int code = 0;
    runTool(kBatch, {"rtf"}, &code);
    EXPECT_EQ(code, 2);
    runTool(kBatch, {"rtf", dataPath("letter.rtf"), "--pdf", dir + "/a.pdf", "--text", dir + "/a.txt"}, &code);
    EXPECT_EQ(code, 2);
    const QString missing = runTool(kBatch, {"rtf", dir + "/missing.rtf", "--text", dir + "/a.txt"}, &code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(missing.contains("cannot be opened")) << missing.toStdString();
    EXPECT_FALSE(QFile::exists(dir + "/a.txt"));

    // A damaged file is read as far as it goes; what was skipped is said.
    writeBytes(dir + "/damaged.rtf", "{\\rtf1 Kept text {\\header gone}{\\b more");
    const QString said = runTool(kBatch, {"rtf", dir + "/damaged.rtf", "--text", dir + "/damaged.txt"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(said.contains("Headers and footers")) << said.toStdString();
    EXPECT_TRUE(said.contains("ends before"));
    EXPECT_EQ(readBytes(dir + "/damaged.txt"), "Kept text more\n");

    // An output that cannot be written fails and leaves nothing behind.
    const QString blocked = runTool(kBatch, {"rtf", dataPath("letter.rtf"), "--pdf", dir + "/no/such/dir/a.pdf"}, &code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(blocked.contains("cannot be written")) << blocked.toStdString();
}
