#include "textdialogs.h"

namespace postavo::design {

namespace {
DesignDialogs g_none;
DesignDialogs* g_current = nullptr;
DesignDialogs* g_default = nullptr;
} // namespace

DesignDialogs& dialogs() { return g_current ? *g_current : g_default ? *g_default : g_none; }
void setDialogs(DesignDialogs* d) { g_current = d; }
void setDefaultDialogs(DesignDialogs* d) { g_default = d; }

bool DesignDialogs::chooseFont(LayoutFont*) { return false; }
bool DesignDialogs::chooseColour(TColor*) { return false; }
bool DesignDialogs::editText(QString*) { return false; }
bool DesignDialogs::text3DEffects(TGBaseLabel&) { return false; }
bool DesignDialogs::selectField(const QStringList&, QString*) { return false; }
bool DesignDialogs::counterSettings(CounterSettings*) { return false; }
bool DesignDialogs::symbolSelector(LayoutFont*, QString*) { return false; }

} // namespace postavo::design
