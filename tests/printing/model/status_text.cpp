// The status text placeholders.
#include "statustext.h"

#include <gtest/gtest.h>

using namespace postavo::printing;

TEST(StatusText, PageAndEmptyStatusLines)
{
    StatusValues v;
    v.page = 3;
    v.lines = {"", ""};
    EXPECT_EQ(formatStatus("Printing Page %p\r%0\r%1", v), "Printing Page 3\r\r");
    EXPECT_EQ(statusToDisplay("Printing Page 3\r\r"), "Printing Page 3\n\n");
}

TEST(StatusText, EveryPlaceholderIgnoringCase)
{
    StatusValues v;
    v.page = 12;
    v.firstPage = 2;
    v.lastPage = 9999;
    v.lines = {"zero", "one"};
    v.deviceName = "PDF";
    v.driverName = "Generic";
    v.portName = "cups-pdf:/";
    EXPECT_EQ(formatStatus("%P|%0|%1|%2|%9|%%|%f|%L|%d|%R|%t", v),
              "12|zero|one|||%|2|9999|PDF|Generic|cups-pdf:/");
}

TEST(StatusText, UnknownLettersAndTrailingPercent)
{
    StatusValues v;
    EXPECT_EQ(formatStatus("a%xb", v), "a<ERROR-%X>b");
    EXPECT_EQ(formatStatus("%!", v), "<ERROR-%!>");
    EXPECT_EQ(formatStatus("100%", v), "100%");
    EXPECT_EQ(formatStatus("%", v), "%");
    EXPECT_EQ(formatStatus("%%p", v), "%p");
}
