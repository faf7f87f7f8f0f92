#include "designwindows.h"

#include "designsurface.h"
#include "objectdialogwindows.h"
#include "textdialogwindows.h"

#include <QMessageBox>

namespace postavo::design {

void useDesignWindows()
{
    static DesignDialogWindows textWindows;
    static ObjectDialogWindows objectWindows;
    setDefaultDialogs(&textWindows);
    setDefaultObjectDialogs(&objectWindows);
    DesignSurface::setDefaultErrorReporter(
        [](const QString& message) { QMessageBox::warning(nullptr, QStringLiteral("Postavo"), message); });
}

} // namespace postavo::design
