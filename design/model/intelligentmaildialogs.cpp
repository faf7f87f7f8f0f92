#include "intelligentmaildialogs.h"

namespace postavo::design {

namespace {
IntelligentMailDialogs g_none;
IntelligentMailDialogs* g_current = nullptr;
IntelligentMailDialogs* g_default = nullptr;
} // namespace

IntelligentMailDialogs& intelligentMailDialogs() { return g_current ? *g_current : g_default ? *g_default : g_none; }
void setIntelligentMailDialogs(IntelligentMailDialogs* d) { g_current = d; }
void setDefaultIntelligentMailDialogs(IntelligentMailDialogs* d) { g_default = d; }

bool IntelligentMailDialogs::editSettings(IntelligentMailSettings*) { return false; }

} // namespace postavo::design
