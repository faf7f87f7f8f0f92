#pragma once
// Writing a whole file safely: every model layer writes its files through here.

#include <QByteArray>
#include <QString>

namespace postavo {

// Writes `bytes` to a new file that replaces `path` only when every byte is written and synced:
// a full disk or any other failure leaves the old file as it was, and no new file beside it.
// False with the system's reason.
bool replaceFileWith(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace postavo
