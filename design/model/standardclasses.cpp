// The classes layout files hold, registered under the names the files carry: the fifteen the
// designers have always written and the Intelligent Mail barcode.
#include "classregistry.h"

#include "composedtextobjects.h"
#include "fimbarcode.h"
#include "intelligentmailbarcode.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "shapeobjects.h"

namespace postavo::design {

namespace {
template <class T>
void add()
{
    const T probe;
    registerDesignClass(probe.className(), [] { return new T; });
}
} // namespace

void registerStandardDesignClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    add<TGPLabel>();
    add<TGPDLabel>();
    add<TGCounterLabel>();
    add<TGSymbolLabel>();
    add<TGDateTimeLabel>();
    add<TGPageNumberLabel>();
    add<TGMultiLineLabel>();
    add<TGDMultiLineLabel>();
    add<TGDMultiLineAddressLabel>();
    add<TGLabelShapes>();
    add<Trpshapes>();
    add<TGLineShape>();
    add<TGImage>();
    add<TGPostNetBarCode>();
    add<TGFIMBarCode>();
    add<TGIntelligentMailBarCode>();
}

} // namespace postavo::design
