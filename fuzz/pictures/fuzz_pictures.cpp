// Fuzz target: any bytes as a picture file (through the image decoder and the picture loader's
// content rules) and as a layout's "Picture.Data" payload, drawn at a small size. Failing with
// nothing is fine; crashing, hanging or reading out of bounds is a fault.

#include "picturedecoder.h"

#include <QGuiApplication>
#include <cstdint>

using namespace postavo::design::pictures;

namespace {
void ensureApplication()
{
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_pictures";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QString error;
    (void)decodeImageData(bytes, &error);
    (void)dibToBmpFile(bytes);
    (void)metafileInches(bytes);
    const Picture p = fromPayload(bytes, &error);
    if (!p.isEmpty()) {
        (void)render(p, QSize(32, 32), 96.0, &error);
        (void)toPayload(p);
    }
    return 0;
}
