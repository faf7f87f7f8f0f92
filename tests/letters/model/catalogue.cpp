// The letter catalogue: list, new, change, clone and delete, the letter text's round trip through
// the memo byte for byte, letters whose memo is empty, damaged or not RTF, a missing memo file
// and a write that fails.
#include "lettercatalogue.h"
#include "richdocument.h"

#include "engine/write_faults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <cerrno>
#include <gtest/gtest.h>

using namespace postavo::letters;
using postavo::richtext::RichDocument;
using postavo::richtext::RtfReadReport;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString findFile(const QString& dir, const QString& name)
{
    for (const QString& f : QDir(dir).entryList(QDir::Files))
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return dir + "/" + f;
    return {};
}

void makeLetter(RichDocument& doc)
{
    QTextCursor c(doc.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("Dear ");
    c.insertText("[Full Name]", bold);
    c.insertBlock();
    c.insertText("Thank you for your order.");
}

} // namespace

TEST(LetterCatalogue, NewCloneDeleteAndTheList)
{
    QTemporaryDir dir;
    LetterCatalogue cat(dir.path());
    QString message;
    ASSERT_TRUE(cat.open(&message)) << message.toStdString();
    EXPECT_TRUE(cat.letters().empty());

    RichDocument doc;
    makeLetter(doc);
    LetterEntry b{0, "Order thanks"};
    LetterEntry a{0, "Appointment"};
    ASSERT_TRUE(cat.saveLetter(&b, doc));
    ASSERT_TRUE(cat.saveLetter(&a, doc));
    EXPECT_GT(b.recno, 0u);
    std::vector<LetterEntry> list = cat.letters();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].description, "Appointment");  // description order
    EXPECT_EQ(list[1].description, "Order thanks");
    EXPECT_EQ(cat.findByDescription("  order THANKS ")->recno, b.recno);

    // Modify keeps the row.
    b.description = "Order thanks 2";
    ASSERT_TRUE(cat.saveLetter(&b, doc));
    EXPECT_EQ(cat.letters().size(), 2u);

    const QString long45 = QString(45, 'x');
    LetterEntry l{0, long45};
    ASSERT_TRUE(cat.saveLetter(&l, doc));
    const std::optional<LetterEntry> c = cat.clone(l.recno);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->description, "Clone of " + long45.left(41));
    QByteArray original, cloned;
    ASSERT_TRUE(cat.rtfText(l.recno, &original));
    ASSERT_TRUE(cat.rtfText(c->recno, &cloned));
    EXPECT_EQ(original, cloned);

    ASSERT_TRUE(cat.remove(a.recno));
    EXPECT_FALSE(cat.letter(a.recno));
    EXPECT_EQ(cat.letters().size(), 3u);
    EXPECT_FALSE(cat.remove(a.recno));
}

TEST(LetterCatalogue, RoundTripKeepsTheRtfBytes)
{
    QTemporaryDir dir;
    RichDocument doc;
    makeLetter(doc);
    doc.setPageLayout({12240, 15840, 1800, 1800, 1000, 1000});
    const QByteArray rtf = doc.saveRtf();
    quint32 recno = 0;
    {
        LetterCatalogue cat(dir.path());
        ASSERT_TRUE(cat.open(nullptr));
        LetterEntry e{0, "Round trip"};
        ASSERT_TRUE(cat.saveLetter(&e, doc));
        recno = e.recno;
    }
    LetterCatalogue cat(dir.path());
    ASSERT_TRUE(cat.open(nullptr, false));
    QByteArray stored;
    ASSERT_TRUE(cat.rtfText(recno, &stored));
    EXPECT_EQ(stored, storedRtfText(rtf));
    RichDocument back;
    RtfReadReport report;
    ASSERT_TRUE(cat.loadRichText(recno, back, &report));
    EXPECT_TRUE(report.clean()) << report.text().toStdString();
    EXPECT_EQ(back.plainText(), doc.plainText());
    EXPECT_EQ(back.pageLayout(), doc.pageLayout());
    // Stored again unchanged, the memo keeps the same bytes.
    LetterEntry again{recno, "Round trip"};
    ASSERT_TRUE(cat.saveLetter(&again, back));
    QByteArray second;
    ASSERT_TRUE(cat.rtfText(recno, &second));
    EXPECT_EQ(second, stored);
}

TEST(LetterCatalogue, StoredTextPadding)
{
    EXPECT_EQ(storedRtfText(""), "");
    EXPECT_EQ(storedRtfText("abc"), "abc");
    EXPECT_EQ(storedRtfText("abcd"), "abcd ");
    EXPECT_EQ(storedRtfText("abcd\r\n"), "abcd \r\n");
    EXPECT_EQ(storedRtfText("ab\ncd"), "ab\ncd");  // 2 + CR LF + 2 = 6
    EXPECT_EQ(storedRtfText("ab\nc\n"), "ab\nc\n");  // 2 + CR LF + 1 = 5
    EXPECT_EQ(storedRtfText("ab\n\nab"), "ab\n\nab ");  // 2 + CR LF + CR LF + 2 = 8
}

TEST(LetterCatalogue, EmptyDamagedAndPlainMemos)
{
    QTemporaryDir dir;
    LetterCatalogue cat(dir.path());
    ASSERT_TRUE(cat.open(nullptr));
    LetterEntry empty{0, "empty"}, damaged{0, "damaged"}, plain{0, "plain"};
    ASSERT_TRUE(cat.saveLetterText(&empty, ""));
    ASSERT_TRUE(cat.saveLetterText(&damaged, "{\\rtf1\\ansi {\\b Dear [Last]"));
    ASSERT_TRUE(cat.saveLetterText(&plain, "Dear [Last], just text"));

    RichDocument doc;
    doc.document()->setPlainText("left over");
    RtfReadReport report;
    ASSERT_TRUE(cat.loadRichText(empty.recno, doc, &report));
    EXPECT_TRUE(doc.plainText().trimmed().isEmpty());
    ASSERT_TRUE(cat.loadRichText(damaged.recno, doc, &report));
    EXPECT_TRUE(report.damaged);
    EXPECT_TRUE(doc.plainText().contains("Dear [Last]"));
    ASSERT_TRUE(cat.loadRichText(plain.recno, doc, &report));
    EXPECT_TRUE(report.notRtf);
    EXPECT_TRUE(doc.plainText().contains("just text"));
    EXPECT_FALSE(cat.loadRichText(9999, doc, &report));
}

TEST(LetterCatalogue, MissingMemoFileIsToldAndNothingChanges)
{
    QTemporaryDir dir;
    {
        LetterCatalogue cat(dir.path());
        ASSERT_TRUE(cat.open(nullptr));
        RichDocument doc;
        makeLetter(doc);
        LetterEntry e{0, "one"};
        ASSERT_TRUE(cat.saveLetter(&e, doc));
    }
    const QString memo = findFile(dir.path(), "LETTER.FPT");
    const QString table = findFile(dir.path(), "LETTER.DBF");
    ASSERT_FALSE(memo.isEmpty());
    ASSERT_TRUE(QFile::remove(memo));
    const QByteArray before = fileBytes(table);
    LetterCatalogue cat(dir.path());
    QString message;
    EXPECT_FALSE(cat.open(&message));
    EXPECT_TRUE(message.contains("LETTER.DBF")) << message.toStdString();
    EXPECT_TRUE(message.contains("memo file")) << message.toStdString();
    EXPECT_EQ(fileBytes(table), before);
    EXPECT_TRUE(findFile(dir.path(), "LETTER.FPT").isEmpty());

    // Without permission to create, a folder without a catalogue is an error too.
    QTemporaryDir none;
    EXPECT_FALSE(LetterCatalogue(none.path()).open(&message, false));
    EXPECT_TRUE(QDir(none.path()).entryList(QDir::Files).isEmpty());
}

TEST(LetterCatalogue, FailedWriteLeavesTheCatalogueAsItWas)
{
    QTemporaryDir dir;
    LetterCatalogue cat(dir.path());
    ASSERT_TRUE(cat.open(nullptr));
    RichDocument doc;
    makeLetter(doc);
    LetterEntry e{0, "kept"};
    ASSERT_TRUE(cat.saveLetter(&e, doc));
    QByteArray stored;
    ASSERT_TRUE(cat.rtfText(e.recno, &stored));

    postavo::engine::setWriteFaultHook([](const std::string&, std::uint64_t, std::size_t) { return ENOSPC; });
    LetterEntry fresh{0, "new"};
    EXPECT_FALSE(cat.saveLetter(&fresh, doc));
    EXPECT_FALSE(cat.lastError().isEmpty());
    LetterEntry changed{e.recno, "changed"};
    doc.document()->setPlainText("other text");
    EXPECT_FALSE(cat.saveLetter(&changed, doc));
    postavo::engine::setWriteFaultHook({});

    std::vector<LetterEntry> list = cat.letters();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].description, "kept");
    QByteArray after;
    ASSERT_TRUE(cat.rtfText(e.recno, &after));
    EXPECT_EQ(after, stored);
}

TEST(LetterCatalogue, DescriptionsWindows1252CannotHoldAreRefused)
{
    QTemporaryDir dir;
    LetterCatalogue cat(dir.path());
    ASSERT_TRUE(cat.open(nullptr));
    RichDocument doc;
    LetterEntry e{0, QString::fromUtf8("Письмо")};
    EXPECT_FALSE(cat.saveLetter(&e, doc));
    EXPECT_TRUE(cat.letters().empty());
}
