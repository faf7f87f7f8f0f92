#include "rulerticks.h"

namespace postavo::design::ruler {

std::vector<Tick> ticks(int ppi, int width, int height, double startInch)
{
    std::vector<Tick> out;
    const int s = step(ppi);
    if (s <= 0)
        return out;
    const int q = height / 4;
    int i = int(startInch * 16);
    for (int x = 0; x < width; x += s, ++i) {
        Tick t{x, q, -1};
        if (i % 8 == 0)
            t.bottom = 2 * q;
        if (i % 16 == 0) {
            t.bottom = height;
            if (i != 0)
                t.number = i / 16;
        }
        out.push_back(t);
    }
    return out;
}

} // namespace postavo::design::ruler
