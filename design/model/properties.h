#pragma once
// Published properties as data: one table per class, in stream order, walked by the layout
// writer, the reader and the dump. A class declares its table once; the filer never names a
// property itself.

#include "designtypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace postavo::design {

enum class PropKind {
    Integer,    // smallest integer tag
    Boolean,
    Enum,       // identifier from `names`
    Colour,     // identifier when named, else integer
    Set,        // bit i = names[i]
    Cursor,     // integer, or a cursor identifier when reading
    Text,       // string below 256 bytes, long string from 256
    StringList, // "Name.Strings": a list of strings
    Binary,     // "Name.Data": pictures
    Object,     // contained object: its own table, "Name.Inner"
};

struct PropertyDef;
using PropertyTable = std::vector<PropertyDef>;

struct PropertyDef {
    QByteArray name;
    PropKind kind = PropKind::Integer;
    const QList<QByteArray>* names = nullptr;       // Enum and Set members
    std::optional<qint64> defaultValue;             // scalar kinds: left out when equal
    // Scalars (integer, Boolean 0/1, enumeration index, colour, set bits, cursor).
    std::function<qint64(const Persistent&)> getScalar;
    std::function<void(Persistent&, qint64)> setScalar;
    std::function<QString(const Persistent&)> getText;
    std::function<void(Persistent&, const QString&)> setText;
    std::function<QStringList(const Persistent&)> getList;
    std::function<void(Persistent&, const QStringList&)> setList;
    std::function<QByteArray(const Persistent&)> getBytes;
    std::function<void(Persistent&, const QByteArray&)> setBytes;
    // Contained objects.
    std::function<Persistent*(Persistent&)> object;
    const PropertyTable* (*objectTable)() = nullptr;
    // Extra condition for writing (e.g. a font that follows its surface); empty = always.
    std::function<bool(const Persistent&)> stored;

    // Whether the writer writes this property of `p`.
    bool isStored(const Persistent& p) const;
    // The value as one line of text, for dumps (contained objects give nothing).
    QString valueText(const Persistent& p) const;
};

// The member names of the enumerations and sets the tables use.
namespace names {
extern const QList<QByteArray> alignment, highlightDirection, shadowDirection, fontPitch, fontStyle,
    penMode, penStyle, brushStyle, dateFormat, timeFormat, zipOptions, shapeType, lineStyle,
    barCodeType, fimType;
} // namespace names

// Builders. C is the class whose table it is; members are data members of C (or of a base).
template <class C>
struct Props {
    static const C& as(const Persistent& p) { return static_cast<const C&>(p); }
    static C& as(Persistent& p) { return static_cast<C&>(p); }

    template <class G, class S>
    static PropertyDef scalar(const char* name, PropKind kind, std::optional<qint64> def, G get, S set,
                              const QList<QByteArray>* names = nullptr)
    {
        PropertyDef d;
        d.name = name;
        d.kind = kind;
        d.names = names;
        d.defaultValue = def;
        d.getScalar = [get](const Persistent& p) { return qint64(get(as(p))); };
        d.setScalar = [set](Persistent& p, qint64 v) { set(as(p), v); };
        return d;
    }
    template <class M>
    static PropertyDef field(const char* name, PropKind kind, M C::*member, std::optional<qint64> def,
                             const QList<QByteArray>* names = nullptr)
    {
        return scalar(
            name, kind, def, [member](const C& c) { return qint64(c.*member); },
            [member](C& c, qint64 v) { c.*member = static_cast<M>(v); }, names);
    }
    static PropertyDef integer(const char* name, int C::*m, std::optional<qint64> def)
    {
        return field(name, PropKind::Integer, m, def);
    }
    static PropertyDef boolean(const char* name, bool C::*m, std::optional<qint64> def)
    {
        return field(name, PropKind::Boolean, m, def);
    }
    static PropertyDef enumeration(const char* name, int C::*m, const QList<QByteArray>& names,
                                   std::optional<qint64> def)
    {
        return field(name, PropKind::Enum, m, def, &names);
    }
    static PropertyDef colour(const char* name, TColor C::*m, std::optional<qint64> def)
    {
        return field(name, PropKind::Colour, m, def);
    }
    static PropertyDef text(const char* name, QString C::*m)
    {
        PropertyDef d;
        d.name = name;
        d.kind = PropKind::Text;
        d.getText = [m](const Persistent& p) { return as(p).*m; };
        d.setText = [m](Persistent& p, const QString& v) { as(p).*m = v; };
        return d;
    }
    static PropertyDef stringList(const char* name, QStringList C::*m)
    {
        PropertyDef d;
        d.name = name;
        d.kind = PropKind::StringList;
        d.getList = [m](const Persistent& p) { return as(p).*m; };
        d.setList = [m](Persistent& p, const QStringList& v) { as(p).*m = v; };
        return d;
    }
    static PropertyDef picture(const char* name, LayoutPicture C::*m)
    {
        PropertyDef d;
        d.name = name;
        d.kind = PropKind::Binary;
        d.getBytes = [m](const Persistent& p) { return (as(p).*m).data; };
        d.setBytes = [m](Persistent& p, const QByteArray& v) { (as(p).*m).data = v; };
        return d;
    }
    template <class T>
    static PropertyDef object(const char* name, T C::*m, const PropertyTable* (*table)())
    {
        PropertyDef d;
        d.name = name;
        d.kind = PropKind::Object;
        d.object = [m](Persistent& p) -> Persistent* { return &(as(p).*m); };
        d.objectTable = table;
        return d;
    }
};

// The tables of the contained objects.
const PropertyTable* fontProperties();
const PropertyTable* penProperties();
const PropertyTable* brushProperties();

// Looks a property up by name, letter case ignored; null when the table has none.
const PropertyDef* findProperty(const PropertyTable& table, const QByteArray& name);

} // namespace postavo::design
