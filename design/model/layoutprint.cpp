#include "layoutprint.h"

#include "designhost.h"
#include "designobject.h"

namespace postavo::design {

void printSurfaceOnce(DesignHost& surface, printing::TPrintCanvas& canvas, double x, double y)
{
    const bool was = surface.isPrinting();
    surface.setPrinting(true);
    surface.refreshObjects();
    for (TGGraphicControl* o : std::vector<TGGraphicControl*>(surface.designObjects()))
        o->printObject(canvas, x, y);
    surface.setPrinting(was);
}

} // namespace postavo::design
