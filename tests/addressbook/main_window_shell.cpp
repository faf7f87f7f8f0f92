// The main window's shell: caption, empty state, remembered placement.
#include "Pvmain.h"
#include "programfolder.h"
#include "settings.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;

TEST(MainWindowShell, FirstStartShowsEmptyStateAndRemembersPlacement)
{
    QTemporaryDir dir;
    ProgramFolder::setPath(dir.path());
    Settings s;
    ASSERT_FALSE(QFile::exists(s.filePath()));

    {
        TAddressMain w;
        EXPECT_EQ(w.windowTitle(), "Postavo");
        auto* empty = w.findChild<QLabel*>("EmptyPanel");
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(empty->text(), "Please Open or Create a Postavo Address file");
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.firstActivationDone(); }, 3000));
        EXPECT_TRUE(s.hasSection("TAddressMain_Placement"));

        w.setGeometry(30, 40, 500, 400);
        w.close();
    }
    EXPECT_EQ(s.readInteger("TAddressMain_Placement", "Left", -1), 30);
    EXPECT_EQ(s.readInteger("TAddressMain_Placement", "Right", -1), 530);
    EXPECT_EQ(s.readInteger("TAddressMain_Placement", "Bottom", -1), 440);

    TAddressMain again;
    again.show();
    QApplication::setActiveWindow(&again);
    ASSERT_TRUE(QTest::qWaitFor([&] { return again.firstActivationDone(); }, 3000));
    EXPECT_EQ(again.geometry(), QRect(30, 40, 500, 400));
}
