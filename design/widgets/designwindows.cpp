#include "designwindows.h"

#include "designsurface.h"
#include "intelligentmaildialogwindow.h"
#include "objectdialogwindows.h"
#include "textdialogwindows.h"

#include <QMessageBox>

namespace postavo::design {

void useDesignWindows()
{
    static DesignDialogWindows textWindows;
    static ObjectDialogWindows objectWindows;
    static IntelligentMailDialogWindows intelligentMailWindows;
    setDefaultDialogs(&textWindows);
    setDefaultObjectDialogs(&objectWindows);
    setDefaultIntelligentMailDialogs(&intelligentMailWindows);
    DesignSurface::setDefaultErrorReporter(
        [](const QString& message) { QMessageBox::warning(nullptr, QStringLiteral("Postavo"), message); });
}

} // namespace postavo::design
