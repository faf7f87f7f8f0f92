#include "support_reports.h"

#include "addressdata.h"
#include "devices.h"
#include "printcanvas.h"
#include "testsupport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>

namespace postavo::testing::rpt {

QString makeRecords(const QString& dir, const QString& name, const std::vector<Row>& rows)
{
    const QString path = dir + QLatin1Char('/') + name;
    return makeAddressRecords(path, rows) ? path : QString();
}

bool printToPdf(const QString& path, const std::function<void(printing::TPrintCanvas&)>& body, int* pages)
{
    printing::PdfFileDevice device(path, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    printing::TPrintCanvas canvas;
    canvas.setDevice(&device);
    const bool ok = canvas.execute({}, body);
    if (pages)
        *pages = canvas.pageNumber();
    return ok;
}

std::vector<std::vector<PdfWord>> pdfPages(const QString& pdf)
{
    int rc = 0;
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, &rc);
    std::vector<std::vector<PdfWord>> pages;
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (const QString& chunk : html.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
        std::vector<PdfWord> words;
        for (auto it = word.globalMatch(chunk); it.hasNext();) {
            const auto m = it.next();
            QString text = m.captured(5);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""));
            words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                             m.captured(4).toDouble(), text});
        }
        pages.push_back(std::move(words));
    }
    return pages;
}

std::vector<const PdfWord*> wordsNamed(const std::vector<PdfWord>& page, const QString& text)
{
    std::vector<const PdfWord*> out;
    for (const PdfWord& w : page)
        if (w.text == text)
            out.push_back(&w);
    std::sort(out.begin(), out.end(), [](const PdfWord* a, const PdfWord* b) { return a->yMin < b->yMin; });
    return out;
}

const PdfWord* firstNamed(const std::vector<PdfWord>& page, const QString& text)
{
    const auto all = wordsNamed(page, text);
    return all.empty() ? nullptr : all.front();
}

double leftInches(const PdfWord& w) { return w.xMin / 72.0; }
double rightInches(const PdfWord& w) { return w.xMax / 72.0; }

double baselineInches(const PdfWord& w, const printing::CanvasFont& f)
{
    return w.yMax / 72.0 - printing::FontMeasure(f).descent();
}

printing::CanvasFont font(const QString& face, double points, bool bold, bool italic)
{
    printing::CanvasFont f;
    f.face = face;
    f.points = points;
    f.bold = bold;
    f.italic = italic;
    return f;
}

} // namespace postavo::testing::rpt
