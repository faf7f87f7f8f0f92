#pragma once
#include <QString>
#include <QStringList>

namespace postavo::testing {
// A fresh folder of this name under the test scratch folder.
QString scratchDir(const QString& name);
// Runs a program to its end; its output (stdout and stderr together).
QString runTool(const QString& program, const QStringList& args, int* exitCode);
} // namespace postavo::testing

// Readable QStrings in failure messages.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
