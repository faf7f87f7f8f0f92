// The main window's shell: caption, empty state, remembered placement.
#include "activatewindow.h"
#include "mainwindow.h"
#include "mainwindowsetup.h"
#include "settings.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

TEST(MainWindowShell, FirstStartShowsEmptyStateAndRemembersPlacement)
{
    auto dir = freshProgramFolder();
    Settings s;
    ASSERT_FALSE(QFile::exists(s.filePath()));
    s.writeBool("Misc", "GettingStarted", true);  // no getting-started screen in this test

    {
        TAddressMain w;
        EXPECT_EQ(w.windowTitle(), "Postavo");
        auto* empty = w.findChild<QLabel*>("EmptyPanel");
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(empty->text(), "Please Open or Create a Postavo Address file");
        activate(w, 3000);
        EXPECT_TRUE(s.hasSection("TAddressMain_Placement"));

        w.setGeometry(10, 20, 780, 560);
        w.close();
    }
    EXPECT_EQ(s.readInteger("TAddressMain_Placement", "Left", -1), 10);
    EXPECT_EQ(s.readInteger("TAddressMain_Placement", "Right", -1), 790);
    EXPECT_EQ(s.readInteger("TAddressMain_Placement", "Bottom", -1), 580);

    TAddressMain again;
    activate(again, 3000);
    EXPECT_EQ(again.geometry(), QRect(10, 20, 780, 560));
}
