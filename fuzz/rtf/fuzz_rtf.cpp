// Fuzz target: any bytes as an RTF document. Reading never fails; anything that crashes, hangs
// or reads out of bounds is a fault. What was read must write back in a form that reads again
// to the very same bytes, and its first page must draw.

#include "pagedrawing.h"
#include "richdocument.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace postavo::richtext;

namespace {

void ensureApplication()
{
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

} // namespace

// Qt's font database keeps fontconfig's font patterns for the life of the process; the leak
// checker would report them at exit as if an input had leaked.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureApplication();
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));
    RichDocument doc;
    doc.loadRtf(input);
    const QByteArray once = doc.saveRtf();

    RichDocument again;
    again.loadRtf(once);
    const QByteArray twice = again.saveRtf();
    if (once != twice) {
        std::fprintf(stderr, "written RTF does not read back to the same bytes\n");
        std::abort();
    }

    QImage page(85, 110, QImage::Format_RGB32);
    QPainter painter(&page);
    drawSheet(&painter, again, QRectF(0, 0, 85, 110), 0);
    return 0;
}
