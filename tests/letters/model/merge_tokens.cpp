// The merge on real documents: every token, the order effects of values holding other tokens'
// names, letter case, unknown bracketed text, attributes kept and nothing around a token touched.
#include "lettermerge.h"
#include "richdocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace postavo::letters;
using postavo::richtext::RichDocument;

namespace {

const QDate kToday(2024, 12, 9);
const QString kShort = QStringLiteral("MM/dd/yyyy");

MergeRecord sample()
{
    MergeRecord r;
    r.prefix = "Mr.";
    r.first = "John";
    r.middle = "Q";
    r.last = "Smith";
    r.title = "Director";
    r.org = "Acme";
    r.street = "1 Main St";
    r.street2 = "Suite 4";
    r.city = "Boston";
    r.state = "MA";
    r.zip = "02134";
    r.country = "USA";
    r.phone = "555-1000";
    r.phone2 = "555-2000";
    r.fax = "555-3000";
    r.email = "john@example.com";
    r.user1 = "one";
    r.user2 = "two";
    return r;
}

QString merged(const QString& text, const MergeRecord& r = sample())
{
    RichDocument doc;
    doc.document()->setPlainText(text);
    replaceTokens(doc, r, kToday, kShort);
    return doc.plainText();
}

} // namespace

TEST(MergeTokens, EveryTokenGetsItsValue)
{
    const QString expected[][2] = {
        {"Full Name", "Mr. John Q. Smith "}, {"First", "John"}, {"Last", "Smith"}, {"Middle", "Q"},
        {"Prefix", "Mr."}, {"Title", "Director"}, {"Organization", "Acme"}, {"Street", "1 Main St"},
        {"Street 2", "Suite 4"}, {"City+State+Zip", "Boston MA 02134"}, {"City", "Boston"}, {"State", "MA"},
        {"Province", "MA"}, {"Zip", "02134"}, {"Postal Code", "02134"}, {"Country", "USA"},
        {"Phone", "555-1000"}, {"Phone 2", "555-2000"}, {"Fax", "555-3000"}, {"E-Mail", "john@example.com"},
        {"Today's Date", "12/09/2024"}, {"Long Date", longDate(kToday)}, {"Comment 1", "one"}, {"Comment 2", "two"},
    };
    for (const auto& [token, value] : expected)
        EXPECT_EQ(merged("<[" + token + "]>"), "<" + value + ">") << token.toStdString();
    EXPECT_EQ(merged("[Name and Address]"),
              "Mr. John Q. Smith \nDirector,  Acme\n1 Main St\nSuite 4\nBoston MA  02134\nUSA\n");
    EXPECT_EQ(mergeTokenNames().size(), 25);
    EXPECT_EQ(insertFieldNames().size(), 25);
    EXPECT_EQ(QSet<QString>(mergeTokenNames().begin(), mergeTokenNames().end()),
              QSet<QString>(insertFieldNames().begin(), insertFieldNames().end()));
}

TEST(MergeTokens, MiddleLosesItsPointAndLongDateHasNoLeadingZero)
{
    MergeRecord r = sample();
    r.middle = "Q.";
    EXPECT_EQ(merged("[Middle]", r), "Q");
    const QString d = longDate(QDate(2024, 3, 5));
    EXPECT_TRUE(d.endsWith(" 5, 2024")) << d.toStdString();
}

TEST(MergeTokens, LetterCaseSpacingAndUnknownNames)
{
    EXPECT_EQ(merged("[LAST] [last] [Last]"), "Smith Smith Smith");
    EXPECT_EQ(merged("[ Last ] [Nickname] [FullName] [Last"), "[ Last ] [Nickname] [FullName] [Last");
    // Two in one paragraph are both replaced; one split by a paragraph end is not.
    EXPECT_EQ(merged("[First][First]\n[La\nst]"), "JohnJohn\n[La\nst]");
}

TEST(MergeTokens, ValuesHoldingTokenNamesFollowTheOrder)
{
    MergeRecord r = sample();
    r.first = "[City]";  // a later token: replaced when its turn comes
    EXPECT_EQ(merged("[First]", r), "Boston");
    r.first = "[First]";  // its own: the search goes on behind it
    EXPECT_EQ(merged("[First]", r), "[First]");
    r.first = "";
    r.city = "[First]";  // an earlier token: its turn is over
    EXPECT_EQ(merged("[City]", r), "[First]");
    // The name block is inserted late (23rd): a comment token inside it is still replaced.
    r = sample();
    r.street = "[Comment 1]";
    EXPECT_TRUE(merged("[Name and Address]", r).contains("\none\n"));
}

TEST(MergeTokens, EmptyValuesLeaveTheirSurroundingsAlone)
{
    MergeRecord r;
    EXPECT_EQ(merged("Dear [Full Name], ([Title])\n[Street 2]\nEnd", r), "Dear , ()\n\nEnd");
    EXPECT_EQ(merged("[Name and Address]x", r), "x");
}

TEST(MergeTokens, ValueTakesTheTokensAttributes)
{
    RichDocument doc;
    QTextCursor c(doc.document());
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontItalic(true);
    c.insertText("Dear ", plain);
    c.insertText("[Last]", bold);
    c.insertText(", hello", plain);
    EXPECT_EQ(doMerge(doc, "Last", "Smith"), 1);
    EXPECT_EQ(doc.plainText(), "Dear Smith, hello");
    const QTextBlock b = doc.document()->firstBlock();
    for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.text().contains("Smith")) {
            EXPECT_EQ(f.text(), "Smith");
            EXPECT_EQ(f.charFormat().fontWeight(), QFont::Bold);
            EXPECT_TRUE(f.charFormat().fontItalic());
        } else {
            EXPECT_NE(f.charFormat().fontWeight(), QFont::Bold) << f.text().toStdString();
        }
    }
}

TEST(MergeTokens, NameBlockComesOutAsSeparateLinesInOneParagraph)
{
    RichDocument doc;
    doc.document()->setPlainText("[Name and Address]After");
    replaceTokens(doc, sample(), kToday, kShort);
    EXPECT_EQ(doc.document()->blockCount(), 1);  // line breaks, not new paragraphs
    EXPECT_TRUE(doc.plainText().startsWith("Mr. John Q. Smith \nDirector"));
}
