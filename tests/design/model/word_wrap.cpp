// Lines of a multi-line edit box: breaks, wrapping after whole words, words longer than a line.
#include "testsupport.h"
#include "wordwrap.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace postavo::design;

namespace {
QFont font()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSize(10);
    return f;
}
int box(const QString& fitting) { return QFontMetrics(font()).horizontalAdvance(fitting) + 2 * kEditBoxMargin; }
} // namespace

TEST(WordWrap, BreaksAfterTheLastWholeWord)
{
    const QStringList lines = editBoxLines(QStringLiteral("alpha beta gamma"), font(), box("alpha beta"));
    EXPECT_EQ(lines, QStringList({"alpha beta ", "gamma"}));
    EXPECT_EQ(editBoxLines(QStringLiteral("alpha beta gamma"), font(), box("alpha beta") - 1),
              QStringList({"alpha ", "beta ", "gamma"}));
}

TEST(WordWrap, LineBreaksStartLines)
{
    EXPECT_EQ(editBoxLines(QStringLiteral("one\r\ntwo\nthree\r\r\nfour"), font(), 1000),
              QStringList({"one", "two", "three", "", "four"}));
    EXPECT_EQ(editBoxLines(QStringList({"a b", "", "c"}), font(), 1000), QStringList({"a b", "", "c"}));
    // Without wrap only the breaks count.
    EXPECT_EQ(editBoxLines(QStringLiteral("alpha beta gamma"), font(), 10, false), QStringList({"alpha beta gamma"}));
}

TEST(WordWrap, LongWordIsBrokenInside)
{
    const QStringList lines = editBoxLines(QStringLiteral("abcdefghij xy"), font(), box("abcd"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "abcd");
    EXPECT_EQ(lines.join(QString()), "abcdefghij xy");
    for (const QString& l : lines)
        EXPECT_LE(QFontMetrics(font()).horizontalAdvance(l.trimmed()), box("abcd") - 2 * kEditBoxMargin) << l.toStdString();
    // Narrower than one character: one character a line, never an endless loop.
    EXPECT_EQ(editBoxLines(QStringLiteral("abc"), font(), 0), QStringList({"a", "b", "c"}));
}
