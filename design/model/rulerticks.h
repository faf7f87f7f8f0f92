#pragma once
// The inch ruler's ticks: one every sixteenth of an inch (the pixel step cut to a whole number),
// longer at half inches, full height and numbered at whole inches.

#include <vector>

namespace postavo::design::ruler {

struct Tick {
    int x;          // pixels from the ruler's left end
    int bottom;     // the tick runs from y 1 down to here
    int number;     // the inch written beside it, or -1
};

// s = ppi div 16 pixels per step, q = height div 4; step i counts from Trunc(startInch x 16).
std::vector<Tick> ticks(int ppi, int width, int height, double startInch);
inline int step(int ppi) { return ppi / 16; }

} // namespace postavo::design::ruler
