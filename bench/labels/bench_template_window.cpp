// bench_template_window: the template window's work over the shipped LBLTPL.DBF: opening it (the
// catalogue read for the search), the query the record engine runs for each change of the maker,
// product type or paper choice, and a search as the user types it.
#include "labelsheet.h"
#include "shippedtables.h"
#include "templateselection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace postavo;
using namespace postavo::labels;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString error;
    if (!buildShippedTables(QStringLiteral(POSTAVO_SOURCE_DIR "/data"), dir.path(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer t;
    const int opens = 20;
    t.start();
    for (int i = 0; i < opens; ++i) {
        TemplateSelection s(dir.path());
        if (!s.open(&error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        s.start(newLayoutDefaults());
    }
    std::printf("open and first query        %8.2f ms each\n", t.nsecsElapsed() / 1e6 / opens);

    TemplateSelection s(dir.path());
    s.open(&error);
    s.start(newLayoutDefaults());
    const int rounds = 200;
    t.restart();
    size_t rows = 0;
    for (int i = 0; i < rounds; ++i) {
        s.setManufacturer(i % s.manufacturerEntries().size());
        s.setProductType(i % s.productTypeEntries().size());
        rows += s.rows().size();
    }
    std::printf("query per list change       %8.2f ms each (%.0f rows on average)\n",
                t.nsecsElapsed() / 1e6 / (2 * rounds), double(rows) / rounds);
    t.restart();
    const char* typed[] = {"5", "51", "516", "5160"};
    for (int i = 0; i < rounds; ++i)
        for (const char* q : typed)
            s.setSearchText(QString::fromLatin1(q));
    std::printf("search per key typed        %8.3f ms each (%zu rows for 5160)\n",
                t.nsecsElapsed() / 1e6 / (4 * rounds), s.rows().size());
    return 0;
}
