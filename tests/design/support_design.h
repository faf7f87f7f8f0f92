#pragma once
#include <QString>
#include <QStringList>
#include <ostream>

namespace postavo::testing {
// A fresh folder of this name under the test scratch folder.
QString designScratch(const QString& name);
// Runs a program to its end; its output (stdout and stderr together).
QString runProgram(const QString& program, const QStringList& args, int* exitCode);
} // namespace postavo::testing

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
