#pragma once
// The design object classes a layout reader knows, by the class name files carry. A new object
// class registers a factory here and declares its property table; nothing else changes.

#include <QByteArray>
#include <QList>
#include <functional>

namespace postavo::design {

class TGGraphicControl;

using DesignFactory = std::function<TGGraphicControl*()>;

// Registers (or replaces) a class. Names are compared without regard to letter case.
void registerDesignClass(const QByteArray& name, DesignFactory factory);
// The factory of a registered class, or null.
const DesignFactory* findDesignClass(const QByteArray& name);
QList<QByteArray> registeredDesignClasses();
// Registers the classes layout files hold (the fifteen of old and the Intelligent Mail barcode).
void registerStandardDesignClasses();

} // namespace postavo::design
