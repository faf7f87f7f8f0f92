// bench_richtext [--letters N] [--out FILE.pdf] [--letter FILE.rtf]
// Times what a letter print run does for every record: copy the letter, replace its 25 merge
// tokens with the record's values (the name and address block on several lines), and draw its
// page into one PDF. Then the RTF reader and writer on a document of a few hundred pages.

#include "pagedrawing.h"
#include "richdocument.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

using namespace postavo::richtext;

namespace {

const char* const kTokens[] = {
    "Full Name", "First", "Last", "Middle", "Prefix", "Title", "Organization", "Street", "Street 2",
    "City+State+Zip", "City", "State", "Province", "Zip", "Postal Code", "Country", "Phone", "Phone 2",
    "Fax", "E-Mail", "Today's Date", "Long Date", "Name and Address", "Comment 1", "Comment 2",
};

QString valueFor(int token, int record)
{
    const QString n = QString::number(record);
    switch (token) {
    case 0: return QStringLiteral("Ms. Ann Q. Reader%1 ").arg(n);
    case 22:
        return QStringLiteral("Ms. Ann Q. Reader%1 \r\nLibrarian,  Harbor School\r\n%1 Main Street\r\nSuite 4\r\nBoston MA  02134\r\n").arg(n);
    case 9: return QStringLiteral("Boston MA 02134");
    case 10: return QStringLiteral("Boston");
    case 11: case 12: return QStringLiteral("MA");
    case 20: return QStringLiteral("12/09/2024");
    case 21: return QStringLiteral("Dec 9, 2024");
    default: return QStringLiteral("value %1 of %2").arg(token).arg(n);
    }
}

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int letters = 1000;
    QString out;
    QString letterPath = QStringLiteral(POSTAVO_SOURCE_DIR "/tests/richtext/data/letter.rtf");
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--letters"))
            letters = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
        else if (args[i] == QLatin1String("--letter"))
            letterPath = args[i + 1];
    }
    QTemporaryDir tmp;
    if (out.isEmpty())
        out = tmp.filePath(QStringLiteral("letters.pdf"));

    QFile file(letterPath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(letterPath));
        return 1;
    }
    QByteArray rtf = file.readAll();
    // A one-page letter: the sample's second page is left out.
    const qsizetype pageBreak = rtf.indexOf("\\page");
    if (pageBreak > 0)
        rtf = rtf.left(pageBreak) + "}";

    QElapsedTimer total;
    total.start();
    RichDocument letter;
    letter.loadRtf(rtf);
    RichDocument work;
    double copyMs = 0, mergeMs = 0, drawMs = 0;
    int pages = 0;
    {
        QPdfWriter writer(out);
        writer.setResolution(1200);
        writer.setPageLayout(letter.pageLayout().toQPageLayout());
        QPainter painter(&writer);
        for (int r = 0; r < letters; ++r) {
            QElapsedTimer t;
            t.start();
            work.copyFrom(letter);
            copyMs += ms(t);
            t.restart();
            for (int k = 0; k < 25; ++k)
                work.replaceAll(QLatin1Char('[') + QLatin1String(kTokens[k]) + QLatin1Char(']'), valueFor(k, r));
            mergeMs += ms(t);
            t.restart();
            pages += printDocument(&painter, &writer, work, r > 0);
            drawMs += ms(t);
        }
        QElapsedTimer t;
        t.start();
        painter.end();
        drawMs += ms(t);
    }
    const double runMs = ms(total);
    std::printf("letters to PDF: %d letters, %d pages in %.0f ms (%.2f ms a letter: copy %.2f, merge %.2f, draw %.2f)\n",
                letters, pages, runMs, runMs / letters, copyMs / letters, mergeMs / letters, drawMs / letters);
    std::printf("  PDF %s: %lld bytes\n", qPrintable(out), QFile(out).size());

    // The reader and writer on a large document: the letter body many times over.
    QByteArray big = rtf.left(rtf.lastIndexOf('}'));
    const qsizetype bodyStart = rtf.indexOf("\\pard\\plain");
    const QByteArray body = rtf.mid(bodyStart, rtf.lastIndexOf('}') - bodyStart);
    for (int i = 0; i < 500; ++i)
        big += body;
    big += "}";
    QElapsedTimer t;
    t.start();
    RichDocument large;
    large.loadRtf(big);
    const double readMs = ms(t);
    t.restart();
    const QByteArray written = large.saveRtf();
    const double writeMs = ms(t);
    t.restart();
    const int count = pageCount(large);
    const double layoutMs = ms(t);
    std::printf("large document: %.1f MB read in %.0f ms (%.1f MB/s), written (%.1f MB) in %.0f ms, laid out in %.0f ms (%d pages)\n",
                big.size() / 1e6, readMs, big.size() / 1e3 / readMs, written.size() / 1e6, writeMs, layoutMs, count);
    return 0;
}
