#include "wordwrap.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace postavo::design {

namespace {

// Breaks one paragraph. A line keeps the spaces after its last word (as the edit box does); only
// the text up to the last word has to fit.
void breakParagraph(const QString& para, const QFontMetrics& fm, int avail, QStringList* out)
{
    if (para.isEmpty()) {
        *out << QString();
        return;
    }
    auto fits = [&](const QString& s) {
        int end = int(s.size());
        while (end > 0 && s.at(end - 1) == QLatin1Char(' '))
            --end;
        return fm.horizontalAdvance(s.left(end)) <= avail;
    };
    int start = 0;
    const int n = int(para.size());
    while (start < n) {
        // Grow word by word (a word with the spaces that follow it) while the line fits.
        int end = start;
        int lastGood = -1;
        while (end < n) {
            int next = end;
            while (next < n && para.at(next) != QLatin1Char(' '))
                ++next;
            while (next < n && para.at(next) == QLatin1Char(' '))
                ++next;
            if (!fits(para.mid(start, next - start)))
                break;
            lastGood = next;
            end = next;
        }
        if (lastGood < 0) {
            // Not even the first word fits: take as many characters as fit, at least one.
            int k = start + 1;
            while (k < n && para.at(k) != QLatin1Char(' ') && fm.horizontalAdvance(para.mid(start, k + 1 - start)) <= avail)
                ++k;
            // Spaces right after a broken word stay on its line.
            while (k < n && para.at(k) == QLatin1Char(' '))
                ++k;
            lastGood = k;
        }
        *out << para.mid(start, lastGood - start);
        start = lastGood;
    }
}

} // namespace

QStringList editBoxLines(const QString& text, const QFont& font, int boxWidth, bool wrap)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    const QStringList paras = text.split(breaks);
    QStringList out;
    if (!wrap)
        return paras;
    const QFontMetrics fm(font);
    const int avail = std::max(1, boxWidth - 2 * kEditBoxMargin);
    for (const QString& p : paras)
        breakParagraph(p, fm, avail, &out);
    return out;
}

QStringList editBoxLines(const QStringList& lines, const QFont& font, int boxWidth, bool wrap)
{
    return editBoxLines(lines.join(QLatin1Char('\n')), font, boxWidth, wrap);
}

} // namespace postavo::design
