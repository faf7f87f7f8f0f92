#include "pdfreading.h"

#include "testsupport.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>

namespace postavo::testing {

PdfGray renderPdfGray(const QString& pdf, int x, int y, int w, int h, const QString& workDir, int dpi)
{
    int rc = 0;
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-x"), QString::number(x),
             QStringLiteral("-y"), QString::number(y), QStringLiteral("-W"), QString::number(w), QStringLiteral("-H"),
             QString::number(h), QStringLiteral("-singlefile"), pdf, workDir + QStringLiteral("/crop")},
            &rc);
    QFile f(workDir + QStringLiteral("/crop.pgm"));
    PdfGray g;
    if (rc != 0 || !f.open(QIODevice::ReadOnly))
        return g;
    // P5\n<w> <h>\n255\n<bytes>
    const QByteArray all = f.readAll();
    const QList<QByteArray> head = all.left(64).split('\n');
    if (head.size() < 3)
        return g;
    const QList<QByteArray> size = head.value(1).split(' ');
    g.x0 = x;
    g.y0 = y;
    g.w = size.value(0).toInt();
    g.h = size.value(1).toInt();
    g.pixels = all.mid(head[0].size() + head[1].size() + head[2].size() + 3);
    if (g.pixels.size() != g.w * g.h)
        g = {};
    return g;
}

std::vector<DarkRun> runsOnRow(const PdfGray& g, int y)
{
    std::vector<DarkRun> runs;
    for (int x = g.x0; x < g.x0 + g.w; ++x) {
        if (!g.dark(x, y))
            continue;
        int e = x;
        while (g.dark(e, y))
            ++e;
        runs.push_back({x, e});
        x = e;
    }
    return runs;
}

int columnHeight(const PdfGray& g, int x, int yFrom)
{
    int top = yFrom, bottom = yFrom;
    while (g.dark(x, top - 1))
        --top;
    while (g.dark(x, bottom))
        ++bottom;
    return bottom - top;
}

std::vector<PdfWord> pdfWords(const QString& pdf)
{
    int rc = 0;
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, &rc);
    std::vector<PdfWord> out;
    static const QRegularExpression re(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4).toDouble(), m.captured(5)});
    }
    return out;
}

const PdfWord* findWord(const std::vector<PdfWord>& words, const QString& text)
{
    for (const PdfWord& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

QString pdfInfo(const QString& pdf)
{
    int rc = 0;
    return runTool(QStringLiteral("pdfinfo"), {pdf}, &rc);
}

} // namespace postavo::testing
