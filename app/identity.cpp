#include "identity.h"

#include <QCoreApplication>

namespace postavo {

void setApplicationIdentity(const QString& version)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Postavo"));
    QCoreApplication::setApplicationName(QStringLiteral("Postavo"));
    QCoreApplication::setApplicationVersion(version);
}

} // namespace postavo
