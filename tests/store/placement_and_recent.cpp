// Remembered window placements and the recently used address files.
#include "settings.h"
#include "support_tempdir.h"

#include <QSize>
#include <gtest/gtest.h>

using namespace postavo;

namespace {

class Remembered : public ::testing::Test {
protected:
    test::ScratchDir dir;
    Settings s{dir.path("postav.ini")};
};

TEST_F(Remembered, SectionCarriesTheScreenResolutionAbove96)
{
    EXPECT_EQ(placementSection("TAddressMain", 96), "TAddressMain_Placement");
    EXPECT_EQ(placementSection("TAddressMain", 72), "TAddressMain_Placement");
    EXPECT_EQ(placementSection("TAddressMain", 120), "TAddressMain_Placement120");

    savePlacement(s, placementSection("TPreviewForm", 96), {10, 20, 410, 320, false});
    savePlacement(s, placementSection("TPreviewForm", 120), {50, 60, 650, 560, true});
    const Placement now{0, 0, 100, 100, false};
    const Placement at96 = loadPlacement(s, "TPreviewForm_Placement", now, {1920, 1080}, {});
    const Placement at120 = loadPlacement(s, "TPreviewForm_Placement120", now, {1920, 1080}, {});
    EXPECT_EQ(at96, (Placement{10, 20, 410, 320, false}));
    EXPECT_EQ(at120, (Placement{50, 60, 650, 560, true}));
}

TEST_F(Remembered, PlacementBeyondASmallerScreenShiftsBackKeepingItsSize)
{
    savePlacement(s, "W_Placement", {900, 500, 1500, 900, false});
    const Placement p = loadPlacement(s, "W_Placement", {0, 0, 10, 10, false}, {1280, 800}, {});
    EXPECT_EQ(p, (Placement{680, 400, 1280, 800, false}));
    // Saved again at once, so the next start finds the shifted rectangle.
    EXPECT_EQ(s.readInteger("W_Placement", "Left", 0), 680);
    EXPECT_EQ(s.readInteger("W_Placement", "Bottom", 0), 800);
}

TEST_F(Remembered, NothingSavedCentresAndCreatesTheSection)
{
    ASSERT_FALSE(s.hasSection("TAddressMain_Placement"));
    const Placement p = loadPlacement(s, "TAddressMain_Placement", {0, 0, 400, 300, false},
                                      {1280, 800}, QRect(0, 0, 1280, 800));
    EXPECT_EQ(p, (Placement{440, 250, 840, 550, false}));
    EXPECT_TRUE(s.hasKey("TAddressMain_Placement", "Maximized"));
    // Another window centres over the main window.
    const Placement q = loadPlacement(s, "TPreviewForm_Placement", {0, 0, 100, 50, true},
                                      {1280, 800}, QRect(100, 100, 500, 300));
    EXPECT_EQ(q, (Placement{300, 225, 400, 275, true}));
}

TEST_F(Remembered, MaximisedWindowsKeepTheirNormalRectangle)
{
    savePlacement(s, "W_Placement", {5, 6, 705, 506, true});
    const Placement p = loadPlacement(s, "W_Placement", {0, 0, 10, 10, false}, {1280, 800}, {});
    EXPECT_TRUE(p.maximized);
    EXPECT_EQ(p.rect(), QRect(5, 6, 700, 500));
}

TEST_F(Remembered, RecentFilesKeepTheLastFourNewestFirst)
{
    EXPECT_EQ(getMRUFile(s), QString());
    for (const char* f : {"/d/a.dbf", "/d/b.dbf", "/d/c.dbf", "/d/d.dbf", "/d/e.dbf"})
        updateMRUList(s, QString::fromLatin1(f));
    EXPECT_EQ(getMRUList(s), (QStringList{"/d/e.dbf", "/d/d.dbf", "/d/c.dbf", "/d/b.dbf"}));

    const QStringList l = updateMRUList(s, "/d/d.dbf");
    EXPECT_EQ(l, (QStringList{"/d/d.dbf", "/d/e.dbf", "/d/c.dbf", "/d/b.dbf"}));
    EXPECT_EQ(getMRUList(s), l);
    EXPECT_EQ(getMRUFile(s), "/d/d.dbf");

    // The comparison is exact: another letter case is another file.
    updateMRUList(s, "/d/D.dbf");
    EXPECT_EQ(getMRUList(s), (QStringList{"/d/D.dbf", "/d/d.dbf", "/d/e.dbf", "/d/c.dbf"}));
}

TEST_F(Remembered, ShortListLeavesLaterKeysAlone)
{
    s.writeString("MRU", "Item3", "/old/three.dbf");
    s.writeString("MRU", "Item1", "");
    updateMRUList(s, "/new.dbf");
    EXPECT_EQ(s.readString("MRU", "Item1"), "/new.dbf");
    EXPECT_EQ(s.readString("MRU", "Item2"), "/old/three.dbf");
    EXPECT_EQ(s.readString("MRU", "Item3"), "/old/three.dbf");
}

} // namespace
