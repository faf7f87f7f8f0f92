#include "datasurface.h"

#include "addressfile.h"

#include <QCoreApplication>

namespace postavo::design {

TGDataPanel::TGDataPanel(QWidget* parent, QObject* owner) : TGBasePanel(parent, owner) {}

void TGDataPanel::setDisplayDataValues(bool on)
{
    display_ = on;
    RefreshObjects();
}

void TGDataPanel::RefreshObjects()
{
    if (!dataset_ || !dataset_->isOpen())
        return;
    for (auto* o : std::vector<TGGraphicControl*>(designObjects()))
        o->RefreshData();
    QCoreApplication::processEvents();
}

} // namespace postavo::design
