#pragma once
// Writing a whole file safely.

#include <QByteArray>
#include <QString>

namespace postavo::richtext {

// Writes `bytes` to a new file that replaces `path` only when every byte is written: a full
// disk or any other failure leaves the old file as it was, and no new file beside it. False
// with the system's reason.
bool replaceFileWith(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace postavo::richtext
