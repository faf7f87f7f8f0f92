// bench_letters [N] [--letter FILE.rtf] [--out FILE.pdf]: a letter (the rich-text sample's first
// page, with merge tokens) stored in a letter catalogue, loaded back, and printed merged with
// each of N generated address records (1 000 by default) into one PDF file, as the print run and
// the batch tool do it. Prints the time, the processor time and the resident memory every tenth
// of the way, so that memory growing with the letters shows.
#include "addressfields.h"
#include "addressfile.h"
#include "benchmeasure.h"
#include "lettercatalogue.h"
#include "letterrun.h"
#include "richdocument.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace postavo;
using namespace postavo::letters;
using namespace postavo::bench;

namespace {

bool makeRecords(const QString& path, int n)
{
    QuietUi ui;
    if (!CreateAddressFile(path, defaultFieldLengths(), ui))
        return false;
    AddressTable t;
    if (!t.open(path))
        return false;
    static const char* first[] = {"Ada", "Charles", "Grace", "Alan", "Edsger", "Barbara", "Donald", "Frances"};
    static const char* last[] = {"Lovelace", "Babbage", "Hopper", "Turing", "Dijkstra", "Liskov", "Knuth", "Allen"};
    static const char* city[] = {"Springfield", "Boston", "Arlington", "Portland", "Madison", "Austin"};
    static const char* state[] = {"IL", "MA", "VA", "OR", "WI", "TX"};
    for (int i = 0; i < n; ++i) {
        if (!t.insert())
            return false;
        t.setValue(QStringLiteral("PREFIX"), i % 2 ? QStringLiteral("Ms.") : QStringLiteral("Mr."));
        t.setValue(QStringLiteral("FNAME"), QString::fromLatin1(first[i % 8]));
        t.setValue(QStringLiteral("MIDDLE"), QString(QChar('A' + i % 26)));
        t.setValue(QStringLiteral("LNAME"), QString::fromLatin1(last[(i / 8) % 8]));
        t.setValue(QStringLiteral("TITLE"), QStringLiteral("Director"));
        t.setValue(QStringLiteral("ORG"), QStringLiteral("Company %1").arg(i));
        t.setValue(QStringLiteral("STREET"), QStringLiteral("%1 Main St").arg(100 + i % 900));
        t.setValue(QStringLiteral("STREET2"), QStringLiteral("Apt %1").arg(i % 40));
        t.setValue(QStringLiteral("CITY"), QString::fromLatin1(city[i % 6]));
        t.setValue(QStringLiteral("STATE"), QString::fromLatin1(state[i % 6]));
        t.setValue(QStringLiteral("ZIP"), QStringLiteral("%1").arg(10000 + (i * 37) % 89999, 5, 10, QLatin1Char('0')));
        t.setValue(QStringLiteral("PHONE"), QStringLiteral("555-%1").arg(1000 + i % 9000));
        t.setValue(QStringLiteral("USER1"), QStringLiteral("comment %1").arg(i));
        if (!t.post())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int n = 1000;
    QString out;
    QString letterPath = QStringLiteral(POSTAVO_SOURCE_DIR "/tests/richtext/data/letter.rtf");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--letter") && i + 1 < args.size())
            letterPath = args[++i];
        else if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else
            n = args[i].toInt();
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

    const QString data = tmp.filePath(QStringLiteral("add0001.dbf"));
    if (!makeRecords(data, n)) {
        std::fprintf(stderr, "cannot make the address file\n");
        return 1;
    }
    LetterCatalogue catalogue(tmp.path());
    LetterEntry entry{0, QStringLiteral("Benchmark")};
    QString error;
    if (!catalogue.open(&error) || !catalogue.saveLetterText(&entry, rtf)) {
        std::fprintf(stderr, "cannot store the letter: %s\n", qPrintable(error + catalogue.lastError()));
        return 1;
    }
    richtext::RichDocument letter;
    catalogue.loadRichText(entry.recno, letter);

    AddressTable table;
    if (!table.open(data, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const long startKb = residentKb();
    LetterRun run(letter, table, {LetterRecords::All, false, {}, 1});
    if (!run.position(0, nullptr, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = cpuSeconds();
    int records = 0;
    LetterRun::Hooks hooks;
    hooks.status = [&](int pages) {
        if (++records % std::max(1, n / 10) == 0)
            std::printf("  %5d letters  %7.0f ms  resident %6ld kB\n", pages, double(timer.elapsed()), residentKb());
    };
    if (!printLettersToPdf(run, letter.pageLayout(), out, &error, hooks)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double ms = double(timer.elapsed());
    std::printf("letters to PDF: %d letters, %d pages in %.0f ms (%.2f ms a letter, processor %.1f s)\n", run.letters(),
                run.pages(), ms, ms / std::max(1, run.letters()), cpuSeconds() - cpu0);
    std::printf("  resident before %ld kB, after %ld kB, peak %ld kB; PDF %lld bytes\n", startKb, residentKb(), peakKb(),
                QFile(out).size());
    return 0;
}
