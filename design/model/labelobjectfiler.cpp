#include "labelobjectfiler.h"

#include "classregistry.h"
#include "cp1252.h"
#include "designobject.h"
#include "filewriting.h"
#include "layoutstream.h"

#include <QDir>
#include <QFile>
#include <memory>

namespace postavo::design {

namespace {

struct CursorName {
    const char* name;
    int value;
};
const CursorName kCursors[] = {
    {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4},
    {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
    {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22},
};

const char kSignature[] = "TPF0";

void writeProperties(LayoutWriter& w, const Persistent& p, const PropertyTable& table, const QByteArray& prefix)
{
    for (const auto& d : table) {
        if (!d.isStored(p))
            continue;
        const QByteArray path = prefix + d.name;
        switch (d.kind) {
        case PropKind::Object:
            writeProperties(w, *d.object(const_cast<Persistent&>(p)), *d.objectTable(), path + '.');
            break;
        case PropKind::StringList:
            w.shortString(path + ".Strings");
            w.listBegin();
            for (const QString& line : d.getList(p))
                w.string(toCp1252Bytes(line));
            w.listEnd();
            break;
        case PropKind::Binary:
            w.shortString(path + ".Data");
            w.binary(d.getBytes(p));
            break;
        case PropKind::Text:
            w.shortString(path);
            w.string(toCp1252Bytes(d.getText(p)));
            break;
        case PropKind::Boolean:
            w.shortString(path);
            w.boolean(d.getScalar(p) != 0);
            break;
        case PropKind::Enum: {
            const qint64 v = d.getScalar(p);
            w.shortString(path);
            if (d.names && v >= 0 && v < d.names->size())
                w.ident(d.names->at(int(v)));
            else
                w.integer(v);
            break;
        }
        case PropKind::Colour: {
            const TColor c = TColor(d.getScalar(p));
            const QByteArray name = colourName(c);
            w.shortString(path);
            if (name.isEmpty())
                w.integer(c);
            else
                w.ident(name);
            break;
        }
        case PropKind::Cursor: {
            const qint64 v = d.getScalar(p);
            w.shortString(path);
            const CursorName* known = nullptr;
            for (const auto& c : kCursors)
                if (c.value == v)
                    known = &c;
            if (known)
                w.ident(known->name);
            else
                w.integer(v);
            break;
        }
        case PropKind::Set: {
            QList<QByteArray> members;
            const qint64 v = d.getScalar(p);
            for (int i = 0; d.names && i < d.names->size(); ++i)
                if (v & (qint64(1) << i))
                    members << d.names->at(i);
            w.shortString(path);
            w.set(members);
            break;
        }
        case PropKind::Integer:
            w.shortString(path);
            w.integer(d.getScalar(p));
            break;
        }
    }
}

[[noreturn]] void noSuchProperty() { throw StreamError{QStringLiteral("Property does not exist")}; }

int nameIndex(const QList<QByteArray>* names, const QByteArray& name)
{
    for (int i = 0; names && i < names->size(); ++i)
        if (names->at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throwInvalidValue();
}

void readValue(LayoutReader& r, Persistent& target, const PropertyDef& d)
{
    const quint8 tag = r.valueTag();
    switch (d.kind) {
    case PropKind::Integer:
        d.setScalar(target, r.integerAfter(tag));
        return;
    case PropKind::Cursor:
        if (tag == vaIdent) {
            const QByteArray n = r.shortString();
            for (const auto& c : kCursors)
                if (n.compare(c.name, Qt::CaseInsensitive) == 0) {
                    d.setScalar(target, c.value);
                    return;
                }
            throwInvalidValue();
        }
        d.setScalar(target, r.integerAfter(tag));
        return;
    case PropKind::Boolean:
        if (tag != vaFalse && tag != vaTrue)
            throwInvalidValue();
        d.setScalar(target, tag == vaTrue ? 1 : 0);
        return;
    case PropKind::Enum:
        if (tag != vaIdent)
            throwInvalidValue();
        d.setScalar(target, nameIndex(d.names, r.shortString()));
        return;
    case PropKind::Colour:
        if (tag == vaIdent) {
            TColor c = 0;
            if (!colourFromName(r.shortString(), &c))
                throwInvalidValue();
            d.setScalar(target, c);
            return;
        }
        d.setScalar(target, TColor(r.integerAfter(tag)));
        return;
    case PropKind::Set: {
        if (tag != vaSet)
            throwInvalidValue();
        qint64 bits = 0;
        for (const QByteArray& m : r.setAfter())
            bits |= qint64(1) << nameIndex(d.names, m);
        d.setScalar(target, bits);
        return;
    }
    case PropKind::Text:
        d.setText(target, fromCp1252(r.stringAfter(tag)));
        return;
    case PropKind::StringList: {
        if (tag != vaList)
            throwInvalidValue();
        QStringList lines;
        while (!r.endOfList())
            lines << fromCp1252(r.stringAfter(r.valueTag()));
        r.byte();
        d.setList(target, lines);
        return;
    }
    case PropKind::Binary:
        if (tag != vaBinary)
            throwInvalidValue();
        d.setBytes(target, r.binaryAfter());
        return;
    case PropKind::Object:
        throwInvalidValue();
    }
}

// Reads the value of the property at `path` (parts resolved without regard to letter case).
void readProperty(LayoutReader& r, TGGraphicControl& object, const QByteArray& path)
{
    const QList<QByteArray> parts = path.split('.');
    Persistent* target = &object;
    const PropertyTable* table = &object.properties();
    for (int i = 0; i < parts.size(); ++i) {
        const PropertyDef* d = findProperty(*table, parts[i]);
        const bool last = i == parts.size() - 1;
        if (!d) {
            // A handler reference whose method is gone is skipped, as the reader always did.
            if (parts.size() == 1 && parts[0].size() > 2 && parts[0].left(2).compare("On", Qt::CaseInsensitive) == 0
                && r.peek() == vaIdent) {
                r.byte();
                r.shortString();
                return;
            }
            noSuchProperty();
        }
        if (d->kind == PropKind::Object) {
            if (last)
                noSuchProperty();
            target = d->object(*target);
            table = d->objectTable();
            continue;
        }
        if (d->kind == PropKind::StringList || d->kind == PropKind::Binary) {
            const char* inner = d->kind == PropKind::StringList ? "Strings" : "Data";
            if (i != parts.size() - 2 || parts[i + 1].compare(inner, Qt::CaseInsensitive) != 0)
                noSuchProperty();
        } else if (!last) {
            noSuchProperty();
        }
        readValue(r, *target, *d);
        return;
    }
}

} // namespace

// ---- names ----

bool ownerHasName(QObject* owner, const QString& name, const QObject* except)
{
    if (!owner || name.isEmpty())
        return false;
    for (const QObject* child : owner->children())
        if (child != except && child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString uniqueComponentName(QObject* owner, const QString& base, int first)
{
    for (int n = first; n <= 1000; ++n) {
        const QString name = base + QString::number(n);
        if (!ownerHasName(owner, name))
            return name;
    }
    return {};
}

// ---- report settings ----

const char* ReportSettings::kinds() { return "IIIIIIIIIBBBBSIBBISIBBBBBBIIIBBBBIIIBBBBIIIBBBBIII"; }

ReportSettings ReportSettings::defaults(double ppi)
{
    ReportSettings s;
    auto thousandths = [](double inches) { return int(inches * 1000.0 + 1e-9); };
    const int band = int(33.0 / ppi * 1000.0);
    for (int v : {thousandths(8.5), thousandths(11.0), 500, 500, 500, 500, band, band, band})
        s.values.push_back(v);
    for (bool b : {true, true, false, false})
        s.values.push_back(b);
    s.values.push_back(QStringLiteral("Arial"));
    s.values.push_back(10);
    s.values.push_back(false);
    s.values.push_back(false);
    s.values.push_back(0);
    s.values.push_back(QStringLiteral("Arial"));
    s.values.push_back(10);
    s.values.push_back(false);
    s.values.push_back(false);
    for (int g = 0; g < 4; ++g) {
        for (int i = 0; i < 4; ++i)
            s.values.push_back(false);
        for (int i = 0; i < 3; ++i)
            s.values.push_back(0);
    }
    return s;
}

// ---- writing ----

void TGLabelObjectFiler::writeObjectRecord(LayoutWriter& w, const TGGraphicControl& object)
{
    w.bytes().append(kSignature, 4);
    w.shortString(object.className());
    w.shortString(toCp1252Bytes(object.name()));
    writeProperties(w, object, object.properties(), {});
    w.byte(0);
    w.byte(0);
}

QByteArray TGLabelObjectFiler::objectListBytes(const std::vector<TGGraphicControl*>& objects)
{
    LayoutWriter w;
    w.listBegin();
    for (const auto* o : objects)
        writeObjectRecord(w, *o);
    w.listEnd();
    return w.bytes();
}

void TGLabelObjectFiler::writeSettings(LayoutWriter& w, const ReportSettings& settings)
{
    const ReportSettings fallback = ReportSettings::defaults(screenPpi());
    w.listBegin();
    for (int i = 0; i < ReportSettings::kCount; ++i) {
        const QVariant v = i < int(settings.values.size()) ? settings.values[i] : fallback.values[i];
        switch (ReportSettings::kinds()[i]) {
        case 'I': w.integer(v.toLongLong()); break;
        case 'B': w.boolean(v.toBool()); break;
        default: w.string(toCp1252Bytes(v.toString())); break;
        }
    }
    w.listEnd();
}

bool TGLabelObjectFiler::writeFile(const QString& path, const QByteArray& bytes)
{
    error_.clear();
    // The old file stays whole until the new one is complete.
    if (!replaceFileWith(path, bytes, nullptr)) {
        error_ = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool TGLabelObjectFiler::writeSurface(const DesignHost& surface, const QString& path)
{
    return writeFile(path, objectListBytes(surface.designObjects()));
}

bool TGLabelObjectFiler::writeSelection(const std::vector<TGGraphicControl*>& selection, const QString& path)
{
    if (selection.empty())
        return true;
    return writeFile(path, objectListBytes(selection));
}

bool TGLabelObjectFiler::writeObject(const TGGraphicControl* object, const QString& path)
{
    return writeFile(path, objectListBytes({const_cast<TGGraphicControl*>(object)}));
}

bool TGLabelObjectFiler::writeReport(const DesignHost& header, const DesignHost& detail, const DesignHost& footer,
                                     const ReportSettings& settings, const QString& path)
{
    LayoutWriter w;
    for (const DesignHost* band : {&header, &detail, &footer}) {
        w.listBegin();
        for (const auto* o : band->designObjects())
            writeObjectRecord(w, *o);
        w.listEnd();
    }
    writeSettings(w, settings);
    return writeFile(path, w.bytes());
}

// ---- reading ----

bool TGLabelObjectFiler::readFile(const QString& path, QByteArray* data, bool* exists)
{
    error_.clear();
    *exists = QFile::exists(path);
    if (!*exists)
        return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    *data = f.readAll();
    return true;
}

bool TGLabelObjectFiler::readObjectList(const QByteArray& data, int* pos, DesignHost& surface)
{
    error_.clear();
    QObject* owner = ownerFor(surface);
    LayoutReader r(data, *pos);
    std::vector<TGGraphicControl*> done;
    TGGraphicControl* current = nullptr;
    auto finish = [&] {
        for (auto* o : done) {
            o->setLoading(false);
            o->loaded();
        }
        read_.insert(read_.end(), done.begin(), done.end());
    };
    try {
        r.expectListBegin();
        while (!r.endOfList()) {
            if (r.bytes(4) != QByteArray(kSignature, 4))
                throw StreamError{QStringLiteral("Invalid stream format")};
            const QByteArray cls = r.shortString();
            const DesignFactory* factory = findDesignClass(cls);
            if (!factory)
                throw StreamError{QStringLiteral("Class %1 not found").arg(fromCp1252(cls))};
            const QString fileName = fromCp1252(r.shortString());
            std::unique_ptr<TGGraphicControl> fresh((*factory)());
            fresh->setLoading(true);
            QString name = uniqueComponentName(owner);
            if (name.isEmpty())
                name = fileName;
            if (ownerHasName(owner, name))
                throw StreamError{QStringLiteral("A component named %1 already exists").arg(name)};
            fresh->setObjectName(name);
            fresh->setParent(owner);
            current = fresh.get();
            surface.insertObject(fresh.release());
            while (r.peek() != 0) {
                const QByteArray path = r.shortString();
                try {
                    readProperty(r, *current, path);
                } catch (const StreamError& e) {
                    if (e.message == QLatin1String("Stream read error"))
                        throw;
                    throw StreamError{QStringLiteral("Error reading %1.%2: %3")
                                          .arg(current->name(), fromCp1252(path), e.message)};
                }
            }
            r.byte();
            if (r.byte() != 0)
                throwInvalidValue();
            if (paste) {
                current->setTop(current->top() + 15);
                current->setLeft(current->left() + 15);
            }
            done.push_back(current);
            current = nullptr;
        }
        r.byte();
    } catch (const StreamError& e) {
        if (current)
            surface.destroyObject(current); // the object being read is discarded
        finish();       // the ones read whole stay, finished
        error_ = e.message;
        *pos = r.pos();
        return false;
    }
    finish();
    *pos = r.pos();
    return true;
}

bool TGLabelObjectFiler::readSettings(const QByteArray& data, int* pos, ReportSettings* settings)
{
    error_.clear();
    LayoutReader r(data, *pos);
    ReportSettings s;
    try {
        r.expectListBegin();
        for (int i = 0; i < ReportSettings::kCount; ++i) {
            const quint8 tag = r.valueTag();
            switch (ReportSettings::kinds()[i]) {
            case 'I': s.values.push_back(int(r.integerAfter(tag))); break;
            case 'B':
                if (tag != vaFalse && tag != vaTrue)
                    throwInvalidValue();
                s.values.push_back(tag == vaTrue);
                break;
            default: s.values.push_back(fromCp1252(r.stringAfter(tag))); break;
            }
        }
        r.expectListEnd();
    } catch (const StreamError& e) {
        error_ = e.message;
        *pos = r.pos();
        return false;
    }
    *pos = r.pos();
    if (settings)
        *settings = s;
    return true;
}

bool TGLabelObjectFiler::readIntoSurface(DesignHost& surface, const QString& path)
{
    read_.clear();
    QByteArray data;
    bool exists = false;
    if (!readFile(path, &data, &exists))
        return false;
    if (!exists)
        return true;
    int pos = 0;
    return readObjectList(data, &pos, surface);
}

bool TGLabelObjectFiler::readWithOffset(DesignHost& surface, const QString& path)
{
    const bool was = paste;
    paste = true;
    const bool ok = readIntoSurface(surface, path);
    paste = was;
    return ok;
}

bool TGLabelObjectFiler::readReport(DesignHost& header, DesignHost& detail, DesignHost& footer,
                                    ReportSettings* settings, const QString& path)
{
    read_.clear();
    QByteArray data;
    bool exists = false;
    if (!readFile(path, &data, &exists))
        return false;
    if (!exists)
        return true;
    int pos = 0;
    for (DesignHost* band : {&header, &detail, &footer})
        if (!readObjectList(data, &pos, *band))
            return false;
    return readSettings(data, &pos, settings);
}

TGGraphicControl* TGLabelObjectFiler::clone(TGGraphicControl* object)
{
    read_.clear();
    DesignHost* surface = object->host();
    if (!surface)
        return nullptr;
    const QByteArray bytes = objectListBytes({object});
    int pos = 0;
    const bool was = paste;
    paste = false;
    const bool ok = readObjectList(bytes, &pos, *surface);
    paste = was;
    if (!ok || read_.empty())
        return nullptr;
    return read_.back();
}

} // namespace postavo::design
