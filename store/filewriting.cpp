#include "filewriting.h"

#include <QSaveFile>
#include <algorithm>

namespace postavo {

bool replaceFileWith(const QString& path, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(path);
    // Unbuffered: a buffered file flushes at commit, and a write the disk cuts short there is
    // taken for a whole one, so the old file would be replaced by the beginning of the new.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; ok && done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        ok = n > 0;
        done += std::max<qint64>(n, 0);
    }
    if (ok)
        ok = file.commit();
    if (!ok) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
    }
    return ok;
}

} // namespace postavo
