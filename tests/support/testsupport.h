#pragma once
// Helpers every test folder shares: scratch folders, files as bytes, the golden files, running
// the program's tools.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

namespace postavo::testing {

// A fresh, empty folder for one test, below the build's test area and named after the test
// program, so that programs running side by side never share one.
QString scratchDir(const QString& name);
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// A golden file the design tests compare with: tests/design/data/<name>.
QString goldenPath(const QString& name);
// Runs a program to its end (two minutes at most); its output, stdout and stderr together. The
// exit code is -1 when it could not start or crashed.
QString runTool(const QString& program, const QStringList& args, int* exitCode);

} // namespace postavo::testing

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
