// Reading comma-delimited text: the classic split the import has always made, the RFC 4180 split
// spreadsheets need, line endings and the line-length limit, and which encoding a file is in.
#include "delimitedtext.h"
#include "support_transfer.h"
#include "textencoding.h"

using namespace postavo;
using namespace postavo::transfer;
using namespace postavo::transfer::test;

namespace {

std::vector<std::string> classic(std::string_view line)
{
    std::vector<std::string> f;
    splitClassicLine(line, f);
    return f;
}

std::vector<std::string> rfc(std::string_view line)
{
    std::vector<std::string> f;
    splitRfc4180Record(line, f);
    return f;
}

using V = std::vector<std::string>;

TEST(DelimitedText, ClassicSplitKeepsQuotedCommasAndDropsOnePairOfQuotes)
{
    EXPECT_EQ(classic("\"Doe\",Jane"), V({"Doe", "Jane"}));
    EXPECT_EQ(classic("Doe,\" Jr.\",Jane"), V({"Doe", " Jr.", "Jane"}));
    EXPECT_EQ(classic("\"Smith, Jones and Co\",x"), V({"Smith, Jones and Co", "x"}));
    // A doubled quote is no escape: the quote state flips twice, so the comma stays protected.
    EXPECT_EQ(classic("\"a\"\"b\",c"), V({"\"a\"\"b\",c"}));
    EXPECT_EQ(classic("a,,c,"), V({"a", "", "c", ""}));
    EXPECT_EQ(classic(""), V({""}));
}

TEST(DelimitedText, Rfc4180SplitUndoublesQuotesAndKeepsLineBreaks)
{
    EXPECT_EQ(rfc("\"a\"\"b\",c"), V({"a\"b", "c"}));
    EXPECT_EQ(rfc("\"Smith, Jones\",\"\""), V({"Smith, Jones", ""}));
    EXPECT_EQ(rfc("\"two\r\nlines\",x"), V({"two\r\nlines", "x"}));
    EXPECT_EQ(rfc("plain,\"\"\"quoted\"\"\""), V({"plain", "\"quoted\""}));
}

class TextReading : public ::testing::Test {
protected:
    QString dir = postavo::testing::scratchDir(QStringLiteral("delimited_text"));
    QString write(const QByteArray& bytes)
    {
        const QString p = dir + "/in.txt";
        postavo::testing::writeBytes(p, bytes);
        return p;
    }
    std::vector<std::string> records(const QByteArray& bytes, TextEncoding e, bool rfc4180, bool* cut = nullptr)
    {
        TextRecordReader r;
        QString error;
        EXPECT_TRUE(r.open(write(bytes), e, rfc4180, &error)) << error.toStdString();
        std::vector<std::string> out;
        std::string line;
        while (r.next(line) == TextRecordReader::Status::Record) {
            out.push_back(line);
            if (cut && r.lastWasCut())
                *cut = true;
        }
        return out;
    }
};

TEST_F(TextReading, EveryLineEndingCountsAndALastLineWithoutOne)
{
    EXPECT_EQ(records("a\r\nb\nc\rd", TextEncoding::Windows1252, false), V({"a", "b", "c", "d"}));
    EXPECT_EQ(records("a\r\n\r\nb\r\n", TextEncoding::Windows1252, false), V({"a", "", "b"}));
    // RFC 4180: the break inside quotes belongs to the value (as one LF).
    EXPECT_EQ(records("\"x\r\ny\",z\r\nnext\r\n", TextEncoding::Windows1252, true), V({"\"x\ny\",z", "next"}));
}

TEST_F(TextReading, LongLinesAreCutAtTheLimitAndTheRestSkipped)
{
    QByteArray bytes(5000, 'x');
    bytes += "\r\nshort\r\n";
    bool cut = false;
    const auto r = records(bytes, TextEncoding::Windows1252, false, &cut);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].size(), kMaxLineCharacters);
    EXPECT_EQ(r[1], "short");
    EXPECT_TRUE(cut);
    // The limit counts characters, not UTF-8 bytes.
    QByteArray wide;
    for (std::size_t i = 0; i < kMaxLineCharacters; ++i)
        wide += "\xC3\xA9";
    const auto w = records(wide + "\n", TextEncoding::Utf8, false);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0], std::string(kMaxLineCharacters, '\xE9'));
}

TEST_F(TextReading, Utf8IsStoredAsWindows1252AndWhatItCannotHoldIsCounted)
{
    TextRecordReader r;
    QString error;
    ASSERT_TRUE(r.open(write("\xEF\xBB\xBFM\xC3\xBCller,\xE2\x82\xAC,\xC5\x81\xC3\xB3\xC5\xBA\n"), TextEncoding::Utf8, false, &error));
    std::string line;
    ASSERT_EQ(r.next(line), TextRecordReader::Status::Record);
    EXPECT_EQ(line, "M\xFCller,\x80,?\xF3?");
    EXPECT_EQ(r.tally().count(), 2u);
    EXPECT_NE(r.tally().describe().indexOf(QStringLiteral("U+0141")), -1);
}

TEST(TextEncodingDecision, Utf8BomUtf8TextWindows1252AndBinary)
{
    EXPECT_EQ(examineText("\xEF\xBB\xBF" "abc").encoding, TextEncoding::Utf8);
    EXPECT_TRUE(examineText("\xEF\xBB\xBF" "abc").byteOrderMark);
    EXPECT_EQ(examineText("K\xC3\xB6ln,x").encoding, TextEncoding::Utf8);
    EXPECT_EQ(examineText("K\xF6ln,x").encoding, TextEncoding::Windows1252);
    EXPECT_EQ(examineText("plain,ascii").encoding, TextEncoding::Windows1252);
    // A lone lead byte at the end is not UTF-8.
    EXPECT_EQ(examineText("abc\xC3").encoding, TextEncoding::Windows1252);
    EXPECT_FALSE(examineText(std::string_view("PK\x03\x04\0\0", 6)).refusal.isEmpty());
    EXPECT_FALSE(examineText(std::string_view("\xFF\xFE" "a\0b\0", 6)).refusal.isEmpty());
    EXPECT_TRUE(examineText("a,b\r\nc,d").refusal.isEmpty());

    EXPECT_EQ(encodingFromName("UTF8"), TextEncoding::Utf8);
    EXPECT_EQ(encodingFromName("cp1252"), TextEncoding::Windows1252);
    EXPECT_FALSE(encodingFromName("latin9").has_value());
}

TEST(TextEncodingDecision, ConversionsRoundTripEveryWindows1252Byte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    std::string utf8;
    cp1252ToUtf8(all, utf8);
    std::string back;
    UnstorableTally tally;
    utf8ToCp1252(utf8, back, &tally);
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character; whatever they became, they come back.
    EXPECT_EQ(back, all);
    EXPECT_EQ(tally.count(), 0u);
    // Invalid UTF-8 bytes are taken as Windows-1252.
    std::string mixed;
    utf8ToCp1252("a\xE9z", mixed, &tally);
    EXPECT_EQ(mixed, "a\xE9z");
}

} // namespace
