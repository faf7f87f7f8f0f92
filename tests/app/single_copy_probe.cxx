// Usage: single_copy_probe PROGRAM-FILE
// Prints "first" or "other" (then exits), and "activated" each time another copy asks it to
// come to the front. Stays running as the first copy until killed or told "quit" on stdin.
#include "singlecopy.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    postavo::SingleCopy single(QString::fromLocal8Bit(argv[1]));
    QObject::connect(&single, &postavo::SingleCopy::activationRequested, [] {
        std::printf("activated\n");
        std::fflush(stdout);
    });
    switch (single.start(5000)) {
    case postavo::SingleCopy::Outcome::Other:
        std::printf("other\n");
        return 0;
    case postavo::SingleCopy::Outcome::Failed:
        std::printf("failed %s\n", qPrintable(single.errorString()));
        return 1;
    case postavo::SingleCopy::Outcome::First:
        std::printf("first\n");
        std::fflush(stdout);
        break;
    }
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, [&] {
        char buf[64];
        if (read(STDIN_FILENO, buf, sizeof buf) <= 0 || buf[0] == 'q')
            app.quit();
    });
    return app.exec();
}
