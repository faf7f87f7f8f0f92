// What the merge does to a document: literal search that ignores letter case and attributes
// and stays inside a paragraph, replacement that takes the found text's first attributes and
// turns line ends into line breaks, copying a document, page breaks at the cursor.

#include "support_richtext.h"

#include "pagedrawing.h"
#include "richdocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

using namespace postavo::richtext;

namespace {

QTextCharFormat formatAt(const RichDocument& doc, int position)
{
    QTextCursor c(const_cast<QTextDocument*>(doc.document()));
    c.setPosition(position + 1);
    return c.charFormat();
}

} // namespace

TEST(MergeOperations, SearchIgnoresCaseAndAttributesButNotParagraphEnds)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 Dear [fi{\b RST}], [First] and [ First ] and [First\par ] end [FIRST]\par})");
    doc.setSearchPosition(0);
    QList<int> found;
    while (doc.findNext("[First]"))
        found << doc.searchPosition();
    // "[fiRST]" across two runs, "[First]" and "[FIRST]"; not "[ First ]" nor the split one.
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0], int(QString("Dear [fiRST]").size()));
    EXPECT_FALSE(doc.findNext("[First]"));
    EXPECT_FALSE(doc.findNext(QString()));
}

TEST(MergeOperations, ReplacementTakesTheFirstCharactersAttributes)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times New Roman;}}{\colortbl;\red200\green0\blue0;}
\f0\fs20 Hello {\f1\fs28\b\cf1 [}{\i Full Name]} there\par})");
    EXPECT_EQ(doc.replaceAll("[full name]", "Mr. John Smith "), 1);
    EXPECT_EQ(doc.plainText(), "Hello Mr. John Smith  there");
    const QTextCharFormat f = formatAt(doc, 6);
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 14);
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_FALSE(f.fontItalic()) << "the second character's italic is not taken";
    EXPECT_EQ(f.foreground().color(), QColor(200, 0, 0));
    // The whole value has that format.
    EXPECT_EQ(formatAt(doc, 6 + 14), f);
    // Text behind the value keeps its own.
    EXPECT_DOUBLE_EQ(formatAt(doc, 6 + 16).fontPointSize(), 10);
}

TEST(MergeOperations, LineEndsBecomeLineBreaksInsideTheParagraph)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 [Name and Address]\par Dear Sir\par})");
    EXPECT_EQ(doc.replaceAll("[Name and Address]", "John Smith\r\nMain St\r\nBoston MA  02134\r\n"), 1);
    EXPECT_EQ(doc.document()->blockCount(), 2);
    EXPECT_EQ(doc.document()->begin().text(),
              QString("John Smith%1Main St%1Boston MA  02134%1").arg(QChar(QChar::LineSeparator)));
    EXPECT_EQ(doc.document()->begin().layout()->lineCount(), 4);
    // The written file says so with \line, and reads back the same.
    EXPECT_TRUE(doc.saveRtf().contains("John Smith\\line Main St"));
    RichDocument back;
    back.loadRtf(doc.saveRtf());
    EXPECT_EQ(back.plainText(), doc.plainText());
}

TEST(MergeOperations, SearchGoesOnBehindTheNewText)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 [First] and [First] and [City]\par})");
    // A value holding its own token is not replaced again; a later token in it is.
    EXPECT_EQ(doc.replaceAll("[First]", "<[First]>"), 2);
    EXPECT_EQ(doc.plainText(), "<[First]> and <[First]> and [City]");
    EXPECT_EQ(doc.replaceAll("[First]", ""), 2);
    EXPECT_EQ(doc.plainText(), "<> and <> and [City]");

    RichDocument stepwise;
    stepwise.loadRtf(R"({\rtf1 ab [x] cd [X]\par})");
    stepwise.setSearchPosition(0);
    ASSERT_TRUE(stepwise.findNext("[x]"));
    ASSERT_TRUE(stepwise.replaceFound("[City]"));
    EXPECT_EQ(stepwise.searchPosition(), 3 + 6);
    EXPECT_FALSE(stepwise.replaceFound("again")) << "nothing found since the last replacement";
    ASSERT_TRUE(stepwise.findNext("[x]"));
    stepwise.replaceFound("Y");
    EXPECT_EQ(stepwise.plainText(), "ab [City] cd Y");
}

TEST(MergeOperations, CopyIsIndependentAndComplete)
{
    RichDocument letter;
    letter.loadRtf(R"({\rtf1\paperw10000\paperh14000\margl700{\fonttbl{\f0 Arial;}}\f0 Dear [First],\par
{\pict\pngblip 89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de0000000c4944415408d763f8cfc0000003010100c9fe92ef0000000049454e44ae426082}\page Page two\par})");
    RichDocument work;
    work.copyFrom(letter);
    EXPECT_EQ(work.pageLayout(), letter.pageLayout());
    EXPECT_EQ(postavo::testing::describeDocument(*work.document()),
              postavo::testing::describeDocument(*letter.document()));
    EXPECT_EQ(work.saveRtf(), letter.saveRtf());
    EXPECT_EQ(pageCount(work), 2);
    work.replaceAll("[First]", "Ann");
    EXPECT_TRUE(letter.plainText().startsWith("Dear [First],"));
    EXPECT_TRUE(work.plainText().startsWith("Dear Ann,"));
    // The picture's image came along.
    bool shown = false;
    for (auto it = work.document()->begin().next().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            shown = work.document()->resource(QTextDocument::ImageResource,
                                              QUrl(it.fragment().charFormat().toImageFormat().name())).isValid();
    EXPECT_TRUE(shown);
}

TEST(MergeOperations, PageBreakAtTheCursor)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 {\b First half}second half\par})");
    QTextCursor c(doc.document());
    c.setPosition(10);
    insertPageBreak(c);
    EXPECT_EQ(doc.plainText(true), "First half\n\fsecond half");
    EXPECT_EQ(pageCount(doc), 2);
    EXPECT_EQ(pageStarts(doc), (QList<int>{0, 11}));
    // Typing goes on in the new page with the attributes at the cursor.
    EXPECT_EQ(c.position(), 11);
    EXPECT_EQ(c.block().charFormat().fontWeight(), QFont::Bold);
    // It is one step to undo.
    doc.document()->undo();
    EXPECT_EQ(doc.plainText(true), "First halfsecond half");
}
