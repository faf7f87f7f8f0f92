// bench_label_search [CSV]: loads the label stock catalogue and times the searches a user
// types, the template window's selections, and loading itself.
#include "labelstockcatalogue.h"
#include "shippedcatalogues.h"

#include <QElapsedTimer>
#include <cstdio>

using namespace postavo;
using namespace postavo::labels;

int main(int argc, char** argv)
{
    const QString csv = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(POSTAVO_SOURCE_DIR "/data/lbltpl.csv");
    QElapsedTimer t;
    t.start();
    const auto read = readLabelTemplateCsv(csv);
    if (!read.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(read.error));
        return 1;
    }
    const LabelStockCatalogue catalogue = LabelStockCatalogue::fromRows(read.rows);
    std::printf("rows %d, read and prepared in %.3f ms\n", catalogue.size(), t.nsecsElapsed() / 1e6);

    const char* queries[] = {"5160", "L7160", "avery 8160", "3474", "dymo", "herma 4", "zz"};
    for (const char* q : queries) {
        const int rounds = 1000;
        size_t found = 0;
        t.restart();
        for (int i = 0; i < rounds; ++i)
            found = catalogue.search(QString::fromLatin1(q)).size();
        std::printf("search %-12s %3zu rows  %8.1f us each\n", q, found, t.nsecsElapsed() / 1e3 / rounds);
    }
    t.restart();
    const int rounds = 1000;
    size_t found = 0;
    for (int i = 0; i < rounds; ++i)
        found = catalogue.select(QStringLiteral("Avery Laserjet"), QStringLiteral("All"), false).size();
    std::printf("select Avery Laserjet / All  %zu rows  %8.1f us each\n", found, t.nsecsElapsed() / 1e3 / rounds);
    return 0;
}
