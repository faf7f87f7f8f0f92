#pragma once
// Where the program keeps its files: the folder of the running program, or the user's data
// location when that folder cannot be written (an installed copy). DATA/ and sysdata/ live
// below it. The program's own file names are matched without regard to letter case.

#include <QString>

namespace postavo {

class ProgramFolder {
public:
    // The folder with a trailing '/'. Worked out once, on first use.
    static QString path();
    // Points the program at another folder (tests, tools given --folder); creates nothing.
    static void setPath(const QString& folder);

    static QString dataPath();     // path() + "DATA/"
    static QString sysdataPath();  // path() + "sysdata/"
    static QString settingsFile(); // path() + "postav.ini", resolved without regard to case

    // Creates DATA/ and sysdata/ when missing. False, with a message, when that fails.
    static bool ensureFolders(QString* error = nullptr);

    // The folder to use when the program lives in executableDir: that folder when it is
    // writable, otherwise userDataDir.
    static QString choose(const QString& executableDir, const QString& userDataDir);
};

// Finds an existing file or folder whose name differs from `path` only in letter case,
// component by component. Components that match nothing keep the spelling given, so the
// result is also the right name to create.
QString resolveFileName(const QString& path);

} // namespace postavo
