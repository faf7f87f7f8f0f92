#include "classregistry.h"

#include <QMap>

namespace postavo::design {

namespace {
struct Entry {
    QByteArray name;
    DesignFactory factory;
};
QList<Entry>& registry()
{
    static QList<Entry> list;
    return list;
}
} // namespace

void registerDesignClass(const QByteArray& name, DesignFactory factory)
{
    for (auto& e : registry())
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
            e.factory = std::move(factory);
            return;
        }
    registry().append({name, std::move(factory)});
}

const DesignFactory* findDesignClass(const QByteArray& name)
{
    for (const auto& e : registry())
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e.factory;
    return nullptr;
}

QList<QByteArray> registeredDesignClasses()
{
    QList<QByteArray> names;
    for (const auto& e : registry())
        names << e.name;
    return names;
}

} // namespace postavo::design
