#pragma once
// The program's name as the desktop and the settings know it.

#include <QString>

namespace postavo {

// Organisation, application name and version. No display name is set: the platform would
// append it to every window's title ("Postavo - …/add0001.DBF — Postavo"), squeezing the
// captions of the small question boxes ("DELETE", "Possible Duplicate") out of their title bars.
// Each window's caption is its own, shown exactly once.
void setApplicationIdentity(const QString& version);

} // namespace postavo
