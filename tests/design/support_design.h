#pragma once
// Shared helpers of the design tests.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace postavo::testing {

// A fresh scratch folder for one test.
QString scratchDir(const QString& name);
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
QString goldenPath(const QString& name); // tests/design/data/<name>
// Runs a program; its output with stdout and stderr merged.
QString runTool(const QString& program, const QStringList& args, int* exitCode);

} // namespace postavo::testing
