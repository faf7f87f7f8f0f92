#include "support_addressfile.h"

namespace postavo::test {

bool makeAddressFile(const QString& path, int count, const std::function<void(AddressTable&, int)>& fill)
{
    ScriptedUi ui;
    if (!CreateAddressFile(path, defaultFieldLengths(), ui))
        return false;
    AddressTable t;
    if (!t.open(path))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!t.insert())
            return false;
        if (fill)
            fill(t, i);
        if (!t.post())
            return false;
    }
    t.close();
    return true;
}

} // namespace postavo::test
