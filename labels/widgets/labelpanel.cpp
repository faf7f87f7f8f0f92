#include "labelpanel.h"

namespace postavo::labels {

TGLabelPanel::TGLabelPanel(QWidget* parent, QObject* owner)
    : TGDataPanel(parent, owner), rules_(*this)
{
    // The label's outline shows where its edge is on the window's background.
    DrawOutline = true;
    setObjectName(QStringLiteral("TGLabelPanel"));
}

} // namespace postavo::labels
