#pragma once
// Prints the objects of one surface once, filled with the current record of its dataset: what
// every label, envelope and band print does per item, and what the batch tool's render uses.

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::design {

class DesignHost;

// Marks the surface as printing, refreshes every object from the dataset, prints them in
// z-order with the surface's top-left corner at (x, y) inches, and ends the printing mark.
void printSurfaceOnce(DesignHost& surface, printing::TPrintCanvas& canvas, double x, double y);

} // namespace postavo::design
