#include "support_addressfile.h"

#include "engine/recordengine.h"

#include <QFile>

namespace postavo::test {

bool makeAddressFile(const QString& path, int count, const std::function<void(AddressTable&, int)>& fill)
{
    ScriptedUi ui;
    if (!CreateAddressFile(path, defaultFieldLengths(), ui))
        return false;
    AddressTable t;
    if (!t.open(path))
        return false;
    // Many records go in without the index, which is then built once: the quick way in.
    const bool bulk = count > 200;
    if (bulk) {
        const std::string index = t.engineTable()->indexPath();
        t.engineTable()->closeIndexes();
        QFile::remove(QFile::decodeName(index.c_str()));
    }
    for (int i = 0; i < count; ++i) {
        if (!t.insert())
            return false;
        if (fill)
            fill(t, i);
        if (!t.post())
            return false;
    }
    if (bulk && !BuildAddressTags(t))
        return false;
    t.close();
    return true;
}

} // namespace postavo::test
