// Fuzz target: any bytes as a layout or report file. Reading may fail with a message; anything
// that crashes, hangs or reads out of bounds is a fault. Whatever reads whole must write back in
// a form that reads again to the very same bytes.

#include "classregistry.h"
#include "designtypes.h"
#include "labelobjectfiler.h"
#include "layoutstream.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

using namespace postavo::design;

namespace {

void ensureApplication()
{
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_layout";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
    registerStandardDesignClasses();
}

QByteArray readAll(const QByteArray& data, bool* ok)
{
    QObject owner;
    ObjectList bands[3] = {ObjectList(&owner), ObjectList(&owner), ObjectList(&owner)};
    TGLabelObjectFiler filer(&owner);
    int pos = 0;
    *ok = filer.readObjectList(data, &pos, bands[0]);
    QByteArray out = TGLabelObjectFiler::objectListBytes(bands[0].designObjects());
    if (!*ok || pos >= data.size())
        return out;
    ReportSettings settings;
    *ok = filer.readObjectList(data, &pos, bands[1]) && filer.readObjectList(data, &pos, bands[2])
          && filer.readSettings(data, &pos, &settings);
    if (!*ok)
        return out;
    out += TGLabelObjectFiler::objectListBytes(bands[1].designObjects());
    out += TGLabelObjectFiler::objectListBytes(bands[2].designObjects());
    LayoutWriter w;
    TGLabelObjectFiler::writeSettings(w, settings);
    return out + w.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureApplication();
    bool ok = false;
    const QByteArray first = readAll(QByteArray(reinterpret_cast<const char*>(data), int(size)), &ok);
    if (!ok)
        return 0;
    bool again = false;
    const QByteArray second = readAll(first, &again);
    bool third = false;
    if (!again || readAll(second, &third) != second)
        std::abort();
    return 0;
}
