// RTF files of a document: what is saved opens again the same; a file that cannot be read
// leaves the document as it was; a save that cannot be finished (no folder, a full disk)
// leaves the old file as it was, with no half-written file beside it.

#include "support_richtext.h"

#include "pagedrawing.h"
#include "richdocument.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace postavo::richtext;
using namespace postavo::testing;

namespace {

QByteArray longLetter()
{
    QByteArray rtf = R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\paperw11906\margl1000 )";
    for (int i = 0; i < 2000; ++i)
        rtf += "{\\b Paragraph} " + QByteArray::number(i) + " of a long letter\\par\n";
    return rtf + "}";
}

} // namespace

TEST(DocumentFiles, SavedFileOpensTheSame)
{
    const QString dir = scratchDir(QStringLiteral("files-roundtrip"));
    RichDocument doc;
    doc.loadRtf(R"({\rtf1\paperw11906\paperh16838\margl1000 {\b Dear} reader,\par caf\'e9\par})");
    QString error;
    ASSERT_TRUE(doc.saveFile(dir + QStringLiteral("/letter.rtf"), &error)) << error.toStdString();
    EXPECT_EQ(readBytes(dir + QStringLiteral("/letter.rtf")), doc.saveRtf());

    RichDocument back;
    RtfReadReport report;
    ASSERT_TRUE(back.loadFile(dir + QStringLiteral("/letter.rtf"), &error, &report));
    EXPECT_TRUE(report.clean()) << report.text().toStdString();
    EXPECT_EQ(back.plainText(), doc.plainText());
    EXPECT_EQ(back.pageLayout(), doc.pageLayout());
    EXPECT_EQ(back.saveRtf(), doc.saveRtf());
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("letter.rtf")});
}

TEST(DocumentFiles, FilesThatCannotBeReadLeaveTheDocument)
{
    const QString dir = scratchDir(QStringLiteral("files-unreadable"));
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 Kept\par})");
    QString error;
    EXPECT_FALSE(doc.loadFile(dir + QStringLiteral("/missing.rtf"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.rtf"))) << error.toStdString();
    error.clear();
    EXPECT_FALSE(doc.loadFile(dir, &error));  // a folder
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(doc.plainText(), QStringLiteral("Kept"));

    // A file that is not RTF is read as plain text, and the report says so.
    writeBytes(dir + QStringLiteral("/note.txt"), "Just a note\nsecond line\n");
    RtfReadReport report;
    ASSERT_TRUE(doc.loadFile(dir + QStringLiteral("/note.txt"), &error, &report));
    EXPECT_TRUE(report.notRtf);
    EXPECT_FALSE(report.text().isEmpty());
    EXPECT_TRUE(doc.plainText().startsWith(QStringLiteral("Just a note\nsecond line")));
}

TEST(DocumentFiles, UnfinishedSavesLeaveTheOldFile)
{
    const QString dir = scratchDir(QStringLiteral("files-unfinished"));
    const QString path = dir + QStringLiteral("/letter.rtf");
    const QByteArray old = R"({\rtf1 The old letter\par})";
    writeBytes(path, old);

    RichDocument doc;
    doc.loadRtf(longLetter());
    const QByteArray full = doc.saveRtf();
    ASSERT_GT(full.size(), 20000);

    QString error;
    EXPECT_FALSE(doc.saveFile(dir + QStringLiteral("/no such folder/letter.rtf"), &error));
    EXPECT_FALSE(error.isEmpty());

    // The disk fills up half-way through the new text.
    {
        FileSizeLimit limit(rlim_t(full.size() / 2));
        error.clear();
        EXPECT_FALSE(doc.saveFile(path, &error));
    }
    EXPECT_TRUE(error.contains(QStringLiteral("letter.rtf"))) << error.toStdString();
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("letter.rtf")});

    // With room again the same save goes through whole.
    ASSERT_TRUE(doc.saveFile(path, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), full);

    // A short letter, written in one piece at the end, fills the disk just the same.
    writeBytes(path, old);
    RichDocument note;
    note.loadRtf(R"({\rtf1 A short note\par})");
    const QByteArray short_ = note.saveRtf();
    {
        FileSizeLimit limit(rlim_t(short_.size() / 2));
        error.clear();
        EXPECT_FALSE(note.saveFile(path, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("letter.rtf")});
}

TEST(DocumentFiles, UnfinishedPdfLeavesTheOldFile)
{
    const QString dir = scratchDir(QStringLiteral("files-pdf"));
    const QString path = dir + QStringLiteral("/letter.pdf");
    writeBytes(path, "old pdf");
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 A short note\par})");
    QString error;
    {
        FileSizeLimit limit(2000);
        EXPECT_FALSE(writePdf(doc, path, &error));
    }
    EXPECT_TRUE(error.contains(QStringLiteral("letter.pdf"))) << error.toStdString();
    EXPECT_EQ(readBytes(path), "old pdf");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("letter.pdf")});
    ASSERT_TRUE(writePdf(doc, path, &error)) << error.toStdString();
    EXPECT_TRUE(readBytes(path).startsWith("%PDF-"));
}
