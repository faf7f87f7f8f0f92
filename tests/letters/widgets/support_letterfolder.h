#pragma once
#include <QString>
#include <QStringList>

namespace postavo::testing {

struct LetterFolder {
    QString folder, data;
};
LetterFolder makeLetterFolder(const QString& name);
// A letter of the folder's catalogue with one page per text; its record number.
quint32 addLetter(const QString& description, const QStringList& pages);

} // namespace postavo::testing
