#include "passprogress.h"

namespace postavo {

int progressBarPosition(quint64 done, quint64 total)
{
    if (total == 0)
        return -1;
    const quint64 p = done * 100 / total;
    return p > 0 && p < 100 ? int(p) : -1;
}

} // namespace postavo
