#include "objectdialogs.h"

namespace postavo::design {

namespace {
ObjectDialogs g_none;
ObjectDialogs* g_current = nullptr;
ObjectDialogs* g_default = nullptr;
} // namespace

ObjectDialogs& objectDialogs() { return g_current ? *g_current : g_default ? *g_default : g_none; }
void setObjectDialogs(ObjectDialogs* d) { g_current = d; }
void setDefaultObjectDialogs(ObjectDialogs* d) { g_default = d; }

bool ObjectDialogs::multiLineText(QStringList*, const LayoutFont&) { return false; }
bool ObjectDialogs::addressLayout(addressblock::Options*) { return false; }
bool ObjectDialogs::loadImage(ImageChoice*) { return false; }

} // namespace postavo::design
