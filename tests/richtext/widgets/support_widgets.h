#pragma once
// Helpers shared by the editing control's tests.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace postavo::testing {

// A fresh, empty folder for one test.
QString scratchDir(const QString& name);
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// A file of tests/richtext/data.
QString dataPath(const QString& name);

} // namespace postavo::testing
