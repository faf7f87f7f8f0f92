#pragma once
// A scratch folder below the build's test area, removed afterwards.
#include <QDir>
#include <QTemporaryDir>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace postavo::test {

inline QString scratchRoot()
{
    const QString root = qEnvironmentVariable("POSTAVO_TEST_TMP", QDir::tempPath());
    QDir().mkpath(root);
    return root;
}

struct ScratchDir {
    QTemporaryDir dir{scratchRoot() + QStringLiteral("/scratch-XXXXXX")};
    QString path(const QString& name = {}) const { return name.isEmpty() ? dir.path() : dir.filePath(name); }
};

} // namespace postavo::test
