// Every window shows its own caption once: the program sets no display name that the platform
// would append to each title.
#include "identity.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(WindowTitles, NoDisplayNameIsAppendedToCaptions)
{
    postavo::setApplicationIdentity(QStringLiteral("1.0"));
    EXPECT_EQ(QCoreApplication::applicationName(), "Postavo");
    EXPECT_EQ(QCoreApplication::organizationName(), "Postavo");
    // A display name that was never set follows the application name; one that was set would not.
    QCoreApplication::setApplicationName(QStringLiteral("Renamed"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Renamed");
}
