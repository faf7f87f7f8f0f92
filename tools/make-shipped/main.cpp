// postavo-make-shipped CSV-DIR OUT-DIR: builds LBLTPL.DBF and CSZ.DBF from their text sources.
#include "shippedtables.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: postavo-make-shipped CSV-DIR OUT-DIR\n");
        return 2;
    }
    QString error;
    if (!postavo::buildShippedTables(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), &error)) {
        std::fprintf(stderr, "postavo-make-shipped: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
