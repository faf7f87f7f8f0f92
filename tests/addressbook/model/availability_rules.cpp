// What the window offers in each state, the status texts, the sort captions and the
// overwrite-typing keys.
#include "availability.h"
#include "typingmode.h"

#include <gtest/gtest.h>

using namespace postavo;

TEST(Availability, OpenEmptyFileOffersAddButNotTheRecordCommands)
{
    const Availability a = computeAvailability(true, false, false, false);
    EXPECT_TRUE(a.add);
    EXPECT_TRUE(a.recordMenu);
    EXPECT_FALSE(a.search || a.browse || a.edit || a.del || a.navigate || a.clone || a.setFilter);
    EXPECT_TRUE(a.rebuild && a.clearTags && a.restoreFilter && a.importMenu);
    EXPECT_FALSE(a.saveFilter || a.tagAll || a.clearFilterButtonVisible);
    EXPECT_TRUE(a.fileMenu && a.exit);
}

TEST(Availability, EditingHidesTheFileMenuAndKeepsAFilterVisible)
{
    const Availability a = computeAvailability(true, true, true, true);
    EXPECT_TRUE(a.editing);
    EXPECT_FALSE(a.fileMenu || a.exit || a.add || a.edit || a.navigate || a.sortMenu);
    EXPECT_TRUE(a.setFilter);  // a filter is set
    EXPECT_TRUE(a.clearFilterButtonVisible);
    EXPECT_FALSE(a.clearFilterButtonEnabled);
    const Availability closed = computeAvailability(false, false, false, false);
    EXPECT_FALSE(closed.add || closed.rebuild || closed.setFilter || closed.editMenu);
    EXPECT_TRUE(closed.fileMenu);
}

TEST(StatusTexts, FilterStatusAndSortStatus)
{
    EXPECT_FALSE(filterStatusText(false, false, 5).has_value());
    EXPECT_EQ(*filterStatusText(true, true, 12), "12 filter matches");
    EXPECT_EQ(*filterStatusText(true, false, 40), "40 records (no filter)");
    EXPECT_EQ(*filterStatusText(true, false, 0), "No records");
    EXPECT_EQ(sortStatusText("&Last Name"), "Sorted by Last Name");
    EXPECT_EQ(sortTagForCaption("&E-mail"), "EMAIL");
    EXPECT_EQ(sortTagForCaption("xCITY"), "CITY");  // from the second character on, any case
    EXPECT_EQ(sortTagForCaption("&Middle"), "");
    EXPECT_EQ(sortOrders().size(), 14u);
}

TEST(OverwriteTyping, OnlyTypedCharactersOverwrite)
{
    EXPECT_TRUE(typingOverwrites(false, Qt::Key_A, "a", Qt::NoModifier));
    EXPECT_TRUE(typingOverwrites(false, Qt::Key_Space, " ", Qt::NoModifier));
    EXPECT_TRUE(typingOverwrites(false, Qt::Key_A, "A", Qt::ShiftModifier));
    EXPECT_FALSE(typingOverwrites(true, Qt::Key_A, "a", Qt::NoModifier));
    EXPECT_FALSE(typingOverwrites(false, Qt::Key_A, "a", Qt::ControlModifier));
    EXPECT_FALSE(typingOverwrites(false, Qt::Key_Backspace, "\b", Qt::NoModifier));
    EXPECT_FALSE(typingOverwrites(false, Qt::Key_Delete, "\x7f", Qt::NoModifier));
    EXPECT_FALSE(typingOverwrites(false, Qt::Key_Home, "", Qt::NoModifier));
    EXPECT_FALSE(typingOverwrites(false, Qt::Key_F5, "x", Qt::NoModifier));
}
