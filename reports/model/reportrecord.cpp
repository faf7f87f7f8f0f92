#include "reportrecord.h"

#include <QRegularExpression>

namespace postavo::reports {

QString trimLeft(const QString& s)
{
    int i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString listName(const ReportRecord& r)
{
    QString middle = r.middle;
    if (!middle.isEmpty())
        middle += QLatin1Char('.');
    return trimLeft(r.lname + QStringLiteral(", ")) + trimLeft(r.fname + QLatin1Char(' ')) + trimLeft(middle);
}

QString cityLineReport1(const ReportRecord& r)
{
    QString s;
    if (!r.city.isEmpty())
        s += r.city + QStringLiteral(", ");
    if (!r.state.isEmpty())
        s += r.state + QStringLiteral("  ");
    if (!r.zip.isEmpty())
        s += r.zip + QLatin1Char(' ');
    return s;
}

QString fullNameReport4(const ReportRecord& r)
{
    QString s = trimLeft(r.lname) + QStringLiteral(", ");
    if (!(r.prefix + r.fname).isEmpty())
        s += r.prefix + QLatin1Char(' ');
    s += trimLeft(r.fname + QLatin1Char(' '));
    s += r.middle;
    if (!r.middle.isEmpty())
        s += QLatin1Char('.');
    return s;
}

QString titleAndOrganization(const ReportRecord& r)
{
    if (!r.org.isEmpty() && !r.title.isEmpty())
        return r.title + QStringLiteral(", ") + r.org;
    return r.org;
}

QString cityLineReport4(const ReportRecord& r)
{
    QString s;
    if (!r.city.isEmpty())
        s = r.city;
    if (!r.state.isEmpty())
        s += QStringLiteral(", ") + r.state;
    if (!r.zip.isEmpty())
        s += QStringLiteral(", ") + r.zip;
    return s;
}

QString phoneAndFax(const ReportRecord& r)
{
    QString s;
    if (!r.phone.isEmpty())
        s = QStringLiteral("Ph: ") + r.phone + QStringLiteral("  ");
    if (!r.fax.isEmpty())
        s += QStringLiteral("Fax: ") + r.fax + QStringLiteral("  ");
    return s;
}

namespace {

void breakParagraph(const QString& para, double avail, const std::function<double(const QString&)>& measure,
                    QStringList* out)
{
    if (para.isEmpty()) {
        *out << QString();
        return;
    }
    auto fits = [&](int start, int end) {
        while (end > start && para.at(end - 1) == QLatin1Char(' '))
            --end;
        return measure(para.mid(start, end - start)) <= avail;
    };
    const int n = int(para.size());
    int start = 0;
    while (start < n) {
        int lastGood = -1;
        int end = start;
        while (end < n) {
            int next = end;
            while (next < n && para.at(next) != QLatin1Char(' '))
                ++next;
            while (next < n && para.at(next) == QLatin1Char(' '))
                ++next;
            if (!fits(start, next))
                break;
            lastGood = next;
            end = next;
        }
        if (lastGood < 0) {
            // Not even the first word fits: as many characters as fit, at least one; a binary
            // search keeps a very long word from being measured once per character.
            int lo = start + 1, hi = start + 1;
            while (hi < n && para.at(hi) != QLatin1Char(' '))
                ++hi;
            while (lo < hi) {
                const int mid = (lo + hi + 1) / 2;
                if (measure(para.mid(start, mid - start)) <= avail)
                    lo = mid;
                else
                    hi = mid - 1;
            }
            int k = lo;
            while (k < n && para.at(k) == QLatin1Char(' '))
                ++k;
            lastGood = k;
        }
        *out << para.mid(start, lastGood - start);
        start = lastGood;
    }
}

} // namespace

QStringList wrapLines(const QString& text, double width, const std::function<double(const QString&)>& measure)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList out;
    for (const QString& para : text.split(breaks))
        breakParagraph(para, width, measure, &out);
    return out;
}

QStringList memoLines(const QString& memo, double width, const std::function<double(const QString&)>& measure)
{
    QStringList lines = wrapLines(memo, width, measure);
    if (lines.size() == 1 && lines.first().trimmed().isEmpty())
        lines.clear();
    return lines;
}

} // namespace postavo::reports
